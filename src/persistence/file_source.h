// Where the source-set reader takes its files from: the file system, or a
// set of files held in memory (tests and fuzzing read whole programs without
// touching the disk). Paths are byte strings as the operating system takes
// them; texts for messages are CP932. Nothing here throws.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

class TFileSource {
 public:
  virtual ~TFileSource() = default;

  // Reads the whole file into bytes. On failure returns false, leaves bytes
  // empty and sets error to a text naming the file and the reason.
  virtual bool ReadFile(const std::string& path, std::string& bytes, std::string& error) const = 0;
  // The file's packed time stamp (file_stamp.h); kNoTimeStamp when there is
  // no such file.
  virtual int32_t TimeStamp(const std::string& path) const = 0;
  // A text that is the same for every path that names one file (another
  // spelling of the path, a link) and differs between files; "" when there
  // is no such file.
  virtual std::string Identity(const std::string& path) const = 0;
};

// The file system: ReadWholeFile, FileTimeStamp and the device and inode
// number.
const TFileSource& DiskFiles();

// Files held in memory, by exact path. Each file is itself: two paths never
// name one file. A file without a stamp of its own has kMemoryFileStamp.
class TMemoryFiles : public TFileSource {
 public:
  static constexpr int32_t kMemoryFileStamp = 0x00210000;  // 1980-01-01 00:00:00

  void Put(const std::string& path, std::string bytes, int32_t stamp = kMemoryFileStamp);
  void Remove(const std::string& path) { files_.erase(path); }

  bool ReadFile(const std::string& path, std::string& bytes, std::string& error) const override;
  int32_t TimeStamp(const std::string& path) const override;
  std::string Identity(const std::string& path) const override;

 private:
  struct TMemoryFile {
    std::string bytes;
    int32_t stamp;
  };
  std::map<std::string, TMemoryFile, std::less<>> files_;
};
