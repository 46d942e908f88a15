#include "runtime/graphics/device3d/DrawState3D.h"

#include <array>
#include <cstring>

#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/state/DrawState.h"

namespace {

// Blend factors and stage kind of each blend mode; -1 leaves the device's
// factor. Subtraction runs in one pass with the reverse-subtract equation:
// the target minus the drawn colour weighted as the additive mode weighs it.
struct BlendRow {
  int32_t source;
  int32_t destination;
  int32_t operation;
  int32_t kind;
};

constexpr BlendRow kBlendRows[12] = {
    {-1, -1, kBlendOpAdd, 0},
    {kBlendSourceAlpha, kBlendInvSourceAlpha, kBlendOpAdd, 0},
    {kBlendSourceAlpha, kBlendOne, kBlendOpAdd, 0},
    {kBlendSourceAlpha, kBlendOne, kBlendOpReverseSubtract, 0},
    {kBlendZero, kBlendSourceColor, kBlendOpAdd, 0},
    {kBlendSourceAlpha, kBlendOne, kBlendOpAdd, 0},
    {-1, -1, kBlendOpAdd, 0},
    {-1, -1, kBlendOpAdd, 0},
    {kBlendZero, kBlendOne, kBlendOpAdd, 0},
    {kBlendInvDestinationColor, kBlendZero, kBlendOpAdd, 0},
    {kBlendSourceAlpha, kBlendInvSourceAlpha, kBlendOpAdd, 2},
    {kBlendZero, kBlendSourceColor, kBlendOpAdd, 1},
};

// One stage of a preset: alpha arg 1, alpha arg 2, alpha op, colour arg 1,
// colour arg 2, colour op; -1 leaves the device's value.
using Stage = std::array<int16_t, 6>;

struct Preset {
  int count = 0;
  Stage stages[kStageCacheSize + 1] = {};
};

constexpr int16_t kTex = kArgTexture;
constexpr int16_t kDif = kArgDiffuse;
constexpr int16_t kCur = kArgCurrent;
constexpr int16_t kTf = kArgFactor;
constexpr int16_t kSpec = kArgSpecular;
constexpr int16_t kNotTex = kArgTexture | kArgComplement;
constexpr int16_t kNone = -1;
constexpr int16_t kDisable = kOpDisable;

struct Op {
  int16_t op;
  int16_t arg1;
  int16_t arg2;
};

constexpr Op S1(int16_t a) { return Op{kOpSelectArg1, a, kNone}; }
constexpr Op S2(int16_t b) { return Op{kOpSelectArg2, kNone, b}; }
constexpr Op Mod(int16_t a, int16_t b) { return Op{kOpModulate, a, b}; }
constexpr Op AddOp(int16_t a, int16_t b) { return Op{kOpAdd, a, b}; }
constexpr Op BlendCurrent(int16_t a, int16_t b) { return Op{kOpBlendCurrentAlpha, a, b}; }

constexpr Stage MakeStage(Op colour, Op alpha) {
  return Stage{alpha.arg1, alpha.arg2, alpha.op, colour.arg1, colour.arg2, colour.op};
}

constexpr Stage kDisabledStage = Stage{kNone, kNone, kDisable, kNone, kNone, kDisable};

void Push(Preset& p, const Stage& stage) { p.stages[p.count++] = stage; }

void Finish(Preset& p) { p.stages[p.count] = kDisabledStage; }

// The plain stage of rows 0/1 and 8/9: its colour and alpha.
Op PlainColour(int kind, int colourModulation) {
  const int16_t texture = kind == 2 ? kNotTex : kTex;
  return colourModulation ? Mod(texture, kDif) : S1(texture);
}

Op PlainAlpha(int alphaSource, int alphaModulation) {
  if (alphaSource == 0) return S2(kDif);
  return alphaModulation ? Mod(kTex, kDif) : S1(kTex);
}

// The stage set-ups, chosen by row, alpha modulation and alpha source.
Preset MakePreset(int row, int alphaModulation, int alphaSource) {
  Preset p;
  const int colourModulation = row & 1;
  if (row == 2 || row == 3) {
    const Op graphicColour = colourModulation ? Mod(kTex, kDif) : S1(kTex);
    Push(p, MakeStage(S2(kDif), AddOp(kTex, kTf)));
    if (alphaSource == 0) {
      Push(p, MakeStage(graphicColour, alphaModulation ? Mod(kDif, kCur) : Mod(kCur, kDif)));
    } else if (alphaSource == 1) {
      Push(p, MakeStage(S1(kCur), Mod(kSpec, kCur)));
      Push(p, MakeStage(graphicColour, Mod(kTex, kCur)));
    } else {
      Push(p, MakeStage(graphicColour, Mod(kTex, kCur)));
    }
    if (alphaModulation && alphaSource != 0) Push(p, MakeStage(S1(kCur), Mod(kDif, kCur)));
  } else {
    const int kind = row / 4;
    Push(p, MakeStage(PlainColour(kind, colourModulation), PlainAlpha(alphaSource, alphaModulation)));
    if (kind == 1) Push(p, MakeStage(BlendCurrent(kCur, kTf), S1(kCur)));
  }
  Finish(p);
  return p;
}

struct PresetTable {
  Preset presets[60];
  PresetTable() {
    for (int row = 0; row < 10; ++row) {
      if (row == 6 || row == 7) continue;
      for (int modulation = 0; modulation < 2; ++modulation) {
        for (int source = 0; source < 3; ++source) {
          presets[source + 3 * (modulation + 2 * row)] = MakePreset(row, modulation, source);
        }
      }
    }
  }
};

const PresetTable& Presets() {
  static const PresetTable table;
  return table;
}

Device3DRecord* Ready(int device) {
  Device3DRecord* d = &gD3D.devices[device & (kDeviceRecords - 1)];
  return DeviceReady(d) ? d : nullptr;
}

void SendState(Device3DRecord& d, uint32_t* cached, HostRenderState state, uint32_t value) {
  if (*cached == value && !d.force) return;
  if (d.device) HostDevice3DSetRenderState(d.device, state, value);
  *cached = value;
}

void SendStage(Device3DRecord& d, int stage, uint16_t* cached, HostStageState state, int16_t value) {
  if (value == kNone) return;
  if (*cached == static_cast<uint16_t>(value) && !d.force) return;
  if (d.device) HostDevice3DSetStageState(d.device, stage, state, static_cast<uint32_t>(value));
  *cached = static_cast<uint16_t>(value);
}

void SendStageTexture(Device3DRecord& d, int stage, HostSurface* texture) {
  StageCacheEntry& s = d.stages[stage];
  if (s.texture == texture && !d.force) return;
  if (d.device) HostDevice3DSetTexture(d.device, stage, texture);
  s.texture = texture;
}

int AlphaSourceOf(const Device3DRecord& d) {
  if (d.alphaChannelUse) return 1;
  return d.alphaTestUse ? 2 : 0;
}

}  // namespace

