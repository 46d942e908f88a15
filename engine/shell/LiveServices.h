#pragma once
// Start-up gives every hook table of the lower floors the live services of
// the running game: the in-game error screen, the root runner's choice of
// its next event, the map scene's common-event runners and game end, the
// live rows of the system variables.

void InstallLiveServices();
