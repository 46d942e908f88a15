// The hero's part of a save body: its character, the followers, whether
// they walk in step, and the step history they follow.

#include "engine/map/Hero.h"

bool Hero::Save(SaveBuffer& out) const {
  SaveCharacter(out);
  out.WriteI32(static_cast<int32_t>(followers.size()));
  for (const MapCharacter& follower : followers) follower.SaveCharacter(out);
  out.WriteU8(followersInStep);
  out.WriteU8(stepped);
  out.WriteI32(static_cast<int32_t>(stepHistory.size()));
  out.WriteBytes(stepHistory.data(), static_cast<int64_t>(stepHistory.size()) * 4);
  return !out.Overrun();
}

bool Hero::Load(ByteCursor& in) {
  if (!LoadCharacter(in)) return false;
  // Every saved follower is read; the party keeps its five, fresh ones
  // standing in for any the save lacks.
  int32_t count = 0;
  if (!in.ReadCount(count, MinimumSaveBytes())) return false;
  const Hero fresh(extraBytes.empty() ? 0 : extraBytes[0]);
  followers = fresh.followers;
  for (int32_t i = 0; i < count; ++i) {
    MapCharacter follower = i < kFollowerCount ? fresh.followers[static_cast<size_t>(i)] : MapCharacter();
    if (!follower.LoadCharacter(in)) return false;
    if (i < kFollowerCount) followers[static_cast<size_t>(i)] = follower;
  }
  in.ReadU8(followersInStep);
  in.ReadU8(stepped);
  return in.ReadI32List(stepHistory);
}

void Hero::TakeSavedState(const Hero& saved) {
  TakeSavedFields(saved);
  for (size_t i = 0; i < followers.size() && i < saved.followers.size(); ++i) {
    followers[i].TakeSavedFields(saved.followers[i]);
  }
  followersInStep = saved.followersInStep;
  stepped = saved.stepped;
  stepHistory = saved.stepHistory;
}
