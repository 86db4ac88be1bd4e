#include "session/input_log_file.h"

#include <algorithm>
#include <vector>

#include "persistence/encoding.h"
#include "persistence/file_io.h"
#include "persistence/int_text.h"

namespace {

constexpr std::string_view kMagic = "QRX-INPUT-LOG";
constexpr std::string_view kVersion = "1";
constexpr std::string_view kLineBreak = "\r\n";

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t pos = 0;
  while (pos < line.size()) {
    const size_t start = line.find_first_not_of(" \t", pos);
    if (start == std::string_view::npos) break;
    const size_t end = std::min(line.find_first_of(" \t", start), line.size());
    fields.push_back(line.substr(start, end - start));
    pos = end;
  }
  return fields;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// Decimal, or hexadecimal after "0x"; no sign, no overflow.
bool ParseNumber(std::string_view text, uint64_t& value) {
  uint64_t base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return false;
  uint64_t n = 0;
  for (char c : text) {
    const uint64_t digit = static_cast<uint64_t>(DigitValue(c));
    if (digit >= base || n > (UINT64_MAX - digit) / base) return false;
    n = n * base + digit;
  }
  value = n;
  return true;
}

std::string_view WithoutComment(std::string_view line) {
  return line.substr(0, std::min(line.find('#'), line.size()));
}

std::string NotALogMessage() {
  return Sjis("入力ログファイルではありません");
}

std::string CutShortMessage() {
  return Sjis("入力ログファイルが途中で切れています (最後の end 行がありません)");
}

// Reads the lines after the header into a log, checking each as it comes.
class TLogLineReader {
 public:
  // Empty when the line is sound; otherwise the reason, CP932.
  std::string Read(std::string_view line) {
    const std::vector<std::string_view> fields = Fields(WithoutComment(line));
    if (fields.empty()) return {};
    if (ended_) return Sjis("end 行の後に行があります");
    if (fields[0] == "in" && fields.size() == 4) return ReadInput(fields);
    if (fields[0] == "set" && fields.size() == 4) return ReadEdit(fields);
    if (fields[0] == "end" && fields.size() <= 2) return ReadEnd(fields);
    if (fields[0] == "memory" && fields.size() == 2) return ReadMemory(fields[1]);
    return Sjis("書式が正しくありません (in, set, memory, end のどれでもありません)");
  }

  bool Ended() const { return ended_; }
  TInputLogFile& Result() { return result_; }

 private:
  std::string ReadInput(const std::vector<std::string_view>& fields) {
    uint64_t step = 0, port = 0, value = 0;
    if (!ParseNumber(fields[1], step) || !ParseNumber(fields[2], port) ||
        !ParseNumber(fields[3], value))
      return Sjis("数値が正しくありません");
    if (port > 0xFFFF || !IsInputPort(static_cast<uint16_t>(port)))
      return Sjis("ポート ") + std::string(fields[2]) +
             Sjis(" は外から値の来る入力ポートではありません");
    if (value > 0xFFFF) return Sjis("値が 0～65535 の範囲にありません");
    if (!result_.Log.Inputs().empty() && step < result_.Log.Inputs().back().Step)
      return Sjis("ステップが前の in 行より小さくなっています");
    result_.Log.AppendInput({step, static_cast<uint16_t>(port), static_cast<uint16_t>(value)});
    return {};
  }

  std::string ReadEdit(const std::vector<std::string_view>& fields) {
    uint64_t step = 0, address = 0, value = 0;
    if (!ParseNumber(fields[1], step) || !ParseNumber(fields[2], address) ||
        !ParseNumber(fields[3], value))
      return Sjis("数値が正しくありません");
    if (address > 0xFFFF || value > 0xFFFF)
      return Sjis("アドレスか値が 0～65535 の範囲にありません");
    if (!result_.Log.Edits().empty() && step < result_.Log.Edits().back().Step)
      return Sjis("ステップが前の set 行より小さくなっています");
    result_.Log.AppendEdit({step, static_cast<uint16_t>(address), static_cast<uint16_t>(value)});
    return {};
  }

  std::string ReadEnd(const std::vector<std::string_view>& fields) {
    ended_ = true;
    if (fields.size() == 1) return {};
    uint64_t end = 0;
    if (!ParseNumber(fields[1], end)) return Sjis("数値が正しくありません");
    const TInputLog& log = result_.Log;
    if ((!log.Inputs().empty() && log.Inputs().back().Step >= end) ||
        (!log.Edits().empty() && log.Edits().back().Step > end))
      return Sjis("end のステップ数より後の行があります");
    result_.EndStep = end;
    return {};
  }

