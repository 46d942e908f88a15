#include "runtime/platform/system/OsIdentity.h"

#include "runtime/platform/base/StringHelpers.h"

int IdentifyOs(const HostOsVersion& version, char* name, size_t size, int previousCode) {
  StrCopy(name, size, "Windows");
  const char* service = version.servicePack ? version.servicePack : "";
  int code = previousCode;
  const char* suffix = "";
  const char* extra = "";
  switch (version.platform) {
    case kHostOsWin32s:
      suffix = "3.1";
      code = 0;
      break;
    case kHostOsWindows9x:
      if (version.minor == 0) {
        suffix = "95";
        code = 1;
        if (service[0] == 'C') extra = "OSR2";
      } else if (version.minor == 10) {
        suffix = "98";
        code = 2;
        if (service[0] == 'A') extra = "SE";
      } else if (version.minor == 90) {
        suffix = "Me";
        code = 3;
      }
      break;
    case kHostOsNt:
      if (version.major == 3) {
        suffix = "NT 3.51";
        code = 0x104;
      } else if (version.major == 4) {
        suffix = "4.0";
        code = 0x105;
      } else if (version.major == 5 && version.minor == 0) {
        suffix = "2000";
        code = 0x106;
      } else if (version.major == 5 && version.minor == 1) {
        suffix = "XP";
        code = 0x107;
      } else if (version.major == 6) {
        suffix = "Vista";
        code = 0x108;
      }
      break;
    default:
      break;
  }
  StrAppend(name, size, suffix);
  StrAppend(name, size, extra);
  return code;
}
