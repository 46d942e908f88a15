#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/platform/base/ResourceHandle.h"
#include "runtime/platform/base/ScreenLog.h"
#include "tests/runtime/graphics/GraphicsFixture.h"

namespace {

using GraphicTableTest = GraphicsFixture;

TEST_F(GraphicTableTest, SizesOutsideTheCapAreRefusedWithTheFailureText) {
  Start();
  struct Case {
    int width;
    int height;
  } cases[] = {{0, 10}, {10, 0}, {-1, 10}, {10, -5}, {32768, 1}, {1, 65536}, {8193, 8193}};
  for (const Case& c : cases) {
    EXPECT_EQ(CreateBlankGraphic(c.width, c.height, 1), -1) << c.width << "x" << c.height;
  }
  EXPECT_EQ(GetGraphicCount(), 0);
  const std::vector<std::string> lines = NewLogLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "グラフィックの作成に失敗しました"), 7);
  const int largest = CreateBlankGraphic(8192, 8192, 1);
  EXPECT_GE(largest, 0);
  DeleteGraphic(largest);
}

TEST_F(GraphicTableTest, HandlesCarryTypeSlotAndCheckAndGoStaleOnDeletion) {
  Start();
  const int a = CreateBlankGraphic(16, 8, 1);
  ASSERT_GE(a, 0);
  EXPECT_EQ(HandleTypeBits(a), kHandleGraphic << 27);
  int w = 0;
  int h = 0;
  EXPECT_EQ(GetGraphicSize(a, &w, &h), 0);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 8);
  EXPECT_EQ(GetGraphicSize(kBackScreen, &w, &h), 0);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(DeleteGraphic(a), 0);
  EXPECT_EQ(DeleteGraphic(a), -1);
  // The slot comes back with another check number: the old handle stays dead.
  const int b = CreateBlankGraphic(4, 4, 1);
  EXPECT_EQ(HandleSlot(b), HandleSlot(a));
  EXPECT_NE(b, a);
  EXPECT_EQ(GetGraphicSize(a, &w, &h), -1);
  for (int bad : {-1, b + 1, b ^ (1 << 27), b | 0x7FFF}) EXPECT_EQ(GetGraphicRecord(bad), nullptr) << bad;
  int deleted = 5;
  EXPECT_EQ(SetGraphicDeleteNotify(b, &deleted), 0);
  EXPECT_EQ(deleted, 0);
  DeleteGraphic(b);
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(NewImageRecords(), 0);
  EXPECT_EQ(NewSurfaces(), 0);
}

TEST_F(GraphicTableTest, AFullTableEndsTheProgramAndAFreedSlotIsReusedFromTheBottom) {
  Start();
  // Each graphic takes a 2D surface; the fonts' text images give theirs back.
  DeleteFontHandle(gScreenLog.font);
  DeleteFontHandle(GetDefaultFont());
  std::vector<int> handles;
  for (int i = 0; i < kGraphicCapacity; ++i) handles.push_back(CreateBlankGraphic(1, 1, 1));
  ASSERT_EQ(GetGraphicCount(), kGraphicCapacity);
  EXPECT_EXIT(CreateBlankGraphic(1, 1, 1), ::testing::ExitedWithCode(255), "");
  DeleteGraphic(handles[5]);
  DeleteGraphic(handles[9]);
  const int again = CreateBlankGraphic(1, 1, 1);
  EXPECT_EQ(HandleSlot(again), 5);
  const std::vector<std::string> lines = LogLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "グラフィックの数が許容量を越えました終了します"), lines.end());
}

TEST_F(GraphicTableTest, DeriveRefusesRectanglesOffTheParentAndClipsTheRest) {
  Start();
  const int parent = CreateBlankGraphic(100, 50, 1);
  struct Case {
    int x, y, w, h;
    int width, height;  // -1: refused
  } cases[] = {
      {100, 0, 10, 10, -1, -1}, {0, 50, 10, 10, -1, -1}, {-1, 0, 10, 10, -1, -1}, {0, -3, 10, 10, -1, -1},
      {150, 0, 10, 10, -1, -1}, {0, 0, 0, 10, -1, -1},   {0, 0, 10, -2, -1, -1},  {90, 40, 30, 30, 10, 10},
      {10, 20, 30, 5, 30, 5},   {0, 0, 2147483647, 2147483647, 100, 50},
  };
  for (const Case& c : cases) {
    const int derived = DeriveGraphic(c.x, c.y, c.w, c.h, parent);
    if (c.width < 0) {
      EXPECT_EQ(derived, -1) << c.x << "," << c.y << " " << c.w << "x" << c.h;
      continue;
    }
    ASSERT_GE(derived, 0);
    int w = 0;
    int h = 0;
    GetGraphicSize(derived, &w, &h);
    EXPECT_EQ(w, c.width);
    EXPECT_EQ(h, c.height);
    const GraphicEntry* g = GetGraphicRecord(derived);
    EXPECT_EQ(g->sourceX, c.x);
    EXPECT_EQ(g->sourceY, c.y);
    DeleteGraphic(derived);
  }
  EXPECT_EQ(DeriveGraphic(0, 0, 1, 1, parent + 1), -1);
  // The derived graphics shared the parent's record and let it go again.
  EXPECT_EQ(NewImageRecords(), 1);
}

