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

// True when the file starts with a byte-order mark (UTF-16 either way round, or UTF-8): the
// reader then converts its text into the ANSI code page.
bool HasByteOrderMark(const char* file) {
  const HANDLE handle = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  unsigned char head[3] = {};
  DWORD read = 0;
  const bool good = ReadFile(handle, head, sizeof head, &read, nullptr) != FALSE;
  CloseHandle(handle);
  return good && read >= 2 &&
         ((head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF) ||
          (read == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF));
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
    ApplyArgumentFile(fullName, HasByteOrderMark(fullName));
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
