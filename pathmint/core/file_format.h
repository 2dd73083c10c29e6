// The description of the argument file that the "fileformat" option shows.
#ifndef PATHMINT_FILE_FORMAT_H
#define PATHMINT_FILE_FORMAT_H

constexpr int kFileFormatBufferSize = 4096;

// Assembles the format text in buffer (of size bytes; text that would not fit is cut) and
// returns its length.
int BuildFileFormatText(char* buffer, int size);

#endif
