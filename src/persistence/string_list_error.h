// The error that the string lists raise: a duplicate in a list that refuses
// duplicates, an index outside the list, or an operation that would break a
// sorted list's order. The message is CP932 text, ready for the message line.
#pragma once

#include <stdexcept>
#include <string>

class EStringListError : public std::runtime_error {
 public:
  explicit EStringListError(const std::string& message) : std::runtime_error(message) {}
};
