// The exceptions the assembler raises while it reads literals and labels.
// A literal that does not read raises EConvertError (shared with the string
// lists) with the message ConvertError().
// The driver catches them per line and turns them into line error codes.
// Every message is CP932, like all text inside the system.
#pragma once

#include <stdexcept>
#include <string>

#include "persistence/convert_error.h"
#include "persistence/encoding.h"

namespace assembler_messages {
inline const std::string& ConvertError() {
  static const std::string text = Sjis("文字列の変換エラー");
  return text;
}
inline const std::string& BadLabelChar() {
  static const std::string text = Sjis("ラベルに使えない文字があります");
  return text;
}
inline const std::string& BadIndirectLabel() {
  static const std::string text = Sjis("[]内で使えないラベル");
  return text;
}
inline const std::string& ValueOnlyWithoutHash() {
  static const std::string text = Sjis("ValueOnlyなのに#から始まってない");
  return text;
}
}  // namespace assembler_messages

// A label key with a character outside the label character set, or a binary
// literal with too many digits (then with the conversion message).
class EInvaridCharsetError : public std::runtime_error {
 public:
  EInvaridCharsetError() : std::runtime_error(assembler_messages::BadLabelChar()) {}
  explicit EInvaridCharsetError(const std::string& message) : std::runtime_error(message) {}
};

// An indirect operand whose inner term may not be used there.
class EInvaridParamTypeError : public std::runtime_error {
 public:
  EInvaridParamTypeError() : std::runtime_error(assembler_messages::BadIndirectLabel()) {}
};

// A value-only constant referenced without "#".
class EValueOnlyError : public std::runtime_error {
 public:
  EValueOnlyError() : std::runtime_error(assembler_messages::ValueOnlyWithoutHash()) {}
};
