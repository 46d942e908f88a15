#pragma once
// Where a content error of the running events happened: the event run loop
// publishes the map event id, common event number and line of each command
// before it runs it, and error messages name the last place published (an
// error raised outside the run loop names the last command that ran).
// Publishing is inline: the run loop does it for every command.

#include <cstdint>
#include <string>

struct ErrorLocation {
  int32_t mapEventId = 0;
  int32_t commonEventNumber = 0;
  int32_t line = 0;
};

inline ErrorLocation PublishedErrorLocation;

inline void PublishErrorLocation(int32_t mapEventId, int32_t commonEventNumber, int32_t line) {
  PublishedErrorLocation = {mapEventId, commonEventNumber, line};
}

// The error-location line of the error screen.
std::string ErrorLocationText();
