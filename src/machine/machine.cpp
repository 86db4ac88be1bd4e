#include "machine/machine.h"

#include "machine/port_device.h"

TQRXEmulater::TQRXEmulater() {
  ClearMemory();
  ResetRegisters();
}

void TQRXEmulater::ClearMemory() {
  Memory.fill(0);
  LineMap.fill(0);
}

void TQRXEmulater::ResetRegisters() {
  Memory[PC] = 0;
  Memory[SP] = kStackStart;
  Memory[VF] = 0;
  Memory[SF] = 0;
  Memory[ZF] = 0;
  Memory[CF] = 0;
  CallDepth = 0;
  StepCount = 0;
}

void TQRXEmulater::ResetMachine() {
  ResetRegisters();
  if (device_ != nullptr) device_->ResetScreen();
}

uint16_t TQRXEmulater::OperandValue(int mode, uint16_t w) const {
  switch (mode & 3) {
    case 0:
      return 0xFFFF;
    case 1:
      return w;
    case 2:
      return Memory[w];
    default:
      return Memory[Memory[w]];
  }
}

int32_t TQRXEmulater::OperandAddress(int mode, uint16_t w) const {
  switch (mode & 3) {
    case 0:
    case 1:
      return -1;
    case 2:
      return w;
    default:
      return Memory[w];
  }
}
