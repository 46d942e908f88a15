#include "runtime/host/screen/Presenter.h"

#include <SDL.h>

#include <cstring>

#include "runtime/host/window/SdlWindow.h"

namespace {

struct KeptFrame {
  std::vector<uint8_t> pixels;
  int width = 0;
  int height = 0;
  int bytesPerPixel = 0;
};

KeptFrame gKept;

class SdlPresenter : public HostPresenter {
 public:
  void Present(const HostFrame& frame, int destWidth, int destHeight) override {
    SDL_Renderer* renderer = HostSdlRenderer();
    if (!renderer) return;
    const Uint32 format = frame.bytesPerPixel == 2 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
    if (texture_ && (generation_ != HostSdlRendererGeneration() || resets_ != HostRenderResetCount() ||
                     width_ != frame.width || height_ != frame.height || format_ != format)) {
      // A renderer that was made again took its textures with it.
      if (generation_ == HostSdlRendererGeneration()) SDL_DestroyTexture(texture_);
      texture_ = nullptr;
    }
    if (!texture_) {
      texture_ = SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_STREAMING, frame.width, frame.height);
      if (!texture_) return;
      SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
      generation_ = HostSdlRendererGeneration();
      resets_ = HostRenderResetCount();
      width_ = frame.width;
      height_ = frame.height;
      format_ = format;
    }
    SDL_UpdateTexture(texture_, nullptr, frame.pixels, frame.pitch);
    SDL_Rect viewport = HostPictureViewport();
    if (viewport.w > destWidth) viewport.w = destWidth;
    if (viewport.h > destHeight) viewport.h = destHeight;
    // The bars beside a picture that does not fill the window are black.
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
    if (viewport.x != 0 || viewport.y != 0 || viewport.w != outputWidth || viewport.h != outputHeight) {
      SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
      SDL_RenderClear(renderer);
    }
    SDL_RenderCopy(renderer, texture_, nullptr, &viewport);
    SDL_RenderPresent(renderer);
  }

  void Release() {
    if (texture_ && generation_ == HostSdlRendererGeneration()) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
  }

 private:
  SDL_Texture* texture_ = nullptr;
  uint32_t generation_ = 0;
  uint32_t resets_ = 0;
  int width_ = 0;
  int height_ = 0;
  Uint32 format_ = 0;
};

SdlPresenter gSdlPresenter;
HostPresenter* gPresenter = nullptr;

}  // namespace

void HostPresentFrame(const HostFrame& frame, int destWidth, int destHeight) {
  if (!frame.pixels || frame.width <= 0 || frame.height <= 0) return;
  const size_t row = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.bytesPerPixel);
  gKept.pixels.resize(row * static_cast<size_t>(frame.height));
  if (static_cast<size_t>(frame.pitch) == row) {
    std::memcpy(gKept.pixels.data(), frame.pixels, gKept.pixels.size());
  } else {
    for (int y = 0; y < frame.height; ++y) {
      std::memcpy(gKept.pixels.data() + row * static_cast<size_t>(y),
                  frame.pixels + static_cast<size_t>(frame.pitch) * static_cast<size_t>(y), row);
    }
  }
  gKept.width = frame.width;
  gKept.height = frame.height;
  gKept.bytesPerPixel = frame.bytesPerPixel;
  HostPresenter* presenter = gPresenter ? gPresenter : &gSdlPresenter;
  presenter->Present(frame, destWidth, destHeight);
}

bool HostShownFrame(HostFrame* frame) {
  if (gKept.width == 0) return false;
  *frame = HostFrame{gKept.pixels.data(), gKept.width, gKept.height, gKept.width * gKept.bytesPerPixel,
                     gKept.bytesPerPixel};
  return true;
}

void HostReleasePresenter() {
  gSdlPresenter.Release();
  gKept = KeptFrame();
}

void HostSetPresenter(HostPresenter* presenter) { gPresenter = presenter; }

void HostNullPresenter::Present(const HostFrame&, int width, int height) {
  ++presents;
  destWidth = width;
  destHeight = height;
}

uint32_t HostNullPresenter::WindowPixel(int x, int y) const {
  if (gKept.width == 0 || destWidth <= 0 || destHeight <= 0) return 0;
  const int sx = static_cast<int>(static_cast<int64_t>(x) * gKept.width / destWidth);
  const int sy = static_cast<int>(static_cast<int64_t>(y) * gKept.height / destHeight);
  const uint8_t* at = gKept.pixels.data() +
                      (static_cast<size_t>(sy) * static_cast<size_t>(gKept.width) + static_cast<size_t>(sx)) *
                          static_cast<size_t>(gKept.bytesPerPixel);
  if (gKept.bytesPerPixel == 4) {
    uint32_t v;
    std::memcpy(&v, at, 4);
    return v & 0xFFFFFF;
  }
  const uint32_t p = static_cast<uint32_t>(at[0] | at[1] << 8);
  const uint32_t r = (p >> 11) & 31;
  const uint32_t g = (p >> 5) & 63;
  const uint32_t b = p & 31;
  return (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
}
