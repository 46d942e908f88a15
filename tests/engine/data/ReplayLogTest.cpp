#include "engine/data/ReplayLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "engine/services/EngineRandom.h"
#include "engine/services/ErrorScreen.h"
#include "tests/engine/data/DataTestHooks.h"
#include "tests/support/ByteWriter.h"

namespace {

using Entries = std::vector<std::pair<int, int32_t>>;

Entries EntriesOf(const ReplayLog& log) {
  Entries entries;
  for (size_t i = 0; i < log.codes.size(); ++i) entries.emplace_back(log.codes[i], log.values[i]);
  return entries;
}

ReplayLog LogOf(const Entries& entries) {
  ReplayLog log = ReplayLog::Blank();
  for (const auto& [code, value] : entries) {
    log.codes.push_back(static_cast<uint8_t>(code));
    log.values.push_back(value);
  }
  return log;
}

ReplayLog::Frame FrameOf(uint8_t input) {
  ReplayLog::Frame frame{};
  for (size_t k = 0; k < frame.size(); ++k) frame[k] = (input >> k) & 1;
  return frame;
}

std::vector<uint8_t> BytesOf(const ByteWriter& writer) {
  return std::vector<uint8_t>(writer.Bytes().begin(), writer.Bytes().end());
}

uint8_t InputOf(const ReplayLog::Frame& frame) {
  uint8_t input = 0;
  for (size_t k = 0; k < frame.size(); ++k) input = static_cast<uint8_t>(input | (frame[k] << k));
  return input;
}

class ReplayLogTest : public DataTestHooks {
 protected:
  void SetUp() override {
    DataTestHooks::SetUp();
    EngineRandom(kRandomSet, 777);
    ReplayEnded = false;
  }
  void TearDown() override {
    ReplayEnded = false;
    DataTestHooks::TearDown();
  }

