// The engine's way to the system message box and to the process exit; both
// stand on the host, whose hooks the tests replace.
#include "runtime/Movan.h"
#include "runtime/host/system/MessageBox.h"
#include "runtime/host/system/ProcessExit.h"

void ShowMessageBox(const char* text, const char* title) { HostMessageBox(text, title); }

void ExitProgram(int code) { HostExitProcess(code); }

void SetMessageBoxHook(MessageBoxHook hook) { HostSetMessageBoxHook(hook); }

void SetExitProgramHook(ExitProgramHook hook) { HostSetExitHook(hook); }
