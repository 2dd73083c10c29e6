#include "isolate.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actions.h"

namespace {
int g_recordFd = -1;  // set in the child of RunIsolated

void WriteAll(const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = write(g_recordFd, p, size);
    if (n <= 0) _exit(97);
    p += n;
    size -= static_cast<size_t>(n);
  }
}

void WriteText(const std::string& text) {
  uint32_t n = static_cast<uint32_t>(text.size());
  WriteAll(&n, sizeof n);
  WriteAll(text.data(), n);
}

std::string ReadFile(FILE* f) {
  std::string out;
  std::rewind(f);
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  return out;
}

struct Reader {
  const std::string& data;
  size_t pos = 0;
  bool Take(void* out, size_t n) {
    if (data.size() - pos < n) return false;
    std::memcpy(out, data.data() + pos, n);
    pos += n;
    return true;
  }
  bool TakeText(std::string* out) {
    uint32_t n;
    if (!Take(&n, sizeof n) || data.size() - pos < n) return false;
    out->assign(data, pos, n);
    pos += n;
    return true;
  }
};

std::string Text(const char* text) {
  return text ? text : "(null)";
}
}  // namespace

void ShowReportBox(const char* text, const char* caption, ReportIcon icon) {
  if (g_recordFd < 0) {
    std::fprintf(stderr, "report box outside RunIsolated: %s\n", text);
    std::abort();
  }
  char type = 'B';
  int32_t kind = static_cast<int32_t>(icon);
  WriteAll(&type, 1);
  WriteAll(&kind, sizeof kind);
  WriteText(caption);
  WriteText(text);
}

void EndProcessNow(int exitCode) {
  if (g_recordFd < 0) {
    std::fprintf(stderr, "process end outside RunIsolated (code %d)\n", exitCode);
    std::abort();
  }
  char type = 'E';
  int32_t code = exitCode;
  WriteAll(&type, 1);
  WriteAll(&code, sizeof code);
  _exit(0);
}

void Note(const std::string& text) {
  if (g_recordFd < 0) return;
  char type = 'N';
  WriteAll(&type, 1);
  WriteText(text);
}

Outcome RunIsolated(const std::function<void()>& body) {
  Outcome outcome;
  FILE* records = std::tmpfile();
  FILE* errors = std::tmpfile();
  if (!records || !errors) std::abort();
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid < 0) std::abort();
  if (pid == 0) {
    dup2(fileno(errors), 2);
    g_recordFd = fileno(records);
    body();
    char type = 'R';
    WriteAll(&type, 1);
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) {
    outcome.exited = true;
    outcome.exitStatus = WEXITSTATUS(status);
  } else {
    outcome.crashed = true;
  }
  std::string data = ReadFile(records);
  outcome.standardError = ReadFile(errors);
  std::fclose(records);
  std::fclose(errors);

  Reader reader{data};
  char type;
  while (reader.Take(&type, 1)) {
    if (type == 'B') {
      BoxRecord box;
      int32_t kind;
      if (!reader.Take(&kind, sizeof kind) || !reader.TakeText(&box.caption) ||
          !reader.TakeText(&box.text)) {
        break;
      }
      box.icon = static_cast<ReportIcon>(kind);
      outcome.boxes.push_back(box);
    } else if (type == 'N') {
      std::string note;
      if (!reader.TakeText(&note)) break;
      outcome.notes.push_back(note);
    } else if (type == 'E') {
      int32_t code;
      if (!reader.Take(&code, sizeof code)) break;
      outcome.endedNow = true;
      outcome.endCode = code;
    } else if (type == 'R') {
      outcome.returned = true;
    } else {
      break;
    }
  }
  return outcome;
}

ActionCall g_lastAction;
int32_t g_actionStatus = kStatusFailed;

namespace {
// Starts the record of an action's call with what every action is given.
void Begin(const char* action, const char* target, const char* arguments = nullptr,
           const char* linkFile = nullptr) {
  g_lastAction = ActionCall();
  g_lastAction.action = action;
  g_lastAction.target = Text(target);
  g_lastAction.arguments = Text(arguments);
  g_lastAction.linkFile = Text(linkFile);
}
}  // namespace

int32_t CreateShortcut(const char* target, const char* arguments, const char* linkFile,
                       const char* iconPath, int32_t iconIndex, int32_t isFolder,
                       int32_t specialFolder, int32_t oneTime) {
  Begin("create", target, arguments, linkFile);
  g_lastAction.iconPath = Text(iconPath);
  g_lastAction.iconIndex = iconIndex;
  g_lastAction.isFolder = isFolder;
  g_lastAction.specialFolder = specialFolder;
  g_lastAction.oneTime = oneTime;
  return g_actionStatus;
}

int32_t ExecuteOneTimeLink(const char* target, const char* arguments, const char* linkFile,
                           const char* currentDir) {
  Begin("exec", target, arguments, linkFile);
  g_lastAction.currentDir = Text(currentDir);
  return g_actionStatus;
}

int32_t ShellDeleteFile(int32_t specialFolder, const char* target) {
  Begin("delete", target);
  g_lastAction.specialFolder = specialFolder;
  return g_actionStatus;
}

std::string TokenLabel(const std::vector<const char*>& tokens) {
  std::string label;
  for (const char* t : tokens) label += std::string("[") + t + "]";
  return label;
}

void ExpectReturned(const Outcome& o, const std::vector<std::string>& notes) {
  EXPECT_TRUE(o.returned);
  EXPECT_TRUE(o.boxes.empty());
  EXPECT_EQ(o.notes, notes);
}

std::string ExpectErrorEnd(const Outcome& o, const char* caption) {
  EXPECT_FALSE(o.returned);
  EXPECT_TRUE(o.endedNow);
  EXPECT_EQ(o.endCode, -1);
  if (o.boxes.size() != 1u) {
    ADD_FAILURE() << o.boxes.size() << " boxes";
    return std::string();
  }
  EXPECT_EQ(o.boxes[0].caption, caption);
  EXPECT_EQ(o.boxes[0].icon, ReportIcon::Error);
  return o.boxes[0].text;
}
