// Surfaces of the display's memory (GL textures, a renderbuffer for depth)
// and of system memory, with locks, blits, fills, colour keys and loss.

#include <algorithm>
#include <cstring>

#include "runtime/host/device3d/Device3D.h"
#include "runtime/host/device3d/DeviceGl.h"
#include "runtime/host/device3d/GlState.h"
#include "runtime/host/window/SdlWindow.h"
#include "runtime/host/window/Window.h"

namespace {

constexpr int kMaxSide = 32767;
constexpr int64_t kMaxArea = int64_t{1} << 26;
constexpr int kMaxTextureSide = 2048;

bool Live(const HostSurface* s) {
  return s && std::find(gDisplay.surfaces.begin(), gDisplay.surfaces.end(), s) != gDisplay.surfaces.end();
}

bool IsDepth(const HostSurface* s) { return (s->caps & kHostSurfaceZBuffer) != 0; }

HostRect Whole(const HostSurface* s) { return HostRect{0, 0, s->width, s->height}; }

bool Empty(const HostRect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool Inside(const HostRect& r, const HostSurface* s) {
  return r.left >= 0 && r.top >= 0 && r.right <= s->width && r.bottom <= s->height && !Empty(r);
}

// A rectangle in the primary's coordinates, moved into its storage.
HostRect ToStorage(const HostSurface* s, const HostRect& r) {
  return HostRect{r.left - s->originX, r.top - s->originY, r.right - s->originX, r.bottom - s->originY};
}

void AllocateMemory(HostSurface* s) {
  s->pitch = (s->width * s->bytesPerPixel + 3) & ~3;
  s->memory.assign(static_cast<size_t>(s->pitch) * static_cast<size_t>(s->height), 0);
}

uint8_t* At(HostSurface* s, int x, int y) {
  return s->memory.data() + static_cast<size_t>(y) * static_cast<size_t>(s->pitch) +
         static_cast<size_t>(x) * static_cast<size_t>(s->bytesPerPixel);
}

uint32_t LoadPixel(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  std::memcpy(&v, p, static_cast<size_t>(bytes));
  return v;
}

void StorePixel(uint8_t* p, int bytes, uint32_t v) { std::memcpy(p, &v, static_cast<size_t>(bytes)); }

int Shift(uint32_t mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

int Width(uint32_t mask) {
  mask >>= Shift(mask);
  int width = 0;
  while (mask & 1) {
    mask >>= 1;
    ++width;
  }
  return width;
}

// A channel of a pixel as 0..1.
float Channel(uint32_t value, uint32_t mask) {
  const int width = Width(mask);
  if (width == 0) return 1.0f;
  return static_cast<float>((value & mask) >> Shift(mask)) / static_cast<float>((1u << width) - 1);
}

uint32_t Widen8(uint32_t value, uint32_t mask) {
  const int width = Width(mask);
  if (width == 0) return 255;
  const uint32_t v = (value & mask) >> Shift(mask);
  return v * 255 / ((1u << width) - 1);
}

uint32_t Narrow(uint32_t channel8, uint32_t mask) {
  const int width = Width(mask);
  if (width == 0) return 0;
  return ((channel8 >> (8 - width)) << Shift(mask)) & mask;
}

uint32_t Convert(uint32_t v, const HostPixelFormat& from, const HostPixelFormat& to) {
  if (from.bitCount == to.bitCount && from.redMask == to.redMask && from.greenMask == to.greenMask &&
      from.blueMask == to.blueMask && from.alphaMask == to.alphaMask) {
    return v;
  }
  const uint32_t fromAlpha = (from.flags & kHostPixelAlpha) ? from.alphaMask : 0;
  const uint32_t toAlpha = (to.flags & kHostPixelAlpha) ? to.alphaMask : 0;
  return Narrow(Widen8(v, from.redMask), to.redMask) | Narrow(Widen8(v, from.greenMask), to.greenMask) |
         Narrow(Widen8(v, from.blueMask), to.blueMask) | Narrow(fromAlpha ? Widen8(v, fromAlpha) : 255, toAlpha);
}

bool CreateGpuStorage(HostSurface* s) {
  if (!gDisplay.device3D || !MakeContextCurrent()) return false;
  s->generation = gDisplay.generation;
  if (IsDepth(s)) {
    gl::GenRenderbuffers(1, &s->renderbuffer);
    gl::BindRenderbuffer(GL_RENDERBUFFER, s->renderbuffer);
    gl::RenderbufferStorage(GL_RENDERBUFFER, s->layout.internalFormat, s->width, s->height);
    return gl::GetError() == GL_NO_ERROR;
  }
  gl::GenTextures(1, &s->texture);
  BindTextureUnit(0, s->texture);
  gl::TexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(s->layout.internalFormat), s->width, s->height, 0,
                 s->layout.format, s->layout.type, nullptr);
  gl::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  // Alpha bits that are not there read as opaque; the stored byte still
  // comes back in a lock.
  if (s->layout.opaque) gl::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
  if (gl::GetError() != GL_NO_ERROR) {
    ForgetGpuStorage(s);
    return false;
  }
  // New storage starts black, as the mirror does.
  const GLuint framebuffer = SurfaceFramebuffer(s);
  if (framebuffer == 0) return false;
  SetScissor(false, 0, 0, 0, 0);
  gl::ClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  gl::Clear(GL_COLOR_BUFFER_BIT);
  s->mirrorValid = false;
  return true;
}

// Makes the primary match the window's client area: its size and, in the
// windowed style, where it lies on the desktop.
void SyncPrimaryGeometry(HostSurface* s, int* width, int* height) {
  HostRect client = {0, 0, 640, 480};
  HostWindowClientRect(&client);
  const bool windowed = HostWindowGetStyle() == HostWindowStyle::Windowed;
  s->originX = windowed ? client.left : 0;
  s->originY = windowed ? client.top : 0;
  *width = std::max(1, client.right - client.left);
  *height = std::max(1, client.bottom - client.top);
}

void ReadBack(HostSurface* s, const HostRect& r) {
  const GLuint framebuffer = SurfaceFramebuffer(s);
  if (framebuffer == 0) return;
  BindReadFramebuffer(framebuffer);
  gl::PixelStorei(GL_PACK_ROW_LENGTH, s->pitch / s->bytesPerPixel);
  gl::ReadPixels(r.left, r.top, r.right - r.left, r.bottom - r.top, s->layout.format, s->layout.type,
                 At(s, r.left, r.top));
  gl::PixelStorei(GL_PACK_ROW_LENGTH, 0);
}

void Upload(HostSurface* s, const HostRect& r, const uint8_t* pixels, int pitch, const GlPixelLayout& layout) {
  BindTextureUnit(0, s->texture);
  gl::PixelStorei(GL_UNPACK_ROW_LENGTH, pitch / layout.bytesPerPixel);
  gl::TexSubImage2D(GL_TEXTURE_2D, 0, r.left, r.top, r.right - r.left, r.bottom - r.top, layout.format,
                    layout.type, pixels);
  gl::PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

// The written surface's pixels are now on the GPU only.
void AfterGpuWrite(HostSurface* s) {
  NoteGpuWrite(s);
  if (s->caps & kHostSurfacePrimary) ShowPrimary();
}

int CheckUsable(const HostSurface* s) {
  if (!Live(s)) return kHostInvalid;
  if (HostSurfaceIsLost(s) != kHostOk) return kHostSurfaceLost;
  if (s->locked) return kHostError;
  return kHostOk;
}

// Cuts a destination rectangle to the surface, moving the source
// rectangle's edges in proportion.
bool ClipPair(const HostSurface* destination, HostRect* d, HostRect* s) {
  const int64_t dw = d->right - d->left;
  const int64_t dh = d->bottom - d->top;
  const int64_t sw = s->right - s->left;
  const int64_t sh = s->bottom - s->top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return false;
  HostRect c = *d;
  c.left = std::max(c.left, 0);
  c.top = std::max(c.top, 0);
  c.right = std::min(c.right, destination->width);
  c.bottom = std::min(c.bottom, destination->height);
  if (Empty(c)) return false;
  HostRect cs;
  cs.left = s->left + static_cast<int>((c.left - d->left) * sw / dw);
  cs.top = s->top + static_cast<int>((c.top - d->top) * sh / dh);
  cs.right = s->left + static_cast<int>((c.right - d->left) * sw / dw);
  cs.bottom = s->top + static_cast<int>((c.bottom - d->top) * sh / dh);
  if (Empty(cs)) return false;
  *d = c;
  *s = cs;
  return true;
}

// Every other blit: through locks, pixel by pixel.
int SoftwareBlt(HostSurface* destination, const HostRect& d, HostSurface* source, const HostRect& s, bool keyed) {
  const int sw = s.right - s.left;
  const int sh = s.bottom - s.top;
  std::vector<uint32_t> pixels(static_cast<size_t>(sw) * static_cast<size_t>(sh));
  uint8_t* from = nullptr;
  int fromPitch = 0;
  int result = HostSurfaceLock(source, &s, kHostLockReadOnly, &from, &fromPitch);
  if (result != kHostOk) return result;
  for (int y = 0; y < sh; ++y) {
    for (int x = 0; x < sw; ++x) {
      pixels[static_cast<size_t>(y) * static_cast<size_t>(sw) + static_cast<size_t>(x)] =
          LoadPixel(from + static_cast<size_t>(y) * static_cast<size_t>(fromPitch) +
                        static_cast<size_t>(x) * static_cast<size_t>(source->bytesPerPixel),
                    source->bytesPerPixel);
    }
  }
  HostSurfaceUnlock(source);
  uint8_t* to = nullptr;
  int toPitch = 0;
  result = HostSurfaceLock(destination, &d, 0, &to, &toPitch);
  if (result != kHostOk) return result;
  const int dw = d.right - d.left;
  const int dh = d.bottom - d.top;
  const uint32_t keyMask = source->bytesPerPixel == 4 ? 0xFFFFFFFFu : 0xFFFFu;
  for (int y = 0; y < dh; ++y) {
    const int sy = static_cast<int>(static_cast<int64_t>(y) * sh / dh);
    for (int x = 0; x < dw; ++x) {
      const int sx = static_cast<int>(static_cast<int64_t>(x) * sw / dw);
      const uint32_t v = pixels[static_cast<size_t>(sy) * static_cast<size_t>(sw) + static_cast<size_t>(sx)];
      if (keyed && (v & keyMask) == (source->colorKey & keyMask)) continue;
      StorePixel(to + static_cast<size_t>(y) * static_cast<size_t>(toPitch) +
                     static_cast<size_t>(x) * static_cast<size_t>(destination->bytesPerPixel),
                 destination->bytesPerPixel, Convert(v, source->format, destination->format));
    }
  }
  HostSurfaceUnlock(destination);
  return kHostOk;
}

}  // namespace

GLuint SurfaceFramebuffer(HostSurface* s) {
  if (!s->onGpu || s->generation != gDisplay.generation || s->lost) return 0;
  if (s->framebuffer != 0) return s->framebuffer;
  gl::GenFramebuffers(1, &s->framebuffer);
  BindDrawFramebuffer(s->framebuffer);
  if (IsDepth(s)) {
    gl::FramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, s->renderbuffer);
    gl::DrawBuffer(GL_NONE);
  } else {
    gl::FramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, s->texture, 0);
    if (s->depth && s->depth->renderbuffer != 0) {
      gl::FramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, s->depth->renderbuffer);
    }
  }
  if (gl::CheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    BindDrawFramebuffer(0);
    gl::DeleteFramebuffers(1, &s->framebuffer);
    s->framebuffer = 0;
  }
  return s->framebuffer;
}

