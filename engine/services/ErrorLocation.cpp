#include "engine/services/ErrorLocation.h"

std::string ErrorLocationText() {
  const ErrorLocation& at = PublishedErrorLocation;
  return "処理地点:【マップEv " + std::to_string(at.mapEventId) + " コモンEv " + std::to_string(at.commonEventNumber) +
         " 行" + std::to_string(at.line) + "】  　※もし並列処理のｴﾗｰなら地点不明です";
}