TEST_F(GraphicTableTest, DeletingADerivedGraphicKeepsTheSharedRecord) {
  Start();
  const int parent = CreateBlankGraphic(32, 32, 1);
  const int derived = DeriveGraphic(8, 8, 8, 8, parent);
  ASSERT_GE(derived, 0);
  EXPECT_EQ(NewImageRecords(), 1);
  DeleteGraphic(parent);
  EXPECT_EQ(NewImageRecords(), 1);
  const GraphicEntry* g = GetGraphicRecord(derived);
  ASSERT_NE(g, nullptr);
  EXPECT_NE(GetImageRecord(GetSurface2D(g->parts[0])->imageRecord), nullptr);
  DeleteGraphic(derived);
  EXPECT_EQ(NewImageRecords(), 0);
}

TEST_F(GraphicTableTest, FormatBytesFollowTheCreationSettings) {
  Start(16);
  SetCreateDrawableGraphics(1);
  const int drawable = CreateGraphic(8, 8, 1, 1, 0);
  SetCreateDrawableGraphics(0);
  const GraphicEntry* d = GetGraphicRecord(drawable);
  EXPECT_EQ(d->format.alphaChannel, 0);
  EXPECT_EQ(d->format.drawable, 1);
  EXPECT_EQ(d->format.texture, 0);  // software screens: every graphic is 2D
  EXPECT_EQ(d->format.colorDepth, 16);
  const int withAlpha = CreateGraphic(8, 8, 1, 1, 0);
  const ImageRecord* r = GetImageRecord(GetSurface2D(GetGraphicRecord(withAlpha)->parts[0])->imageRecord);
  EXPECT_EQ(r->format.alphaChannel, 1);
  EXPECT_EQ(r->format.systemMemory, 1);
  EXPECT_EQ(r->software, 1);
  EXPECT_EQ(r->pixelFormatIndex, 11);
  EXPECT_EQ(r->image.store->alphaFlag, 1);
}

TEST_F(GraphicTableTest, ALockedRecordLocksAgainWithMinusTwoAndNeedsAsManyUnlocks) {
  Start();
  const int graphic = CreateBlankGraphic(16, 16, 1);
  const int record = GetSurface2D(GetGraphicRecord(graphic)->parts[0])->imageRecord;
  int32_t pitch = 0;
  uint8_t* pointer = nullptr;
  ColorFormat format = {};
  const IntPoint point = {2, 3};
  ASSERT_EQ(LockImageRecord(record, &pitch, &pointer, 0, &point, &format), 0);
  EXPECT_EQ(format.depth, 32);
  const ImageRecord* r = GetImageRecord(record);
  EXPECT_EQ(pointer, r->image.store->pixels + 3 * pitch + 2 * 4);
  int32_t pitch2 = 0;
  uint8_t* pointer2 = nullptr;
  EXPECT_EQ(LockImageRecord(record, &pitch2, &pointer2, 1, nullptr, nullptr), -2);
  EXPECT_EQ(pointer2, pointer);
  EXPECT_EQ(pitch2, pitch);
  EXPECT_EQ(UnlockImageRecord(record, nullptr), 0);
  EXPECT_EQ(UnlockImageRecord(record, nullptr), 0);
  EXPECT_EQ(UnlockImageRecord(record, nullptr), -1);
  EXPECT_EQ(LockImageRecord(record + 1, &pitch, &pointer, 0, nullptr, nullptr), -1);
}

TEST_F(GraphicTableTest, SourceNamesAreBoundedStrings) {
  Start();
  const int graphic = CreateBlankGraphic(4, 4, 1);
  EXPECT_EQ(SetGraphicSourceName(graphic, "image\\a.png", -1), 0);
  const GraphicEntry* g = GetGraphicRecord(graphic);
  EXPECT_STREQ(g->fileName, "image\\a.png");
  EXPECT_STREQ(g->directory, dir.Path().c_str());
  // A name that does not fit is not kept, rather than cut into another one.
  const std::string longName(70, 'x');
  EXPECT_EQ(SetGraphicSourceName(graphic, longName.c_str(), -1), 0);
  EXPECT_STREQ(g->fileName, "");
  const int other = CreateBlankGraphic(4, 4, 1);
  SetGraphicSourceName(other, "b.png", -1);
  EXPECT_EQ(SetGraphicSourceName(graphic, nullptr, other), 0);
  EXPECT_STREQ(g->fileName, "b.png");
  EXPECT_EQ(SetGraphicSourceName(graphic + 1, "c", -1), -1);
}

}  // namespace
