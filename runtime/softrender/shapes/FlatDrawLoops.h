#pragma once
// The box and line loops: a constant colour run through the span kernels
// (the colour sits in a small span of its own, so nothing is loaded from a
// source image). Compiled once per instruction set inside that set's
// namespace.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "runtime/softrender/shapes/ShapeDrawSetup.h"
#include "runtime/softrender/SpanKernels.h"

#ifndef SOFTRENDER_ISA
#error "define SOFTRENDER_ISA to the namespace of the instruction set"
#endif

namespace SOFTRENDER_ISA {

// The kernel of a one-colour draw: no blend graphic, brightness, alpha or
// key (the colour already carries the brightness). Null for copy, which
// the loops write directly, and for modes that draw nothing.
static SpanFn ChooseFlatSpan(const FlatDrawSetup& p) {
  if (p.destinationBytes == 4) {
    switch (p.blendMode) {
      case 1: return ChooseSpan32<Op32::Translucent, RawPixel32>(false, false, false, false);
      case 2: return ChooseSpan32<Op32::Additive, RawPixel32>(false, false, false, false);
      case 3: return ChooseSpan32<Op32::Subtractive, RawPixel32>(false, false, false, false);
      case 4: return ChooseSpan32<Op32::Multiply, RawPixel32>(false, false, false, false);
      case 10: return ChooseSpan32<Op32::InvertedTranslucent, RawPixel32>(false, false, false, false);
      case 11: return ChooseSpan32<Op32::MultiplyTranslucent, RawPixel32>(false, false, false, false);
      default: return nullptr;
    }
  }
  switch (p.blendMode) {
    case 1: return ChooseSpan16<Op16::Translucent, ColourWord16, RawWord16>(false, false, false);
    case 2: return ChooseSpan16<Op16::Additive, ColourWord16, RawWord16>(false, false, false);
    case 3: return ChooseSpan16<Op16::Subtractive, ColourWord16, RawWord16>(false, false, false);
    case 4: return ChooseSpan16<Op16::Multiply, ColourWord16, RawWord16>(false, false, false);
    case 10: return ChooseSpan16<Op16::InvertedTranslucent, ColourWord16, RawWord16>(false, false, false);
    case 11: return ChooseSpan16<Op16::MultiplyTranslucent, ColourWord16, RawWord16>(false, false, false);
    default: return nullptr;
  }
}

static inline PixelContext FlatContext(const FlatDrawSetup& p) {
  return PixelContext{0, p.parameter, {255, 255, 255}, nullptr};
}

constexpr int kFlatSpan = 128;

static inline void FillColourSpan(uint8_t* colours, const FlatDrawSetup& p) {
  for (int i = 0; i < kFlatSpan; ++i) std::memcpy(colours + p.destinationBytes * i, &p.color, p.destinationBytes);
}

// The 32-bit mixing modes as one form per channel, in 16-bit lanes:
// new = (d x A + ((d x C) >> 8) x P + B) >> 8, which never leaves 16 bits
// (each sum is a weighting of values up to 255 by weights up to 256). The
// top byte takes A = 256 and keeps its value.
typedef uint16_t VBoxLanes __attribute__((vector_size(SOFTRENDER_VECTOR_BYTES)));
typedef uint8_t VBoxBytes __attribute__((vector_size(SOFTRENDER_VECTOR_BYTES / 2)));
constexpr int kBoxPixels = SOFTRENDER_VECTOR_BYTES / 8;

struct BoxForm {
  VBoxLanes a, c, p, b;
  bool product;  // C and P take part
};

static inline bool MakeBoxForm(const FlatDrawSetup& s, BoxForm& f) {
  const uint32_t p = s.parameter;
  for (int lane = 0; lane < SOFTRENDER_VECTOR_BYTES / 2; ++lane) {
    const int channel = lane % 4;
    const uint32_t c = (s.color >> (8 * channel)) & 0xFF;
    uint32_t a = 256, cm = 0, pm = 0, b = 0;
    if (channel < 3) {
      switch (s.blendMode) {
        case 1: a = 256 - p, b = c * p; break;
        case 4: a = 0, cm = c, pm = 256; break;
        case 10: a = 256 - p, b = (255 - c) * p; break;
        case 11: a = 256 - p, cm = c, pm = p; break;
        default: return false;
      }
    }
    f.a[lane] = static_cast<uint16_t>(a);
    f.c[lane] = static_cast<uint16_t>(cm);
    f.p[lane] = static_cast<uint16_t>(pm);
    f.b[lane] = static_cast<uint16_t>(b);
  }
  f.product = s.blendMode == 4 || s.blendMode == 11;
  return true;
}

template <bool kProduct>
static inline int BoxFormRow(uint8_t* d, int width, const BoxForm& f) {
  int i = 0;
  for (; i + kBoxPixels <= width; i += kBoxPixels) {
    VBoxBytes bytes;
    __builtin_memcpy(&bytes, d + 4 * i, sizeof bytes);
    const VBoxLanes x = __builtin_convertvector(bytes, VBoxLanes);
    VBoxLanes sum = x * f.a + f.b;
    if constexpr (kProduct) sum += ((x * f.c) >> 8) * f.p;
    bytes = __builtin_convertvector(sum >> 8, VBoxBytes);
    __builtin_memcpy(d + 4 * i, &bytes, sizeof bytes);
  }
  return i;
}

static void FlatFillBox(const FlatDrawSetup& p) {
  uint8_t* row = p.destination;
  if (p.blendMode == 0) {
    for (int y = 0; y < p.height; ++y, row += p.pitch) {
      if (p.destinationBytes == 4) {
        uint32_t* d = reinterpret_cast<uint32_t*>(row);
        std::fill(d, d + p.width, p.color);
      } else {
        uint16_t* d = reinterpret_cast<uint16_t*>(row);
        std::fill(d, d + p.width, static_cast<uint16_t>(p.color));
      }
    }
    return;
  }
  const SpanFn span = ChooseFlatSpan(p);
  if (!span) return;
  alignas(64) uint8_t colours[kFlatSpan * 4];
  FillColourSpan(colours, p);
  const PixelContext c = FlatContext(p);
  BoxForm form;
  const bool formed = p.destinationBytes == 4 && MakeBoxForm(p, form);
  for (int y = 0; y < p.height; ++y, row += p.pitch) {
    int done = 0;
    if (formed) done = form.product ? BoxFormRow<true>(row, p.width, form) : BoxFormRow<false>(row, p.width, form);
    for (int i = done; i < p.width; i += kFlatSpan) {
      const int n = std::min(kFlatSpan, p.width - i);
      span(row + static_cast<intptr_t>(i) * p.destinationBytes, colours, colours, nullptr, n, c);
    }
  }
}

// count pixels from the setup's first: each step moves one pixel along the
// major axis, and one along the minor axis whenever the error term reaches
// count.
static void FlatDrawLine(const FlatDrawSetup& p, int32_t count, int32_t minor, intptr_t majorStep,
                         intptr_t minorStep) {
  SpanFn span = nullptr;
  if (p.blendMode != 0) {
    span = ChooseFlatSpan(p);
    if (!span) return;
  }
  alignas(16) uint8_t colour[4];
  std::memcpy(colour, &p.color, 4);
  const PixelContext c = FlatContext(p);
  uint8_t* d = p.destination;
  int64_t e = 0;
  for (int32_t k = 0; k < count; ++k) {
    if (span)
      span(d, colour, colour, nullptr, 1, c);
    else
      std::memcpy(d, colour, p.destinationBytes);
    e += minor;
    d += majorStep;
    if (e >= count) {
      d += minorStep;
      e -= count;
    }
  }
}

}  // namespace SOFTRENDER_ISA
