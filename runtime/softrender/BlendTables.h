#pragma once
// The lookup tables of the blend arithmetic. Process-wide; written only by
// the two builders, read by every software draw.

#include <cstdint>

struct SoftBlendTables {
  // Row L, entry v + 255 = L x v / 255 truncated toward zero, v = -255..255.
  int32_t signedProduct[256][512];
  // Row a, column b = a x b / 255 truncated.
  int32_t product[256][256];
  // Slab w, row m, column k = (w x m + (63 - w) x k) / 63 truncated.
  uint8_t lerp6[64][64][64];
  // The weight of each blend-graphic value.
  uint8_t blendGraphic[256];
};

extern SoftBlendTables gSoftBlendTables;

// Fills the signed product, product and lerp tables. Returns 0.
int BuildSoftBlendTables();
// border and range are 0..255.
void BuildBlendGraphicTable(int border, int range);

inline int32_t SignedProduct(int level, int v) { return gSoftBlendTables.signedProduct[level][v + 255]; }
inline int32_t Product(int a, int b) { return gSoftBlendTables.product[a][b]; }
inline uint8_t Lerp6(int w, int m, int k) { return gSoftBlendTables.lerp6[w][m][k]; }
inline uint8_t BlendGraphicWeight(int g) { return gSoftBlendTables.blendGraphic[g]; }
