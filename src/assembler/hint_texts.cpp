#include "assembler/hint_texts.h"

#include "persistence/encoding.h"

namespace {

std::string Number(int64_t value) {
  return std::to_string(value);
}

// What a direct operand does with its address, in brackets.
std::string DirectUse(TOperandUse use, uint16_t address) {
  switch (use) {
    case TOperandUse::Read:
      return Sjis("（") + Number(address) + Sjis(" 番地の中身を使います）");
    case TOperandUse::Store:
      return Sjis("（") + Number(address) + Sjis(" 番地に書き込みます）");
    case TOperandUse::Jump:
      return Sjis("（") + Number(address) + Sjis(" 番地へ飛びます）");
    case TOperandUse::Data:
      break;
  }
  return {};
}

}  // namespace

std::string DirectNumberText(std::string_view operand, uint16_t address) {
  std::string text;
  if (operand != Number(address)) text = std::string(operand) + Sjis(" は ");
  text += Number(address) + Sjis(" 番地の中身を使います。数値 ") + std::string(operand) +
          Sjis(" なら #") + std::string(operand);
  return text;
}

std::string NumberLikeNameText(std::string_view name, int32_t number, TNumberLook look,
                               TOperandUse use, bool direct, uint16_t address) {
  const std::string written(name);
  const std::string what = direct ? DirectUse(use, address) : std::string();
  switch (look) {
    case TNumberLook::BinarySuffix:
      return written + Sjis(" は2進数の ") + Number(number) + Sjis(" です") + what +
             Sjis("。16進数なら ") + written + "h";
    case TNumberLook::DecimalSuffix:
      return written + Sjis(" は10進数の ") + Number(number) + Sjis(" です") + what +
             Sjis("。16進数なら ") + written + "h";
    case TNumberLook::LetterName:
      break;
  }
  return written + Sjis(" はラベルとして定義されていないので、数値 ") + Number(number) +
         Sjis(" と読みます") + what + Sjis("。変数なら ") + written + Sjis(": DW 0 で作ります");
}

std::string FallIntoProcText(std::string_view procName, bool atStart) {
  const std::string name(procName);
  if (atStart)
    return Sjis("プログラムが PROC ") + name +
           Sjis(" の中から始まり、CALL なしで RET に着きます。サブルーチンは HALT の後に置きます");
  return Sjis("上の命令から PROC ") + name +
         Sjis(" に流れ込み、CALL なしで RET に着きます。PROC の前に HALT か JP を置きます");
}

std::string FallIntoIncludeText(std::string_view fileName, bool atStart) {
  const std::string name(fileName);
  if (atStart)
    return Sjis("プログラムがインクルードした ") + name +
           Sjis(" の中から始まり、CALL なしで RET に着きます。INCLUDE は HALT の後に置きます");
  return Sjis("上の命令からインクルードした ") + name +
         Sjis(" に流れ込み、CALL なしで RET に着きます。INCLUDE の前に HALT か JP を置きます");
}

std::string UnclosedBlockText(std::string_view blockName, bool isProc) {
  const std::string name(blockName);
  if (isProc) return Sjis("PROC ") + name + Sjis(" の ENDPROC がないまま、ファイルが終わります");
  return Sjis("UNIT ") + name + Sjis(" の ENDUNIT がないまま、ファイルが終わります");
}

std::string ReturnWithoutCallText(bool insideProc) {
  if (insideProc)
    return Sjis("この RET には CALL なしで着きます。サブルーチンは JP ではなく CALL で呼びます");
  return Sjis("PROC の外のこの RET には CALL なしで着きます。プログラムの終わりなら HALT です");
}

std::string WriteIntoCodeText(std::string_view operand, uint16_t address) {
  return std::string(operand) + Sjis(" は命令のある ") + Number(address) +
         Sjis(" 番地です。書き込むとプログラムが書きかわります。変数は DW で作ります");
}
