// Reading source files into a line list: line breaks, encodings, tags, and
// the expansion of includes with their markers and the file set.
#include "assembler/source_set.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <system_error>
#include <vector>

#include "../persistence/temp_folder.h"
#include "assembler/asm_line.h"
#include "assembler/line_parser.h"
#include "persistence/custom_string_list.h"
#include "persistence/encoding.h"
#include "persistence/file_set.h"
#include "persistence/file_source.h"
#include "persistence/memory_stream.h"

namespace {

using TLines = std::vector<std::string>;

std::string Tag(int fileIndex, int lineNumber) {
  return ";/\x1B" + std::to_string(fileIndex) + "\x1B" + std::to_string(lineNumber);
}

std::string HeadedStream(const std::string& text) {
  TMemoryStream stream;
  stream.Write(
      std::string("\x07"
                  "CSLV100",
                  8));
  stream.WriteU32(static_cast<uint32_t>(text.size()));
  stream.WriteU32(0);
  stream.Write(text);
  return stream.TakeBytes();
}

class SourceFiles : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.Ok()); }

  // Loads name with LoadLines into a list that holds "old" beforehand.
  TSourceReadResult Load(const std::string& name, TLines& lines) {
    TCustomStringList list;
    list.Add("old");
    error_.clear();
    const TSourceReadResult result = LoadLines(folder_.Path(name), list, error_);
    lines = list.ToVector();
    return result;
  }

  // Reads main.qasm with its includes into fresh lists.
  TSourceReadResult Read() {
    files_.Clear();
    lines_.Clear();
    lines_.Add("previous program");
    files_.AddWithStamp(folder_.Path("main.qasm"));
    files_.AddWithStamp(folder_.Path("main.qasm"));
    error_.clear();
    return ReadSourceSet(files_, lines_, error_);
  }

  TLines FileSetPaths() const { return files_.ToVector(); }

  TTempFolder folder_;
  TFileNames files_;
  TCustomStringList lines_;
  std::string error_;
};

// ---------------------------------------------------------------- LoadLines

TEST_F(SourceFiles, LoadLinesSplitsAtEveryKindOfLineBreak) {
  struct Case {
    const char* bytes;
    TLines lines;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\rc\r\n\r\nd", {"a", "b", "c", "", "d"}},
      {"no final break", {"no final break"}},
  };
  for (const Case& c : cases) {
    folder_.Write("f.qasm", c.bytes);
    TLines lines;
    EXPECT_EQ(Load("f.qasm", lines), TSourceReadResult::Complete) << c.bytes;
    EXPECT_EQ(lines, c.lines) << c.bytes;
  }
}

TEST_F(SourceFiles, LoadLinesOfAnEmptyFileLeavesTheListAlone) {
  folder_.Write("empty.qasm", "");
  TLines lines;
  EXPECT_EQ(Load("empty.qasm", lines), TSourceReadResult::Empty);
  EXPECT_EQ(lines, TLines{"old"});
}

TEST_F(SourceFiles, LoadLinesReadsAStringListStreamAsItsLines) {
  folder_.Write("list.qasm", HeadedStream("NOP\r\n; two\r\n") + "ignored after the text");
  TLines lines;
  EXPECT_EQ(Load("list.qasm", lines), TSourceReadResult::Complete);
  EXPECT_EQ(lines, (TLines{"NOP", "; two"}));

  folder_.Write("none.qasm", HeadedStream(""));
  EXPECT_EQ(Load("none.qasm", lines), TSourceReadResult::Complete);
  EXPECT_EQ(lines, TLines{});
}

