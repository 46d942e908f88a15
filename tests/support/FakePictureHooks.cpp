#include "tests/support/FakePictureHooks.h"

namespace {

FakePictureHooks* gPictures = nullptr;

void Record(const char* what, const PictureRequest& r) { gPictures->calls.push_back({what, r, {}}); }
void RecordValues(const char* what, std::vector<int32_t> values) { gPictures->calls.push_back({what, {}, std::move(values)}); }

}  // namespace

FakePictureHooks::FakePictureHooks() {
  gPictures = this;
  static const PictureHooks kHooks = {
      [](const PictureRequest& r) { Record("show", r); },
      [](const PictureRequest& r) { Record("showText", r); },
      [](const PictureRequest& r) { Record("move", r); },
      [](int32_t first, int32_t last, int32_t frames, int32_t delay, int32_t color) {
        RecordValues("erase", {first, last, frames, delay, color});
      },
      [](int32_t first, int32_t last) { RecordValues("cancel", {first, last}); },
      [](int32_t first, int32_t last, int32_t kind, int32_t a, int32_t b, int32_t c, int32_t frames) {
        RecordValues("effect", {first, last, kind, a, b, c, frames});
      },
      [](int32_t number, int32_t property) {
        auto found = gPictures->properties.find({number, property});
        return found == gPictures->properties.end() ? -1 : found->second;
      },
  };
  SetPictureHooks(&kHooks);
}

FakePictureHooks::~FakePictureHooks() {
  SetPictureHooks(nullptr);
  gPictures = nullptr;
}
