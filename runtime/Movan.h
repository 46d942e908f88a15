#pragma once
// The runtime layer's public interface: the only header of the layer that the
// engine includes. Results follow the layer's convention: 0 (or a handle, a
// count, a value) on success, -1 on failure.

#include <cstddef>
#include <cstdint>

#include "runtime/ShiftJis.h"
#include "runtime/graphics/format/DDPixelFormat.h"
#include "runtime/graphics/format/GraphImage.h"
#include "runtime/platform/base/IntRect.h"

// Setting entries (window title, icon, run in background, window mode and
// scale, log, archives) may be called before LayerInit and take effect at
// initialisation; every other entry expects the layer to be initialised.

// ---- System, log and time ----

// Runs the start-up sequence under the layer's API lock: 0, or -1 when the
// layer cannot start; a second call does nothing.
int LayerInit();
// Runs the end sequence under the API lock, then ends the lock's life. 0;
// nothing before LayerInit.
int LayerEnd();
// Formatted text to the log, no line end added. Returns -1.
int LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// 0 switches the log file off for the whole run. May be called before
// LayerInit.
int EnableLogOutput(int flag);
// One pass of the window's messages under the API lock: 0 while running, -1
// once the end is requested (the window was closed). Does not return while
// the window is inactive, unless the game runs in the background or the
// window is closing.
int PumpMessages();
// Waits while pumping, until ms have passed or the end is requested. 0.
int WaitMilliseconds(int ms);
// Milliseconds of the tick the layer times everything with (wraps at 2^32).
uint32_t GetTickMs();

// ---- Window ----

// 1 while the window is the active one.
int IsAppActive();
// Before initialisation the desktop as it is now, afterwards as it was at
// window creation. Each pointer may be null. 0.
int GetDesktopMetrics(int* width, int* height, int* depth);
// The main window's handle; 0 while there is none (before the layer starts,
// after it ends).
uintptr_t GetMainWindow();
// 1 window, 0 full screen. Before the window exists only the setting changes.
int ChangeWindowMode(int mode);
int SetWindowTitle(const char* text);
int SetWindowIconResource(int id);
// Keep running while the window is inactive.
int SetRunInBackground(int flag);
// The window's magnification in window mode; 1.0 in full-screen mode.
double GetWindowScale();
// 0 or below is stored as 1.0. 0.
int SetWindowScale(double scale);

// ---- Mouse and keyboard ----

// 1 shows the cursor, anything else hides it. 0.
int ShowMouseCursor(int flag);
// The value last given to ShowMouseCursor.
int IsMouseCursorShown();
// In screen pixels of the game: in window mode relative to the client area
// and divided by the window scale, truncated. Either pointer may be null. 0.
int GetMousePosition(int* x, int* y);
// Clamped to the screen, both ends included. 0.
int SetMousePosition(int x, int y);
// Wheel notches since the last call; the count starts again at 0.
int TakeMouseWheel();
// Bit k-1 for the k-th button (left, right, middle, ...).
int GetMouseButtons();
// Waits, pumping, until no input is down, then until some is; returns the
// last IsAnyInputDown(7).
int WaitAnyKey();

// The reads below wait while the window is inactive; when input is not
// started they start it and return 0 without reading.
// key: a DirectInput key code. 1 down, 0 up (and for a code outside 0..255).
int IsKeyDown(int key);
// flags: 1 keys and pad buttons, 4 mouse buttons (over the active window's
// client area). The first key code down (Caps Lock, Kana and Kanji aside),
// -1 for a pad or mouse button, 0 for none.
int IsAnyInputDown(int flags);
// 1 or 0 per key code into 256 bytes. 0.
int GetAllKeyStates(unsigned char* states);
// type: a joypad number (1 the first), plus 0x1000 for the keyboard as well
// (through the key map); 0x1000 alone is the keyboard through the first map.
int GetPadInputBits(int type);

// ---- Keyboard text input ----

// A colour of -1 keeps the current one.
int SetTextInputColors(int64_t text, int64_t cursor, int64_t composition, int64_t compositionCursor,
                       int64_t clauseUnderline, int64_t selected, int64_t unused7, int64_t edge,
                       int64_t selectedEdge, int64_t unused10, int64_t candidateFrame,
                       int64_t candidateBackground);
