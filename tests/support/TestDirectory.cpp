#include "tests/support/TestDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TestDirectory::TestDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "movan-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TestDirectory::~TestDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TestDirectory::File(std::string_view relative) const {
  return path_ + "/" + std::string(relative);
}

std::string TestDirectory::Write(std::string_view relative, std::string_view bytes) const {
  const std::string path = File(relative);
  WriteWholeFile(path, bytes);
  return path;
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }
