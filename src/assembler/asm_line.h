// The record of one line of the expanded source: what the line assembler
// made of it, and what the listing, the loader and navigation read back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Fields and Words start with this much room and grow by kFieldRoomStep.
inline constexpr size_t kFieldRoomInitial = 3;
inline constexpr size_t kFieldRoomStep = 8;
// The most fields a line can have (FieldCount is 16 bits).
inline constexpr size_t kMaxFieldCount = 0xFFFF;
// The Address of a line that occupies no word.
inline constexpr uint16_t kNoAddress = 0xFFFF;
// The byte that separates the items of a source tag.
inline constexpr char kTagSeparator = '\x1B';

class TAsmLine {
 public:
  TAsmLine();

  // Items of the source tag at the end of Comment, split on first use.
  mutable std::vector<std::string> SourceTag;
  uint16_t Address = 0;
  // The mnemonic plus the operands; 0 for lines without fields and for
  // "name EQU value".
  uint16_t FieldCount = 0;
  // Instruction word and operand words, or the DW values. Same length as
  // Fields.
  std::vector<uint16_t> Words;
  // The fields as written: the mnemonic, then the operands.
  std::vector<std::string> Fields;
  std::string LabelName;
  std::string Mnemonic;
  std::string Comment;
  // 0, or the error code the line ended with (negative, asm_error_codes.h).
  int32_t ErrorCode = 0;
  // The instruction word EncodeLine built (also Words[0]); 0 on a line that
  // holds no instruction or was never encoded.
  uint16_t InstructionWord = 0;
  bool IsDirective = false;
  std::string Scope;
  std::string UndefinedName;
  int32_t LineIndex = 0;
  bool Visible = false;

  // Whether the line ended with an error (ErrorCode is negative).
  bool HasError() const { return ErrorCode < 0; }

  // Number of items in the source tag.
  int TagCount() const;
  // The file index of the tag (for an expanded line, the call's file);
  // -1 when the comment carries no file index.
  int32_t TagFileIndex() const;
  // The line number of the tag (for an expanded line, the call's line);
  // 0 without a tag.
  int32_t TagLineNumber() const;
  // Item i of the tag as a decimal number; 0 when i is out of range or the
  // item is no number.
  int32_t TagItem(int i) const;

  // Forgets the split tag; the next tag reader splits Comment again.
  void ForgetSourceTag();
  // Adds kFieldRoomStep entries to both Fields and Words.
  void GrowFields();

 private:
  void FillSourceTag() const;
  mutable bool sourceTagFilled_ = false;
};

// The nesting depth of the line: the number of "." in Scope (1 at top level).
int ScopeDepth(const TAsmLine& line);

// Operand fields 1 to FieldCount-1 joined with ","; empty below 2 fields.
std::string JoinOperands(const TAsmLine& line);

// The line's comment without its source tag (";/" and everything from the
// first ESC on), trimmed of blanks.
std::string CommentText(const TAsmLine& line);
