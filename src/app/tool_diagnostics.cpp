#include "app/tool_diagnostics.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "app/tool_common.h"
#include "assembler/asm_error_codes.h"
#include "assembler/qrx_assembler.h"
#include "persistence/file_set.h"

namespace {

std::string DisplayPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path here = std::filesystem::current_path(error);
  if (error) return path;
  const std::filesystem::path relative = std::filesystem::path(path).lexically_relative(here);
  if (relative.empty() || *relative.begin() == "..") return path;
  return relative.string();
}

// The text of a diagnostic line: UTF-8 with control characters (the ESC of
// a source tag swallowed by an open quote, a TAB) made blanks.
std::string LineText(std::string_view cp932) {
  std::string text = OutputText(cp932);
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return text;
}

std::string DiagnosticLine(const TFileNames& files, int fileIndex, int lineNumber,
                           std::string_view cp932Text) {
  std::string line;
  if (fileIndex >= 0 && fileIndex < files.Count())
    line = DisplayPath(files[fileIndex]) + "(" + std::to_string(lineNumber) + "): ";
  line += LineText(cp932Text);
  line += '\n';
  return line;
}

}  // namespace

std::string ErrorLinesOutput(const TQRXAssembler& assembler, const TFileNames& files) {
  std::string out;
  for (int i = 0; i < assembler.LineCount(); ++i) {
    const TAsmLine& line = assembler.LineAt(i);
    if (!line.HasError()) continue;
    out += DiagnosticLine(files, line.TagFileIndex(), line.TagLineNumber(),
                          AsmErrorMessage(line.ErrorCode, line.UndefinedName, CommentText(line)));
  }
  return out;
}

std::string HintLinesOutput(const std::vector<TAsmHint>& hints, const TFileNames& files) {
  std::string out;
  for (const TAsmHint& hint : hints)
    out += DiagnosticLine(files, hint.FileIndex, hint.LineNumber, hint.Text);
  return out;
}
