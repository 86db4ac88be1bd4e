// The error codes a line can carry in its ErrorCode, and their listing texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr int32_t kErrBadMnemonic = -1;       // neither instruction nor directive
inline constexpr int32_t kErrFieldCount = -2;        // wrong number of fields; DW without values
inline constexpr int32_t kErrUndefined = -3;         // operand has no value (see UndefinedName)
inline constexpr int32_t kErrBadNumber = -4;         // numeric label or EQU value is no literal
inline constexpr int32_t kErrBadParameter = -5;      // mode not allowed; bad indirect term
inline constexpr int32_t kErrBadLocation = -7;       // numeric label below the location counter
inline constexpr int32_t kErrDuplicateLabel = -8;    // label key already defined
inline constexpr int32_t kErrBadLabelChar = -9;      // illegal label character; binary too long
inline constexpr int32_t kErrMissingHash = -10;      // value-only constant used without "#"
inline constexpr int32_t kErrBlockMismatch = -20;    // PROC/ENDPROC/UNIT/ENDUNIT do not pair
inline constexpr int32_t kErrMissingUnitName = -21;  // UNIT without label
inline constexpr int32_t kErrUsesInProcedure = -22;  // USES inside a PROC
inline constexpr int32_t kErrPrePass = -30;          // marked by the macro pre-pass

// The listing message of an error code, in CP932. For kErrUndefined the
// message quotes `undefinedName`; for kErrPrePass it is `commentText` (the
// line's comment without its source tag, which holds the pre-pass message).
// Codes without a message of their own, and kErrPrePass with an empty
// comment, read "エラー：" and the number.
std::string AsmErrorMessage(int32_t code, std::string_view undefinedName = {},
                            std::string_view commentText = {});
