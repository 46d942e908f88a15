#pragma once
// A map event at run time: a character built from its map event when the
// map is entered. It shows the highest page whose conditions hold, moves by
// that page's settings, asks the root runner to start it when its trigger
// fires, and runs a parallel page in an interpreter of its own.
//
// Triggers: 0 the decide key, 1 autorun, 2 parallel, 3 touched by the hero,
// 4 touching (also when the event moves against the hero).

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "engine/data/map/MapEvent.h"
#include "engine/events/EventInterpreter.h"
#include "engine/map/MapCharacter.h"

class MapScene;

class MapEventState : public MapCharacter {
 public:
  static constexpr int32_t kDecideKey = 0;
  static constexpr int32_t kAutorun = 1;
  static constexpr int32_t kParallel = 2;
  static constexpr int32_t kHeroTouch = 3;
  static constexpr int32_t kEventTouch = 4;

  int32_t mapId = -1;
  // The event's own interpreter, present while its page is parallel. It
  // knows its list by event id and page, resolved at each use.
  std::vector<EventInterpreter> parallelRunner;
  int32_t pageIndex = -1;  // the active page of mapEvent, -1 none
  int32_t trigger = 0;
  uint8_t startRequested = 0;
  MapEvent mapEvent{-1};
  int32_t eraseCounter = -1;
  int32_t eraseTotal = -1;  // -1 while no erase fade is set
  int32_t eraseStartOpacity = 255;

  // Stands on the event's tile of the map (half a tile higher when its first
  // page asks) and takes on the page whose conditions hold.
  MapEventState(const MapScene& map, int32_t mapId, const MapEvent& event);

  // The active page and its commands; null and empty without a page.
  const EventPage* ActivePage() const;
  const EventCommandList& Commands() const;

  // Chooses the highest page whose conditions hold and takes on its
  // settings; an erased event has none.
  void SelectActivePage();
  // Asks the root runner to start the event, when it has commands to run and
  // is not being erased.
  void RequestStart();
  void ClearStartRequest() { startRequested = 0; }
  // The event fades out over frames frames and is gone for this visit.
  void StartErase(int32_t frames);
  // No graphic or passing through, on ground that is not blocked.
  bool CanBeWalkedOnto() const;
  // The collision half-width along x (0) or y (1); 0 without a page.
  int32_t CollisionWidth(int32_t axis) const;

  // The event's own triggers: touching the hero it stands on, autorun.
  void CheckAutoTriggers();
  // Before the event steps to (x, y): a touching event that reaches the hero
  // there asks to start.
  void EventTouchAt(int32_t x, int32_t y);
  // The eight steps with the touch test first, and the chosen steps made
  // with them.
  bool StepWithEventTouch(int32_t d, bool turnFirst);
  void RandomStepWithTouch();
  void StepTowardHeroWithTouch();
  void StepForwardWithTouch();

  // The own route with touching steps; moving at random; toward the hero.
  void RunEventMoveRoute();
  void MoveRandomly();
  void MoveTowardHero();

  // One frame of the event: erase fade, movement, autonomous movement, loop
  // wrap, automatic triggers and the parallel runner.
  void Update();
  // Draws the parallel runner's text entry, if one is open.
  void DrawTextEntry();

  // Equal when they show the same state; parallel runners compare by
  // whether they run and where (each copy is an interpreter of its own).
  bool operator==(const MapEventState& other) const;

 private:
  void ApplyPage(const EventPage& page);
  void UpdateErase();
  static bool TouchingStep(MapCharacter& c, int32_t d, bool turnFirst);
};

// The trigger tests the hero makes, against the events of the current map.
// allowed[k] enables trigger kind k. They do nothing while the root runner
// runs an event.
struct TriggerKinds {
  bool allowed[5] = {false, false, false, false, false};
  static TriggerKinds Of(std::initializer_list<int32_t> kinds);
  bool Has(int32_t kind) const { return kind >= 0 && kind < 5 && allowed[kind]; }
};
// Arrival: events the hero stands on (touching ones one column beside too)
// that can be walked onto. True when one asked to start.
bool TouchTriggerCheck(const MapCharacter& hero, const TriggerKinds& kinds);
// The decide key: the first event in front of the hero, or across a counter.
bool ConfirmTriggerCheck(const MapCharacter& hero, const TriggerKinds& kinds);
// A bump: touch events the hero runs into at (x, y) that cannot be walked
// onto.
bool EventTouchCheck(int32_t x, int32_t y);
