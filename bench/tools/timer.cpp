// Timing driver of the benchmark. It runs inside Wine and starts the programs under measurement
// itself (CreateProcess), so that only their own start-up and work is timed, never Wine's start
// of an outer launcher. Times come from QueryPerformanceCounter.
//
//   bench_timer CASEFILE OUTCSV RUNS WARMUP BATCHREPS
//
// CASEFILE has one case per line, fields separated by tabs:
//   name  mode  expect  settle-ms  prep  cwd  command-line
// mode     exit        time from CreateProcess until the process has ended
//          ready:N     a dialog: time until a visible dialog of the process shows the zone list
//                      with at least N entries (N = "zones": as many as the zone catalogue has
//                      subkeys; 0: the dialog is visible), then Cancel is sent; the end is timed too
//          box         time until the process has ended or shows a dialog box of any kind,
//                      whichever comes first (a box is then closed with OK; noted as "box")
//          batch:K     K runs in a row make one sample (their total, on the clock from the
//                      first start to the last end); run BATCHREPS times
// expect   the exit code every run must end with ("*": any)
// settle   pause after each run, not timed (for programs that leave a launched process behind)
// prep     work done before each run, not timed, ';'-separated: "-", touch:PATH (an empty file),
//          qkey:none | qkey:silent | qkey:show (the zone selector's program key: absent; State 0;
//          State 1; both with TZ0 naming the zone in force)
// cwd      working directory of the runs ("-": this one's)
// "{n}" in prep and command-line becomes a number unique to the run.
//
// Rounds go over every case in turn (warm-up rounds first, not recorded as samples), with the
// starting case rotated each round, so that slow drift of the machine spreads over all cases.
// A case whose run fails (wrong exit code, a window it should not show, no dialog, a time-out)
// is dropped from later rounds, with the reason in the output.
//
// OUTCSV gets one line per run: case,phase,round,ready_ms,end_ms,exit,status,note
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "quorvel_test.h"

namespace {

const DWORD kRunTimeoutMs = 30000;

struct Case {
  std::string name, mode, prep, cwd, command;
  bool anyExit = false;
  DWORD expect = 0;
  DWORD settleMs = 0;
  bool dialog = false;
  bool boxOrEnd = false;
  LONG readyCount = 0;
  int batch = 0;
  bool dropped = false;
  std::string why;
};

struct Sample {
  double readyMs = -1;
  double endMs = -1;
  DWORD exitCode = 0;
  bool good = false;
  std::string note;  // why the run failed
  std::string info;  // what a good run showed
};

LARGE_INTEGER g_freq;
unsigned g_serial = 0;
FILE* g_out = nullptr;

double Ms(const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
  return static_cast<double>(b.QuadPart - a.QuadPart) * 1000.0 / static_cast<double>(g_freq.QuadPart);
}

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t at = s.find(sep, start);
    out.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return out;
    start = at + 1;
  }
}

std::string Expand(const std::string& s, unsigned serial) {
  std::string out = s;
  char num[16];
  snprintf(num, sizeof num, "%u", serial);
  for (size_t at; (at = out.find("{n}")) != std::string::npos;) out.replace(at, 3, num);
  return out;
}

// The display name of the zone in force: that of the catalogue key the platform names as its own
// (or the first zone's when there is none).
std::string ZoneInForce() {
  DYNAMIC_TIME_ZONE_INFORMATION inForce = {};
  GetDynamicTimeZoneInformation(&inForce);
  const std::string key =
      std::string(quorvel::kCatalogue) + "\\" + wintest::Narrow(inForce.TimeZoneKeyName);
  const std::string display =
      quorvel::GetValue(HKEY_LOCAL_MACHINE, key.c_str(), "Display").bytes.c_str();
  return display.empty() ? quorvel::ReadCatalogue().at(0).display : display;
}

// The zone selector's program key with State and, in TZ0, the zone in force.
bool SetProgramKey(DWORD state) {
  static const std::string zone = ZoneInForce();
  return quorvel::SetProgramValue("State", quorvel::Dword(state)) &&
         quorvel::SetProgramValue("TZ0", quorvel::Field(zone));
}

