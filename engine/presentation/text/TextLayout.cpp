// The one walk over a text block: measure mode records the line tables,
// draw mode draws what the reveal has reached. Every pass starts again at
// the first byte, so every code takes effect again; the stored wait
// positions keep each wait from starting twice.

#include <algorithm>
#include <string>

#include "engine/events/SystemState.h"
#include "engine/events/variables/EscapeExpander.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/PresentationSettings.h"
#include "engine/presentation/text/MessageCodes.h"
#include "engine/presentation/text/TextBlock.h"
#include "engine/presentation/text/TextColors.h"
#include "engine/presentation/text/TextResources.h"
#include "engine/services/TruncateToInt.h"
#include "runtime/Movan.h"

namespace {

constexpr int32_t kTimedWaitFrames = 16;
constexpr int32_t kRubyColor = 13;
constexpr int32_t kScreenTilesX = 20;
constexpr int32_t kScreenTilesY = 15;
constexpr int32_t kMaxIcon = 999;

class LayoutPass {
 public:
  LayoutPass(TextBlock& block, bool draw, double scaleX, double scaleY)
      : b_(block),
        draw_(draw),
        sx_(scaleX),
        sy_(scaleY),
        unitFactors_(scaleX == 1.0 && scaleY == 1.0),
        t_(TileUnit),
        scale_(DisplayScale()),
        text_(block.workText.data()),
        length_(static_cast<int32_t>(block.workText.size())),
        letterSqueeze_(static_cast<int8_t>(GameSettingByte(GameInfo::kLetterSqueeze, 0))),
        lineSpacing_(GameSettingByte(block.choiceBlock ? GameInfo::kChoiceLineSpacing : GameInfo::kMessageLineSpacing, 6)),
        shadow_(RootRunner.textEdge != 0),
        black_(draw ? PackColor(0, 0, 0) : 0) {}

  void Run();

 private:
  // After a unit was taken: false stops the layout where the reveal or a
  // wait holds it.
  bool MayGoOn();
  // False when the sequence is cut off by the end of the text.
  bool Control();
  void Character(const char* c, int32_t n);
  void LineEnd();
  void Ruby();
  void Icon(int32_t number);
  void Image();
  void Item(int32_t graphic, int32_t w, int32_t g);

  int32_t Font(int32_t size) const {
    return TextResourcesHub.GetFont(b_.face, size * scale_, TextBlock::kFontThickness, b_.edge);
  }
  int32_t AlignmentOffset() const {
    const int32_t free = b_.widestPixelLine - TextBlock::TableEntry(b_.linePixelWidths, b_.line);
    return TruncateToInt32(static_cast<double>(free) * align_ * sx_ / 2.0);
  }
  int32_t ScreenX(int32_t offset) const { return b_.originX + AlignmentOffset() + TruncateToInt32(offset * sx_); }
  int32_t ScreenY(int32_t offset) const { return b_.originY + TruncateToInt32(offset * sy_); }
  // Whether an item of the sizes, its top offsetY below the origin, can
  // show on the screen.
  bool OnScreen(int32_t sizeX, int32_t sizeY, int32_t offsetY) const;
  // Walks characters up to `end` (consumed) or up to one that starts on the
  // last byte of the text (which ends the walk unused). Calls each(c, n).
  template <typename Each>
  void WalkTo(char end, Each each);
  void DrawText(int32_t x, int32_t y, const char* text, int32_t font, uint32_t colour) const;
  void Reveal() { b_.revealed = std::max(b_.revealed, static_cast<double>(b_.position - b_.controlBytes)); }
  void EnsurePixelWidthFor(int32_t line) {
    if (b_.linePixelWidths.size() < static_cast<size_t>(line) + 1) b_.linePixelWidths.resize(static_cast<size_t>(line) + 1, 0);
  }

