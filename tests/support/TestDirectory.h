#pragma once
// A fresh directory under the system's temporary folder, removed with
// everything in it when the object goes.

#include <string>
#include <string_view>

class TestDirectory {
 public:
  TestDirectory();
  ~TestDirectory();
  TestDirectory(const TestDirectory&) = delete;
  TestDirectory& operator=(const TestDirectory&) = delete;

  const std::string& Path() const { return path_; }
  // Path of a file inside; relative names may contain '/'.
  std::string File(std::string_view relative) const;

  // Writes a file (creating its folders) and returns its path.
  std::string Write(std::string_view relative, std::string_view bytes) const;

 private:
  std::string path_;
};

// The whole file, or an empty string when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// Writes the file anew, creating its folders.
void WriteWholeFile(const std::string& path, std::string_view bytes);
bool FileExists(const std::string& path);