TEST_F(SourceFiles, LoadLinesConvertsUtf8AndKeepsShiftJis) {
  folder_.Write("utf8.qasm", "MSG: DW 'あ' ; 日本語のコメント\nHALT\n");
  folder_.Write("bom.qasm", "\xEF\xBB\xBF; 漢字\r\nNOP\r\n");
  const std::string sjis =
      Sjis("MSG: DW 'あ' ; 日本語のコメント") + "\r\n" + Sjis("; 表示") + "\r\n";
  folder_.Write("sjis.qasm", sjis);
  folder_.Write("latin.qasm", "; caf\xE9\r\n");  // neither: kept byte for byte
  // Shift-JIS ﾃｽ is valid UTF-8 ("ý") that CP932 lacks: kept byte for byte.
  folder_.Write("kana.qasm", "MSG: DW '\xC3\xBD'\r\n");

  TLines lines;
  EXPECT_EQ(Load("utf8.qasm", lines), TSourceReadResult::Complete);
  EXPECT_EQ(lines, (TLines{Sjis("MSG: DW 'あ' ; 日本語のコメント"), "HALT"}));
  EXPECT_EQ(Load("bom.qasm", lines), TSourceReadResult::Complete);
  EXPECT_EQ(lines, (TLines{Sjis("; 漢字"), "NOP"}));
  EXPECT_EQ(Load("sjis.qasm", lines), TSourceReadResult::Complete);
  EXPECT_EQ(lines, (TLines{Sjis("MSG: DW 'あ' ; 日本語のコメント"), Sjis("; 表示")}));
  EXPECT_EQ(Load("latin.qasm", lines), TSourceReadResult::Complete);
  EXPECT_EQ(lines, TLines{"; caf\xE9"});
  EXPECT_EQ(Load("kana.qasm", lines), TSourceReadResult::Complete);
  EXPECT_EQ(lines, TLines{"MSG: DW '\xC3\xBD'"});
}

TEST_F(SourceFiles, LoadLinesConvertsTheTextOfAUtf8StreamButNotItsHeader) {
  // A text of 0x80C2 bytes: the length field C2 80 00 00 is itself valid
  // UTF-8, so converting the whole file would change the header.
  const std::string first = "; 日本語\r\n";
  std::string text = first;
  while (text.size() + 5 <= 0x80C2)
    text += "NOP\r\n";
  text += std::string(0x80C2 - text.size() - 2, 'X') + "\r\n";
  ASSERT_EQ(text.size(), 0x80C2u);
  folder_.Write("big.qasm", HeadedStream(text));
  TLines lines;
  ASSERT_EQ(Load("big.qasm", lines), TSourceReadResult::Complete);
  ASSERT_GT(lines.size(), 2u);
  EXPECT_EQ(lines.front(), Sjis("; 日本語"));
  EXPECT_EQ(lines[1], "NOP");
  EXPECT_EQ(lines.back().front(), 'X');
}

TEST_F(SourceFiles, LoadLinesReportsFilesThatCannotBeRead) {
  TLines lines;
  EXPECT_EQ(Load("absent.qasm", lines), TSourceReadResult::ReadError);
  EXPECT_EQ(lines, TLines{"old"});
  EXPECT_NE(error_.find("absent.qasm"), std::string::npos) << error_;
  EXPECT_NE(error_.find(Utf8ToCp932(std::generic_category().message(ENOENT))), std::string::npos)
      << error_;

  std::filesystem::create_directory(folder_.Path("folder.qasm"));
  EXPECT_EQ(Load("folder.qasm", lines), TSourceReadResult::ReadError);
  EXPECT_NE(error_.find("folder.qasm"), std::string::npos) << error_;
}

// ---------------------------------------------------------------- TagLines

TEST(LineTags, TagsCountLinesFromOneAndReadBackAsFileAndLine) {
  TCustomStringList list;
  for (const char* line : {"LD A,B ; load", "", "HALT"})
    list.Add(line);
  TagLines(list, 2);
  EXPECT_EQ(list.ToVector(), (TLines{"LD A,B ; load" + Tag(2, 1), Tag(2, 2), "HALT" + Tag(2, 3)}));
  for (int i = 0; i < list.Count(); ++i) {
    TAsmLine line;
    ParseLine(list[i], line);
    EXPECT_EQ(line.TagFileIndex(), 2) << i;
    EXPECT_EQ(line.TagLineNumber(), i + 1) << i;
  }

  TCustomStringList partial;
  for (const char* line : {"kept", "b", "c"})
    partial.Add(line);
  TagLines(partial, 12, 1);
  EXPECT_EQ(partial.ToVector(), (TLines{"kept", "b" + Tag(12, 1), "c" + Tag(12, 2)}));

  TCustomStringList empty;
  TagLines(empty, 1);
  EXPECT_EQ(empty.Count(), 0);
}

// ---------------------------------------------------------------- ReadSourceSet

