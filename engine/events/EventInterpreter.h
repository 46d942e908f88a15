#pragma once
// Runs one event command list line by line: the root runner's event, a map
// event's parallel runner, a common event's runner, or the child of an event
// call. The owner calls RunFrame once per frame; it runs commands until one
// of them, or a wait, ends the interpreter's turn.
//
// The interpreter is a value: copies are member by member. The command list
// is held by what owns it (its own copy, a common event by number, or a
// list owned by a longer-lived object), so a copy never refers to another
// interpreter's storage.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/CommonEvent.h"
#include "engine/data/map/EventCommandList.h"
#include "engine/events/InterpreterSerial.h"

// A character of the current map that a command acts on.
struct CharacterReference {
  enum Kind : uint8_t { kNone, kHero, kFollower, kMapEvent };
  Kind kind = kNone;
  int32_t number = 0;  // follower 1.. or map event id
  bool operator==(const CharacterReference&) const = default;

  // The id the map knows the character by: -2 the hero, -2 - k follower k,
  // else the map event's id.
  int32_t MapId() const { return kind == kHero ? -2 : kind == kFollower ? -2 - number : number; }
};

// An open text-entry field of the runtime. It belongs to one interpreter:
// a copy does not take it over, and the field is deleted (and the entry flag
// cleared) when its interpreter goes away.
class TextEntryField {
 public:
  int32_t handle = 0;  // 0 none

  TextEntryField() = default;
  TextEntryField(const TextEntryField&) {}
  TextEntryField(TextEntryField&& other) noexcept : handle(other.handle) { other.handle = 0; }
  TextEntryField& operator=(const TextEntryField& other) {
    if (this != &other) Close();
    return *this;
  }
  TextEntryField& operator=(TextEntryField&& other) noexcept;
  ~TextEntryField() { Close(); }
  // Deletes the field, if any, and clears the entry flag.
  void Close();
};

class EventInterpreter {
 public:
  static constexpr int32_t kFrameBudget = 500000;
  // The budget in force: the fuzzer shortens it so that endless lists end
  // their frames quickly.
  static inline int32_t frameBudget = kFrameBudget;
  // The deepest a chain of children may go; a call beyond is refused.
  static constexpr int32_t kMaxCallDepth = 100;
  // One branch result per indent byte.
  static constexpr int32_t kBranchLevels = 256;
  // Open loops kept at most; a malformed list that enters loops without
  // leaving them loses the outermost ones.
  static constexpr size_t kMaxOpenLoops = 256;
  static constexpr int32_t kTakenCase = -100;

  struct OpenLoop {
    int32_t indent;
    int32_t remaining;
    bool operator==(const OpenLoop&) const = default;
  };

  enum class ListSource : uint8_t { kNone, kOwn, kCommonEvent, kExternal, kMapEventPage };

  bool rootFlag = false;
  int32_t callDepth = 0;
  int32_t line = 0;
  bool waitingForMessage = false;
  bool waitingForMoveRoutes = false;
  bool waitingForKeyInput = false;
  int32_t mapId = 0;
  int32_t mapEventId = -1;
  int32_t commonEventNumber = -1;
  int32_t waitFrames = 0;
  std::vector<EventInterpreter> children;  // at most one
  std::array<int32_t, kBranchLevels> branchResults{};
  EventCommandList ownCommands;
  // Root only: the automatic-start common events by number, looked up in
  // the global list when picked.
  std::vector<int32_t> autoStartCommonEvents;
  std::vector<OpenLoop> loopStack;
  int32_t keyboardLastKey = 0;
  int32_t padLastKey = 0;
  TextEntryField textInput;
  int32_t textInputMaxLength = 0;  // bytes the field holds, set with the handle
  int32_t textInputTarget = 0;
  std::string textInputText;
  int32_t commandsThisFrame = 0;
  int32_t keyInputMemory = 0;
  // Known by this number wherever something waits on an interpreter; a copy
  // gets a number of its own.
  InterpreterSerial serial;

  EventInterpreter() = default;
  EventInterpreter(const EventInterpreter& other);
  EventInterpreter(EventInterpreter&&) noexcept = default;
  EventInterpreter& operator=(const EventInterpreter& other);
  EventInterpreter& operator=(EventInterpreter&&) noexcept = default;

  // False, after the error screen, when depth passes kMaxCallDepth: the
  // interpreter is then left idle.
  bool Init(int32_t depth, bool root);
  void Reset();
  // Runs a list owned by a longer-lived object.
  void StartEvent(EventCommandList* list, int32_t mapEventId, int32_t commonEventNumber);
  // Runs a copy held by the interpreter itself.
  void StartOwnEvent(EventCommandList list, int32_t mapEventId, int32_t commonEventNumber);
  // Runs common event `number` of the global list, looked up at each use.
  void StartCommonEvent(int32_t number, int32_t mapEventId);
  // Runs a page of a map event of the current map, found by the event's id
  // at each use (the map's event list is rebuilt, lengthened and copied).
  void StartMapEventPage(int32_t mapEventId, int32_t page);
  bool IsRunning() const { return source_ != ListSource::kNone; }
  ListSource Source() const { return source_; }
  // The list now attached, or null.
  EventCommandList* CommandList();