void NoteGpuWrite(HostSurface* s) { s->mirrorValid = false; }

void ForgetGpuStorage(HostSurface* s) {
  if (s->generation == gDisplay.generation && gDisplay.context && MakeContextCurrent()) {
    GlShadow& shadow = gDisplay.shadow;
    if (s->framebuffer != 0) {
      if (shadow.drawFramebuffer == s->framebuffer) BindDrawFramebuffer(0);
      if (shadow.readFramebuffer == s->framebuffer) BindReadFramebuffer(0);
      gl::DeleteFramebuffers(1, &s->framebuffer);
    }
    if (s->texture != 0) {
      for (int unit = 0; unit < kHostTextureUnits; ++unit) {
        if (shadow.textures[unit] == s->texture) shadow.textures[unit] = 0;
      }
      gl::DeleteTextures(1, &s->texture);
    }
    if (s->renderbuffer != 0) gl::DeleteRenderbuffers(1, &s->renderbuffer);
  }
  s->framebuffer = 0;
  s->texture = 0;
  s->renderbuffer = 0;
  s->lost = true;
  s->mirrorValid = false;
}

void ShowPrimary() {
  HostSurface* p = gDisplay.primary;
  if (!p || !p->onGpu || p->lost || !MakeContextCurrent()) return;
  SyncPrimary(p);
  const GLuint framebuffer = SurfaceFramebuffer(p);
  SDL_Window* window = HostSdlWindow();
  if (framebuffer == 0 || !window) return;
  int windowWidth = 0;
  int windowHeight = 0;
  SDL_GL_GetDrawableSize(window, &windowWidth, &windowHeight);
  const SDL_Rect v = HostPictureViewport();
  BindReadFramebuffer(framebuffer);
  BindDrawFramebuffer(0);
  SetScissor(false, 0, 0, 0, 0);
  if (v.x != 0 || v.y != 0 || v.w != windowWidth || v.h != windowHeight) {
    gl::ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    gl::Clear(GL_COLOR_BUFFER_BIT);
  }
  // The window's rows run bottom up.
  gl::BlitFramebuffer(0, 0, p->width, p->height, v.x, windowHeight - v.y, v.x + v.w, windowHeight - v.y - v.h,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
  SDL_GL_SwapWindow(window);
}

void SyncPrimary(HostSurface* p) {
  int width = 0;
  int height = 0;
  SyncPrimaryGeometry(p, &width, &height);
  if (width == p->width && height == p->height) return;
  p->width = width;
  p->height = height;
  if (p->onGpu) {
    ForgetGpuStorage(p);
    p->lost = false;
    p->memory.clear();
    if (!CreateGpuStorage(p)) p->lost = true;
  } else {
    AllocateMemory(p);
  }
}

HostSurface* HostSurfaceCreate(const HostSurfaceDesc& desc, int* result) {
  int dummy = 0;
  int& r = result ? *result : dummy;
  r = kHostError;
  if (!gDisplay.exists) return nullptr;
  const uint32_t caps = desc.caps;
  auto* s = new HostSurface();
  s->caps = caps & ~(kHostSurfaceVideoMemory | kHostSurfaceSystemMemory);
  s->format = desc.hasFormat ? desc.format : HostDisplayPixelFormat();
  if (caps & kHostSurfacePrimary) {
    if (gDisplay.primary) {
      delete s;
      return nullptr;
    }
    SyncPrimaryGeometry(s, &s->width, &s->height);
    s->caps |= kHostSurface3DDevice;
  } else {
    s->width = desc.width;
    s->height = desc.height;
  }
  const int side = (caps & kHostSurfaceTexture) ? kMaxTextureSide : kMaxSide;
  if (s->width <= 0 || s->height <= 0 || s->width > side || s->height > side ||
      static_cast<int64_t>(s->width) * s->height > kMaxArea || !GlLayoutOf(s->format, &s->layout)) {
    delete s;
    r = kHostInvalid;
    return nullptr;
  }
  s->bytesPerPixel = s->layout.bytesPerPixel;
  // System memory when asked for, and for everything while no GL context
  // draws; depth needs the GPU.
  const bool wantsSystem = (caps & kHostSurfaceSystemMemory) != 0;
  s->onGpu = !wantsSystem && gDisplay.device3D;
  if (IsDepth(s) && !s->onGpu) {
    delete s;
    r = kHostUnsupported;
    return nullptr;
  }
  if ((caps & kHostSurfaceVideoMemory) && !s->onGpu) {
    delete s;
    r = kHostUnsupported;
    return nullptr;
  }
  if (s->onGpu) {
    if (!CreateGpuStorage(s)) {
      ForgetGpuStorage(s);
      delete s;
      return nullptr;
    }
    s->caps |= kHostSurfaceVideoMemory;
  } else {
    AllocateMemory(s);
    s->caps |= kHostSurfaceSystemMemory;
  }
  gDisplay.surfaces.push_back(s);
  if (caps & kHostSurfacePrimary) {
    gDisplay.primary = s;
    if (desc.backBuffers > 0) {
      HostSurfaceDesc back;
      back.width = s->width;
      back.height = s->height;
      back.caps = kHostSurfaceOffscreen | kHostSurface3DDevice | kHostSurfaceFlip;
      back.hasFormat = true;
      back.format = s->format;
      s->backBuffer = HostSurfaceCreate(back, nullptr);
      if (!s->backBuffer) {
        HostSurfaceRelease(s);
        return nullptr;
      }
      s->backBuffer->chainOwner = s;
    }
  }
  r = kHostOk;
  return s;
}

void HostSurfaceRelease(HostSurface* s) {
  if (!Live(s)) return;
  ForgetSurfaceInDevices(s);
  if (s->backBuffer) {
    s->backBuffer->chainOwner = nullptr;
    HostSurfaceRelease(s->backBuffer);
  }
  for (HostSurface* other : gDisplay.surfaces) {
    if (other->depth == s) {
      other->depth = nullptr;
      if (other->framebuffer != 0 && MakeContextCurrent()) {
        BindDrawFramebuffer(other->framebuffer);
        gl::FramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, 0);
      }
    }
  }
  if (s->onGpu) ForgetGpuStorage(s);
  gDisplay.surfaces.erase(std::find(gDisplay.surfaces.begin(), gDisplay.surfaces.end(), s));
  if (gDisplay.primary == s) gDisplay.primary = nullptr;
  delete s;
}

