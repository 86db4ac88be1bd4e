// The text forms of TCustomStringList: line text, comma text and the
// name=value helpers. None of the bytes these forms look for (CR, LF, ",",
// "\"", "=", blanks and control characters) can be the second byte of a
// Shift-JIS double-byte character, so plain byte scans never split one.
#include <string>
#include <vector>

#include "persistence/custom_string_list.h"

namespace {

// Outside quotes, every byte up to the space is a blank that separates items.
bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}

bool NeedsQuotes(const std::string& item) {
  if (item.empty()) return true;
  for (const char c : item) {
    const auto b = static_cast<unsigned char>(c);
    if (b <= 0x20 || b == 0x7F || c == '"' || c == ',') return true;
  }
  return false;
}

// Reads a quoted item starting at the opening quote at text[i]; leaves i
// after the closing quote, or at the end when the quote is never closed.
std::string ReadQuoted(std::string_view text, size_t& i) {
  std::string item;
  ++i;
  while (i < text.size()) {
    if (text[i] == '"') {
      if (i + 1 < text.size() && text[i + 1] == '"') {
        item += '"';
        i += 2;
        continue;
      }
      ++i;
      return item;
    }
    item += text[i++];
  }
  return item;
}

}  // namespace

std::string TCustomStringList::Text() const {
  size_t length = 0;
  store_.ForEach([&](const TStringEntry& e) {
    length += e.text.size() + 2;
    return true;
  });
  std::string text;
  text.reserve(length);
  store_.ForEach([&](const TStringEntry& e) {
    text += e.text;
    text += "\r\n";
    return true;
  });
  return text;
}

void TCustomStringList::SetText(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    ++i;
    start = i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  AssignFromStrings(std::move(lines));
}

std::string TCustomStringList::CommaText() const {
  std::string text;
  bool first = true;
  store_.ForEach([&](const TStringEntry& e) {
    if (!first) text += ',';
    first = false;
    if (!NeedsQuotes(e.text)) {
      text += e.text;
      return true;
    }
    text += '"';
    for (const char c : e.text) {
      if (c == '"') text += '"';
      text += c;
    }
    text += '"';
    return true;
  });
  return text;
}

void TCustomStringList::SetCommaText(std::string_view text) {
  std::vector<std::string> items;
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i]))
    ++i;
  while (i < text.size()) {
    if (text[i] == '"') {
      items.push_back(ReadQuoted(text, i));
    } else {
      const size_t start = i;
      while (i < text.size() && !IsBlank(text[i]) && text[i] != ',')
        ++i;
      items.emplace_back(text.substr(start, i - start));
    }
    while (i < text.size() && IsBlank(text[i]))
      ++i;
    if (i < text.size() && text[i] == ',') {
      ++i;
      if (i == text.size()) items.emplace_back();  // a trailing comma ends with an empty item
      while (i < text.size() && IsBlank(text[i]))
        ++i;
    }
  }
  AssignFromStrings(std::move(items));
}

std::string TCustomStringList::Name(int index) const {
  const std::string& s = Strings(index);
  const size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TCustomStringList::ValueOf(int index) const {
  const std::string& s = Strings(index);
  const size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

int TCustomStringList::IndexOfName(std::string_view name) const {
  int index = 0;
  int found = -1;
  store_.ForEach([&](const TStringEntry& e) {
    const size_t eq = e.text.find('=');
    if (eq != std::string::npos &&
        CompareStrings(std::string_view(e.text).substr(0, eq), name) == 0) {
      found = index;
      return false;
    }
    ++index;
    return true;
  });
  return found;
}

std::string TCustomStringList::ValueOfName(std::string_view name) const {
  const int index = IndexOfName(name);
  return index < 0 ? std::string() : ValueOf(index);
}
