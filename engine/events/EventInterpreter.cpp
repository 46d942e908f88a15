#include "engine/events/EventInterpreter.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/data/CommonEventList.h"
#include "engine/data/GameInfo.h"
#include "engine/data/database/Database.h"
#include "engine/events/InterpreterHooks.h"
#include "engine/events/MapHooks.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/VariableId.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"
#include "engine/services/ShiftJisPosition.h"


namespace {

std::string Format(const char* pattern, int32_t a, int32_t b, int32_t c) {
  char text[256];
  std::snprintf(text, sizeof text, pattern, a, b, c);
  return text;
}

// Typed text may not form escape codes: every backslash that is a character
// of its own is doubled.
std::string DoubleBackslashes(const std::string& typed) {
  std::string out;
  out.reserve(typed.size());
  for (size_t i = 0; i < typed.size(); ++i) {
    out.push_back(typed[i]);
    if (typed[i] == '\\' && ShiftJisPositionState(typed.c_str(), static_cast<int32_t>(i)) == 0) out.push_back('\\');
  }
  return out;
}

}  // namespace

TextEntryField& TextEntryField::operator=(TextEntryField&& other) noexcept {
  if (this != &other) {
    Close();
    handle = other.handle;
    other.handle = 0;
  }
  return *this;
}

void TextEntryField::Close() {
  if (handle == 0) return;
  CurrentInterpreterHooks().deleteTextInput(handle);
  handle = 0;
  SystemStateHub.textEntryActive = 0;
}

EventInterpreter::EventInterpreter(const EventInterpreter& other)
    : rootFlag(other.rootFlag),
      callDepth(other.callDepth),
      line(other.line),
      waitingForMessage(other.waitingForMessage),
      waitingForMoveRoutes(other.waitingForMoveRoutes),
      waitingForKeyInput(other.waitingForKeyInput),
      mapId(other.mapId),
      mapEventId(other.mapEventId),
      commonEventNumber(other.commonEventNumber),
      waitFrames(other.waitFrames),
      children(other.children),
      branchResults(other.branchResults),
      ownCommands(other.ownCommands),
      autoStartCommonEvents(other.autoStartCommonEvents),
      loopStack(other.loopStack),
      keyboardLastKey(other.keyboardLastKey),
      padLastKey(other.padLastKey),
      textInput(other.textInput),
      textInputMaxLength(other.textInputMaxLength),
      textInputTarget(other.textInputTarget),
      textInputText(other.textInputText),
      commandsThisFrame(other.commandsThisFrame),
      keyInputMemory(other.keyInputMemory),
      serial(other.serial),
      source_(other.source_),
      sourceNumber_(other.sourceNumber_),
      sourcePage_(other.sourcePage_),
      external_(other.external_) {}

EventInterpreter& EventInterpreter::operator=(const EventInterpreter& other) {
  if (this == &other) return *this;
  EventInterpreter copy(other);
  const uint64_t keep = serial.Detach();
  *this = std::move(copy);
  serial.Adopt(keep);
  return *this;
}

bool EventInterpreter::Init(int32_t depth, bool root) {
  callDepth = depth;
  rootFlag = root;
  if (root) {
    autoStartCommonEvents.clear();
    for (const CommonEvent& event : CommonEvents.events) {
      if ((event.trigger & 15) == 1) autoStartCommonEvents.push_back(event.number);
    }
  }
  Reset();
  if (depth > kMaxCallDepth) {
    ShowErrorScreen("イベントの呼び出しが深すぎます（" + std::to_string(kMaxCallDepth) + "段まで）", ErrorLocationText(), "");
    return false;
  }
  return true;
}

void EventInterpreter::Reset() {
  mapId = 0;
  mapEventId = -1;
  commonEventNumber = -1;
  waitingForMessage = waitingForMoveRoutes = waitingForKeyInput = false;
  waitFrames = 0;
  source_ = ListSource::kNone;
  external_ = nullptr;
  sourceNumber_ = -1;
  sourcePage_ = -1;
  commandsThisFrame = 0;
  children.clear();
  branchResults.fill(0);
  loopStack.clear();
  keyboardLastKey = padLastKey = 0;
}