TEST_F(SourceFiles, NestedIncludesExpandInPlaceWithMarkersAndTags) {
  folder_.Write("main.qasm", "START: NOP\r\nINCLUDE a.qasm\r\nHALT\r\n");
  folder_.Write("a.qasm", "A1\r\n  include \"b.qasm\" ; nested\r\nA3\r\n");
  folder_.Write("b.qasm", "B1\r\nB2\r\n");
  ASSERT_EQ(Read(), TSourceReadResult::Complete) << error_;
  EXPECT_EQ(lines_.ToVector(), (TLines{
                                   "START: NOP" + Tag(1, 1),
                                   "; INCLUDE [a.qasm] ===>",
                                   "A1" + Tag(2, 1),
                                   "; INCLUDE [b.qasm] ===>",
                                   "B1" + Tag(3, 1),
                                   "B2" + Tag(3, 2),
                                   ";<=== END INCLUDE [b.qasm]" + Tag(3, 3),
                                   "A3" + Tag(2, 3),
                                   ";<=== END INCLUDE [a.qasm]" + Tag(2, 4),
                                   "HALT" + Tag(1, 3),
                               }));
  EXPECT_EQ(FileSetPaths(), (TLines{folder_.Path("main.qasm"), folder_.Path("main.qasm"),
                                    folder_.Path("a.qasm"), folder_.Path("b.qasm")}));
  for (int i = 0; i < files_.Count(); ++i) {
    EXPECT_NE(files_.TimeStamp(i), -1) << i;
    EXPECT_EQ(files_.StampDelta(i), 0) << i;
  }
}

TEST_F(SourceFiles, FilesAreNumberedInTheOrderOfFirstInclusion) {
  folder_.Write("main.qasm", "INCLUDE a.qasm\nINCLUDE c.qasm\n");
  folder_.Write("a.qasm", "INCLUDE b.qasm\n");
  folder_.Write("b.qasm", "B\n");
  folder_.Write("c.qasm", "C\n");
  ASSERT_EQ(Read(), TSourceReadResult::Complete) << error_;
  EXPECT_EQ(files_.ShortName(2), "a.qasm");
  EXPECT_EQ(files_.ShortName(3), "b.qasm");
  EXPECT_EQ(files_.ShortName(4), "c.qasm");
  EXPECT_EQ(lines_.ToVector(), (TLines{
                                   "; INCLUDE [a.qasm] ===>",
                                   "; INCLUDE [b.qasm] ===>",
                                   "B" + Tag(3, 1),
                                   ";<=== END INCLUDE [b.qasm]" + Tag(3, 2),
                                   ";<=== END INCLUDE [a.qasm]" + Tag(2, 2),
                                   "; INCLUDE [c.qasm] ===>",
                                   "C" + Tag(4, 1),
                                   ";<=== END INCLUDE [c.qasm]" + Tag(4, 2),
                               }));
}

TEST_F(SourceFiles, IncludesAreRelativeToTheMainSourceEvenFromASubfolder) {
  folder_.Write("main.qasm", "INCLUDE lib\\io.qasm\n");
  folder_.Write("lib/io.qasm", "INCLUDE common.qasm\n");
  folder_.Write("common.qasm", "COMMON\n");
  folder_.Write("lib/common.qasm", "WRONG ONE\n");
  ASSERT_EQ(Read(), TSourceReadResult::Complete) << error_;
  EXPECT_EQ(files_[2], folder_.Path("lib/io.qasm"));
  EXPECT_EQ(files_[3], folder_.Path("common.qasm"));
  EXPECT_EQ(lines_[2], "COMMON" + Tag(3, 1));
}

TEST_F(SourceFiles, AnEmptyIncludedFileGivesOnlyItsMarkers) {
  folder_.Write("main.qasm", "NOP\nINCLUDE \"empty.qasm\"\nHALT");
  folder_.Write("empty.qasm", "");
  ASSERT_EQ(Read(), TSourceReadResult::Complete) << error_;
  EXPECT_EQ(lines_.ToVector(),
            (TLines{"NOP" + Tag(1, 1), "; INCLUDE [empty.qasm] ===>",
                    ";<=== END INCLUDE [empty.qasm]" + Tag(2, 1), "HALT" + Tag(1, 3)}));
}

