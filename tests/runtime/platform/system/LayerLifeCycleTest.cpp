#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/host/system/InstanceLock.h"
#include "runtime/host/window/Window.h"
#include "runtime/platform/system/ApiLock.h"
#include "runtime/platform/files/FileAccessTable.h"
#include "runtime/platform/system/LayerLifeCycle.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/window/MainWindow.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "runtime/platform/system/ProcessorFeatures.h"
#include "runtime/platform/files/StartDirectory.h"
#include "tests/runtime/platform/system/FakeProcessor.h"
#include "tests/runtime/platform/system/LayerFixture.h"

extern char** environ;

namespace {

using ::testing::ElementsAreArray;
using ::testing::StartsWith;

class LayerLifeCycleTest : public LayerFixture {
 protected:
  static FakeProcessorModel FullProcessor() {
    FakeProcessorModel model;
    model.features = FakeProcessor::kTimeStamp | FakeProcessor::kMmx | FakeProcessor::kSse | FakeProcessor::kSse2;
    model.brand = "Test Processor 3000";
    return model;
  }
  FakeProcessor processor{FullProcessor()};
};

TEST_F(LayerLifeCycleTest, InitWritesItsStepsInOrderAndEndLeavesNothingBehind) {
  InstallFileAccessTable(&PlainFileTable());
  ASSERT_EQ(IsStandardFileTableInstalled(), 0);
  ASSERT_EQ(LayerInit(), 0);
  EXPECT_EQ(IsStandardFileTableInstalled(), 1);
  const std::vector<std::string> init = LogLines();
  ASSERT_EQ(init.size(), 59u);
  // Lines whose figures depend on the machine are compared by their start.
  EXPECT_THAT(init[3], StartsWith("\tＣＰＵ動作速度：大体"));
  EXPECT_THAT(init[10], StartsWith("メモリ総量:"));
  std::vector<std::string> fixed = init;
  fixed.erase(fixed.begin() + 10);
  fixed.erase(fixed.begin() + 3);
  EXPECT_THAT(fixed, ElementsAreArray({
                         "システムの情報を出力します",
                         "\tＭｏｖａｎライブラリ Ver2.25b",
                         "\tＯＳ  WindowsXP ( Build 2600 Service Pack 3 )",
                         "\tＭＭＸ命令を使用します",
                         "\tＳＳＥ命令が使用可能です",
                         "\tＳＳＥ２命令が使用可能です",
                         "\tＣＰＵベンダ：TestVendor12",
                         "\tＣＰＵ名：Test Processor 3000",
                         "ＣＯＭの初期化... 成功しました",
                         "タイマーの精度を検査します",
                         "精度結果 更新回数 マルチメディアタイマー：60  パフォーマンスカウンター：60",
                         " パフォーマンスカウンターを使用します タイマー分解能 : 1000.000000 KHz ",
                         " ソフトの二重起動検査... 二重起動はされていませんでした",
                         "ウインドウクラスを登録します... 登録に成功しました",
                         "ウインドウモード起動用のウインドウを作成します",
                         "ウインドウの作成に成功しました",
                         "ＩＭＥを無効にしました",
                         "ウインドウスタイルをウインドウモード用に変更します... 完了",
                         "DirectInput関係初期化処理",
                         "DirectInput7 の取得中... 成功",
                         "引き続き初期化処理... 初期化成功",
                         "ジョイパッドの初期化... ",
                         "ジョイパッドの初期化は正常に終了しました",
                         "マウスデバイスの初期化... 初期化成功",
                         "キーボードデバイスの初期化... 初期化成功",
                         "DirectInput 関連の初期化は正常に終了しました",
                         "DirectSound の初期化を行います",
                         "DirectSound インターフェースの取得を行います....  成功",
                         "引き続きインターフェースの初期化処理...  成功",
                         "DirectSound デバイスを列挙します",
                         "モジュール名:         manual  ドライバ記述:manual clock 最大サンプリングレート:200.00KHz "
                         "最小サンプリングレート:0.10KHz 総サウンドメモリ領域:0.00KB 空きサウンドメモリ領域:0.00KB ",
                         "利用可能サンプリング精度",
                         " プライマリ １６bit = OK  ８bit = OK  セカンダリ １６bit = OK  ８bit = OK ",
                         "利用可能チャンネル",
                         " プライマリ MONO = OK  STEREO = OK  セカンダリ MONO = OK  STEREO = OK ",
                         "DirectSound の初期化は正常に終了しました",
                         "DirectDraw 関連の初期化を行います",
                         "\tDirectDraw オブジェクトの取得を行います....  成功",
                         "\t引き続き初期化処理... 初期化に成功しました",
                         "\tビデオカードの情報",
                         "\t画面モード変更処理を開始します",
                         "\t\t画面モードの変更処理を開始します 640 x 480  16 bit ",
                         "\t\t\tウインドウモードにします",
                         "\t\t画面モードの変更は正常に終了しました ",
                         "\t\tウインドウスタイルをウインドウモード用に変更します... 完了",
                         "\t\t出力画面用の DirectDrawSurface を作成します",
                         "\t\t\t各スクリーンメモリの配置位置",
                         "\t\t\t\tPrimaryBuffer : SYSTEMMEMORY( MEMIMG ) BaskBuffer : SYSTEMMEMORY( MEMIMG ) "
                         "出力画面用の DirectDrawSurface の作成は正常に終了しました",
                         "\t\tグラフィック管理系の初期化を行います",
                         "\t\t\t３Ｄグラフィック描画機能は使用しません",
                         "\t\t\tフォントの初期化を行います",
                         "\t\t\tフォントの初期化は正常に終了しました",
                         "\t\tグラフィック管理系の初期化は正常に終了しました",
                         "\t画面モード変更処理は正常に終了しました",
                         "\tオーバーレイサーフェスは使用しません",
                         "DirectDraw 関連の初期化は正常に終了しました",
                         "文字コードバッファの初期化を行います... 完了しました",
                     }));
  EXPECT_EQ(gPlatform.initialised, 1);
  EXPECT_EQ(gPlatform.initialising, 0);
  EXPECT_EQ(gPlatform.osVersionCode, 0x107);
  EXPECT_EQ(gPlatform.directXVersion, 0x00070000);
  EXPECT_EQ(IsMmxUsable(), 1);
  EXPECT_EQ(IsAppActive(), 1);
  EXPECT_NE(GetMainWindow(), 0u);
  EXPECT_STREQ(gPlatform.startDirectory, dir.Path().c_str());

  // A second start does nothing.
  EXPECT_EQ(LayerInit(), 0);
  EXPECT_EQ(LogLines(), init);

  ASSERT_EQ(chdir("/"), 0);
  EXPECT_EQ(LayerEnd(), 0);
  const std::vector<std::string> all = LogLines();
  const std::vector<std::string> end(all.begin() + static_cast<long>(init.size()), all.end());
  EXPECT_THAT(end, ElementsAreArray({
                       "DirectDraw 関連の終了処理をおこないます",
                       "\tフォントの初期化を行います",
                       "\tフォントの初期化は正常に終了しました",
                       "\tグラフィック管理系の終了処理は正常に終了しました",
                       "\tＤｉｒｅｃｔＤｒａｗオブジェクトを解放します",
                       "\tＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました",
                       "\t画面モードを元に戻す処理は正常に終了しました",
                       "DirectDraw 関連の終了処理は正常に終了しました",
                       "DirectInput 関連の終了処理... 完了",
                       "DirectSound の終了処理は正常に終了しました",
                       "ウインドウを閉じようとしています",
                       "ウインドウが破棄されようとしています",
                       "ソフトを終了する準備が整いました",
                       "ＣＯＭを終了... 完了",
                       "",
                       "Alloc memory dump\tTotal size:0(0.000kb)  Alloc num:0",
                       "",
                   }));
  EXPECT_EQ(gPlatform.initialised, 0);
  EXPECT_EQ(GetMainWindow(), 0u);
  EXPECT_FALSE(HostWindowExists());
  EXPECT_EQ(IsEndRequested(), 1);
  // Back in the start directory.
  char cwd[PATH_MAX];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(std::string(cwd), dir.Path());
  EXPECT_EQ(LayerEnd(), 0);
}

TEST_F(LayerLifeCycleTest, EndBeforeInitDoesNothing) {
  EXPECT_EQ(LayerEnd(), 0);
  EXPECT_FALSE(FileExists(dir.File("Log.txt")));
}

TEST_F(LayerLifeCycleTest, RequestedTwentyFourBitScreenIsRefusedWithoutAWindow) {
  gScreenDevice.depth = 24;
  EXPECT_EQ(LayerInit(), -1);
  EXPECT_THAT(LogLines(), ElementsAreArray({"Ｍｏｖａｎライブラリは２４ビットカラーモードに対応していません"}));
  EXPECT_EQ(GetMainWindow(), 0u);
  EXPECT_FALSE(HostWindowExists());
  EXPECT_EQ(gPlatform.initialised, 0);
  EXPECT_EQ(gPlatform.initialising, 1);
}

TEST_F(LayerLifeCycleTest, WithoutAWindowSystemTheStartFailsAndAsksForTheEnd) {
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  const std::string saved = driver ? driver : "";
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  EXPECT_EQ(LayerInit(), -1);
  if (driver) {
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
  } else {
    unsetenv("SDL_VIDEODRIVER");
  }
  EXPECT_EQ(LogLines().back(), "ウインドウクラスを登録します... ウインドウクラスの登録に失敗しました");
  EXPECT_EQ(IsEndRequested(), 1);
  EXPECT_EQ(GetMainWindow(), 0u);
  EXPECT_EQ(gPlatform.initialised, 0);
  EXPECT_EQ(gPlatform.initialising, 0);
  EXPECT_EQ(LayerEnd(), 0);
}

TEST_F(LayerLifeCycleTest, ClassNameComesFromTheTitle) {
  struct Case {
    const char* title;
    const char* className;
    const char* windowTitle;
  } cases[] = {
      {"", "D123987X", "Movan"},
      {"\x83\x51\x81\x5B\x83\x80", "\x83\x51\x81\x5B\x83\x80", "\x83\x51\x81\x5B\x83\x80"},  // "ゲーム"
  };
  for (const Case& c : cases) {
    SetWindowTitle(c.title);
    ASSERT_EQ(LayerInit(), 0);
    EXPECT_STREQ(gPlatform.window.className, c.className);
    EXPECT_STREQ(gPlatform.windowTitle, c.windowTitle);
    LayerEnd();
  }
}

TEST_F(LayerLifeCycleTest, SettingsGivenBeforeInitSurviveWindowCreation) {
  SetWindowIconResource(101);
  SetRunInBackground(1);
  SetWindowScale(2.0);
  ASSERT_EQ(LayerInit(), 0);
  EXPECT_EQ(gPlatform.iconId, 101);
  EXPECT_EQ(gPlatform.runInBackground, 1);
  EXPECT_EQ(GetWindowScale(), 2.0);
  EXPECT_EQ(gPlatform.windowMode, 1);
  HostRect client;
  ASSERT_TRUE(HostWindowClientRect(&client));
  EXPECT_EQ(client.right - client.left, 1280);
  EXPECT_EQ(client.bottom - client.top, 960);
}

TEST_F(LayerLifeCycleTest, FullScreenStartHidesTheCursorAndCoversTheScreen) {
  gPlatform.windowMode = 0;
  ASSERT_EQ(LayerInit(), 0);
  const std::vector<std::string> lines = LogLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "フルスクリーンモード用のウインドウを作成します"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "カーソルを不可視にしました"), lines.end());
  EXPECT_EQ(gPlatform.window.cursorShown, 0);
  EXPECT_EQ(HostWindowGetStyle(), HostWindowStyle::FullScreen);
  HostRect client;
  ASSERT_TRUE(HostWindowClientRect(&client));
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
}