  std::string ReadMemory(std::string_view field) {
    uint64_t hash = 0;
    if (!ParseNumber(field, hash) || hash > 0xFFFFFFFF) return Sjis("数値が正しくありません");
    if (result_.StartMemory) return Sjis("memory 行が2つあります");
    result_.StartMemory = static_cast<uint32_t>(hash);
    return {};
  }

  TInputLogFile result_;
  bool ended_ = false;
};

std::string LineMessage(int lineNumber, const std::string& reason) {
  return Sjis("入力ログファイルの ") + std::to_string(lineNumber) + Sjis(" 行目: ") + reason;
}

std::string Hex32(uint32_t value) {
  return "0x" + HexText(value, 8);
}

}  // namespace

uint32_t MemoryHash(std::span<const uint16_t> words) {
  uint32_t hash = 2166136261u;
  for (uint16_t word : words) {
    for (uint8_t byte : {static_cast<uint8_t>(word & 0xFF), static_cast<uint8_t>(word >> 8)}) {
      hash ^= byte;
      hash *= 16777619u;
    }
  }
  return hash;
}

std::string InputLogText(const TInputLog& log, std::optional<uint64_t> endStep,
                         std::optional<uint32_t> startMemory) {
  std::string text;
  const auto line = [&text](std::string_view body) {
    text += body;
    text += kLineBreak;
  };
  line(std::string(kMagic) + " " + std::string(kVersion));
  line("# in STEP PORT VALUE: from instruction STEP on, IN from PORT reads VALUE");
  line("# set STEP ADDRESS VALUE: VALUE was written to ADDRESS after STEP instructions");
  line("# end STEPS: the run covered STEPS instructions");
  line("# memory HASH: the memory at the start, so that a replay finds the same program");
  if (startMemory) line("memory " + Hex32(*startMemory));
  const std::vector<TInputEvent>& inputs = log.Inputs();
  const std::vector<TUserEdit>& edits = log.Edits();
  size_t i = 0, e = 0;
  while (i < inputs.size() || e < edits.size()) {
    // An edit stamped s was made before instruction s ran.
    if (e < edits.size() && (i == inputs.size() || edits[e].Step <= inputs[i].Step)) {
      const TUserEdit& edit = edits[e++];
      line("set " + std::to_string(edit.Step) + " " + std::to_string(edit.Address) + " " +
           std::to_string(edit.Value));
    } else {
      const TInputEvent& event = inputs[i++];
      line("in " + std::to_string(event.Step) + " " + std::to_string(event.Port) + " " +
           std::to_string(event.Value));
    }
  }
  line(endStep ? "end " + std::to_string(*endStep) : std::string("end"));
  return text;
}

bool ReadInputLogText(std::string_view text, TInputLogFile& out, std::string& error) {
  size_t pos = text.find('\n');
  std::string_view header = text.substr(0, pos);
  if (!header.empty() && header.back() == '\r') header.remove_suffix(1);
  const std::vector<std::string_view> headerFields = Fields(header);
  if (headerFields.empty() || headerFields[0] != kMagic || headerFields.size() != 2) {
    error = NotALogMessage();
    return false;
  }
  if (headerFields[1] != kVersion) {
    error = Sjis("入力ログファイルの版 ") + std::string(headerFields[1]) +
            Sjis(" には対応していません (版 1 のみ読めます)");
    return false;
  }

  TLogLineReader reader;
  int lineNumber = 1;
  while (pos != std::string_view::npos && pos + 1 < text.size()) {
    const size_t start = pos + 1;
    pos = text.find('\n', start);
    ++lineNumber;
    if (pos == std::string_view::npos) {
      error = CutShortMessage();
      return false;
    }
    std::string_view line = text.substr(start, pos - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string reason = reader.Read(line);
    if (!reason.empty()) {
      error = LineMessage(lineNumber, reason);
      return false;
    }
  }
  if (!reader.Ended()) {
    error = CutShortMessage();
    return false;
  }
  out = std::move(reader.Result());
  return true;
}

bool SaveInputLogFile(const std::string& path, const TInputLog& log,
                      std::optional<uint64_t> endStep, std::optional<uint32_t> startMemory,
                      std::string& error) {
  return WriteFileAtomically(path, InputLogText(log, endStep, startMemory), error);
}

bool LoadInputLogFile(const std::string& path, TInputLogFile& out, std::string& error) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, error)) return false;
  return ReadInputLogText(bytes, out, error);
}
