// Drawing of a key-input field: its text, its cursor and, for the active
// field, the input method's composition with its clauses and candidates,
// all wrapped at the draw region's right edge.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "runtime/Movan.h"
#include "runtime/platform/input/InputMethod.h"
#include "runtime/platform/input/TextInput.h"
#include "runtime/platform/system/PlatformState.h"

namespace {

constexpr int kCandidatesPerPage = 5;

// 3D drawing is off while the field draws; what was active comes back.
class Without3D {
 public:
  Without3D() : was_(IsDirect3DPathActive()) { Enable3DDrawing(0); }
  ~Without3D() { Enable3DDrawing(was_); }
  Without3D(const Without3D&) = delete;
  Without3D& operator=(const Without3D&) = delete;

 private:
  int was_;
};

uint32_t Color(int which) { return static_cast<uint32_t>(gPlatform.textInput.colors[which]); }

int FontSize(int font) {
  const int s = QueryFontSize(font);
  return s > 0 ? s : 0;
}

int LineHeight(int s) { return s + 3 * (s / 10); }

int Width(const char* text, int bytes, int font) {
  const int w = GetTextWidthWithFont(text, bytes, font, 0);
  return w > 0 ? w : 0;
}

int32_t Clamped(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Where a wrapped draw starts: inside the region, moved down a line and
// left by the region's width while it lies right of the region. False when
// nothing can be shown (an empty region).
bool WrapStart(const IntRect& r, int lineHeight, int64_t* x, int64_t* y) {
  const int64_t width = int64_t{r.right} - r.left;
  if (width <= 0 || r.bottom <= r.top) return false;
  *x = std::max<int64_t>(*x, r.left);
  *y = std::max<int64_t>(*y, r.top);
  if (*x >= r.right) {
    const int64_t lines = (*x - r.left) / width;
    *x -= lines * width;
    *y += lines * int64_t{lineHeight};
  }
  return true;
}

// Draws the text at (x, y) and again, one line lower and one region width
// to the left, while a part of it is cut off at the region's right edge.
// Every line moves the text left by the region's width, and lines below the
// region show nothing, so the loop ends.
void DrawWrappedText(int x, int y, const char* text, uint32_t colour, uint32_t edge) {
  Without3D no3D;
  const int font = GetDefaultFont();
  const int s = FontSize(font);
  IntRect r = {};
  GetDrawRegion(&r);
  int64_t px = x;
  int64_t py = y;
  if (!WrapStart(r, LineHeight(s), &px, &py)) return;
  const int64_t width = int64_t{r.right} - r.left;
  const int w = Width(text, -1, font);
  for (;;) {
    if (py >= r.bottom) return;
    DrawTextLineWithFont(Clamped(px), Clamped(py), text, colour, font, edge, 0);
    if (px + w <= r.right) return;
    px -= width;
    py += LineHeight(s);
  }
}

// The same for a filled box from (x1, y1) to (x2, y2).
void DrawWrappedBox(int x1, int y1, int x2, int y2, uint32_t colour) {
  Without3D no3D;
  const int s = FontSize(GetDefaultFont());
  IntRect r = {};
  GetDrawRegion(&r);
  int64_t px = x1;
  int64_t py = y1;
  const int64_t w = int64_t{x2} - x1;
  const int64_t h = int64_t{y2} - y1;
  if (w <= 0 || h <= 0 || !WrapStart(r, LineHeight(s), &px, &py)) return;
  const int64_t width = int64_t{r.right} - r.left;
  for (;;) {
    if (py >= r.bottom) return;
    DrawRectangle(Clamped(px), Clamped(py), Clamped(px + w), Clamped(py + h), colour, 1);
    if (px + w <= r.right) return;
    px -= width;
    py += LineHeight(s);
  }
}

// Bytes of the first n characters of text.
int CharsToBytes(const char* text, int n) {
  int bytes = 0;
  for (int i = 0; i < n && text[bytes] != '\0'; ++i) bytes += ShiftJisCharLength(text + bytes);
  return bytes;
}

const char* CandidateText(const CandidateList& list, int i) {
  const int32_t at = list.offsets[i];
  return at >= 0 && at < kCandidateTextBytes ? list.text + at : "";
}

// Bytes a candidate's text may take: up to its NUL or the list's end.
int CandidateRoom(const CandidateList& list, int i) {
  const int32_t at = list.offsets[i];
  return at >= 0 && at < kCandidateTextBytes ? kCandidateTextBytes - at : 0;
}

void DrawCandidateWindow(int cursorX, int y, int s, int perPage, const IntRect& region) {
  const CandidateList& list = gPlatform.textInput.candidates;
  const int font = GetDefaultFont();
  const int count = std::min(list.count, kCandidates);
  const int selection = std::clamp(list.selection, 0, count - 1);
  const int pageStart = perPage * (selection / perPage);
  const int lines = std::min(perPage, count - pageStart);
  char text[kCandidatesPerPage + 1][kCompositionBytes + 16];
  int widest = 0;
  for (int k = 0; k < lines; ++k) {
    std::snprintf(text[k], sizeof text[k], "%d:%.*s", k + 1, CandidateRoom(list, pageStart + k),
                  CandidateText(list, pageStart + k));
    widest = std::max(widest, Width(text[k], -1, font));
  }
  std::snprintf(text[lines], sizeof text[lines], "%d/%d", selection + 1, count);
  const int countWidth = Width(text[lines], -1, font);
  widest = std::max(widest, countWidth);
  const int margin = s / 3;
  int64_t left = cursorX;
  int64_t top = int64_t{y} + s + s / 2;
  int64_t right = left + widest + 2 * margin;
  int64_t bottom = int64_t{y} + int64_t{s} * (lines + 2) + s / 2 + 2 * margin;
  if (bottom > region.bottom) {
    const int64_t height = bottom - top;
    if (y - height < region.top) {
      top -= bottom - region.bottom;
      bottom = region.bottom;
    } else {
      top = y - height;
      bottom = y;
    }
  }
  if (right > region.right) {
    left -= right - region.right;
    right = region.right;
  }
  DrawRectangle(Clamped(left), Clamped(top), Clamped(right), Clamped(bottom), Color(kInputCandidateBackground), 1);
  DrawRectangle(Clamped(left), Clamped(top), Clamped(right), Clamped(bottom), Color(kInputCandidateFrame), 0);
  for (int k = 0; k < lines; ++k) {
    const bool selected = pageStart + k == selection;
    DrawTextLineWithFont(Clamped(left + margin), Clamped(top + margin + int64_t{k} * s), text[k],
                         Color(selected ? kInputSelected : kInputText), font,
                         Color(selected ? kInputSelectedEdge : kInputEdge), 0);
  }
  DrawTextLineWithFont(Clamped(right - margin - countWidth), Clamped(top + margin + int64_t{lines} * s), text[lines],
                       Color(kInputText), font, Color(kInputEdge), 0);
}

void DrawImeComposition(int x, int y, int perPage) {
  const TextInputState& t = gPlatform.textInput;
  if (!t.imeEnabled || t.composition[0] == '\0') return;
  Without3D no3D;
  const int font = GetDefaultFont();
  const int s = FontSize(font);
  const int d = s / 10;
  IntRect region = {};
  GetDrawRegion(&region);
  x = std::max(x, region.left);
  y = std::max(y, region.top);
  const char* comp = t.composition;
  const int length = static_cast<int>(std::strlen(comp));
  const int compWidth = Width(comp, -1, font);
  DrawWrappedBox(x, y, Clamped(int64_t{x} + compWidth), Clamped(int64_t{y} + s), Color(kInputComposition));

  const int cursorBytes = CharsToBytes(comp, t.compositionCursor);
  const int clauses = std::clamp(t.clauseCount, 0, kClauseOffsets);
  auto offsetX = [&](int32_t offset) {
    return Clamped(int64_t{x} + Width(comp, std::clamp(offset, 0, length), font));
  };
  if (clauses != 2) {
    for (int i = 0; i + 1 < clauses; ++i) {
      if (t.clauseOffsets[i] != cursorBytes) continue;
      DrawWrappedBox(offsetX(t.clauseOffsets[i]), y, offsetX(t.clauseOffsets[i + 1]), Clamped(int64_t{y} + s),
                     Color(kInputSelected));
      break;
    }
  }
  DrawWrappedText(x, y, comp, 0, Color(kInputComposition));

  const int cursorX = Clamped(int64_t{x} + Width(comp, cursorBytes, font));
  if (t.candidates.count <= 0) {
    DrawWrappedBox(cursorX, y, Clamped(int64_t{cursorX} + 2), Clamped(int64_t{y} + s), Color(kInputCompositionCursor));
  }
  int previous = x;
  for (int i = 0; i < clauses; ++i) {
    const int at = offsetX(t.clauseOffsets[i]);
    DrawWrappedBox(Clamped(int64_t{previous} + 2 * d), Clamped(int64_t{y} + s + d), Clamped(int64_t{at} - 2 * d),
                   Clamped(int64_t{y} + s + 2 * d), Color(kInputClauseUnderline));
    previous = at;
  }
  if (t.candidates.count > 0) DrawCandidateWindow(cursorX, y, s, perPage, region);
}

}  // namespace

void SetDefaultTextInputColors() {
  int64_t* c = gPlatform.textInput.colors;
  c[kInputText] = PackColor(255, 255, 255);
  c[kInputCursor] = PackColor(255, 255, 255);
  c[kInputComposition] = PackColor(255, 255, 0);
  c[kInputCompositionCursor] = PackColor(0, 255, 255);
  c[kInputClauseUnderline] = PackColor(255, 255, 255);
  c[kInputSelected] = PackColor(255, 0, 0);
  c[kInputUnused7] = PackColor(255, 255, 20);
  c[kInputEdge] = PackColor(0, 0, 0);
  c[kInputSelectedEdge] = PackColor(0, 0, 0);
  c[kInputUnused10] = PackColor(0, 0, 0);
  c[kInputCandidateFrame] = c[kInputComposition];
  c[kInputCandidateBackground] = PackColor(0, 0, 0);
}

int SetTextInputColors(int64_t text, int64_t cursor, int64_t composition, int64_t compositionCursor,
                       int64_t clauseUnderline, int64_t selected, int64_t unused7, int64_t edge,
                       int64_t selectedEdge, int64_t unused10, int64_t candidateFrame,
                       int64_t candidateBackground) {
  const int64_t given[kInputColorCount] = {text,       cursor,       composition, compositionCursor,
                                           clauseUnderline, selected, unused7,     edge,
                                           selectedEdge, unused10,    candidateFrame, candidateBackground};
  int64_t* c = gPlatform.textInput.colors;
  for (int i = 0; i < kInputColorCount; ++i) {
    if (given[i] != -1) c[i] = given[i];
  }
  if (candidateFrame == -1 && composition != -1) c[kInputCandidateFrame] = composition;
  if (candidateBackground == -1) c[kInputCandidateBackground] = PackColor(0, 0, 0);
  return 0;
}

int DrawTextInput(int x, int y, int handle) {
  TextInputState& t = gPlatform.textInput;
  const TextInputEntry* entry = t.entries.Find(handle);
  if (!entry || entry->ended) return -1;
  Without3D no3D;
  const int font = GetDefaultFont();
  const int s = FontSize(font);
  const int cursor = std::clamp(entry->cursor, 0, entry->length);
  const int cursorX = Clamped(int64_t{x} + Width(entry->text, cursor, font));
  DrawWrappedBox(cursorX, y, Clamped(int64_t{cursorX} + 2), Clamped(int64_t{y} + s), Color(kInputCursor));
  DrawWrappedText(x, y, entry->text, Color(kInputText), Color(kInputEdge));
  if (t.activeHandle == handle) DrawImeComposition(cursorX, y, kCandidatesPerPage);
  return 0;
}
