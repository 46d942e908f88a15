// The root runner's block of values in a save body. Fields are written in the
// newest layout; the reader takes a field only when the save's version has it,
// so that a field missing from an older save keeps its default.

#include <algorithm>

#include "engine/data/database/Databases.h"
#include "engine/events/variables/RootEventRunner.h"
#include "runtime/Movan.h"
#include "runtime/ShiftJis.h"

namespace {

constexpr int32_t kNewestVersion = 111;

// Sounds played by file name sit in the last records of their type; their
// entry is saved as this marker so that the file name is played again.
constexpr int32_t kPlayedByFileName = -3;

int32_t SavedSoundEntry(int32_t entry, int32_t type) {
  if (entry < 0) return entry;
  return int64_t{entry} >= int64_t{SystemDatabase.GetDataCount(type)} - kSpareSoundRecords ? kPlayedByFileName : entry;
}

// The text at most `limit` bytes with its terminator, cut at a character
// boundary, so that every record written reads back.
std::string CutText(const std::string& text, int32_t limit) {
  const std::string whole(text.c_str());  // up to the first NUL, as the reader takes it
  if (whole.size() < static_cast<size_t>(limit)) return whole;
  return whole.substr(0, ShiftJisCutLength(whole.data(), static_cast<size_t>(limit - 1)));
}

bool WriteShortText(SaveBuffer& out, const std::string& text) {
  const std::string cut = CutText(text, RootEventRunner::kMaxSavedShortText);
  return out.WriteI16(static_cast<int16_t>(cut.size() + 1)) &&
         out.WriteBytes(cut.c_str(), static_cast<int64_t>(cut.size()) + 1);
}

bool WriteI32s(SaveBuffer& out, const int32_t* values, int n) {
  for (int i = 0; i < n; ++i) {
    if (!out.WriteI32(values[i])) return false;
  }
  return true;
}

bool WriteI16s(SaveBuffer& out, const int16_t* values, int n) {
  for (int i = 0; i < n; ++i) {
    if (!out.WriteI16(values[i])) return false;
  }
  return true;
}

bool ReadI16s(SaveBuffer& in, int16_t* values, int n) {
  for (int i = 0; i < n; ++i) {
    if (!in.ReadI16(values[i])) return false;
  }
  return true;
}

}  // namespace

bool RootEventRunner::WriteState(SaveBuffer& out) const {
  bool ok = out.WriteU8(reservedBytes[0]) && out.WriteU8(reservedBytes[1]) && out.WriteI32(playSeconds) &&
            out.WriteI32(reservedValue) && out.WriteI32(SavedSoundEntry(currentMusicEntry, 1)) &&
            out.WriteI32(SavedSoundEntry(currentBackgroundSoundEntry, 2)) &&
            out.WriteBytes(&drawCreditPerFrame, 4) && out.WriteI32(frameSkipMode) &&
            WriteI32s(out, systemValues0To4, 5) && WriteI32s(out, systemValues17To19, 3) &&
            out.WriteI32(choiceCursor) && WriteI16s(out, currentTone, 3) && WriteI16s(out, targetTone, 3) &&
            WriteI16s(out, startTone, 3) && out.WriteI16(toneCounter) && out.WriteI16(toneTotal) &&
            WriteI16s(out, flashColor, 3) && out.WriteI16(flashCounter) && out.WriteI16(flashTotal) &&
            out.WriteI32(messageFontSize) && WriteI32s(out, panorama, 3) && WriteI32s(out, fog, 5) &&
            out.WriteU8(movementDuringEvents) && out.WriteI16(followerSetting) && WriteI32s(out, inputRepeat, 2) &&
            out.WriteI16(messageWindowX) && out.WriteI16(messageWindowY) && out.WriteI16(textEntryX) &&
            out.WriteI16(textEntryY) && WriteI32s(out, messageValues, 3) && out.WriteU8(choiceFrame);
  ok = ok && out.WriteI32(screenLock) && out.WriteI32(textEdge) && out.WriteI32(mouseWindowValue) &&
       out.WriteI32(transitionSetting1) && out.WriteI32(transitionSetting2) && out.WriteU8(transitionSetting3) &&
       out.WriteI32(static_cast<int32_t>(partyNames.size()));
  for (const std::string& name : partyNames) {
    const std::string cut = CutText(name, kMaxSavedPartyName + 1);  // party names carry no terminator
    ok = ok && out.WriteI32(static_cast<int32_t>(cut.size())) && out.WriteBytes(cut.data(), static_cast<int64_t>(cut.size()));
  }
  ok = ok && out.WriteI32(static_cast<int32_t>(followerValues.size())) &&
       WriteI32s(out, followerValues.data(), static_cast<int>(followerValues.size())) &&
       out.WriteI32(choiceCursorBlend) && out.WriteI32(panoramaValue) && out.WriteI32(fogValue) &&
       WriteI32s(out, keyInputValues, 2);
  for (int index : {kDecideKey, kDecidePad, kCancelKey, kCancelPad, kSubKey, kSubPad}) {
    ok = ok && out.WriteI32(keyCodes[static_cast<size_t>(index)]);
  }
  ok = ok && out.WriteI16(followerSpacing) && WriteShortText(out, messagePrefix) &&
       WriteShortText(out, messageSuffix) && out.WriteI32(frameCounter) && WriteI32s(out, soundValues, 3) &&
       WriteShortText(out, musicFileName) && WriteI32s(out, musicParameters, 3) &&
       WriteShortText(out, backgroundSoundFileName) && WriteI32s(out, backgroundSoundParameters, 3) &&
       WriteShortText(out, panoramaFileName) && WriteShortText(out, fogFileName) && out.WriteU8(mouseCursorShown) &&
       out.WriteU8(partyFlag);
  static_assert(kNewestVersion == 111, "the writer writes every field of the newest layout");
  return ok;
}

