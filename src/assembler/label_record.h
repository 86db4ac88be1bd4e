// The record the label table keeps for every label, and the kind bits that
// the label view shows and filters by.
#pragma once

#include <cstdint>

struct TKwValues {
  // A word address, or the constant of an EQU; read as 16 bits.
  int16_t Value = 0;
  // Marked by the user in the label view; carried across re-assembly by key.
  bool Selected = false;
  // Index of the defining line in the expanded source (0 for the registers).
  int32_t DefLine = 0;
  // Defined as "#NAME EQU value": referenced only as an immediate, with "#".
  bool ValueOnly = false;
};

// Kind bits of a label (TKwList::LabelKinds). The label view's filter mask
// uses the same positions; kindOnlySelected and kindLocal occur only there.
inline constexpr uint16_t kindOnlySelected = 0x001;
inline constexpr uint16_t kindVariable = 0x002;
inline constexpr uint16_t kindLineLabel = 0x004;
inline constexpr uint16_t kindPointer = 0x010;
inline constexpr uint16_t kindLocal = 0x020;
inline constexpr uint16_t kindImmediate = 0x040;
inline constexpr uint16_t kindSelected = 0x080;
inline constexpr uint16_t kindAuto = 0x100;
