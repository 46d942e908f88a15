#pragma once
// Start-up gives the hook tables of the lower floors the live services that
// lie above them: the in-game error screen, and the rows of the system
// variables that show the shell's frame skip and the map scene, and the
// scene's windows that the graphics restore reloads. (Tables
// whose live service lies on their own floor or below default to it.)

void InstallLiveServices();
