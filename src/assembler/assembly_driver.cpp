// Assemble: the macro pre-pass, then four sweeps over the lines.
//   pass 1  parse every line, work out its scope, collect units and USES;
//   pass 2  encode instructions, assign addresses, define labels;
//   pass 3  evaluate operands into words;
//   pass 4  parse macro-definition lines for the listing.
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "assembler/asm_error_codes.h"
#include "assembler/assembler_errors.h"
#include "assembler/auto_label.h"
#include "assembler/label_key.h"
#include "assembler/line_encoder.h"
#include "assembler/line_parser.h"
#include "assembler/literals.h"
#include "assembler/macro_prepass.h"
#include "assembler/qrx_assembler.h"
#include "persistence/convert_error.h"
#include "persistence/string_list_error.h"

namespace {

constexpr std::string_view kRootScope = ".*";

// The first block name of a scope path: ".MAIN.*" gives "MAIN", ".*" "*".
std::string_view FirstSegment(std::string_view scope) {
  if (!scope.empty() && scope.front() == '.') scope.remove_prefix(1);
  return scope.substr(0, scope.find('.'));
}

// The text the passes parse: a line the pre-pass flagged has its error
// marker read as ";", so that the message and the line's former text are
// comment.
std::string_view ParsedText(const std::string& text, std::string& scratch) {
  if (!IsFlaggedLine(text)) return text;
  scratch = text;
  scratch.replace(kMacroDefinitionMarker.size(), kMacroErrorMarker.size(), 1, ';');
  return scratch;
}

void SetError(TAsmLine& line, int32_t code, int& tally) {
  line.ErrorCode = code;
  ++tally;
}

// An operand that gives no value: neither a label in reach nor a literal.
void MarkUndefined(TAsmLine& line, const std::string& operand) {
  line.ErrorCode = kErrUndefined;
  line.UndefinedName = operand;
}

// Checks an instruction line against the opcode table: it gets its
// instruction word, or the error the check found.
void EncodeInstruction(TAsmLine& line) {
  const int32_t encoded = EncodeLine(line);
  if (encoded < 0)
    line.ErrorCode = encoded;
  else
    line.InstructionWord = static_cast<uint16_t>(encoded);
}

}  // namespace

TAssemblyResult TQRXAssembler::Assemble() {
  ForgetRecords();
  ++assemblyCount_;
  autoLabelCounter_ = 0;
  labels_.ResetLabels();
  labels_.SetCurrentUses(nullptr);
  labels_.SetCurrentScope({});
  for (int u = 0; u < units_.Count(); ++u) {
    if (units_.ChildIfAny(u) != nullptr) units_.Child(u).Clear();  // the flag stays
  }
  unitStack_.Clear();

  ExpandPrePass(lines_, macros_, autoLabelCounter_);

  // Every error of the pre-pass is written into its line as the error
  // marker. The marker stays in the line text (the passes parse it as ";"),
  // so lines assembled again, as a state file brings them back, report the
  // same errors although the pre-pass then finds nothing left to flag; the
  // tally therefore counts the marked lines.
  TAssemblyResult result;
  for (int i = 0; i < lines_.Count(); ++i) {
    auto line = std::make_unique<TAsmLine>();
    line->LineIndex = i;
    if (IsFlaggedLine(lines_.Strings(i))) SetError(*line, kErrPrePass, result.Tally);
    lines_.SetRecord(i, std::move(line));
  }

  result.Tally += ParseAndScopePass();
  result.Tally += AddressAndLabelPass();
  // The operand pass is the last to set error codes, and it counts every
  // line that ends with one exactly once.
  result.ErrorLines = OperandPass();
  result.Tally += result.ErrorLines;
  MacroDefinitionPass();
  BuildListing();
  return result;
}

