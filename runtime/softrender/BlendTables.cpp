#include "runtime/softrender/BlendTables.h"

SoftBlendTables gSoftBlendTables;

int BuildSoftBlendTables() {
  SoftBlendTables& t = gSoftBlendTables;
  for (int level = 0; level < 256; ++level) {
    for (int v = -255; v <= 255; ++v) t.signedProduct[level][v + 255] = level * v / 255;
    for (int b = 0; b < 256; ++b) t.product[level][b] = level * b / 255;
  }
  for (int w = 0; w < 64; ++w)
    for (int m = 0; m < 64; ++m)
      for (int k = 0; k < 64; ++k) t.lerp6[w][m][k] = static_cast<uint8_t>((w * m + (63 - w) * k) / 63);
  return 0;
}

void BuildBlendGraphicTable(int border, int range) {
  const int r = range + 1;
  const int t = border * (65536 / r + 256) / 256;
  const int base = 256 - t;
  for (int i = 0; i < 256; ++i) {
    int entry = 256 * i / r + base;
    if (entry < 0) entry = 0;
    if (entry > 255) entry = 255;
    gSoftBlendTables.blendGraphic[i] = static_cast<uint8_t>(entry);
  }
}
