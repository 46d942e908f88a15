#pragma once
// Starting and ending the 3D device, its cached state setters, the vertex
// batches and the scene bracket. Results are 0 or -1 unless said.

#include <cstdint>

#include "runtime/graphics/device3d/Direct3DState.h"
#include "runtime/graphics/format/ColorFormat.h"
#include "runtime/graphics/format/DDPixelFormat.h"
#include "runtime/graphics/graphic/GraphicFormat.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/base/IntRect.h"

int InitDirect3D();
int EndDirect3D();
int ReleaseDirect3DObject();
int ReacquireDirect3D();
// The new record's index, or -1.
int CreateDevice3D(HostSurface* renderTarget);
int RecreateDevice3D(int device);
int ReapplyDeviceStates3D(int device);
HostDevice3D* GetDirect3DDevice();

// The texture formats chosen at the start.
ColorFormat GetTextureColorFormat(const GraphicFormat& format);
ColorFormat GetTextureColorFormatFor(int alphaChannel, int alphaTest, int wide, int drawable);
DDPixelFormat GetTexturePixelFormat(int index);
ColorFormat GetTextureColorFormatByIndex(int index);
DDPixelFormat GetDepthPixelFormat();
// The format index of a texture's image record.
int TextureFormatIndex(const GraphicFormat& format);

int FlushVertexBatch();
int BeginScene3D(int device);
int EndScene3D();
int UpdateVertexColor3D();
int SetDrawFilter3D(int filterMode);
int SetViewportFromRect3D(const IntRect& rect);
int SetRenderTarget3D(HostSurface* surface, int device);
int SetWorldMatrix3D(const Matrix4& matrix, int index);
int SetViewMatrix3D(const Matrix4& matrix);
int SetProjectionMatrix3D(const Matrix4& matrix);

// Cached setters on one record: an unchanged value sends nothing (unless
// the force flag is on); a change first draws the queued vertices.
int SetDepthEnable3D(int value, int device);
int SetDepthWrite3D(int value, int device);
int SetDepthFunc3D(int value, int device);
int SetCullMode3D(int value, int device);
int SetShadeMode3D(int value, int device);
int SetFogEnable3D(int value, int device);
int SetTexturePerspective3D(int value, int device);
int SetColorKeyEnable3D(int value, int device);
int SetFilter3D(int filterMode, int device);
int SetViewport3D(const HostViewport& viewport, int device);
int SetTexture3D(HostSurface* texture, int device);
int SetBlendTexture3D(HostSurface* texture, int border, int range, int device);
int SetColorModulation3D(int value, int device);
int SetAlphaModulation3D(int value, int device);
int SetBlendSource3D(int blendMode, int alphaChannelUse, int alphaTestUse, int device);

// A surface about to go: what is queued is drawn first, and no device
// record keeps it as texture, blend texture or render target.
void ForgetSurface3D(HostSurface* surface);

// Room for n vertices of the kind for primitive type p: draws the queue
// first when it holds another type or would overflow. The vertices to fill,
// or null when the device is not ready. The caller writes all n.
void* QueueVertices3D(int kind, HostPrimitive primitive, int n);
