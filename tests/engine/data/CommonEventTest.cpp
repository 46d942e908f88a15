#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data/CommonEventList.h"
#include "engine/data/file/FileBuffer.h"
#include "engine/services/DataFolder.h"
#include "tests/engine/data/DataTestHooks.h"
#include "tests/support/SpanValues.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/CommonEventFileWriter.h"
#include "tests/support/TestDirectory.h"

namespace {

CommandRecord Command(std::vector<int32_t> arguments, std::vector<std::string> strings = {}) {
  CommandRecord command;
  command.arguments = std::move(arguments);
  command.strings = std::move(strings);
  return command;
}

CommonEvent Numbered(int32_t number) {
  CommonEvent event;
  event.number = number;
  return event;
}

CommonEvent Named(std::string name) {
  CommonEvent event;
  event.name = std::move(name);
  return event;
}

// Three records carrying numbers the reader must not keep: one with every
// table shorter or longer than the defaults, one without extra bytes (no
// extra text in the file), one with no commands at all.
std::vector<CommonEvent> SampleEvents() {
  CommonEvent first = Named("戦闘開始");
  first.number = 7;
  first.trigger = 0x21;
  first.conditionVariable = 2000005;
  first.conditionValue = -3;
  first.optionBytes = {4, 200};
  CommandRecord routed = Command({101, 1}, {"はい", ""});
  routed.routes.resize(1);
  routed.routes[0].steps = {{3, {1, 2}, "x"}};
  first.commands = {routed, Command({0})};
  first.extraBytes = {9, 8};
  first.extraText = "メモ";
  first.argumentNames = {"数", "", "名前"};
  first.argumentSettings = {1, 0, 3};
  first.argumentOptionTexts = {{"a", "b"}, {}};
  first.argumentOptionValues = {{5}, {6, 7, 8}};
  first.argumentDefaults = {1, 2, 3, 4, 5, 6, 7};

  CommonEvent second = Named("second");
  second.number = 7;
  second.extraBytes = {};
  second.commands = {Command({210, 500001})};

  CommonEvent third = Named("");
  third.number = 99;
  third.commands = {};
  return {first, second, third};
}

// What reading the sample gives: numbers from the list, every command list
// ended with code -1, and lists read shorter than the defaults keep the
// defaults' later entries (settings take exactly the file's count).
std::vector<CommonEvent> Loaded(std::vector<CommonEvent> events) {
  for (size_t i = 0; i < events.size(); ++i) {
    CommonEvent& event = events[i];
    event.number = static_cast<int32_t>(i);
    event.commands.MarkEnd();
    if (event.extraBytes.empty()) event.extraBytes = {0};
  }
  CommonEvent& first = events[0];
  first.argumentNames.resize(10);
  first.argumentOptionTexts.resize(10);
  first.argumentOptionValues.resize(10);
  return events;
}

class CommonEventTest : public DataFolderTest {
 protected:
  static bool ReadDat(CommonEventList& list, const std::string& bytes) {
    FileBuffer file = BufferOf(bytes);
    return list.ReadCommonEventsFile(file, "Data\\BasicData\\CommonEvent.dat");
  }
  static int32_t ReadCommon(CommonEventList& list, const std::string& bytes, int32_t first, bool readRecords = true) {
    FileBuffer file = BufferOf(bytes);
    return list.ReadCommonEventFile(file, first, readRecords);
  }

