#pragma once
// The game's common events, numbered from 0 (an entry's number is always its
// index), and the map from a common event's name to its number.
//
// The events live in a deque: appending (a ".common" file read while the
// game runs) never moves the events already held, so a command list taken
// from an event stays where it is while the list grows. Running events still
// refer to a common event by its number and line, resolved at each use: the
// whole list is replaced at every return to the title.

#include <cstdint>
#include <deque>
#include <map>
#include <string>

#include "engine/data/file/ByteCursor.h"
#include "engine/data/CommonEvent.h"

struct CommonEventList {
  // The most common events the readers make the list hold: calls name common
  // events 0 to 99999.
  static constexpr int32_t kMaxCount = 100000;

  std::deque<CommonEvent> events;
  std::map<std::string, int32_t> nameMap;
  // ".common" files read by calls while the game runs: file name to the
  // number of the first common event each added. It belongs to the events it
  // numbers, so it goes whenever the list is read anew.
  std::map<std::string, int32_t> commonFileRegistry;

  // Ten default common events numbered 0 to 9.
  CommonEventList();

  int32_t Count() const { return static_cast<int32_t>(events.size()); }

  // Appends default common events up to n or removes them from the end down
  // to n, then numbers every entry by its index. A negative n counts as 0.
  void Resize(int32_t n);

  // Maps every non-empty name to its number; of several common events with
  // one name the lowest-numbered one wins.
  void RebuildNameMap();

  // Reads DataFolder() + fileName. False after a message box when the file is
  // missing or damaged (a count above kMaxCount counts as damage); the events
  // read until then stay in the list.
  bool LoadCommonEvents(const std::string& fileName);
  // The same on a file already in memory; path names it in messages.
  bool ReadCommonEventsFile(ByteCursor& file, const std::string& path);

  // Reads a ".common" file at path (relative to the current folder) into
  // entries first, first + 1, ...; the list grows to hold them and never
  // shrinks. With readRecords false only the list grows. Returns the number
  // of records in the file, or -1, leaving the list unchanged, when the file
  // cannot be read, its magic differs, it is damaged or the list would pass
  // kMaxCount.
  int32_t ReadCommonEventFile(const std::string& path, int32_t first, bool readRecords);
  // The same on a file already in memory.
  int32_t ReadCommonEventFile(ByteCursor& file, int32_t first, bool readRecords);

  bool operator==(const CommonEventList&) const = default;
};

// The game's common events: read at every title re-initialisation, grown by
// ".common" files while the game runs.
extern CommonEventList CommonEvents;