int TQRXAssembler::ParseAndScopePass() {
  int tally = 0;
  // The top level's entry; a fresh one shows its lines.
  const int before = units_.Count();
  const int root = units_.Add(std::string(kRootUnitEntry));
  if (units_.Count() != before) units_.SetEntryMark(root, 1);

  const std::string* previousScope = nullptr;
  const std::string rootScope(kRootScope);
  std::string scratch;
  for (int i = 0; i < lines_.Count(); ++i) {
    TAsmLine& line = *lines_.Record(i);
    ParseLine(ParsedText(lines_.Strings(i), scratch), line);
    const std::string& previous = previousScope != nullptr ? *previousScope : rootScope;
    const std::string& mnemonic = line.Mnemonic;

    if (mnemonic == "PROC") {
      if (line.LabelName.empty()) line.LabelName = NewAutoLabel();
      line.Scope = "." + line.LabelName + previous;
    } else if (mnemonic == "UNIT") {
      if (line.LabelName.empty()) SetError(line, kErrMissingUnitName, tally);
      line.Scope = "." + line.LabelName + previous;
      // A unit without a name gets no entry: its lines stay in view, so the
      // error on its UNIT line can be seen.
      if (!line.LabelName.empty()) {
        const int count = units_.Count();
        const int unit = units_.Add(line.LabelName + "=" + line.Scope);
        if (units_.Count() != count) units_.SetEntryMark(unit, 0);  // a new unit starts hidden
      }
      if (ScopeDepth(line) != 2) SetError(line, kErrBlockMismatch, tally);
    } else if (mnemonic == "ENDPROC") {
      line.Scope.assign(OuterScope(previous));
    } else if (mnemonic == "ENDUNIT") {
      line.Scope.assign(OuterScope(previous));
      if (ScopeDepth(line) != 1) SetError(line, kErrBlockMismatch, tally);
    } else {
      line.Scope = previous;
    }

    const int depth = ScopeDepth(line);
    if (mnemonic == "USES") {
      const std::string_view unitName = FirstSegment(line.Scope);
      const int unit = units_.IndexOf(std::string(unitName) + "=" + line.Scope);
      if (unit >= 0) {
        TSubStringList& uses = units_.Child(unit);
        for (int k = 1; k < line.FieldCount; ++k) {
          if (!line.Fields[k].empty()) uses.Add(line.Fields[k]);
        }
      } else if (!unitName.empty() && depth >= 1) {
        // Inside a procedure: there is no USES list to add to. The line is
        // still a directive, so it takes no word and every later address
        // stays where it would be without it.
        SetError(line, kErrUsesInProcedure, tally);
        line.IsDirective = true;
      }
    }
    if (depth < 1) SetError(line, kErrBlockMismatch, tally);
    previousScope = &line.Scope;
  }
  return tally;
}

int TQRXAssembler::AddressAndLabelPass() {
  int tally = 0;
  TAsmLine* previous = nullptr;
  for (int i = 0; i < lines_.Count(); ++i) {
    TAsmLine& line = *lines_.Record(i);
    if (!line.HasError()) EncodeInstruction(line);
    if (previous == nullptr) {
      line.Address = 0;
    } else {
      const TAsmLine& p = *previous;
      if (p.Mnemonic == "DW")
        line.Address = static_cast<uint16_t>(p.Address + p.FieldCount - 1);
      else if (p.IsDirective)
        line.Address = p.Address;
      else
        line.Address = static_cast<uint16_t>(p.Address + p.FieldCount);
      // A line without fields shows no address; only the last line keeps its own.
      if (p.FieldCount == 0) previous->Address = kNoAddress;
    }
    if (!line.LabelName.empty()) DefineLineLabel(line);
    if (line.HasError()) ++tally;
    previous = &line;
  }
  return tally;
}

