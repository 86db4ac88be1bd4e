// Replacing the assembler's lines: from a state-file stream and from the
// source files; and the line records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../persistence/temp_folder.h"
#include "assembler/qrx_assembler.h"
#include "assembler/source_set.h"
#include "assembler_support.h"
#include "persistence/file_set.h"
#include "persistence/memory_stream.h"
#include "persistence/string_list_error.h"

namespace {

using assembler_test::AssembleSource;

std::string ListStream(const std::vector<std::string>& lines) {
  TCustomStringList list;
  for (const std::string& line : lines)
    list.Add(line);
  TMemoryStream stream;
  list.SaveToStream(stream);
  return stream.Bytes();
}

TEST(AssemblerRestoreLines, ReplacesTheLinesAndDropsTheRecords) {
  TQRXAssembler assembler;
  AssembleSource(assembler, {"NOP", "HALT"});
  TMemoryStream stream("XY" + ListStream({"LD PC,#0", "; c", "HALT"}) + "after");
  stream.Seek(2);
  EXPECT_TRUE(assembler.RestoreLines(stream));
  EXPECT_EQ(assembler.Lines().ToVector(), (std::vector<std::string>{"LD PC,#0", "; c", "HALT"}));
  EXPECT_FALSE(assembler.HasRecord(0));
  EXPECT_TRUE(assembler.Listing().Empty());
  EXPECT_EQ(stream.ReadRest(), "after");  // the next block follows
  ASSERT_EQ(assembler.Assemble().Tally, 0);
  EXPECT_EQ(assembler.LineAt(2).Address, 3);
}

TEST(AssemblerRestoreLines, DamagedStreamsChangeNothing) {
  const std::string whole = ListStream({"LD PC,#0", "HALT"});
  const std::vector<std::string> damaged = {"", "plain text\r\n", whole.substr(0, 10),
                                            whole.substr(0, whole.size() - 3)};
  for (const std::string& bytes : damaged) {
    TQRXAssembler assembler;
    AssembleSource(assembler, {"NOP", "HALT"});
    const TAsmLine* record = &assembler.LineAt(1);
    TMemoryStream stream(bytes);
    EXPECT_FALSE(assembler.RestoreLines(stream)) << bytes.size();
    EXPECT_EQ(stream.Position(), 0u);
    EXPECT_EQ(assembler.LineCount(), 2);
    EXPECT_EQ(&assembler.LineAt(1), record);
    ASSERT_EQ(assembler.Listing().Count(), 2);
    EXPECT_EQ(assembler.Listing().Ref(1), record);
  }
}

class AssemblerReadSourceSet : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.Ok()); }
  TSourceReadResult Read(const std::string& main) {
    files_.Clear();
    files_.AddWithStamp(main);
    files_.AddWithStamp(main);
    std::string error;
    return assembler_.ReadSourceSet(files_, error);
  }

  TTempFolder folder_;
  TFileNames files_;
  TQRXAssembler assembler_;
};

TEST_F(AssemblerReadSourceSet, ReadsTheSourceWithItsIncludes) {
  folder_.Write("lib.qasm", "ONE: DW 1\n");
  const std::string main = folder_.Write("main.qasm", "LD ONE,#2\nINCLUDE lib.qasm\nHALT\n");
  AssembleSource(assembler_, {"NOP"});
  ASSERT_EQ(Read(main), TSourceReadResult::Complete);
  EXPECT_TRUE(assembler_.Listing().Empty());
  // LD, the start marker in place of the INCLUDE, ONE, the end marker, HALT.
  EXPECT_EQ(assembler_.LineCount(), 5);
  ASSERT_EQ(assembler_.Assemble().Tally, 0);
  EXPECT_EQ(assembler_.LineAt(0).Words[1], 3);
  EXPECT_EQ(assembler_.LineAt(2).TagFileIndex(), 2);
  EXPECT_EQ(assembler_.LineAt(4).TagFileIndex(), 1);
  EXPECT_EQ(files_.Count(), 3);
}

TEST_F(AssemblerReadSourceSet, AFailedReadKeepsTheAssembledProgram) {
  const std::string self = folder_.Path("self.qasm");
  folder_.Write("self.qasm", "NOP\nINCLUDE self.qasm\n");
  const std::string missing = folder_.Write("missing.qasm", "INCLUDE nowhere.qasm\n");
  const std::string empty = folder_.Write("empty.qasm", "");
  AssembleSource(assembler_, {"NOP", "HALT", "X: DW 1"});
  const std::vector<std::string> before = assembler_.Lines().ToVector();
  const TAsmLine* record = &assembler_.LineAt(2);

  EXPECT_EQ(Read(self), TSourceReadResult::IncludedTwice);
  EXPECT_EQ(Read(missing), TSourceReadResult::ReadError);
  EXPECT_EQ(Read(empty), TSourceReadResult::Empty);
  EXPECT_EQ(assembler_.Lines().ToVector(), before);
  EXPECT_EQ(&assembler_.LineAt(2), record);
  ASSERT_EQ(assembler_.Listing().Count(), 3);
  EXPECT_EQ(assembler_.Listing().Ref(2), record);
  EXPECT_EQ(assembler_.Listing().Ref(2)->Words[0], 1);
}

TEST(AssemblerLineAt, LinesWithoutRecordsAndTheErrorCount) {
  TQRXAssembler assembler;
  assembler_test::SetSource(assembler, {"NOP", "FOO", "BAR"});
  const TQRXAssembler& view = assembler;
  EXPECT_EQ(view.LineAt(1).ErrorCode, 0);
  EXPECT_EQ(view.LineAt(1).InstructionWord, 0);
  EXPECT_EQ(view.LineAt(1).LineIndex, 0);  // the shared empty record
  EXPECT_FALSE(assembler.HasRecord(1));
  EXPECT_EQ(assembler.ErrorLineCount(), 0);
  EXPECT_EQ(assembler.LineAt(2).LineIndex, 2);  // made on access
  EXPECT_TRUE(assembler.HasRecord(2));
  EXPECT_THROW(assembler.LineAt(3), EStringListError);
  const TAssemblyResult result = assembler.Assemble();
  EXPECT_GT(result.Tally, 0);
  EXPECT_FALSE(result.Clean());
  EXPECT_EQ(assembler.ErrorLineCount(), 2);
  EXPECT_EQ(result.ErrorLines, 2);
}

}  // namespace
