#include <gtest/gtest.h>

#include <string>

#include "engine/data/database/Databases.h"
#include "engine/events/SystemState.h"
#include "engine/services/DataFolder.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "tests/runtime/graphics/GraphicsFixture.h"
#include "tests/support/BmpFileWriter.h"
#include "tests/support/DatabaseBuilder.h"

namespace {

class TransitionImageTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    Start(32);
    SystemStateHub = SystemState();
    SetDataFolder("Data\\");
    SystemDatabase = Database();
    for (int32_t type = 0; type < 12; ++type) {
      const bool images = type == 11;
      SystemDatabase.typeData.push_back(MakeTypeData(images ? std::vector<int32_t>{2000} : std::vector<int32_t>{},
                                                     images ? 2 : 0));
      SystemDatabase.typeDefinitions.push_back(MakeDefinition("t", images ? std::vector<std::string>{"file"}
                                                                          : std::vector<std::string>{},
                                                              std::vector<std::string>(images ? 2 : 0, "d")));
    }
    SystemDatabase.SetString(11, 0, 0, "Transition\\Wipe.bmp");
    SystemDatabase.SetString(11, 1, 0, "Transition\\Gone.bmp");
    BmpFileFields bmp;
    bmp.width = 4;
    bmp.height = 2;
    bmp.data = PackBmpRows(24, {{0x808080, 0x404040, 0, 0}, {0xFFFFFF, 0, 0, 0}});
    dir.Write("Data/Transition/Wipe.bmp", BmpFile(bmp));
  }
  void TearDown() override {
    SystemStateHub = SystemState();
    SystemDatabase = Database();
    GraphicsFixture::TearDown();
  }
};

TEST_F(TransitionImageTest, AnEntryIsLoadedInPlaceOfTheLastOneAndNoneMeansAPlainFade) {
  SystemState& hub = SystemStateHub;
  hub.LoadTransitionImage(0, 30, 1);
  const int first = hub.transitionImage;
  ASSERT_NE(first, 0);
  EXPECT_EQ(hub.transitionImageName, "Data\\Transition\\Wipe.bmp");
  EXPECT_EQ(hub.plainFade, 0);
  EXPECT_EQ(hub.transitionTotal, 30);
  EXPECT_EQ(hub.transitionWait, 1);
  EXPECT_EQ(GetGraphicRecord(first)->format.blendImage, 1);

  const int count = GetGraphicCount();
  hub.LoadTransitionImage(0, 12, 0);
  EXPECT_EQ(GetGraphicCount(), count) << "the previous image is deleted";

  hub.LoadTransitionImage(-1, 20, 0);
  EXPECT_EQ(hub.transitionImage, 0);
  EXPECT_EQ(hub.transitionImageName, "");
  EXPECT_EQ(hub.plainFade, 1);
  EXPECT_EQ(GetGraphicCount(), count - 1);

  hub.LoadTransitionImage(1, 20, 0);  // a missing file: no image
  EXPECT_EQ(hub.transitionImage, 0);
  EXPECT_EQ(hub.transitionImageName, "Data\\Transition\\Gone.bmp");
}

}  // namespace
