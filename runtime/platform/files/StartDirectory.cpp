#include "runtime/platform/files/StartDirectory.h"

#include "runtime/platform/files/FileAccessTable.h"
#include "runtime/platform/system/PlatformState.h"

static_assert(sizeof(PlatformState::startDirectory) >= kFilePathSize, "the table's get-directory fills kFilePathSize bytes");

int ReadStartDirectory() {
  if (GetDirVia(gPlatform.startDirectory) == 0) return 0;
  gPlatform.startDirectory[0] = '\0';
  return -1;
}

int RestoreStartDirectory() {
  if (gPlatform.startDirectory[0] == '\0') return -1;
  return ChangeDirVia(gPlatform.startDirectory);
}