void EventInterpreter::StartEvent(EventCommandList* list, int32_t eventId, int32_t commonNumber) {
  Reset();
  mapId = CurrentMapHooks().currentMapId();
  mapEventId = eventId;
  commonEventNumber = commonNumber;
  if (list) {
    source_ = ListSource::kExternal;
    external_ = list;
  }
  line = 0;
}

void EventInterpreter::StartOwnEvent(EventCommandList list, int32_t eventId, int32_t commonNumber) {
  StartEvent(nullptr, eventId, commonNumber);
  ownCommands = std::move(list);
  source_ = ListSource::kOwn;
}

void EventInterpreter::StartCommonEvent(int32_t number, int32_t eventId) {
  StartEvent(nullptr, eventId, number);
  if (number >= 0 && number < CommonEvents.Count()) {
    source_ = ListSource::kCommonEvent;
    sourceNumber_ = number;
  }
}

void EventInterpreter::StartMapEventPage(int32_t eventId, int32_t page) {
  StartEvent(nullptr, eventId, -1);
  source_ = ListSource::kMapEventPage;
  sourceNumber_ = eventId;
  sourcePage_ = page;
}

EventCommandList* EventInterpreter::CommandList() {
  switch (source_) {
    case ListSource::kOwn: return &ownCommands;
    case ListSource::kExternal: return external_;
    case ListSource::kCommonEvent:
      if (sourceNumber_ < CommonEvents.Count()) return &CommonEvents.events[static_cast<size_t>(sourceNumber_)].commands;
      return nullptr;
    case ListSource::kMapEventPage: return CurrentMapHooks().mapEventPageList(mapId, sourceNumber_, sourcePage_);
    default: return nullptr;
  }
}

bool EventInterpreter::StartChild(int32_t number) {
  if (callDepth + 1 > kMaxCallDepth) {
    ShowErrorScreen("イベントの呼び出しが深すぎます（" + std::to_string(kMaxCallDepth) + "段まで）", ErrorLocationText(), "");
    return false;
  }
  children.clear();
  children.emplace_back();
  EventInterpreter& child = children.back();
  child.Init(callDepth + 1, false);
  child.StartCommonEvent(number, mapEventId);
  return true;
}

bool EventInterpreter::StartChildOnList(EventCommandList list, int32_t eventId) {
  // A map event's page counts towards the nesting bound like a common event.
  if (callDepth + 1 > kMaxCallDepth) {
    ShowErrorScreen("イベントの呼び出しが深すぎます（" + std::to_string(kMaxCallDepth) + "段まで）", ErrorLocationText(), "");
    return false;
  }
  children.clear();
  children.emplace_back();
  EventInterpreter& child = children.back();
  child.Init(callDepth + 1, false);
  child.StartOwnEvent(std::move(list), eventId, -1);
  return true;
}

void EventInterpreter::RunTextEntryStep(int state) {
  SystemStateHub.textEntryActive = 0;
  const int32_t handle = textInput.handle;
  bool cancelled = state == 2;
  std::string typed;
  if (!cancelled) {
    std::vector<char> buffer(static_cast<size_t>(std::max(textInputMaxLength, 0)) + 1, '\0');
    if (CurrentInterpreterHooks().textInputText(handle, buffer.data(), static_cast<int32_t>(buffer.size()))) {
      buffer.back() = '\0';
      typed = buffer.data();
    } else {
      cancelled = true;  // a field that cannot give its text counts as cancelled
    }
  }
  textInput.Close();
  if (cancelled) {
    RootRunner.textEntryResult = -1;
    SetVariableString(textInputTarget, textInputText);
    return;
  }
  RootRunner.textEntryResult = 0;
  textInputText += DoubleBackslashes(typed);
  SetVariableString(textInputTarget, textInputText);
}

