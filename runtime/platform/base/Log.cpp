#include "runtime/platform/base/Log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "runtime/ShiftJis.h"
#include "runtime/host/system/Clock.h"
#include "runtime/host/system/DebugOutput.h"
#include "runtime/host/files/HostFile.h"
#include "runtime/platform/base/Format.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/platform/base/StringHelpers.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

std::recursive_mutex gLogMutex;

constexpr size_t kStackBufferSize = 512;  // holds any text of up to 255 bytes

// The log file's game path: the start directory and the name; the current
// directory while the start directory is not known yet.
std::string LogFilePath() {
  std::string path = gPlatform.startDirectory;
  if (!path.empty() && !EndsWithSeparator(path.c_str())) path += '\\';
  return path + gPlatform.logFileName;
}

}  // namespace

int LogConvertLineEnds(const char* text, char* out) {
  int o = 0;
  const char* copied = text;  // everything before this is already in out
  for (const char* p = text; *p;) {
    const int n = ShiftJisCharLength(p);
    if (n == 1 && *p == '\n') {
      if (p != text && p[-1] == '\r') break;
      std::memcpy(out + o, copied, static_cast<size_t>(p - copied));
      o += static_cast<int>(p - copied);
      out[o++] = '\r';
      out[o++] = '\n';
      copied = p + 1;
    }
    p += n;
  }
  const size_t rest = std::strlen(copied);
  std::memcpy(out + o, copied, rest);
  o += static_cast<int>(rest);
  out[o] = '\0';
  return o;
}

int LogWrite(const char* text) {
  std::lock_guard<std::recursive_mutex> lock(gLogMutex);
  if (gPlatform.logOff || gPlatform.startDirectory[0] == '\0' || text[0] == '\0') return -1;

  const size_t length = std::strlen(text);
  char stackBuffer[kStackBufferSize];
  char* converted = stackBuffer;
  if (2 * length + 1 > kStackBufferSize) {
    // Through the tracked allocator like all of the layer's memory, though
    // the allocator logs in turn: the lock is recursive for that.
    converted = static_cast<char*>(TrackedAlloc(2 * length + 1, nullptr, -1));
    if (!converted) return -1;
  }
  const int convertedLength = LogConvertLineEnds(text, converted);

  // Every line start gets the stamp and the indent; the debugger output, when
  // there is one, gets the indent only.
  char stamp[32];
  FormatString(stamp, sizeof stamp, "%d:", static_cast<int>(HostTickMs() - gPlatform.logStartMs));
  const std::string tabs(static_cast<size_t>(gPlatform.logIndent), '\t');
  const bool withDebug = HostDebugOutputEnabled();
  std::string out;
  std::string debug;
  bool lineStart = !gPlatform.logMidLine;
  for (const char* p = converted; *p;) {
    if (lineStart) {
      out += stamp;
      out += tabs;
      if (withDebug) debug += tabs;
      lineStart = false;
    }
    const int n = ShiftJisCharLength(p);
    out.append(p, static_cast<size_t>(n));
    if (withDebug) debug.append(p, static_cast<size_t>(n));
    lineStart = n == 1 && *p == '\n';
    p += n;
  }
  if (withDebug) HostDebugOutput(debug.c_str());
  HostAppendToFile(LogFilePath().c_str(), out.data(), out.size());
  gPlatform.logMidLine = converted[convertedLength - 1] != '\n';

  if (converted != stackBuffer) TrackedFree(converted);
  return -1;
}

int LogFormat(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  const int n = FormatStringV(buffer, sizeof buffer - 1, format, args);
  va_end(args);
  buffer[n] = '\n';
  buffer[n + 1] = '\0';
  return LogWrite(buffer);
}

int LogPrintf(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  FormatStringV(buffer, sizeof buffer, format, args);
  va_end(args);
  return LogWrite(buffer);
}

int LogIndentIn() {
  std::lock_guard<std::recursive_mutex> lock(gLogMutex);
  ++gPlatform.logIndent;
  return 0;
}

int LogIndentOut() {
  std::lock_guard<std::recursive_mutex> lock(gLogMutex);
  if (gPlatform.logIndent > 0) --gPlatform.logIndent;
  return 0;
}

int OpenLogFile() {
  std::lock_guard<std::recursive_mutex> lock(gLogMutex);
  if (gPlatform.logOff) return 1;
  StrCopy(gPlatform.logFileName, sizeof gPlatform.logFileName, "Log.txt");
  HostRecreateFile(LogFilePath().c_str());
  gPlatform.logIndent = 0;
  gPlatform.logMidLine = 0;
  gPlatform.logStartMs = HostTickMs();
  return 1;
}

int EnableLogOutput(int flag) {
  gPlatform.logOff = flag == 0 ? 1 : 0;
  return 0;
}
