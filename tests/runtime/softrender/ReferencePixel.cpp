#include "tests/runtime/softrender/ReferencePixel.h"

#include <vector>

#include "runtime/softrender/BlendTables.h"

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

int P(int a, int b) { return a * b / 255; }

int Byte(uint32_t v, int i) { return static_cast<int>((v >> (8 * i)) & 0xFF); }

uint32_t WithByte(uint32_t v, int i, int b) {
  return (v & ~(0xFFu << (8 * i))) | (static_cast<uint32_t>(b & 0xFF) << (8 * i));
}

// R5G6B5 fields, red first.
struct Fields {
  int f[3];
};
constexpr int kMax[3] = {31, 63, 31};
constexpr int kBits[3] = {5, 6, 5};

Fields Split(uint32_t v) {
  return {{static_cast<int>((v >> 11) & 31), static_cast<int>((v >> 5) & 63), static_cast<int>(v & 31)}};
}
uint32_t Join(const Fields& x) { return static_cast<uint32_t>(x.f[0] << 11 | x.f[1] << 5 | x.f[2]); }

// The weights in play, their product and their count.
struct Weights {
  int64_t product = 1;
  int count = 0;
  void Add(int64_t w) { product *= w, ++count; }
};

}  // namespace

uint32_t ReferencePackedAdd32(uint32_t d, uint32_t t, bool lowBits) {
  uint32_t out = 0;
  int sum = Byte(d, 0) + Byte(t, 0);
  int carry = sum > 255;
  out = WithByte(out, 0, sum > 255 ? 255 : sum);
  for (int c = 1; c <= 2; ++c) {
    const int h = (Byte(d, c) & 0xFE) + (Byte(t, c) & 0xFE);
    if (h > 255) {
      out = WithByte(out, c, 255);
      carry = 1;
    } else {
      int v = h | carry;
      if (lowBits) v |= (Byte(d, c) & 1) | (Byte(t, c) & 1);
      out = WithByte(out, c, v);
      carry = 0;
    }
  }
  return WithByte(out, 3, carry);
}

uint32_t ReferencePackedSubtract32(uint32_t d, uint32_t t) {
  uint32_t out = 0;
  int borrow = Byte(t, 0) > Byte(d, 0);
  out = WithByte(out, 0, borrow ? 0 : Byte(d, 0) - Byte(t, 0));
  for (int c = 1; c <= 2; ++c) {
    const int dh = Byte(d, c) & 0xFE, th = Byte(t, c) & 0xFE;
    if (dh < th) {
      out = WithByte(out, c, 0);
      borrow = 1;
    } else {
      out = WithByte(out, c, dh - th + 1 - borrow);
      borrow = 0;
    }
  }
  return out;
}

uint32_t ReferenceBytewiseSaturate32(uint32_t d, uint32_t s, bool add) {
  uint32_t out = 0;
  for (int i = 0; i < 4; ++i) {
    int v = add ? Byte(d, i) + Byte(s, i) : Byte(d, i) - Byte(s, i);
    v = v < 0 ? 0 : (v > 255 ? 255 : v);
    out = WithByte(out, i, v);
  }
  return out;
}

// Blue exact and saturating; green and red on their halves, bit 0 the carry
// from below (and, in variant A, either operand's bit 0).
uint32_t ReferencePackedAdd16(uint32_t d, uint32_t t, bool lowBits, int* carry) {
  const Fields x = Split(d), y = Split(t);
  Fields out{};
  const int blue = x.f[2] + y.f[2];
  int c = blue >= 32;
  out.f[2] = c ? 31 : blue;
  for (int f = 1; f >= 0; --f) {
    const int top = f == 1 ? 32 : 16;
    const int half = (x.f[f] >> 1) + (y.f[f] >> 1);
    const int low = c | (lowBits ? (x.f[f] | y.f[f]) & 1 : 0);
    if (half >= top) {
      out.f[f] = f == 1 ? (62 | low) : 31;
      c = 1;
    } else {
      out.f[f] = half * 2 | low;
      c = 0;
    }
  }
  if (carry) *carry = c;
  return Join(out);
}

