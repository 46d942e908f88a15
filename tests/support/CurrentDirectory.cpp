#include "tests/support/CurrentDirectory.h"

#include <filesystem>

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::string& path)
    : previous_(std::filesystem::current_path().string()) {
  std::filesystem::current_path(path);
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
}
