// Localised strings: a string id turned into ANSI text in the language that the platform's
// resource loader picks for the calling thread, or in English where the ANSI code page cannot
// hold that language's text. (ShowResourceMessage and ApplyDialogTexts, the two operations the
// rest of the program uses, are declared in quorvel.h.)
#ifndef QUORVEL_STRINGS_H
#define QUORVEL_STRINGS_H

#include <windows.h>

#include <cstddef>

// A loaded string: the converted bytes in C-runtime memory (size() counts bytes), always followed
// by a zero byte; freed with the text.
class ResourceText {
 public:
  ResourceText() = default;
  // A copy of text; empty when the memory cannot be had.
  ResourceText(const char* text);
  ~ResourceText();
  ResourceText(const ResourceText&) = delete;
  ResourceText& operator=(const ResourceText&) = delete;

  // Replaces the text by `size` zero bytes and returns where they lie, for the caller to fill; null
  // (and the text empty) when the memory cannot be had.
  char* Replace(std::size_t size);
  // Keeps the first `size` bytes (all of them when it holds fewer).
  void Cut(std::size_t size);
  void clear() { Cut(0); }

  const char* c_str() const { return m_text ? m_text : ""; }
  std::size_t size() const { return m_size; }
  bool operator==(const char* other) const;

 private:
  char* m_text = nullptr;
  std::size_t m_size = 0;
};

// The first resource module whose string tables hold a present entry for id in the given
// language (0: the calling thread's language as the platform resolves it), or null.
HMODULE FindStringModule(UINT id, LANGID language);

// The entry for id in the string block `resource` of `module`: a pointer to its count word, or
// null when the entry is absent or the block cannot be loaded.
const unsigned char* FindStringEntry(HMODULE module, HRSRC resource, UINT id);

// How a string was loaded: kNoString (no present entry; the text is unchanged), kLoaded (the text
// holds it in the ANSI code page), kNotShowable (the code page cannot hold it exactly; the text is
// empty).
enum StringLoad { kNoString = 0, kLoaded, kNotShowable };

// Loads id from module into text, converted to the ANSI code page, from the table of the given
// language (0: the one the platform's resource loader picks for the calling thread).
StringLoad LoadResourceString(ResourceText& text, HMODULE module, UINT id, LANGID language = 0);

// The language in which the texts of these ids are shown: 0 (the loader's pick) where the ANSI
// code page holds each of them exactly, else English (United States), which every ANSI code page
// holds.
LANGID ShownLanguage(const UINT* ids, std::size_t count);

#endif