TEST_F(SourceFiles, SourcesWithoutAFinalLineBreakKeepTheirLastLine) {
  folder_.Write("main.qasm", "INCLUDE a.qasm\r\nLAST");
  folder_.Write("a.qasm", "A1\r\nA2");
  ASSERT_EQ(Read(), TSourceReadResult::Complete) << error_;
  EXPECT_EQ(lines_.ToVector(),
            (TLines{"; INCLUDE [a.qasm] ===>", "A1" + Tag(2, 1), "A2" + Tag(2, 2),
                    ";<=== END INCLUDE [a.qasm]" + Tag(2, 3), "LAST" + Tag(1, 2)}));
}

TEST_F(SourceFiles, Utf8AndShiftJisSourcesMeetAsCp932) {
  folder_.Write("main.qasm", "; 主プログラム\nINCLUDE 文字.qasm\nMSG: DW 'テスト'\n");
  folder_.Write("文字.qasm", Sjis("; 表示ソフト\r\nTXT: DW '表'\r\n"));
  ASSERT_EQ(Read(), TSourceReadResult::Complete) << error_;
  EXPECT_EQ(files_[2], folder_.Path("文字.qasm"));
  EXPECT_EQ(files_.ShortName(2), Sjis("文字.qasm"));
  EXPECT_EQ(lines_.ToVector(), (TLines{
                                   Sjis("; 主プログラム") + Tag(1, 1),
                                   Sjis("; INCLUDE [文字.qasm] ===>"),
                                   Sjis("; 表示ソフト") + Tag(2, 1),
                                   Sjis("TXT: DW '表'") + Tag(2, 2),
                                   Sjis(";<=== END INCLUDE [文字.qasm]") + Tag(2, 3),
                                   Sjis("MSG: DW 'テスト'") + Tag(1, 3),
                               }));
}

TEST_F(SourceFiles, IncludingAFileTwiceStopsWithTheDuplicateLast) {
  struct Case {
    const char* what;
    std::string main;
    std::string a;
    std::string duplicate;
    std::string shortName;
  };
  const Case cases[] = {
      {"file includes itself", "INCLUDE a.qasm\n", "A\nINCLUDE a.qasm\n", "a.qasm", "a.qasm"},
      {"file includes the main source", "INCLUDE a.qasm\n", "INCLUDE main.qasm\n", "main.qasm",
       "main.qasm"},
      {"main includes itself", "INCLUDE main.qasm\n", "", "main.qasm", "main.qasm"},
      {"same file in other letter case", "INCLUDE a.qasm\nINCLUDE A.QASM\n", "A\n", "A.QASM",
       "A.QASM"},
      {"same file spelt another way", "INCLUDE a.qasm\nINCLUDE ./a.qasm\n", "A\n", "./a.qasm",
       "a.qasm"},
      {"same file through a link", "INCLUDE a.qasm\nINCLUDE link.qasm\n", "A\n", "link.qasm",
       "link.qasm"},
  };
  std::filesystem::create_symlink(folder_.Path("a.qasm"), folder_.Path("link.qasm"));
  for (const Case& c : cases) {
    folder_.Write("main.qasm", c.main);
    folder_.Write("a.qasm", c.a);
    EXPECT_EQ(Read(), TSourceReadResult::IncludedTwice) << c.what;
    EXPECT_EQ(files_[files_.Count() - 1], folder_.Path(c.duplicate)) << c.what;
    EXPECT_EQ(files_.ShortName(files_.Count() - 1), c.shortName) << c.what;
  }
}

TEST_F(SourceFiles, ADuplicateKeepsTheLinesExpandedSoFar) {
  folder_.Write("main.qasm", "INCLUDE a.qasm\nINCLUDE b.qasm\nHALT\n");
  folder_.Write("a.qasm", "A\nINCLUDE b.qasm\n");
  folder_.Write("b.qasm", "B\n");
  ASSERT_EQ(Read(), TSourceReadResult::IncludedTwice);
  EXPECT_EQ(FileSetPaths(),
            (TLines{folder_.Path("main.qasm"), folder_.Path("main.qasm"), folder_.Path("a.qasm"),
                    folder_.Path("b.qasm"), folder_.Path("b.qasm")}));
  EXPECT_EQ(files_.TimeStamp(4), FileTimeStamp(folder_.Path("b.qasm")));
  EXPECT_EQ(lines_.ToVector(), (TLines{
                                   "; INCLUDE [a.qasm] ===>",
                                   "A" + Tag(2, 1),
                                   "; INCLUDE [b.qasm] ===>",
                                   "B" + Tag(3, 1),
                                   ";<=== END INCLUDE [b.qasm]" + Tag(3, 2),
                                   ";<=== END INCLUDE [a.qasm]" + Tag(2, 3),
                                   "INCLUDE b.qasm" + Tag(1, 2),
                                   "HALT" + Tag(1, 3),
                               }));
}

