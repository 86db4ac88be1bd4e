#include "session/case_result.h"

#include "persistence/encoding.h"

std::string FirstDifference(const TCaseResult& result) {
  if (result.Status == TCaseStatus::Passed) return {};
  if (!result.Problem.empty()) return result.Problem;
  for (const TCheckResult& check : result.Checks) {
    if (check.Passed) continue;
    const std::string note = check.Note.empty() ? "" : " (" + check.Note + ")";
    if (check.Expected.empty() && check.Actual.empty()) return check.What + ": " + check.Note;
    if (check.Kind == TCheckKind::ScreenText)
      return check.What + Sjis(": 期待「") + check.Expected + Sjis("」、実際「") + check.Actual +
             Sjis("」") + note;
    return check.What + Sjis(": 期待 ") + check.Expected + Sjis("、実際 ") + check.Actual + note;
  }
  return {};
}
