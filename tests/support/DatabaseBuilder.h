#pragma once
// The types of databases for tests. The plain forms give a data part whose
// records hold 0 and empty cells, and a definition with names and defaults
// only; the sample forms give every cell and every definition field a value
// of its own, so that a file written and read back shows each in its place.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/database/DatabaseTypeData.h"
#include "engine/data/database/DatabaseTypeDefinition.h"

// Throws std::invalid_argument when a code's slot lies outside its row.
DatabaseTypeData MakeTypeData(std::vector<int32_t> codes, int32_t records, int32_t nameMode = 0,
                              int32_t formatTag = -2);
// Integer slot s of record r holds r x 100 - s, string slot s "文字" and r x 10 + s.
DatabaseTypeData MakeSampleTypeData(std::vector<int32_t> codes, int32_t records, int32_t nameMode = 0,
                                    int32_t formatTag = -2);

DatabaseTypeDefinition MakeDefinition(std::string typeName, std::vector<std::string> itemNames,
                                      std::vector<std::string> dataNames, std::vector<int32_t> defaults = {});
// With a memo, and for item i a text, two option texts and values, kind
// byte i + 1 and default i x 3 + 1.
DatabaseTypeDefinition MakeSampleDefinition(std::string typeName, std::vector<std::string> itemNames,
                                            std::vector<std::string> dataNames);
