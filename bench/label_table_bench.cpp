// The label table of a large program: 20,000 labels across nested blocks
// (100 blocks at the top level, each with 4 inner blocks of 2 blocks each,
// and 4 units), defined in random order; then 200,000 operands evaluated
// from the innermost blocks, each one name looked up through the scope
// chain, the used units and the registers. One item = one definition or one
// operand.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "assembler/label_table.h"
#include "persistence/sub_string_list.h"

namespace {

constexpr int kLabelCount = 20000;
constexpr int kOperandCount = 200000;

struct TProgram {
  std::vector<std::string> keys;                                 // in definition order
  std::map<std::string, std::vector<std::string>> namesByScope;  // labels defined per scope
  std::vector<std::string> innermost;                            // scopes of depth 4
  std::vector<std::string> unitScopes;
};

TProgram MakeProgram() {
  TProgram program;
  std::vector<std::string> scopes = {".*"};
  std::vector<std::string> blockKeys;
  for (int p = 0; p < 100; ++p) {
    const std::string outer = ".P" + std::to_string(p) + ".*";
    scopes.push_back(outer);
    blockKeys.push_back(outer.substr(1));
    for (int s = 0; s < 4; ++s) {
      const std::string middle = ".S" + std::to_string(s) + outer;
      scopes.push_back(middle);
      blockKeys.push_back(middle.substr(1));
      for (int t = 0; t < 2; ++t) {
        const std::string inner = ".T" + std::to_string(t) + middle;
        scopes.push_back(inner);
        blockKeys.push_back(inner.substr(1));
        program.innermost.push_back(inner);
      }
    }
  }
  for (int u = 0; u < 4; ++u) {
    const std::string unit = ".U" + std::to_string(u) + ".*";
    scopes.push_back(unit);
    blockKeys.push_back(unit.substr(1));
    program.unitScopes.push_back(unit);
  }

  std::mt19937 random(11);
  std::map<std::string, bool> taken;
  program.keys = blockKeys;
  for (const std::string& key : blockKeys)
    taken[key] = true;
  while (static_cast<int>(program.keys.size()) < kLabelCount) {
    const std::string& scope = scopes[random() % scopes.size()];
    std::string name = "V";
    name += std::to_string(random() % 5000);
    const std::string key = name + scope;
    if (taken[key]) continue;
    taken[key] = true;
    program.keys.push_back(key);
    program.namesByScope[scope].push_back(name);
  }
  std::shuffle(program.keys.begin(), program.keys.end(), random);
  return program;
}

// The table with every key of the program defined.
void DefineAll(TKwList& table, const TProgram& program) {
  int32_t line = 0;
  for (const std::string& key : program.keys) {
    table.DefineLabel(key, line).DefLine = line;
    ++line;
  }
}

struct TOperand {
  const std::string* scope;
  std::string text;
};

// Operands from the innermost blocks: a label of the block itself, of an
// enclosing block, of the top level or of a used unit, a register or a
// number; some with "#" or an offset.
std::vector<TOperand> MakeOperands(const TProgram& program) {
  std::mt19937 random(12);
  static const char* const kRegisters[] = {"PC", "SP", "VF", "SF", "ZF", "CF"};
  std::vector<TOperand> operands;
  operands.reserve(kOperandCount);
  while (static_cast<int>(operands.size()) < kOperandCount) {
    const std::string& scope = program.innermost[random() % program.innermost.size()];
    std::string from;  // the scope whose label is referenced
    switch (random() % 7) {
      case 0:
      case 1:
        from = scope;
        break;
      case 2:
        from = scope.substr(scope.find('.', 1));  // the middle block
        break;
      case 3:
        from = scope.substr(scope.find('.', scope.find('.', 1) + 1));  // the outer block
        break;
      case 4:
        from = ".*";
        break;
      default:
        from = program.unitScopes[random() % 2];  // the two units the top level uses
        break;
    }
    std::string text;
    const auto names = program.namesByScope.find(from);
    if (names == program.namesByScope.end() || random() % 16 == 0)
      text = kRegisters[random() % 6];
    else if (random() % 32 == 0)
      text = std::to_string(random() % 65536);
    else
      text = names->second[random() % names->second.size()];
    switch (random() % 4) {
      case 0:
        text = "#" + text;
        break;
      case 1:
        text += "+1";
        break;
      default:
        break;
    }
    operands.push_back({&scope, std::move(text)});
  }
  return operands;
}

void BM_DefineLabelsRandomOrder(benchmark::State& state) {
  const TProgram program = MakeProgram();
  for (auto _ : state) {
    TKwList table;
    DefineAll(table, program);
    benchmark::DoNotOptimize(table.Count());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(program.keys.size()));
}
BENCHMARK(BM_DefineLabelsRandomOrder)->Unit(benchmark::kMillisecond);

void BM_EvaluateOperandsInnerScopes(benchmark::State& state) {
  const TProgram program = MakeProgram();
  TKwList table;
  DefineAll(table, program);
  TSubStringList units(true, TDuplicates::Ignore);
  units.Add("*=.*");
  for (const std::string& scope : program.unitScopes)
    units.Add(scope.substr(1, 2) + "=" + scope);
  TSubStringList& rootUses = units.Child(units.IndexOf("*=.*"));
  rootUses.Add("U0");
  rootUses.Add("U1");
  table.SetUnits(&units);
  table.SetCurrentUses(&rootUses);
  const std::vector<TOperand> operands = MakeOperands(program);

  // Every operand must resolve; a failure would time the error path.
  for (const TOperand& operand : operands) {
    table.SetCurrentScope(*operand.scope);
    try {
      table.EvaluateOperand(operand.text);
    } catch (const std::exception&) {
      state.SkipWithError(("operand does not evaluate: " + operand.text).c_str());
      return;
    }
  }

  for (auto _ : state) {
    uint32_t sum = 0;
    for (const TOperand& operand : operands) {
      table.SetCurrentScope(*operand.scope);
      sum += table.EvaluateOperand(operand.text);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(operands.size()));
}
BENCHMARK(BM_EvaluateOperandsInnerScopes)->Unit(benchmark::kMillisecond);

}  // namespace
