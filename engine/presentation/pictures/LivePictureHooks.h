#pragma once
// The event commands reach the game's picture list through the events
// floor's picture hooks; start-up installs these.

void InstallLivePictureHooks();
