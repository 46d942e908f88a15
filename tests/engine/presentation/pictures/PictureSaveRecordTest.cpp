// The pictures' save record: a round trip of pictures of every kind, the
// layouts of older saves, and records the bytes cannot hold.

#include <gtest/gtest.h>

#include "engine/data/file/SaveBuffer.h"
#include "tests/engine/presentation/pictures/PictureFixture.h"

namespace {

std::vector<uint8_t> Written(const PictureList& list) {
  SaveBuffer out;
  EXPECT_TRUE(list.Write(out));
  return std::vector<uint8_t>(out.Data(), out.Data() + out.Size());
}

// The fields a save keeps, as one comparable row.
std::vector<int32_t> SavedFields(const Picture& p) {
  const PictureEffects& e = p.effects;
  return {p.number,         p.erasing,     p.erased,         p.anchor,       p.isText,     p.isNinePiece,
          p.x,              p.y,           p.divX,           p.divY,         p.pattern,    p.opacity,
          p.blend,          p.framesLeft,  p.framesTotal,    p.zoomX,        p.zoomY,      p.angle,
          p.color[0],       p.color[1],    p.color[2],       p.colorFrom[0], p.colorFrom[1], p.colorFrom[2],
          e.tint,           e.tintFrom,    e.tintLeft,       e.tintTotal,    e.offsetX,    e.offsetY,
          e.offsetXFrom,    e.offsetYFrom, e.offsetLeft,     e.offsetTotal,  e.zoomCenterX, e.zoomCenterXFrom,
          e.zoomCenterY,    e.zoomCenterYFrom, e.effectZoomLeft, e.effectZoomTotal, e.effectZoom, e.effectZoomFrom,
          p.followsMap};
}

class PictureSaveRecordTest : public PictureFixture {
 protected:
  // Pictures of every kind, caught in the middle of their transitions.
  void ShowEveryKind() {
    PictureShowArguments a = At(10, 20);
    a.divX = 2;
    GamePictures.Show(-5, -5, Coordinates("sheet", 40, 20), a, 100, 0, false);
    GamePictures.Move(-5, -5, MoveTo(100, 50, 30), 100, 0);
    PictureShowArguments frame = At(0, 0);
    frame.divX = 64;
    frame.divY = 48;
    GamePictures.Show(3, 3, NineGrid("frame", 4), frame, 100, 0, true);
    GamePictures.ShowText(7, 7, "abc", At(30, 40), 100, 0);
    PictureShowArguments onMap = At(5, 5);
    onMap.blend = picture::kFollowMap | 2;
    GamePictures.Show(100000, 100000, Solid("top", 8, 8, 0x00FF00), onMap, 100, 0, false);
    GamePictures.ApplyEffect(100000, 100000, PictureEffects::kTint, 50, -20, 0, 40);
    GamePictures.ApplyEffect(100000, 100000, PictureEffects::kOffset, 12, -4, 0, 10);
    GamePictures.ApplyEffect(100000, 100000, PictureEffects::kZoom, 320, 240, 150, 20);
    GamePictures.Erase(3, 3, 60, 0, picture::kNoColor);
    for (int i = 0; i < 5; ++i) GamePictures.Update();
  }
};

TEST_F(PictureSaveRecordTest, PicturesOfEveryKindComeBackAndJoinTheGame) {
  ShowEveryKind();
  const PictureList saved = GamePictures;
  const std::vector<uint8_t> bytes = Written(GamePictures);

  // Read into a save's copy: the fields, no graphics, hidden.
  PictureList copy;
  ByteCursor in(bytes);
  ASSERT_TRUE(copy.Read(in, 111));
  EXPECT_EQ(in.Remaining(), 0);
  ASSERT_EQ(copy.pictures.size(), saved.pictures.size());
  for (size_t i = 0; i < copy.pictures.size(); ++i) {
    const Picture& p = copy.pictures[i];
    EXPECT_EQ(SavedFields(p), SavedFields(saved.pictures[i])) << p.number;
    EXPECT_EQ(p.imageHandle, 0) << p.number;
    EXPECT_EQ(p.hidden, 1) << p.number;
  }
  EXPECT_EQ(copy.count, 4);
  EXPECT_EQ(copy.pictures[2].text.sourceText, "abc");
  EXPECT_EQ(copy.pictures[0].fileName, saved.pictures[0].fileName);
  EXPECT_EQ(copy.pictures[0].oldFileName, saved.pictures[0].fileName);

  // Into the running game: files loaded once more, the text measured.
  GamePictures.Clear(true);
  GamePictures = copy;
  GamePictures.EnterLoaded();
  for (size_t i = 0; i < GamePictures.pictures.size(); ++i) {
    const Picture& p = GamePictures.pictures[i];
    const Picture& before = saved.pictures[i];
    EXPECT_EQ(p.hidden, 0) << p.number;
    EXPECT_EQ(p.pieceWidth, before.pieceWidth) << p.number;
    EXPECT_EQ(p.pieceHeight, before.pieceHeight) << p.number;
    EXPECT_EQ(p.pieces.size(), before.pieces.size()) << p.number;
    EXPECT_EQ(SavedFields(p), SavedFields(before)) << p.number << ": a nine-piece frame keeps its size";
  }
  // The erasing frame goes on fading and leaves the list.
  for (int i = 0; i < 60; ++i) GamePictures.Update();
  EXPECT_EQ(Numbers(), (std::vector<int32_t>{-5, 7, 100000}));
}

TEST_F(PictureSaveRecordTest, AMissingFileLeavesItsPictureHidden) {
  PictureList copy;
  copy.pictures.emplace_back(1);
  copy.pictures[0].fileName = "Picture\\gone.bmp";
  const std::vector<uint8_t> bytes = Written(copy);
  ByteCursor in(bytes);
  GamePictures = PictureList();
  ASSERT_TRUE(GamePictures.Read(in, 111));
  GamePictures.EnterLoaded();
  EXPECT_EQ(GamePictures.pictures[0].hidden, 1);
  EXPECT_TRUE(GamePictures.pictures[0].pieces.empty());
}

TEST_F(PictureSaveRecordTest, RecordsAreSizedByTheSaveVersion) {
  EXPECT_EQ(Written(PictureList()), (std::vector<uint8_t>{0, 0}));
  GamePictures.ShowText(7, 7, "abc", At(1, 2), 100, 0);
  GamePictures.ApplyEffect(7, 7, PictureEffects::kOffset, 9, 9, 0, 0);
  GamePictures.pictures[0].followsMap = 1;
  const std::vector<uint8_t> full = Written(GamePictures);
  ASSERT_EQ(full.size(), 2u + 157 + 4);
  EXPECT_EQ(full[12], 4);  // L, with the closing NUL
  EXPECT_EQ(std::string(full.begin() + 14, full.begin() + 18), std::string("abc\0", 4));

  struct Case {
    int32_t version;
    size_t recordBytes;
    int32_t offsetX;
    uint8_t followsMap;
  };
  for (const Case& c : {Case{104, 84 + 4, 0, 0}, Case{105, 156 + 4, 9, 0}, Case{106, 156 + 4, 9, 0},
                        Case{107, 157 + 4, 9, 1}}) {
    std::vector<uint8_t> bytes(full.begin(), full.begin() + 2 + static_cast<std::ptrdiff_t>(c.recordBytes));
    bytes.push_back(0xAB);  // what follows the section
    ByteCursor in(bytes);
    PictureList list;
    ASSERT_TRUE(list.Read(in, c.version)) << c.version;
    EXPECT_EQ(in.Remaining(), 1) << c.version;
    EXPECT_EQ(list.pictures[0].effects.offsetX, c.offsetX) << c.version;
    EXPECT_EQ(list.pictures[0].followsMap, c.followsMap) << c.version;
    EXPECT_EQ(list.pictures[0].text.sourceText, "abc") << c.version;
  }
}

TEST_F(PictureSaveRecordTest, RecordsTheBytesCannotHoldFailCleanly) {
  PictureList two;
  two.pictures = {Picture(1), Picture(2)};
  const std::vector<uint8_t> good = Written(two);
  auto with = [&](size_t at, std::vector<uint8_t> patch) {
    std::vector<uint8_t> b = good;
    std::copy(patch.begin(), patch.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
    return b;
  };
  const size_t second = 2 + 157 + 1;
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"cut inside the second record", std::vector<uint8_t>(good.begin(), good.end() - 5)},
      {"a negative count", with(0, {0xFF, 0xFF})},
      {"a count of 32767", with(0, {0xFF, 0x7F})},
      {"a count past the bytes", with(0, {3, 0})},
      {"a text length of 0", with(2 + 10, {0, 0})},
      {"a negative text length", with(2 + 10, {0x00, 0x80})},
      {"a text length past the end", with(2 + 10, {0xFF, 0x7F})},
      {"numbers not ascending", with(second, {1, 0, 0, 0})},
  };
  for (const auto& [name, bytes] : cases) {
    ByteCursor in(bytes);
    PictureList list;
    EXPECT_FALSE(list.Read(in, 111)) << name;
    EXPECT_TRUE(in.Overrun()) << name;
    EXPECT_LE(list.pictures.size(), 2u) << name << ": no more than the bytes held";
  }
}

TEST_F(PictureSaveRecordTest, AListOrATextTooLongForItsFieldIsNotWritten) {
  PictureList list;
  list.pictures.assign(picture::kMaxPictures + 1, Picture());
  SaveBuffer out;
  EXPECT_FALSE(list.Write(out));
  EXPECT_TRUE(out.Overrun());

  PictureList text;
  text.pictures.emplace_back(1);
  text.pictures[0].isText = 1;
  text.pictures[0].text.sourceText.assign(INT16_MAX, 'a');
  SaveBuffer out2;
  EXPECT_FALSE(text.Write(out2));
  text.pictures[0].text.sourceText.pop_back();
  SaveBuffer out3;
  EXPECT_TRUE(text.Write(out3));
}

}  // namespace
