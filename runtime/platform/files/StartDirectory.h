#pragma once
// The directory the layer started in: read at initialisation through the
// installed file access table, gone back to at the end.

// Reads the current directory into gPlatform.startDirectory. 0 or -1.
int ReadStartDirectory();
// Changes back to gPlatform.startDirectory. 0 or -1.
int RestoreStartDirectory();
