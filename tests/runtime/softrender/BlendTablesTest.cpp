#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "runtime/softrender/BlendArithmetic.h"
#include "runtime/softrender/BlendTables.h"
#include "tests/runtime/softrender/ReferencePixel.h"

namespace {

TEST(BlendTablesTest, ProductTables) {
  BuildSoftBlendTables();
  struct {
    int level, v, want;
  } signedCases[] = {{255, -255, -255}, {128, -1, 0},      {128, 1, 0},    {1, -255, -1},
                     {1, -254, 0},      {128, -255, -128}, {128, 255, 128}};
  for (const auto& c : signedCases) EXPECT_EQ(SignedProduct(c.level, c.v), c.want) << c.level << " " << c.v;
  EXPECT_EQ(Product(255, 255), 255);
  EXPECT_EQ(Product(128, 255), 128);
  EXPECT_EQ(Product(1, 254), 0);
  EXPECT_EQ(Product(128, 31), 15);
  EXPECT_EQ(Product(128, 63), 31);
  EXPECT_EQ(Lerp6(63, 17, 40), 17);
  EXPECT_EQ(Lerp6(0, 17, 40), 40);
  EXPECT_EQ(Lerp6(32, 31, 0), 15);
  EXPECT_EQ(Lerp6(31, 63, 0), 31);
  EXPECT_EQ(Lerp6(32, 63, 0), 32);
}

TEST(BlendTablesTest, BlendGraphicWeights) {
  BuildBlendGraphicTable(128, 255);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(BlendGraphicWeight(i), i);
  BuildBlendGraphicTable(0, 77);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(BlendGraphicWeight(i), 255);
  for (int range : {255, 0}) {
    BuildBlendGraphicTable(255, range);
    for (int i = 0; i < 255; ++i) ASSERT_EQ(BlendGraphicWeight(i), 0);
    EXPECT_EQ(BlendGraphicWeight(255), 1);
  }
  BuildBlendGraphicTable(128, 0);
  EXPECT_EQ(BlendGraphicWeight(127), 0);
  EXPECT_EQ(BlendGraphicWeight(128), 128);
  EXPECT_EQ(BlendGraphicWeight(129), 255);
  BuildBlendGraphicTable(64, 32);
  EXPECT_EQ(BlendGraphicWeight(39), 0);
  EXPECT_GT(BlendGraphicWeight(40), 0);
  EXPECT_LT(BlendGraphicWeight(72), 255);
  EXPECT_EQ(BlendGraphicWeight(73), 255);
}

// The divisions the hot loops use instead of tables, over their whole range.
TEST(BlendArithmeticTest, DivisionFormsAreExact) {
  for (uint32_t x = 0; x <= 65280; ++x) ASSERT_EQ(DivideBy255(x), x / 255) << x;
  for (uint32_t x = 0; x <= 4095; ++x) ASSERT_EQ(DivideBy63(x), x / 63) << x;
  BuildSoftBlendTables();
  for (uint32_t a = 0; a < 256; ++a)
    for (uint32_t b = 0; b < 256; ++b) ASSERT_EQ(ProductOf(a, b), static_cast<uint32_t>(Product(a, b)));
}

// Products by p / 255 as the high half of a product by ProductScale(p),
// with the value in a lane's low byte or in its high byte.
TEST(BlendArithmeticTest, ProductScaleIsExact) {
  for (uint32_t p = 0; p < 255; ++p) {
    const uint32_t scale = ProductScale(p);
    ASSERT_LT(scale, 65536u);
    for (uint32_t s = 0; s < 256; ++s) {
      ASSERT_EQ((s * scale) >> 16, ProductOf(p, s)) << p << " " << s;
      ASSERT_EQ((((s << 8) * scale) >> 16) & 0xFF00, ProductOf(p, s) << 8) << p << " " << s;
    }
  }
}

// The 16-bit amounts take each field's product in place: the bits below the
// field drop out of the high half.
TEST(BlendArithmeticTest, ProductScaleOfFieldsInPlace) {
  for (uint32_t p = 0; p < 255; ++p) {
    const uint32_t scale = ProductScale(p);
    for (uint32_t v = 0; v < 32; ++v) {
      ASSERT_EQ((((v << 11) * scale) >> 16) & 0xF800, ProductOf(p, v) << 11) << p << " " << v;
      ASSERT_EQ((v * scale) >> 16, ProductOf(p, v)) << p << " " << v;
    }
    for (uint32_t v = 0; v < 64; ++v)
      ASSERT_EQ((((v << 5) * scale) >> 16) & 0x07E0, ProductOf(p, v) << 5) << p << " " << v;
  }
}

// floor(x / 63) in 16-bit lanes, over every lerp numerator.
TEST(BlendArithmeticTest, DivisionBy63InSixteenBitLanes) {
  typedef uint16_t Lanes __attribute__((vector_size(16)));
  for (uint32_t x = 0; x <= 3969; x += 8) {
    Lanes v;
    for (int i = 0; i < 8; ++i) v[i] = static_cast<uint16_t>(std::min<uint32_t>(x + i, 3969));
    const Lanes q = DivideBy63<Lanes>(v);
    for (int i = 0; i < 8; ++i) ASSERT_EQ(q[i], v[i] / 63) << v[i];
  }
}

// The vector kernels divide in 16-bit lanes, one short of the 32-bit range.
TEST(BlendArithmeticTest, DivisionBy255InSixteenBitLanes) {
  typedef uint16_t Lanes __attribute__((vector_size(16)));
  for (uint32_t x = 0; x <= 65279; x += 8) {
    Lanes v;
    for (int i = 0; i < 8; ++i) v[i] = static_cast<uint16_t>(std::min<uint32_t>(x + i, 65279));
    const Lanes q = DivideBy255<Lanes>(v);
    for (int i = 0; i < 8; ++i) ASSERT_EQ(q[i], v[i] / 255) << v[i];
  }
}

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b, uint32_t top = 0) { return top << 24 | r << 16 | g << 8 | b; }

