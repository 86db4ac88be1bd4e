// File time stamps as the file set records them: the modification time in
// local time, packed like a DOS directory entry, date in the high 16 bits
// ((year - 1980) << 9 | month << 5 | day) and time in the low 16 bits
// (hour << 11 | minute << 5 | second / 2), so the seconds have a resolution
// of two. -1 stands for a file that does not exist.
//
// The packed form covers 1980-01-01 00:00:00 to 2107-12-31 23:59:58; times
// outside it are clamped to those limits (a file dated 1975 reads as
// 1980-01-01 00:00:00). From 2044 on the date's top bit is set, so the
// stamp as a signed 32-bit number is negative: compare stamps with
// StampOrder, never directly.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

inline constexpr int32_t kNoTimeStamp = -1;
// The text DosStampText gives for a stamp that names no time.
inline constexpr const char* kNoStampText = "----/--/-- --:--:--";

// Packs a broken-down local time (tm_year counts from 1900, tm_mon from 0),
// clamped to the range above.
int32_t PackDosStamp(const std::tm& local);

// The packed local modification time of the file, or kNoTimeStamp when
// there is no such file (a folder counts as no file).
int32_t FileTimeStamp(const std::string& path);

// A number that orders stamps by time: kNoTimeStamp below every real stamp,
// real stamps by their unsigned packed value (date first, then time).
int64_t StampOrder(int32_t stamp);

// The stamp as "yyyy/mm/dd hh:nn:ss" (Japanese short date, long time).
// kNoTimeStamp and packed values that are no valid date and time (a month
// of 0 or 13, an hour of 25 ...) give kNoStampText.
std::string DosStampText(int32_t stamp);
