#include "session/load_message.h"

#include "persistence/encoding.h"
#include "session/program_session.h"

std::string LoadResultMessage(TLoadResult result, const TLoadOutcome& outcome) {
  switch (result) {
    case TLoadResult::Clean:
      return Sjis(" ロード＆アセンブル正常終了");
    case TLoadResult::AssemblyErrors:
      return Sjis(" アセンブルエラーが") + std::to_string(outcome.Assembly.ErrorLines) +
             Sjis("個あります");
    case TLoadResult::NoSuchFile:
      return Sjis(" 指定されたファイルが存在しません");
    case TLoadResult::EmptyFile:
      return Sjis(" 指定されたファイルサイズが0です");
    case TLoadResult::OtherStateVersion:
      return Sjis(" 状態保存ファイルのバージョンが違います");
    case TLoadResult::DamagedStateFile:
      return Sjis(" 状態保存ファイルが壊れています");
    case TLoadResult::IncludedTwice:
      return Sjis(" インクルードする\"") + outcome.DuplicateName + Sjis("\"が重複しています");
    case TLoadResult::ReadError:
      break;
  }
  return Sjis(" ファイルロード時にエラーが発生しました");
}
