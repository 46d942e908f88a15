#include "runtime/host/system/OsVersion.h"

HostOsVersion HostQueryOsVersion() { return HostOsVersion{kHostOsNt, 5, 1, 2600, "Service Pack 3"}; }
