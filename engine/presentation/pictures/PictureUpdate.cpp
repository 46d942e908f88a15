// One frame of a picture: its queue of delayed operations, its text reveal,
// its fade-out or its effects and transition.

#include <algorithm>

#include "engine/presentation/PresentationSettings.h"
#include "engine/presentation/pictures/Picture.h"
#include "engine/presentation/pictures/PictureQueue.h"

namespace {

int32_t Arg(const QueuedPictureOperation& op, size_t i) {
  return i < op.arguments.size() ? op.arguments[i] : 0;
}

}  // namespace

QueuedPictureOperation QueuedShow(const std::string& text, const PictureShowArguments& a, int32_t kind) {
  const int32_t relative = a.relative ? 1 : 0;
  if (kind == QueuedPictureOperation::kShowText) {
    return {text, {a.delay, kind, a.x, a.y, a.pattern, a.opacity, a.blend, a.frames, a.zoomX, a.zoomY, a.angle,
                   a.anchor, a.color, relative}};
  }
  return {text, {a.delay, kind, a.divX, a.divY, a.x, a.y, a.pattern, a.opacity, a.blend, a.frames, a.zoomX, a.zoomY,
                 a.angle, a.anchor, a.color, relative}};
}

QueuedPictureOperation QueuedMove(const PictureMoveArguments& a) {
  return {"", {a.delay, QueuedPictureOperation::kMove, a.x, a.y, a.pattern, a.opacity, a.blend, a.frames, a.zoomX,
               a.zoomY, a.angle, a.color, a.relative ? 1 : 0}};
}

QueuedPictureOperation QueuedErase(int32_t frames, int32_t delay, int32_t color) {
  return {"", {delay, QueuedPictureOperation::kErase, frames, color}};
}

PictureShowArguments ShowArgumentsOf(const QueuedPictureOperation& op) {
  PictureShowArguments a;
  size_t i = 2;
  if (Arg(op, 1) != QueuedPictureOperation::kShowText) {
    a.divX = Arg(op, i++);
    a.divY = Arg(op, i++);
  }
  a.x = Arg(op, i++);
  a.y = Arg(op, i++);
  a.pattern = Arg(op, i++);
  a.opacity = Arg(op, i++);
  a.blend = Arg(op, i++);
  a.frames = Arg(op, i++);
  a.zoomX = Arg(op, i++);
  a.zoomY = Arg(op, i++);
  a.angle = Arg(op, i++);
  a.anchor = Arg(op, i++);
  a.color = Arg(op, i++);
  a.relative = Arg(op, i) == 1;
  a.delay = 0;
  return a;
}

PictureMoveArguments MoveArgumentsOf(const QueuedPictureOperation& op) {
  PictureMoveArguments a;
  a.x = Arg(op, 2);
  a.y = Arg(op, 3);
  a.pattern = Arg(op, 4);
  a.opacity = Arg(op, 5);
  a.blend = Arg(op, 6);
  a.frames = Arg(op, 7);
  a.zoomX = Arg(op, 8);
  a.zoomY = Arg(op, 9);
  a.angle = Arg(op, 10);
  a.color = Arg(op, 11);
  a.relative = Arg(op, 12) == 1;
  a.delay = 0;
  return a;
}

void Picture::Run(const QueuedPictureOperation& op) {
  switch (Arg(op, 1)) {
    case QueuedPictureOperation::kShowImage:
    case QueuedPictureOperation::kShowNinePiece: Show(op.text, ShowArgumentsOf(op), Arg(op, 1)); break;
    case QueuedPictureOperation::kShowText: ShowText(op.text, ShowArgumentsOf(op)); break;
    case QueuedPictureOperation::kMove: Move(MoveArgumentsOf(op)); break;
    case QueuedPictureOperation::kErase: Erase(Arg(op, 2), 0, Arg(op, 3)); break;
    default: break;
  }
}

void Picture::Update() {
  const int32_t step = PresentationFrameStep();
  // An entry queued with delay d runs in the update d frames after the
  // command (at frame step 1).
  for (size_t i = 0; i < queue.size();) {
    int32_t& delay = queue[i].arguments[0];
    if (delay > 0) delay = std::max(delay, INT32_MIN + step) - step;
    if (delay > 0) {
      ++i;
      continue;
    }
    const QueuedPictureOperation op = std::move(queue[i]);
    queue.erase(queue.begin() + static_cast<std::ptrdiff_t>(i));
    Run(op);
  }
  if (isText) text.AdvanceReveal();
  if (erasing) {
    framesLeft = std::max(framesLeft, INT32_MIN + step) - step;
    if (framesLeft <= 0) MarkErased();
    return;
  }
  effects.Advance();
  CountDelay();
}
