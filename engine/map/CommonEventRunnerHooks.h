#pragma once
// Gives the map scene's runner hooks the game's common events and their
// runners (engine/events/CommonEventRunner.h), keeping the other hooks.

void InstallCommonEventRunnerHooks();
