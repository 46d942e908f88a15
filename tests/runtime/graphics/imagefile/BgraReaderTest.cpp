#include "runtime/graphics/imagefile/ImageReaders.h"
#include "tests/runtime/graphics/imagefile/ImageReadTesting.h"
#include "tests/support/BgraFileWriter.h"
#include "tests/support/ByteWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(BgraReader, EightBitChannelsAreTakenAsStored) {
  ReadResult r(ReadBgraImage, BgraFile(kBgraEightBit, 2, 1, "\x01\x02\x03\x04\x05\x06\x07\x08"));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.image().pitch, 8);
  EXPECT_EQ(r.image().format.alphaMask, 0xFF000000u);
  EXPECT_EQ(r.Bytes(1, 0), (Bytes{5, 6, 7, 8}));
}

TEST(BgraReader, SixteenBitChannelsKeepTheirHighByte) {
  ByteWriter pixels;
  pixels.U16(0x1234).U16(0xFF00).U16(0x00FF).U16(0xABCD);
  ReadResult r(ReadBgraImage, BgraFile(kBgraSixteenBit, 1, 1, pixels.Bytes()));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.Bytes(0, 0), (Bytes{0x12, 0xFF, 0x00, 0xAB}));
}

TEST(BgraReader, RefusesBadHeadersSizesAndShortData) {
  const std::string eight(8, '\x11');
  EXPECT_FALSE(ReadResult(ReadBgraImage, BgraFile(0x08080800, 2, 1, eight)).ok());
  EXPECT_FALSE(ReadResult(ReadBgraImage, "ARGB" + BgraFile(kBgraEightBit, 2, 1, eight).substr(4)).ok());
  EXPECT_FALSE(ReadResult(ReadBgraImage, BgraFile(kBgraEightBit, 2, 1, eight.substr(1))).ok());
  EXPECT_FALSE(ReadResult(ReadBgraImage, BgraFile(kBgraSixteenBit, 1, 1, eight.substr(1))).ok());
  // width x height x 4 wraps 32 bits to 4 bytes: refused, never a small buffer and a big read.
  EXPECT_FALSE(ReadResult(ReadBgraImage, BgraFile(kBgraEightBit, 0x40000001, 4, eight)).ok());
  EXPECT_FALSE(ReadResult(ReadBgraImage, BgraFile(kBgraEightBit, 0x80000001, 2, eight)).ok());
  EXPECT_FALSE(ReadResult(ReadBgraImage, BgraFile(kBgraEightBit, 0, 1, eight)).ok());
  EXPECT_FALSE(ReadResult(ReadBgraImage, BgraFile(kBgraEightBit, 8192, 8193, eight)).ok());
}

}  // namespace
