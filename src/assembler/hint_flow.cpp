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
#include <optional>
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
constexpr uint16_t kHalt = OpcodeNamed("HALT");
constexpr uint16_t kRet = OpcodeNamed("RET");
constexpr uint16_t kJump = OpcodeNamed("JP");
constexpr uint16_t kCall = OpcodeNamed("CALL");

// Calls visit(address, fallsThrough) for every address at which execution
// may go on after the instruction at `at`, a called routine counting as
// returning. A jump through an indirect operand and a store into PC go
// where this cannot follow.
template <class Visit>
void ForEachNext(const THintInstruction& instruction, uint16_t at, Visit&& visit) {
  const uint16_t opcode = instruction.Opcode;
  if (opcode == kHalt || opcode == kRet) return;
  const auto next = static_cast<uint16_t>(at + instruction.Length);
  const bool directFirst = instruction.FirstMode == kModeDirect;
  if (JumpsThroughFirst(opcode) && opcode != kCall) {
    if (directFirst) visit(instruction.FirstWord, false);
    if (opcode != kJump) visit(next, true);
    return;
  }
  if (directFirst && instruction.FirstWord == kPCAddress && StoresThroughFirst(opcode)) return;
  visit(next, true);
}

// The paths are followed by the addresses of the instructions on them.
class TFlowHints {
 public:
  TFlowHints(const THintProgram& program, const THintLayout& layout, std::vector<TAsmHint>& hints)
      : program_(program), layout_(layout), hints_(hints), reached_(kWords, 0) {}

  void Run() {
    const std::optional<uint16_t> start = AddressRunAt(0);
    if (!start) return;
    Walk(*start);
    MarkAddressesReachingReturn();
    std::vector<char> explained(kWords, 0);
    HintEntry(std::nullopt, *start, explained);
    for (const auto& [from, to] : fallIns_)
      HintEntry(from, to, explained);
    for (const uint16_t ret : returns_) {
      if (explained[ret]) continue;
      const int line = LineOf(ret);
      hints_.push_back(HintAtLine(program_, line, THintKind::ReturnWithoutCall,
                                  ReturnWithoutCallText(layout_.ProcAround(line) >= 0)));
    }
  }

 private:
  static constexpr size_t kWords = 0x10000;

  int LineOf(uint16_t address) const { return program_.InstructionAt(address).Line; }

  // The address of the instruction that runs when PC is address. Words that
  // nothing was loaded into are 0, NOP, so execution slides on to the next
  // loaded word. None when that is data, the middle of an instruction, or
  // nothing.
  std::optional<uint16_t> AddressRunAt(uint16_t address) const {
    const std::optional<uint16_t> loaded = program_.NextLoadedAddress(address);
    if (!loaded || program_.InstructionAt(*loaded).Line < 0) return std::nullopt;
    return loaded;
  }

  // Every instruction reached from start, the edges between them, the RETs
  // among them, and the fall-throughs that pass lines between.
  void Walk(uint16_t start) {
    std::vector<uint16_t> pending{start};
    reached_[start] = 1;
    while (!pending.empty()) {
      const uint16_t from = pending.back();
      pending.pop_back();
      const THintInstruction& instruction = program_.InstructionAt(from);
      if (instruction.Opcode == kRet) returns_.push_back(from);
      ForEachNext(instruction, from, [&](uint16_t address, bool fallsThrough) {
        const std::optional<uint16_t> to = AddressRunAt(address);
        if (!to) return;
        edges_.emplace_back(*to, from);
        if (fallsThrough && LineOf(*to) > instruction.Line + 1) fallIns_.emplace_back(from, *to);
        if (!reached_[*to]) {
          reached_[*to] = 1;
          pending.push_back(*to);
        }
      });
    }
    std::sort(returns_.begin(), returns_.end());
    std::sort(fallIns_.begin(), fallIns_.end());
  }

  // reachesReturn_: the reached addresses from which a RET can be reached.
  void MarkAddressesReachingReturn() {
    reachesReturn_.assign(kWords, 0);
    if (returns_.empty()) return;
    std::sort(edges_.begin(), edges_.end());
    std::vector<uint16_t> pending = returns_;
    for (const uint16_t ret : returns_)
      reachesReturn_[ret] = 1;
    while (!pending.empty()) {
      const uint16_t to = pending.back();
      pending.pop_back();
      auto it = std::lower_bound(edges_.begin(), edges_.end(), std::make_pair(to, uint16_t{0}));
      for (; it != edges_.end() && it->first == to; ++it) {
        if (reachesReturn_[it->second]) continue;
        reachesReturn_[it->second] = 1;
        pending.push_back(it->second);
      }
    }
  }

  // Execution goes on from the instruction at `from` (none: the program's
  // start) to the one at `to`. When that enters an included file or a PROC
  // from which a RET is reached, the hint goes to the INCLUDE line or the
  // PROC line, and the RETs reached from there are explained by it.
  void HintEntry(std::optional<uint16_t> from, uint16_t to, std::vector<char>& explained) {
    if (!reachesReturn_[to]) return;
    const bool atStart = !from;
    if (atStart && !HasMainCode()) {
      MarkExplained(to, explained);
      return;
    }
    const int fromLine = from ? LineOf(*from) : -1;
    const int toLine = LineOf(to);
    if (const TIncludeSpan* span = layout_.IncludeEntered(fromLine, toLine)) {
      if (!hintedPlaces_.insert(span->Start).second) return;
      const TSourcePlace place = layout_.IncludePlace(*span);
      hints_.push_back(TAsmHint{THintKind::FallIntoInclude, span->Start, place.FileIndex,
                                place.LineNumber, FallIntoIncludeText(span->FileName, atStart)});
    } else if (const int proc = layout_.ProcEntered(fromLine, toLine); proc >= 0) {
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

  void MarkExplained(uint16_t from, std::vector<char>& explained) const {
    if (explained[from]) return;
    std::vector<uint16_t> pending{from};
    explained[from] = 1;
    while (!pending.empty()) {
      const uint16_t at = pending.back();
      pending.pop_back();
      ForEachNext(program_.InstructionAt(at), at, [&](uint16_t address, bool) {
        const std::optional<uint16_t> to = AddressRunAt(address);
        if (!to || explained[*to]) return;
        explained[*to] = 1;
        pending.push_back(*to);
      });
    }
  }

  const THintProgram& program_;
  const THintLayout& layout_;
  std::vector<TAsmHint>& hints_;
  std::vector<char> reached_;
  std::vector<char> reachesReturn_;
  std::vector<std::pair<uint16_t, uint16_t>> edges_;    // (to, from)
  std::vector<std::pair<uint16_t, uint16_t>> fallIns_;  // (from, to)
  std::vector<uint16_t> returns_;
  std::set<int> hintedPlaces_;
};

}  // namespace

void AddFlowHints(const THintProgram& program, const THintLayout& layout,
                  std::vector<TAsmHint>& hints) {
  TFlowHints(program, layout, hints).Run();
}