  // Plays n frames, the input bytes they gave.
  static std::vector<int> Play(ReplayLog& log, int n) {
    std::vector<int> inputs;
    for (int i = 0; i < n; ++i) {
      ReplayLog::Frame frame;
      frame.fill(1);
      log.PlayNext(frame);
      inputs.push_back(InputOf(frame));
    }
    return inputs;
  }
};

TEST_F(ReplayLogTest, ANewLogHoldsOneSeedRecordOfTheUnsteppedState) {
  const ReplayLog log;
  EXPECT_EQ(EntriesOf(log), (Entries{{250, 777}}));
  EXPECT_EQ(log.runLength, 0);
  EXPECT_EQ(EngineRandom(kRandomRead), 777u) << "reading the seed does not step it";
  uint32_t seed = 0;
  EXPECT_TRUE(log.FirstSeed(seed));
  EXPECT_EQ(seed, 777u);
  EXPECT_FALSE(ReplayLog::Blank().FirstSeed(seed));
}

TEST_F(ReplayLogTest, RecordingCountsRunsOfAtMost240Frames) {
  struct Case {
    std::vector<std::pair<uint8_t, int>> frames;  // input, how many frames
    Entries appended;                             // after the seed record
    int pendingInput;
    int pendingRun;
  };
  const Case cases[] = {
      {{{0x21, 500}, {0x04, 1}}, {{240, 0x21}, {240, 0x21}, {20, 0x21}}, 0x04, 1},
      {{{0x00, 3}}, {}, 0x00, 3},  // the first run may be of the start byte 0
      {{{0x01, 240}}, {{240, 0x01}}, 0x01, 0},
      {{{0x01, 1}, {0x02, 1}, {0x01, 1}, {0xFF, 1}}, {{1, 0x01}, {1, 0x02}, {1, 0x01}}, 0xFF, 1},
  };
  for (const Case& c : cases) {
    ReplayLog log;
    for (const auto& [input, count] : c.frames) {
      for (int i = 0; i < count; ++i) log.Record(FrameOf(input));
    }
    Entries expected{{250, 777}};
    expected.insert(expected.end(), c.appended.begin(), c.appended.end());
    EXPECT_EQ(EntriesOf(log), expected) << c.frames.size();
    EXPECT_EQ(log.currentInput, c.pendingInput);
    EXPECT_EQ(log.runLength, c.pendingRun);
  }

  // A seed record closes the pending run first.
  ReplayLog log;
  log.Record(FrameOf(0x10));
  log.Record(FrameOf(0x10));
  log.AddSeedRecord(99);
  EXPECT_EQ(EntriesOf(log), (Entries{{250, 777}, {2, 0x10}, {250, 99}}));
  EXPECT_EQ(log.runLength, 0);
}

TEST_F(ReplayLogTest, PlaybackGivesEachRunFrameByFrameOnce) {
  ReplayLog log = LogOf({{250, 777}, {3, 5}, {0, 9}, {1, 0x80}, {7, 6}});
  EXPECT_EQ(Play(log, 5), (std::vector<int>{5, 5, 5, 0x80, 6}));
  EXPECT_EQ(log.framesPlayed, 5);
  EXPECT_EQ(EntriesOf(log), (Entries{{250, 777}, {0, 5}, {0, 9}, {0, 0x80}, {6, 6}})) << "runs count down in place";
  EXPECT_EQ(log.readPosition, 4);
  EXPECT_TRUE(errorScreenLines.empty());
  EXPECT_FALSE(ReplayEnded);

  // What was recorded plays back the same.
  ReplayLog recorded;
  const uint8_t inputs[] = {1, 1, 2, 0, 0, 0, 0x40, 0x40};
  for (uint8_t input : inputs) recorded.Record(FrameOf(input));
  recorded.FlushRun();
  const std::vector<int> played = Play(recorded, 8);
  EXPECT_EQ(played, std::vector<int>(std::begin(inputs), std::end(inputs)));
  EXPECT_FALSE(ReplayEnded);
}

TEST_F(ReplayLogTest, TheEndIsFlaggedBeforeItsOneScreen) {
  ReplayLog log = LogOf({{250, 777}, {1, 3}});
  static bool endedWhenShown;
  endedWhenShown = false;
  SetErrorScreenHandler([](const std::string& a, const std::string& b, const std::string& c) {
    endedWhenShown = ReplayEnded;
    errorScreenLines.insert(errorScreenLines.end(), {a, b, c});
  });
  EXPECT_EQ(Play(log, 2), (std::vector<int>{3, 0})) << "the end gives no input";
  EXPECT_EQ(errorScreenLines, (std::vector<std::string>{"リプレイデータが終了しました", "", ""}));
  EXPECT_TRUE(endedWhenShown) << "the screen's own input update must find the replay over";
  EXPECT_TRUE(ReplayEnded);
  EXPECT_EQ(log.framesPlayed, 2) << "the frame that reports the end counts";
}

TEST_F(ReplayLogTest, SeedChecksFromPositionTenOn) {
  // Seed checks at positions 1 and 10 (wrong), 11 (right); runs between.
  Entries entries{{250, 777}, {251, 1}};
  for (int i = 0; i < 8; ++i) entries.push_back({0, 0});
  entries.push_back({251, 12345});
  entries.push_back({251, 777});
  entries.push_back({2, 4});
  ReplayLog log = LogOf(entries);
  static int positionWhenShown;
  positionWhenShown = -1;
  static ReplayLog* playing;
  playing = &log;
  SetErrorScreenHandler([](const std::string& a, const std::string& b, const std::string& c) {
    positionWhenShown = playing->readPosition;
    errorScreenLines.insert(errorScreenLines.end(), {a, b, c});
  });
  EXPECT_EQ(Play(log, 2), (std::vector<int>{4, 4}));
  EXPECT_EQ(errorScreenLines, (std::vector<std::string>{"乱数シードが違います 保存=12345 現在=777", "", ""}))
      << "position 1 is not compared, 11 agrees";
  EXPECT_EQ(positionWhenShown, 11) << "past the failed check before its screen";
  EXPECT_FALSE(ReplayEnded);

  // The state prints as a signed number, like the saved value.
  errorScreenLines.clear();
  EngineRandom(kRandomSet, 0xFFFFFFFFu);
  ReplayLog negative = LogOf(entries);
  Play(negative, 1);
  ASSERT_FALSE(errorScreenLines.empty());
  EXPECT_EQ(errorScreenLines[0], "乱数シードが違います 保存=12345 現在=-1");
}

TEST_F(ReplayLogTest, ReadsTheSaveSection) {
  ByteWriter section;
  section.U8(1).I32(3).U8(250).I32(-5).U8(3).U8(0x81).U8(251).I32(70000);
  ReplayLog log = LogOf({{1, 1}});
  log.readPosition = 1;
  SaveBuffer in(BytesOf(section));
  ASSERT_TRUE(log.Read(in));
  EXPECT_EQ(in.Position(), in.Size());
  EXPECT_EQ(EntriesOf(log), (Entries{{250, -5}, {3, 0x81}, {251, 70000}}));
  EXPECT_EQ(log.readPosition, 1) << "the section carries entries only";

  // A flag other than 1 reads nothing more and leaves the log as it is.
  for (uint8_t flag : {0, 2}) {
    ReplayLog kept;
    SaveBuffer flagOnly(std::vector<uint8_t>{flag, 0xFF});
    ASSERT_TRUE(kept.Read(flagOnly));
    EXPECT_EQ(flagOnly.Position(), 1);
    EXPECT_EQ(EntriesOf(kept), (Entries{{250, 777}}));
  }
}

TEST_F(ReplayLogTest, DamagedSectionsFailAndChangeNothing) {
  ByteWriter whole;
  whole.U8(1).I32(3).U8(250).I32(-5).U8(3).U8(0x81).U8(251).I32(70000);
  std::vector<std::vector<uint8_t>> damaged;
  for (size_t cut = 0; cut < whole.Bytes().size(); ++cut) {
    damaged.emplace_back(whole.Bytes().begin(), whole.Bytes().begin() + static_cast<long>(cut));
  }
  // Counts that the bytes left cannot pay for, at two bytes an entry.
  damaged.push_back(BytesOf(ByteWriter().U8(1).I32(3).U8(3).U8(1).U8(3).U8(1).U8(3)));
  damaged.push_back(BytesOf(ByteWriter().U8(1).I32(INT32_MAX).U8(3).U8(1)));
  damaged.push_back(BytesOf(ByteWriter().U8(1).I32(-1).U8(3).U8(1)));
  for (const std::vector<uint8_t>& bytes : damaged) {
    ReplayLog log;
    const ReplayLog before = log;
    SaveBuffer in(bytes);
    EXPECT_FALSE(log.Read(in)) << bytes.size();
    EXPECT_TRUE(in.Overrun());
    EXPECT_EQ(log, before);
  }
}

TEST_F(ReplayLogTest, WrittenSectionsReadBackWithThePendingRun) {
  ReplayLog log;
  for (int i = 0; i < 300; ++i) log.Record(FrameOf(i < 250 ? 0x11 : 0x22));
  const ReplayLog before = log;
  SaveBuffer out;
  ASSERT_TRUE(log.Write(out));
  EXPECT_EQ(log, before) << "writing leaves the pending run pending";

  ReplayLog read = ReplayLog::Blank();
  SaveBuffer in(std::vector<uint8_t>(out.Data(), out.Data() + out.Size()));
  ASSERT_TRUE(read.Read(in));
  EXPECT_EQ(EntriesOf(read), (Entries{{250, 777}, {240, 0x11}, {10, 0x11}, {50, 0x22}}));
  std::vector<int> played = Play(read, 300);
  EXPECT_EQ(std::count(played.begin(), played.end(), 0x11), 250);
  EXPECT_EQ(std::count(played.begin(), played.end(), 0x22), 50);
  EXPECT_FALSE(ReplayEnded);
}

}  // namespace
