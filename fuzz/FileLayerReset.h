#pragma once
// The file layer as the player starts it, put back before every input so
// that no input depends on the ones before it: no open files or searches,
// no cached archives or last-found prefix, the default extension or the one
// given, no key string, archive access on and the standard file table.

#include "runtime/Movan.h"
#include "runtime/platform/archive/ArchiveAwareFiles.h"
#include "runtime/platform/files/FileAccessTable.h"

inline void ResetFileLayer(const char* extension = nullptr) {
  ResetArchiveState();
  SetArchiveExtension(extension);
  SetArchiveKeyString(nullptr);
  EnableArchiveAccess(1);
  InstallFileAccessTable(nullptr);
}
