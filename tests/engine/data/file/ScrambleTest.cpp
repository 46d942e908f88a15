#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "engine/data/file/CRuntimeRandom.h"
#include "engine/data/file/DataFileScramble.h"
#include "tests/engine/data/DataTestHooks.h"

namespace {

using Bytes = std::vector<uint8_t>;

// One rand call per touched byte, straight from the generator's definition;
// every pass up to the count runs, whatever its seed.
Bytes ReferencePasses(Bytes bytes, int seedCount, const uint8_t* seeds, uint32_t* finalState = nullptr) {
  const size_t strides[3] = {1, 2, 5};
  uint32_t state = 0;
  for (int k = 0; k < seedCount; ++k) {
    state = seeds[k];
    for (size_t i = 0; i < bytes.size(); i += strides[k]) {
      state = state * 214013u + 2531011u;
      const int value = static_cast<int>((state >> 16) & 0x7FFF);
      bytes[i] ^= static_cast<uint8_t>((value & 0xFF000) >> 12);
    }
  }
  if (finalState) *finalState = state;
  return bytes;
}

Bytes Scrambled(Bytes bytes, int seedCount, const uint8_t* seeds) {
  uint8_t check = 0;
  DataFileScramble("test", bytes.data(), bytes.size(), seedCount, seeds, kScrambleOnly, check);
  return bytes;
}

Bytes Pattern(size_t n) {
  Bytes bytes;
  for (size_t i = 0; i < n; ++i) bytes.push_back(static_cast<uint8_t>(i * 131 + 7));
  return bytes;
}

TEST(CRuntimeRandomTest, ReproducesTheLibrarySequence) {
  const std::pair<uint32_t, std::vector<int>> cases[] = {
      {1, {41, 18467, 6334, 26500, 19169}},
      {7, {61, 17422, 15215, 7040, 15521}},
  };
  for (const auto& [seed, expected] : cases) {
    CRuntimeSrand(seed);
    for (int value : expected) EXPECT_EQ(CRuntimeRand(), value) << "seed " << seed;
  }
  CRuntimeSrand(0xFFFFFFFFu);
  EXPECT_EQ(CRuntimeRand(), static_cast<int>(((0xFFFFFFFFu * 214013u + 2531011u) >> 16) & 0x7FFF));
}

TEST(CRuntimeRandomTest, JumpsAgreeWithSingleSteps) {
  uint32_t state = 12345;
  for (uint32_t n = 0; n < 70; ++n) {
    EXPECT_EQ(CRuntimeRandomSteps(n).Apply(12345), state) << n;
    state = state * 214013u + 2531011u;
  }
}

TEST(DataFileScrambleTest, FirstSeedStreamGivesTheKnownXorValues) {
  const uint8_t seeds[3] = {1, 0, 0};
  EXPECT_EQ(Scrambled(Bytes(5, 0), 1, seeds), (Bytes{0, 4, 1, 6, 4}));
}

TEST(DataFileScrambleTest, ZeroSeedsBeforeALaterSeedStillRunTheirPasses) {
  const uint8_t seeds[3] = {0, 0, 7};
  const Bytes out = Scrambled(Bytes(21, 0), 3, seeds);
  EXPECT_EQ(out, ReferencePasses(Bytes(21, 0), 3, seeds));
  // What the third pass adds at every fifth byte: the srand(7) stream.
  const Bytes firstTwo = ReferencePasses(Bytes(21, 0), 2, seeds);
  const uint8_t expected[5] = {0, 4, 3, 1, 3};
  for (int j = 0; j < 5; ++j) EXPECT_EQ(out[j * 5] ^ firstTwo[j * 5], expected[j]) << j;
}

TEST(DataFileScrambleTest, MatchesOneRandCallPerByteAndLeavesTheGeneratorThere) {
  const uint8_t seedSets[][3] = {{1, 2, 3}, {0xFF, 0x80, 0x01}, {9, 0, 0}, {0, 0, 200}};
  for (const auto& seeds : seedSets) {
    for (int seedCount = 1; seedCount <= 3; ++seedCount) {
      for (size_t n : {0, 1, 2, 4, 5, 7, 8, 9, 15, 16, 17, 39, 40, 41, 80, 81, 333}) {
        uint32_t expectedState = 0;
        const Bytes expected = ReferencePasses(Pattern(n), seedCount, seeds, &expectedState);
        const bool skipped = std::all_of(seeds, seeds + seedCount, [](uint8_t s) { return s == 0; });
        CRuntimeSrand(77);
        ASSERT_EQ(Scrambled(Pattern(n), seedCount, seeds), skipped ? Pattern(n) : expected)
            << "n " << n << " count " << seedCount;
        if (!skipped) {
          EXPECT_EQ(CRuntimeRandomState(), expectedState) << "n " << n;
        }
      }
    }
  }
}

TEST(DataFileScrambleTest, ScramblingTwiceRestoresEveryShortRange) {
  const uint8_t seeds[3] = {0x3C, 0xA1, 0x07};
  for (size_t n = 0; n <= 12; ++n) {
    const Bytes once = Scrambled(Pattern(n), 3, seeds);
    if (n >= 2) {
      EXPECT_NE(once, Pattern(n)) << n;
    }
    EXPECT_EQ(Scrambled(once, 3, seeds), Pattern(n)) << n;
  }
}

TEST(DataFileScrambleTest, AllZeroSeedsLeaveTheBytesPlain) {
  const uint8_t seeds[3] = {0, 0, 0};
  EXPECT_EQ(Scrambled(Pattern(30), 3, seeds), Pattern(30));
}

class DataFileChecksumTest : public DataTestHooks {};

TEST_F(DataFileChecksumTest, MakesTheChecksumOfThePlainBytesAndTestsItAfterUnscrambling) {
  const uint8_t seeds[3] = {5, 6, 7};
  Bytes bytes{200, 50, 6};  // adds up to 256
  uint8_t check = 99;
  DataFileScramble("a.dat", bytes.data(), bytes.size(), 3, seeds, kScrambleMakeChecksum, check);
  EXPECT_EQ(check, 0);
  EXPECT_EQ(bytes, Scrambled(Bytes{200, 50, 6}, 3, seeds));

  DataFileScramble("a.dat", bytes.data(), bytes.size(), 3, seeds, kScrambleTestChecksum, check);
  EXPECT_EQ(bytes, (Bytes{200, 50, 6}));
  DataFileScramble("a.dat", bytes.data(), bytes.size(), 0, seeds, kScrambleTestChecksum, check);
  EXPECT_TRUE(errorScreenLines.empty());
  EXPECT_TRUE(exitCodes.empty());

  Bytes empty;
  check = 42;
  DataFileScramble("a.dat", empty.data(), 0, 3, seeds, kScrambleMakeChecksum, check);
  EXPECT_EQ(check, 0);
}

TEST_F(DataFileChecksumTest, AMismatchShowsTheDamageMessageAndExitsWithOne) {
  Bytes bytes{1, 2, 3};
  uint8_t check = 7;
  const uint8_t seeds[3] = {1, 2, 3};
  EXPECT_THROW(DataFileScramble("Data\\BasicData\\x.dat", bytes.data(), bytes.size(), 0, seeds, kScrambleTestChecksum,
                                check),
               ProcessExited);
  EXPECT_EQ(exitCodes, std::vector<int>{1});
  EXPECT_EQ(errorScreenLines,
            (std::vector<std::string>{
                "ファイル Data\\BasicData\\x.dat が改竄されたか、破損している可能性があります。\nロードを中止します。", "",
                ""}));

  // All-zero seeds skip the test altogether.
  const uint8_t zero[3] = {0, 0, 0};
  DataFileScramble("x", bytes.data(), bytes.size(), 3, zero, kScrambleTestChecksum, check);
  EXPECT_EQ(exitCodes.size(), 1u);
}

}  // namespace
