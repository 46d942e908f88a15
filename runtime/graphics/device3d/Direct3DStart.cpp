// Starting, ending, releasing and getting back the 3D device: the device,
// depth and texture format choice, the device record's defaults and the
// forced re-apply of every cached state.

#include <cstring>

#include "runtime/Movan.h"
#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/DrawState3D.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/format/ColorFormat.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/platform/base/Log.h"

Direct3DState gD3D;

namespace {

int DepthBit(int depth) {
  if (depth == 16) return kHostRenderDepth16;
  if (depth == 32) return kHostRenderDepth32;
  return 0;
}

int AcceptDevice(const HostDeviceDesc& desc, void*) {
  if (desc.kind != kHostDeviceTransformAndLighting && desc.kind != kHostDeviceHal) return 1;
  const uint32_t bit = static_cast<uint32_t>(DepthBit(GetScreenDepth()));
  if (bit == 0 || (desc.renderDepths & bit) == 0) return 1;
  gD3D.description = desc;
  gD3D.deviceFound = 1;
  if (desc.kind == kHostDeviceTransformAndLighting) {
    LogWrite("ハードウエアＴ＆Ｌデバイスを発見しました\n");
    gD3D.hardwareTnl = 1;
    return 0;
  }
  LogWrite("ＨＡＬデバイスを発見しました\n");
  return 1;
}

bool Passed(const HostPixelFormat& f) {
  return (f.flags & (kHostPixelLuminance | kHostPixelBumpMap | kHostPixelFourCC | kHostPixelAlphaOnly)) != 0;
}

int AcceptDepth(const HostPixelFormat& f, void*) {
  if (Passed(f)) return 1;
  if (f.flags != kHostPixelZBuffer || f.bitCount != 16) return 1;
  gD3D.depthFormat = ToDDPixelFormat(f);
  gD3D.depthFormatFound = 1;
  return 0;
}

void Store(int index, const HostPixelFormat& f) {
  TextureFormatEntry& e = gD3D.formats[index];
  e.pixelFormat = ToDDPixelFormat(f);
  ColorFormatFromPixelFormat(e.pixelFormat, &e.colorFormat);
}

int AcceptTexture(const HostPixelFormat& f, void* found) {
  if (Passed(f)) return 1;
  if ((f.flags & kHostPixelAlpha) && f.alphaMask != 0) {
    if (f.alphaMask == 0xF000) Store(2, f);
    if (f.alphaMask == 0xFF000000u) {
      Store(3, f);
      Store(5, f);
    }
    if (f.alphaMask == 0x8000) Store(4, f);
    return 1;
  }
  const int entry = f.bitCount == 16 ? 0 : f.bitCount == 32 ? 1 : -1;
  if (entry < 0) return 1;
  ColorFormat format = {};
  ColorFormatFromPixelFormat(ToDDPixelFormat(f), &format);
  if (gD3D.formats[entry].colorFormat.depth == 0 || ColorFormatsEqual(format, *GetScreenColorFormat())) {
    Store(entry, f);
  }
  if (entry == 0) *static_cast<int*>(found) = 1;
  return 1;
}

void FillMissingFormats() {
  const int rows[7][2] = {{1, 0}, {3, 2}, {4, 2}, {5, 3}, {6, 0}, {7, 1}, {8, 3}};
  for (const auto& row : rows) {
    if (gD3D.formats[row[0]].colorFormat.depth == 0) gD3D.formats[row[0]] = gD3D.formats[row[1]];
  }
}

void DeleteAllDevices() {
  for (Device3DRecord& d : gD3D.devices) {
    if (!d.inUse) continue;
    if (d.device) HostDevice3DRelease(d.device);
    std::memset(&d, 0, sizeof d);
  }
}

void LogFormats() {
  const HostDeviceDesc& d = gD3D.description;
  LogIndentIn();
  LogFormat("テクスチャ最大幅:%u 最小幅:%u ", static_cast<unsigned>(gD3D.maxTextureSize),
            static_cast<unsigned>(gD3D.minTextureSize));
  LogFormat("描画制限: D_D3DPTEXTURECAPS_POW2 = %d  D_D3DPTEXTURECAPS_SQUAREONLY = %d ", d.powerOfTwoOnly ? 1 : 0,
            d.squareOnly ? 1 : 0);
  LogFormat("最大テクスチャステージ数 = %d   最大テクスチャブレンド数 = %d ", d.maxBlendStages,
            d.maxSimultaneousTextures);
  if (d.maxBlendStages < 4) {
    LogWrite("使用可能テクスチャステージが 4 以下なので DrawBlendGraph は正常に機能しない可能性があります\n");
  }
  LogWrite("テクスチャピクセルフォーマット\n");
  LogWrite("\t通常グラフィック用\n");
  for (int i = 0; i < 2; ++i) {
    const ColorFormat& f = gD3D.formats[i].colorFormat;
    LogFormat("\t\t BIT:%u  RED:%u  GREEN:%u  BLUE:%u ", f.depth, f.redWidth, f.greenWidth, f.blueWidth);
    LogFormat("\t\t RED:%06x GREEN:%06x BLUE:%06x \n", f.redMask, f.greenMask, f.blueMask);
  }
  LogWrite("\tアルファチャンネル付きグラフィック用\n");
  for (int i = 2; i < 4; ++i) {
    const ColorFormat& f = gD3D.formats[i].colorFormat;
    LogFormat("\t\t BIT:%u  ALPHA:%u  RED:%u  GREEN:%u  BLUE:%u ", f.depth, f.alphaWidth, f.redWidth, f.greenWidth,
              f.blueWidth);
    LogFormat("\t\t ALPHA:%08x RED:%08x GREEN:%08x BLUE:%08x \n", f.alphaMask, f.redMask, f.greenMask, f.blueMask);
  }
  LogIndentOut();
}

void FillBatchConstants(Device3DRecord& d) {
  for (VertexUntextured& v : d.batch0) {
    v.z = 0.0f;
    v.rhw = 1.0f;
  }
  for (VertexTextured& v : d.batch1) {
    v.z = 0.0f;
    v.rhw = 1.0f;
  }
  for (VertexBlended& v : d.batch2) {
    v.z = 0.0f;
    v.rhw = 1.0f;
    v.specular = 0xFFFFFFFF;
  }
}

void SetAddressOnStages(Device3DRecord& d, int from, int to) {
  for (int stage = from; stage <= to; ++stage) {
    HostDevice3DSetStageState(d.device, stage, kTssAddress, static_cast<uint32_t>(d.addressMode));
  }
}

}  // namespace

