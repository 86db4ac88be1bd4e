// Every code example of the help page works as it is copied out of it. The
// page marks each <pre> block with its kind:
//   class="qasm"          a program or part of one: it assembles without an
//                         error and without a hint;
//   class="qasm-mistake"  a deliberate mistake: assembling it (with --hints)
//                         gives the message or hint named in data-expect;
//   class="shell", "syntax"  commands and notation, not assembled.
// The examples are assembled in a folder that also holds the samples, so an
// INCLUDE of a sample library works as it does beside the program. The first
// program of the walk-through is run too, and must write what the page says.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace {

struct TExample {
  std::string kind;
  std::string id;
  std::string expect;
  std::string code;
  size_t line = 0;  // where the block starts in the page
};

std::string HelpPage() {
  return FileText(std::string(QRX_SAMPLES_DIR) + "/../HELP/index.html");
}

// The text of HTML as a reader sees it: tags dropped, the five entities
// that the page uses read back.
std::string PlainText(std::string html) {
  html = std::regex_replace(html, std::regex("<[^>]*>"), "");
  static const std::vector<std::pair<std::string, std::string>> kEntities = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, character] : kEntities) {
    for (size_t at = html.find(entity); at != std::string::npos;
         at = html.find(entity, at + character.size()))
      html.replace(at, entity.size(), character);
  }
  return html;
}

std::string Attribute(const std::string& tag, const std::string& name) {
  std::smatch match;
  if (!std::regex_search(tag, match, std::regex("\\s" + name + "=\"([^\"]*)\""))) return {};
  return PlainText(match[1]);
}

std::vector<TExample> Examples(const std::string& page) {
  std::vector<TExample> examples;
  const std::regex block("(<pre[^>]*>)([\\s\\S]*?)</pre>");
  for (auto it = std::sregex_iterator(page.begin(), page.end(), block);
       it != std::sregex_iterator(); ++it) {
    const std::string tag = (*it)[1];
    examples.push_back(
        {Attribute(tag, "class"), Attribute(tag, "id"), Attribute(tag, "data-expect"),
         PlainText((*it)[2]),
         static_cast<size_t>(std::count(page.begin(), page.begin() + it->position(), '\n')) + 1});
  }
  return examples;
}

class HelpExamples : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch_.Ok());
    ASSERT_TRUE(folder_.Ok());
    for (const auto& entry : std::filesystem::directory_iterator(QRX_SAMPLES_DIR))
      if (entry.is_regular_file())
        std::filesystem::copy_file(entry.path(), folder_.Path(entry.path().filename().string()));
  }
  // Assembles the code as example.qasm beside the samples, with hints.
  TToolRun Assemble(const std::string& code) {
    folder_.Write("example.qasm", code + "\n");
    return RunTool(scratch_, {"asm", "example.qasm", "--hints"}, folder_.Folder());
  }

  TTempFolder scratch_;
  TTempFolder folder_;
};

const char kClean[] = "ロード＆アセンブル正常終了\n";

TEST_F(HelpExamples, EveryBlockIsMarkedWithItsKind) {
  const std::set<std::string> kinds = {"qasm", "qasm-mistake", "shell", "syntax"};
  std::map<std::string, int> count;
  for (const TExample& example : Examples(HelpPage())) {
    EXPECT_EQ(kinds.count(example.kind), 1u)
        << "line " << example.line << ": <pre> without a known class: " << example.kind;
    ++count[example.kind];
    if (example.kind == "qasm-mistake") {
      EXPECT_FALSE(example.expect.empty()) << "line " << example.line << ": no data-expect";
    }
  }
  EXPECT_GE(count["qasm"], 12);
  EXPECT_GE(count["qasm-mistake"], 15);
}

TEST_F(HelpExamples, EveryProgramAssemblesWithoutErrorsOrHints) {
  for (const TExample& example : Examples(HelpPage())) {
    if (example.kind != "qasm") continue;
    const TToolRun run = Assemble(example.code);
    EXPECT_EQ(run.exit, 0) << "line " << example.line << "\n" << example.code << "\n" << run.err;
    EXPECT_EQ(run.err, kClean) << "line " << example.line << "\n" << example.code;
  }
}

TEST_F(HelpExamples, EveryMistakeGivesTheMessageItIllustrates) {
  for (const TExample& example : Examples(HelpPage())) {
    if (example.kind != "qasm-mistake") continue;
    const TToolRun run = Assemble(example.code);
    EXPECT_NE(run.err, kClean) << "line " << example.line;
    EXPECT_NE(run.err.find(example.expect), std::string::npos)
        << "line " << example.line << ": expected " << example.expect << "\n"
        << example.code << "\n"
        << run.err;
  }
}

// The walk-through's first program writes the digits 0 to 9 from row 2,
// column 4 of the monitor screen, as the page promises.
TEST_F(HelpExamples, TheFirstProgramWritesTheDigits) {
  const std::vector<TExample> examples = Examples(HelpPage());
  const auto first = std::find_if(examples.begin(), examples.end(),
                                  [](const TExample& e) { return e.id == "first-program"; });
  ASSERT_NE(first, examples.end());
  folder_.Write("first.qasm", first->code + "\n");
  const TToolRun run = RunTool(scratch_, {"run", "first.qasm", "--max-steps", "100000", "--screen"},
                               folder_.Folder());
  EXPECT_EQ(run.exit, 0) << run.err;
  const std::vector<std::string> rows = Lines(run.out);
  ASSERT_GT(rows.size(), 2u);
  EXPECT_EQ(rows[2], "　　　　０１２３４５６７８９");
}

}  // namespace
