// A temporary folder for tests that read and stamp files; removed with
// everything in it when the object goes.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

class TTempFolder {
 public:
  TTempFolder() {
    std::string pattern = ::testing::TempDir() + "qrx_sources_XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  ~TTempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }

  bool Ok() const { return !path_.empty(); }
  const std::string& Folder() const { return path_; }
  std::string Path(const std::string& name) const { return path_ + "/" + name; }

  // Writes bytes to the named file (folders are made as needed); returns
  // its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string path = Path(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return path;
  }

  // Sets the file's modification time (seconds since the epoch).
  static bool SetModified(const std::string& path, time_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
  }

 private:
  std::string path_;
};