// A new field handle, or -1 when all 256 are in use or its text cannot be
// allocated. A maximum below 0 counts as 0. Switches the input method on and
// drops whatever was typed before.
int CreateTextInput(int maxLength, int cancelAllowed, int singleByteOnly, int digitsOnly);
// 0 or -1. Switches the input method off when no field is left.
int DeleteTextInput(int handle);
// The field receives the typed characters from now on; its ended and
// cancelled marks are cleared. 0 or -1.
int ActivateTextInput(int handle);
// 2 cancelled, 1 ended, 0 editing, -1 invalid handle.
int GetTextInputState(int handle);
int DrawTextInput(int x, int y, int handle);
// -1 for text longer than the maximum (the field is unchanged); else the
// field holds the text with the cursor at its end. 0.
int SetTextInputText(const char* text, int handle);
// The text with its NUL into buffer, which holds the field's maximum + 1
// bytes. 0 or -1.
int GetTextInputText(char* buffer, int handle);

// ---- Sound ----

int DeleteAllSounds(int unused);
// bufferCount at most 10; shareHandle a stream sound whose ring is shared, -1 none.
int CreateSoundFromMemory(const void* image, size_t size, int bufferCount, int shareHandle);
int CreateSoundFromMemoryOneBuffer(const void* image, size_t size, int shareHandle);
int CreateSoundFromFile(const char* name, int bufferCount, int shareHandle);
int DeleteSound(int handle, int unused);
// playType: 0 once and wait, 1 once in the background, 3 loop.
int StartSound(int handle, int playType, int restart);
int HaltSound(int handle);
// 1 playing, 0 not, -1 invalid handle.
int IsSoundPlaying(int handle);
// volume 0..255.
int SetSoundVolume(int volume, int handle);
// -1 restores the sound's own rate.
int SetSoundFrequency(int frequency, int handle);
int GetSoundFrequency(int handle);
int SetSoundPlayTime(int ms, int handle);
int GetSoundPlayTime(int handle);
int GetSoundLengthMs(int handle);
int SetSoundLoopStartMs(int ms, int handle);
// 0 decode whole, 2 stream from the file image, 3 stream while reading.
int SetSoundLoadMode(int mode);

// ---- MIDI player ----
// Stands in for the outside MIDI playback library: Standard MIDI Files
// played by FluidSynth with a General MIDI SoundFont, mixed with the other
// sounds. Like a library it is there only when both are installed. Lists
// are numbered by the caller.

// 0 when the player can be loaded; -1 when FluidSynth or its SoundFont is
// missing, with the path looked for in missing (size bytes, NUL included).
int LoadMidiPlayer(char* missing, size_t size);
// Makes the synthesizer (device and second are not used): 0, or -1.
int MidiPlayerSetDevice(int device, int second);
// Keeps a copy of a Standard MIDI File as the list; option is not used. The
// first list loads the SoundFont, which takes about a second. 0, or -1 for
// bytes that are no Standard MIDI File.
int MidiPlayerReadList(const void* image, int size, int option, int list);
int MidiPlayerDeleteList(int list);
// Plays the list from start (in the file's ticks), looping, from a fresh
// start; option is not used. 0, or -1 for an unknown list.
int MidiPlayerPlay(int option, int list, int start);
// Stops with all notes off. 0.
int MidiPlayerStop();
// In hundredths of a decibel: 0 full volume, lower quieter. 0.
int MidiPlayerMasterVolume(int value);
// 0 the files' own tempo; depth d above 0 plays at (100 + 2d) percent, below
// 0 at (d + 200) / 2 percent. 0.
int MidiPlayerTempoDepth(int value);
// Stops and frees the synthesizer and every list. 0.
int MidiPlayerFree();
// Test seams: the FluidSynth shared object and the SoundFont looked for;
// null gives back the installed ones.
void SetMidiPlayerLibraryName(const char* name);
void SetMidiPlayerSoundFont(const char* path);

// ---- Files and archives ----

// Opaque handle of an open file; 0 means failure.
using FileHandle = uintptr_t;

// Files are read from the game's archives when an archive stands in for a
// directory of their path (a file that archive lacks is not found), else
// from plain files. Names are game paths: '\' separators, any letter case.

// The largest file read whole: an archive entry stating more is refused
// before anything is decompressed, and the data loader refuses a larger file.
constexpr int64_t kMaxWholeFileSize = INT32_MAX;

// Opens a file for reading; flag non-zero asks for a file-access thread.
FileHandle FileOpenRead(const char* name, int flag);
// Size in bytes, or -1 when the file cannot be opened.
int64_t FileSizeOf(const char* name);
// Closes a file of FileOpenRead. 0, or -1.
int FileCloseRead(FileHandle handle);
// Reads n bytes as one element: from a plain file 1 when all n were read and
// 0, reading nothing, when fewer are left; inside an archive the bytes read.
int FileReadBytes(void* buffer, size_t n, FileHandle handle);
// Reads one line (Shift-JIS aware) into the buffer, without its CR LF, and
// NUL-terminates it; a line longer than size - 1 bytes comes in pieces, and a
// NUL byte ends the line. Returns its length, or -1 at the end of the file.
int FileReadLine(char* buffer, size_t size, FileHandle handle);