  TextBlock& b_;
  const bool draw_;
  const double sx_, sy_;
  const bool unitFactors_;
  const int32_t t_, scale_;
  const char* const text_;
  const int32_t length_;
  const int32_t letterSqueeze_;
  const int32_t lineSpacing_;
  const bool shadow_;
  const uint32_t black_;
  int32_t h_ = 0;  // height of the current line
  int32_t squeeze_ = 0;
  int32_t spacing_ = 0;
  bool spacingSet_ = false;
  int32_t align_ = 0;  // 0 left, 1 centre, 2 right
  bool instantMode_ = false;
};

void LayoutPass::Run() {
  TextBlock& b = b_;
  b.position = 0;
  b.colorIndex = 0;
  b.face = 0;
  b.edge = 0;
  b.fontSize = TextBlock::SnapFontSize(RootRunner.messageFontSize);
  b.penX = 0;
  b.penY = 0;
  b.line = 0;
  b.controlBytes = 0;
  while (b.position < length_) {
    const int32_t start = b.position;
    const int32_t n = ShiftJisCharLengthIn(text_ + start, static_cast<size_t>(length_ - start));
    b.position += n;
    if (!MayGoOn()) return;
    const uint8_t first = static_cast<uint8_t>(text_[start]);
    if (n == 2) {
      Character(text_ + start, 2);
    } else if (first == kControlByte) {
      if (!Control()) return;
    } else if (first == '\n') {
      LineEnd();
    } else if (first != '\r') {
      Character(text_ + start, 1);
    }
  }
}

bool LayoutPass::MayGoOn() {
  TextBlock& b = b_;
  if (draw_) {
    if (instantMode_) {
      Reveal();
    } else if (b.position > static_cast<int64_t>(b.revealed) + b.controlBytes) {
      return false;
    }
  }
  if (b.waitingForKey && b.position > b.keyWaitPosition - 1) return false;
  if (b.waitFrames > 0 && b.position > b.waitPosition - 1) return false;
  return true;
}

bool LayoutPass::Control() {
  TextBlock& b = b_;
  if (b.position >= length_) return false;
  const uint8_t code = static_cast<uint8_t>(text_[b.position]);
  const int32_t arguments = ControlArgumentBytes(code);
  if (b.position + 1 + arguments > length_) return false;
  const uint8_t* a = reinterpret_cast<const uint8_t*>(text_ + b.position + 1);
  b.position += 1 + arguments;
  b.controlBytes += 2 + CountedArgumentBytes(code);
  switch (code) {
    case kCodeBackslash:
      Character("\\", 1);
      break;
    case kCodeColor: {
      int32_t index = std::min(DecodeSmallValue(a[0]), TextColorCount() - 1);
      b.colorIndex = index == 255 ? 0 : index;
      break;
    }
    case kCodeFontSize:
      b.fontSize = TextBlock::SnapFontSize(DecodeSmallValue(a[0]));
      h_ = std::max(h_, b.fontSize);
      break;
    case kCodeLineHeight:
      h_ = DecodeSmallValue(a[0]);
      break;
    case kCodeEdgeOn:
      b.edge = 1;
      break;
    case kCodeEdgeOff:
      b.edge = 0;
      break;
    case kCodeSqueeze:
      squeeze_ = DecodeSignedByte(a[0]);
      break;
    case kCodeRuby:
      Ruby();
      break;
    case kCodeInstantOn:
      instantMode_ = true;
      break;
    case kCodeInstantOff:
      instantMode_ = false;
      break;
    case kCodeSpeed: {
      int32_t v = DecodeWideValue(a[0], a[1]);
      if (v == 0 || v == 65535) v = RootRunner.messageValues[1];
      if (draw_) {
        if (b.previousRevealed <= 2.0 && v < b.speed) b.revealed = v * PresentationFrameStep() / 30.0;
        b.speed = v;
      }
      break;
    }
    case kCodeWait:
      if (draw_ && b.position > b.waitPosition) {
        b.waitPosition = b.position + 1;
        b.waitFrames = kTimedWaitFrames;
      }
      break;
    case kCodeKeyWait:
      if (draw_ && !b.choiceBlock && b.position > b.keyWaitPosition) {
        b.keyWaitPosition = b.position + 1;
        b.waitingForKey = 1;
      }
      break;
    case kCodeAutoClose:
      if (draw_) b.autoClose = 1;
      break;
    case kCodeFontFace:
      b.face = std::clamp(DecodeSmallValue(a[0]), 0, 3);
      break;
    case kCodeLineSpacing:
      spacing_ = DecodeWideValue(a[0], a[1]) - 32000;
      spacingSet_ = true;
      break;
    case kCodeAlignLeft:
    case kCodeAlignCenter:
    case kCodeAlignRight:
      align_ = code - kCodeAlignLeft;
      break;
    case kCodeIcon:
      Icon(DecodeWideValue(a[0], a[1]));
      break;
    case kCodeImage:
      Image();
      break;
    default:  // the offsets of codes 24 and 25 move nothing; unknown codes are skipped
      break;
  }
  return true;
}

bool LayoutPass::OnScreen(int32_t sizeX, int32_t sizeY, int32_t offsetY) const {
  const int32_t right = kScreenTilesX * t_ * scale_;
  const int32_t bottom = kScreenTilesY * t_ * scale_;
  if (unitFactors_) {
    const int32_t x = b_.originX + b_.penX;
    const int32_t y = b_.originY + offsetY;
    return -(sizeX + 2 * t_) * scale_ < x && x < right && -(sizeY + 2 * t_) * scale_ < y && y < bottom;
  }
  const double x = b_.originX + b_.penX * sx_;
  const double y = b_.originY + offsetY * sy_;
  return -(sizeX * sx_ + 2 * t_) * scale_ < x && x < right && -(sizeY * sy_ + 2 * t_) * scale_ < y && y < bottom;
}

void LayoutPass::DrawText(int32_t x, int32_t y, const char* text, int32_t font, uint32_t colour) const {
  if (unitFactors_) {
    if (shadow_) DrawTextLineWithFont(x + 1, y + 1, text, black_, font, 0, 0);
    DrawTextLineWithFont(x, y, text, colour, font, 0, 0);
  } else {
    if (shadow_) DrawTextLineScaled(x + 1, y + 1, sx_, sy_, text, black_, font, 0, 0);
    DrawTextLineScaled(x, y, sx_, sy_, text, colour, font, 0, 0);
  }
}

void LayoutPass::Character(const char* c, int32_t n) {
  TextBlock& b = b_;
  h_ = std::max(h_, b.fontSize);
  const int32_t font = Font(b.fontSize);
  if (draw_ && OnScreen(b.fontSize, b.fontSize, b.penY + h_ - b.fontSize)) {
    const char glyph[3] = {c[0], n == 2 ? c[1] : '\0', '\0'};
    DrawText(ScreenX(b.penX), ScreenY(b.penY + h_ - b.fontSize), glyph, font, TextColor(b.colorIndex));
  }
  b.penX += GetTextWidthWithFont(c, n, font, 0) - squeeze_ * scale_ - (n * letterSqueeze_ * scale_) / 2;
  if (!draw_) {
    b.RecordLine(h_);
    if (b.choiceBlock) b.lineHeights.resize(static_cast<size_t>(std::max(SystemStateHub.choiceCount, 0)), 0);
  }
}

void LayoutPass::LineEnd() {
  TextBlock& b = b_;
  const size_t line = static_cast<size_t>(b.line);
  b.penX = 0;
  b.penY += h_ * scale_;
  if (b.choiceBlock && b.lineHeights.size() < line + 1) b.lineHeights.resize(line + 1, 0);
  // No spacing after a line that holds nothing.
  if (line < b.lineHeights.size() && b.lineHeights[line] != 0) {
    b.penY += spacingSet_ ? (spacing_ * scale_ * t_) / 32 : (lineSpacing_ * t_ / 32) * scale_;
  }
  ++b.line;
  h_ = 0;
  if (b.choiceBlock) return;
  h_ = b.fontSize;
  if (b.lineHeights.size() < line + 2) b.lineHeights.resize(line + 2, 0);
  if (!draw_) b.lineHeights[line + 1] = b.fontSize * scale_;
}

template <typename Each>
void LayoutPass::WalkTo(char end, Each each) {
  TextBlock& b = b_;
  while (b.position < length_) {
    const int32_t start = b.position;
    if (start == length_ - 1) {
      b.position = length_;
      return;
    }
    const int32_t n = ShiftJisCharLengthIn(text_ + start, static_cast<size_t>(length_ - start));
    b.position += n;
    if (n == 1 && text_[start] == end) return;
    each(text_ + start, n);
  }
}

void LayoutPass::Ruby() {
  TextBlock& b = b_;
  h_ = std::max(h_, b.fontSize);
  if (!draw_) b.RecordLine(h_);
  const int32_t savedColor = b.colorIndex;
  const int32_t savedSize = b.fontSize;
  const int32_t base = b.penX;
  const int32_t baseFont = Font(b.fontSize);
  WalkTo(',', [&](const char* c, int32_t n) {
    if (draw_) {
      const char glyph[3] = {c[0], n == 2 ? c[1] : '\0', '\0'};
      DrawText(ScreenX(b.penX), ScreenY(b.penY + h_ - b.fontSize), glyph, baseFont, TextColor(b.colorIndex));
    }
    const int32_t advance =
        GetTextWidthWithFont(c, n, baseFont, 0) - squeeze_ * scale_ - (n * letterSqueeze_ * scale_) / 2;
    b.penX += std::max(advance, 0);
  });
  const int32_t rubySize = t_ == 32 ? 10 : 5;
  b.fontSize = rubySize;
  const int32_t rubyFont = Font(rubySize);
  std::string ruby;
  std::vector<int32_t> starts;
  WalkTo(']', [&](const char* c, int32_t n) {
    starts.push_back(static_cast<int32_t>(ruby.size()));
    ruby.append(c, static_cast<size_t>(n));
  });
  if (draw_) {
    const int32_t y = b.originY + TruncateToInt32((h_ - savedSize + b.penY - rubySize * scale_) * sy_);
    const int32_t w = GetTextWidthWithFont(ruby.data(), static_cast<int32_t>(ruby.size()), rubyFont, 0);
    const int32_t span = b.penX - base;
    const int32_t offset = b.originX + AlignmentOffset();
    b.colorIndex = kRubyColor;
    const uint32_t colour = TextColor(kRubyColor);
    if (w > span) {
      DrawText(offset + TruncateToInt32((((base + b.penX) / 2) - w / 2) * sx_), y, ruby.c_str(), rubyFont, colour);
    } else {
      // Spread: one character centred in each equal slot of the base.
      const int32_t k = static_cast<int32_t>(starts.size());
      for (int32_t i = 0; i < k; ++i) {
        const int32_t from = starts[static_cast<size_t>(i)];
        const int32_t n = (i + 1 < k ? starts[static_cast<size_t>(i) + 1] : static_cast<int32_t>(ruby.size())) - from;
        const int32_t wi = GetTextWidthWithFont(ruby.data() + from, n, rubyFont, 0);
        const int32_t xi = (span / k - wi) / 2 + TruncateToInt32(span * (static_cast<double>(i) / k)) + base;
        const std::string glyph = ruby.substr(static_cast<size_t>(from), static_cast<size_t>(n));
        DrawText(offset + TruncateToInt32(xi * sx_), y, glyph.c_str(), rubyFont, colour);
      }
    }
    Reveal();
  }
  b.colorIndex = savedColor;
  b.fontSize = savedSize;
  if (!draw_) b.RecordLine(h_);
}

void LayoutPass::Icon(int32_t number) {
  EnsurePixelWidthFor(b_.line);
  const TextResources& r = TextResourcesHub;
  if (number < 0 || number > kMaxIcon || static_cast<size_t>(number) >= r.iconHandles.size()) return;
  const size_t n = static_cast<size_t>(number);
  const int32_t graphic = r.iconHandles[n];
  if (graphic <= 0) return;
  Item(graphic, TextBlock::TableEntry(r.iconWidths, number), TextBlock::TableEntry(r.iconHeights, number));
}

void LayoutPass::Image() {
  EnsurePixelWidthFor(b_.line);
  std::string name;
  WalkTo(']', [&](const char* c, int32_t n) { name.append(c, static_cast<size_t>(n)); });
  name = RewriteEscapes(name);
  LoadGraphic(name, 1, 1, 0);
  const int32_t graphic = CachedGraphics.Piece(CachedGraphics.IndexOf(name), 0);
  if (graphic <= 0) return;
  int32_t w = 0, g = 0;
  GetGraphicSize(graphic, &w, &g);
  Item(graphic, w, g);
  if (draw_) Reveal();  // the name's characters show with the image
}

void LayoutPass::Item(int32_t graphic, int32_t w, int32_t g) {
  TextBlock& b = b_;
  h_ = std::max(h_, g);
  if (draw_ && OnScreen(w, g, b.penY + h_ - g)) {
    const int32_t x1 = ScreenX(b.penX);
    const int32_t y1 = ScreenY(b.penY + h_ - g);
    const int32_t x2 = x1 + TruncateToInt32(w * scale_ * sx_);
    const int32_t y2 = ScreenY(b.penY + h_ + (t_ == 16 ? g : 0));
    DrawGraphicStretched(x1, y1, x2, y2, graphic, 1);
  }
  b.penX += scale_ * (w - squeeze_);
  if (!draw_) b.RecordLine(h_);
}

}  // namespace

void TextBlock::Layout(int32_t mode, double scaleX, double scaleY) {
  if (sourceText.empty()) return;
  if (sourceText != takenText) ResetLayout();
  LayoutPass(*this, mode != kMeasure, scaleX, scaleY).Run();
}
