// The INI argument file named by the F option: found, named in full and read with the platform's
// profile reader. What is read, and how it replaces the settings, is in core/argument_file.cpp.
#include <windows.h>

#include "argument_file.h"
#include "exact_path.h"
#include "exact_text.h"
#include "folder_path.h"
#include "link_path.h"
#include "link_settings.h"

namespace {

// The file's bytes, read once up to the first one that settles their encoding (a 4 MB file of
// ASCII is read whole). False when the file cannot be opened or read: another process holds it
// without sharing it, or access to it is denied.
bool ReadEncoding(const char* file, FileEncoding* encoding) {
  const HANDLE handle =
      CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  unsigned char buffer[16 * 1024];
  EncodingScan scan;
  bool good = true;
  while (!scan.Settled()) {
    DWORD read = 0;
    good = ReadFile(handle, buffer, sizeof buffer, &read, nullptr) != FALSE;
    if (!good || read == 0) break;
    scan.Take(buffer, read);
  }
  CloseHandle(handle);
  *encoding = scan.Encoding();
  return good;
}

bool IsDirectory(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// text (a name of the code page) in UTF-16 into out (count units); false when it does not fit.
bool Widen(const char* text, WCHAR* out, int count) {
  return MultiByteToWideChar(CP_ACP, 0, text, -1, out, count) > 0;
}

}  // namespace

int LinkSettings::FileExists(const char* path) {
  if (!path) return 0;
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES ? 1 : 0;
}

int LinkSettings::ReadArgumentFile(const char* fileName) {
  if (m_bShowFileFormat.m_bValue) ShowFileFormat();
  // The profile reader looks for a name without a directory part in the Windows directory, not
  // where the user is: it is given the name resolved against the working directory. A file whose
  // full name does not fit is one the platform cannot open by that name: it counts as missing.
  char fullName[kPathBufferSize];
  if (fileName && *fileName && FileExists(fileName) &&
      FullPathName(fileName, fullName, sizeof fullName)) {
    // The reader would give nothing of a file it cannot open, and the run would go on without
    // the file's settings. A directory gives nothing, as it always has.
    FileEncoding encoding = FileEncoding::Ansi;
    if (!IsDirectory(fullName) && !ReadEncoding(fullName, &encoding)) {
      ErrorExit(kUnreadableArgumentFileText, 1);
    }
    ApplyArgumentFile(fullName, encoding);
  }
  return 1;
}

void ReadProfileText(const char* file, const char* section, const char* key, char* buffer,
                     unsigned size) {
  GetPrivateProfileStringA(section, key, "", buffer, size, file);
}

int ReadProfileInteger(const char* file, const char* section, const char* key, int fallback) {
  return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, file));
}

bool ProfileKeyExact(const char* file, const char* section, const char* key) {
  WCHAR wideFile[kPathBufferSize], wideSection[kPathBufferSize], wideKey[kPathBufferSize];
  if (!Widen(file, wideFile, kPathBufferSize) || !Widen(section, wideSection, kPathBufferSize) ||
      !Widen(key, wideKey, kPathBufferSize)) {
    return false;
  }
  // The narrow calls get the reader's conversion of this text, which is exact only where every
  // character has its counterpart. As long as the settings' reading of a value.
  WCHAR wide[2 * kFileTextSize];
  char exact[sizeof wide / sizeof *wide * kCharacterBytes];
  GetPrivateProfileStringW(wideSection, wideKey, L"", wide, sizeof wide / sizeof *wide - 1,
                           wideFile);
  wide[sizeof wide / sizeof *wide - 1] = L'\0';
  return ExactText<WCHAR>(wide, ExactAnsiCharacter, exact, sizeof exact);
}