// Changes back to the folder that was current when the layer started (the
// game folder). 0, or -1.
int ReturnToStartFolder();

// Files that game content names, below the game folder (the current
// folder). A path is refused when it is absolute, names a drive, holds a
// ".." element or leads out of the folder through a symlink.
// 1 when the game path stays inside the game folder, else 0.
int IsPathInGameFolder(const char* path);
// Writes text (size bytes) as a text file: every line feed not already
// after a carriage return becomes CR LF. Through a temporary file renamed
// over the old one. 0 written, -1 when the file cannot be written (the old
// one is intact), -2 when the path is refused.
int WriteGameTextFile(const char* path, const char* text, size_t size);
// Writes bytes as they are, through a temporary file in the same folder
// renamed over the old one. 0 written, -1 when the file cannot be written
// (the old one is intact and no temporary file is left), -2 when the path
// is refused.
int WriteGameFile(const char* path, const void* data, size_t size);
// Creates a folder below the game folder; one that exists is no error. 0,
// -1 when it cannot be made, -2 when the path is refused.
int CreateGameFolder(const char* path);
// Bytes the player may still write on the game folder's file system; -1
// when it cannot be told.
int64_t GetGameFolderFreeSpace();
// Test seam: after this many more bytes reach the disk every file write of
// the layer fails, as on a full disk (-1: never).
void SetFileWriteLimit(int64_t bytes);
// Calls each(name, context) for every entry of the folder ("" the game
// folder itself), files and folders alike, sorted by name, "." and ".."
// left out; the current folder is not changed. The number of entries, or -1
// when the path is refused or names no folder.
int ListGameFolder(const char* path, void (*each)(const char* name, void* context), void* context);

// Archive access is on by default; 0 reads plain files only. May be called
// before the layer starts.
int EnableArchiveAccess(int flag);
// The extension of archive files, without the dot. Null, an empty text or
// one of 64 characters or more gives the default "MVA".
int SetArchiveExtension(const char* text);
// The key string that the archive key is made from; at most its first 12
// bytes count. Null (or empty) gives the built-in key.
int SetArchiveKeyString(const char* text);

// ---- Fonts and text ----

// Fonts are type-4 handles, 40 at most. Text is Shift-JIS (code page 949
// for charset 2). Colours are pixel values of the screen format.

// -1 gives the defaults: size 16, thickness 6 (weight x 100), type 0,
// charset 1, edge size 1, the first free slot, the next check number. Type
// bit 0 adds an edge (so does an edge size above 1), bit 1 anti-aliasing.
// A null face is the system's default face. A font handle, or -1.
int CreateFontToHandle(const char* face, int size, int thickness, int type, int charset, int edgeSize, int italic,
                       int slot, int check);
int DeleteFontHandle(int font);
// *notify becomes 0 now and 1 when the font is deleted.
int SetFontDeleteNotify(int font, int* notify);
// Extra pixels after every character.
int SetFontSpacing(int spacing, int font);
// Each output may be null; the face buffer holds 256 bytes.
int GetFontInfo(char* faceName, int* size, int* thickness, int font);
int QueryFontSize(int font);
// 1 live, 0 not.
int IsFontHandleValid(int font);

int GetDefaultFont();
// Each setting (-1: its default) rebuilds the default font when it changed. 0.
int SetDefaultFontSize(int size);
int SetDefaultFontThickness(int thickness);
int SetDefaultFontFace(const char* face, int charset);
int SetDefaultFontType(int type);
// The face is not used.
int SetDefaultFontSizeAndThickness(const char* face, int size, int thickness);
// Deletes every font and makes the default font again with its settings.
int ResetFonts();

// Installed font family names into 64-byte entries (a null buffer counts
// only), at most `maximum` of them when that is not 0 and never more than
// 4096; mode 1 lists only Japanese outline fonts. The number of names.
int ListFontNames(char* buffer, int maximum, int mode);
// Font files (.ttf, .ttc) installed for this run; game paths. The number of
// fonts added or removed: 1, or 0 when the file is no font.
int AddPrivateFontFile(const char* path);
int RemovePrivateFontFile(const char* path);