bool IsDrawableBlendMode3D(int mode) { return mode >= 0 && mode <= 11; }

int ApplyStageSetup3D(int device) {
  Device3DRecord* record = Ready(device);
  if (!record) return -1;
  Device3DRecord& d = *record;
  if (!d.force && !d.stageDirty && !d.textureDirty) return -1;
  if (!d.force && !d.stageDirty) {
    const int stage = d.blendTexture ? (d.alphaChannelUse == 1 ? 2 : 1) : 0;
    SendStageTexture(d, stage, d.texture);
    d.textureDirty = 0;
    return 0;
  }
  d.stageDirty = 0;
  d.textureDirty = 0;
  const BlendRow& row = kBlendRows[IsDrawableBlendMode3D(d.blendMode) ? d.blendMode : 0];
  int32_t source = row.source;
  int32_t destination = row.destination;
  uint32_t factor = 0xFFFFFFFF;
  bool factorKept = false;
  const bool wantBlend = d.blendMode != 0 && d.blendMode != 6;
  bool blend = wantBlend;
  uint32_t alphaTest = d.alphaTestEnable;
  uint32_t alphaRef = d.alphaRef;
  uint32_t alphaFunc = d.alphaFunc;
  HostSurface* textures[kStageCacheSize + 1] = {};
  Preset preset;
  int kind;
  if (!d.texture) {
    d.discardBatch = 0;
    kind = kVertexUntextured;
    if (d.blendMode == 3) {
      Push(preset, MakeStage(S1(kDif), S2(kDif)));
    } else {
      const Op colour = row.kind == 0   ? S2(kDif)
                        : row.kind == 1 ? Op{kOpBlendDiffuseAlpha, kDif, kTf}
                                        : S1(kDif | kArgComplement);
      Push(preset, MakeStage(colour, S2(kDif)));
    }
    Finish(preset);
    alphaTest = 0;
    factorKept = true;
  } else if (d.blendTexture) {
    kind = kVertexBlended;
    const int alphaSource = AlphaSourceOf(d);
    preset = Presets().presets[alphaSource + 3 * (d.alphaModulation + 2 * (d.colorModulation + 2))];
    if (!wantBlend) {
      source = kBlendSourceAlpha;
      destination = kBlendInvSourceAlpha;
    }
    d.discardBatch = d.border == 255 ? 1 : 0;
    textures[0] = d.blendTexture;
    if (alphaSource == 1) {
      textures[2] = d.texture;
    } else {
      textures[1] = d.texture;
    }
    const int p = d.border;
    if (d.range <= 1) {
      alphaTest = 1;
      alphaRef = static_cast<uint32_t>(p == 0 && (d.alphaChannelUse || d.alphaTestUse) ? 1 : p);
      alphaFunc = kCmpGreaterEqual;
      blend = false;
      factor = 0x00FFFFFF;
    } else {
      alphaTest = 0;
      blend = true;
      int full;
      int half;
      int16_t scale;
      if (d.range <= 64) {
        full = 1280;
        half = 1024;
        scale = kOpModulate4x;
      } else if (d.range <= 128) {
        full = 768;
        half = 512;
        scale = kOpModulate2x;
      } else {
        full = 512;
        half = 256;
        scale = kOpModulate;
      }
      const int v = full - p * full / 255;
      preset.stages[1][2] = scale;
      uint32_t a;
      if (v < half) {
        a = static_cast<uint32_t>(v * 255 / half);
        factor = (255 - a) << 24 | 0xFFFFFF;
        preset.stages[0][2] = kOpSubtract;
      } else {
        const int numerator = full == 1280 ? 64 : full == 768 ? 128 : 255;
        a = static_cast<uint32_t>((v - half) * numerator / 256);
        factor = a << 24 | 0xFFFFFF;
        preset.stages[0][2] = kOpAdd;
      }
    }
  } else {
    d.discardBatch = 0;
    kind = kVertexTextured;
    const int rowIndex = d.colorModulation + 4 * row.kind;
    preset = Presets().presets[AlphaSourceOf(d) + 3 * (d.alphaModulation + 2 * rowIndex)];
    textures[0] = d.texture;
    if (d.alphaTestUse == 1) {
      alphaTest = 1;
      alphaRef = 16;
      alphaFunc = kCmpGreater;
    } else {
      if (d.depthEnable || d.alphaChannelUse) {
        // Pixels that show nothing write no depth, and are left out in the
        // modes whose factors ignore the alpha (multiply would darken them).
        alphaTest = 1;
        alphaRef = 0;
        alphaFunc = kCmpGreater;
      } else {
        alphaTest = 0;
      }
      if (d.alphaChannelUse == 1 && !wantBlend) {
        source = kBlendSourceAlpha;
        destination = kBlendInvSourceAlpha;
      }
    }
    blend = d.alphaChannelUse == 1 || wantBlend;
  }
  if (preset.count != d.stagesInUse) {
    d.stagesInUse = preset.count;
    const int force = d.force;
    d.force = 1;
    SetFilter3D(d.filterMode, device);
    d.force = force;
  }
  SendState(d, &d.diffuseSource, kRsDiffuseMaterialSource, 1);
  SendState(d, &d.specularSource, kRsSpecularMaterialSource, 2);
  SendState(d, &d.specularEnable, kRsSpecularEnable, 0);
  SendState(d, &d.alphaFunc, kRsAlphaFunc, alphaFunc);
  SendState(d, &d.alphaRef, kRsAlphaRef, alphaRef);
  SendState(d, &d.alphaTestEnable, kRsAlphaTestEnable, alphaTest);
  SendState(d, &d.alphaBlendEnable, kRsAlphaBlendEnable, blend ? 1 : 0);
  SendState(d, &d.textureFactor, kRsTextureFactor, factorKept ? d.textureFactor : factor);
  SendState(d, &d.sourceBlend, kRsSourceBlend, source == -1 ? d.sourceBlend : static_cast<uint32_t>(source));
  SendState(d, &d.destinationBlend, kRsDestinationBlend,
            destination == -1 ? d.destinationBlend : static_cast<uint32_t>(destination));
  SendState(d, &d.blendOperation, kRsBlendOperation, static_cast<uint32_t>(row.operation));
  for (int k = 0; k <= preset.count && k < kStageCacheSize; ++k) {
    if (k >= 2 && preset.stages[k - 1][2] == kDisable) break;
    StageCacheEntry& cache = d.stages[k];
    const Stage& s = preset.stages[k];
    SendStageTexture(d, k, textures[k]);
    SendStage(d, k, &cache.alphaOp, kTssAlphaOp, s[2]);
    SendStage(d, k, &cache.alphaArg1, kTssAlphaArg1, s[0]);
    SendStage(d, k, &cache.alphaArg2, kTssAlphaArg2, s[1]);
    SendStage(d, k, &cache.colorOp, kTssColorOp, s[5]);
    SendStage(d, k, &cache.colorArg1, kTssColorArg1, s[3]);
    SendStage(d, k, &cache.colorArg2, kTssColorArg2, s[4]);
  }
  d.vertexKind = kind;
  d.writePosition = 0;
  return 0;
}

