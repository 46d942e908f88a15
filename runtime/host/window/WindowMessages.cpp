#include "runtime/host/window/WindowMessages.h"

#include <SDL.h>

#include <atomic>
#include <deque>
#include <mutex>

#include "runtime/host/window/Cursor.h"
#include "runtime/host/window/SdlWindow.h"

namespace {

bool SdlPoll(std::vector<HostMessage>& out) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  SDL_Event event;
  if (!SDL_PollEvent(&event)) return false;
  HostTranslateSdlEvent(event, out);
  return true;
}

const HostEventSource kSdlSource = {SdlPoll};

std::recursive_mutex gMutex;
std::deque<HostMessage> gQueue;
std::atomic<const HostEventSource*> gSource{&kSdlSource};
std::atomic<bool> gImeEnabled{true};

bool IsMouseMessage(HostMessageId id) {
  return id == HostMessageId::MouseMove || id == HostMessageId::ButtonDown || id == HostMessageId::ButtonUp;
}

bool IsImeMessage(HostMessageId id) {
  return id == HostMessageId::ImeStartComposition || id == HostMessageId::ImeComposition ||
         id == HostMessageId::ImeEndComposition;
}

// Takes events from the source until one of them gave a message.
bool FetchFromSource() {
  std::vector<HostMessage> fetched;
  while (fetched.empty()) {
    if (!gSource.load()->poll(fetched)) return false;
    for (auto it = fetched.begin(); it != fetched.end();) {
      if (IsImeMessage(it->id) && !gImeEnabled.load()) {
        it = fetched.erase(it);
        continue;
      }
      if (IsMouseMessage(it->id)) HostNoteCursorInClient(it->p1, it->p2);
      ++it;
    }
  }
  gQueue.insert(gQueue.end(), fetched.begin(), fetched.end());
  return true;
}

}  // namespace

void HostPostMessage(const HostMessage& message) {
  std::lock_guard<std::recursive_mutex> lock(gMutex);
  gQueue.push_back(message);
}

bool HostPeekMessage(HostMessage* message) {
  std::lock_guard<std::recursive_mutex> lock(gMutex);
  if (gQueue.empty() && !FetchFromSource()) return false;
  *message = gQueue.front();
  return true;
}

void HostRemoveMessage() {
  std::lock_guard<std::recursive_mutex> lock(gMutex);
  if (!gQueue.empty()) gQueue.pop_front();
}

void HostDiscardMessages() {
  std::lock_guard<std::recursive_mutex> lock(gMutex);
  gQueue.clear();
}

void HostEnableIme(bool enabled) {
  gImeEnabled.store(enabled);
  HostApplyImeState();
}

void HostApplyImeState() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  if (gImeEnabled.load()) {
    SDL_StartTextInput();
  } else {
    SDL_StopTextInput();
  }
}
bool HostIsImeEnabled() { return gImeEnabled.load(); }

void HostSetEventSource(const HostEventSource* source) { gSource.store(source ? source : &kSdlSource); }
