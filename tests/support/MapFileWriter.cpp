#include "tests/support/MapFileWriter.h"

#include "tests/support/ByteWriter.h"

namespace {

void WritePage(ByteWriter& out, const EventPage& page) {
  out.U8(121).I32(page.graphic.graphicId).Text(page.graphic.fileName);
  out.U8(page.graphic.direction).U8(page.graphic.pattern).U8(page.graphic.opacity).U8(page.graphic.blendMode);
  out.U8(page.conditions.triggerKind);
  for (uint8_t flag : page.conditions.flags) out.U8(flag);
  for (int32_t id : page.conditions.leftIds) out.I32(id);
  for (int32_t operand : page.conditions.rightOperands) out.I32(operand);
  WriteRouteRecord(out, page.route);
  out.I32(static_cast<int32_t>(page.commands.size()));
  for (const EventCommand& command : page.commands) WriteCommandRecord(out, command);
  out.ByteList(page.extraBytes).U8(122);
}

void WriteEvent(ByteWriter& out, const MapEvent& event) {
  out.U8(111).I32(12345).I32(event.id).Text(event.name).I32(event.x).I32(event.y);
  out.I32(static_cast<int32_t>(event.pages.size())).ByteList(event.extraBytes);
  for (const EventPage& page : event.pages) WritePage(out, page);
  out.U8(112);
}

}  // namespace

void WriteRouteRecord(ByteWriter& out, const MoveRoute& route) {
  for (int option : {1, 2, 3, 0, 4, 5}) out.U8(route.options[static_cast<size_t>(option)]);
  out.I32(static_cast<int32_t>(route.steps.size()));
  for (const MoveRouteStep& step : route.steps) {
    out.U8(step.code).U8(static_cast<uint8_t>(step.arguments.size()));
    for (int32_t argument : step.arguments) out.I32(argument);
    out.U8(static_cast<uint8_t>(step.text.size() + 1)).Raw(step.text).U8(0);
  }
}

void WriteCommandRecord(ByteWriter& out, const EventCommand& command) {
  out.U8(static_cast<uint8_t>(command.arguments.size()));
  for (int32_t argument : command.arguments) out.I32(argument);
  out.U8(command.indent).U8(static_cast<uint8_t>(command.strings.size()));
  for (const std::string& text : command.strings) out.Text(text);
  out.U8(command.routes.empty() ? 0 : 1);
  if (!command.routes.empty()) WriteRouteRecord(out, command.routes[0]);
}

size_t MapFileTilesOffset(const MapData& map) { return 20 + 4 + 1 + 4 + map.header.name.size() + 1 + 4 * 4; }

std::string WriteMapFile(const MapData& map, const MapFileOptions& options) {
  ByteWriter body;
  body.I32(100).U8(options.formatMarker).Text(map.header.name).I32(map.header.tileSetNumber);
  body.I32(map.header.width).I32(map.header.height).I32(static_cast<int32_t>(map.events.size()));
  for (const MapData::TileLayer& layer : map.layers) {
    for (int32_t x = 0; x < map.header.width; ++x) {
      for (int32_t y = 0; y < map.header.height; ++y) body.I32(layer[static_cast<size_t>(x)][static_cast<size_t>(y)]);
    }
  }
  for (const MapEvent& event : map.events) WriteEvent(body, event);
  body.U8(options.endMarker);
  return FrameDataFile(body.Bytes(), 20, options.seeds);
}
