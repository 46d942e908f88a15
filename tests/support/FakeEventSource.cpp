#include "tests/support/FakeEventSource.h"

#include <deque>
#include <mutex>

namespace {

std::mutex gMutex;
std::deque<HostMessage> gPending;

bool FakePoll(std::vector<HostMessage>& out) {
  std::lock_guard<std::mutex> lock(gMutex);
  if (gPending.empty()) return false;
  out.push_back(gPending.front());
  gPending.pop_front();
  return true;
}

const HostEventSource kFakeSource = {FakePoll};

}  // namespace

FakeEventSource::FakeEventSource() {
  {
    std::lock_guard<std::mutex> lock(gMutex);
    gPending.clear();
  }
  HostSetEventSource(&kFakeSource);
}

FakeEventSource::~FakeEventSource() {
  HostSetEventSource(nullptr);
  std::lock_guard<std::mutex> lock(gMutex);
  gPending.clear();
}

void FakeEventSource::Push(HostMessageId id, int32_t p1, int32_t p2, int32_t p3) {
  HostMessage message;
  message.id = id;
  message.p1 = p1;
  message.p2 = p2;
  message.p3 = p3;
  Push(message);
}

void FakeEventSource::Push(const HostMessage& message) {
  std::lock_guard<std::mutex> lock(gMutex);
  gPending.push_back(message);
}

int FakeEventSource::Pending() const {
  std::lock_guard<std::mutex> lock(gMutex);
  return static_cast<int>(gPending.size());
}