// (x, y) is the top-left of the first character's cell. byteCount -1 is the
// whole text. vertical must be 0.
int DrawTextLine(int x, int y, const char* text, uint32_t colour, uint32_t edgeColour);
int DrawTextLineFormatted(int x, int y, uint32_t colour, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
int DrawTextLineWithFont(int x, int y, const char* text, uint32_t colour, int font, uint32_t edgeColour, int vertical);
int DrawTextLineScaled(int x, int y, double scaleX, double scaleY, const char* text, uint32_t colour, int font,
                       uint32_t edgeColour, int vertical);
// Width in pixels, or -1.
int GetTextWidth(const char* text, int byteCount, int vertical);
int GetTextWidthWithFont(const char* text, int byteCount, int font, int vertical);

// ---- Screen settings ----

// The colour depth set for the display mode, 16 while none is set.
int GetScreenDepth();
// -1 keeps a value. A width or height of 0 or below or above 32767, or a
// depth other than 8, 16 and 32, gives -1 and changes nothing. Before the
// layer starts the mode is only recorded (0). Afterwards: 0 when the mode
// is in force, -2 when the display fell back to 640 x 480 x 16, else -1. A
// refused request or the mode already in force keeps every graphic; any
// other change deletes them all.
int SetScreenMode(int width, int height, int depth, int refreshRate);
// Either pointer may be null. Returns 0.
int GetScreenSize(int* width, int* height);
// Size and display depth; each pointer may be null. Returns 0.
int GetScreenMetrics(int* width, int* height, int* depth);
// 0 switches to drawing into memory-image screens for the rest of the run
// (the only drawing this player has). 0.
int EnableHardwareDrawing(int flag);
// 0 forbids the display's own surfaces (and with them 3D drawing). 0.
int EnableDirectDrawUse(int flag);

// ---- Graphics ----


// Targets of drawing besides graphics.
constexpr int kFrontScreen = -4;
constexpr int kBackScreen = -2;

// A colour packed into the screen's pixel format: the value every colour
// argument of the drawing operations takes.
uint32_t PackColor(int red, int green, int blue);
int MakeColorFormatFromMasks(ColorFormat* format, int depth, uint32_t redMask, uint32_t greenMask,
                             uint32_t blueMask, uint32_t alphaMask);
int FillDDPixelFormat(DDPixelFormat* format, int depth, uint32_t redMask, uint32_t greenMask, uint32_t blueMask,
                      uint32_t alphaMask);
// The screen's 32-byte pixel-format record.
const DDPixelFormat* GetScreenFormatRecord();

// Shows the back screen in the window (paced by the vertical blank unless
// SetWaitVsync(0)). 0; -1 before the screen exists.
int FlipScreen();
int PresentScreen();

// Live graphics at most; making one more ends the program.
constexpr int kMaxGraphicCount = 32768;

// A graphic of the size, or -1 (a side of 0 or below, above 32767, or an
// area above 2^26, is refused).
int CreateBlankGraphic(int width, int height, int noTexture);
// A graphic showing the rectangle of another (shared pixels), clipped to it;
// -1 when the rectangle starts outside it or has no area.
int DeriveGraphic(int x, int y, int width, int height, int graphic);
int DeleteGraphic(int graphic, int logFlag = 0);
int DeleteAllGraphics(int logFlag = 0);
int GetGraphicSize(int graphic, int* width, int* height);
int GetGraphicCount();
// A graphic with the image's pixels, or -1.
int MakeGraphicFromGraphImage(GraphImage* image);
// A graphic from an image file ("name_a.ext" beside it gives its alpha), or
// from a movie file; -1 (logged) when it cannot be loaded.
int LoadGraphicFile(const char* fileName, int noTexture);
// A graphic from an image file held in memory, with an optional alpha image
// file in a second buffer; mirror reverses every row.
int CreateGraphicFromImage(const void* image, uint32_t imageSize, const void* alpha, uint32_t alphaSize,
                           int textureRequest, int mirror);
// A graphic from an image file made as a blend-graphic image (the layer
// reloads it itself after the display was lost), or -1.
int LoadGraphicFileForced(const char* name);
// Called after the display was lost, before the layer's own reload.
using GraphicsRestoreFunction = void (*)();
int SetGraphicsRestoreHandler(GraphicsRestoreFunction function);
int RestoreAllGraphics();

// Drawing. Each returns 0 without drawing while the draw region is empty,
// -1 for a bad graphic or a blend graphic smaller than the graphic.
int ClearDrawTarget();
int DrawGraphicAt(int x, int y, int graphic, int transparent);
int DrawGraphicStretched(int x1, int y1, int x2, int y2, int graphic, int transparent);
int DrawGraphicRotatedInt(int x, int y, double scale, double angle, int graphic, int transparent, int turn);
int DrawGraphicPart(int x, int y, int sourceX, int sourceY, int width, int height, int graphic, int transparent,
                    int turn);
int DrawGraphicPartStretched(int x1, int y1, int x2, int y2, int sourceX, int sourceY, int sourceWidth,
                             int sourceHeight, int graphic, int transparent);
int DrawBlendGraph(int x, int y, int graphic, int transparent, int blendGraphic, int border, int range);
int DrawRectangle(int x1, int y1, int x2, int y2, uint32_t color, int fill);
// A rectangle of the draw target into a graphic of its size. 0 or -1.
int CaptureScreenToGraphic(int x1, int y1, int x2, int y2, int graphic);
// A rectangle of the draw target (clipped to the draw region) as a PNG file
// below the game folder; the option changes nothing. 0, or -1 with no file
// written.
int SaveScreenImage(int x1, int y1, int x2, int y2, const char* fileName, int option);

// The draw state.
int SetDrawFilter(int mode);
// mode: 0 copy, 1 translucent, 2 additive, 3 subtractive, 4 multiply, 10
// inverted translucent, 11 multiply translucent; parameter clamped to 0..255.
int SetBlendMode(int mode, int parameter);
int SetDrawBrightness(int red, int green, int blue);
// kFrontScreen, kBackScreen or a graphic; the draw region becomes the
// target's whole area when its size differs from the old one.
int SetDrawTarget(int target);
int GetDrawTarget();
int Enable3DDrawing(int flag);
int SetTransparentColor(int red, int green, int blue);
int SetCreateDrawableGraphics(int flag);
// Rectangles: right and bottom outside.
int ClipRect(IntRect* rect, const IntRect& clip);

// GraphImages: images in plain memory.
int CreateXrgbGraphImage(int width, int height, GraphImage* image);
int CreateRgb24GraphImage(int width, int height, GraphImage* image);
int FillGraphImage(GraphImage* image, int red, int green, int blue, int alpha);
int FreeGraphImage(GraphImage* image);
int DeleteAllGraphImageHandles();

// ---- Graphics entry points of the layer's own start-up, end and window ----

int IsSoftwareDrawingRequested();
// Software mode, or the display object is open.
int HasScreenDevice();
// 1 while draws go through the 3D device.
int IsDirect3DPathActive();
int UseWorkSurfaceForFrontScreen(int flag);
int InitScreenDevice(uintptr_t window);
int EndScreenDevice();
int SetWaitVsync(int flag);
int GetWaitVsync();
int RestoreAndCheckSurfaces2D();
// Restores the 3D device's textures that report themselves lost. 0.
int CheckLostSurfaces3D();
// Drops the 3D device and its textures, keeping every record, for a
// full-screen window that lost the display. 0; -1 without a 3D device.
int ReleaseDirect3DObject();
int RestoreGraphic(int graphic);
int ReleaseDirectDraw();
int ReinitGraphics();
int DetectScreenPixelFormat();
int HasGraphicsRestoreHandler();
int IsFullScreenModeSet();
int IsDirectDrawOn();
int SetGdiPresentMode(int mode);
int GetGdiPresentMode();
int SetFrontScreenRect(const IntRect& rect);
int SetDrawRegion(int left, int top, int right, int bottom);
int GetDrawRegion(IntRect* rect);
int EnableMaskDrawing(int flag);
int GetMaskDrawingFlag();
int ChangeScreenMode(int width, int height, int depth, int force, int refreshRate);
// Calls f(graphic) for every live graphic.
int ForEachGraphicHandle(void (*f)(int graphic));

// ---- Message boxes and ending the program ----

// A system message box with an OK button; text and title are Shift-JIS.
void ShowMessageBox(const char* text, const char* title);
// Ends the program at once with the exit code, without the end sequence.
[[noreturn]] void ExitProgram(int code);
// Test seams: a hook sees every message box instead of the player, or every
// exit (a hook that returns is followed by the real exit). Null puts the
// real one back.
using MessageBoxHook = void (*)(const char* text, const char* title);
using ExitProgramHook = void (*)(int code);
void SetMessageBoxHook(MessageBoxHook hook);
void SetExitProgramHook(ExitProgramHook hook);

// ---- Movies ----
// A movie is what a graphic loaded from a file shows when the file is a
// movie (Ogg Theora, AVI, MPEG, WMV, MP4...) rather than an image; it is
// opened stopped.

// The colour tables of the movie frames; once at start-up. 0.
int InitYuvTables();
// Every movie at once, for the window's activation and display changes. 0.
int PauseAllMovies();
int ResumeAllMovies();
int ReleaseAllMovieStreams();
// Brings every movie's current frame into the graphic that shows it. 0.
int UpdateAllMovieFrames();
