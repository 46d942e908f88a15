#pragma once
// Delayed picture operations as they wait in a picture's queue, and back:
// element 0 the delay, element 1 the kind, then the operation's integers in
// the order it takes them (the relative flag stored as 1 or 0).

#include <cstdint>
#include <string>

#include "engine/presentation/pictures/Picture.h"

QueuedPictureOperation QueuedShow(const std::string& text, const PictureShowArguments& a, int32_t kind);
QueuedPictureOperation QueuedMove(const PictureMoveArguments& a);
QueuedPictureOperation QueuedErase(int32_t frames, int32_t delay, int32_t color);

// The arguments of a queued operation, delay 0.
PictureShowArguments ShowArgumentsOf(const QueuedPictureOperation& operation);
PictureMoveArguments MoveArgumentsOf(const QueuedPictureOperation& operation);
