#include "tests/support/GoldenFrame.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/softrender/MemImg.h"
#include "tests/support/ImageLibraryFixtures.h"
#include "tests/support/TestDirectory.h"

namespace {

constexpr uint64_t kFnvOffset = 0xCBF29CE484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001B3ull;

bool Regenerating() {
  const char* flag = std::getenv("MOVAN_GOLDEN_REGENERATE");
  return flag && std::strcmp(flag, "1") == 0;
}

// The back screen's pixels as 0xRRGGBB (16-bit screens widened).
uint32_t BackPixel(const MemImg& image, int x, int y) {
  const int bytes = MemImgBytesPerPixel(image.store);
  const uint8_t* at = image.pixels + static_cast<size_t>(y) * image.store->pitch + static_cast<size_t>(x) * bytes;
  if (bytes == 4) {
    uint32_t v;
    std::memcpy(&v, at, 4);
    return v & 0xFFFFFF;
  }
  uint16_t v;
  std::memcpy(&v, at, 2);
  const uint32_t r = (v >> 11 & 0x1F) * 255 / 31;
  const uint32_t g = (v >> 5 & 0x3F) * 255 / 63;
  const uint32_t b = (v & 0x1F) * 255 / 31;
  return r << 16 | g << 8 | b;
}

std::string PngOfBackScreen() {
  const MemImg& image = gScreen.back;
  PngFixtureFields png;
  png.width = static_cast<uint32_t>(image.width);
  png.height = static_cast<uint32_t>(image.height);
  png.rows.reserve(static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const uint32_t rgb = BackPixel(image, x, y);
      png.rows += static_cast<char>(rgb >> 16);
      png.rows += static_cast<char>(rgb >> 8 & 0xFF);
      png.rows += static_cast<char>(rgb & 0xFF);
    }
  }
  return EncodePngFixture(png);
}

std::string HashText(uint64_t hash) {
  char text[32];
  std::snprintf(text, sizeof text, "%016" PRIx64 "\n", hash);
  return text;
}

}  // namespace

uint64_t HashBackScreen() {
  const MemImg& image = gScreen.back;
  if (!IsMemImgValid(&image)) return 0;
  uint64_t hash = kFnvOffset;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const uint32_t rgb = BackPixel(image, x, y);
      for (int i = 0; i < 3; ++i) {
        hash ^= rgb >> (8 * i) & 0xFF;
        hash *= kFnvPrime;
      }
    }
  }
  return hash;
}

std::string CheckGoldenFrame(const std::string& directory, const std::string& name) {
  const std::string base = directory + "/" + name;
  const std::string actual = HashText(HashBackScreen());
  if (Regenerating()) {
    WriteWholeFile(base + ".hash", actual);
    WriteWholeFile(base + ".png", PngOfBackScreen());
    return "";
  }
  if (!FileExists(base + ".hash")) return name + ": no golden hash; run scripts/golden";
  const std::string expected = ReadWholeFile(base + ".hash");
  if (expected == actual) return "";
  return name + ": the frame hashes " + actual.substr(0, 16) + ", the golden frame " + expected.substr(0, 16) +
         " (scripts/golden shows it as " + base + ".png)";
}
