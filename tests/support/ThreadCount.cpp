#include "tests/support/ThreadCount.h"

#include <dirent.h>

#include <thread>

int ThreadCount() {
  int n = 0;
  DIR* dir = opendir("/proc/self/task");
  while (const dirent* e = readdir(dir)) n += e->d_name[0] != '.';
  closedir(dir);
  return n;
}

int ThreadCountOnceSettledAt(int expected) {
  int n = ThreadCount();
  for (int i = 0; i < 1000 && n != expected; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    n = ThreadCount();
  }
  return n;
}
