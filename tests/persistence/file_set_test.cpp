// The file set: stamps per entry, change detection against the disk, names
// for messages and the stream form the state file carries.
#include "persistence/file_set.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "persistence/encoding.h"
#include "persistence/memory_stream.h"
#include "persistence/string_list_error.h"
#include "temp_folder.h"
#include "time_zone_guard.h"

namespace {

// 2023-04-05 04:24:36 UTC; 13:24:36 in Japan.
constexpr time_t kSpringMorningUtc = 1680668676;
constexpr int32_t kSpringStampJst = 0x56856B12;

std::vector<std::pair<std::string, int32_t>> Contents(const TFileNames& files) {
  std::vector<std::pair<std::string, int32_t>> contents;
  for (int i = 0; i < files.Count(); ++i)
    contents.emplace_back(files[i], files.TimeStamp(i));
  return contents;
}

TEST(FileSetStamps, StampsAreReadSafelyAndSetOnlyOnEntries) {
  TFileNames files;
  files.Add("/src/main.qasm");
  files.Add("/src/a.qasm");
  EXPECT_EQ(files.TimeStamp(0), -1);  // no record yet
  files.SetTimeStamp(1, 99);
  EXPECT_EQ(files.TimeStamp(1), 99);
  EXPECT_EQ(files.TimeStamp(-1), -1);
  EXPECT_EQ(files.TimeStamp(2), -1);
  EXPECT_TRUE(files.Contains("/SRC/A.qasm"));
  EXPECT_THROW(files.SetTimeStamp(5, 1), EStringListError);
  EXPECT_EQ(files.Count(), 2);
}

TEST(FileSetStamps, AddWithStampTakesTheDiskStampAndDuplicatesAreKept) {
  TTempFolder folder;
  ASSERT_TRUE(folder.Ok());
  const std::string path = folder.Write("main.qasm", "NOP\r\n");
  TFileNames files;
  EXPECT_EQ(files.AddWithStamp(path), 0);
  EXPECT_EQ(files.AddWithStamp(path), 1);
  EXPECT_EQ(files.AddWithStamp(folder.Path("gone.qasm")), 2);
  EXPECT_EQ(files.TimeStamp(0), FileTimeStamp(path));
  EXPECT_NE(files.TimeStamp(0), -1);
  EXPECT_EQ(files.TimeStamp(1), files.TimeStamp(0));
  EXPECT_EQ(files.TimeStamp(2), -1);
}

TEST(FileSetStamps, StampDeltaFollowsTheFileOnDisk) {
  TTempFolder folder;
  ASSERT_TRUE(folder.Ok());
  TTimeZoneGuard guard("UTC0");
  const std::string path = folder.Write("main.qasm", "NOP\r\n");
  ASSERT_TRUE(TTempFolder::SetModified(path, kSpringMorningUtc));
  TFileNames files;
  files.AddWithStamp(path);
  files.Add(path);  // no stamp recorded
  files.AddWithStamp(folder.Path("never.qasm"));
  EXPECT_EQ(files.StampDelta(0), 0);
  EXPECT_GT(files.StampDelta(1), 0);  // an unrecorded file that exists is news
  EXPECT_EQ(files.StampDelta(2), 0);  // missing then, missing now
  EXPECT_EQ(files.StampDelta(3), 0);  // outside the list

  ASSERT_TRUE(TTempFolder::SetModified(path, kSpringMorningUtc + 10));
  EXPECT_GT(files.StampDelta(0), 0);
  ASSERT_TRUE(TTempFolder::SetModified(path, kSpringMorningUtc + 1));  // same two seconds
  EXPECT_EQ(files.StampDelta(0), 0);
  ASSERT_TRUE(TTempFolder::SetModified(path, kSpringMorningUtc - 3600));
  EXPECT_LT(files.StampDelta(0), 0);

  // The "No" answer of the check: record the disk stamp, then no change.
  files.SetTimeStamp(0, FileTimeStamp(path));
  EXPECT_EQ(files.StampDelta(0), 0);

  std::filesystem::remove(path);
  EXPECT_LT(files.StampDelta(0), 0);  // vanished: changed, but never "newer"
}

TEST(FileSetStamps, StampDeltaStaysPositiveAcrossTheYear2044) {
  TTempFolder folder;
  ASSERT_TRUE(folder.Ok());
  const std::string path = folder.Write("late.qasm", "NOP\r\n");
  TTimeZoneGuard guard("UTC0");
  ASSERT_TRUE(TTempFolder::SetModified(path, 2335219198));  // 2043-12-31 23:59:58
  TFileNames files;
  files.AddWithStamp(path);
  ASSERT_TRUE(TTempFolder::SetModified(path, 2335219200));  // 2044-01-01 00:00:00
  EXPECT_LT(FileTimeStamp(path), 0);
  EXPECT_GT(files.StampDelta(0), 0);
}

TEST(FileSetTexts, TimeTextsShowStoredAndDiskStamps) {
  TTempFolder folder;
  ASSERT_TRUE(folder.Ok());
  TTimeZoneGuard guard("JST-9");
  const std::string path = folder.Write("main.qasm", "NOP\r\n");
  ASSERT_TRUE(TTempFolder::SetModified(path, kSpringMorningUtc));
  TFileNames files;
  files.AddWithStamp(path, 0x00210000);
  files.Add(folder.Path("missing.qasm"));
  EXPECT_EQ(files.StoredTimeText(0), "1980/01/01 00:00:00");
  EXPECT_EQ(files.DiskTimeText(0), "2023/04/05 13:24:36");
  EXPECT_EQ(FileTimeStamp(path), kSpringStampJst);
  EXPECT_EQ(files.StoredTimeText(1), kNoStampText);
  EXPECT_EQ(files.DiskTimeText(1), kNoStampText);
  EXPECT_EQ(files.StoredTimeText(2), kNoStampText);
  EXPECT_EQ(files.DiskTimeText(-1), kNoStampText);
}

TEST(FileSetTexts, ShortNameIsTheNameWithoutFolderAsCp932) {
  TFileNames files;
  const char* paths[] = {"/home/u/src/main.qasm", "plain.qasm",
                         "/home/u/QRXソースファイル/サンプル.qasm", "", "/trailing/"};
  for (const char* path : paths)
    files.Add(path);
  EXPECT_EQ(files.ShortName(0), "main.qasm");
  EXPECT_EQ(files.ShortName(1), "plain.qasm");
  EXPECT_EQ(files.ShortName(2), Sjis("サンプル.qasm"));
  EXPECT_EQ(files.ShortName(3), "");
  EXPECT_EQ(files.ShortName(4), "");
  EXPECT_EQ(files.ShortName(5), "");
  EXPECT_EQ(files.ShortName(-1), "");
}

TEST(FileSetStream, WritesPathsThenOneLittleEndianStampPerEntry) {
  TFileNames files;
  files.AddWithStamp("a", 0x01020304);
  files.Add("bc");  // no record: written as -1
  TMemoryStream stream;
  files.SaveToStream(stream);
  const std::string expected = std::string(
                                   "\x07"
                                   "CSLV100",
                                   8) +
                               std::string("\x07\x00\x00\x00\x00\x00\x00\x00", 8) + "a\r\nbc\r\n" +
                               std::string("\x04\x03\x02\x01", 4) +
                               std::string("\xFF\xFF\xFF\xFF", 4);
  EXPECT_EQ(stream.Bytes(), expected);
}

TEST(FileSetStream, RoundTripKeepsPathsStampsAndStreamPosition) {
  TFileNames files;
  files.AddWithStamp("", -1);  // the two empty entries of a fresh workbench
  files.AddWithStamp("", -1);
  files.AddWithStamp("/src/サンプル.qasm", 0x56856B12);
  files.AddWithStamp("/src/late.qasm", static_cast<int32_t>(0x80210000u));
  files.Add("/src/unstamped.qasm");
  TFileNames second;
  second.AddWithStamp("/x/y.qasm", 7);

  TMemoryStream stream;
  files.SaveToStream(stream);
  second.SaveToStream(stream);
  stream.Write("tail");
  stream.Seek(0);

  TFileNames loaded;
  loaded.AddWithStamp("old", 1);
  ASSERT_EQ(loaded.LoadFromStream(stream), 0);
  TFileNames loadedSecond;
  ASSERT_EQ(loadedSecond.LoadFromStream(stream), 0);
  EXPECT_EQ(stream.ReadRest(), "tail");

  EXPECT_EQ(Contents(loaded), Contents(files));
  EXPECT_EQ(Contents(loadedSecond), Contents(second));
  EXPECT_NE(loaded.Record(4), nullptr);  // every loaded entry has its stamp record
}

TEST(FileSetStream, StreamCutShortAnywhereLeavesTheSetUnchanged) {
  TFileNames files;
  files.AddWithStamp("/src/main.qasm", 11);
  files.AddWithStamp("/src/main.qasm", 12);
  files.AddWithStamp("/src/a.qasm", 13);
  TMemoryStream full;
  files.SaveToStream(full);
  const std::string bytes = full.Bytes();

  for (size_t length = 0; length < bytes.size(); ++length) {
    TMemoryStream cut("pre" + bytes.substr(0, length));
    cut.Seek(3);
    TFileNames target;
    target.AddWithStamp("/kept.qasm", 42);
    EXPECT_EQ(target.LoadFromStream(cut), -1) << "length " << length;
    EXPECT_EQ(cut.Position(), 3u) << "length " << length;
    EXPECT_EQ(Contents(target), (std::vector<std::pair<std::string, int32_t>>{{"/kept.qasm", 42}}))
        << "length " << length;
  }
}

TEST(FileSetStream, PlainTextIsNoFileSet) {
  TMemoryStream stream(std::string("/src/main.qasm\r\n/src/a.qasm\r\n"));
  TFileNames target;
  target.AddWithStamp("/kept.qasm", 42);
  EXPECT_EQ(target.LoadFromStream(stream), -1);
  EXPECT_EQ(target.Count(), 1);
  EXPECT_EQ(stream.Position(), 0u);
}

}  // namespace