Device3DRecord* CurrentDevice3D() {
  Device3DRecord& d = gD3D.devices[gD3D.currentDevice & (kDeviceRecords - 1)];
  return gD3D.object && d.inUse ? &d : nullptr;
}

bool DeviceReady(const Device3DRecord* record) { return gD3D.object && record && record->inUse; }

int HasDevice3D() {
  const Device3DRecord* d = CurrentDevice3D();
  return d && d->device ? 1 : 0;
}

DDPixelFormat ToDDPixelFormat(const HostPixelFormat& f) {
  DDPixelFormat d;
  static_assert(sizeof d == sizeof f);
  std::memcpy(&d, &f, sizeof d);
  return d;
}

HostPixelFormat ToHostPixelFormat(const DDPixelFormat& d) {
  HostPixelFormat f;
  std::memcpy(&f, &d, sizeof f);
  return f;
}

int InitDirect3D() {
  if (gD3D.object) return -1;
  LogWrite("Direct3D 関連の初期化を行います\n");
  std::memset(static_cast<void*>(&gD3D), 0, sizeof gD3D);
  LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトを取得します\n");
  if (!HostDisplayHasDevice3D()) return LogWrite("Direct3Dオブジェクトの作成に失敗しました\n");
  gD3D.object = 1;
  LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトを取得しました\n");
  if (HostEnumDevices3D(AcceptDevice, nullptr) != kHostOk || !gD3D.deviceFound) {
    LogWrite("現在の画面モードで使用できる描画デバイスが見つかりませんでした\n");
    gD3D.object = 0;
    return -1;
  }
  if (HostEnumDepthFormats(kHostDeviceHal, AcceptDepth, nullptr) != kHostOk || !gD3D.depthFormatFound) {
    LogWrite("使用可能なＺバッファが見つかりませんでした\n");
  }
  const int device = CreateDevice3D(GetFrontSurface());
  if (device < 0) {
    gD3D.object = 0;
    return -1;
  }
  gD3D.currentDevice = device;
  SetRenderTarget3D(GetFrontSurface(), device);
  Device3DRecord& d = gD3D.devices[device];
  if (gDrawState.textureAddressMode == 0) gDrawState.textureAddressMode = 3;
  d.addressMode = gDrawState.textureAddressMode;
  SetAddressOnStages(d, 1, 3);
  if (HostDevice3DSetStageState(d.device, 0, kTssAddress, static_cast<uint32_t>(d.addressMode)) != kHostOk) {
    DeleteAllDevices();
    gD3D.object = 0;
    return -1;
  }
  std::memset(gD3D.formats, 0, sizeof gD3D.formats);
  int found = 0;
  if (HostEnumTextureFormats(gD3D.description.kind, AcceptTexture, &found) != kHostOk || !found) {
    LogWrite("使用可能なテクスチャフォーマットが見つかりませんでした\n");
    DeleteAllDevices();
    gD3D.object = 0;
    return -1;
  }
  FillMissingFormats();
  gD3D.frontSceneFlag = 1;
  const HostDeviceDesc& desc = gD3D.description;
  const int minSide = desc.minTextureWidth < desc.minTextureHeight ? desc.minTextureWidth : desc.minTextureHeight;
  const int maxSide = desc.maxTextureWidth < desc.maxTextureHeight ? desc.maxTextureWidth : desc.maxTextureHeight;
  gD3D.minTextureSize = minSide == 0 ? 32 : minSide;
  gD3D.maxTextureSize = maxSide == 0 ? 256 : maxSide;
  gD3D.grabMethod[0] = -1;
  gD3D.grabMethod[1] = -1;
  gD3D.suppressed = 0;
  LogFormats();
  LogWrite("Direct3D 関連の初期化は正常に終了しました\n");
  gD3D.started = 1;
  return 0;
}

