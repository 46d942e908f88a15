#include "tests/support/DatabaseBuilder.h"

#include <stdexcept>

DatabaseTypeData MakeTypeData(std::vector<int32_t> codes, int32_t records, int32_t nameMode, int32_t formatTag) {
  DatabaseTypeData entries;
  entries.formatTag = formatTag;
  entries.nameMode = nameMode;
  if (!entries.SetItemCodes(std::move(codes))) throw std::invalid_argument("an item code's slot lies outside its row");
  entries.ResizeRecords(records);
  return entries;
}

DatabaseTypeData MakeSampleTypeData(std::vector<int32_t> codes, int32_t records, int32_t nameMode, int32_t formatTag) {
  DatabaseTypeData entries = MakeTypeData(std::move(codes), records, nameMode, formatTag);
  for (int32_t r = 0; r < records; ++r) {
    for (int32_t s = 0; s < entries.IntegerCount(); ++s) entries.Integer(r, s) = r * 100 - s;
    for (int32_t s = 0; s < entries.StringCount(); ++s) entries.String(r, s) = "文字" + std::to_string(r * 10 + s);
  }
  return entries;
}

DatabaseTypeDefinition MakeDefinition(std::string typeName, std::vector<std::string> itemNames,
                                      std::vector<std::string> dataNames, std::vector<int32_t> defaults) {
  DatabaseTypeDefinition definition;
  definition.typeName = std::move(typeName);
  definition.itemNames = std::move(itemNames);
  definition.dataNames = std::move(dataNames);
  definition.itemDefaults = std::move(defaults);
  return definition;
}

DatabaseTypeDefinition MakeSampleDefinition(std::string typeName, std::vector<std::string> itemNames,
                                            std::vector<std::string> dataNames) {
  const size_t items = itemNames.size();
  DatabaseTypeDefinition definition =
      MakeDefinition(std::move(typeName), std::move(itemNames), std::move(dataNames), std::vector<int32_t>(items));
  definition.memo = "memo of " + definition.typeName;
  definition.itemTexts.assign(items, "text");
  definition.itemOptionTexts.assign(items, {"on", "off"});
  definition.itemOptionValues.assign(items, {1, -1});
  for (size_t i = 0; i < items; ++i) {
    definition.itemKindBytes[i] = static_cast<uint8_t>(i + 1);
    definition.itemDefaults[i] = static_cast<int32_t>(i) * 3 + 1;
  }
  return definition;
}
