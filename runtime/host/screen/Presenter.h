#pragma once
// Brings a finished frame into the window. The SDL presenter streams it into
// a texture drawn by nearest scaling into the window's picture viewport; the
// null presenter of tests shows nothing and only keeps what it was given.
// Whatever the presenter, the last frame shown is kept, in place of reading
// the window back.

#include <cstdint>
#include <vector>

struct HostFrame {
  const uint8_t* pixels;
  int width;
  int height;
  int pitch;
  int bytesPerPixel;  // 2: R5G6B5, 4: X8R8G8B8
};

class HostPresenter {
 public:
  virtual ~HostPresenter() = default;
  // Shows the frame at destWidth x destHeight (nearest scaling).
  virtual void Present(const HostFrame& frame, int destWidth, int destHeight) = 0;
};

// Keeps the frame and hands it to the current presenter.
void HostPresentFrame(const HostFrame& frame, int destWidth, int destHeight);
// The last frame shown, in its own format; false when none was shown.
bool HostShownFrame(HostFrame* frame);
// Drops the kept frame and the SDL presenter's texture (the window goes).
void HostReleasePresenter();

// Null: the SDL presenter. The presenter stays the caller's.
void HostSetPresenter(HostPresenter* presenter);

class HostNullPresenter : public HostPresenter {
 public:
  void Present(const HostFrame& frame, int destWidth, int destHeight) override;
  int presents = 0;
  int destWidth = 0;
  int destHeight = 0;
  // The shown window pixel at (x, y) as 0x00RRGGBB: the kept frame scaled
  // by nearest to the destination size.
  uint32_t WindowPixel(int x, int y) const;
};