TEST_F(LayerLifeCycleTest, WithoutACounterTheTimerCheckIsSkipped) {
  clock.SetCounterFrequency(0);
  ASSERT_EQ(LayerInit(), 0);
  EXPECT_EQ(gPlatform.usePerformanceCounter, 0);
  for (const std::string& line : LogLines()) EXPECT_EQ(line.find("タイマー"), std::string::npos) << line;
}

TEST_F(LayerLifeCycleTest, ACounterSlowerThanTheTickLosesTheTimerCheck) {
  clock.SetCounterFrequency(10);  // moves once per 100 ms; the tick moves at every read
  ASSERT_EQ(LayerInit(), 0);
  EXPECT_EQ(gPlatform.usePerformanceCounter, 0);
  const std::vector<std::string> lines = LogLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), " マルチメディアタイマーを使用します タイマー分解能 : 1.00 ms "),
            lines.end());
}

// Start-up failures end the process through the fatal exit; its text is the
// last line of the log.
TEST_F(LayerLifeCycleTest, FatalExitDuringStartUpEndsWith255AndItsTextLast) {
  ReadStartDirectory();
  OpenLogFile();
  LogWrite("起動中\n");
  EXPECT_EXIT(FatalErrorExitFormat("失敗 %d", 7), ::testing::ExitedWithCode(255), "");
  EXPECT_THAT(LogLines(), ElementsAreArray({"起動中", "失敗 7"}));
}

