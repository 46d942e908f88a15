#include <cstring>

#include "runtime/Movan.h"
#include "runtime/graphics/graphic/GraphicFromImage.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/GraphicsLifeCycle.h"
#include "runtime/graphics/imagefile/LoadImageFile.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/files/FileAccessTable.h"

namespace {

// Longer sources than these are not reloaded.
constexpr size_t kReloadDirectoryLimit = 128;
constexpr size_t kReloadNameLimit = 64;

struct ReloadPass {
  GraphImage image = {};
  GraphImage alpha = {};
  bool imageLoaded = false;
  bool alphaLoaded = false;
  bool havePrevious = false;
  char previousName[kGraphicNameSize] = {};
  char previousDirectory[kGraphicDirectorySize] = {};
  int previousOption = 0;

  void FreeImages() {
    if (imageLoaded) FreeGraphImage(&image);
    if (alphaLoaded) FreeGraphImage(&alpha);
    imageLoaded = alphaLoaded = false;
  }

  // Graphics derived from one file follow each other and share one read.
  bool SameAsPrevious(const GraphicEntry& g) const {
    return havePrevious && imageLoaded && std::strcmp(previousName, g.fileName) == 0 &&
           std::strcmp(previousDirectory, g.directory) == 0 && previousOption == g.imageOption;
  }

  void Remember(const GraphicEntry& g) {
    havePrevious = true;
    std::memcpy(previousName, g.fileName, sizeof previousName);
    std::memcpy(previousDirectory, g.directory, sizeof previousDirectory);
    previousOption = g.imageOption;
  }

  void Reload(int handle, GraphicEntry* g) {
    if (!g->restorePending || g->fileName[0] == '\0') return;
    const bool tooLong = std::strlen(g->directory) > kReloadDirectoryLimit || std::strlen(g->fileName) > kReloadNameLimit;
    if (!tooLong) {
      bool ready = SameAsPrevious(*g);
      if (!ready) {
        FreeImages();
        ChangeDirVia(g->directory);
        const int loaded =
            LoadImageFileWithAlpha(g->fileName, nullptr, 0, 0, nullptr, 0, 0, &image, &alpha, g->imageOption);
        imageLoaded = loaded >= 0;
        alphaLoaded = loaded == 0;
        ready = imageLoaded;
      }
      if (ready) {
        char name[kGraphicNameSize];
        std::memcpy(name, g->fileName, sizeof name);
        TransferImageToGraphic(image, alphaLoaded ? &alpha : nullptr, name, g->sourceX, g->sourceY, handle,
                               g->imageOption);
      }
    }
    // A graphic whose file is gone is not tried again.
    g->restorePending = 0;
    Remember(*g);
  }
};

}  // namespace

int RestoreAllGraphics() {
  LogWrite("グラフィックを復帰します\n");
  char directory[kFilePathSize] = {};
  const bool haveDirectory = GetDirVia(directory) == 0;
  ReloadPass pass;
  ForEachGraphic([](int handle, GraphicEntry* g, void* context) { static_cast<ReloadPass*>(context)->Reload(handle, g); },
                 &pass);
  pass.FreeImages();
  if (haveDirectory) ChangeDirVia(directory);
  return 0;
}
