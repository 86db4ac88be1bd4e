// The error raised when a text does not read as a number: the string lists'
// numeric stack operations raise it for a non-numeric entry, and the
// assembler's literal reader raises it for a malformed literal. The message
// is CP932 text.
#pragma once

#include <stdexcept>
#include <string>

class EConvertError : public std::runtime_error {
 public:
  explicit EConvertError(const std::string& message) : std::runtime_error(message) {}
};
