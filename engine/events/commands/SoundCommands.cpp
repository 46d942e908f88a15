// Sound commands: music, background sound and sound effects by entry or by
// file name, and synthesized speech, handed to the sound manager.

#include "engine/events/EventInterpreter.h"
#include "engine/events/MapHooks.h"
#include "engine/events/commands/CommandArguments.h"
#include "engine/events/variables/EscapeExpander.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SpeechLibrary.h"

namespace {

// Only the variable and database references of a text are replaced.
std::string ReferencesOf(const std::string& text, int32_t mapEventId, int32_t commonEventNumber) {
  return ExpandMessageText(text, mapEventId, commonEventNumber, CurrentMapHooks().currentMapId(), true, false, "",
                           "", true);
}

}  // namespace

bool EventInterpreter::DoSoundCommand() {
  const EventCommand command = Current();
  const int32_t flags = ArgumentOf(command, 1);
  const int32_t action = flags & 0xF;
  const int32_t kind = (flags >> 4) & 0xF;
  const int32_t source = (flags >> 24) & 0xF;
  const int32_t frames = GetArgValue(ArgumentOf(command, 2));
  int32_t entry = -1;
  if (source == 0) entry = (flags >> 8) & 0xFFFF;
  if (source == 1) {
    entry = GetArgValue(ArgumentOf(command, 3));
    if (action == 2 && entry == -1) return true;
  }
  if (source == 2) {
    const std::string text = RewriteEscapes(ReferencesOf(StringArgumentOf(command, 0), mapEventId, commonEventNumber));
    const int32_t loopStart = kind == SoundManager::kSoundEffect ? 0 : GetArgValue(ArgumentOf(command, 7));
    const int32_t volume = GetArgValue(ArgumentOf(command, 5));
    const int32_t tempo = GetArgValue(ArgumentOf(command, 6));
    entry = GameSounds.PlayFile(text, kind, frames, loopStart, volume, tempo);
    if (entry == SoundManager::kAdjusted) return true;
  }
  const int32_t position = command.arguments.size() >= 5 ? GetArgValue(ArgumentOf(command, 4)) : 0;
  switch (action) {
    case 0:
      if (entry != -2) GameSounds.Play(kind, entry, frames, position);
      break;
    case 1:
      if (entry != -2) GameSounds.Load(kind, entry);
      break;
    case 2: GameSounds.Release(kind, entry); break;
    default: break;
  }
  return true;
}

bool EventInterpreter::DoSpeech() {
  const EventCommand command = Current();
  if (!SpeechAvailable()) {
    ShowErrorScreen("【エラー】 合成音声再生コマンドが実行されましたが、", "AquesTalk.dllがないため実行できませんでした。",
                    ErrorLocationText());
    return true;
  }
  const std::string text = ReferencesOf(StringArgumentOf(command, 0), mapEventId, commonEventNumber);
  const int32_t speed = GetArgValue(ArgumentOf(command, 1));
  const int32_t volume = GetArgValue(ArgumentOf(command, 2));
  const int32_t tempo = GetArgValue(ArgumentOf(command, 3));
  const int32_t entry = GameSounds.SynthesizeSpeech(text, speed, volume, tempo);
  if (entry == SoundManager::kAdjusted) return true;
  GameSounds.Play(SoundManager::kSoundEffect, entry, GetArgValue(ArgumentOf(command, 4)), 0);
  return true;
}
