// The string-list stream, byte by byte, and the loader's fallbacks.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "persistence/bool_list.h"
#include "persistence/custom_string_list.h"
#include "persistence/memory_stream.h"
#include "persistence/string_list_error.h"

namespace {

using TLines = std::vector<std::string>;

std::string Header(uint32_t n) {
  std::string h(
      "\x07"
      "CSLV100",
      8);
  for (int i = 0; i < 4; ++i)
    h += static_cast<char>((n >> (8 * i)) & 0xFF);
  h += std::string(4, '\0');
  return h;
}

std::string Saved(const TLines& lines) {
  TCustomStringList list;
  for (const auto& s : lines)
    list.Add(s);
  TMemoryStream stream;
  list.SaveToStream(stream);
  return stream.Bytes();
}

TEST(ListStream, WritesTheHeaderThenTheText) {
  EXPECT_EQ(Saved({}), Header(0));
  EXPECT_EQ(Saved({""}), Header(2) + "\r\n");
  EXPECT_EQ(Saved({"AB", "c"}), Header(7) + "AB\r\nc\r\n");
  const std::string big(300, 'x');
  const std::string bytes = Saved({big});
  EXPECT_EQ(bytes.substr(0, 16), Header(302));
  EXPECT_EQ(static_cast<unsigned char>(bytes[9]), 0x01);  // 302 = 0x012E, little-endian
}

TEST(ListStream, RoundTripsIncludingEmptyListsAndEmptyStrings) {
  const TLines cases[] = {{}, {""}, {"", ""}, {"a", "", "b"}, {"x y", "\x83\x41"}};
  for (const auto& lines : cases) {
    TMemoryStream stream(Saved(lines));
    TCustomStringList list;
    list.Add("stale");
    list.LoadFromStream(stream);
    EXPECT_EQ(list.ToVector(), lines);
    EXPECT_EQ(stream.Remaining(), 0u);
  }
}

TEST(ListStream, ListsSavedBackToBackLoadOneAfterTheOther) {
  TCustomStringList first;
  first.Add("one");
  TCustomStringList second;  // empty
  TBoolList third;
  third.SetMember(10, true);
  third.SetMember(9, true);
  TMemoryStream stream;
  stream.Write("LEAD");
  first.SaveToStream(stream);
  second.SaveToStream(stream);
  third.SaveToStream(stream);
  stream.WriteI32(-1);  // data of the last list's owner follows it

  stream.Seek(4);
  TCustomStringList a, b, c;
  a.LoadFromStream(stream);
  b.LoadFromStream(stream);
  c.LoadFromStream(stream);
  EXPECT_EQ(a.ToVector(), (TLines{"one"}));
  EXPECT_EQ(b.ToVector(), TLines{});
  EXPECT_EQ(c.ToVector(), (TLines{"10", "9"}));
  int32_t tail = 0;
  EXPECT_TRUE(stream.ReadI32(tail));
  EXPECT_EQ(tail, -1);
}

struct TPlainCase {
  std::string bytes;
  TLines lines;
};

TEST(ListStream, WithoutTheHeaderTheRestIsPlainText) {
  const TPlainCase cases[] = {
      {"", {}},
      {"NOP\r\nHALT", {"NOP", "HALT"}},  // shorter than a header
      {"a\nb\rc\r\n", {"a", "b", "c"}},
      {"\x07"
       "CSLV",
       {"\x07"
        "CSLV"}},  // a bare prefix of the tag is text
      {"\x07"
       "CSLV101" +
           std::string(8, '\0') + "x",
       {"\x07"
        "CSLV101" +
        std::string(8, '\0') + "x"}},
      {"START: LD X,#1\r\n; a comment\r\nX: DW 1,2\r\nHALT\r\n",
       {"START: LD X,#1", "; a comment", "X: DW 1,2", "HALT"}},
  };
  for (const auto& c : cases) {
    TMemoryStream stream(c.bytes);
    TCustomStringList list;
    list.LoadFromStream(stream);
    EXPECT_EQ(list.ToVector(), c.lines);
    EXPECT_EQ(stream.Remaining(), 0u);
  }
}

TEST(ListStream, PlainTextIsReadFromTheCurrentPosition) {
  TMemoryStream stream(std::string("SKIPa\r\nb"));
  stream.Seek(4);
  TCustomStringList list;
  list.LoadFromStream(stream);
  EXPECT_EQ(list.ToVector(), (TLines{"a", "b"}));
}

TEST(ListStream, AStreamCutShortGivesOnlyTheBytesThatAreThere) {
  const std::string full = Header(12) + "abc\r\ndefg\r\n";
  const struct {
    size_t keep;
    TLines lines;
  } cases[] = {
      {full.size(), {"abc", "defg"}},
      {full.size() - 1, {"abc", "defg"}},  // the CR is there, the LF is not
      {16 + 7, {"abc", "de"}},
      {16, {}},
      {12, {}},  // header cut inside the reserved bytes
      {9, {}},   // header cut inside N
      {8, {}},   // the tag alone
  };
  for (const auto& c : cases) {
    TMemoryStream stream(full.substr(0, c.keep));
    TCustomStringList list;
    list.Add("stale");
    list.LoadFromStream(stream);
    EXPECT_EQ(list.ToVector(), c.lines) << c.keep;
    EXPECT_EQ(stream.Remaining(), 0u);
  }
  // N far beyond the stream (4 GB): no huge allocation, no read past the end.
  TMemoryStream huge(Header(0xFFFFFFFFu) + "x\r\n");
  TCustomStringList list;
  list.LoadFromStream(huge);
  EXPECT_EQ(list.ToVector(), (TLines{"x"}));
}

TEST(ListStream, ARefusedLoadLeavesListAndStreamAsTheyWere) {
  TMemoryStream stream(Header(6) + "a\r\nA\r\n");
  TCustomStringList list(true, TDuplicates::Error);
  list.Add("keep");
  EXPECT_THROW(list.LoadFromStream(stream), EStringListError);
  EXPECT_EQ(list.ToVector(), (TLines{"keep"}));
  EXPECT_EQ(stream.Position(), 0u);
}

TEST(ListStream, ArbitraryBytesNeverCrashTheLoader) {
  std::mt19937 random(4242);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    if (round % 2 == 0) bytes = Header(static_cast<uint32_t>(random()) % 64);
    const int n = static_cast<int>(random() % 48);
    for (int i = 0; i < n; ++i)
      bytes += static_cast<char>(random() % 256);
    TMemoryStream stream(bytes);
    stream.Seek(random() % (bytes.size() + 1));
    TCustomStringList list;
    list.LoadFromStream(stream);
    ASSERT_LE(stream.Position(), bytes.size());
    // Entries read from a text hold no line break, so whatever was read
    // saves and loads back unchanged.
    TMemoryStream again;
    list.SaveToStream(again);
    again.Seek(0);
    TCustomStringList copy;
    copy.LoadFromStream(again);
    ASSERT_EQ(copy.ToVector(), list.ToVector());
  }
}

}  // namespace