HostSurface* HostSurfaceBackBuffer(HostSurface* primary) { return Live(primary) ? primary->backBuffer : nullptr; }

int HostSurfaceAttachDepth(HostSurface* s, HostSurface* depth) {
  if (!Live(s) || (depth && (!Live(depth) || !IsDepth(depth)))) return kHostInvalid;
  s->depth = depth;
  if (s->framebuffer != 0 && MakeContextCurrent()) {
    BindDrawFramebuffer(s->framebuffer);
    const GLuint renderbuffer = depth && depth->onGpu ? depth->renderbuffer : 0;
    gl::FramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, renderbuffer);
  }
  return kHostOk;
}

uint32_t HostSurfaceCaps(const HostSurface* s) { return Live(s) ? s->caps : 0; }
HostPixelFormat HostSurfaceFormat(const HostSurface* s) { return Live(s) ? s->format : HostPixelFormat{}; }

void HostSurfaceSize(const HostSurface* s, int* width, int* height) {
  if (width) *width = Live(s) ? s->width : 0;
  if (height) *height = Live(s) ? s->height : 0;
}

int HostSurfaceLock(HostSurface* s, const HostRect* rect, uint32_t flags, uint8_t** pixels, int* pitch) {
  const int usable = CheckUsable(s);
  if (usable != kHostOk) return usable;
  if (IsDepth(s)) return kHostUnsupported;
  if (s->caps & kHostSurfacePrimary) SyncPrimary(s);
  HostRect r = Whole(s);
  if (rect) r = (s->caps & kHostSurfacePrimary) ? ToStorage(s, *rect) : *rect;
  if (!Inside(r, s)) return kHostInvalid;
  if (s->onGpu) {
    if (!MakeContextCurrent()) return kHostSurfaceLost;
    if (s->memory.empty()) AllocateMemory(s);
    if (!s->mirrorValid) ReadBack(s, r);
  }
  s->locked = true;
  s->lockRect = r;
  s->lockFlags = flags;
  *pixels = At(s, r.left, r.top);
  *pitch = s->pitch;
  return kHostOk;
}

