// The dispatch of event commands: one switch over the command code. The
// variable, branch, loop and case commands continue inside the loop, so
// long computations of an event stay within one call.

#include "engine/data/database/Databases.h"
#include "engine/events/EventArithmetic.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/MapHooks.h"
#include "engine/events/SystemState.h"
#include "engine/services/ErrorLocation.h"

namespace {

// The twelve fast forms: r0 := r0 (assign) (r1 (calc) r2), wrapping.
inline int32_t FastCalc(int32_t calc, int32_t a, int32_t b) {
  switch (calc) {
    case 0: return WrappingAdd(a, b);
    case 1: return WrappingSub(a, b);
    default: return WrappingMul(a, b);
  }
}

}  // namespace

bool EventInterpreter::DispatchCommands() {
  EventCommandList* list = CommandList();
  if (!list) return EndEventProcessing();
  const int32_t count = static_cast<int32_t>(list->size());
  --line;
  for (;;) {
    if (commandsThisFrame >= frameBudget) return true;
    ++line;
    // A list must end with the end command; one that does not ends here.
    if (static_cast<uint32_t>(line) >= static_cast<uint32_t>(count)) return EndEventProcessing();
    PublishErrorLocation(mapEventId, commonEventNumber, line);
    const size_t at = static_cast<size_t>(line);
    const int32_t code = list->Code(at);
    switch (code) {
      case 210000: case 210001: case 210002: case 210010: case 210011: case 210012:
      case 210020: case 210021: case 210022: case 210030: case 210031: case 210032: {
        const std::span<const PreparedOperand> operands = list->Operands(at);
        if (operands.size() != 3) break;  // never prepared: no operands to run on
        int32_t* r0 = OperandCell(operands[0]);
        int32_t* r1 = OperandCell(operands[1]);
        int32_t* r2 = OperandCell(operands[2]);
        if (!r0 || !r1 || !r2) {
          VariableOperationPlain((*list)[at]);  // a cell went away: the plain form still holds
          break;
        }
        const int32_t r = FastCalc(code % 10, *r1, *r2);
        switch ((code / 10) % 10) {
          case 0: *r0 = r; break;
          case 1: *r0 = WrappingAdd(*r0, r); break;
          case 2: *r0 = WrappingSub(*r0, r); break;
          default: *r0 = WrappingMul(*r0, r); break;
        }
        break;
      }
      case 111: DoNumberBranch(); break;
      case 112: DoStringBranch(); break;
      case 121: DoVariableOperation(); break;
      case 122: return DoStringOperation();
      case 123: return DoKeyInput();
      case 124: DoVariableOperationPlus(); break;
      case 150: DoPictureCommand(); break;
      case 170: DoLoop(); break;
      case 171: DoBreakLoop(); break;
      case 176: DoLoopAgain(); break;
      case 179: DoLoopCount(); break;
      case 213: DoJumpToLabel(); break;
      case 140: DoSoundCommand(); break;
      case 141: DoSpeech(); break;
      case 250: DoDatabaseOperation(); break;
      case 401: case 402: case 420: case 421: DoCase(); break;
      case 498: DoLoopEnd(); break;
      case 499: DoBranchEnd(); break;
      case 498000: {
        const std::span<const int32_t> flow = list->FlowData(at);
        if (flow.size() >= 2 && IsJumpTarget(flow[1], count)) line = flow[1];
        break;
      }
      case 498001: {
        const std::span<const int32_t> flow = list->FlowData(at);
        if (flow.size() < 2 || !IsJumpTarget(flow[1], count) || loopStack.empty()) break;
        if (loopStack.back().remaining <= 0) {
          loopStack.pop_back();
        } else {
          --loopStack.back().remaining;
          line = flow[1];
        }
        break;
      }
      case EventCommand::kEndCode:
        return EndEventProcessing();
      // Messages, calls and event control hand back to the run loop.
      case 101: return ShowMessage();
      case 102: return ShowChoices();
      case 104: return CloseChoices();
      case 105: return CloseMessage();
      case 151: return SetScreenTone();
      case 160: return SetTransition();
      case 161: return PrepareTransition();
      case 162: return RunTransition();
      case 172: return EndEvent();
      case 173: return EraseEvent();
      case 174: return ReturnToTitle();
      case 175: return QuitGame();
      case 177: return MapDrawingOff();
      case 178: return MapDrawingOn();
      case 180: return Wait();
      case 201: return SetMoveRoute();
      case 202: return WaitForMoveRoutes();
      case 210: return CallEvent();
      case 211: return ReserveEvent();
      case 260: return StartDownload();
      case 270: return DoPartyOperation();
      case 300: return CallEventByName();
      case 220: return SaveOrLoadGame();
      case 221: return ReadSaveValue();
      case 222: return WriteSaveValue();
      case 130: return DoTransfer();
      case 230: return AllowMoveDuringEvents();
      case 231: return StopMoveDuringEvents();
      case 240: return SetTileFlag();
      case 241: return ChangeTileSet();
      case 242: return RewriteMapChips();
      case 280: return ShakeCommand();
      case 281: return ScrollCommand();
      case 290: return EffectCommand();
      default:
        break;
    }
    ++commandsThisFrame;
  }
}

bool EventInterpreter::EndEventProcessing() {
  source_ = ListSource::kNone;
  external_ = nullptr;
  sourceNumber_ = -1;
  sourcePage_ = -1;
  loopStack.clear();
  if (SystemStateHub.sceneReload) return true;
  if (rootFlag && mapEventId >= 0) {
    CharacterPosition unused;
    if (CurrentMapHooks().mapEventPosition(mapEventId, unused)) CurrentMapHooks().endTalkFacing(mapEventId);
  }
  return true;
}

bool EventInterpreter::SkipToSameIndent() {
  EventCommandList& list = *CommandList();
  const int32_t last = static_cast<int32_t>(list.size()) - 1;
  const uint8_t indent = list.Indent(static_cast<size_t>(line));
  // Stop one line before the last, so that the dispatch's step lands on the
  // last line at most.
  while (line + 1 < last && list.Indent(static_cast<size_t>(line) + 1) != indent) ++line;
  return true;
}