TEST(BlendArithmeticTest, PackedOperationsKeepTheirLowBitRules) {
  EXPECT_EQ(ShiftMix(1, 1, 128, 8), 1u);
  EXPECT_EQ(Halve32(Rgb(1, 1, 1), Rgb(1, 1, 1)), 0u);
  EXPECT_EQ(ShiftMix(255, 0, 255, 8), 0u);
  EXPECT_EQ(ShiftMix(0, 255, 255, 8), 254u);

  EXPECT_EQ(PackedAddA32(Rgb(255, 255, 255), Rgb(1, 1, 1)), Rgb(255, 255, 255));
  EXPECT_EQ(PackedAddB32(Rgb(255, 255, 255), Rgb(1, 1, 1)), Rgb(254, 255, 255));
  EXPECT_EQ(PackedAddA32(Rgb(128, 128, 128), Rgb(128, 128, 128)), Rgb(255, 255, 255, 1));
  EXPECT_EQ(PackedAddB32(Rgb(128, 128, 128), Rgb(128, 128, 128)), Rgb(255, 255, 255, 1));
  EXPECT_EQ(SaturatingAddBytes(Rgb(255, 255, 255), Rgb(1, 1, 1)), Rgb(255, 255, 255));
  EXPECT_EQ(SaturatingAddBytes(Rgb(128, 128, 128), Rgb(128, 128, 128)), Rgb(255, 255, 255));
  EXPECT_EQ(PackedAddA32(Rgb(3, 3, 3), Rgb(1, 1, 1)), Rgb(3, 3, 4));
  EXPECT_EQ(PackedAddB32(Rgb(3, 3, 3), Rgb(1, 1, 1)), Rgb(2, 2, 4));
  EXPECT_EQ(PackedAddA32(Rgb(10, 130, 250), Rgb(10, 130, 10)), Rgb(21, 255, 255));

  EXPECT_EQ(PackedSub32(Rgb(2, 2, 2), Rgb(1, 1, 1)), Rgb(3, 3, 1));
  EXPECT_EQ(SaturatingSubBytes(Rgb(2, 2, 2), Rgb(1, 1, 1)), Rgb(1, 1, 1));
  EXPECT_EQ(PackedSub32(Rgb(16, 16, 16), Rgb(17, 17, 17)), Rgb(1, 0, 0));
  EXPECT_EQ(PackedSub32(Rgb(30, 20, 10), 0), Rgb(31, 21, 10));
  EXPECT_EQ(PackedSub32(0, 0), Rgb(1, 1, 0));
  EXPECT_EQ(PackedSub32(Rgb(3, 3, 3), Rgb(1, 1, 1)), Rgb(3, 3, 2));
}