// Blue exact and floored at 0; green's bit 0 always 0; red's bit 0 set
// where green's halves do not borrow.
uint32_t ReferencePackedSubtract16(uint32_t d, uint32_t t, int* borrow) {
  const Fields x = Split(d), y = Split(t);
  Fields out{};
  out.f[2] = x.f[2] >= y.f[2] ? x.f[2] - y.f[2] : 0;
  const bool greenBorrows = (x.f[1] >> 1) < (y.f[1] >> 1);
  out.f[1] = greenBorrows ? 0 : ((x.f[1] >> 1) - (y.f[1] >> 1)) * 2;
  const bool redBorrows = (x.f[0] >> 1) < (y.f[0] >> 1);
  out.f[0] = redBorrows ? 0 : ((x.f[0] >> 1) - (y.f[0] >> 1)) * 2 + (greenBorrows ? 0 : 1);
  if (borrow) *borrow = redBorrows;
  return Join(out);
}

// The second pixel's blue goes through halves with the first's red carry as
// its bit 0; everything else as variant B.
uint32_t ReferencePackedAddPair16(uint32_t d, uint32_t t) {
  int carry = 0;
  const uint32_t first = ReferencePackedAdd16(d & 0xFFFF, t & 0xFFFF, false, &carry);
  const Fields x = Split(d >> 16), y = Split(t >> 16);
  const int half = (x.f[2] >> 1) + (y.f[2] >> 1);
  Fields second = Split(ReferencePackedAdd16(d >> 16, t >> 16, false));
  const int blueCarry = half >= 16;
  second.f[2] = blueCarry ? 31 : half * 2 + carry;
  // Green's bit 0 is the carry of that blue.
  const int greenHalf = (x.f[1] >> 1) + (y.f[1] >> 1);
  second.f[1] = greenHalf >= 32 ? (62 | blueCarry) : (greenHalf * 2 | blueCarry);
  return first | Join(second) << 16;
}

uint32_t ReferencePackedSubtractPair16(uint32_t d, uint32_t t) {
  int borrow = 0;
  const uint32_t first = ReferencePackedSubtract16(d & 0xFFFF, t & 0xFFFF, &borrow);
  Fields second = Split(ReferencePackedSubtract16(d >> 16, t >> 16));
  const int dh = static_cast<int>((d >> 16) & 31) >> 1, th = static_cast<int>((t >> 16) & 31) >> 1;
  second.f[2] = dh < th ? 0 : (dh - th) * 2 + (borrow ? 0 : 1);
  return first | Join(second) << 16;
}

bool ReferenceGeneralPixel32(const ReferenceDraw& r, uint32_t s, uint32_t& d, int g, bool hit) {
  const int a = Byte(s, 3);
  bool full;
  if (!r.alpha) {
    if (r.keyed && hit) return false;
    full = false;
  } else if (r.keyed) {
    if (a == 0 && (r.mode <= 3 || r.scaled)) return false;
    full = a != 255;
  } else {
    full = true;
  }
  if (r.mode == 0 && r.alpha && r.keyed && !full && r.white && !r.graphic) {
    d = s;
    return true;
  }
  std::vector<int64_t> weights;
  if (r.graphic) weights.push_back(r.weights[g]);
  if (full) weights.push_back(a);
  const bool usesP = r.mode == 1 || r.mode == 2 || r.mode == 3 || r.mode == 10 || r.mode == 11;
  if (usesP) weights.push_back(r.p);
  int64_t w = 1;
  for (int64_t v : weights) w *= v;
  const int k = static_cast<int>(weights.size());

  int t[3];
  for (int c = 0; c < 3; ++c) {
    int v = Byte(s, c);
    if (r.mode == 10) v = 255 - v;
    t[c] = r.white ? v : P(r.b[c], v);
  }
  if (r.mode == 2 || r.mode == 3) {
    uint32_t amount = 0;
    const bool onlyP = !r.graphic && !full;
    for (int c = 0; c < 3; ++c)
      amount = WithByte(amount, c, onlyP ? P(r.p, t[c]) : static_cast<int>((t[c] * w) >> (8 * k)));
    d = r.mode == 2 ? ReferencePackedAdd32(d, amount, true) : ReferencePackedSubtract32(d, amount);
    return true;
  }
  for (int c = 0; c < 3; ++c) {
    const int dc = Byte(d, c);
    int v;
    if (r.mode == 4) {
      v = static_cast<int>((t[c] * dc * w) >> (8 * (k + 1)));
    } else {
      const int x = r.mode == 11 ? (t[c] * dc) / 256 : t[c];
      v = k == 0 ? x : static_cast<int>(dc + FloorDiv(w * (x - dc), int64_t{1} << (8 * k)));
    }
    d = WithByte(d, c, v);
  }
  return true;
}

