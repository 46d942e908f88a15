#pragma once
// Where a content error of the running events happened: the event run loop
// publishes the map event id, common event number and line of each command
// before it runs it, and error messages name the last place published (an
// error raised outside the run loop names the last command that ran).

#include <cstdint>
#include <string>

void PublishErrorLocation(int32_t mapEventId, int32_t commonEventNumber, int32_t line);

// The error-location line of the error screen.
std::string ErrorLocationText();
