#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "runtime/host/system/InstanceLock.h"
#include "runtime/host/window/SdlWindow.h"
#include "runtime/host/window/Window.h"
#include "runtime/host/window/WindowMessages.h"
#include "tests/support/TestDirectory.h"

namespace {

class HostWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(HostVideoStart()); }
  void TearDown() override { HostVideoStop(); }
};

TEST_F(HostWindowTest, ClientRectangleFollowsTheFrame) {
  ASSERT_NE(HostWindowCreate("t", HostWindowStyle::Windowed, HostRect{100, 50, 740, 530}), 0u);
  HostRect client;
  ASSERT_TRUE(HostWindowClientRect(&client));
  EXPECT_EQ(client.left, 100);
  EXPECT_EQ(client.top, 50);
  EXPECT_EQ(client.right, 740);
  EXPECT_EQ(client.bottom, 530);
  HostWindowSetFrameRect(HostRect{10, 20, 970, 740});
  ASSERT_TRUE(HostWindowClientRect(&client));
  EXPECT_EQ(client.right - client.left, 960);
  EXPECT_EQ(client.bottom - client.top, 720);
  HostWindowDestroy();
  EXPECT_FALSE(HostWindowClientRect(&client));
}

TEST_F(HostWindowTest, FullScreenShowsTheGameScreenScaledToTheDesktop) {
  ASSERT_NE(HostWindowCreate("t", HostWindowStyle::Windowed, HostRect{0, 0, 640, 480}), 0u);
  HostDiscardMessages();
  HostWindowSetStyle(HostWindowStyle::FullScreen);
  // The change of style stands for a change of display mode.
  HostMessage m;
  bool sawChange = false;
  while (HostPeekMessage(&m)) {
    HostRemoveMessage();
    if (m.id == HostMessageId::DisplayChange) {
      sawChange = true;
      EXPECT_EQ(m.p1, 32);
      EXPECT_EQ(m.p2, 640);
      EXPECT_EQ(m.p3, 480);
    }
  }
  EXPECT_TRUE(sawChange);
  HostWindowSetFrameRect(HostRect{0, 0, 640, 400});
  HostRect client;
  ASSERT_TRUE(HostWindowClientRect(&client));
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 400);

  // Window pixels and game pixels map onto each other through the viewport.
  const SDL_Rect v = HostPictureViewport();
  EXPECT_EQ(static_cast<int64_t>(v.w) * 400, static_cast<int64_t>(v.h) * 640);
  int x = v.x + v.w / 2;
  int y = v.y + v.h / 2;
  HostWindowPixelsToClient(&x, &y);
  EXPECT_EQ(x, 320);
  EXPECT_EQ(y, 200);
  HostClientToWindowPixels(&x, &y);
  EXPECT_EQ(x, v.x + v.w / 2);
  EXPECT_EQ(y, v.y + v.h / 2);
}

TEST(InstanceLock, ASecondHolderOfTheSameNameIsRefused) {
  const std::string name = "MovanLockTest-" + std::to_string(getpid());
  ASSERT_TRUE(HostAcquireInstanceLock(name.c_str()));
  // What another process finds: the same name is taken, another is free.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const bool same = HostAcquireInstanceLock(name.c_str());
    const bool other = HostAcquireInstanceLock((name + "-other").c_str());
    HostSetInstanceLockEnabled(false);
    const bool switchedOff = HostAcquireInstanceLock(name.c_str());
    _exit(!same && other && switchedOff ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  HostReleaseInstanceLock();
  EXPECT_TRUE(HostAcquireInstanceLock(name.c_str()));
  HostReleaseInstanceLock();
}

// XDG_RUNTIME_DIR pointed at a folder for the test's length.
class ScopedRuntimeFolder {
 public:
  explicit ScopedRuntimeFolder(const std::string& folder) {
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) old_ = old, hadOld_ = true;
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  }
  ~ScopedRuntimeFolder() {
    if (hadOld_) {
      setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
  }

 private:
  std::string old_;
  bool hadOld_ = false;
};

TEST(InstanceLock, LivesInTheUsersRuntimeFolderAndRefusesALinkThere) {
  TestDirectory runtime;
  ASSERT_EQ(chmod(runtime.Path().c_str(), 0700), 0);
  ScopedRuntimeFolder scoped(runtime.Path());
  const std::string path = HostInstanceLockPath("MovanLinkTest");
  ASSERT_EQ(path.rfind(runtime.Path() + "/", 0), 0u) << path;

  TestDirectory elsewhere;
  const std::string target = elsewhere.File("made.lock");
  ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0);
  // The player still starts, but no file appears at the link's target.
  EXPECT_TRUE(HostAcquireInstanceLock("MovanLinkTest"));
  HostReleaseInstanceLock();
  EXPECT_FALSE(FileExists(target));
}

TEST(InstanceLock, AFolderOthersMayWriteIsNotUsed) {
  TestDirectory shared;
  ASSERT_EQ(chmod(shared.Path().c_str(), 0777), 0);
  ScopedRuntimeFolder scoped(shared.Path());
  const std::string path = HostInstanceLockPath("MovanLinkTest");
  EXPECT_NE(path.rfind(shared.Path() + "/", 0), 0u) << path;
  if (!path.empty()) {
    // The fallback is a folder of this user's own that nobody else may enter.
    struct stat st;
    const std::string folder = path.substr(0, path.rfind('/'));
    ASSERT_EQ(lstat(folder.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_uid, getuid());
    EXPECT_EQ(st.st_mode & 077, 0u);
  }
}

}  // namespace