bool RootEventRunner::ReadState(SaveBuffer& in, int32_t v) {
  const auto readI32s = [&in](int32_t* values, int n) { return in.ReadI32Array(values, n); };
  const auto readShortText = [&in](std::string& text) {
    return in.ReadTerminatedString(text, 2, kMaxSavedShortText);
  };
  int32_t skipped = 0;
  if (!(in.ReadU8(reservedBytes[0]) && in.ReadU8(reservedBytes[1]) && in.ReadI32(playSeconds) &&
        in.ReadI32(reservedValue) && in.ReadI32(currentMusicEntry) && in.ReadI32(currentBackgroundSoundEntry) &&
        in.ReadBytes(&drawCreditPerFrame, 4) && in.ReadI32(frameSkipMode) && readI32s(systemValues0To4, 5) &&
        readI32s(systemValues17To19, 3) && in.ReadI32(choiceCursor) && ReadI16s(in, currentTone, 3) &&
        ReadI16s(in, targetTone, 3) && ReadI16s(in, startTone, 3) && in.ReadI16(toneCounter) &&
        in.ReadI16(toneTotal) && ReadI16s(in, flashColor, 3) && in.ReadI16(flashCounter) &&
        in.ReadI16(flashTotal) && in.ReadI32(messageFontSize) && readI32s(panorama, 3) && readI32s(fog, 5) &&
        in.ReadU8(movementDuringEvents) && in.ReadI16(followerSetting) && readI32s(inputRepeat, 2) &&
        in.ReadI16(messageWindowX) && in.ReadI16(messageWindowY) && in.ReadI16(textEntryX) &&
        in.ReadI16(textEntryY) && readI32s(messageValues, 3) && in.ReadU8(choiceFrame))) {
    return false;
  }
  if (v <= 96 && !in.ReadI32(skipped)) return false;
  if (!in.ReadI32(screenLock)) return false;
  if (v >= 98 && !(in.ReadI32(textEdge) && in.ReadI32(mouseWindowValue))) return false;
  if (v >= 100) {
    if (!(in.ReadI32(transitionSetting1) && in.ReadI32(transitionSetting2) && in.ReadU8(transitionSetting3))) {
      return false;
    }
    const int32_t names = in.ReadListPrefix(partyNames, 4, ByteCursor::kNoLimit, [](ByteCursor& cursor, std::string& name) {
      int32_t length = 0;
      if (!cursor.ReadI32(length)) return false;
      if (length < 0 || length > kMaxSavedPartyName || length > cursor.Remaining()) return cursor.Fail();
      name.resize(static_cast<size_t>(length));
      return cursor.ReadBytes(name.data(), length);
    });
    if (names < 0 || in.ReadI32ListPrefix(followerValues) < 0) return false;
    if (!(in.ReadI32(choiceCursorBlend) && in.ReadI32(panoramaValue) && in.ReadI32(fogValue) &&
          readI32s(keyInputValues, 2))) {
      return false;
    }
  }
  if (v >= 101) {
    for (int index : {kDecideKey, kDecidePad, kCancelKey, kCancelPad, kSubKey, kSubPad}) {
      if (!in.ReadI32(keyCodes[static_cast<size_t>(index)])) return false;
    }
  }
  if (v >= 102 && !in.ReadI16(followerSpacing)) return false;
  if (v >= 103 && !(readShortText(messagePrefix) && readShortText(messageSuffix))) return false;
  if (v >= 104 && !in.ReadI32(frameCounter)) return false;
  if (v >= 106 && !readI32s(soundValues, 3)) return false;
  if (v >= 108 && !(readShortText(musicFileName) && readI32s(musicParameters, 3) &&
                    readShortText(backgroundSoundFileName) && readI32s(backgroundSoundParameters, 3))) {
    return false;
  }
  if (v >= 109) {
    if (!(readShortText(panoramaFileName) && readShortText(fogFileName) && in.ReadU8(mouseCursorShown))) return false;
    ShowMouseCursor(mouseCursorShown);
  }
  if (v >= 110 && !in.ReadU8(partyFlag)) return false;
  return true;
}
