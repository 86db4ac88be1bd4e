// Recognising include lines, reading their file names and resolving them.
#include "assembler/include_line.h"

#include <gtest/gtest.h>

#include <string>

#include "persistence/custom_string_list.h"
#include "persistence/encoding.h"

namespace {

TEST(IncludeLine, RecognisesIncludeLinesAndTheirNames) {
  struct Case {
    std::string line;
    bool isInclude;
    std::string name;
  };
  const Case cases[] = {
      {"INCLUDE a.qasm", true, "a.qasm"},
      {"  include   b.qasm  ", true, "b.qasm"},
      {"\tInClUdE\tc.qasm\t", true, "c.qasm"},
      {"INCLUDE sub\\d.qasm", true, "sub\\d.qasm"},
      {"INCLUDED:", true, "D:"},     // the letters count inside a label
      {"XINCLUDEY z", true, "Y z"},  // and inside any word
      {"INCLUDE", true, ""},
      {"INCLUDE a.qasm ; the library", true, "a.qasm"},
      {"INCLUDE a.qasm;/\x1B"
       "1\x1B"
       "7",
       true, "a.qasm"},  // tagged
      {"INCLUDE \"my file.qasm\"", true, "my file.qasm"},
      {"INCLUDE \"say \"\"hi\"\".qasm\"", true, "say \"hi\".qasm"},
      {"INCLUDE \"x.qasm\" junk", true, "x.qasm"},
      {"INCLUDE \"open.qasm", true, "open.qasm"},
      {"INCLUDE \"\"", true, "\"\""},       // empty quoted name: text as it was
      {"INCLUDE \"a;b.qasm\"", true, "a"},  // every ";" ends the code part
      {"LD A,B", false, ""},
      {"INCLUD E x", false, ""},
      {"; INCLUDE a.qasm", false, ""},
      {"LD A,B ; INCLUDE a.qasm", false, ""},
      {"; INCLUDE [a.qasm] ===>", false, ""},
      {";<=== END INCLUDE [a.qasm];/\x1B"
       "2\x1B"
       "4",
       false, ""},
      {"", false, ""},
  };
  for (const Case& c : cases) {
    std::string name = "untouched";
    EXPECT_EQ(ParseIncludeLine(c.line, name), c.isInclude) << c.line;
    EXPECT_EQ(name, c.isInclude ? c.name : "untouched") << c.line;
  }
}

TEST(IncludeLine, DoubleByteCharactersAreNeverCutOrMatched) {
  std::string name;
  // "オ" is 83 49: its second byte reads as "I", but INCLUDE does not start
  // inside a character.
  EXPECT_FALSE(ParseIncludeLine(Sjis("オ") + "NCLUDE x.qasm", name));
  EXPECT_TRUE(ParseIncludeLine(Sjis("オ") + "INCLUDE x.qasm", name));
  EXPECT_EQ(name, "x.qasm");
  // "表" is 95 5C and "ソ" 83 5C: their second byte is a backslash.
  ASSERT_TRUE(ParseIncludeLine("INCLUDE \"" + Sjis("表ソ.qasm") + "\"", name));
  EXPECT_EQ(name, Sjis("表ソ.qasm"));
  ASSERT_TRUE(ParseIncludeLine("INCLUDE " + Sjis("日本語.qasm") + Sjis(" ；全角"), name));
  EXPECT_EQ(name, Sjis("日本語.qasm") + Sjis(" ；全角"));
}

TEST(IncludeLine, FindStartsAtTheGivenLine) {
  TCustomStringList lines;
  for (const char* line : {"NOP", "INCLUDE a.qasm", "; INCLUDE x", "include b.qasm", "HALT"})
    lines.Add(line);
  std::string name;
  EXPECT_EQ(FindIncludeLine(lines, 0, name), 1);
  EXPECT_EQ(name, "a.qasm");
  EXPECT_EQ(FindIncludeLine(lines, 1, name), 1);
  EXPECT_EQ(FindIncludeLine(lines, 2, name), 3);
  EXPECT_EQ(name, "b.qasm");
  name = "kept";
  EXPECT_EQ(FindIncludeLine(lines, 4, name), -1);
  EXPECT_EQ(FindIncludeLine(lines, 99, name), -1);
  EXPECT_EQ(name, "kept");
  EXPECT_EQ(FindIncludeLine(lines, -3, name), 1);
  TCustomStringList empty;
  EXPECT_EQ(FindIncludeLine(empty, 0, name), -1);
}

TEST(IncludeLine, NamesResolveAgainstTheMainSourceFolder) {
  struct Case {
    std::string mainPath;
    std::string name;
    std::string path;
  };
  const Case cases[] = {
      {"/src/prog/main.qasm", "a.qasm", "/src/prog/a.qasm"},
      {"/src/prog/main.qasm", "sub/b.qasm", "/src/prog/sub/b.qasm"},
      {"/src/prog/main.qasm", "sub\\b.qasm", "/src/prog/sub/b.qasm"},
      {"/src/prog/main.qasm", "..\\lib\\c.qasm", "/src/prog/../lib/c.qasm"},
      {"/src/prog/main.qasm", "/abs/c.qasm", "/abs/c.qasm"},
      {"/src/prog/main.qasm", "\\abs\\d.qasm", "/abs/d.qasm"},
      {"/src/prog/main.qasm", "C:x.qasm", "C:x.qasm"},
      {"/src/prog/main.qasm", "C:\\dir\\x.qasm", "C:/dir/x.qasm"},
      {"main.qasm", "a.qasm", "a.qasm"},  // main source without folder
      {"/main.qasm", "a.qasm", "/a.qasm"},
      {"/src/prog/main.qasm", "", "/src/prog/"},
      // CP932 names become paths for the system; the second byte 5C of 表
      // and ソ stays part of the character.
      {"/src/QRXソースファイル/main.qasm", Sjis("表\\ソ.qasm"),
       "/src/QRXソースファイル/表/ソ.qasm"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ResolveIncludeName(c.mainPath, c.name), c.path) << c.mainPath << " + " << c.name;
}

TEST(IncludeLine, MarkerTexts) {
  EXPECT_EQ(IncludeStartMarker("a.qasm"), "; INCLUDE [a.qasm] ===>");
  EXPECT_EQ(IncludeEndMarker("a.qasm"), ";<=== END INCLUDE [a.qasm]");
}

}  // namespace