TEST_F(SourceFiles, AnIncludedFileThatCannotBeReadIsReportedByName) {
  struct Case {
    const char* what;
    std::string include;
    std::string path;
  };
  std::filesystem::create_directory(folder_.Path("sub"));
  const Case cases[] = {
      {"missing file", "INCLUDE missing.qasm", folder_.Path("missing.qasm")},
      {"a folder", "INCLUDE sub", folder_.Path("sub")},
      {"no name at all", "INCLUDE", folder_.Path("")},
      {"an empty quoted name", "INCLUDE \"\"", folder_.Path("\"\"")},
      {"a label that holds the letters", "INCLUDED: NOP", "D: NOP"},
  };
  for (const Case& c : cases) {
    folder_.Write("main.qasm", "NOP\n" + c.include + "\nHALT\n");
    EXPECT_EQ(Read(), TSourceReadResult::ReadError) << c.what;
    EXPECT_NE(error_.find(c.path), std::string::npos) << c.what << ": " << error_;
    EXPECT_EQ(files_[files_.Count() - 1], c.path) << c.what;
    EXPECT_EQ(files_.TimeStamp(files_.Count() - 1), -1) << c.what;
    // The include line stays as it was.
    EXPECT_EQ(lines_.ToVector(),
              (TLines{"NOP" + Tag(1, 1), c.include + Tag(1, 2), "HALT" + Tag(1, 3)}))
        << c.what;
  }
  folder_.Write("main.qasm", "INCLUDE missing.qasm\n");
  ASSERT_EQ(Read(), TSourceReadResult::ReadError);
  EXPECT_NE(error_.find(Utf8ToCp932(std::generic_category().message(ENOENT))), std::string::npos)
      << error_;
}

// A learner may include anything by name: a device that never ends or a
// pipe that never delivers must be refused, not read until the program
// hangs or runs out of memory.
TEST_F(SourceFiles, DevicesAndPipesAreRefusedAsIncludes) {
  ASSERT_EQ(mkfifo(folder_.Path("pipe.inc").c_str(), 0600), 0);
  for (const std::string& include : {std::string("/dev/zero"), std::string("pipe.inc")}) {
    folder_.Write("main.qasm", "NOP\nINCLUDE " + include + "\nHALT\n");
    EXPECT_EQ(Read(), TSourceReadResult::ReadError) << include;
    EXPECT_NE(error_.find(include), std::string::npos) << error_;
    EXPECT_EQ(lines_.Count(), 3) << include;
  }
}

TEST_F(SourceFiles, AnEmptyOrMissingMainSourceReadsNothing) {
  folder_.Write("main.qasm", "");
  EXPECT_EQ(Read(), TSourceReadResult::Empty);
  EXPECT_EQ(lines_.ToVector(), TLines{"previous program"});
  EXPECT_EQ(files_.Count(), 2);

  std::filesystem::remove(folder_.Path("main.qasm"));
  EXPECT_EQ(Read(), TSourceReadResult::ReadError);
  EXPECT_NE(error_.find("main.qasm"), std::string::npos) << error_;
  EXPECT_EQ(lines_.ToVector(), TLines{"previous program"});

  TFileNames tooFew;
  tooFew.Add(folder_.Path("main.qasm"));
  TCustomStringList lines;
  EXPECT_EQ(ReadSourceSet(tooFew, lines, error_), TSourceReadResult::ReadError);
  EXPECT_FALSE(error_.empty());
}

