#include "persistence/file_stamp.h"

#include <sys/stat.h>

#include <cstdio>

namespace {

constexpr int kFirstYear = 1980;
constexpr int kLastYear = kFirstYear + 127;

int32_t Pack(int year, int month, int day, int hour, int minute, int second) {
  const uint32_t date = static_cast<uint32_t>(((year - kFirstYear) << 9) | (month << 5) | day);
  const uint32_t time = static_cast<uint32_t>((hour << 11) | (minute << 5) | (second / 2));
  return static_cast<int32_t>((date << 16) | time);
}

}  // namespace

int32_t PackDosStamp(const std::tm& local) {
  const int year = local.tm_year + 1900;
  if (year < kFirstYear) return Pack(kFirstYear, 1, 1, 0, 0, 0);
  if (year > kLastYear) return Pack(kLastYear, 12, 31, 23, 59, 58);
  // A leap second (tm_sec 60) packs as 58, the last even second.
  const int second = local.tm_sec > 59 ? 59 : local.tm_sec;
  return Pack(year, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, second);
}

int32_t FileTimeStamp(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return kNoTimeStamp;
  std::tm local{};
  const time_t modified = info.st_mtime;
  if (localtime_r(&modified, &local) == nullptr) return kNoTimeStamp;
  return PackDosStamp(local);
}

int64_t StampOrder(int32_t stamp) {
  if (stamp == kNoTimeStamp) return -1;
  return static_cast<int64_t>(static_cast<uint32_t>(stamp));
}

std::string DosStampText(int32_t stamp) {
  if (stamp == kNoTimeStamp) return kNoStampText;
  const uint32_t packed = static_cast<uint32_t>(stamp);
  const int year = kFirstYear + static_cast<int>(packed >> 25);
  const int month = static_cast<int>((packed >> 21) & 0x0F);
  const int day = static_cast<int>((packed >> 16) & 0x1F);
  const int hour = static_cast<int>((packed >> 11) & 0x1F);
  const int minute = static_cast<int>((packed >> 5) & 0x3F);
  const int second = static_cast<int>(packed & 0x1F) * 2;
  if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59)
    return kNoStampText;
  char text[32];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", year, month, day, hour, minute,
                second);
  return text;
}
