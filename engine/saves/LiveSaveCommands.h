#pragma once
// Start-up gives the save and load commands the live save-slot cache.

void InstallSaveCommands();