  static void ExpectVersionMessage(const ReportedMessage& message) {
    EXPECT_EQ(message.title, "読み込み失敗");
    EXPECT_EQ(message.text,
              "コモンイベントファイルの読み込みに失敗しました。\r\nデータのバージョンが違う可能性があります、最新ツールでロードしてください。");
  }
  static void ExpectUnreadableMessage(const ReportedMessage& message) {
    EXPECT_EQ(message.title, "読み込みエラー");
    EXPECT_EQ(message.text, "コモンイベントデータの読み込みに失敗しました");
  }

};

TEST_F(CommonEventTest, ANewListHoldsTenNumberedEventsWithTheirDefaults) {
  CommonEventList list;
  ASSERT_EQ(list.Count(), 10);
  for (int32_t i = 0; i < 10; ++i) EXPECT_EQ(list.events[static_cast<size_t>(i)].number, i);
  const CommonEvent& event = list.events[3];
  EXPECT_EQ(event.trigger, 32);
  EXPECT_EQ(event.conditionVariable, 2000000);
  EXPECT_EQ(event.commands, EventCommandList{CommandRecord()});
  EXPECT_EQ(event.extraBytes, std::vector<uint8_t>{0});
  EXPECT_EQ(event.argumentNames.size(), 10u);
  EXPECT_EQ(event.argumentSettings, std::vector<uint8_t>(10, 0));
  EXPECT_EQ(event.argumentOptionTexts.size(), 10u);
  EXPECT_EQ(event.argumentOptionValues.size(), 10u);
  EXPECT_EQ(event.argumentDefaults, std::vector<int32_t>(5, 0));

  list.events[1].name = "kept";
  list.Resize(2);
  list.Resize(4);
  EXPECT_EQ(list.events[1].name, "kept");
  EXPECT_EQ(list.events[3], Numbered(3));
  list.Resize(-1);
  EXPECT_EQ(list.Count(), 0);

  CommonEvent inserted;
  inserted.commands = {CommandRecord({5})};
  inserted.InsertCommand(7);  // past the end: appended
  inserted.InsertCommand(-2);
  ASSERT_EQ(inserted.commands.size(), 3u);
  EXPECT_EQ(Values(inserted.commands[1].arguments), std::vector<int32_t>{5});
}

TEST_F(CommonEventTest, LoadsBothRecordFormsWithTheirDefaults) {
  dir_.Write("Data/BasicData/CommonEvent.dat", WriteCommonEventDat(SampleEvents()));
  CommonEventList list;
  ASSERT_TRUE(list.LoadCommonEvents("BasicData\\CommonEvent.dat"));
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(std::vector<CommonEvent>(list.events.begin(), list.events.end()), Loaded(SampleEvents()));
  EXPECT_TRUE(list.events[2].commands.empty()) << "an empty command list stays empty";
  EXPECT_TRUE(messageBoxes.empty());

  // Records that end at the format byte keep every default table.
  CommonEventDatOptions shortRecords;
  shortRecords.seeds = {0, 0, 0};
  shortRecords.record.formatByte = 0x8E;
  CommonEventList bare;
  ASSERT_TRUE(ReadDat(bare, WriteCommonEventDat(SampleEvents(), shortRecords)));
  const CommonEvent defaults;
  EXPECT_EQ(bare.events[0].argumentNames, defaults.argumentNames);
  EXPECT_EQ(bare.events[0].argumentSettings, defaults.argumentSettings);
  EXPECT_EQ(bare.events[0].argumentDefaults, defaults.argumentDefaults);
  EXPECT_EQ(bare.events[0].extraText, "メモ");
  EXPECT_EQ(bare.events[1].extraBytes, std::vector<uint8_t>{0}) << "no extra bytes read: the default stays";
  EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(CommonEventTest, AnUnknownFormatOrEndByteIsReportedAndTheRecordKept) {
  for (const CommonEventRecordOptions record : {CommonEventRecordOptions{0x90, 0x8F}, CommonEventRecordOptions{0x8F, 0x00}}) {
    messageBoxes.clear();
    CommonEventDatOptions options;
    options.record = record;
    CommonEventList list;
    ASSERT_TRUE(ReadDat(list, WriteCommonEventDat(SampleEvents(), options)));
    EXPECT_EQ(std::vector<CommonEvent>(list.events.begin(), list.events.end()), Loaded(SampleEvents()));
    ASSERT_EQ(messageBoxes.size(), 3u);
    ExpectVersionMessage(messageBoxes[0]);
  }
}

TEST_F(CommonEventTest, AMissingFileOrAWrongFramingByteIsReported) {
  CommonEventList list;
  EXPECT_FALSE(list.LoadCommonEvents("BasicData\\CommonEvent.dat"));
  ASSERT_EQ(messageBoxes.size(), 1u);
  ExpectUnreadableMessage(messageBoxes[0]);

  CommonEventDatOptions opening;
  opening.openingByte = 0x8E;
  EXPECT_FALSE(ReadDat(list, WriteCommonEventDat(SampleEvents(), opening)));
  EXPECT_EQ(list, CommonEventList{}) << "nothing was read";

  CommonEventDatOptions closing;
  closing.closingByte = 0x00;
  EXPECT_FALSE(ReadDat(list, WriteCommonEventDat(SampleEvents(), closing)));
  EXPECT_EQ(std::vector<CommonEvent>(list.events.begin(), list.events.end()), Loaded(SampleEvents()))
      << "the events read stay";
  ASSERT_EQ(messageBoxes.size(), 3u);
  ExpectUnreadableMessage(messageBoxes[1]);
  ExpectUnreadableMessage(messageBoxes[2]);
  EXPECT_TRUE(exitCodes.empty());
}

TEST_F(CommonEventTest, AChecksumMismatchEndsTheProcess) {
  std::string bytes = WriteCommonEventDat(SampleEvents());
  bytes[10 + 1 + 4 + 1 + 4 + 1] ^= 0x01;  // the first event's condition variable
  CommonEventList list;
  EXPECT_THROW(ReadDat(list, bytes), ProcessExited);
  EXPECT_EQ(exitCodes, std::vector<int>{1});
  ASSERT_EQ(errorScreenLines.size(), 3u);
  EXPECT_EQ(errorScreenLines[0],
            "ファイル Data\\BasicData\\CommonEvent.dat が改竄されたか、破損している可能性があります。\nロードを中止します。");
}

TEST_F(CommonEventTest, DamagedFilesFailCleanly) {
  const std::string valid = WriteCommonEventDat(SampleEvents(), {{0, 0, 0}, 0x8F, 0x8F, {}});
  for (size_t n = 0; n < valid.size(); ++n) {
    CommonEventList list;
    ASSERT_FALSE(ReadDat(list, valid.substr(0, n))) << n;
  }
  const size_t count = 11;
  const size_t name = count + 4 + 1 + 4 + 1 + 4 + 4 + 2;
  const size_t commands = name + 4 + 9;  // "戦闘開始" is 8 bytes in Shift-JIS
  ASSERT_EQ(valid[commands], 2);
  const struct {
    size_t offset;
    int32_t value;
  } edits[] = {{count, -1}, {count, 1 << 28}, {name, -1}, {name, 513}, {commands, -2}, {commands, 1 << 26}};
  for (const auto& edit : edits) {
    std::string bytes = valid;
    PatchI32(bytes, edit.offset, edit.value);
    CommonEventList list;
    EXPECT_FALSE(ReadDat(list, bytes)) << edit.offset;
    EXPECT_EQ(list.events[0], CommonEvent{}) << "a record is taken only when read whole";
  }
  EXPECT_TRUE(exitCodes.empty());

  // A name of exactly 512 bytes with its NUL fits the reader.
  std::vector<CommonEvent> longName = SampleEvents();
  longName[1].name.assign(511, 'n');
  CommonEventList list;
  EXPECT_TRUE(ReadDat(list, WriteCommonEventDat(longName)));
  longName[1].name.push_back('n');
  EXPECT_FALSE(ReadDat(list, WriteCommonEventDat(longName)));
}

TEST_F(CommonEventTest, ADamagedRecordLeavesTheListAsLongAsTheFileStated) {
  const std::vector<CommonEvent> events = SampleEvents();
  const CommonEventDatOptions plain{{0, 0, 0}, 0x8F, 0x8F, {}};
  const std::string valid = WriteCommonEventDat(events, plain);
  // The third record starts where the closing byte of a two-record file lies.
  const size_t third = WriteCommonEventDat({events[0], events[1]}, plain).size() - 1;
  const std::vector<CommonEvent> loaded = Loaded(events);
  for (int32_t held : {1, 10}) {
    CommonEventList list;
    list.Resize(held);
    EXPECT_FALSE(ReadDat(list, valid.substr(0, third + 6))) << held;
    ASSERT_EQ(list.Count(), 3) << held;
    EXPECT_EQ(list.events[0], loaded[0]);
    EXPECT_EQ(list.events[1], loaded[1]);
    EXPECT_EQ(list.events[2], Numbered(2));
  }
}

TEST_F(CommonEventTest, ACommonFileAppendsBeyondTheListOrOverwritesWithin) {
  std::vector<CommonEvent> two = {Named("A"), Named("B")};
  two[1].commands = {Command({150, 3})};
  const std::string file = WriteCommonEventFile(two);

  CommonEventList list;
  list.Resize(30);
  list.events[12].name = "old";
  CommonEventList overwritten = list;
  EXPECT_EQ(ReadCommon(list, file, 40), 2);
  ASSERT_EQ(list.Count(), 42);
  for (int32_t i = 30; i < 40; ++i) EXPECT_EQ(list.events[static_cast<size_t>(i)], Numbered(i));
  EXPECT_EQ(list.events[40].name, "A");
  EXPECT_EQ(list.events[41].number, 41);
  EXPECT_EQ(Values(list.events[41].commands[0].arguments), (std::vector<int32_t>{-1, 3}));

  EXPECT_EQ(ReadCommon(overwritten, file, 10), 2);
  ASSERT_EQ(overwritten.Count(), 30);
  EXPECT_EQ(overwritten.events[10].name, "A");
  EXPECT_EQ(overwritten.events[11].name, "B");
  EXPECT_EQ(overwritten.events[11].number, 11);
  EXPECT_EQ(overwritten.events[12].name, "old");

  CommonEventList sizedOnly;
  EXPECT_EQ(ReadCommon(sizedOnly, file, 10, false), 2);
  EXPECT_EQ(sizedOnly.Count(), 12);
  EXPECT_EQ(sizedOnly.events[10], Numbered(10));
  EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(CommonEventTest, ACommonFileThatCannotBeReadLeavesTheListUnchanged) {
  const std::string file = WriteCommonEventFile({Named("A"), Named("B")});
  std::string wrongMagic = file;
  wrongMagic[0] ^= 1;
  CommonEventList list;
  EXPECT_EQ(list.ReadCommonEventFile(dir_.File("none.common"), 10, true), -1);
  EXPECT_EQ(ReadCommon(list, wrongMagic, 10), -1);
  for (size_t n = 0; n < file.size(); ++n) {
    ASSERT_EQ(ReadCommon(list, file.substr(0, n), 10), -1) << n;
    ASSERT_EQ(ReadCommon(list, file.substr(0, n), 0), -1) << "over held events, " << n;
  }
  EXPECT_EQ(ReadCommon(list, file, -1), -1);
  EXPECT_EQ(list, CommonEventList{});

  dir_.Write("Event.common", file);
  EXPECT_EQ(list.ReadCommonEventFile(dir_.File("Event.common"), list.Count(), true), 2);
  EXPECT_EQ(list.events[11].name, "B");
}

TEST_F(CommonEventTest, TheReadersGrowTheListNoFurtherThanItsLimit) {
  const std::string file = WriteCommonEventFile({Named("A"), Named("B")});
  CommonEventList list;
  EXPECT_EQ(ReadCommon(list, file, CommonEventList::kMaxCount - 1), -1);
  EXPECT_EQ(ReadCommon(list, file, INT32_MAX - 1), -1);
  EXPECT_EQ(list, CommonEventList{});
  EXPECT_EQ(ReadCommon(list, file, CommonEventList::kMaxCount - 2, false), 2);
  EXPECT_EQ(list.Count(), CommonEventList::kMaxCount);
  EXPECT_EQ(ReadCommon(list, file, CommonEventList::kMaxCount - 2), 2) << "held entries may still be read over";
  EXPECT_EQ(list.events.back().name, "B");

  std::string many = WriteCommonEventDat({Named("A")}, {{0, 0, 0}, 0x8F, 0x8F, {}});
  PatchI32(many, 11, CommonEventList::kMaxCount + 1);
  many.resize(11 + 4 + size_t{CommonEvent::kSmallestRecordBytes} * (CommonEventList::kMaxCount + 1), '\0');
  CommonEventList fromDat;
  EXPECT_FALSE(ReadDat(fromDat, many));
  EXPECT_EQ(fromDat, CommonEventList{});
  EXPECT_TRUE(exitCodes.empty());
}

TEST_F(CommonEventTest, CommandListsStayInPlaceWhileTheListGrows) {
  CommonEventList list;
  const int32_t* firstCommand = list.events[9].commands[0].arguments.data();
  const CommonEvent* ninth = &list.events[9];
  std::vector<CommonEvent> many(200, Named("x"));
  EXPECT_EQ(ReadCommon(list, WriteCommonEventFile(many), list.Count()), 200);
  EXPECT_EQ(list.Count(), 210);
  EXPECT_EQ(&list.events[9], ninth);
  EXPECT_EQ(list.events[9].commands[0].arguments.data(), firstCommand);
}

TEST_F(CommonEventTest, TheNameMapGivesTheLowestNumberOfARepeatedName) {
  CommonEventList list;
  list.events[4].name = "A";
  list.events[5].name = "";
  list.events[9].name = "A";
  list.nameMap = {{"stale", 1}};
  list.RebuildNameMap();
  EXPECT_EQ(list.nameMap, (std::map<std::string, int32_t>{{"A", 4}}));
}

}  // namespace
