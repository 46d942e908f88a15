#pragma once
// Writes a map file: the 20-byte header with seeds and checksum, then the
// scrambled body (version, format marker, header, tile layers, events, end
// marker). Counts are the sizes of the lists: an event without pages is
// written with page count 0.

#include <array>
#include <cstdint>
#include <string>

#include "engine/data/map/MapData.h"

struct MapFileOptions {
  std::array<uint8_t, 3> seeds{0x2B, 0x91, 0x5E};
  uint8_t formatMarker = 0x65;
  uint8_t endMarker = 0x66;
};

std::string WriteMapFile(const MapData& map, const MapFileOptions& options = {});

// Offset, in a map file, of the first byte after the map header (the tiles).
size_t MapFileTilesOffset(const MapData& map);

class ByteWriter;
// The route and command records, shared with the common-event files.
void WriteRouteRecord(ByteWriter& out, const MoveRoute& route);
void WriteCommandRecord(ByteWriter& out, const EventCommand& command);
