#include "tests/runtime/softrender/ReferencePlainDraw.h"

#include <cstring>
#include <vector>

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

// The packed add as the rules describe it channel by channel.
uint32_t PackedAdd(uint32_t d, uint32_t t, bool lowBits) {
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

uint32_t PackedSubtract(uint32_t d, uint32_t t) {
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

uint32_t BytewiseSaturate(uint32_t d, uint32_t s, bool add) {
  uint32_t out = 0;
  for (int i = 0; i < 4; ++i) {
    int v = add ? Byte(d, i) + Byte(s, i) : Byte(d, i) - Byte(s, i);
    v = v < 0 ? 0 : (v > 255 ? 255 : v);
    out = WithByte(out, i, v);
  }
  return out;
}

struct Draw {
  int mode;
  int p;
  int b[3];
  bool white;
  bool graphic;
  bool alpha;
  bool keyed;
  bool mmx;
  uint32_t key;
  const uint8_t* weights;
};

// One pixel of a loop without a special path. Returns false when not drawn.
bool GeneralPixel(const Draw& r, uint32_t s, uint32_t& d, int g) {
  const int a = Byte(s, 3);
  bool full;
  if (!r.alpha) {
    if (r.keyed && s == r.key) return false;
    full = false;
  } else if (r.keyed) {
    if (a == 0 && r.mode <= 3) return false;
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
    d = r.mode == 2 ? PackedAdd(d, amount, true) : PackedSubtract(d, amount);
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

}  // namespace

void ReferenceSoftDrawImage(MemImg* destination, const MemImg* source, int x, int y, int transparent,
                            const MemImg* blendGraphic, const DrawState& state, const uint8_t graphicWeights[256],
                            bool mmx) {
  const MemImgStore* ds = destination->store;
  const MemImgStore* ss = source->store;
  if (ss->pixelType != ds->pixelType || ds->paletteFlag || ds->alphaFlag) return;
  if (ss->pixelType != 1 || ss->paletteFlag) return;

  // Clip: right and bottom raised, then every edge clamped into the region.
  int64_t left = x, top = y, right = int64_t{x} + source->width, bottom = int64_t{y} + source->height;
  const IntRect& region = state.drawRegion;
  auto clamp = [](int64_t v, int64_t lo, int64_t hi) { return v > hi ? hi : (v < lo ? lo : v); };
  bottom = clamp(bottom, region.top, region.bottom);
  top = clamp(top, region.top, region.bottom);
  right = clamp(right, region.left, region.right);
  left = clamp(left, region.left, region.right);
  const int width = static_cast<int>(right - left), height = static_cast<int>(bottom - top);
  if (width <= 0 || height <= 0) return;
  const int sx = static_cast<int>(left - x), sy = static_cast<int>(top - y);

  Draw r{};
  r.mode = state.blendMode;
  r.p = state.blendParameter;
  if (r.mode == 1 && r.p == 255) r.mode = 0;
  if ((r.mode == 1 || r.mode == 2 || r.mode == 3) && r.p == 0) return;
  if (!(r.mode <= 4 || r.mode == 10 || r.mode == 11) || r.mode < 0) return;
  r.b[0] = Byte(state.brightness, 0), r.b[1] = Byte(state.brightness, 1), r.b[2] = Byte(state.brightness, 2);
  r.white = r.b[0] == 255 && r.b[1] == 255 && r.b[2] == 255;
  r.graphic = blendGraphic != nullptr;
  r.alpha = ss->alphaFlag != 0;
  r.keyed = transparent != 0;
  r.mmx = mmx;
  r.key = ss->colorKey;
  r.weights = graphicWeights;

  // Which special path runs, and how many pixels its steps read at once
  // (0: the whole row).
  enum { General, Whole, Halve, AddSat, SubSat, AddB, SubWhole } path = General;
  int group = 1;
  const bool plain = !r.graphic && r.white && !r.alpha;
  if (r.mode == 0 && plain) {
    path = Whole;
    group = r.keyed ? 4 : 0;
  } else if (r.mode == 0 && !r.graphic && r.white && r.alpha && !r.keyed) {
    path = Whole;
  } else if (r.mode == 1 && plain && r.p == 128) {
    path = Halve;
    group = r.mmx ? 2 : (r.keyed ? 1 : 2);
  } else if ((r.mode == 2 || r.mode == 3) && plain && r.p == 255) {
    if (r.mmx) {
      path = r.mode == 2 ? AddSat : SubSat;
      group = r.keyed ? 2 : 4;
    } else {
      path = r.mode == 2 ? AddB : SubWhole;
    }
  }

  for (int row = 0; row < height; ++row) {
    uint8_t* drow = destination->pixels + static_cast<intptr_t>(top + row) * ds->pitch + left * 4;
    const uint8_t* srow = source->pixels + static_cast<intptr_t>(sy + row) * ss->pitch + sx * 4;
    const uint8_t* grow = r.graphic ? blendGraphic->pixels + static_cast<intptr_t>(sy + row) * blendGraphic->store->pitch + sx
                                    : nullptr;
    int i = 0;
    while (i < width) {
      const int n = group == 0 ? width : (i + group <= width ? group : 1);
      std::vector<uint32_t> read(n);
      std::memcpy(read.data(), srow + 4 * i, 4 * static_cast<size_t>(n));
      for (int j = 0; j < n; ++j) {
        const uint32_t s = read[j];
        uint32_t d;
        std::memcpy(&d, drow + 4 * (i + j), 4);
        bool drawn = true;
        if (path != General && r.keyed && !r.alpha && s == r.key) drawn = false;
        if (drawn) {
          switch (path) {
            case Whole: d = s; break;
            case Halve:
              for (int c = 0; c < 3; ++c) d = WithByte(d, c, Byte(s, c) / 2 + Byte(d, c) / 2);
              d = WithByte(d, 3, 0);
              break;
            case AddSat: d = BytewiseSaturate(d, s, true); break;
            case SubSat: d = BytewiseSaturate(d, s, false); break;
            case AddB: d = PackedAdd(d, s, false); break;
            case SubWhole: d = PackedSubtract(d, s); break;
            case General: drawn = GeneralPixel(r, s, d, grow ? grow[i + j] : 0); break;
          }
        }
        if (drawn) std::memcpy(drow + 4 * (i + j), &d, 4);
      }
      i += n;
    }
  }
}
