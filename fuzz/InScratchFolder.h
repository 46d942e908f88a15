#pragma once
// Runs one input inside a fuzz target's scratch folder, and goes back to the
// folder the target started in when the input is done, however it ends.

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

class InScratchFolder {
 public:
  explicit InScratchFolder(const char* folder) : home_(open(".", O_RDONLY | O_DIRECTORY)) {
    if (home_ < 0 || chdir(folder) != 0) std::abort();
  }
  ~InScratchFolder() {
    if (fchdir(home_) != 0) std::abort();
    close(home_);
  }
  InScratchFolder(const InScratchFolder&) = delete;
  InScratchFolder& operator=(const InScratchFolder&) = delete;

 private:
  int home_;
};
