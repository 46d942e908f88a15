#pragma once
// Fonts over the fake glyph source on a 16-bit screen with a white draw
// brightness and a fresh log; every font is gone afterwards.

#include <gtest/gtest.h>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/graphics/fonts/DefaultFont.h"
#include "runtime/graphics/fonts/FontEntry.h"
#include "runtime/graphics/fonts/FontHandles.h"
#include "runtime/platform/base/ResourceHandle.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "tests/runtime/platform/base/LogFixture.h"
#include "tests/support/FakeGlyphSource.h"

inline void DeleteAllFonts() {
  for (int slot = 0; slot < kFontSlots; ++slot) {
    const FontEntry* e = gFontTable.slots[slot];
    if (e) DeleteFontHandle(MakeResourceHandle(slot, static_cast<int32_t>(e->check), kHandleFont));
  }
  gFontTable.nextCheck = 0;
  gDefaultFont = DefaultFontSettings{-1, "", 16, 6, 0, 1, 1, 0, 0};
}

class FontFixture : public LogFixture {
 protected:
  void SetUp() override {
    LogFixture::SetUp();
    DeleteAllFonts();
    gScreenDevice = ScreenDevice{};
    gDrawState.brightness = 0xFFFFFF;
    gDrawState.drawRegion = {0, 0, 640, 480};
  }
  void TearDown() override {
    DeleteAllFonts();
    EXPECT_EQ(TrackedBlockCount(), 0) << "blocks left behind";
    gScreenDevice = ScreenDevice{};
    LogFixture::TearDown();
  }

  bool LogHas(const std::string& text) const { return LogText().find(text) != std::string::npos; }

  FakeGlyphSource glyphs;
};
