#include "persistence/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <system_error>

#include "persistence/encoding.h"
#include "persistence/int_text.h"

namespace {

// Texts from the system (paths, reasons) are UTF-8 here; shown as CP932.
std::string AsMessageText(std::string_view bytes) {
  return IsValidUtf8(bytes) ? Utf8ToCp932(bytes) : std::string(bytes);
}

std::string Reason(int error) {
  return AsMessageText(std::generic_category().message(error));
}

// "<what> "path": reason"
std::string FileError(const char* whatUtf8, const std::string& path, int errorNumber) {
  return Sjis(whatUtf8) + " \"" + AsMessageText(path) + "\": " + Reason(errorNumber);
}

// A folder, a device, a pipe or a socket where a file was to be read.
std::string NotAPlainFileError(const std::string& path, const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return FileError("ファイルを読めません", path, EISDIR);
  return Sjis("ファイルを読めません") + " \"" + AsMessageText(path) +
         "\": " + Sjis("通常のファイルではありません");
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file that a write to path really replaces: the target of a symbolic
// link, or path itself.
std::string ResolveTarget(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

bool WriteAll(int fd, std::string_view bytes, int& errorNumber) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      errorNumber = errno;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// Creates a fresh file beside target; the name holds the process id and the
// clock so that concurrent writers never meet. Permissions follow the umask.
int CreateTemporary(const std::string& target, std::string& tempPath, int& errorNumber) {
  const std::string stem = FolderOf(target) + "/." + NameOf(target) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    tempPath = stem + IntToStr(getpid()) + "-" + IntToStr(ticks) + "-" + IntToStr(attempt) + ".tmp";
    const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST) break;
  }
  errorNumber = errno;
  return -1;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  bytes.clear();
  // Only plain files are read: a device such as /dev/zero never ends and a
  // pipe may never deliver, and opening a device can itself do something.
  // So the path is looked at before it is opened, and the open does not
  // block in case it has been replaced by a pipe since; fstat decides.
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    error = NotAPlainFileError(path, info);
    return false;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = FileError("ファイルを開けません", path, errno);
    return false;
  }
  if (fstat(fd, &info) != 0) {
    const int statError = errno;
    close(fd);
    error = FileError("ファイルを読めません", path, statError);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    close(fd);
    error = NotAPlainFileError(path, info);
    return false;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (info.st_size > 0) bytes.reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int readError = errno;
      close(fd);
      bytes.clear();
      error = FileError("ファイルを読めません", path, readError);
      return false;
    }
    bytes.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
  const std::string target = ResolveTarget(path);
  std::string tempPath;
  int errorNumber = 0;
  const int fd = CreateTemporary(target, tempPath, errorNumber);
  if (fd < 0) {
    error = FileError("ファイルを保存できません", path, errorNumber);
    return false;
  }
  struct stat old {};
  if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) fchmod(fd, old.st_mode & 07777);

  bool ok = WriteAll(fd, bytes, errorNumber);
  if (ok && fsync(fd) != 0) {
    errorNumber = errno;
    ok = false;
  }
  if (close(fd) != 0 && ok) {
    errorNumber = errno;
    ok = false;
  }
  if (ok && rename(tempPath.c_str(), target.c_str()) != 0) {
    errorNumber = errno;
    ok = false;
  }
  if (!ok) {
    unlink(tempPath.c_str());
    error = FileError("ファイルを保存できません", path, errorNumber);
    return false;
  }
  // Make the rename itself durable; a failure here loses nothing already
  // written, so it is not reported.
  const int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

int64_t FileSize(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return -1;
  return static_cast<int64_t>(info.st_size);
}