int HostSurfaceUnlock(HostSurface* s) {
  if (!Live(s) || !s->locked) return kHostInvalid;
  s->locked = false;
  if (!s->onGpu || (s->lockFlags & kHostLockReadOnly) || s->lost || !MakeContextCurrent()) return kHostOk;
  const HostRect& r = s->lockRect;
  Upload(s, r, At(s, r.left, r.top), s->pitch, s->layout);
  // The mirror holds the surface where it was read or written; it stays
  // whole only when it already was.
  if (s->caps & kHostSurfacePrimary) ShowPrimary();
  return kHostOk;
}

int HostSurfaceBlt(HostSurface* destination, const HostRect* destinationRect, HostSurface* source,
                   const HostRect* sourceRect, uint32_t flags) {
  int result = CheckUsable(destination);
  if (result != kHostOk) return result;
  result = CheckUsable(source);
  if (result != kHostOk) return result;
  if (IsDepth(destination) || IsDepth(source)) return kHostUnsupported;
  if (destination->caps & kHostSurfacePrimary) SyncPrimary(destination);
  if (source->caps & kHostSurfacePrimary) SyncPrimary(source);
  HostRect d = destinationRect ? *destinationRect : Whole(destination);
  HostRect s = sourceRect ? *sourceRect : Whole(source);
  if (destinationRect && (destination->caps & kHostSurfacePrimary)) d = ToStorage(destination, d);
  if (sourceRect && (source->caps & kHostSurfacePrimary)) s = ToStorage(source, s);
  if (!Inside(s, source)) return kHostInvalid;
  if (!ClipPair(destination, &d, &s)) return kHostOk;
  const bool keyed = (flags & kHostBltSourceKey) && source->hasColorKey;
  const bool sameSize = d.right - d.left == s.right - s.left && d.bottom - d.top == s.bottom - s.top;
  if (!keyed && destination->onGpu && source->onGpu && destination != source && MakeContextCurrent()) {
    const GLuint from = SurfaceFramebuffer(source);
    const GLuint to = SurfaceFramebuffer(destination);
    if (from == 0 || to == 0) return kHostSurfaceLost;
    BindReadFramebuffer(from);
    BindDrawFramebuffer(to);
    SetScissor(false, 0, 0, 0, 0);
    gl::BlitFramebuffer(s.left, s.top, s.right, s.bottom, d.left, d.top, d.right, d.bottom, GL_COLOR_BUFFER_BIT,
                        GL_NEAREST);
    AfterGpuWrite(destination);
    return kHostOk;
  }
  if (!keyed && sameSize && destination->onGpu && !source->onGpu && MakeContextCurrent()) {
    if (destination->texture == 0) return kHostSurfaceLost;
    Upload(destination, d, At(source, s.left, s.top), source->pitch, source->layout);
    AfterGpuWrite(destination);
    return kHostOk;
  }
  if (!keyed && sameSize && !destination->onGpu && source->onGpu && MakeContextCurrent()) {
    const GLuint from = SurfaceFramebuffer(source);
    if (from == 0) return kHostSurfaceLost;
    BindReadFramebuffer(from);
    gl::PixelStorei(GL_PACK_ROW_LENGTH, destination->pitch / destination->bytesPerPixel);
    gl::ReadPixels(s.left, s.top, s.right - s.left, s.bottom - s.top, destination->layout.format,
                   destination->layout.type, At(destination, d.left, d.top));
    gl::PixelStorei(GL_PACK_ROW_LENGTH, 0);
    return kHostOk;
  }
  // Keyed, scaled between memories or within one surface: pixel by pixel.
  HostRect dIn = d;
  HostRect sIn = s;
  if (destination->caps & kHostSurfacePrimary) {
    dIn = HostRect{d.left + destination->originX, d.top + destination->originY, d.right + destination->originX,
                   d.bottom + destination->originY};
  }
  if (source->caps & kHostSurfacePrimary) {
    sIn = HostRect{s.left + source->originX, s.top + source->originY, s.right + source->originX,
                   s.bottom + source->originY};
  }
  return SoftwareBlt(destination, dIn, source, sIn, keyed);
}

