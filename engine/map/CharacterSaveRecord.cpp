// A character's part of a save body. Only the fields below are kept: a
// character loads standing on its saved position, with its animation, jump,
// effect and shake state fresh.

#include "engine/map/MapCharacter.h"

namespace {

// The smallest record: every fixed field, an empty name, two routes without
// steps, an empty list.
constexpr int64_t kMinimumBytes = 4 * 4 + 1 + 4 + (2 + 1) + 4 * 2 + 2 + 2 * (6 + 4) + 6 * 2 + 3 + 4;

bool WriteShortName(SaveBuffer& out, const std::string& name) {
  if (name.size() >= INT16_MAX) return out.Fail();
  return out.WriteI16(static_cast<int16_t>(name.size() + 1)) &&
         out.WriteBytes(name.c_str(), static_cast<int64_t>(name.size()) + 1);
}

}  // namespace

int64_t MapCharacter::MinimumSaveBytes() { return kMinimumBytes; }

bool MapCharacter::SaveCharacter(SaveBuffer& out) const {
  out.WriteI32(id);
  out.WriteI32(preciseX);
  out.WriteI32(preciseY);
  out.WriteI32(height);
  out.WriteU8(erased);
  out.WriteI32(graphicId);
  WriteShortName(out, graphicFile);
  for (int16_t v : {opacity, blend, direction, pattern}) out.WriteI16(v);
  out.WriteU8(forcedRoute);
  out.WriteU8(passThrough);
  route.Write(out);
  savedRoute.Write(out);
  for (int16_t v : {moveType, moveSpeed, moveFrequency, animSpeed}) out.WriteI16(v);
  // Route positions take 16 bits: a route holds at most 65536 steps.
  out.WriteU16(static_cast<uint16_t>(routeIndex));
  out.WriteU16(static_cast<uint16_t>(savedRouteIndex));
  out.WriteU8(directionFixed);
  out.WriteU8(alwaysAbove);
  out.WriteU8(talking);
  out.WriteI32(static_cast<int32_t>(reservedList.size()));
  out.WriteBytes(reservedList.data(), static_cast<int64_t>(reservedList.size()) * 4);
  return !out.Overrun();
}

bool MapCharacter::LoadCharacter(ByteCursor& in) {
  in.ReadI32(id);
  in.ReadI32(preciseX);
  in.ReadI32(preciseY);
  in.ReadI32(height);
  in.ReadU8(erased);
  in.ReadI32(graphicId);
  in.ReadTerminatedString(graphicFile, 2);
  for (int16_t* v : {&opacity, &blend, &direction, &pattern}) in.ReadI16(*v);
  in.ReadU8(forcedRoute);
  in.ReadU8(passThrough);
  if (!in.Overrun()) route.Read(in);
  if (!in.Overrun()) savedRoute.Read(in);
  for (int16_t* v : {&moveType, &moveSpeed, &moveFrequency, &animSpeed}) in.ReadI16(*v);
  uint16_t index = 0;
  if (in.ReadU16(index)) routeIndex = index;
  if (in.ReadU16(index)) savedRouteIndex = index;
  in.ReadU8(directionFixed);
  in.ReadU8(alwaysAbove);
  in.ReadU8(talking);
  in.ReadI32List(reservedList);
  if (in.Overrun()) return false;
  quarterX = StandX();
  quarterY = StandY();
  return true;
}

void MapCharacter::TakeSavedFields(const MapCharacter& saved) {
  id = saved.id;
  preciseX = saved.preciseX;
  preciseY = saved.preciseY;
  height = saved.height;
  erased = saved.erased;
  graphicId = saved.graphicId;
  graphicFile = saved.graphicFile;
  opacity = saved.opacity;
  blend = saved.blend;
  direction = saved.direction;
  pattern = saved.pattern;
  forcedRoute = saved.forcedRoute;
  passThrough = saved.passThrough;
  route = saved.route;
  savedRoute = saved.savedRoute;
  moveType = saved.moveType;
  moveSpeed = saved.moveSpeed;
  moveFrequency = saved.moveFrequency;
  animSpeed = saved.animSpeed;
  routeIndex = saved.routeIndex;
  savedRouteIndex = saved.savedRouteIndex;
  directionFixed = saved.directionFixed;
  alwaysAbove = saved.alwaysAbove;
  talking = saved.talking;
  reservedList = saved.reservedList;
  quarterX = StandX();
  quarterY = StandY();
}
