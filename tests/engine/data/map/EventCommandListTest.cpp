#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data/file/FileBuffer.h"
#include "engine/data/map/EventCommandList.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/MapFileWriter.h"

namespace {

std::vector<int32_t> Arguments(const EventCommand& command) { return {command.arguments.begin(), command.arguments.end()}; }

TEST(EventCommandListTest, DamagedRecordsAndCountsThatLieMakeNothing) {
  ByteWriter twoWhole;
  twoWhole.U8(2).I32(101).I32(5).U8(1).U8(0).U8(0);
  twoWhole.U8(0).U8(0).U8(0).U8(0);
  const struct {
    const char* what;
    std::string bytes;
    int32_t count;
  } cases[] = {
      {"100 arguments in a few bytes", ByteWriter().U8(100).I32(1).I32(2).Bytes(), 1},
      {"100 strings in a few bytes", ByteWriter().U8(1).I32(7).U8(0).U8(100).I32(1).U8('x').Bytes(), 1},
      {"a negative argument count", ByteWriter().U8(0xFF).U8(0).U8(0).U8(0).Bytes(), 1},
      {"the third of three records cut short", twoWhole.Bytes() + ByteWriter().U8(3).I32(102).Bytes(), 3},
      {"16M records stated, two held", twoWhole.Bytes(), 16000000},
      {"a negative count", twoWhole.Bytes(), -1},
  };
  for (const auto& c : cases) {
    FileBuffer in = BufferOf(c.bytes);
    EventCommandList list = {CommandRecord({1, 2}), CommandRecord({3})};
    EXPECT_FALSE(list.Read(in, c.count)) << c.what;
    EXPECT_TRUE(in.Overrun()) << c.what;
    EXPECT_TRUE(list.empty()) << c.what << ": a damaged list keeps nothing of itself or of the file";
  }
}

TEST(EventCommandListTest, RecordsReadWholeWithTheLastMarkedAsTheEnd) {
  MoveRoute route;
  route.steps.push_back({3, {4, 5}, "go"});
  const std::vector<CommandRecord> records = {
      CommandRecord({101, 7}, 1, {"line one", ""}),
      CommandRecord({}, 2),
      CommandRecord({201, 1}, 0, {}, {route}),
      CommandRecord({0}, 0, {"last"}),
  };
  ByteWriter out;
  for (const CommandRecord& record : records) WriteCommandRecord(out, EventCommandList{record}[0]);
  out.U8(9);  // the next field of the file
  FileBuffer in = BufferOf(out.Bytes());
  EventCommandList list;
  ASSERT_TRUE(list.Read(in, 4));
  EXPECT_EQ(in.Position(), in.Size() - 1);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(Arguments(list[0]), (std::vector<int32_t>{101, 7}));
  EXPECT_EQ(list[0].indent, 1);
  ASSERT_EQ(list[0].strings.size(), 2u);
  EXPECT_EQ(list[0].strings[0], "line one");
  EXPECT_TRUE(list[1].arguments.empty());
  EXPECT_EQ(list.Code(1), 0) << "a line without arguments reads code 0";
  ASSERT_EQ(list[2].routes.size(), 1u);
  EXPECT_EQ(list[2].routes[0], route);
  EXPECT_TRUE(list[1].routes.empty());
  EXPECT_EQ(Arguments(list[3]), std::vector<int32_t>{EventCommand::kEndCode});
  EXPECT_EQ(list[3].strings[0], "last");

  // A list that ends in a line without arguments has nothing to mark.
  FileBuffer bare = BufferOf(ByteWriter().U8(0).U8(0).U8(0).U8(0).Bytes());
  ASSERT_TRUE(list.Read(bare, 1));
  EXPECT_TRUE(list[0].arguments.empty());
}

TEST(EventCommandListTest, InsertedLinesAndPreparedFormsStayWithTheirLines) {
  EventCommandList list = {CommandRecord({1}), CommandRecord({3}, 2, {"c"})};
  const int32_t flow[] = {1, 2, 3};
  list.SetPrepared(1, flow, std::vector<PreparedOperand>{PreparedOperand::Literal(9)});
  list.Insert(1, CommandRecord({2}, 1, {"b"}));
  list.Insert(99, CommandRecord({4}));
  ASSERT_EQ(list.size(), 4u);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(list.Code(i), static_cast<int32_t>(i) + 1);
  EXPECT_EQ(list[1].strings[0], "b");
  EXPECT_EQ(list.Indent(2), 2);
  EXPECT_EQ(list[2].strings[0], "c");
  EXPECT_TRUE(list.FlowData(1).empty());
  EXPECT_EQ(std::vector<int32_t>(list[2].flowData.begin(), list[2].flowData.end()), (std::vector<int32_t>{1, 2, 3}));
  ASSERT_EQ(list[2].operands.size(), 1u);
  EXPECT_EQ(list[2].operands[0].literal, 9);

  // Lists compare by contents: the same lines built in another order match.
  EventCommandList same = {CommandRecord({1}), CommandRecord({2}, 1, {"b"}), CommandRecord({3}, 2, {"c"}),
                           CommandRecord({4})};
  EXPECT_NE(same, list) << "the prepared form is part of a line";
  same.SetPrepared(2, flow, std::vector<PreparedOperand>{PreparedOperand::Literal(9)});
  EXPECT_EQ(same, list);
  list.ClearPrepared();
  EXPECT_TRUE(list[2].operands.empty());
}

}  // namespace
