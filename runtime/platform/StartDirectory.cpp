#include "runtime/platform/StartDirectory.h"

#include "runtime/platform/FileAccessTable.h"
#include "runtime/platform/PlatformState.h"

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