int HostSurfaceBltFast(HostSurface* destination, int x, int y, HostSurface* source, const HostRect* sourceRect,
                       uint32_t flags) {
  if (!Live(source)) return kHostInvalid;
  const HostRect s = sourceRect ? *sourceRect : Whole(source);
  const HostRect d = {x, y, x + (s.right - s.left), y + (s.bottom - s.top)};
  return HostSurfaceBlt(destination, &d, source, &s, flags);
}

int HostSurfaceColorFill(HostSurface* s, const HostRect* rect, uint32_t value) {
  const int usable = CheckUsable(s);
  if (usable != kHostOk) return usable;
  if (IsDepth(s)) return kHostUnsupported;
  if (s->caps & kHostSurfacePrimary) SyncPrimary(s);
  HostRect r = Whole(s);
  if (rect) r = (s->caps & kHostSurfacePrimary) ? ToStorage(s, *rect) : *rect;
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, s->width);
  r.bottom = std::min(r.bottom, s->height);
  if (Empty(r)) return kHostOk;
  const bool whole = r.left == 0 && r.top == 0 && r.right == s->width && r.bottom == s->height;
  // A mirror that holds the whole surface keeps doing so; a whole fill of a
  // surface nothing draws on makes one.
  const bool keepMirror = s->onGpu && (s->mirrorValid || (whole && !(s->caps & kHostSurface3DDevice)));
  if (s->onGpu) {
    const GLuint framebuffer = SurfaceFramebuffer(s);
    if (framebuffer == 0 || !MakeContextCurrent()) return kHostSurfaceLost;
    BindDrawFramebuffer(framebuffer);
    SetScissor(true, r.left, r.top, r.right - r.left, r.bottom - r.top);
    const HostPixelFormat& f = s->format;
    // Bits no channel uses are kept in the stored alpha where there is room.
    uint32_t alphaMask = (f.flags & kHostPixelAlpha) ? f.alphaMask : 0;
    if (alphaMask == 0 && f.bitCount == 32) alphaMask = 0xFF000000u;
    if (alphaMask == 0 && s->layout.internalFormat == GL_RGB5_A1) alphaMask = 0x8000u;
    gl::ClearColor(Channel(value, f.redMask), Channel(value, f.greenMask), Channel(value, f.blueMask),
                   alphaMask ? Channel(value, alphaMask) : 1.0f);
    gl::Clear(GL_COLOR_BUFFER_BIT);
    AfterGpuWrite(s);
  }
  if (!s->onGpu || keepMirror) {
    if (s->memory.empty()) AllocateMemory(s);
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) StorePixel(At(s, x, y), s->bytesPerPixel, value);
    }
    if (s->onGpu) s->mirrorValid = true;
  }
  return kHostOk;
}

