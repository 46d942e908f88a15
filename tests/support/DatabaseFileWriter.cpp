#include "tests/support/DatabaseFileWriter.h"

#include <algorithm>

#include "tests/support/ByteWriter.h"
#include "tests/support/TestDirectory.h"

namespace {

void WriteBlock(ByteWriter& out, const DatabaseTypeData& entries) {
  if (entries.formatTag < 0) out.I32(entries.formatTag);
  if (entries.formatTag <= -2) out.I32(entries.nameMode);
  out.I32(entries.ItemCount());
  for (int32_t code : entries.ItemCodes()) out.I32(code);
  out.I32(entries.RecordCount());
  for (int32_t r = 0; r < entries.RecordCount(); ++r) {
    for (int32_t s = 0; s < entries.IntegerCount(); ++s) out.I32(entries.Integer(r, s));
    for (int32_t s = 0; s < entries.StringCount(); ++s) out.Text(entries.String(r, s));
  }
}

void WriteDefinition(ByteWriter& out, const DatabaseTypeDefinition& definition, uint8_t version) {
  out.Text(definition.typeName).Texts(definition.itemNames).Texts(definition.dataNames).Text(definition.memo);
  if (version == 0xC0) return;
  out.ByteList(definition.itemKindBytes).Texts(definition.itemTexts);
  out.I32(static_cast<int32_t>(definition.itemOptionTexts.size()));
  for (const std::vector<std::string>& texts : definition.itemOptionTexts) out.Texts(texts);
  out.I32(static_cast<int32_t>(definition.itemOptionValues.size()));
  for (const std::vector<int32_t>& values : definition.itemOptionValues) out.I32List(values);
  out.I32List(definition.itemDefaults);
}

}  // namespace

std::string WriteDatabaseDat(const Database& database, const DatabaseFileOptions& options) {
  ByteWriter body;
  body.U8(options.version).I32(database.GetTypeCount());
  for (const DatabaseTypeData& entries : database.typeData) WriteBlock(body, entries);
  body.U8(options.closingVersion.value_or(options.version));
  return FrameDataFile(body.Bytes(), 10, options.seeds);
}

std::string WriteDatabaseProject(const Database& database, uint8_t version) {
  ByteWriter out;
  out.I32(static_cast<int32_t>(database.typeDefinitions.size()));
  for (const DatabaseTypeDefinition& definition : database.typeDefinitions) WriteDefinition(out, definition, version);
  return out.Bytes();
}

void WriteDatabaseFiles(const TestDirectory& dir, const std::string& name, const Database& database,
                        const DatabaseFileOptions& options) {
  std::string relative = "Data/" + name;
  std::replace(relative.begin(), relative.end(), '\\', '/');
  dir.Write(relative + ".dat", WriteDatabaseDat(database, options));
  dir.Write(relative + ".project", WriteDatabaseProject(database, options.version));
}
