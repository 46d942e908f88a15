#pragma once
// Inside runtime/host/device3d only: what the display object asks of the
// 3D device and the surfaces when its context goes.

#include "runtime/host/device3d/GlState.h"

// Deletes the 3D device's program, vertex arrays, buffers and samplers.
void ReleaseDeviceGl();
// Deletes a surface's GL storage; the surface is lost until restored.
void ForgetGpuStorage(HostSurface* surface);
// No device keeps a surface that is going as texture or render target.
void ForgetSurfaceInDevices(HostSurface* surface);