bool ReferenceGeneralPixel16(const ReferenceDraw& r, uint32_t s, int a, uint32_t& d, int g, bool hit) {
  // Transparency and which weights are in play.
  bool alphaWeight = false;
  if (!r.alpha) {
    if (r.keyed && hit) return false;
  } else if (r.keyed) {
    if (a == 0 && (r.mode != 4 || r.scaled)) return false;
    alphaWeight = a != 255;
  } else {
    alphaWeight = true;
  }
  Weights w;
  if (r.graphic) w.Add(r.weights[g]);
  if (alphaWeight) w.Add(a);
  const bool weighted = w.count > 0;

  const Fields sf = Split(s), df = Split(d);
  // Brightness levels red, green, blue.
  const int level[3] = {r.b[2], r.b[1], r.b[0]};
  auto bright = [&](int f, int v) { return r.white ? v : Product(level[f], v); };
  int term[3];
  for (int f = 0; f < 3; ++f) term[f] = bright(f, r.mode == 10 ? kMax[f] - sf.f[f] : sf.f[f]);

  auto shiftMix = [&](int dc, int x, int64_t weight, int n) {
    return static_cast<int>(dc + FloorDiv(weight * (x - dc), int64_t{1} << n));
  };
  auto tableMix = [&](int dc, int x) { return dc + SignedProduct(r.p, x - dc); };

  Fields out{};
  if (r.mode == 2 || r.mode == 3) {
    for (int f = 0; f < 3; ++f) {
      int y;
      if (r.graphic)
        y = static_cast<int>((term[f] * w.product) >> (8 * w.count));
      else if (alphaWeight)
        y = bright(f, sf.f[f] * a / 256);
      else
        y = term[f];
      out.f[f] = Product(r.p, y);
    }
    d = r.mode == 2 ? ReferencePackedAdd16(d, Join(out), true) : ReferencePackedSubtract16(d, Join(out));
    return true;
  }
  for (int f = 0; f < 3; ++f) {
    const int dc = df.f[f];
    switch (r.mode) {
      case 0:
        out.f[f] = weighted ? shiftMix(dc, term[f], w.product, 8 * w.count) : term[f];
        break;
      case 4:
        out.f[f] = static_cast<int>((term[f] * dc * w.product) >> (kBits[f] + 8 * w.count));
        break;
      default: {
        const int target = r.mode == 11 ? (term[f] * dc) >> kBits[f] : term[f];
        if (!weighted) {
          out.f[f] = r.mode == 1 && r.white && !r.alpha && !r.scaled ? Lerp6(r.p / 4, sf.f[f], dc) : tableMix(dc, target);
        } else if (r.mode == 11 && f == 1 && alphaWeight && r.white && !r.graphic) {
          // Green keeps five more fraction bits of its product.
          const int64_t green = (sf.f[1] * dc) / 2 - 32 * dc;
          out.f[f] = static_cast<int>(FloorDiv(32 * dc + FloorDiv(green * a * r.p, 65536), 32));
        } else {
          out.f[f] = shiftMix(dc, target, w.product * r.p, 8 * w.count + 8);
        }
      }
    }
  }
  d = Join(out);
  return true;
}
