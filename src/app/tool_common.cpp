#include "app/tool_common.h"

#include <cstdio>

#include "app/listing_report.h"
#include "assembler/qrx_assembler.h"
#include "persistence/encoding.h"
#include "session/load_message.h"
#include "session/program_session.h"

TLoadResult LoadProgram(TProgramSession& session, const std::string& path,
                        const TAfterLoad& afterLoad) {
  TLoadOutcome outcome;
  const TLoadResult result = session.LoadFile(path, outcome);
  if (IsLoaded(result)) {
    ShowAllUnits(session.Assembler());
    if (afterLoad) afterLoad(session);
  }
  std::string message = LoadResultMessage(result, outcome);
  if (message.starts_with(' ')) message.erase(0, 1);
  WriteErrorLine(message);
  if (!IsLoaded(result) && !outcome.ErrorText.empty()) WriteErrorLine(outcome.ErrorText);
  return result;
}

std::string OutputText(std::string_view cp932) {
  return Cp932ToUtf8(cp932);
}

void WriteOut(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void WriteErrorLine(std::string_view cp932) {
  const std::string text = OutputText(cp932) + "\n";
  std::fwrite(text.data(), 1, text.size(), stderr);
}

void WriteDiagnostics(std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
}
