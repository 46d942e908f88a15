#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "runtime/platform/archive/ArchiveDecompress.h"
#include "runtime/platform/archive/ArchiveKey.h"
#include "runtime/platform/archive/ArchivePath.h"
#include "tests/support/ArchiveWriter.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TestDirectory.h"

namespace {

// A code stream with its head: escape byte E, the given code bytes.
std::string Code(uint32_t outSize, uint8_t escape, const std::string& body) {
  std::string code(9, '\0');
  const uint32_t packed = static_cast<uint32_t>(9 + body.size());
  std::memcpy(code.data(), &outSize, 4);
  std::memcpy(code.data() + 4, &packed, 4);
  code[8] = static_cast<char>(escape);
  return code + body;
}

int64_t Decode(const std::string& code, std::string* out, size_t capacity = 64) {
  out->assign(capacity, '?');
  const int64_t n = DecompressArchiveData(reinterpret_cast<const uint8_t*>(code.data()), code.size(),
                                          reinterpret_cast<uint8_t*>(out->data()), out->size());
  if (n >= 0) out->resize(static_cast<size_t>(n));
  return n;
}

int64_t Check(const std::string& code) {
  return CheckArchiveCode(reinterpret_cast<const uint8_t*>(code.data()), code.size());
}

TEST(ArchiveCodeTest, DecodesLiteralsEscapesAndMatches) {
  struct Case {
    const char* what;
    std::string code;
    std::string expected;
  } cases[] = {
      // Distance 1, length 10: the last byte ten times. Code (6 << 3) | 0 = 0x30.
      {"run", Code(11, 0xFF, std::string("a\xFF\x30\x00", 4)), std::string(11, 'a')},
      {"escaped escape", Code(3, 0x41, "x\x41\x41y"), "xAy"},
      // A code byte from E up is stored one higher: 0x20 (length 8) as 0x21 with E = 0x20.
      {"code above escape", Code(10, 0x20, std::string("ab\x20\x21\x01", 5)), "ababababab"},
      // Bit 2: the next byte adds 32 per unit to the length (4 + 0 + 32 = 36).
      {"long match", Code(37, 0xFF, std::string("z\xFF\x04\x01\x00", 5)), std::string(37, 'z')},
      // Two-byte and three-byte distances.
      {"uint16 distance", Code(8, 0xFF, std::string("abcd\xFF\x01\x03\x00", 8)), "abcdabcd"},
      {"three-byte distance", Code(8, 0xFF, std::string("abcd\xFF\x02\x03\x00\x00", 9)), "abcdabcd"},
      {"overlap", Code(7, 0xFF, std::string("xy\xFF\x08\x01", 5)), "xyxyxyx"},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(Decode(c.code, &out), static_cast<int64_t>(c.expected.size())) << c.what;
    EXPECT_EQ(out, c.expected) << c.what;
    EXPECT_EQ(Check(c.code), static_cast<int64_t>(c.expected.size())) << c.what;
  }
}

TEST(ArchiveCodeTest, RefusesDamagedCode) {
  struct Case {
    const char* what;
    std::string code;
    size_t capacity;
  } cases[] = {
      {"distance before the start", Code(11, 0xFF, std::string("a\xFF\x30\x01", 4)), 64},
      {"match past the stated size", Code(5, 0xFF, std::string("a\xFF\x30\x00", 4)), 64},
      {"literal past the stated size", Code(2, 0xFF, "abc"), 64},
      {"stated size past the buffer", Code(11, 0xFF, std::string("a\xFF\x30\x00", 4)), 10},
      {"cut after the escape", Code(2, 0xFF, "a\xFF"), 64},
      {"cut in the distance", Code(8, 0xFF, std::string("abcd\xFF\x01\x03", 7)), 64},
      {"distance size 3", Code(8, 0xFF, std::string("abcd\xFF\x03\x03\x00\x00\x00", 10)), 64},
      {"short output", Code(9, 0xFF, "abc"), 64},
      {"no head", std::string("\x01\x00\x00", 3), 64},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(Decode(c.code, &out, c.capacity), -1) << c.what;
    // The check alone knows no buffer, so only a buffer too small passes it.
    if (c.capacity == 64) {
      EXPECT_EQ(Check(c.code), -1) << c.what;
    }
  }
  // A packed size beyond the bytes there are.
  std::string code = Code(3, 0xFF, "abc");
  code[4] = 20;
  std::string out;
  EXPECT_EQ(Decode(code, &out), -1);
}

TEST(ArchiveCodeTest, WriterCodeRoundTrips) {
  std::mt19937 random(3);
  std::vector<std::string> inputs = {"", "a", std::string(100000, 'q')};
  std::string text;
  while (text.size() < 300000) text += "event " + std::to_string(random() % 500) + " \xFF\x81\x40;";
  inputs.push_back(text);
  std::string noise(70000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  inputs.push_back(noise + noise);  // a match 70000 back: a three-byte distance
  for (const std::string& input : inputs) {
    const std::string code = CompressArchiveData(input);
    std::string out(input.size(), '\0');
    ASSERT_EQ(DecompressArchiveData(reinterpret_cast<const uint8_t*>(code.data()), code.size(),
                                    reinterpret_cast<uint8_t*>(out.data()), out.size()),
              static_cast<int64_t>(input.size()));
    EXPECT_TRUE(out == input);
    if (input.size() > 1000) {
      EXPECT_LT(code.size(), input.size() * 3 / 4);
    }
  }
}

TEST(ArchiveCodeTest, KeyRepeatsTheStringAndXorFollowsTheFileOffset) {
  uint8_t a[kArchiveKeySize], b[kArchiveKeySize], c[kArchiveKeySize], d[kArchiveKeySize];
  BuildArchiveKey("abc", a);
  BuildArchiveKey("abcabcabcabc", b);
  BuildArchiveKey("abcabcabcabcXYZ", c);
  EXPECT_EQ(std::memcmp(a, b, kArchiveKeySize), 0);
  EXPECT_EQ(std::memcmp(a, c, kArchiveKeySize), 0);
  BuildArchiveKey(nullptr, c);
  BuildArchiveKey("", d);
  EXPECT_EQ(std::memcmp(c, d, kArchiveKeySize), 0);
  EXPECT_NE(std::memcmp(a, c, kArchiveKeySize), 0);

  std::vector<uint8_t> data(300);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  for (const uint64_t offset : {0ull, 5ull, 11ull, 12ull, 1000003ull}) {
    for (const size_t length : {size_t{0}, size_t{1}, size_t{47}, size_t{48}, size_t{300}}) {
      std::vector<uint8_t> fast(data.begin(), data.begin() + static_cast<long>(length));
      XorArchiveData(length, fast.data(), offset, a);
      for (size_t i = 0; i < length; ++i) {
        ASSERT_EQ(fast[i], data[i] ^ a[(offset + i) % 12]) << offset << " " << length << " " << i;
      }
    }
  }
}

TEST(ArchiveCodeTest, NormalisesPaths) {
  TestDirectory dir;
  ScopedCurrentDirectory cwd(dir.Path());
  std::string here = dir.Path();
  for (char& c : here) {
    if (c == '/') c = '\\';
  }
  struct Case {
    const char* in;
    std::string out;
  } cases[] = {
      {"Data\\BasicData\\Game.dat", here + "\\Data\\BasicData\\Game.dat"},
      {"Data/./x//y\\", here + "\\Data\\x\\y"},
      {"Data\\..\\..\\z", here.substr(0, here.rfind('\\')) + "\\z"},
      {"\\a\\b", "\\a\\b"},
      {"//a/../../b", "\\b"},
      {"C:\\Games\\X", "\\Games\\X"},
      {"\\", "\\"},
      {"\x95\x5C\\\x83\x5C", here + "\\\x95\x5C\\\x83\x5C"},  // 0x5C trail bytes stay
      {"\\\x95\x5C\\..", "\\"},
  };
  for (const Case& c : cases) {
    char out[1024];
    ASSERT_TRUE(NormalizeArchivePath(c.in, out, sizeof out)) << c.in;
    EXPECT_EQ(std::string(out), c.out) << c.in;
  }
  char small[8];
  EXPECT_FALSE(NormalizeArchivePath("\\abcdefgh", small, sizeof small));
}

}  // namespace
