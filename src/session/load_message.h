// The message-line texts of a load, CP932 with one leading blank as the
// message line shows them (the command-line tool drops the blank).
#pragma once

#include <string>

#include "session/load_result.h"

struct TLoadOutcome;

// Clean: " ロード＆アセンブル正常終了"; AssemblyErrors: " アセンブルエラーが" N
// "個あります" with N the outcome's error lines; NoSuchFile, EmptyFile,
// OtherStateVersion and DamagedStateFile their own texts; IncludedTwice
// names the duplicate include of the outcome; ReadError (and anything else)
// a file-loading error (the outcome's ErrorText holds the details for an
// error box).
std::string LoadResultMessage(TLoadResult result, const TLoadOutcome& outcome);
