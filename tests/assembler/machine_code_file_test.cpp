// The pseudo machine-code file: which lines give a record, and the exact
// bytes of each record.
#include "assembler/machine_code_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "../persistence/temp_folder.h"
#include "assembler/qrx_assembler.h"
#include "persistence/file_io.h"
#include "persistence/memory_stream.h"

namespace {

// An assembler holding the lines as the expanded source, assembled.
std::unique_ptr<TQRXAssembler> Assembled(const std::vector<std::string>& lines) {
  TCustomStringList list;
  for (const std::string& line : lines)
    list.Add(line);
  TMemoryStream stream;
  list.SaveToStream(stream);
  stream.Seek(0);
  auto assembler = std::make_unique<TQRXAssembler>();
  EXPECT_TRUE(assembler->RestoreLines(stream));
  assembler->Assemble();
  return assembler;
}

// Assembles the lines as the expanded source and returns the file's text.
std::string CodeOf(const std::vector<std::string>& lines) {
  return MachineCodeText(*Assembled(lines));
}

// Address and words of one record, or of one line of the memory image.
struct TWords {
  uint16_t address;
  std::vector<uint16_t> words;
  bool operator==(const TWords&) const = default;
};

void PrintTo(const TWords& w, std::ostream* os) {
  *os << w.address << ":" << testing::PrintToString(w.words);
}

// The records of a machine-code text that hold words, read back.
std::vector<TWords> RecordsWithWords(const std::string& text) {
  std::vector<TWords> records;
  std::istringstream in(text);
  std::string record;
  while (std::getline(in, record)) {
    if (!record.empty() && record.back() == '\r') record.pop_back();
    TWords r{static_cast<uint16_t>(std::stoul(record.substr(1, 4), nullptr, 16)), {}};
    for (size_t k = 9; k + 6 <= record.size(); k += 6)
      r.words.push_back(static_cast<uint16_t>(std::stoul(record.substr(k + 1, 4), nullptr, 16)));
    if (!r.words.empty()) records.push_back(std::move(r));
  }
  return records;
}

std::vector<TWords> ImageOf(const TQRXAssembler& assembler) {
  std::vector<TWords> image;
  for (const TImageLine& line : assembler.MemoryImage())
    image.push_back({line.Address, std::vector<uint16_t>(line.Words.begin(), line.Words.end())});
  return image;
}

TEST(MachineCodeText, RecordsHoldTheAddressAndTheWordsInUpperCaseHex) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"one HALT at 0", {" HALT"}, "00000h:DW,FFF0h\r\n"},
      {"three words at 0x0010", {"10h: LD 2, 100h"}, "00010h:DW,100Ah,0002h,0100h\r\n"},
      {"DW values at 0x0100", {"100h: DW 1, 2, 3"}, "00100h:DW,0001h,0002h,0003h\r\n"},
      {"negative words", {" DW -1, 0ABCDh"}, "00000h:DW,FFFFh,ABCDh\r\n"},
      {"string characters are words", {" DW 'AB',0"}, "00000h:DW,0041h,0042h,0000h\r\n"},
      {"lines in order",
       {"START: LD X, #1", "; a comment", "X: DW 1,2", " HALT"},
       "00000h:DW,1009h,0003h,0001h\r\n00003h:DW,0001h,0002h\r\n00005h:DW,FFF0h\r\n"},
      {"no instructions or data", {"; only a comment", "N EQU 5", "", "L:"}, ""},
      {"directives give no record",
       {"M: UNIT", " USES M", "P: PROC", " RET", " ENDPROC", " ENDUNIT"},
       "00000h:DW,8100h\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CodeOf(c.lines), c.text) << c.what;
}

TEST(MachineCodeText, MacroDefinitionsGiveNoRecordButTheirExpansionsDo) {
  const std::string text = CodeOf({
      "TWO: MACRO %A",
      " DW %A, %A",
      " LD %A, #1",
      " ENDMACRO",
      " TWO 5",
      " HALT",
  });
  EXPECT_EQ(text, "00000h:DW,0005h,0005h\r\n00002h:DW,1009h,0005h,0001h\r\n00005h:DW,FFF0h\r\n");
}

// The file and the memory image follow one rule: every record that holds
// words is the image's line, address and words, in order, and the image
// has no line that the file lacks.
TEST(MachineCodeText, EveryRecordIsTheMemoryImagesWords) {
  const std::vector<std::vector<std::string>> sources = {
      {"START: LD X,#1", "; a comment", "X: DW 1,2,'AB'", " HALT"},
      // A comment that begins like a macro-definition line, in either case.
      {" NOP", ";m\x08X: DW 1,2", ";M\x08 HALT", ";m\x08 LD A,B", " HALT"},
      {"M: MACRO %A", " DW %A,%A", " LD %A,#1", " ENDMACRO", " M 5", " DW", " HALT"},
      {"FOO X,#5", "X: DW 1", "UNIT", " NOP", "P: PROC", " USES Q", " ENDPROC", " ENDPROC"},
      {"10h: NOP", "8: DW 3", "0FFFEh: LD PC,#0", " NOP", "K EQU 4", " PROGRAM K", " DW -1"},
      {" NOP ; E\x08", ";M\x08E\x08 stray", " ENDMACRO", " LD [PC],NOPE", "A-B: DW 5,6"},
  };
  for (const auto& source : sources) {
    const auto assembler = Assembled(source);
    EXPECT_EQ(RecordsWithWords(MachineCodeText(*assembler)), ImageOf(*assembler))
        << testing::PrintToString(source);
  }
}

TEST(MachineCodeText, AMacroDefinitionLineInAnyCaseGivesNoRecord) {
  EXPECT_EQ(CodeOf({" NOP", ";m\x08X: DW 1,2", " HALT"}), "00000h:DW,0000h\r\n00001h:DW,FFF0h\r\n");
}

TEST(MachineCodeText, LinesWithErrorsAreWrittenWithTheWordsTheyHold) {
  // An undefined operand: the line keeps its encoded instruction word.
  const std::string text = CodeOf({" JP NOWHERE", " HALT"});
  EXPECT_EQ(text.substr(0, 10), "00000h:DW,");
  EXPECT_NE(text.find("00002h:DW,FFF0h\r\n"), std::string::npos) << text;
}

TEST(WriteMachineCode, WritesTheFileAndReportsAFolderThatIsMissing) {
  TTempFolder folder;
  ASSERT_TRUE(folder.Ok());
  TCustomStringList list;
  list.Add(" HALT");
  TMemoryStream stream;
  list.SaveToStream(stream);
  stream.Seek(0);
  auto assembler = std::make_unique<TQRXAssembler>();
  ASSERT_TRUE(assembler->RestoreLines(stream));
  assembler->Assemble();

  std::string error;
  ASSERT_TRUE(WriteMachineCode(*assembler, folder.Path("p.qrxg"), error)) << error;
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(folder.Path("p.qrxg"), bytes, error));
  EXPECT_EQ(bytes, "00000h:DW,FFF0h\r\n");

  EXPECT_FALSE(WriteMachineCode(*assembler, folder.Path("none/p.qrxg"), error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