int HostSurfaceDepthFill(HostSurface* s, const HostRect* rect, uint32_t value) {
  const int usable = CheckUsable(s);
  if (usable != kHostOk) return usable;
  HostSurface* depth = IsDepth(s) ? s : s->depth;
  if (!depth || !depth->onGpu || depth->lost || !MakeContextCurrent()) return kHostError;
  const GLuint framebuffer = SurfaceFramebuffer(IsDepth(s) ? depth : s);
  if (framebuffer == 0) return kHostSurfaceLost;
  HostRect r = rect ? *rect : Whole(depth);
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, depth->width);
  r.bottom = std::min(r.bottom, depth->height);
  if (Empty(r)) return kHostOk;
  BindDrawFramebuffer(framebuffer);
  SetScissor(true, r.left, r.top, r.right - r.left, r.bottom - r.top);
  // Clearing writes depth only while writes are allowed.
  const GlShadow& shadow = gDisplay.shadow;
  SetDepth(shadow.depthTest, true, shadow.depthFunc);
  gl::ClearDepth(static_cast<double>(value & 0xFFFF) / 65535.0);
  gl::Clear(GL_DEPTH_BUFFER_BIT);
  return kHostOk;
}

int HostSurfaceSetColorKey(HostSurface* s, uint32_t key) {
  if (!Live(s)) return kHostInvalid;
  s->colorKey = key;
  s->hasColorKey = true;
  return kHostOk;
}

