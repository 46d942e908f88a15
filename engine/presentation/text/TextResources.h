#pragma once
// What rich text needs besides the text: the layer's fonts by face, edge and
// pixel size, made on first use and all dropped once more than 30 were made
// (the layer holds 40, its default font among them); the game's four face
// names with their character sets; the icons that "\i[n]" draws inline.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct GameInfo;

class TextResources {
 public:
  static constexpr int32_t kFaceSlots = 5;
  static constexpr int32_t kTableSize = 250;       // pixel sizes 0..249
  static constexpr int32_t kMaxCreations = 30;     // then the cache starts again
  static constexpr int32_t kIconNumbers = 1000;    // icons 0..999

  // Table face x 2 + edge, by pixel size: 0 not made yet, -1 failed.
  std::array<std::vector<int32_t>, kFaceSlots * 2> fontTables;
  std::array<int32_t, 2> fontTypes = {2, 3};  // by edge state
  int32_t createdCount = 0;
  std::array<int32_t, 4> charsets = {-1, -1, -1, -1};  // by face
  std::vector<std::string> faceNames;
  std::vector<int32_t> iconHandles;  // by icon number, 0 none
  std::vector<int32_t> iconWidths;
  std::vector<int32_t> iconHeights;

  TextResources() = default;

  // The font of a face (0..3), pixel size, thickness and edge state (0, 1).
  // A face that cannot be made is reported once and replaced by the
  // system's gothic face from then on.
  int32_t GetFont(int32_t face, int32_t pixelSize, int32_t thickness, int32_t edge);
  // Deletes every font of the layer and empties the tables.
  void ResetFontCache();
  // Reloads the icons: the names listed in "BasicData\EncodedIconList.xxxxx"
  // when it opens (in an archive), else the files "icon???.png" of the
  // BasicData folder, each under the number its name holds.
  void LoadIcons();
  // Deletes the icon graphics.
  void ReleaseIcons();
};

extern TextResources TextResourcesHub;

// The face every missing face falls back to.
extern const char* const kFallbackFaceName;

// At start: the faces from the game's setting strings 3 to 6 (an empty name
// is the fallback face), each with the layer's default character set when
// it is an installed Japanese face, the font types from setting byte 14,
// then an empty font cache.
void SetUpFonts(const GameInfo& info);
