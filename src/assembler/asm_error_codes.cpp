#include "assembler/asm_error_codes.h"

#include <array>

#include "persistence/encoding.h"

namespace {

struct TErrorText {
  int32_t Code;
  std::string_view Utf8;
};

// Messages as written, in UTF-8; converted to CP932 when asked for.
constexpr std::array<TErrorText, 12> kErrorTexts = {{
    {kErrBadMnemonic, "命令が不正です"},
    {kErrFieldCount, "パラメータ数が不正です"},
    {kErrUndefined, "は未定義です"},
    {kErrBadNumber, "数値の評価ができません"},
    {kErrBadParameter, "使用できないパラメーターです"},
    {kErrBadLocation, "行番号が不正です"},
    {kErrDuplicateLabel, "ラベルの2重定義です"},
    {kErrBadLabelChar, "ラベルに使えない文字があります"},
    {kErrMissingHash, "パラメータに#がありません"},
    {kErrBlockMismatch, "ブロックの対応が不正です"},
    {kErrMissingUnitName, "ユニット名がありません"},
    {kErrUsesInProcedure, "USES は PROC の中には書けません"},
}};

}  // namespace

std::string AsmErrorMessage(int32_t code, std::string_view undefinedName,
                            std::string_view commentText) {
  // A flagged line always carries its message; only a line list written by
  // hand (a state file) can lack it, and an error row never goes blank.
  if (code == kErrPrePass && !commentText.empty()) return std::string(commentText);
  for (const TErrorText& row : kErrorTexts) {
    if (row.Code != code) continue;
    if (code != kErrUndefined) return Sjis(row.Utf8);
    std::string message;
    message.reserve(undefinedName.size() + 32);
    message += '"';
    message.append(undefinedName);
    message += '"';
    message.append(Sjis(row.Utf8));
    return message;
  }
  return Sjis("エラー：") + std::to_string(code);
}
