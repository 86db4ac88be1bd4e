// The flow hints. They follow the paths that execution takes from address 0
// while no CALL is pending (a CALL is taken to come back to the instruction
// after it). On such a path a RET has no return address to go to. When the
// path got there by running into a PROC or an included file from above, the
// hint names that place; any other such RET is named itself.
//
// A program that starts inside a PROC or an included file is only a mistake
// when it has a main part elsewhere: code at the top level of the main
// source. A library of units and PROCs assembled on its own has none; what
// runs from its start is no program, and gets no hint.
#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "assembler/hint_layout.h"
#include "assembler/hint_program.h"
#include "assembler/hint_rules.h"
#include "assembler/hint_texts.h"
#include "assembler/line_encoder.h"

namespace {

constexpr uint16_t kPCAddress = 0xFFFF;

int ModeOfFirst(const TAsmLine& line) {
  const int nibble = line.Words[0] & 0xF;
  return line.FieldCount == 2 ? nibble & 3 : (nibble >> 2) & 3;
}

// Calls visit(address, fallsThrough) for every address at which execution
// may go on after the instruction line, a called routine counting as
// returning. A jump through an indirect operand and a store into PC go
// where this cannot follow.
template <class Visit>
void ForEachNext(const TAsmLine& line, Visit&& visit) {
  const std::string& m = line.Mnemonic;
  if (m == "HALT" || m == "RET") return;
  const auto next = static_cast<uint16_t>(line.Address + line.FieldCount);
  const bool directFirst = line.FieldCount >= 2 && ModeOfFirst(line) == kModeDirect;
  if (JumpsThroughFirst(m) && m != "CALL") {
    if (directFirst) visit(line.Words[1], false);
    if (m != "JP") visit(next, true);
    return;
  }
  if (directFirst && line.Words[1] == kPCAddress && StoresThroughFirst(m)) return;
  visit(next, true);
}

class TFlowHints {
 public:
  TFlowHints(const THintProgram& program, const THintLayout& layout, std::vector<TAsmHint>& hints)
      : program_(program),
        layout_(layout),
        hints_(hints),
        reached_(static_cast<size_t>(program.LineCount()), 0) {}

  void Run() {
    const int start = LineRunAt(0);
    if (start < 0) return;
    Walk(start);
    MarkLinesReachingReturn();
    std::vector<char> explained(reached_.size(), 0);
    HintEntry(-1, start, explained);
    for (const auto& [from, to] : fallIns_)
      HintEntry(from, to, explained);
    for (const int ret : returns_)
      if (!explained[static_cast<size_t>(ret)])
        hints_.push_back(HintAtLine(program_, ret, THintKind::ReturnWithoutCall,
                                    ReturnWithoutCallText(layout_.ProcAround(ret) >= 0)));
  }

 private:
  // The instruction line that runs when PC is address. Words that nothing
  // was loaded into are 0, NOP, so execution slides on to the next loaded
  // word. -1 when that is data, the middle of an instruction, or nothing.
  int LineRunAt(uint16_t address) const {
    const std::optional<uint16_t> loaded = program_.NextLoadedAddress(address);
    return loaded ? program_.InstructionAt(*loaded) : -1;
  }

  // Every instruction reached from start, the edges between them, the RETs
  // among them, and the fall-throughs that pass other lines.
  void Walk(int start) {
    std::vector<int> pending{start};
    reached_[static_cast<size_t>(start)] = 1;
    while (!pending.empty()) {
      const int from = pending.back();
      pending.pop_back();
      const TAsmLine& line = program_.Line(from);
      if (line.Mnemonic == "RET") returns_.push_back(from);
      ForEachNext(line, [&](uint16_t address, bool fallsThrough) {
        const int to = LineRunAt(address);
        if (to < 0) return;
        edges_.emplace_back(to, from);
        if (fallsThrough && to > from + 1) fallIns_.emplace_back(from, to);
        if (!reached_[static_cast<size_t>(to)]) {
          reached_[static_cast<size_t>(to)] = 1;
          pending.push_back(to);
        }
      });
    }
    std::sort(returns_.begin(), returns_.end());
    std::sort(fallIns_.begin(), fallIns_.end());
  }