bool Prepare(const std::string& prep, unsigned serial, std::string* why) {
  for (const std::string& step : Split(Expand(prep, serial), ';')) {
    if (step.empty() || step == "-") continue;
    bool good = true;
    if (step.compare(0, 6, "touch:") == 0) {
      HANDLE h = CreateFileA(step.c_str() + 6, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      good = h != INVALID_HANDLE_VALUE;
      if (good) CloseHandle(h);
    } else if (step == "qkey:none") {
      LONG r = RegDeleteKeyA(HKEY_CURRENT_USER, quorvel::kProgramKey);
      good = r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
    } else if (step == "qkey:silent") {
      good = SetProgramKey(0);
    } else if (step == "qkey:show") {
      good = SetProgramKey(1);
    } else {
      *why = "unknown prep step " + step;
      return false;
    }
    if (!good) {
      *why = "prep step failed: " + step;
      return false;
    }
  }
  return true;
}

HWND VisibleDialog(DWORD pid, bool needCombo) {
  return wintest::FindDialog(pid, needCombo ? IDC_ZONE_LIST : 0);
}

// A box the program shows where none is expected: note its text and close it.
std::string CloseStrayBox(DWORD pid) {
  HWND box = VisibleDialog(pid, false);
  if (!box) return "";
  char caption[256] = "", text[512] = "";
  GetWindowTextA(box, caption, sizeof caption);
  HWND label = GetDlgItem(box, 0xFFFF);
  if (label) GetWindowTextA(label, text, sizeof text);
  text[100] = '\0';  // enough to tell the box
  for (char* p = text; *p; ++p) {
    if (*p == '\n' || *p == '\r' || *p == '\t' || *p == ',' || *p == '"') *p = ' ';
  }
  for (char* p = caption; *p; ++p) {
    if (*p == ',' || *p == '"') *p = ' ';
  }
  PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  return std::string("window shown: [") + caption + "] " + text;
}

Sample RunOnce(const Case& c, LONG zoneCount) {
  Sample s;
  unsigned serial = ++g_serial;
  if (!Prepare(c.prep, serial, &s.note)) return s;
  std::string line = Expand(c.command, serial);
  PROCESS_INFORMATION pi;
  LARGE_INTEGER t0, t1;
  if (!wintest::StartProcess(line, c.cwd == "-" ? nullptr : c.cwd.c_str(), 0, &pi, &t0)) {
    char msg[64];
    snprintf(msg, sizeof msg, "CreateProcess failed: error %lu", GetLastError());
    s.note = msg;
    return s;
  }
  bool ended = false;
  if (c.boxOrEnd) {
    for (;;) {
      if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) {
        ended = true;
        QueryPerformanceCounter(&t1);
        s.readyMs = Ms(t0, t1);
        break;
      }
      HWND box = VisibleDialog(pi.dwProcessId, false);
      if (box) {
        QueryPerformanceCounter(&t1);
        s.readyMs = Ms(t0, t1);
        char text[256] = "";
        HWND label = GetDlgItem(box, 0xFFFF);
        if (label) GetWindowTextA(label, text, sizeof text);
        for (char* p = text; *p; ++p) {
          if (*p == '\n' || *p == '\r' || *p == ',' || *p == '"') *p = ' ';
        }
        s.info = std::string("box: ") + text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        break;
      }
      QueryPerformanceCounter(&t1);
      if (Ms(t0, t1) > kRunTimeoutMs) {
        s.note = "neither ended nor showed a box within the time limit";
        break;
      }
    }
  } else if (c.dialog) {
    LONG need = c.readyCount < 0 ? zoneCount : c.readyCount;
    for (;;) {
      HWND dlg = VisibleDialog(pi.dwProcessId, true);
      if (dlg) {
        DWORD_PTR count = 0;
        HWND combo = GetDlgItem(dlg, IDC_ZONE_LIST);
        if (need == 0 || (SendMessageTimeoutA(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count) &&
                          static_cast<LONG>(count) >= need)) {
          QueryPerformanceCounter(&t1);
          s.readyMs = Ms(t0, t1);
          PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
          break;
        }
      }
      if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) {
        ended = true;
        s.note = "ended before its dialog was ready";
        break;
      }
      QueryPerformanceCounter(&t1);
      if (Ms(t0, t1) > kRunTimeoutMs) {
        s.note = CloseStrayBox(pi.dwProcessId);
        s.note = "no ready dialog within the time limit " + s.note;
        break;
      }
    }
  }
  if (!ended) {
    DWORD waited = 0;
    while (WaitForSingleObject(pi.hProcess, 500) == WAIT_TIMEOUT) {
      waited += 500;
      if (waited >= 2000 && s.note.empty()) s.note = CloseStrayBox(pi.dwProcessId);
      if (waited >= kRunTimeoutMs) {
        TerminateProcess(pi.hProcess, 0xDEAD);
        WaitForSingleObject(pi.hProcess, 5000);
        s.note += " time-out";
        break;
      }
    }
  }
  QueryPerformanceCounter(&t1);
  s.endMs = Ms(t0, t1);
  GetExitCodeProcess(pi.hProcess, &s.exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  if (s.note.empty() && !c.anyExit && s.exitCode != c.expect) {
    char msg[64];
    snprintf(msg, sizeof msg, "exit code %ld; expected %ld", static_cast<long>(s.exitCode),
             static_cast<long>(c.expect));
    s.note = msg;
  }
  s.good = s.note.empty();
  if (c.settleMs) Sleep(c.settleMs);
  return s;
}

void Record(const Case& c, const char* phase, int round, const Sample& s) {
  fprintf(g_out, "%s,%s,%d,%.3f,%.3f,%ld,%s,\"%s\"\n", c.name.c_str(), phase, round, s.readyMs, s.endMs,
          static_cast<long>(s.exitCode), s.good ? "ok" : "fail", s.good ? s.info.c_str() : s.note.c_str());
  fflush(g_out);
}

