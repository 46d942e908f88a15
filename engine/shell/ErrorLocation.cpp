#include "engine/shell/ErrorLocation.h"

namespace {

struct ErrorLocation {
  int32_t mapEventId = 0;
  int32_t commonEventNumber = 0;
  int32_t line = 0;
};

ErrorLocation gLocation;

}  // namespace

void PublishErrorLocation(int32_t mapEventId, int32_t commonEventNumber, int32_t line) {
  gLocation = {mapEventId, commonEventNumber, line};
}

std::string ErrorLocationText() {
  return "処理地点:【マップEv " + std::to_string(gLocation.mapEventId) + " コモンEv " +
         std::to_string(gLocation.commonEventNumber) + " 行" + std::to_string(gLocation.line) +
         "】  　※もし並列処理のｴﾗｰなら地点不明です";
}
