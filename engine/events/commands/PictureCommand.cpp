// The picture command: shows, moves and erases pictures over a range of
// numbers and cancels their delayed operations. The pictures do the work;
// the command reads and converts its arguments.

#include <algorithm>

#include "engine/events/EventInterpreter.h"
#include "engine/events/PictureHooks.h"
#include "engine/events/commands/CommandArguments.h"
#include "engine/events/variables/EscapeExpander.h"

namespace {

// Later arguments are read only when the command has them.
bool Has(const EventCommand& command, size_t i) { return i < command.arguments.size(); }

std::string StringArgument(const EventCommand& command, size_t i) {
  return i < command.strings.size() ? command.strings[i] : std::string();
}

constexpr int32_t kNeutralColor = 6579300;  // 100, 100, 100: no change
constexpr int32_t kRangeFlag = 0x1000000;
constexpr int32_t kFollowMapFlag = 0x2000000;

enum Operation : int32_t { kShow = 0, kMove = 1, kErase = 2, kCancel = 3 };
enum Source : int32_t { kFile = 0, kFileVariable = 1, kText = 2, kFrame = 3, kFrameVariable = 4 };

}  // namespace

bool EventInterpreter::DoPictureCommand() {
  const EventCommand& command = Current();
  const int32_t word = ArgumentOf(command, 1);
  const int32_t operation = word & 15;
  const PictureHooks& pictures = CurrentPictureHooks();

  int32_t color = kNeutralColor;
  int32_t delay = 0;
  size_t rangeEnd = 15;
  if (operation == kShow || operation == kMove) {
    if (Has(command, 13)) color = ArgumentOf(command, 13);
    if (Has(command, 14)) delay = GetArgValue(ArgumentOf(command, 14));
  } else if (operation == kErase) {
    if (Has(command, 4)) delay = GetArgValue(ArgumentOf(command, 4));
    if (Has(command, 5)) color = ArgumentOf(command, 5);
    rangeEnd = 6;
  } else {
    rangeEnd = 3;
  }

  const int32_t v = GetArgValue(ArgumentOf(command, 2));
  int32_t first = v;
  int32_t last = v;
  if ((word & kRangeFlag) && Has(command, rangeEnd)) {
    const int32_t end = GetArgValue(ArgumentOf(command, rangeEnd));
    first = std::min(v, end);
    last = std::max(v, end);
  }

  PictureRequest r;
  r.first = first;
  r.last = last;
  r.color = color;
  r.delay = delay;
  switch (operation) {
    case kShow:
    case kMove: {
      r.blend = (word >> 8) & 15;
      r.relative = ((word >> 16) & 15) == 1;
      r.zoomMode = (word >> 20) & 15;
      const int32_t source = (word >> 4) & 15;
      if (operation == kShow) {
        if (source > kFrameVariable) break;
        r.anchor = (word >> 12) & 15;
        if (word & kFollowMapFlag) r.blend |= 0x100;
        if (source != kText) {
          r.divX = GetArgValue(ArgumentOf(command, 4));
          r.divY = GetArgValue(ArgumentOf(command, 5));
        }
      }
      r.x = GetArgValue(ArgumentOf(command, 8));
      r.y = GetArgValue(ArgumentOf(command, 9));
      r.pattern = GetArgValue(ArgumentOf(command, 6));
      r.opacity = GetArgValue(ArgumentOf(command, 7));
      r.frames = GetArgValue(ArgumentOf(command, 3));
      r.zoom = GetArgValue(ArgumentOf(command, 10));
      r.angle = GetArgValue(ArgumentOf(command, 11));
      if (operation == kMove) {
        pictures.move(r);
      } else if (source == kText) {
        r.text = ExpandMessageText(StringArgument(command, 0), mapEventId, commonEventNumber, mapId, false, false, "",
                                   "", true);
        pictures.showText(r);
      } else {
        r.ninePiece = source == kFrame || source == kFrameVariable;
        r.text = (source == kFileVariable || source == kFrameVariable)
                     ? RewriteEscapes(GetArgString(ArgumentOf(command, 12)))
                     : StringArgument(command, 0);
        pictures.show(r);
      }
      break;
    }
    case kErase: pictures.erase(first, last, GetArgValue(ArgumentOf(command, 3)), delay, color); break;
    case kCancel: pictures.cancelDelays(first, last); break;
    default: break;
  }
  return true;
}
