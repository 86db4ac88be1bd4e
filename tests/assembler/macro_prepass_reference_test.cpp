// The one-sweep call expansion against the plain walk: from the last line to
// the first, every call's expansion inserted behind it and the call deleted.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "assembler/macro_line_split.h"
#include "assembler/macro_prepass.h"
#include "macro_test_support.h"

namespace {

void ReferenceExpandCalls(TCustomStringList& lines, TMacroList& macros,
                          TAutoLabelCounter& counter) {
  for (int i = lines.Count() - 1; i >= 0; --i) {
    const std::string text = lines.Strings(i);
    const std::vector<std::string> split = SplitMacroLine(text);
    const int macroIndex = macros.IndexOfMacro(split[1]);
    if (split[1].empty() || macroIndex < 0) continue;
    const size_t escape = text.find('\x1B');
    std::vector<std::string> expansion;
    macros.ExpandMacro(macroIndex, split,
                       escape == std::string::npos ? std::string() : text.substr(escape), counter,
                       expansion);
    TCustomStringList inserted;
    macro_test::Fill(inserted, expansion);
    lines.InsertLinesAfter(i, inserted);
    lines.Delete(i);
  }
}

// A source with a few definitions (some with "?" formals, some calling
// others) and calls spread among ordinary lines, in mixed case and indent.
std::vector<std::string> RandomSource(std::mt19937& random) {
  const std::vector<std::string> names = {"PUSH2", "wait", "Fill", "NOP3", "LD"};
  std::vector<std::string> code;
  for (size_t m = 0; m < names.size(); ++m) {
    code.push_back(names[m] + ": MACRO %A, ?L, %B");
    const int bodyLines = static_cast<int>(random() % 4);
    for (int b = 0; b < bodyLines; ++b)
      code.push_back(random() % 3 == 0 ? "  " + names[(m + 1) % names.size()] + " %a"
                                       : "?L: ADD %A,%b ; macro " + std::to_string(b));
    code.push_back(random() % 2 ? "ENDMACRO" : "  endmacro");
  }
  const int count = 50 + static_cast<int>(random() % 100);
  for (int i = 0; i < count; ++i) {
    const unsigned pick = random() % 8;
    if (pick < 3) {
      std::string name = names[random() % names.size()];
      if (random() % 2) name[0] = static_cast<char>(std::tolower(name[0]));
      std::string call = (random() % 3 == 0 ? "LBL" + std::to_string(i) + ": " : "  ") + name;
      const unsigned arguments = random() % 4;
      for (unsigned a = 0; a < arguments; ++a)
        call += (a == 0 ? " " : ", ") + std::to_string(random() % 100);
      code.push_back(call);
    } else if (pick < 5) {
      code.push_back("  SUB A,#" + std::to_string(i) + " ; %A stays");
    } else {
      code.push_back(pick == 5 ? "" : "; comment " + std::to_string(i));
    }
  }
  return code;
}

TEST(MacroCallExpansion, OneSweepEqualsInsertAndDeleteWalk) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 random(seed);
    const std::vector<std::string> source = macro_test::Tagged(RandomSource(random));
    TCustomStringList fast;
    TCustomStringList reference;
    macro_test::Fill(fast, source);
    macro_test::Fill(reference, source);
    TMacroList fastMacros;
    TMacroList referenceMacros;
    TAutoLabelCounter fastCounter = seed;
    TAutoLabelCounter referenceCounter = seed;

    ASSERT_EQ(ExpandPrePass(fast, fastMacros, fastCounter), 0);
    ASSERT_EQ(CollectMacroDefinitions(reference, referenceMacros), 0);
    ReferenceExpandCalls(reference, referenceMacros, referenceCounter);

    EXPECT_GT(fast.Count(), 0);
    EXPECT_NE(fast.ToVector(), source) << "seed " << seed;
    EXPECT_EQ(fast.ToVector(), reference.ToVector()) << "seed " << seed;
    EXPECT_EQ(fastCounter, referenceCounter) << "seed " << seed;
  }
}

}  // namespace