// The 16-bit kernels' formulas in place of the signed product table and the
// lerp slabs, over every field value and parameter.
TEST(BlendArithmeticTest, SixteenBitMixFormulasMatchTheTables) {
  BuildSoftBlendTables();
  for (uint32_t p = 0; p < 256; ++p)
    for (uint32_t d = 0; d < 64; ++d)
      for (uint32_t x = 0; x < 64; ++x)
        ASSERT_EQ(TableMix(d, x, p), d + SignedProduct(p, static_cast<int>(x) - static_cast<int>(d))) << p;
  for (uint32_t w = 0; w < 64; ++w)
    for (uint32_t m = 0; m < 64; ++m)
      for (uint32_t k = 0; k < 64; ++k) ASSERT_EQ(LerpSlab(w, m, k), Lerp6(w, m, k));
}

// The one-word forms of the 16-bit packed operations against the rules'
// field-by-field description.
TEST(BlendArithmeticTest, SixteenBitPackedOperationsFollowTheFieldRules) {
  auto rgb = [](uint32_t r, uint32_t g, uint32_t b) { return r << 11 | g << 5 | b; };
  EXPECT_EQ(PackedSub16(rgb(10, 10, 10), rgb(10, 10, 10)), rgb(1, 0, 0));
  EXPECT_EQ(PackedAddA16(rgb(1, 1, 1), rgb(1, 1, 1)), rgb(1, 1, 2));
  EXPECT_EQ(PackedAddB16(0x0011, 0x000F), 0x003Fu);
  EXPECT_EQ(PackedAddPair16(0x00110000, 0x000F0000), 0x001E0000u);
  EXPECT_EQ(PackedSub16(0x0000, 0), 0x0800u);
  EXPECT_EQ(PackedSub16(0xFFFF, 0), 0xFFDFu);
  std::mt19937 rng(11);
  for (int i = 0; i < 400000; ++i) {
    const uint32_t d = rng(), t = rng();
    ASSERT_EQ(PackedAddA16(d & 0xFFFF, t & 0xFFFF), ReferencePackedAdd16(d & 0xFFFF, t & 0xFFFF, true));
    ASSERT_EQ(PackedAddB16(d & 0xFFFF, t & 0xFFFF), ReferencePackedAdd16(d & 0xFFFF, t & 0xFFFF, false));
    ASSERT_EQ(PackedSub16(d & 0xFFFF, t & 0xFFFF), ReferencePackedSubtract16(d & 0xFFFF, t & 0xFFFF));
    ASSERT_EQ(PackedAddPair16(d, t), ReferencePackedAddPair16(d, t)) << std::hex << d << " " << t;
    ASSERT_EQ(PackedSubPair16(d, t), ReferencePackedSubtractPair16(d, t)) << std::hex << d << " " << t;
    ASSERT_EQ(Halve16(d, t), (Halve16(d & 0xFFFF, t & 0xFFFF) | Halve16(d >> 16, t >> 16) << 16));
  }
}

}  // namespace
