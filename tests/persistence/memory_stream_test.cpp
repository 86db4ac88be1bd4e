// The byte buffer every block of the state file passes through: integers
// are little-endian on the byte, a write in the middle overwrites, and a
// read past the end reports failure instead of inventing bytes.
#include "persistence/memory_stream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

TEST(MemoryStream, IntegersAreLittleEndianAndReadBack) {
  TMemoryStream stream;
  stream.WriteU8(0xA5);
  stream.WriteU16(0x1234);
  stream.WriteU32(0x89ABCDEFu);
  stream.WriteI32(-2);
  EXPECT_EQ(stream.Bytes(), std::string("\xA5"
                                        "\x34\x12"
                                        "\xEF\xCD\xAB\x89"
                                        "\xFE\xFF\xFF\xFF",
                                        11));
  stream.Seek(1);
  uint16_t u16 = 0;
  uint32_t u32 = 0;
  int32_t i32 = 0;
  ASSERT_TRUE(stream.ReadU16(u16));
  ASSERT_TRUE(stream.ReadU32(u32));
  ASSERT_TRUE(stream.ReadI32(i32));
  EXPECT_EQ(u16, 0x1234);
  EXPECT_EQ(u32, 0x89ABCDEFu);
  EXPECT_EQ(i32, -2);
  EXPECT_EQ(stream.Remaining(), 0u);
}

TEST(MemoryStream, ReadsPastTheEndFail) {
  struct Case {
    std::string bytes;
    int width;  // 2, 4 or -4 (signed)
  };
  const Case cases[] = {{"", 2}, {"\x01", 2}, {"", 4}, {"\x01\x02\x03", 4}, {"\x01\x02", -4}};
  for (const Case& c : cases) {
    TMemoryStream stream(c.bytes);
    uint16_t u16 = 7;
    uint32_t u32 = 7;
    int32_t i32 = 7;
    const bool ok = c.width == 2   ? stream.ReadU16(u16)
                    : c.width == 4 ? stream.ReadU32(u32)
                                   : stream.ReadI32(i32);
    EXPECT_FALSE(ok) << c.bytes.size() << " bytes, width " << c.width;
    EXPECT_LE(stream.Position(), stream.Size());
  }
}

TEST(MemoryStream, WritesOverwriteInsideAndGrowAtTheEnd) {
  TMemoryStream stream(std::string("abcdef"));
  stream.Seek(2);
  stream.Write("XY");
  EXPECT_EQ(stream.Bytes(), "abXYef");
  EXPECT_EQ(stream.Position(), 4u);
  stream.Seek(5);
  stream.WriteU16(0x3231);  // "12": one byte over the old end
  EXPECT_EQ(stream.Bytes(), "abXYe12");
  // A position past the end is clamped; an empty write changes nothing.
  stream.Seek(100);
  EXPECT_EQ(stream.Position(), 7u);
  stream.Write("", 0);
  EXPECT_EQ(stream.Size(), 7u);
  EXPECT_EQ(stream.ReadRest(), "");
  stream.Seek(3);
  EXPECT_EQ(stream.ReadRest(), "Ye12");
  EXPECT_EQ(stream.Position(), 7u);
  EXPECT_EQ(stream.TakeBytes(), "abXYe12");
  EXPECT_EQ(stream.Position(), 0u);
}

TEST(MemoryStream, ReadCopiesOnlyWhatRemains) {
  TMemoryStream stream(std::string("xyz"));
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 2), 2u);
  EXPECT_EQ(std::string(buffer, 2), "xy");
  EXPECT_EQ(stream.Read(buffer, 8), 1u);
  EXPECT_EQ(buffer[0], 'z');
  EXPECT_EQ(stream.Read(buffer, 8), 0u);
  EXPECT_FALSE(stream.ReadExact(buffer, 1));
}

}  // namespace
