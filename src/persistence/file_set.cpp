#include "persistence/file_set.h"

#include <vector>

#include "persistence/list_stream_header.h"
#include "persistence/memory_stream.h"
#include "persistence/path_text.h"

int32_t TFileNames::TimeStamp(int i) const {
  if (i < 0 || i >= Count()) return kNoTimeStamp;
  const TFileInfo* info = Record(i);
  return info ? info->TimeStamp : kNoTimeStamp;
}

int64_t TFileNames::StampDelta(int i) const {
  if (i < 0 || i >= Count()) return 0;
  return StampOrder(FileTimeStamp(Strings(i))) - StampOrder(TimeStamp(i));
}

std::string TFileNames::StoredTimeText(int i) const {
  return DosStampText(TimeStamp(i));
}

std::string TFileNames::DiskTimeText(int i) const {
  if (i < 0 || i >= Count()) return kNoStampText;
  return DosStampText(FileTimeStamp(Strings(i)));
}

std::string TFileNames::ShortName(int i) const {
  if (i < 0 || i >= Count()) return {};
  return PathToCp932(PathNamePart(Strings(i)));
}

int TFileNames::AddWithStamp(const std::string& path) {
  return AddWithStamp(path, FileTimeStamp(path));
}

int TFileNames::AddWithStamp(const std::string& path, int32_t stamp) {
  auto info = std::make_unique<TFileInfo>();
  info->TimeStamp = stamp;
  return AddWithRecord(path, std::move(info));
}

void TFileNames::SaveToStream(TMemoryStream& stream) const {
  TCustomStringList::SaveToStream(stream);
  for (int i = 0; i < Count(); ++i)
    stream.WriteI32(TimeStamp(i));
}

int TFileNames::LoadFromStream(TMemoryStream& stream) {
  const size_t start = stream.Position();
  if (!CompleteListAt(stream.Bytes(), stream.Position())) return -1;
  // Read into a scratch list first: the file set changes only when the
  // paths and all their stamps are there.
  TCustomStringList paths;
  paths.LoadFromStream(stream);
  std::vector<int32_t> stamps(static_cast<size_t>(paths.Count()));
  for (int32_t& stamp : stamps) {
    if (!stream.ReadI32(stamp)) {
      stream.Seek(start);
      return -1;
    }
  }
  Clear();
  for (int i = 0; i < paths.Count(); ++i)
    AddWithStamp(paths[i], stamps[static_cast<size_t>(i)]);
  return 0;
}
