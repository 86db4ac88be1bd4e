#include "session/json_tree.h"

#include <cstddef>
#include <iterator>
#include <nlohmann/json.hpp>

#include "persistence/encoding.h"

namespace {

using TJson = nlohmann::json;
using TKind = TJsonValue::TKind;

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Line and column of offsets that never go down, each found by walking on
// from the previous one.
class TPositionCursor {
 public:
  explicit TPositionCursor(std::string_view text) : text_(text) {}

  TJsonPosition At(size_t offset) {
    offset = std::min(offset, text_.size());
    if (offset < offset_) *this = TPositionCursor(text_);
    for (; offset_ < offset; ++offset_) {
      const char c = text_[offset_];
      if (c == '\n') {
        ++position_.Line;
        position_.Column = 1;
      } else if (!IsContinuationByte(c)) {
        ++position_.Column;
      }
    }
    return position_;
  }

 private:
  std::string_view text_;
  size_t offset_ = 0;
  TJsonPosition position_;
};

// A character iterator that publishes how far the parser has read, so that
// each SAX event can find where its token stands.
class TCountingIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  TCountingIterator(const char* at, const char** progress) : at_(at), progress_(progress) {}
  reference operator*() const { return *at_; }
  TCountingIterator& operator++() {
    *progress_ = ++at_;
    return *this;
  }
  TCountingIterator operator++(int) {
    TCountingIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const TCountingIterator& other) const { return at_ == other.at_; }
  bool operator!=(const TCountingIterator& other) const { return at_ != other.at_; }

 private:
  const char* at_;
  const char** progress_;
};

bool IsNumberCharacter(char c) {
  return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

// The library's message without its "[json.exception...] parse error at
// line L, column C: " prefix (the place is given separately).
std::string ParseErrorDetail(const std::string& what) {
  const size_t column = what.find("column ");
  if (column == std::string::npos) return what;
  const size_t colon = what.find(": ", column);
  return colon == std::string::npos ? what : what.substr(colon + 2);
}

// Builds the tree from the SAX events. The parser has read exactly to the
// end of the token of each event, except that a number costs it one
// character more (which it then keeps for the next token).
class TTreeBuilder : public nlohmann::json_sax<TJson> {
 public:
  TTreeBuilder(std::string_view text, TJsonValue& root, TJsonError& error)
      : text_(text), progress_(text.data()), cursor_(text), root_(root), error_(error) {}

  const char** Progress() { return &progress_; }

  bool null() override { return Add(TKind::Null, Read() - 4) != nullptr; }
  bool boolean(bool value) override {
    TJsonValue* v = Add(TKind::Boolean, Read() - (value ? 4 : 5));
    v->Boolean = value;
    return true;
  }
  bool number_integer(number_integer_t value) override {
    TJsonValue* v = Add(TKind::Number, NumberStart());
    v->IsInteger = true;
    v->Integer = value;
    return true;
  }
  bool number_unsigned(number_unsigned_t value) override {
    TJsonValue* v = Add(TKind::Number, NumberStart());
    v->IsInteger = value <= static_cast<uint64_t>(INT64_MAX);
    v->Integer = v->IsInteger ? static_cast<int64_t>(value) : 0;
    return true;
  }
  bool number_float(number_float_t, const string_t&) override {
    return Add(TKind::Number, NumberStart()) != nullptr;
  }
  bool string(string_t& value) override {
    Add(TKind::String, StringStart())->Text = std::move(value);
    return true;
  }
  bool binary(binary_t&) override { return false; }  // never sent for JSON text
  bool start_object(std::size_t) override { return Open(TKind::Object); }
  bool key(string_t& value) override {
    stack_.back()->Members.push_back({std::move(value), cursor_.At(StringStart()), {}});
    return true;
  }
  bool end_object() override { return Close(); }
  bool start_array(std::size_t) override { return Open(TKind::Array); }
  bool end_array() override { return Close(); }
  bool parse_error(std::size_t position, const std::string&,
                   const nlohmann::detail::exception& failure) override {
    // position counts the characters read, the one at fault included.
    error_.Position = PositionOf(text_, position > 0 ? position - 1 : 0);
    error_.Message = Sjis("JSON の書き方が正しくありません: ") + ParseErrorDetail(failure.what());
    return false;
  }

 private:
  size_t Read() const { return static_cast<size_t>(progress_ - text_.data()); }

  size_t NumberStart() const {
    size_t end = Read();
    if (end > 0 && !IsNumberCharacter(text_[end - 1])) --end;
    while (end > 0 && IsNumberCharacter(text_[end - 1]))
      --end;
    return end;
  }

  // Back from the closing quote to the opening one: the first quote before
  // it that an odd run of backslashes does not escape.
  size_t StringStart() const {
    size_t at = Read() - 1;
    while (at > 0) {
      --at;
      if (text_[at] != '"') continue;
      size_t backslashes = 0;
      while (backslashes < at && text_[at - 1 - backslashes] == '\\')
        ++backslashes;
      if (backslashes % 2 == 0) return at;
    }
    return 0;
  }

  TJsonValue* Add(TKind kind, size_t offset) {
    TJsonValue* slot = &root_;
    if (!stack_.empty()) {
      TJsonValue& parent = *stack_.back();
      slot =
          parent.Kind == TKind::Array ? &parent.Items.emplace_back() : &parent.Members.back().Value;
    }
    slot->Kind = kind;
    slot->Position = cursor_.At(offset);
    return slot;
  }

  bool Open(TKind kind) {
    const size_t offset = Read() - 1;
    if (static_cast<int>(stack_.size()) >= kMaxJsonDepth) {
      error_.Position = PositionOf(text_, offset);
      error_.Message =
          Sjis("入れ子が深すぎます (") + std::to_string(kMaxJsonDepth) + Sjis(" 段まで)");
      return false;
    }
    stack_.push_back(Add(kind, offset));
    return true;
  }

  bool Close() {
    stack_.pop_back();
    return true;
  }

  std::string_view text_;
  const char* progress_;
  TPositionCursor cursor_;
  TJsonValue& root_;
  TJsonError& error_;
  // The open objects and arrays, innermost last. A parent's vector does not
  // grow while a child is open, so the pointers stay valid.
  std::vector<TJsonValue*> stack_;
};

}  // namespace

TJsonPosition PositionOf(std::string_view text, size_t offset) {
  return TPositionCursor(text).At(offset);
}

bool ReadJsonTree(std::string_view text, TJsonValue& root, TJsonError& error) {
  root = TJsonValue();
  TTreeBuilder builder(text, root, error);
  const TCountingIterator first(text.data(), builder.Progress());
  const TCountingIterator last(text.data() + text.size(), builder.Progress());
  return TJson::sax_parse(first, last, &builder, TJson::input_format_t::json, true, true);
}

std::string JsonKindName(TJsonValue::TKind kind) {
  switch (kind) {
    case TKind::Null:
      return "null";
    case TKind::Boolean:
      return Sjis("真偽値");
    case TKind::Number:
      return Sjis("数値");
    case TKind::String:
      return Sjis("文字列");
    case TKind::Array:
      return Sjis("配列");
    case TKind::Object:
      return Sjis("オブジェクト");
  }
  return {};
}
