// The message-line texts of a load, CP932 with one leading blank as the
// message line shows them (the command-line tool drops the blank).
#pragma once

#include <string>

class TQRXAssembler;
struct TLoadOutcome;

// 0: " ロード＆アセンブル正常終了"; above 0: " アセンブルエラーが" N "個あります"
// with N the assembler's ErrorLineCount; -1 no such file; -2 empty file;
// -3 other state-file version; -6 a damaged state file; -4 the duplicate include
// named in the outcome; any other negative: a file-loading error (the
// outcome's ErrorText holds the details for an error box).
std::string LoadResultMessage(int result, const TQRXAssembler& assembler,
                              const TLoadOutcome& outcome);
