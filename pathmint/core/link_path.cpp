#include "link_path.h"

#include <cstring>

namespace {

bool IsLeadByte(char c, LeadByteTest isLeadByte) {
  return isLeadByte && isLeadByte(static_cast<unsigned char>(c));
}

// The bytes of the character at text: two for a lead byte with a byte after it, else one.
size_t CharacterBytes(const char* text, LeadByteTest isLeadByte) {
  return IsLeadByte(*text, isLeadByte) && text[1] != '\0' ? 2 : 1;
}

// The last character of text that is c, or null.
const char* LastCharacter(const char* text, char c, LeadByteTest isLeadByte) {
  const char* found = nullptr;
  for (; text && *text; text += CharacterBytes(text, isLeadByte)) {
    if (*text == c) found = text;
  }
  return found;
}

// Appends to a fixed buffer; once something did not fit, the writer stays failed.
class BoundedText {
 public:
  BoundedText(char* out, size_t capacity) : out_(out), capacity_(capacity) {
    if (capacity_ > 0) out_[0] = '\0';
  }

  void Put(char c) {
    if (!good_ || length_ + 1 >= capacity_) {
      good_ = false;
      return;
    }
    out_[length_++] = c;
    out_[length_] = '\0';
  }

  void Put(const char* text) {
    for (; text && *text; ++text) Put(*text);
  }

  void PutRepeated(char c, size_t count) {
    for (size_t i = 0; i < count; ++i) Put(c);
  }

  // Writes the value between double quotes so that the platform's command-line splitting gives
  // it back unchanged: a run of backslashes is doubled when a double quote follows it (the
  // value's own quote, escaped as \", or the closing quote); elsewhere backslashes stand as they
  // are. A two-byte character is written whole: its second byte is no backslash or quote.
  void PutQuoted(const char* value, LeadByteTest isLeadByte) {
    Put('"');
    size_t backslashes = 0;
    for (; value && *value; ++value) {
      if (*value == '\\') {
        ++backslashes;
        continue;
      }
      if (*value == '"') {
        PutRepeated('\\', backslashes * 2 + 1);
      } else {
        PutRepeated('\\', backslashes);
      }
      backslashes = 0;
      if (IsLeadByte(*value, isLeadByte)) {
        if (value[1] == '\0') {  // half a character would take the closing quote
          good_ = false;
          break;
        }
        Put(*value++);
      }
      Put(*value);
    }
    PutRepeated('\\', backslashes * 2);
    Put('"');
  }

  // True when everything fitted; otherwise the buffer is left empty.
  bool Finish() {
    if (!good_ && capacity_ > 0) out_[0] = '\0';
    return good_ && capacity_ > 0;
  }

 private:
  char* out_;
  size_t capacity_;
  size_t length_ = 0;
  bool good_ = true;
};

bool IsPresent(const char* text) {
  return text && *text;
}

}  // namespace

bool CopyPathText(char* out, size_t capacity, const char* text) {
  BoundedText line(out, capacity);
  line.Put(text);
  return line.Finish();
}

bool EndsInSeparator(const char* text, LeadByteTest isLeadByte) {
  const char* last = nullptr;
  for (; text && *text; text += CharacterBytes(text, isLeadByte)) last = text;
  return last && (*last == '\\' || *last == '/');
}

bool EnsureLinkExtension(char* path, size_t capacity, LeadByteTest isLeadByte) {
  static const char kExtension[] = ".lnk";
  static const char kCompared[] = ".LNK";
  const size_t length = strnlen(path, capacity);
  if (length >= capacity) return false;  // not a terminated text of this buffer

  const char* dot = LastCharacter(path, '.', isLeadByte);
  if (dot) {
    // Upper-case a copy of the tail; only a to z change, whatever the locale.
    char tail[kPathBufferSize];
    size_t n = 0;
    for (const char* p = dot; *p && n + 1 < sizeof tail; ++p) {
      char c = *p;
      tail[n++] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    tail[n] = '\0';
    if (strlen(dot) == n && strcmp(tail, kCompared) == 0) return true;
  }

  if (length + sizeof kExtension > capacity) return false;
  memcpy(path + length, kExtension, sizeof kExtension);
  return true;
}

bool JoinFolderPath(char* out, size_t capacity, const char* folder, const char* name) {
  BoundedText line(out, capacity);
  line.Put(folder);
  line.Put('\\');
  line.Put(name);
  return line.Finish();
}

bool BuildRelaunchLine(char* out, size_t capacity, const char* target, const char* arguments,
                       const char* linkPath, LeadByteTest isLeadByte) {
  BoundedText line(out, capacity);
  line.Put("-exec /T:");
  line.PutQuoted(target, isLeadByte);
  if (IsPresent(arguments)) {
    line.Put(" /A:");
    line.PutQuoted(arguments, isLeadByte);
  }
  line.Put(" /L:");
  line.PutQuoted(linkPath, isLeadByte);
  return line.Finish();
}