TEST_F(LayerLifeCycleTest, FatalExitWhileRunningEndsTheLayerInOrder) {
  ASSERT_EQ(LayerInit(), 0);
  const size_t before = LogLines().size();
  EXPECT_EXIT(FatalErrorExit("致命的なエラー"), ::testing::ExitedWithCode(255), "");
  const std::vector<std::string> all = LogLines();
  const std::vector<std::string> after(all.begin() + static_cast<long>(before), all.end());
  ASSERT_GE(after.size(), 12u);
  EXPECT_EQ(after[0], "致命的なエラー");
  EXPECT_EQ(after[1], "DirectDraw 関連の終了処理をおこないます");
  EXPECT_EQ(after[2], "\tフォントの初期化を行います");
  EXPECT_EQ(after[3], "\tフォントの初期化は正常に終了しました");
  EXPECT_EQ(after[8], "DirectDraw 関連の終了処理は正常に終了しました");
  EXPECT_EQ(after[9], "DirectInput 関連の終了処理... 完了");
  EXPECT_EQ(after[10], "DirectSound の終了処理は正常に終了しました");
  EXPECT_EQ(after[11], "ウインドウを閉じようとしています");
  EXPECT_THAT(after[after.size() - 2], StartsWith("Alloc memory dump"));
}

