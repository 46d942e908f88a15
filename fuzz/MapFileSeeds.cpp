// Starting inputs for the map-file fuzzer: a small map with events, pages,
// conditions, routes and commands, scrambled and plain.

#include <string>

#include "fuzz/WriteSeed.h"
#include "tests/support/MapFileWriter.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  MapData map;
  map.header.width = 3;
  map.header.height = 2;
  map.ResizeLayers(true, 0, 0);
  MapEvent event(4);
  event.extraBytes = {1, 2};
  event.pages.resize(2);
  EventPage& page = event.pages[1];
  page.conditions.flags[0] = 0x21;
  page.conditions.leftIds[0] = 1100001;
  page.route.steps = {{1, {2, 3}, "t"}};
  CommandRecord command;
  command.arguments = {101, 1};
  command.strings = {"text"};
  command.routes.resize(1);
  page.commands = {command, CommandRecord{}};
  map.events = {event, MapEvent(1)};
  WriteSeed(argv, "scrambled", WriteMapFile(map));
  WriteSeed(argv, "plain", WriteMapFile(map, {{0, 0, 0}}));
  return 0;
}
