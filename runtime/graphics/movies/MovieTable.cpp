#include "runtime/graphics/movies/MovieTable.h"

#include "runtime/Movan.h"
#include "runtime/graphics/movies/StreamingMovie.h"
#include "runtime/graphics/movies/TheoraDecoder.h"
#include "runtime/host/movies/MovieGraph.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/files/StreamOps.h"
#include "runtime/platform/sound/SoundHandle.h"

namespace {

PointerHandleTable<MovieRecord>& Table() {
  // No message when all slots are in use; a failed record says its own.
  static PointerHandleTable<MovieRecord> table(kHandleMovie, kMovieCapacity, "",
                                            "メモリの確保に失敗しました in OpenMovie");
  return table;
}

constexpr int kStockFrames = 10;

// The movie's own sound, read from the same file while it plays.
int LoadMovieSound(const char* name) {
  const int mode = GetSoundLoadMode();
  SetMovieSoundFlag(1);
  SetSoundLoadMode(3);
  const int sound = CreateSoundFromFile(name, 1, -1);
  SetMovieSoundFlag(0);
  SetSoundLoadMode(mode);
  return sound;
}

void CloseRecord(MovieRecord& m) {
  if (m.decoder) CloseTheoraDecoder(m.decoder);
  m.decoder = nullptr;
  if (m.file) FileCloseRead(m.file);
  m.file = 0;
  if (m.sound >= 0) DeleteSound(m.sound, 0);
  m.sound = -1;
  CloseStreamingMovie(m);
}

// Streaming movies that hold their graph.
template <typename Action>
void ForEachStreamingMovie(Action action) {
  Table().ForEach([&](int32_t, MovieRecord* m) {
    if (!m->theora) action(*m);
  });
}

}  // namespace

int OpenMovie(const char* name, int* width, int* height, int option) {
  MovieRecord* record = nullptr;
  const int handle = Table().Create(&record);
  if (handle < 0) return -1;
  MovieRecord& m = *record;

  // A file that cannot be opened is no movie: nothing is tried on it.
  m.file = FileOpenVia(name, 0, 1, 0);
  if (m.file) {
    m.decoder = OpenTheoraDecoder(GetFileStreamOps(), static_cast<StreamHandle>(m.file), kStockFrames);
    if (!m.decoder) {
      FileCloseRead(m.file);
      m.file = 0;
    }
  }
  if (m.decoder) {
    m.sound = LoadMovieSound(name);
    TheoraInfo info;
    GetTheoraInfo(m.decoder, &info);
    m.width = info.width;
    m.height = info.height;
    m.theora = 1;
    m.frame = GetTheoraFrameImage(m.decoder);
  } else if (OpenStreamingMovie(m, name) != 0) {
    Table().Delete(handle);
    LogWrite("ムービーファイルオープン処理時にエラーが発生しました");
    return -1;
  }
  m.stopped = 1;
  if (width) *width = m.width;
  if (height) *height = m.height;
  (void)option;
  return handle;
}

int CloseMovie(int movie) {
  MovieRecord* m = Table().Find(movie);
  if (!m) return -1;
  CloseRecord(*m);
  Table().Delete(movie);
  return 0;
}

MovieRecord* GetMovieRecord(int movie) {
  return Table().Find(movie);
}

int SetMovieFrameCallback(int movie, MovieFrameCallback callback, void* userData) {
  MovieRecord* m = GetMovieRecord(movie);
  if (!m) return -1;
  m->frameCallback = callback;
  m->frameUserData = userData;
  m->frameOwed = 1;
  return 0;
}

int UpdateMovieFrame(int movie, int wait) {
  MovieRecord* m = GetMovieRecord(movie);
  if (!m || !m->frameCallback) return 0;
  // A streaming movie that is stopped keeps what its graphic shows.
  if (m->theora || UpdateStreamingFrame(*m, wait)) m->frameCallback(m, m->frameUserData);
  return 0;
}

int GetMovieCount() { return Table().LiveCount(); }

int RestoreMovieSurfaces(int movie) {
  (void)movie;
  return 0;
}

int ReleaseAllMovieStreams() {
  ForEachStreamingMovie([](MovieRecord& m) {
    if (!m.sample) return;
    m.savedPosition = HostMovieGetPosition(m.graph);
    if (HostMovieGetState(m.graph) == kHostMovieRunning) m.resumeAfterPass = 1;
    ReleaseStreamingMovie(m);
  });
  return 0;
}

int ReopenAllMovieStreams() {
  int result = 0;
  ForEachStreamingMovie([&](MovieRecord& m) {
    if (result != 0 || m.graph) return;
    const std::string name = m.fileName;
    if (OpenStreamingMovie(m, name.c_str()) != 0) {
      result = -1;
      return;
    }
    HostMovieSetPosition(m.graph, m.savedPosition);
  });
  return result;
}

int PauseAllMovies() {
  ForEachStreamingMovie([](MovieRecord& m) {
    if (!m.graph || HostMovieGetState(m.graph) != kHostMovieRunning) return;
    HostMoviePause(m.graph);
    m.resumeAfterPass = 1;
  });
  return 0;
}

int ResumeAllMovies() {
  ForEachStreamingMovie([](MovieRecord& m) {
    if (!m.graph || !m.resumeAfterPass) return;
    HostMovieRun(m.graph);
    m.resumeAfterPass = 0;
  });
  return 0;
}

int UpdateAllMovieFrames() {
  Table().ForEach([](int32_t handle, MovieRecord*) { UpdateMovieFrame(handle, 0); });
  return 0;
}

int CloseAllMovies() {
  Table().ForEach([](int32_t handle, MovieRecord*) { CloseMovie(handle); });
  return 0;
}