// The second process: started by the test below, it tries to start the layer
// while the first one runs.
TEST(LayerSecondInstance, DISABLED_ChildStartsTheLayer) {
  const char* where = std::getenv("MOVAN_TEST_CHILD_DIR");
  const char* title = std::getenv("MOVAN_TEST_CHILD_TITLE");
  ASSERT_TRUE(where && title);
  ASSERT_EQ(chdir(where), 0);
  FakeClock clock;
  clock.AdvanceOnEveryTickRead(1000);
  FakeEventSource events;
  gPlatform.windowMode = 1;
  SetWindowTitle(title);
  EXPECT_EQ(LayerInit(), -1);
  EXPECT_EQ(IsEndRequested(), 1);
  EXPECT_EQ(GetMainWindow(), 0u);
}

TEST_F(LayerLifeCycleTest, ASecondProcessWithTheSameClassIsRefused) {
  HostSetInstanceLockEnabled(true);
  const std::string title = "MovanInstanceTest-" + std::to_string(getpid());
  SetWindowTitle(title.c_str());
  ASSERT_EQ(LayerInit(), 0);

  TestDirectory childDir;
  setenv("MOVAN_TEST_CHILD_DIR", childDir.Path().c_str(), 1);
  setenv("MOVAN_TEST_CHILD_TITLE", title.c_str(), 1);
  std::string self = "/proc/self/exe";
  std::string filter = "--gtest_filter=LayerSecondInstance.DISABLED_ChildStartsTheLayer";
  std::string disabled = "--gtest_also_run_disabled_tests";
  char* argv[] = {self.data(), filter.data(), disabled.data(), nullptr};
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, argv, environ), 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the second process's checks failed";
  const std::vector<std::string> childLog = LogLinesOf(childDir.File("Log.txt"));
  ASSERT_FALSE(childLog.empty());
  EXPECT_EQ(childLog.back(), " ソフトの二重起動検査... 二重起動されています、ソフトを終了します");
}

}  // namespace