void Drop(Case* c, const std::string& why) {
  c->dropped = true;
  c->why = why;
  fprintf(stderr, "bench_timer: case %s dropped: %s\n", c->name.c_str(), why.c_str());
}

bool ReadCases(const char* path, std::vector<Case>* cases) {
  FILE* f = fopen(path, "rb");
  if (!f) return false;
  char line[8192];
  while (fgets(line, sizeof line, f)) {
    size_t len = strlen(line);
    while (len && (line[len - 1] == '\n' || line[len - 1] == '\r')) line[--len] = '\0';
    if (!len || line[0] == '#') continue;
    std::vector<std::string> f7 = Split(line, '\t');
    if (f7.size() != 7) {
      fprintf(stderr, "bench_timer: bad case line: %s\n", line);
      fclose(f);
      return false;
    }
    Case c;
    c.name = f7[0];
    c.mode = f7[1];
    c.anyExit = f7[2] == "*";
    c.expect = static_cast<DWORD>(strtol(f7[2].c_str(), nullptr, 0));
    c.settleMs = static_cast<DWORD>(strtoul(f7[3].c_str(), nullptr, 10));
    c.prep = f7[4];
    c.cwd = f7[5];
    c.command = f7[6];
    if (c.mode.compare(0, 6, "ready:") == 0) {
      c.dialog = true;
      c.readyCount = c.mode == "ready:zones" ? -1 : atol(c.mode.c_str() + 6);
    } else if (c.mode == "box") {
      c.boxOrEnd = true;
    } else if (c.mode.compare(0, 6, "batch:") == 0) {
      c.batch = atoi(c.mode.c_str() + 6);
      if (c.batch < 1) c.batch = 1;
    } else if (c.mode != "exit") {
      fprintf(stderr, "bench_timer: bad mode %s\n", c.mode.c_str());
      fclose(f);
      return false;
    }
    cases->push_back(c);
  }
  fclose(f);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    fprintf(stderr, "usage: bench_timer CASEFILE OUTCSV RUNS WARMUP BATCHREPS\n");
    return 2;
  }
  std::vector<Case> cases;
  if (!ReadCases(argv[1], &cases)) return 2;
  g_out = fopen(argv[2], "wb");
  if (!g_out) {
    fprintf(stderr, "bench_timer: cannot write %s\n", argv[2]);
    return 2;
  }
  int runs = atoi(argv[3]), warmup = atoi(argv[4]), batchReps = atoi(argv[5]);
  QueryPerformanceFrequency(&g_freq);
  LONG zoneCount = static_cast<LONG>(quorvel::ReadCatalogue().size());
  fprintf(g_out, "case,phase,round,ready_ms,end_ms,exit,status,note\n");

  std::vector<size_t> single, batched;
  for (size_t i = 0; i < cases.size(); ++i) (cases[i].batch ? batched : single).push_back(i);

  for (int round = 0; round < warmup + runs; ++round) {
    bool warm = round < warmup;
    fprintf(stderr, "bench_timer: %s round %d\n", warm ? "warm-up" : "measured", warm ? round + 1 : round - warmup + 1);
    for (size_t k = 0; k < single.size(); ++k) {
      Case& c = cases[single[(k + static_cast<size_t>(round)) % single.size()]];
      if (c.dropped) continue;
      Sample s = RunOnce(c, zoneCount);
      Record(c, warm ? "warmup" : "run", warm ? round : round - warmup, s);
      if (!s.good) Drop(&c, s.note);
    }
  }

  for (int rep = 0; rep < batchReps; ++rep) {
    for (size_t k = 0; k < batched.size(); ++k) {
      Case& c = cases[batched[(k + static_cast<size_t>(rep)) % batched.size()]];
      if (c.dropped) continue;
      fprintf(stderr, "bench_timer: batch %s, %d runs (%d of %d)\n", c.name.c_str(), c.batch, rep + 1, batchReps);
      Sample total;
      total.good = true;
      LARGE_INTEGER t0, t1;
      QueryPerformanceCounter(&t0);
      for (int i = 0; i < c.batch && total.good; ++i) {
        Sample s = RunOnce(c, zoneCount);
        total.exitCode = s.exitCode;
        if (!s.good) {
          total.good = false;
          total.note = s.note;
        }
      }
      // The whole batch on the clock, back to back; ready_ms holds the mean of one run.
      QueryPerformanceCounter(&t1);
      total.endMs = Ms(t0, t1);
      total.readyMs = total.endMs / c.batch;
      Record(c, "batch", rep, total);
      if (!total.good) Drop(&c, total.note);
    }
  }

  for (const Case& c : cases) {
    if (c.dropped) fprintf(g_out, "%s,dropped,0,-1,-1,0,fail,\"%s\"\n", c.name.c_str(), c.why.c_str());
  }
  fclose(g_out);
  return 0;
}
