#include "assembler/listing_text.h"

#include <algorithm>
#include <string_view>

#include "assembler/asm_error_codes.h"
#include "assembler/label_table.h"
#include "assembler/literals.h"
#include "persistence/file_set.h"

bool IsCodeRow(const TAsmLine& line) {
  return line.Mnemonic == "DW" || (!line.IsDirective && line.FieldCount > 0);
}

std::string ListingLabelText(const TAsmLine& line, const TKwList& labels) {
  if (line.Mnemonic == "EQU" && labels.RecordOf(line.LabelName + line.Scope).ValueOnly)
    return "#" + line.LabelName;
  return line.LabelName;
}

bool IsOperandListRow(const TAsmLine& line) {
  return line.Mnemonic == "DW" || line.Mnemonic == "USES";
}

namespace {

// A string character as the run shows it: the field without its closing
// byte, and a "#", "@" or "[" without the backslash that keeps it from
// marking the operand, as the learner wrote it.
std::string_view StringCharText(std::string_view field) {
  field.remove_suffix(1);
  if (field.size() == 2 && field[0] == '\\' &&
      (field[1] == '#' || field[1] == '@' || field[1] == '['))
    field.remove_prefix(1);
  return field;
}

// The field of a backslash alone in front of a closing quote. Shown bare in
// the middle of a run, it would join the next character into an escape.
bool IsLoneBackslash(std::string_view field) {
  return field == "\\\\";
}

}  // namespace

bool ShowsInQuotedRun(std::string_view field) {
  return IsStringCharField(field) && !IsOperandMark(field.front());
}

std::string OperandListText(const TAsmLine& line) {
  const size_t end = std::min<size_t>(line.FieldCount, line.Fields.size());
  if (end < 2) return {};
  // A list that begins with string characters opens its quoted run at once,
  // so that 'Hello',0 reads 'Hello',0 and not H\ello',0.
  const std::string& first = line.Fields[1];
  bool previousInRun = ShowsInQuotedRun(first);
  std::string text;
  if (previousInRun) {
    text.push_back('\'');
    text.append(StringCharText(first));
  } else {
    text = first;
  }
  for (size_t k = 2; k < end; ++k) {
    const std::string& field = line.Fields[k];
    const bool inRun = ShowsInQuotedRun(field);
    if (inRun) {
      if (!previousInRun) text += ",'";
      // A backslash the run goes on after shows as the escape "\\".
      if (previousInRun && IsLoneBackslash(line.Fields[k - 1])) text += '\\';
      text.append(StringCharText(field));
    } else {
      text += previousInRun ? "'," : ",";
      text += field;
    }
    previousInRun = inRun;
  }
  return text;
}

std::string ListingFieldText(const TAsmLine& line, int n) {
  if (n < 0 || static_cast<size_t>(n) >= line.Fields.size()) return {};
  return line.Fields[static_cast<size_t>(n)];
}

std::string ListingCommentText(const TAsmLine& line) {
  return CommentText(line);
}

bool IsImportantComment(const std::string& commentText) {
  return !commentText.empty() && commentText.front() == '*';
}

std::string ListingErrorText(const TAsmLine& line, const TFileNames& files) {
  if (!line.HasError()) return {};
  const std::string message =
      AsmErrorMessage(line.ErrorCode, line.UndefinedName, CommentText(line));
  const int32_t fileIndex = line.TagFileIndex();
  if (fileIndex < 0) return message;
  std::string text = "[";
  text += files.ShortName(fileIndex);
  text += '(';
  text += std::to_string(line.TagLineNumber());
  text += ")]";
  text += message;
  return text;
}
