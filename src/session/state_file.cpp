#include "session/state_file.h"

#include <algorithm>

#include "assembler/literals.h"
#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "monitor/monitor_state_block.h"
#include "persistence/convert_error.h"
#include "persistence/file_io.h"
#include "persistence/list_stream_header.h"
#include "persistence/memory_stream.h"

namespace {

constexpr std::string_view kHeaderText = "QRXBIN V110";
constexpr std::string_view kMagic = "QRXBIN";
constexpr size_t kMachineBlockSize = 2 * TQRXEmulater::kBlockBytes;

// Reads one complete headed list into list; false (list untouched) when the
// list is missing or cut short.
bool ReadCompleteList(TMemoryStream& stream, TCustomStringList& list) {
  if (!CompleteListFollows(stream)) return false;
  list.LoadFromStream(stream);
  return true;
}

// Takes the next count bytes as they are; false when fewer remain.
bool TakeBlock(std::string_view& bytes, size_t count, std::string& block) {
  if (bytes.size() < count) return false;
  block.assign(bytes.substr(0, count));
  bytes.remove_prefix(count);
  return true;
}

}  // namespace

std::string StateHeader() {
  std::string header(kStateHeaderSize, '\0');
  header[0] = static_cast<char>(kHeaderText.size());
  header.replace(1, kHeaderText.size(), kHeaderText);
  return header;
}

bool IsStateHeader(std::string_view firstBytes, int& version) {
  if (firstBytes.empty()) return false;
  // A length-prefixed text in a 16-byte field: at most 15 characters, and
  // never more than the file holds.
  size_t length = static_cast<unsigned char>(firstBytes[0]);
  length = std::min({length, kStateHeaderSize - 1, firstBytes.size() - 1});
  const std::string_view text = firstBytes.substr(1, length);
  if (text.substr(0, kMagic.size()) != kMagic) return false;
  const std::string_view digits = text.size() > 8 ? text.substr(8, 3) : std::string_view{};
  int32_t number = 0;
  try {
    number = IntegerValue(digits);
  } catch (const EConvertError&) {
    return false;
  }
  if (number <= 0) return false;
  version = number;
  return true;
}

std::string StateFileBytes(const TStateSource& source) {
  TMemoryStream stream;
  stream.Write(StateHeader());
  source.machine.SaveToStream(stream);
  source.monitor.SaveToStream(stream);
  WriteStateLists(stream, source);
  return stream.TakeBytes();
}

void WriteStateLists(TMemoryStream& stream, const TStateSource& source) {
  source.breakpoints.SaveToStream(stream);
  source.files.SaveToStream(stream);
  source.selectedLabels.SaveToStream(stream);
  source.visibleUnits.SaveToStream(stream);
  source.lines.SaveToStream(stream);
}

bool WriteStateFile(const std::string& path, const TStateSource& source, std::string& error) {
  std::string bytes;
  try {
    bytes = StateFileBytes(source);
  } catch (const std::exception& e) {
    // A list too large for its 32-bit length field.
    error = e.what();
    return false;
  }
  return WriteFileAtomically(path, bytes, error);
}

TLoadResult ReadStateSections(std::string_view fileBytes, TStateSections& out) {
  if (!IsStateHeader(fileBytes.substr(0, kStateHeaderSize), out.version) ||
      out.version != kStateFileVersion)
    return TLoadResult::OtherStateVersion;
  // From here on the file says it is ours: whatever is wrong is damage.
  if (fileBytes.size() < kStateHeaderSize) return TLoadResult::DamagedStateFile;
  std::string_view rest = fileBytes.substr(kStateHeaderSize);
  if (!TakeBlock(rest, kMachineBlockSize, out.machineBlock)) return TLoadResult::DamagedStateFile;
  if (!TakeBlock(rest, kMonitorBlockSize, out.monitorBlock)) return TLoadResult::DamagedStateFile;
  // Only the lists behind the blocks are read through a stream.
  TMemoryStream stream{std::string(rest)};
  return ReadStateLists(stream, out);
}

TLoadResult ReadStateLists(TMemoryStream& stream, TStateSections& out) {
  if (!ReadCompleteList(stream, out.breakpoints)) return TLoadResult::DamagedStateFile;
  if (out.files.LoadFromStream(stream) != 0) return TLoadResult::DamagedStateFile;
  // Entries 0 and 1 (current file, main source) always exist.
  if (out.files.Count() < 2) return TLoadResult::DamagedStateFile;
  if (!ReadCompleteList(stream, out.selectedLabels)) return TLoadResult::DamagedStateFile;
  if (!ReadCompleteList(stream, out.visibleUnits)) return TLoadResult::DamagedStateFile;
  // The lines are kept as their stream; the assembler reads them when the
  // sections are applied.
  uint32_t lineTextLength = 0;
  if (!CompleteListFollows(stream)) return TLoadResult::DamagedStateFile;
  ReadListStreamHeader(stream.Bytes(), stream.Position(), lineTextLength);
  out.lineBlock.assign(stream.Bytes(), stream.Position(), kListStreamHeaderSize + lineTextLength);
  return TLoadResult::Clean;
}