void EventInterpreter::RunFrame() {
  if (SystemStateHub.stateLoaded) return;
  commandsThisFrame = 0;
  for (;;) {
    if (++commandsThisFrame > frameBudget) {
      commandsThisFrame = 0;
      ShowErrorScreen(Format("1フレームあたりの処理が500000個を越えました！ イベント%d (コモン%d) %d行", mapEventId,
                             commonEventNumber, line),
                      "", "");
      waitFrames = 5;
    }
    if (!children.empty()) {
      children.front().RunFrame();
      if (SystemStateHub.stateLoaded) return;
      if (!children.front().IsRunning()) children.clear();
      if (!children.empty()) return;
    }
    if (textInput.handle != 0) {
      const int state = CurrentInterpreterHooks().textInputState(textInput.handle);
      if (state == 0) return;
      RunTextEntryStep(state);
    }
    if (waitingForMessage && !TakeHandBack()) return;
    if (SystemStateHub.transitionActive && SystemStateHub.transitionWait) return;
    if (waitingForMoveRoutes) {
      if (CurrentMapHooks().forcedMoveRouteRunning()) return;
      waitingForMoveRoutes = false;
    }
    if (SystemStateHub.waitForScroll) {
      if (CurrentMapHooks().isScrolling()) return;
      SystemStateHub.waitForScroll = 0;
    }
    if (waitingForKeyInput) {
      CurrentInterpreterHooks().pollKeyInput(*this);
      return;
    }
    if (waitFrames > 0) {
      waitFrames -= GameInformation.FrameStep();
      return;
    }
    if (SystemStateHub.gameState == 0) return;
    if (!IsRunning()) {
      if (rootFlag && callDepth == 0) CurrentInterpreterHooks().pickNextEvent(*this);
      if (!IsRunning()) return;
    }
    PublishErrorLocation(mapEventId, commonEventNumber, line);
    CurrentMapHooks().requestPageRefresh();
    if (!DispatchCommands()) return;
    if (SystemStateHub.gameState <= 0) return;
    if (DatabaseRangeErrorFlag) {
      ShowErrorScreen(Format("Ev%d Common%d Line%d DBの存在しない部分を読みに行こうとしました", mapEventId,
                             commonEventNumber, line),
                      "", "");
      DatabaseRangeErrorFlag = 0;
    }
    if (SystemStateHub.stateLoaded) return;
    ++line;
  }
}

int32_t EventInterpreter::GetArgValue(int64_t argument) {
  if (argument < 1000000) return static_cast<int32_t>(argument);
  if (!IsVariableIdInRange(argument)) return Variables.GetVariableOnMap(argument, mapId);
  return Variables.GetVariableOnMap(RebaseRelativeVariableId(static_cast<int32_t>(argument), mapEventId, commonEventNumber),
                                    mapId);
}

void EventInterpreter::SetVariableValue(int64_t id, int32_t value) {
  if (IsVariableIdInRange(id)) id = RebaseRelativeVariableId(static_cast<int32_t>(id), mapEventId, commonEventNumber);
  Variables.SetVariableOnMap(id, value, mapId);
}

namespace {
// Strings rebase only this common event's self variables.
int64_t RebaseCommonSelf(int64_t id, int32_t commonEventNumber) {
  if (id >= 1600000 && id < 1700000) return 15000000 + int64_t{commonEventNumber} * 100 + id % 100;
  return id;
}
}  // namespace

std::string EventInterpreter::GetArgString(int64_t id) {
  return Variables.GetStringVariableOnMap(RebaseCommonSelf(id, commonEventNumber), mapId);
}

void EventInterpreter::SetVariableString(int64_t id, const std::string& text) {
  Variables.SetStringVariableOnMap(RebaseCommonSelf(id, commonEventNumber), text, mapId);
}

CharacterReference EventInterpreter::ResolveCharacter(int32_t argument) {
  const int32_t v = GetArgValue(argument);
  const MapHooks& map = CurrentMapHooks();
  CharacterPosition unused;
  if (v <= -3) {
    const int64_t follower = -int64_t{v} - 2;  // -3 is the first follower
    if (follower > map.followerCount()) return {};
    return {CharacterReference::kFollower, static_cast<int32_t>(follower)};
  }
  if (v == -2) return map.partyMemberPosition(0, unused) ? CharacterReference{CharacterReference::kHero, 0} : CharacterReference{};
  const int32_t id = v == -1 ? mapEventId : v;
  if (id < 0 || !map.mapEventPosition(id, unused)) return {};
  return {CharacterReference::kMapEvent, id};
}

int32_t* RefreshOperand(const PreparedOperand& operand) {
  int32_t* cell = nullptr;
  // A literal is only ever read through its cell.
  if (operand.kind == PreparedOperand::kLiteral) cell = const_cast<int32_t*>(&operand.literal);
  if (operand.kind == PreparedOperand::kCell) cell = ResolveIntegerVariableCell(operand.cell);
  operand.cached = cell;
  operand.epoch = VariableCellEpoch;
  return cell;
}
