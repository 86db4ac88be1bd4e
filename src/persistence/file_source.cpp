#include "persistence/file_source.h"

#include <sys/stat.h>

#include <utility>

#include "persistence/encoding.h"
#include "persistence/file_io.h"
#include "persistence/file_stamp.h"

namespace {

class TDiskFiles : public TFileSource {
 public:
  bool ReadFile(const std::string& path, std::string& bytes, std::string& error) const override {
    return ReadWholeFile(path, bytes, error);
  }
  int32_t TimeStamp(const std::string& path) const override { return FileTimeStamp(path); }
  std::string Identity(const std::string& path) const override {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return {};
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
  }
};

}  // namespace

const TFileSource& DiskFiles() {
  static const TDiskFiles disk;
  return disk;
}

void TMemoryFiles::Put(const std::string& path, std::string bytes, int32_t stamp) {
  files_[path] = TMemoryFile{std::move(bytes), stamp};
}

bool TMemoryFiles::ReadFile(const std::string& path, std::string& bytes, std::string& error) const {
  bytes.clear();
  const auto file = files_.find(path);
  if (file == files_.end()) {
    error = Sjis("ファイルを開けません") + " \"" + path + "\": " + Sjis("ファイルがありません");
    return false;
  }
  bytes = file->second.bytes;
  return true;
}

int32_t TMemoryFiles::TimeStamp(const std::string& path) const {
  const auto file = files_.find(path);
  return file == files_.end() ? kNoTimeStamp : file->second.stamp;
}

std::string TMemoryFiles::Identity(const std::string& path) const {
  return files_.count(path) != 0 ? path : std::string();
}
