#include "assembler/include_line.h"

#include "assembler/line_parser.h"
#include "assembler/sjis_scan.h"
#include "persistence/custom_string_list.h"
#include "persistence/path_text.h"

namespace {

constexpr std::string_view kInclude = "INCLUDE";
constexpr char kQuote = '"';

char UpperAsciiChar(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The position of the first INCLUDE (any case) that starts at a character
// boundary, or npos.
size_t FindIncludeWord(std::string_view code) {
  size_t i = 0;
  while (i + kInclude.size() <= code.size()) {
    bool match = true;
    for (size_t k = 0; k < kInclude.size() && match; ++k)
      match = UpperAsciiChar(code[i + k]) == kInclude[k];
    if (match) return i;
    i += CharLengthAt(code, i);
  }
  return std::string_view::npos;
}

// The text inside leading double quotes, "" standing for one; empty when
// the quotes hold nothing.
std::string QuotedContent(std::string_view text) {
  std::string content;
  size_t i = 1;
  while (i < text.size()) {
    if (text[i] == kQuote) {
      if (i + 1 < text.size() && text[i + 1] == kQuote) {
        content += kQuote;
        i += 2;
        continue;
      }
      break;
    }
    const size_t length = CharLengthAt(text, i);
    content.append(text.substr(i, length));
    i += length;
  }
  return content;
}

}  // namespace

bool ParseIncludeLine(std::string_view line, std::string& name) {
  const std::string_view code = line.substr(0, line.find(';'));
  const size_t at = FindIncludeWord(code);
  if (at == std::string_view::npos) return false;
  const std::string_view rest = TrimControls(code.substr(at + kInclude.size()));
  if (!rest.empty() && rest.front() == kQuote) {
    std::string content = QuotedContent(rest);
    if (!content.empty()) {
      name = std::move(content);
      return true;
    }
  }
  name = std::string(rest);
  return true;
}

int FindIncludeLine(const TCustomStringList& lines, int startIndex, std::string& name) {
  for (int i = startIndex < 0 ? 0 : startIndex; i < lines.Count(); ++i) {
    if (ParseIncludeLine(lines[i], name)) return i;
  }
  return -1;
}

std::string ResolveIncludeName(const std::string& mainPath, std::string_view name) {
  std::string slashed;
  slashed.reserve(name.size());
  size_t i = 0;
  while (i < name.size()) {
    const size_t length = CharLengthAt(name, i);
    if (length == 1 && name[i] == '\\')
      slashed += '/';
    else
      slashed.append(name.substr(i, length));
    i += length;
  }
  const std::string path = Cp932ToPath(slashed);
  if (path.find(':') != std::string::npos || (!path.empty() && path.front() == '/')) return path;
  return PathFolderPart(mainPath) + path;
}

std::string IncludeStartMarker(std::string_view fileName) {
  return "; INCLUDE [" + std::string(fileName) + "] ===>";
}

std::string IncludeEndMarker(std::string_view fileName) {
  return ";<=== END INCLUDE [" + std::string(fileName) + "]";
}
