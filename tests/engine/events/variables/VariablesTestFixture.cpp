#include "tests/engine/events/variables/VariablesTestFixture.h"

#include <cstdio>

#include "engine/data/CommonEventList.h"
#include "engine/data/database/Databases.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"
#include "engine/services/StartupSettings.h"
#include "tests/support/DatabaseBuilder.h"

std::vector<ErrorScreenLines> VariablesTest::errors;

Database MakeTestDatabase(int32_t types, int32_t records) {
  Database db;
  for (int32_t t = 0; t < types; ++t) {
    DatabaseTypeData data = MakeTypeData({1000, 2000}, records);
    for (int32_t r = 0; r < records; ++r) {
      data.Integer(r, 0) = r * 10 + t;
      char text[32];
      std::snprintf(text, sizeof text, "t%dr%d", t, r);
      data.String(r, 0) = text;
    }
    db.typeData.push_back(std::move(data));
    db.typeDefinitions.push_back(MakeDefinition("type", {"number", "text"}, {}));
  }
  return db;
}

void VariablesTest::SetUp() {
  errors.clear();
  SetErrorScreenHandler([](const std::string& a, const std::string& b, const std::string& c) {
    errors.push_back({a, b, c});
  });
  PublishErrorLocation(4, -1, 7);
  TileUnit = 32;
  SystemDatabase = MakeTestDatabase(24, 1);
  for (int32_t set = 0; set < 10; ++set) {
    SystemDatabase.typeData[static_cast<size_t>(14 + set)] = MakeTypeData({1000}, set == 0 ? 100 : 10);
  }
  UserDatabase = MakeTestDatabase(3, 4);
  VariableDatabase = MakeTestDatabase(3, 4);
  CommonEvents = CommonEventList();
  RootRunner = RootEventRunner();
  Variables = VariableStore();
}

void VariablesTest::TearDown() {
  SetErrorScreenHandler(nullptr);
  SystemDatabase = Database();
  UserDatabase = Database();
  VariableDatabase = Database();
  Variables = VariableStore(&RootRunner);
}

std::vector<ErrorScreenLines> VariablesTest::TakeErrors() {
  std::vector<ErrorScreenLines> taken;
  taken.swap(errors);
  return taken;
}
