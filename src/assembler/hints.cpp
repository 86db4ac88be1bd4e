#include "assembler/hints.h"

#include <algorithm>

#include "assembler/hint_layout.h"
#include "assembler/hint_program.h"
#include "assembler/hint_rules.h"
#include "assembler/hint_texts.h"

TAsmHint HintAtLine(const THintProgram& program, int line, THintKind kind, std::string text) {
  const TAsmLine& record = program.Line(line);
  return TAsmHint{kind, line, record.TagFileIndex(), record.TagLineNumber(), std::move(text)};
}

void AddBlockHints(const THintProgram& program, const THintLayout& layout,
                   std::vector<TAsmHint>& hints) {
  for (const int open : layout.UnclosedBlocks())
    hints.push_back(
        HintAtLine(program, open, THintKind::UnclosedBlock,
                   UnclosedBlockText(program.Line(open).LabelName, layout.IsProcLine(open))));
}

std::vector<TAsmHint> CollectHints(const TQRXAssembler& assembler) {
  std::vector<TAsmHint> hints;
  THintProgram program(assembler);
  THintLayout layout(program);
  TOperandHints operands(program);
  for (int i = 0; i < program.LineCount(); ++i) {
    program.AddLine(i);
    layout.AddLine(i);
    operands.AddLine(i);
  }
  layout.Finish();
  if (layout.ErrorLineCount() > 0 || program.LoadedLines().empty()) return hints;
  operands.Finish(hints);
  AddBlockHints(program, layout, hints);
  AddFlowHints(program, layout, hints);
  std::stable_sort(hints.begin(), hints.end(), [](const TAsmHint& a, const TAsmHint& b) {
    return a.LineIndex != b.LineIndex ? a.LineIndex < b.LineIndex : a.Kind < b.Kind;
  });
  return hints;
}
