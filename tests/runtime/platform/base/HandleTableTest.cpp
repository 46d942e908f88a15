#include <gtest/gtest.h>

#include "runtime/platform/base/HandleList.h"
#include "runtime/platform/base/HandleTable.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "tests/runtime/platform/base/LogFixture.h"

namespace {

struct SoundRecord : HandleRecord {
  int value;
};

struct FieldRecord : ArrayHandleRecord {
  int value = 0;
};

using HandleTableTest = LogFixture;

TEST_F(HandleTableTest, FirstHandlesOfATypeFollowTheScheme) {
  PointerHandleTable<SoundRecord> sounds(kHandleSound, 4096, "full\n", "no memory\n");
  EXPECT_EQ(sounds.Create(), 0x10000000);
  EXPECT_EQ(sounds.Create(), 0x10010001);
  PointerHandleTable<SoundRecord> graphics(kHandleGraphic, 32768, "full\n", "no memory\n");
  EXPECT_EQ(graphics.Create(), 0x08000000);
}

TEST_F(HandleTableTest, CheckNumberWrapsAfter2048Creations) {
  PointerHandleTable<SoundRecord> table(kHandleSound, 16, "full\n", "no memory\n");
  int32_t last = -1;
  for (int i = 0; i < 2048; ++i) {
    last = table.Create();
    ASSERT_EQ(HandleCheckBits(last) >> 16, i);
    table.Delete(last);
  }
  const int32_t wrapped = table.Create();
  EXPECT_EQ(HandleCheckBits(wrapped), 0);
  EXPECT_EQ(wrapped, 0x10000000) << "exactly 2048 creations later the same handle comes back";
  EXPECT_EQ(table.Find(last), nullptr);
}

TEST_F(HandleTableTest, SlotsAreReusedAsTheHighWaterMarkAllows) {
  PointerHandleTable<SoundRecord> table(kHandleSound, 4, "full\n", "no memory\n");
  const int32_t h0 = table.Create();
  const int32_t h1 = table.Create();
  const int32_t h2 = table.Create();

  table.Delete(h2);  // the highest: its slot is next
  const int32_t h2b = table.Create();
  EXPECT_EQ(HandleSlot(h2b), 2);
  EXPECT_NE(h2b, h2);

  table.Delete(h0);  // a hole below: filled only once the table's end is reached
  const int32_t h3 = table.Create();
  EXPECT_EQ(HandleSlot(h3), 3);
  const int32_t h0b = table.Create();
  EXPECT_EQ(HandleSlot(h0b), 0);

  EXPECT_EQ(table.Create(), -1);
  EXPECT_NE(LogText().find("full\r\n"), std::string::npos);

  for (int32_t h : {h1, h2b, h3, h0b}) EXPECT_EQ(table.Delete(h), 0);
  EXPECT_EQ(table.UsedEnd(), 0);
  EXPECT_EQ(table.LiveCount(), 0);
}

TEST_F(HandleTableTest, ValidationRefusesStaleForeignAndBadHandles) {
  PointerHandleTable<SoundRecord> sounds(kHandleSound, 8, "full\n", "no memory\n");
  const int32_t live = sounds.Create();
  const int32_t stale = sounds.Create();
  sounds.Delete(stale);

  EXPECT_NE(sounds.Find(live), nullptr);
  struct Case {
    int32_t handle;
    const char* why;
  } refused[] = {
      {stale, "deleted"},
      {MakeResourceHandle(1, 5, kHandleSound), "wrong check number"},
      {MakeResourceHandle(0, 0, kHandleGraphic), "another type"},
      {MakeResourceHandle(8, 0, kHandleSound), "slot beyond the capacity"},
      {MakeResourceHandle(0xFFFF, 0, kHandleSound), "largest slot"},
      {-1, "none"},
      {-2, "back screen"},
      {static_cast<int32_t>(0x90000000u), "sign bit"},
  };
  for (const Case& c : refused) {
    EXPECT_EQ(sounds.Find(c.handle), nullptr) << c.why;
    EXPECT_EQ(sounds.Delete(c.handle), -1) << c.why;
  }
  EXPECT_EQ(sounds.Delete(live), 0);
  EXPECT_EQ(sounds.Delete(live), -1) << "a second delete";
  EXPECT_EQ(LogText(), "") << "refusals are silent";
}

TEST_F(HandleTableTest, AHandleCanBeMadeAgainInItsOwnSlot) {
  PointerHandleTable<SoundRecord> table(kHandleSound, 8, "full\n", "no memory\n");
  table.Create();
  const int32_t h = table.Create();
  table.Delete(h);
  EXPECT_EQ(table.Create(nullptr, h), h);
  EXPECT_EQ(table.Create(nullptr, h), -1) << "the slot is taken";
  EXPECT_EQ(table.NextCheck(), 2) << "making a handle again does not advance the check number";
}

TEST_F(HandleTableTest, AFailedRecordAllocationLogsAndKeepsTheCounters) {
  PointerHandleTable<SoundRecord> table(kHandleSound, 8, "full\n", "no memory\n");
  SetTrackedAllocFailureCountdown(0);
  EXPECT_EQ(table.Create(), -1);
  EXPECT_NE(LogText().find("no memory\r\n"), std::string::npos);
  EXPECT_EQ(table.NextCheck(), 0);
  EXPECT_EQ(table.LiveCount(), 0);
  EXPECT_EQ(table.Create(), 0x10000000);
}

TEST_F(HandleTableTest, RecordArrayTakesTheFirstFreeRecord) {
  static RecordArrayHandleTable<FieldRecord, 3> fields(kHandleKeyInput);
  FieldRecord* record = nullptr;
  const int32_t a = fields.Create(&record);
  EXPECT_EQ(a, MakeResourceHandle(0, 0, kHandleKeyInput));
  record->value = 9;
  const int32_t b = fields.Create();
  const int32_t c = fields.Create();
  EXPECT_EQ(fields.Create(), -1);
  EXPECT_EQ(fields.Delete(a), 0);
  const int32_t a2 = fields.Create(&record);
  EXPECT_EQ(HandleSlot(a2), 0);
  EXPECT_EQ(HandleCheckBits(a2) >> 16, 3);
  EXPECT_EQ(record->value, 0) << "a reused record starts fresh";
  EXPECT_EQ(fields.Find(a), nullptr);
  EXPECT_EQ(fields.Find(MakeResourceHandle(1, 1, kHandleSound)), nullptr);
  EXPECT_NE(fields.Find(b), nullptr);
  EXPECT_NE(fields.Find(c), nullptr);
}

TEST(HandleListTest, NodesAreLinkedBehindTheFirstSentinel) {
  HandleListNode first, last, n1, n2;
  HandleListInit(&first, &last);
  EXPECT_EQ(first.next, &last);
  EXPECT_EQ(last.prev, &first);
  int data = 0;
  HandleListAdd(&first, &n1, 11, &data);
  HandleListAdd(&first, &n2, 22, nullptr);
  EXPECT_EQ(first.next, &n2);
  EXPECT_EQ(n2.next, &n1);
  EXPECT_EQ(n1.next, &last);
  EXPECT_EQ(last.prev, &n1);
  EXPECT_EQ(n1.data, &data);
  HandleListRemove(&n2);
  EXPECT_EQ(first.next, &n1);
  EXPECT_EQ(n1.prev, &first);
  EXPECT_EQ(first.handle, -1);
}

}  // namespace
