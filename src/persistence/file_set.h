// TFileNames, the file set: the files a program was read from, each with
// the time stamp it had when it was read. Entry 0 is the document last
// loaded (a source or a state file), entry 1 the main source, entries 2 and
// on the included files in the order of their first inclusion.
//
// Entries are full paths as the operating system takes them (UTF-8 bytes
// here). The list is not sorted, accepts duplicates and compares names
// without regard to letter case. An entry's TFileInfo record is made when
// its stamp is first set and freed with the entry.
//
// Stamps are packed DOS date-times (see file_stamp.h); -1 means "no such
// file" or "no stamp recorded".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "persistence/file_stamp.h"
#include "persistence/record_string_list.h"

class TMemoryStream;

struct TFileInfo {
  int32_t TimeStamp = kNoTimeStamp;
};

class TFileNames : public TRecordStringList<TFileInfo> {
 public:
  // Stores the stamp of entry i. An index outside the list raises
  // EStringListError and changes nothing.
  void SetTimeStamp(int i, int32_t stamp) { EnsureRecord(i).TimeStamp = stamp; }
  // The stored stamp; -1 when the entry has no record or i is outside the list.
  int32_t TimeStamp(int i) const;

  // The file's stamp on disk now minus the stored one, in time order
  // (StampOrder): positive when the file on disk is newer, negative when it
  // is older or has vanished, 0 when unchanged or i is outside the list. A
  // file without a recorded stamp that exists now gives a positive value.
  int64_t StampDelta(int i) const;

  // The stored / current on-disk stamp as "yyyy/mm/dd hh:nn:ss";
  // kNoStampText for -1 (also for a missing file and for i outside the list).
  std::string StoredTimeText(int i) const;
  std::string DiskTimeText(int i) const;

  // The file name of entry i without its folder, as CP932 text for messages
  // and lists; "" when i is outside the list.
  std::string ShortName(int i) const;

  // Appends path with the file's current stamp; returns its index.
  int AddWithStamp(const std::string& path);
  // Appends path with the given stamp; returns its index.
  int AddWithStamp(const std::string& path, int32_t stamp);

  // Whether some entry equals path without regard to letter case.
  bool Contains(std::string_view path) const { return IndexOf(path) >= 0; }

  // Stream form: the paths as a string-list stream, then each entry's
  // TimeStamp as a little-endian signed 32-bit number, in entry order.
  // These hide the plain list's stream operations, which carry no stamps.
  void SaveToStream(TMemoryStream& stream) const;
  // Reads the stream form from the stream's position and replaces the
  // entries and their stamps; returns 0. A stream that does not begin with
  // the string-list header, or ends inside the text or the stamps, returns
  // -1 and leaves the file set and the stream position as they were.
  int LoadFromStream(TMemoryStream& stream);
};