int EndDirect3D() {
  if (!gD3D.object) return -1;
  LogWrite("Direct3D 関連の終了処理を行います\n");
  EndScene3D();
  gD3D.frontSceneFlag = 0;
  if (CurrentDevice3D()) SetTexture3D(nullptr, gD3D.currentDevice);
  DeleteAllSurface3DData();
  for (Device3DRecord& d : gD3D.devices) {
    if (!d.inUse) continue;
    if (d.device) HostDevice3DRelease(d.device);
    std::memset(&d, 0, sizeof d);
    LogWrite("３Ｄデバイスの削除は正常に終了しました\n");
  }
  gD3D.object = 0;
  LogWrite("Direct3D 関連の終了処理は正常に終了しました\n");
  gD3D.started = 0;
  return 0;
}

int ReleaseDirect3DObject() {
  if (!gD3D.started) return -1;
  Device3DRecord& d = gD3D.devices[gD3D.currentDevice & (kDeviceRecords - 1)];
  if (d.inUse) {
    ForEachSurface3DData([](int, Surface3DData* tile) { ReleaseImageRecordSurface(tile->imageRecord); });
    if (d.device) HostDevice3DRelease(d.device);
    d.device = nullptr;
    LogWrite("Ｄｉｒｅｃｔ３Ｄデバイスを削除しました\n");
  }
  LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトを解放します\n");
  if (!gD3D.object) {
    LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトは既に解放されています\n");
    return 0;
  }
  gD3D.object = 0;
  LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトを解放しました\n");
  return 0;
}

int ReacquireDirect3D() {
  if (!gD3D.started) return 0;
  LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトを取得します\n");
  if (gD3D.object) {
    LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトは既に取得されていますn");
    return 0;
  }
  if (!HostDisplayHasDevice3D()) return LogWrite("Direct3Dオブジェクトの作成に失敗しました\n");
  gD3D.object = 1;
  LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトは正常に取得されました\n");
  Device3DRecord& d = gD3D.devices[gD3D.currentDevice & (kDeviceRecords - 1)];
  d.defaultTarget = GetFrontSurface();
  d.currentTarget = GetDrawTargetSurface();
  RecreateDevice3D(gD3D.currentDevice);
  return 0;
}

