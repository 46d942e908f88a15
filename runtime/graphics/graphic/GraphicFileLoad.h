#pragma once
// Graphics from image files (through the archives when they are on), and
// from movie files when no image reader takes the file.

// A graphic, or -1 (logged) when the graphics are not started, the file is
// missing, is neither image nor movie, or no graphic can be made.
int LoadGraphicFileCore(const char* name, int textureRequest);
int LoadGraphicFile(const char* name, int noTexture);
// The graphic is made as a blend-graphic image.
int LoadGraphicFileForced(const char* name);
