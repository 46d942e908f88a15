#include "engine/shell/Player.h"

#include <memory>

#include "engine/data/GameInfo.h"
#include "engine/data/database/Databases.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/MapSettings.h"
#include "engine/presentation/GraphicsRestore.h"
#include "engine/presentation/text/TextBlock.h"
#include "engine/presentation/text/TextResources.h"
#include "engine/services/StartupSettings.h"
#include "engine/shell/GameIni.h"
#include "engine/shell/GameScene.h"
#include "engine/shell/LiveServices.h"
#include "engine/shell/SoundSteps.h"
#include "engine/shell/TitleStart.h"
#include "runtime/Movan.h"

namespace {

std::unique_ptr<GameScene> gScene;

int32_t SignedSettingByte(int index) { return static_cast<int8_t>(GameInformation.settingBytes[static_cast<size_t>(index)]); }

void ChooseScreen(int32_t desktopDepth) {
  const int32_t depth = desktopDepth == 16 ? 16 : 32;
  const int32_t tileSize = GameInformation.settingBytes[GameInfo::kTileSize];
  // The small grid is drawn at display scale 2 (DisplayScale follows the
  // tile unit); any other tile size leaves the screen mode alone.
  TileUnit = 32;
  if (tileSize == 32 || tileSize == 16) {
    SetScreenMode(640, 480, depth, 60);
    TileUnit = tileSize;
  }
}

void ApplyWindowMode(int32_t desktopDepth) {
  if (desktopDepth == 24 && Settings.windowMode == 1) {
    Settings.windowMode = 0;
    ShowMessageBox("24ビットカラーの画面モードでは、\r\nウィンドウモードでの起動ができません。\r\n強制的に全画面で起動します。",
                   "画面モード調整");
  }
  ChangeWindowMode(Settings.windowMode);
  if (Settings.start == -1) {
    const std::string title =
        "『" + GameInformation.settingStrings[GameInfo::kGameTitle] + "』 初回起動メッセージ";
    ShowMessageBox("高速な「3Dモード」でゲームを起動します。\n\n※もし起動しなかった場合は、再度実行することで\n　処理が"
                   "安定している「ソフトウェアモード」で起動できます。",
                   title.c_str());
  }
}

// The start flag stays 1 on disk while the drawing path and the outside
// libraries start: a start-up that dies there leaves it, and the next start
// runs in software mode.
void ChooseDrawingPath() {
  if (Settings.start == 1 || Settings.softMode == 1) {
    WriteGameIni(Settings, 1, 1, 0);
    Settings.softMode = 1;
    Enable3DDrawing(0);
    EnableHardwareDrawing(0);
  } else {
    WriteGameIni(Settings, 1, Settings.softMode, 0);
  }
}

void StartOutsideLibraries() {
  MidiAvailable = 1;
  if (GameInformation.settingBytes[GameInfo::kMidiInUse] == 1) {
    const int device = GameInformation.settingBytes[GameInfo::kMidiDevice] == 0 ? -1 : -1000;
    if (!StartMidi(device)) {
      MidiAvailable = 0;
      ShutdownMidi();
    }
  }
  LoadSpeech();
}

void ShutDown() {
  DeleteAllSounds(0);
  ResetFonts();
  LayerEnd();
  if (GameInformation.settingBytes[GameInfo::kMidiInUse] == 1) ShutdownMidi();
  WriteGameIni(Settings, 0, Settings.softMode, RootRunner.frameSkipMode);
  gScene.reset();
}

void SceneLoop() {
  StartTitle(true);
  while (PumpMessages() == 0) {
    gScene->Dispatch();
    if (SystemStateHub.gameState == 0) {
      SystemStateHub.sceneReload = 1;
      StartTitle(false);
    } else if (SystemStateHub.gameState == -1) {
      break;
    }
  }
}

}  // namespace

PlayerExit RunPlayer(const std::string& commandLine) {
  PlayerExit exit;
  // The settings as the program starts with them (the proxy texts and the
  // screenshot switch stay so when there is no Game.ini).
  Settings = PlayerSettings();
  TestPlayFlag = IsTestPlayCommandLine(commandLine.c_str()) ? 1 : 0;
  int desktopDepth = 32;
  GetDesktopMetrics(nullptr, nullptr, &desktopDepth);
  if (TestPlayFlag) LogPrintf("Main 初期化開始\n");
  SetWindowIconResource(101);
  Enable3DDrawing(1);

  InstallPrivateFonts();
  if (TestPlayFlag) LogPrintf("フォント読み込み完了\n");

  GameInformation = GameInfo();
  if (!GameInformation.LoadGameData("Game.dat")) {
    RemovePrivateFonts();
    UnloadSpeech();
    return exit;
  }
  exit.gameDataRead = true;

  SetRunInBackground(1);
  for (const int index : {GameInfo::kEventSpeedFactor, GameInfo::kHeroSpeedFactor}) {
    if (SignedSettingByte(index) < 4) GameInformation.settingBytes[static_cast<size_t>(index)] = 4;
  }
  MidiAvailable = 1;
  if (TestPlayFlag) LogPrintf("ゲーム基本情報ファイル読み込み完了\n");
  EnableLogOutput(TestPlayFlag);
  ChooseScreen(desktopDepth);
  GameFrameStep = GameInformation.FrameStep();
  ApplyMapSettings(GameInformation);
  RootRunner.SetMessageMetrics();
  if (TestPlayFlag) LogPrintf("第二次初期化　開始\n");

  SetWindowTitle("起動中です、この処理にはしばらく時間がかかることがあります");
  ReadGameIni(Settings);
  ApplyWindowMode(desktopDepth);

  if (LayerInit() == -1) {
    exit.code = -1;
    return exit;
  }
  ChooseDrawingPath();
  StartOutsideLibraries();
  WriteGameIni(Settings, 0, Settings.softMode, 0);

  EnableArchiveAccess(1);
  SetArchiveExtension("zema");
  SetArchiveKeyString(GameInformation.settingStrings[GameInfo::kArchiveKey].c_str());
  SetTransparentColor(254, 0, 254);

  LoadDatabases();
  BuildDatabaseNameMaps();
  // The text colours come from these databases, read at the first layout.
  ForgetTextColorTable();
  InstallLiveServices();
  gScene = std::make_unique<GameScene>();
  TextResourcesHub.LoadIcons();
  SetGraphicsRestoreHandler(ReloadGameGraphics);

  SceneLoop();

  ShutDown();
  RemovePrivateFonts();
  UnloadSpeech();
  return exit;
}

GameScene* RunningGameScene() { return gScene.get(); }