  // reachesReturn_: the reached lines from which a RET can be reached.
  void MarkLinesReachingReturn() {
    std::sort(edges_.begin(), edges_.end());
    reachesReturn_.assign(reached_.size(), 0);
    std::vector<int> pending = returns_;
    for (const int ret : returns_)
      reachesReturn_[static_cast<size_t>(ret)] = 1;
    while (!pending.empty()) {
      const int to = pending.back();
      pending.pop_back();
      auto it = std::lower_bound(edges_.begin(), edges_.end(), std::make_pair(to, -1));
      for (; it != edges_.end() && it->first == to; ++it) {
        if (reachesReturn_[static_cast<size_t>(it->second)]) continue;
        reachesReturn_[static_cast<size_t>(it->second)] = 1;
        pending.push_back(it->second);
      }
    }
  }

  // Execution goes on from line `from` (-1: the program's start) to line
  // `to`. When that enters an included file or a PROC from which a RET is
  // reached, the hint goes to the INCLUDE line or the PROC line, and the
  // RETs reached from there are explained by it.
  void HintEntry(int from, int to, std::vector<char>& explained) {
    if (!reachesReturn_[static_cast<size_t>(to)]) return;
    const bool atStart = from < 0;
    if (atStart && !HasMainCode()) {
      MarkExplained(to, explained);
      return;
    }
    if (const TIncludeSpan* span = layout_.IncludeEntered(from, to)) {
      if (!hintedPlaces_.insert(span->Start).second) return;
      const TSourcePlace place = layout_.IncludePlace(*span);
      hints_.push_back(TAsmHint{THintKind::FallIntoInclude, span->Start, place.FileIndex,
                                place.LineNumber, FallIntoIncludeText(span->FileName, atStart)});
    } else if (const int proc = layout_.ProcEntered(from, to); proc >= 0) {
      if (!hintedPlaces_.insert(proc).second) return;
      hints_.push_back(HintAtLine(program_, proc, THintKind::FallIntoProc,
                                  FallIntoProcText(program_.Line(proc).LabelName, atStart)));
    } else {
      return;
    }
    MarkExplained(to, explained);
  }

  bool HasMainCode() const {
    for (const int line : program_.LoadedLines())
      if (!program_.IsDataLine(line) && program_.Line(line).Scope == ".*" &&
          !layout_.InsideInclude(line))
        return true;
    return false;
  }

  void MarkExplained(int from, std::vector<char>& explained) const {
    if (explained[static_cast<size_t>(from)]) return;
    std::vector<int> pending{from};
    explained[static_cast<size_t>(from)] = 1;
    while (!pending.empty()) {
      const int line = pending.back();
      pending.pop_back();
      ForEachNext(program_.Line(line), [&](uint16_t address, bool) {
        const int to = LineRunAt(address);
        if (to < 0 || explained[static_cast<size_t>(to)]) return;
        explained[static_cast<size_t>(to)] = 1;
        pending.push_back(to);
      });
    }
  }

  const THintProgram& program_;
  const THintLayout& layout_;
  std::vector<TAsmHint>& hints_;
  std::vector<char> reached_;
  std::vector<char> reachesReturn_;
  std::vector<std::pair<int, int>> edges_;    // (to, from)
  std::vector<std::pair<int, int>> fallIns_;  // (from, to)
  std::vector<int> returns_;
  std::set<int> hintedPlaces_;
};

}  // namespace

void AddFlowHints(const THintProgram& program, const THintLayout& layout,
                  std::vector<TAsmHint>& hints) {
  TFlowHints(program, layout, hints).Run();
}
