#include "tools/demo/DemoGame.h"

#include "tools/demo/ChoiceSounds.h"
#include "tools/demo/DemoImages.h"

namespace demo {

GameFolderContent DemoGame() {
  GameFolderContent game = StarterGame("Ｍｏｖａｎ デモ", MapData(), kStartX, kStartY);
  // Four-direction sheets of three patterns, four-way random steps.
  game.gameDat.settingBytes[1] = 4;
  game.gameDat.settingBytes[2] = 4;
  game.gameDat.settingStrings[7] = "Chara\\hero.bmp";
  game.files.emplace_back("Data/Chara/hero.bmp", DemoCharacterSheet(0x3050C8, 0x402810, 0x303040));
  DefineRoomList(game);
  AddTown(game);
  AddField(game);
  AddSmallRoom(game);
  AddGallery(game);
  WindowsAndColours(game);
  Movies(game);
  Sounds(game);
  AddSmallRoomSounds(game);
  AddChoiceSounds(game);
  return game;
}

void WriteDemoGame(const std::string& folder) { WriteGameFolder(folder, DemoGame()); }

}  // namespace demo
