#include "zone_text.h"

#include <cstring>

void StoreZoneText(char* field, std::size_t fieldSize, const char* data, std::size_t size) {
  if (fieldSize == 0) return;
  std::size_t kept = size < fieldSize - 1 ? size : fieldSize - 1;
  if (kept > 0) std::memcpy(field, data, kept);
  std::memset(field + kept, 0, fieldSize - kept);
}
