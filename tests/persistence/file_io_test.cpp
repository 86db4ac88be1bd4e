// Whole-file reading and the crash-safe write.
#include "persistence/file_io.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "persistence/encoding.h"

namespace {

// The system's text for an error number, as the messages carry it (CP932).
std::string SystemReason(int error) {
  return Utf8ToCp932(std::generic_category().message(error));
}

class FileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "qrx_file_io_XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    chmod(dir_.c_str(), 0700);
    for (const auto& name : Names())
      unlink((dir_ + "/" + name).c_str());
    rmdir((dir_ + "/sub").c_str());
    rmdir(dir_.c_str());
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir_.c_str())) {
      while (dirent* e = readdir(d)) {
        const std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
      }
      closedir(d);
    }
    return names;
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string dir_;
};

TEST_F(FileIo, WritesAndReadsBytesExactly) {
  std::string bytes(
      "\x07"
      "CSLV100",
      8);
  bytes += std::string("\0\r\n\x83\x41", 5);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(Path("a.bin"), bytes, error)) << error;
  std::string back;
  ASSERT_TRUE(ReadWholeFile(Path("a.bin"), back, error)) << error;
  EXPECT_EQ(back, bytes);
  EXPECT_TRUE(FileExists(Path("a.bin")));
  EXPECT_EQ(FileSize(Path("a.bin")), static_cast<int64_t>(bytes.size()));
  // Only the target is left in the folder: no temporary.
  EXPECT_EQ(Names(), std::vector<std::string>{"a.bin"});
}

TEST_F(FileIo, ReplacesAnExistingFileAndKeepsItsPermissions) {
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(Path("s.qasm"), "old contents, longer", error));
  chmod(Path("s.qasm").c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(Path("s.qasm"), "new", error)) << error;
  EXPECT_EQ(Contents(Path("s.qasm")), "new");
  struct stat info {};
  ASSERT_EQ(stat(Path("s.qasm").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(FileIo, WritesThroughASymbolicLink) {
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(Path("real"), "1", error));
  ASSERT_EQ(symlink(Path("real").c_str(), Path("link").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(Path("link"), "2", error)) << error;
  EXPECT_EQ(Contents(Path("real")), "2");
  struct stat info {};
  ASSERT_EQ(lstat(Path("link").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST_F(FileIo, EmptyFilesAndMissingFiles) {
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(Path("empty"), "", error));
  std::string bytes = "stale";
  ASSERT_TRUE(ReadWholeFile(Path("empty"), bytes, error));
  EXPECT_EQ(bytes, "");
  EXPECT_EQ(FileSize(Path("empty")), 0);

  EXPECT_FALSE(FileExists(Path("missing")));
  EXPECT_EQ(FileSize(Path("missing")), -1);
  bytes = "stale";
  EXPECT_FALSE(ReadWholeFile(Path("missing"), bytes, error));
  EXPECT_EQ(bytes, "");
  EXPECT_NE(error.find(Sjis("ファイルを開けません")), std::string::npos) << error;
  EXPECT_NE(error.find("missing"), std::string::npos);
  EXPECT_NE(error.find(SystemReason(ENOENT)), std::string::npos) << error;
}

TEST_F(FileIo, FoldersAreNotFiles) {
  ASSERT_EQ(mkdir(Path("sub").c_str(), 0700), 0);
  EXPECT_FALSE(FileExists(Path("sub")));
  EXPECT_EQ(FileSize(Path("sub")), -1);
  std::string bytes;
  std::string error;
  EXPECT_FALSE(ReadWholeFile(Path("sub"), bytes, error));
  EXPECT_FALSE(error.empty());
  // A save onto a folder fails and leaves neither the folder changed nor a
  // temporary behind.
  EXPECT_FALSE(WriteFileAtomically(Path("sub"), "x", error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Names(), std::vector<std::string>{"sub"});
}

// A device never ends and a pipe may never deliver: reading either would
// hang the program (or fill the memory), so only plain files are read. The
// test itself would hang on a regression; the test timeout reports it.
TEST_F(FileIo, OnlyPlainFilesAreRead) {
  ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
  ASSERT_EQ(symlink("/dev/zero", Path("zero-link").c_str()), 0);
  for (const std::string& path :
       {std::string("/dev/zero"), std::string("/dev/null"), Path("pipe"), Path("zero-link")}) {
    std::string bytes = "stale";
    std::string error;
    EXPECT_FALSE(ReadWholeFile(path, bytes, error)) << path;
    EXPECT_EQ(bytes, "") << path;
    EXPECT_NE(error.find(Sjis("通常のファイルではありません")), std::string::npos) << error;
    EXPECT_NE(error.find(path), std::string::npos) << error;
  }
  // A link to a plain file is read through.
  std::string bytes;
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(Path("plain"), "text", error)) << error;
  ASSERT_EQ(symlink(Path("plain").c_str(), Path("plain-link").c_str()), 0);
  EXPECT_TRUE(ReadWholeFile(Path("plain-link"), bytes, error)) << error;
  EXPECT_EQ(bytes, "text");
}

TEST_F(FileIo, ASaveIntoAMissingFolderFailsWithTheReason) {
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(Path("nowhere/x.qsav"), "x", error));
  EXPECT_NE(error.find(Sjis("ファイルを保存できません")), std::string::npos) << error;
  EXPECT_NE(error.find("x.qsav"), std::string::npos) << error;
}

TEST_F(FileIo, ASaveIntoAReadOnlyFolderKeepsTheOldFile) {
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(Path("keep.qsav"), "earlier state", error));
  ASSERT_EQ(chmod(dir_.c_str(), 0500), 0);
  if (access(dir_.c_str(), W_OK) == 0) {
    chmod(dir_.c_str(), 0700);
    GTEST_SKIP() << "running with privileges that ignore folder permissions (root)";
  }
  EXPECT_FALSE(WriteFileAtomically(Path("keep.qsav"), "new state", error));
  EXPECT_NE(error.find(SystemReason(EACCES)), std::string::npos) << error;
  chmod(dir_.c_str(), 0700);
  EXPECT_EQ(Contents(Path("keep.qsav")), "earlier state");
  EXPECT_EQ(Names(), std::vector<std::string>{"keep.qsav"});
}

// A write that fails half-way (here: the file size limit, which holds for
// root too) must leave the earlier file whole and remove the temporary.
TEST_F(FileIo, AWriteThatFailsHalfWayKeepsTheOldFile) {
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(Path("big.qsav"), "earlier state", error));
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const bool ok = WriteFileAtomically(Path("big.qsav"), std::string(100000, 'x'), error);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);
  EXPECT_FALSE(ok);
  EXPECT_NE(error.find("big.qsav"), std::string::npos) << error;
  EXPECT_EQ(Contents(Path("big.qsav")), "earlier state");
  EXPECT_EQ(Names(), std::vector<std::string>{"big.qsav"});
}

}  // namespace