  void RunFrame();
  bool DispatchCommands();
  // Detaches the list and ends the event; always true.
  bool EndEventProcessing();
  bool SkipToSameIndent();
  // Starts a child interpreter on common event `number`; false, after the
  // error screen, when the chain of children is already kMaxCallDepth deep.
  bool StartChild(int32_t number);
  // The same on a copy of a map event's list, held by the child.
  bool StartChildOnList(EventCommandList list, int32_t mapEventId);
  // Takes the message or choice hand-back meant for this interpreter; true
  // when it was released.
  bool TakeHandBack();
  void DropStaleHandBacks();

  // Variable access of the command handlers: relative IDs are rebased to
  // this event, the store is told this interpreter's map.
  int32_t GetArgValue(int64_t argument);
  void SetVariableValue(int64_t id, int32_t value);
  std::string GetArgString(int64_t id);
  void SetVariableString(int64_t id, const std::string& text);
  CharacterReference ResolveCharacter(int32_t argument);

  // Command handlers.
  bool DoNumberBranch();
  bool DoStringBranch();
  bool DoCase();
  bool DoBranchEnd();
  bool DoLoop();
  bool DoLoopCount();
  bool DoBreakLoop();
  bool DoLoopAgain();
  bool DoLoopEnd();
  bool DoJumpToLabel();
  bool DoVariableOperation();
  bool DoDatabaseOperation();
  bool ShowMessage();
  bool ShowChoices();
  bool SetUpChoices(const EventCommand& command);
  bool CloseChoices();
  bool CloseMessage();
  bool CallEvent();
  bool ReserveEvent();
  bool CallEventByName();
  bool EndEvent();
  bool EraseEvent();
  bool ReturnToTitle();
  bool QuitGame();
  bool MapDrawingOff();
  bool MapDrawingOn();
  bool Wait();
  bool SetMoveRoute();
  bool WaitForMoveRoutes();
  bool StartDownload();
  bool DoPartyOperation();
  bool SaveOrLoadGame();
  bool ReadSaveValue();
  bool WriteSaveValue();
  bool SetScreenTone();
  bool SetTransition();
  bool PrepareTransition();
  bool RunTransition();
  bool DoSoundCommand();
  bool DoSpeech();
  bool DoStringOperation();
  bool DoKeyInput();
  bool DoPictureCommand();
  bool DoVariableOperationPlus();
  bool DoTransfer();
  bool AllowMoveDuringEvents();
  bool StopMoveDuringEvents();
  bool SetTileFlag();
  bool ChangeTileSet();
  bool RewriteMapChips();
  bool ShakeCommand();
  bool ScrollCommand();
  bool EffectCommand();
  // Reads the keys of the key-input command (the one before the current
  // line while waiting) and stores the result.
  void PollKeyInput();
  // Draws the field of a running text entry (the innermost child's).
  void DrawTextEntry();

 private:
  ListSource source_ = ListSource::kNone;
  int32_t sourceNumber_ = -1;                     // kCommonEvent; kMapEventPage: the event id
  int32_t sourcePage_ = -1;                       // kMapEventPage
  EventCommandList* external_ = nullptr;  // kExternal

  EventCommand Current() { return (*CommandList())[static_cast<size_t>(line)]; }
  void PushLoop(int32_t indent, int32_t remaining);
  void BreakLoop();
  void LoopBack();
  void RunTextEntryStep(int state);
  void VariableOperationPlain(const EventCommand& command);
  bool VariableOperationPrepared(const EventCommand& command);
  bool DatabaseOperationPrepared(const EventCommand& command);
  void DatabaseOperationPlain(const EventCommand& command);
  bool NumberBranchPrepared(const EventCommand& command);
  // Passes the command's arguments (from argument 3 on) into common event
  // n's self variables, then runs n as a child.
  void CallCommonEvent(const EventCommand& command, int32_t n);
  int32_t NumberBranchResult(const EventCommand& command);
  // Item `item` of the variable operation plus's other information.
  int32_t OtherInformation(int32_t item);
  // The plain label scan's name of a label command: cached when it holds no
  // escape code, expanded at each use otherwise.
  std::string LabelName(const EventCommand& command);
};

// A line a prepared jump may set: the dispatch's step then lands inside the
// list.
inline bool IsJumpTarget(int32_t target, int32_t count) { return target >= -1 && target < count - 1; }

// Runs a prepared command's operand: the cell's storage now, or null when
// the cell no longer exists.
int32_t* RefreshOperand(const PreparedOperand& operand);
inline int32_t* OperandCell(const PreparedOperand& operand) {
  return operand.epoch == VariableCellEpoch ? operand.cached : RefreshOperand(operand);
}
