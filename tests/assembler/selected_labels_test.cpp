// The selected labels: collected by key, marked again after a new assembly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assembler/qrx_assembler.h"
#include "assembler_support.h"

namespace {

using assembler_test::AssembleSource;
using assembler_test::LabelKindsSource;
using assembler_test::TNames;
using V = std::vector<std::string>;

class AssemblerSelectedLabels : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(AssembleSource(assembler_, LabelKindsSource()), 0); }
  void Mark(const V& names) { assembler_.MarkSelectedLabels(TNames(names)); }

  TQRXAssembler assembler_;
};

TEST_F(AssemblerSelectedLabels, SelectedNamesSurviveReassemblyOnlyThroughTheList) {
  Mark({"zed.*", "START.*", "GONE.*"});
  const TCustomStringList& selected = assembler_.SelectedLabels();
  EXPECT_EQ(selected.ToVector(), (V{"START.*", "Zed.*"}));
  EXPECT_EQ(&selected, &assembler_.SelectedLabelNames());
  const TNames kept(selected.ToVector());

  ASSERT_EQ(assembler_.Assemble().Tally, 0);
  EXPECT_TRUE(assembler_.SelectedLabels().Empty());
  assembler_.MarkSelectedLabels(kept);
  EXPECT_EQ(assembler_.SelectedLabels().ToVector(), (V{"START.*", "Zed.*"}));

  // A name that no longer exists changes nothing; marks are only added.
  AssembleSource(assembler_, {"START: NOP", "OTHER: NOP"});
  assembler_.MarkSelectedLabels(kept);
  EXPECT_EQ(assembler_.SelectedLabels().ToVector(), (V{"START.*"}));
  EXPECT_FALSE(assembler_.Labels().RecordOf("OTHER.*").Selected);
}

}  // namespace
