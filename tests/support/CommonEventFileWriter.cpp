#include "tests/support/CommonEventFileWriter.h"

#include "tests/support/ByteWriter.h"
#include "tests/support/MapFileWriter.h"

void WriteCommonEventRecord(ByteWriter& out, const CommonEvent& event, const CommonEventRecordOptions& options) {
  out.U8(0x8E).I32(event.number).U8(event.trigger).I32(event.conditionVariable).I32(event.conditionValue);
  out.U8(event.optionBytes[0]).U8(event.optionBytes[1]).Text(event.name);
  out.I32(static_cast<int32_t>(event.commands.size()));
  for (const EventCommand& command : event.commands) WriteCommandRecord(out, command);
  out.ByteList(event.extraBytes);
  if (!event.extraBytes.empty()) out.Text(event.extraText);
  out.U8(options.formatByte);
  if (options.formatByte == 0x8E) return;
  out.Texts(event.argumentNames).ByteList(event.argumentSettings);
  out.I32(static_cast<int32_t>(event.argumentOptionTexts.size()));
  for (const std::vector<std::string>& texts : event.argumentOptionTexts) out.Texts(texts);
  out.I32(static_cast<int32_t>(event.argumentOptionValues.size()));
  for (const std::vector<int32_t>& values : event.argumentOptionValues) out.I32List(values);
  out.I32List(event.argumentDefaults).U8(options.endByte);
}

std::string WriteCommonEventDat(const std::vector<CommonEvent>& events, const CommonEventDatOptions& options) {
  ByteWriter body;
  body.U8(options.openingByte).I32(static_cast<int32_t>(events.size()));
  for (const CommonEvent& event : events) WriteCommonEventRecord(body, event, options.record);
  body.U8(options.closingByte);
  return FrameDataFile(body.Bytes(), 10, options.seeds);
}

std::string WriteCommonEventFile(const std::vector<CommonEvent>& events, const CommonEventRecordOptions& options) {
  ByteWriter out;
  out.I32(0x030C386C).I32(static_cast<int32_t>(events.size()));
  for (const CommonEvent& event : events) WriteCommonEventRecord(out, event, options);
  return out.Bytes();
}