TEST_F(SourceFiles, ALargeSetWithManyIncludesExpandsCompletely) {
  constexpr int kFiles = 200;
  constexpr int kLinesPerFile = 120;
  std::string main;
  std::string body;
  for (int line = 1; line <= kLinesPerFile; ++line)
    body += "NOP ; line " + std::to_string(line) + "\n";
  for (int f = 0; f < kFiles; ++f) {
    main += "INCLUDE part" + std::to_string(f) + ".qasm\nHALT\n";
    folder_.Write("part" + std::to_string(f) + ".qasm",
                  f % 2 ? body : body + "INCLUDE deep" + std::to_string(f) + ".qasm\n");
    if (f % 2 == 0) folder_.Write("deep" + std::to_string(f) + ".qasm", "DEEP\n");
  }
  folder_.Write("main.qasm", main);
  ASSERT_EQ(Read(), TSourceReadResult::Complete) << error_;
  const int expected = 2 * kFiles + kFiles * (kLinesPerFile + 1) + (kFiles / 2) * 3;
  ASSERT_EQ(lines_.Count(), expected);
  EXPECT_EQ(files_.Count(), 2 + kFiles + kFiles / 2);
  // The last part: odd, so without a nested include.
  const int last = kFiles + 1 + kFiles / 2;
  EXPECT_EQ(files_.ShortName(last), "part" + std::to_string(kFiles - 1) + ".qasm");
  EXPECT_EQ(lines_[expected - 2], ";<=== END INCLUDE [part" + std::to_string(kFiles - 1) +
                                      ".qasm]" + Tag(last, kLinesPerFile + 1));
  EXPECT_EQ(lines_[expected - 1], "HALT" + Tag(1, 2 * kFiles));
}

// ---------------------------------------------------------------- file sources

// A program held in memory reads through the file-source seam exactly as
// from the disk: includes, stamps from the source, a missing include named,
// and another spelling of a path included already counted as a duplicate.
TEST(SourceSetInMemory, ReadsTheFilesTheSourceHolds) {
  TMemoryFiles source;
  source.Put("/m/main.qasm", "NOP\nINCLUDE a.inc\nINCLUDE lib\\c.inc\n", 10);
  source.Put("/m/a.inc", "A\r\n", 12);
  source.Put("/m/lib/c.inc", "C\n", 14);
  TFileNames files;
  files.AddWithStamp("/m/main.qasm", 10);
  files.AddWithStamp("/m/main.qasm", 10);
  TCustomStringList lines;
  std::string error;
  ASSERT_EQ(ReadSourceSet(files, lines, error, source), TSourceReadResult::Complete) << error;
  EXPECT_EQ(lines.ToVector(),
            (TLines{"NOP" + Tag(1, 1), "; INCLUDE [a.inc] ===>", "A" + Tag(2, 1),
                    ";<=== END INCLUDE [a.inc]" + Tag(2, 2), "; INCLUDE [c.inc] ===>",
                    "C" + Tag(3, 1), ";<=== END INCLUDE [c.inc]" + Tag(3, 2)}));
  EXPECT_EQ(files.ToVector(), (TLines{"/m/main.qasm", "/m/main.qasm", "/m/a.inc", "/m/lib/c.inc"}));
  EXPECT_EQ(files.TimeStamp(2), 12);
  EXPECT_EQ(files.TimeStamp(3), 14);

  source.Put("/m/main.qasm", "INCLUDE a.inc\nINCLUDE gone.inc\n");
  files.Clear();
  files.AddWithStamp("/m/main.qasm", 10);
  files.AddWithStamp("/m/main.qasm", 10);
  EXPECT_EQ(ReadSourceSet(files, lines, error, source), TSourceReadResult::ReadError);
  EXPECT_NE(error.find("/m/gone.inc"), std::string::npos) << error;
  EXPECT_EQ(files.TimeStamp(files.Count() - 1), kNoTimeStamp);

  source.Put("/m/main.qasm", "INCLUDE a.inc\nINCLUDE A.INC\n");
  files.Clear();
  files.AddWithStamp("/m/main.qasm", 10);
  files.AddWithStamp("/m/main.qasm", 10);
  EXPECT_EQ(ReadSourceSet(files, lines, error, source), TSourceReadResult::IncludedTwice);
  EXPECT_EQ(files[files.Count() - 1], "/m/A.INC");
}

}  // namespace