int CreateDevice3D(HostSurface* renderTarget) {
  if (!gD3D.object) return -1;
  int index = -1;
  for (int i = 0; i < kDeviceRecords && index < 0; ++i) {
    if (!gD3D.devices[i].inUse) index = i;
  }
  if (index < 0) return -1;
  Device3DRecord& d = gD3D.devices[index];
  std::memset(&d, 0, sizeof d);
  LogWrite("３Ｄデバイスを作成します... ");
  d.device = HostDevice3DCreate(gD3D.description.kind, renderTarget);
  if (!d.device) return LogWrite("３Ｄデバイスの作成に失敗しました\n");
  FillBatchConstants(d);
  d.addressMode = gDrawState.textureAddressMode == 0 ? 3 : gDrawState.textureAddressMode;
  for (int stage = 0; stage < kStageCacheSize; ++stage) {
    HostDevice3DSetStageState(d.device, stage, kTssAddress, static_cast<uint32_t>(d.addressMode));
    HostDevice3DSetStageState(d.device, stage, kTssMagFilter, kFilterPoint);
    HostDevice3DSetStageState(d.device, stage, kTssMinFilter, kFilterPoint);
    HostDevice3DSetStageState(d.device, stage, kTssMipFilter, kFilterPoint);
    d.magFilter[stage] = 1;
    d.minFilter[stage] = 1;
    d.mipFilter[stage] = 1;
  }
  HostDevice3DSetRenderState(d.device, kRsColorKeyBlendEnable, 0);
  HostDevice3DSetRenderState(d.device, kRsCullMode, kCullNone);
  HostDevice3DSetRenderState(d.device, kRsLighting, 0);
  HostDevice3DSetRenderState(d.device, kRsTexturePerspective, 0);
  HostDevice3DSetRenderState(d.device, kRsShadeMode, kShadeFlat);
  HostDevice3DSetRenderState(d.device, kRsColorKeyEnable, 0);
  HostDevice3DSetRenderState(d.device, kRsDitherEnable, 0);
  // The stage cache starts as the device is told here: a device's own
  // second argument may be CURRENT, and a set-up that leaves an argument
  // unsent would then read another than the cache says.
  for (int stage = 0; stage < kStageCacheSize; ++stage) {
    StageCacheEntry& s = d.stages[stage];
    s.texture = nullptr;
    s.colorArg1 = s.alphaArg1 = kArgTexture;
    s.colorArg2 = s.alphaArg2 = kArgDiffuse;
    s.colorOp = s.alphaOp = kOpDisable;
    const HostStageState states[6] = {kTssColorArg1, kTssAlphaArg1, kTssColorArg2, kTssAlphaArg2, kTssColorOp, kTssAlphaOp};
    const uint32_t values[6] = {kArgTexture, kArgTexture, kArgDiffuse, kArgDiffuse, kOpDisable, kOpDisable};
    for (int i = 0; i < 6; ++i) HostDevice3DSetStageState(d.device, stage, states[i], values[i]);
  }
  d.depthEnable = 1;
  d.depthWrite = 0;
  d.depthFunc = kCmpLessEqual;
  d.shadeMode = kShadeFlat;
  d.border = -1;
  d.stageDirty = 1;
  d.vertexKind = kVertexTextured;
  d.writePosition = 0;
  d.defaultTarget = renderTarget;
  d.currentTarget = renderTarget;
  d.inUse = 1;
  ReapplyDeviceStates3D(index);
  LogWrite("３Ｄデバイスの作成に成功しました\n");
  return index;
}