int HostSurfaceIsLost(const HostSurface* s) {
  if (!Live(s)) return kHostInvalid;
  return s->lost || (s->onGpu && s->generation != gDisplay.generation) ? kHostSurfaceLost : kHostOk;
}

int HostSurfaceRestore(HostSurface* s) {
  if (!Live(s)) return kHostInvalid;
  if (HostSurfaceIsLost(s) == kHostOk) return kHostOk;
  if (!gDisplay.device3D) return kHostSurfaceLost;
  ForgetGpuStorage(s);
  s->lost = false;
  if (!CreateGpuStorage(s)) {
    ForgetGpuStorage(s);
    return kHostSurfaceLost;
  }
  for (HostSurface* other : gDisplay.surfaces) {
    if (other->depth == s) HostSurfaceAttachDepth(other, s);
  }
  if (s->depth) HostSurfaceAttachDepth(s, s->depth);
  return kHostOk;
}

int HostSurfaceFlip(HostSurface* primary) {
  if (!Live(primary) || !primary->backBuffer) return kHostInvalid;
  return HostSurfaceBlt(primary, nullptr, primary->backBuffer, nullptr, 0);
}

void HostSimulateSurfaceLoss() {
  for (HostSurface* s : gDisplay.surfaces) {
    if (s->onGpu) ForgetGpuStorage(s);
  }
}
