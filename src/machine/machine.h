// The QRX machine: 65,536 words of memory whose top six words are the
// registers, the map from addresses to listing lines, the fields in which the
// current instruction is decoded, and the call depth and step count.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class TMemoryStream;
class TPortDevice;

class TQRXEmulater {
 public:
  // Register words.
  static constexpr uint16_t PC = 0xFFFF;
  static constexpr uint16_t SP = 0xFFFE;
  static constexpr uint16_t VF = 0xFFFD;
  static constexpr uint16_t SF = 0xFFFC;
  static constexpr uint16_t ZF = 0xFFFB;
  static constexpr uint16_t CF = 0xFFFA;
  // SP after a reset: the first free stack word.
  static constexpr uint16_t kStackStart = 0xFFEF;
  static constexpr size_t kWords = 0x10000;
  // Size of each of the two blocks of the saved machine state.
  static constexpr size_t kBlockBytes = kWords * 2;

  std::array<uint16_t, kWords> Memory;
  std::array<uint16_t, kWords> LineMap;
  int32_t CallDepth = 0;
  uint64_t StepCount = 0;
  // The instruction last decoded by Step.
  uint16_t InstrAddress = 0;
  uint16_t Opcode = 0;
  uint8_t Modes = 0;
  // Address of operand 1 (-1: none); after Step, the address stored into or -1.
  int32_t Destination = 0;
  uint16_t Value1 = 0;
  uint16_t Value2 = 0;
  uint16_t Result = 0;

  // Memory and line map all zero, registers at their start values.
  TQRXEmulater();

  // The device IN and OUT talk to and whose screen a machine reset clears.
  // nullptr (the default): IN reads 0, OUT and the screen reset do nothing.
  // The machine does not own the device.
  void SetPortDevice(TPortDevice* device) { device_ = device; }
  TPortDevice* PortDevice() const { return device_; }

  // Addresses are taken modulo 0x10000, so -1 is 0xFFFF (PC).
  uint16_t ReadWord(int address) const { return Memory[static_cast<uint16_t>(address)]; }
  void WriteWord(int address, uint16_t word) { Memory[static_cast<uint16_t>(address)] = word; }
  // The listing line of an address (0..65535; 0 where nothing was loaded).
  int LineOf(int address) const { return LineMap[static_cast<uint16_t>(address)]; }
  // Line indices are kept as 16-bit words, so they are taken modulo 0x10000.
  void SetLineOf(int address, int line) {
    LineMap[static_cast<uint16_t>(address)] = static_cast<uint16_t>(line);
  }

  // Every word of Memory and LineMap := 0.
  void ClearMemory();
  // PC, SP, flags, CallDepth and StepCount to their start values; the rest
  // of memory is untouched.
  void ResetRegisters();
  // ResetRegisters, then the device's screen reset.
  void ResetMachine();

  // Value and address of an operand word w in addressing mode 0..3 (none,
  // immediate, direct, indirect); only the low two bits of mode count.
  uint16_t OperandValue(int mode, uint16_t w) const;
  int32_t OperandAddress(int mode, uint16_t w) const;

  // Executes the instruction at PC. Returns -1 after HALT, else 0.
  int Step();

  // The state block: Memory then LineMap, 131,072 bytes each, little-endian.
  void SaveToStream(TMemoryStream& stream) const;
  // Reads the state block. Returns 0, or -1 when the stream holds fewer
  // bytes than the block: then Memory, LineMap and the stream position are
  // left as they were. CallDepth and StepCount are never changed.
  int LoadFromStream(TMemoryStream& stream);

 private:
  TPortDevice* device_ = nullptr;
};
