#pragma once
// The game's music (kind 0), background sound (kind 1) and sound effects
// (kind 2), named by their entry in system database types 1, 2 and 3 (item 0
// the file below the Data folder, 1 the volume in percent, 2 the tempo or
// frequency in percent, 3 the loop start in ms, or for a sound effect the
// flag that frees it once played), or by a file name registered in one of
// ten spare entries of its type. Music and background sound change by
// linear cross-fades counted in frames; MIDI music goes to the MIDI
// library; sound effects pass a queue that delays, starts and frees them.
//
// One global object, a plain value; its handles belong to the runtime
// layer, which deletes them (nothing is deleted when a manager is
// destroyed or replaced).

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class SoundManager {
 public:
  static constexpr int32_t kMusic = 0;
  static constexpr int32_t kBackgroundSound = 1;
  static constexpr int32_t kSoundEffect = 2;
  // PlayFile's answer when the sound playing was only adjusted.
  static constexpr int32_t kAdjusted = -10;
  // More loaded sound effects than this, and those neither playing nor
  // queued are freed.
  static constexpr size_t kMaxIdleSoundEffects = 30;

  // The fades of music and background sound, one record per kind.
  struct Fade {
    int32_t fadingHandle = 0;   // the sound fading out, 0 none
    int32_t currentHandle = 0;  // the sound fading in or playing, 0 none
    int32_t counter = -1;       // frames left, -1 no fade running
    int32_t length = 0;         // fade frames + 1
    int32_t target = 100;       // volume reached, 0..100 of the layer's scale
    int32_t percent = 100;      // music tempo / background-sound frequency
    int32_t fadeFrom = 0;       // the volume the outgoing sound falls from
    int32_t fadeInStart = 0;    // the volume the incoming sound rises from
    bool operator==(const Fade&) const = default;
  };

  // One delayed sound-effect request.
  struct Request {
    int32_t handle;     // -1 stops every sound effect
    int32_t delay;      // frames; -1 started, waiting to be freed
    int32_t freeAfter;  // item 3 of the entry
    bool operator==(const Request&) const = default;
  };

  std::map<int32_t, int32_t> handles[3];  // entry -> sound handle, per kind
  std::vector<int32_t> speechMarks;       // per sound-effect entry: 1 holds speech
  uint8_t speechMarksSized = 0;
  Fade fades[2];                          // music, background sound
  std::vector<Request> queue;
  std::vector<int32_t> midiMarks;         // per music entry: 1 MIDI loaded, -1 missing, 0 other
  uint8_t currentIsMidi = 0;
  uint8_t previousWasMidi = 0;
  uint8_t scanned = 0;
  int32_t midiTempoCountdown = -1;        // frames until the tempo is sent again
  std::vector<int32_t> oggMarks[2];       // per entry of music, background sound
  // Sounds given by file name: game path -> handle (MIDI files are never in it).
  std::map<std::string, int32_t> loadedFiles;

  // kind, entry (-1 or 65535 stops the kind), fade frames (a sound effect's
  // delay), play position in ms (music and background sound).
  void Play(int32_t kind, int32_t entry, int32_t fade, int32_t position);
  // Registers a file (text: the name below the Data folder, optionally
  // followed by lines of volume, tempo and loop start) in the kind's next
  // spare entry and returns that entry; -1 for an empty name, kAdjusted when
  // it is the sound playing, whose volume and tempo then change.
  int32_t PlayFile(const std::string& text, int32_t kind, int32_t fade, int32_t loopStart, int32_t volume,
                   int32_t tempo);
  void Update();
  // Always true.
  bool Load(int32_t kind, int32_t entry);
  void LoadFile(const std::string& path, int32_t kind, int32_t entry);
  bool Release(int32_t kind, int32_t entry);
  void ReleaseHandle(int32_t kind, int32_t handle);
  // all: every sound, and every handle of the layer; otherwise those not
  // playing (and sound effects not queued).
  void ReleaseHandles(bool all);
  void ScanTypes();
  void ResizeTables();
  // -1000 when the current entry of the kind plays an Ogg Vorbis file.
  int32_t OggLengthCorrection(int32_t kind) const;
  int32_t CountLoadedSounds() const;
  // Music or background sound moves from its volume now to target over
  // frames frames.
  void RampVolume(int32_t kind, int32_t target, int32_t frames);
  // Speaks the text through the speech library into the next spare
  // sound-effect entry, freed once played: that entry, or -10 when nothing
  // could be synthesized.
  int32_t SynthesizeSpeech(const std::string& text, int32_t speed, int32_t volume, int32_t tempo);

  // The handle of an entry, 0 when none is loaded.
  int32_t HandleOf(int32_t kind, int32_t entry) const;
  // Whether a kind plays, by the player's sound setting.
  static bool KindEnabled(int32_t kind);

  bool operator==(const SoundManager&) const = default;

 private:
  void PlayMusic(int32_t entry, int32_t fade, int32_t position);
  void PlayBackgroundSound(int32_t entry, int32_t fade, int32_t position);
  void PlaySoundEffect(int32_t entry, int32_t delay);
  void UpdateFade(int32_t kind);
  void UpdateQueue();
  // Halts and deletes the handle and forgets it wherever it is named.
  void DeleteHandle(int32_t handle);
  void FreeIdleSoundEffects(int32_t keep);
};

extern SoundManager GameSounds;

// MIDI list number of a music entry.
inline int32_t MidiListOf(int32_t musicEntry) { return musicEntry + 1; }
// The MIDI library's tempo depth of a tempo percent.
int32_t MidiTempoDepthOf(int32_t percent);
