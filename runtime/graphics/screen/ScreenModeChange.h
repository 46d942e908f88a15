#pragma once
// Starting, rebuilding and ending the screen device: the display object, the
// display mode, the screen's pixel format and the screen memory images.

// 0; -1 when the first mode change fails or the device already exists.
int InitDirectDraw();
int EndDirectDraw();
// -1 keeps a value. 0; -2 when it fell back to 640 x 480 x 16; -1 on failure.
int ChangeScreenMode(int width, int height, int depth, int force, int refreshRate);
// 0 done, -2 fell back, -1 refused or failed. A refused request and a
// request of the mode in force leave every graphic alone.
int SetScreenMode(int width, int height, int depth, int refreshRate);
int EnableHardwareDrawing(int flag);
int DetectScreenPixelFormat();
// Full-screen deactivation in software mode and the rebuild after a loss.
int ReleaseDirectDraw();
int RecreateDirectDraw();
int RestoreDisplayMode();
int CreateScreenSurfaces();
int ReleaseScreenSurfaces();
int ReleaseSurface2DImages();
int RecreateSurface2DImages();
