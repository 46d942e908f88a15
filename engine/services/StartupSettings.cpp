#include "engine/services/StartupSettings.h"

#include <cstring>

int32_t TestPlayFlag = 0;
int32_t TileUnit = 32;
int32_t GameFrameStep = 1;
int32_t MidiAvailable = 1;
PlayerSettings Settings;

bool IsTestPlayCommandLine(const char* commandLine) {
  return commandLine && std::strcmp(commandLine, "Test_Of_Main") == 0;
}