int ReapplyDeviceStates3D(int device) {
  Device3DRecord& d = gD3D.devices[device & (kDeviceRecords - 1)];
  if (!DeviceReady(&d) || !d.device) return -1;
  d.force = 1;
  // A viewport never set has nothing to give back.
  if (d.viewport.width > 0 && d.viewport.height > 0) SetViewport3D(d.viewport, device);
  SetColorKeyEnable3D(d.colorKeyEnable, device);
  SetColorKeyEnable3D(0, device);
  FlushVertexBatch();
  SetAddressOnStages(d, 0, 3);
  const uint32_t coordinates[4] = {0, 1, 1, 0};
  for (int stage = 0; stage < 4; ++stage) {
    HostDevice3DSetStageState(d.device, stage, kTssTexCoordIndex, coordinates[stage]);
  }
  HostDevice3DSetRenderState(d.device, kRsTexturePerspective, static_cast<uint32_t>(d.perspective));
  HostDevice3DSetRenderState(d.device, kRsShadeMode, static_cast<uint32_t>(d.shadeMode));
  HostDevice3DSetRenderState(d.device, kRsColorKeyEnable, static_cast<uint32_t>(d.colorKeyEnable));
  HostDevice3DSetRenderState(d.device, kRsLighting, static_cast<uint32_t>(d.lighting));
  HostDevice3DSetRenderState(d.device, kRsCullMode, kCullNone);
  HostDevice3DSetRenderState(d.device, kRsDitherEnable, 0);
  SetFilter3D(d.filterMode, device);
  ApplyStageSetup3D(device);
  SetDepthEnable3D(d.depthEnable, device);
  SetDepthWrite3D(d.depthWrite, device);
  SetDepthFunc3D(d.depthFunc, device);
  SetCullMode3D(d.culling, device);
  SetTexturePerspective3D(d.perspective, device);
  SetShadeMode3D(d.shadeMode, device);
  d.force = 0;
  return 0;
}

int RecreateDevice3D(int device) {
  Device3DRecord& d = gD3D.devices[device & (kDeviceRecords - 1)];
  if (!d.inUse) return -1;
  if (d.device) return 0;
  LogWrite("３Ｄデバイスを作成します... ");
  d.device = HostDevice3DCreate(gD3D.description.kind, d.defaultTarget);
  if (!d.device) return LogWrite("３Ｄデバイスの作成に失敗しました\n");
  HostDevice3DSetRenderState(d.device, kRsDitherEnable, 0);
  LogWrite("３Ｄデバイスの作成に成功しました\n");
  d.force = 1;
  if (d.currentTarget != d.defaultTarget) SetRenderTarget3D(d.currentTarget, device);
  d.texture = nullptr;
  d.queuedCount = 0;
  SetBlendSource3D(d.blendMode, d.alphaChannelUse, d.alphaTestUse, device);
  SetCullMode3D(d.culling, device);
  SetFilter3D(d.filterMode, device);
  SetColorKeyEnable3D(d.colorKeyEnable, device);
  SetViewportFromRect3D(gDrawState.drawRegion);
  ReapplyDeviceStates3D(device);
  ApplyStageSetup3D(device);
  ForEachSurface3DData([](int, Surface3DData* tile) {
    CreateImageRecordSurface(tile->imageRecord);
    SetImageRecordColorKey(tile->imageRecord);
  });
  d.force = 0;
  return 0;
}

HostDevice3D* GetDirect3DDevice() {
  const Device3DRecord* d = CurrentDevice3D();
  return d ? d->device : nullptr;
}

int TextureFormatIndex(const GraphicFormat& f) {
  const int wide = f.colorDepth != 16 ? 1 : 0;
  if (f.drawable) return f.alphaChannel || f.alphaTest ? 8 : 6 + wide;
  if (f.alphaChannel) return 2 + wide;
  if (f.alphaTest) return 4 + wide;
  return wide;
}

ColorFormat GetTextureColorFormat(const GraphicFormat& format) {
  return gD3D.formats[TextureFormatIndex(format)].colorFormat;
}

ColorFormat GetTextureColorFormatFor(int alphaChannel, int alphaTest, int wide, int drawable) {
  GraphicFormat f = {};
  f.alphaChannel = static_cast<uint8_t>(alphaChannel != 0);
  f.alphaTest = static_cast<uint8_t>(alphaTest != 0);
  f.drawable = static_cast<uint8_t>(drawable != 0);
  f.colorDepth = static_cast<uint8_t>(wide ? 32 : 16);
  return GetTextureColorFormat(f);
}

DDPixelFormat GetTexturePixelFormat(int index) { return gD3D.formats[index].pixelFormat; }
ColorFormat GetTextureColorFormatByIndex(int index) { return gD3D.formats[index].colorFormat; }
DDPixelFormat GetDepthPixelFormat() { return gD3D.depthFormat; }
