#include "session/load_message.h"

#include "assembler/qrx_assembler.h"
#include "persistence/encoding.h"
#include "session/program_session.h"

std::string LoadResultMessage(int result, const TQRXAssembler& assembler,
                              const TLoadOutcome& outcome) {
  if (result == 0) return Sjis(" ロード＆アセンブル正常終了");
  if (result > 0)
    return Sjis(" アセンブルエラーが") + std::to_string(assembler.ErrorLineCount()) +
           Sjis("個あります");
  switch (result) {
    case kLoadNoSuchFile:
      return Sjis(" 指定されたファイルが存在しません");
    case kLoadEmptyFile:
      return Sjis(" 指定されたファイルサイズが0です");
    case kLoadBadStateFile:
      return Sjis(" 状態保存ファイルのバージョンが違います");
    case kLoadDamagedStateFile:
      return Sjis(" 状態保存ファイルが壊れています");
    case kLoadIncludedTwice:
      return Sjis(" インクルードする\"") + outcome.DuplicateName + Sjis("\"が重複しています");
    default:
      return Sjis(" ファイルロード時にエラーが発生しました");
  }
}