void SetDrawState3D(const Surface3DData* part, int partHandle, int flags) {
  Device3DRecord* d = CurrentDevice3D();
  if (!d) return;
  const int device = gD3D.currentDevice;
  const ImageRecord* record = part ? GetImageRecord(part->imageRecord) : nullptr;
  HostSurface* texture = record ? static_cast<HostSurface*>(record->surface) : nullptr;
  const int mode = gDrawState.blendMode;
  int colourKey = 0;
  int alphaChannelUse = 0;
  int alphaTestUse = 0;
  if (record && (flags & kDrawTransparent)) {
    const GraphicFormat& f = record->format;
    if (!f.alphaChannel && !f.alphaTest) {
      colourKey = 1;
    } else if ((mode != 0 && mode != 8) || (gDrawState.filterMode == 1 && !(flags & kDrawKeepAlpha))) {
      alphaChannelUse = 1;
    } else {
      alphaChannelUse = f.alphaChannel;
      alphaTestUse = f.alphaTest;
    }
  }
  const int colourModulation = (flags & kDrawModulateColour) || gDrawState.brightness != 0xFFFFFF ? 1 : 0;
  // The vertex alpha (the blend parameter) weighs the texture's alpha only
  // in the modes whose factors read the source alpha.
  const int alphaModulation = mode != 0 && mode != 4 && mode != 8 && mode != 9 ? 1 : 0;
  SetColorModulation3D(colourModulation, device);
  SetAlphaModulation3D(alphaModulation, device);
  SetTexture3D(texture, device);
  SetBlendSource3D(mode, alphaChannelUse, alphaTestUse, device);
  if (d->stageDirty || d->textureDirty) ApplyStageSetup3D(device);
  SetColorKeyEnable3D(colourKey, device);
  SetShadeMode3D(kShadeFlat, device);
  if (d->filterMode != gDrawState.filterMode) SetFilter3D(gDrawState.filterMode, device);
  SetCullMode3D(0, device);
  if (flags & kDrawDepth) {
    SetDepthEnable3D(gDrawState.depthBufferUse, device);
    SetDepthWrite3D(gDrawState.depthBufferWrite, device);
    SetDepthFunc3D(gDrawState.depthCompare, device);
  } else if (d->depthEnable || d->force) {
    FlushVertexBatch();
    if (d->device) HostDevice3DSetRenderState(d->device, kRsZEnable, 0);
    d->depthEnable = 0;
  }
  SetFogEnable3D(0, device);
  d->lastPart = partHandle;
  d->lastFlags = flags;
}

int SetBlendGraphic3D(const GraphicEntry* graphic, int border, int range) {
  Device3DRecord* d = CurrentDevice3D();
  if (!d) return -1;
  if (!graphic) {
    if (d->blendTexture || d->force) {
      FlushVertexBatch();
      d->blendTexture = nullptr;
      if (border != -1) d->border = border;
      if (range != -1) d->range = range;
      d->stageDirty = 1;
    }
    return 0;
  }
  const Surface3DData* tile = graphic->partCount > 0 ? GetSurface3DData(graphic->parts[0]) : nullptr;
  const ImageRecord* record = tile ? GetImageRecord(tile->imageRecord) : nullptr;
  if (!record) return -1;
  SetBlendTexture3D(static_cast<HostSurface*>(record->surface), border, range, gD3D.currentDevice);
  gD3D.blendScaleU = 1.0f / static_cast<float>(record->width);
  gD3D.blendScaleV = 1.0f / static_cast<float>(record->height);
  return 0;
}
