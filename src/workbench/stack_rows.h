// The rows of the stack view: the words from SP + 1 up to the stack's start
// (the top of the stack first), each with the label it points into and
// whether it is the address right after a CALL, that is, a return address
// that a CALL pushed. Plain C++: the view reads the rows when it paints.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TQRXAssembler;
class TQRXEmulater;

struct TStackRow {
  uint16_t Address = 0;
  uint16_t Value = 0;
  // "NAME" or "NAME+n" (CP932) for the nearest address label at or below
  // the value; empty when none lies below it.
  std::string Label;
  bool ReturnAddress = false;
};

class TStackRows {
 public:
  // Learns the program's address labels and the addresses that follow its
  // CALL instructions; does nothing when the assembly is the one indexed
  // last.
  void Index(const TQRXAssembler& assembler);

  // The words in use: stack start - SP, none when SP is at or above the
  // stack's start.
  static int Count(const TQRXEmulater& machine);
  // Row i, 0 being the word at SP + 1.
  TStackRow Row(const TQRXEmulater& machine, int i) const;

  std::string LabelFor(uint16_t value) const;
  bool IsReturnAddress(uint16_t value) const;

 private:
  uint64_t indexedAssembly_ = 0;
  // Address labels sorted by address (the first name for an address).
  std::vector<std::pair<uint16_t, std::string>> labels_;
  std::vector<bool> returnAddresses_;
};
