// Packed DOS time stamps of files: packing, local time, clamping, order and text.
#include "persistence/file_stamp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "temp_folder.h"
#include "time_zone_guard.h"

namespace {

std::tm Local(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

// 2023-04-05 04:24:36 UTC.
constexpr time_t kSpringMorningUtc = 1680668676;

TEST(DosStampPacking, KnownTimesPackToTheirBits) {
  struct Case {
    std::tm time;
    uint32_t packed;
  };
  const Case cases[] = {
      {Local(2023, 4, 5, 13, 24, 36), 0x56856B12u},
      {Local(2023, 4, 5, 13, 24, 37), 0x56856B12u},  // odd second rounds down
      {Local(1980, 1, 1, 0, 0, 0), 0x00210000u},     // first packable moment
      {Local(1979, 12, 31, 23, 59, 59), 0x00210000u},
      {Local(1970, 1, 1, 0, 0, 0), 0x00210000u},
      {Local(2043, 12, 31, 23, 59, 58), 0x7F9FBF7Du},
      {Local(2044, 1, 1, 0, 0, 0), 0x80210000u},  // top bit set from here on
      {Local(2107, 12, 31, 23, 59, 58), 0xFF9FBF7Du},
      {Local(2150, 6, 1, 12, 0, 0), 0xFF9FBF7Du},  // later years clamp
  };
  for (const Case& c : cases) {
    EXPECT_EQ(static_cast<uint32_t>(PackDosStamp(c.time)), c.packed)
        << (c.time.tm_year + 1900) << "-" << (c.time.tm_mon + 1) << "-" << c.time.tm_mday;
  }
}

TEST(DosStampPacking, FileStampIsTheModificationTimeInLocalTime) {
  TTempFolder folder;
  ASSERT_TRUE(folder.Ok());
  const std::string path = folder.Write("a.qasm", "NOP\r\n");
  ASSERT_TRUE(TTempFolder::SetModified(path, kSpringMorningUtc));
  struct Zone {
    const char* tz;
    uint32_t packed;
  };
  for (const Zone& zone : {Zone{"JST-9", 0x56856B12u}, Zone{"UTC0", 0x56852312u},
                           Zone{"EST5", 0x5684BB12u}}) {  // the evening before
    TTimeZoneGuard guard(zone.tz);
    EXPECT_EQ(static_cast<uint32_t>(FileTimeStamp(path)), zone.packed) << zone.tz;
  }
}

TEST(DosStampPacking, MissingFileAndFolderHaveNoStamp) {
  TTempFolder folder;
  ASSERT_TRUE(folder.Ok());
  EXPECT_EQ(FileTimeStamp(folder.Path("absent.qasm")), kNoTimeStamp);
  EXPECT_EQ(FileTimeStamp(folder.Folder()), kNoTimeStamp);
  EXPECT_EQ(FileTimeStamp(""), kNoTimeStamp);
}

TEST(DosStampOrder, OrdersByTimeAcrossTheSignBitAndPutsNoStampFirst) {
  const std::vector<int32_t> ascending = {
      kNoTimeStamp,
      PackDosStamp(Local(1980, 1, 1, 0, 0, 0)),
      PackDosStamp(Local(2023, 4, 5, 13, 24, 36)),
      PackDosStamp(Local(2023, 4, 5, 13, 24, 38)),
      PackDosStamp(Local(2043, 12, 31, 23, 59, 58)),
      PackDosStamp(Local(2044, 1, 1, 0, 0, 0)),
      PackDosStamp(Local(2107, 12, 31, 23, 59, 58)),
  };
  ASSERT_LT(ascending[5], 0);  // the packed value itself goes negative
  for (size_t i = 1; i < ascending.size(); ++i)
    EXPECT_LT(StampOrder(ascending[i - 1]), StampOrder(ascending[i])) << i;
}

TEST(DosStampText, ShowsDateAndTimeOrThePlaceholder) {
  struct Case {
    uint32_t packed;
    const char* text;
  };
  const Case cases[] = {
      {0x56856B12u, "2023/04/05 13:24:36"}, {0x00210000u, "1980/01/01 00:00:00"},
      {0x80210000u, "2044/01/01 00:00:00"}, {0xFF9FBF7Du, "2107/12/31 23:59:58"},
      {0xFFFFFFFFu, kNoStampText},  // no stamp
      {0x00010000u, kNoStampText},  // month 0
      {0x01A10000u, kNoStampText},  // month 13
      {0x0021C000u, kNoStampText},  // hour 24
  };
  for (const Case& c : cases)
    EXPECT_EQ(DosStampText(static_cast<int32_t>(c.packed)), c.text) << std::hex << c.packed;
}

}  // namespace