void TQRXAssembler::DefineLineLabel(TAsmLine& line) {
  const char first = line.LabelName.front();
  try {
    if (first >= '0' && first <= '9') {
      const auto location = static_cast<uint16_t>(EvalNumber(line.LabelName));
      if (location < line.Address)
        line.ErrorCode = kErrBadLocation;
      else
        line.Address = location;
      return;
    }
    TKwValues* record = nullptr;
    if (line.Mnemonic == "EQU") {
      // The value first, so that a bad literal defines nothing.
      const int32_t value = EvalNumber(line.Fields[1]);
      // The "#" of a value-only constant is no part of its name; the line
      // loses it only once the name is defined, so that a failed line keeps
      // its label as written. A "#" alone names nothing.
      const bool valueOnly = first == '#';
      const std::string name = line.LabelName.substr(valueOnly ? 1 : 0);
      if (name.empty()) throw EInvaridCharsetError();
      record = &labels_.DefineLabel(name + line.Scope, value);
      record->ValueOnly = valueOnly;
      line.LabelName = name;
    } else if (line.Mnemonic == "PROC" || line.Mnemonic == "UNIT") {
      // The block's name in its enclosing scope.
      const std::string_view scope = line.Scope;
      record = &labels_.DefineLabel(std::string(scope.substr(scope.empty() ? 0 : 1)), line.Address);
    } else {
      record = &labels_.DefineLabel(line.LabelName + line.Scope, line.Address);
    }
    record->DefLine = line.LineIndex;
  } catch (const EConvertError&) {
    line.ErrorCode = kErrBadNumber;
  } catch (const EStringListError&) {
    line.ErrorCode = kErrDuplicateLabel;
  } catch (const EInvaridCharsetError&) {
    line.ErrorCode = kErrBadLabelChar;
  }
}

int TQRXAssembler::OperandPass() {
  int tally = 0;
  const auto usesOf = [this](std::string_view unitName) -> const TCustomStringList* {
    const int unit = UnitIndexOfName(unitName);
    return unit >= 0 ? &units_.Child(unit) : nullptr;
  };
  unitStack_.Push(std::string(kRootUnitName));
  labels_.SetCurrentUses(usesOf(kRootUnitName));

  for (int i = 0; i < lines_.Count(); ++i) {
    TAsmLine& line = *lines_.Record(i);
    size_t word = 1;
    if (line.Mnemonic == "DW") {
      if (line.FieldCount <= 1)
        line.ErrorCode = kErrFieldCount;
      else
        word = 0;
    }
    if (line.Mnemonic == "UNIT") {
      unitStack_.Push(line.LabelName);
      labels_.SetCurrentUses(usesOf(line.LabelName));
    } else if (line.Mnemonic == "ENDUNIT") {
      unitStack_.Pop();
      // Back to the top level (also after an ENDUNIT that closed nothing).
      const std::string bottom = unitStack_.Bottom();
      labels_.SetCurrentUses(usesOf(bottom.empty() ? kRootUnitName : std::string_view(bottom)));
    }
    if (line.Mnemonic != "USES") {
      for (int k = 1; k < line.FieldCount; ++k) {
        const std::string& operand = line.Fields[k];
        labels_.SetCurrentScope(line.Scope);
        try {
          line.Words[word] = labels_.EvaluateOperand(operand);
          ++word;
        } catch (const EInvaridParamTypeError&) {
          line.ErrorCode = kErrBadParameter;
        } catch (const EValueOnlyError&) {
          line.ErrorCode = kErrMissingHash;
        } catch (const EConvertError&) {
          MarkUndefined(line, operand);
        } catch (const EInvaridCharsetError&) {
          // A binary literal with too many digits: no value either.
          MarkUndefined(line, operand);
        }
      }
    }
    if (line.HasError()) ++tally;
  }
  return tally;
}

void TQRXAssembler::MacroDefinitionPass() {
  std::string scratch;
  for (int i = 0; i < lines_.Count(); ++i) {
    const std::string& text = lines_.Strings(i);
    if (!IsMacroDefinitionLine(text)) continue;
    TAsmLine& line = *lines_.Record(i);
    ParseLine(ParsedText(text, scratch).substr(kMacroDefinitionMarker.size()), line);
    line.IsDirective = true;
  }
}
