#pragma once
// The engine's part of surviving a lost display: the layer reloads the
// graphics it made from files by itself, the engine rebuilds the graphics it
// made from bytes in memory. Start-up registers ReloadGameGraphics with the
// layer (SetGraphicsRestoreHandler) right after the game scene is built.

// In this order: back to the game folder, the layer's own reload, the choice
// window's skins, the message window's wait cursor, the graphic cache, the
// icons, the picture files.
void ReloadGameGraphics();
