#pragma once
// The cursor through which the game's data files are read: the whole file is
// loaded first, then read field by field with the checked reads of
// ByteCursor. Every data-file reader loads its file here and nowhere else.

#include "engine/data/file/ByteCursor.h"

class FileBuffer : public ByteCursor {
 public:
  using ByteCursor::ByteCursor;

  // Reads the whole file through the layer's file functions (archives
  // included) into the buffer; position 0. False, leaving the buffer empty,
  // when the file cannot be opened or read.
  bool Load(const char* path);
};
