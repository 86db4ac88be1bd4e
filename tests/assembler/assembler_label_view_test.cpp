// The label view rows: filter mask, unit visibility, sorting and the
// selected labels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assembler/qrx_assembler.h"
#include "assembler_support.h"

namespace {

using assembler_test::AssembleSource;
using assembler_test::LabelViewKeys;
using V = std::vector<std::string>;

// A string list holding names.
struct TNames : TCustomStringList {
  explicit TNames(const V& names) {
    for (const std::string& name : names)
      Add(name);
  }
};

class AssemblerLabelView : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(AssembleSource(assembler_, {"START: NOP", ">LOOP: NOP", "^PTR: DW 0", "#IMM EQU 5",
                                          "PROC", "ENDPROC", "MATH: UNIT", "SQ: DW 0", "ENDUNIT",
                                          "aaa: NOP", "Zed: NOP"}),
              0);
    ASSERT_TRUE(assembler_.LabelView().Empty());  // Assemble empties the view
  }
  V Build(uint16_t mask) {
    assembler_.BuildLabelView(mask);
    return LabelViewKeys(assembler_);
  }
  void Mark(const V& names) { assembler_.MarkSelectedLabels(TNames(names)); }

  TQRXAssembler assembler_;
};

TEST_F(AssemblerLabelView, MaskSelectsKinds) {
  const V registers = {"CF", "PC", "SF", "SP", "VF", "ZF"};
  struct TCase {
    uint16_t mask;
    V keys;
  };
  const std::vector<TCase> cases = {
      {0x000, registers},
      {0x020, registers},  // carried in the mask, changes nothing here
      {0x156,
       {"*0000.*", ">LOOP.*", "^PTR.*", "aaa.*", "CF", "IMM.*", "MATH.*", "PC", "SF", "SP",
        "START.*", "VF", "Zed.*", "ZF"}},
      {0x152,
       {"*0000.*", "^PTR.*", "aaa.*", "CF", "IMM.*", "MATH.*", "PC", "SF", "SP", "START.*", "VF",
        "Zed.*", "ZF"}},
      {0x002, {"aaa.*", "CF", "MATH.*", "PC", "SF", "SP", "START.*", "VF", "Zed.*", "ZF"}},
      {0x004, {">LOOP.*", "CF", "PC", "SF", "SP", "VF", "ZF"}},
      {0x010, {"^PTR.*", "CF", "PC", "SF", "SP", "VF", "ZF"}},
      {0x040, {"CF", "IMM.*", "PC", "SF", "SP", "VF", "ZF"}},
      {0x100, {"*0000.*", "CF", "PC", "SF", "SP", "VF", "ZF"}},
      {0x157, registers},  // bit 0: registers and selected labels only
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(Build(c.mask), c.keys) << std::hex << c.mask;
    EXPECT_EQ(assembler_.LabelFilter(), c.mask);
  }
}

TEST_F(AssemblerLabelView, SelectedLabelsAreAlwaysShownUnlessTheirUnitIsHidden) {
  Mark({"START.*", ">loop.*", "SQ.MATH.*", "GONE.*"});
  EXPECT_EQ(Build(0x001), (V{">LOOP.*", "CF", "PC", "SF", "SP", "START.*", "VF", "ZF"}));
  // A line label without the line-label bit is left out unless selected.
  EXPECT_EQ(Build(0x040), (V{">LOOP.*", "CF", "IMM.*", "PC", "SF", "SP", "START.*", "VF", "ZF"}));
  assembler_.SetVisibleUnits(TNames({"MATH"}));
  EXPECT_EQ(Build(0x001),
            (V{">LOOP.*", "CF", "PC", "SF", "SP", "SQ.MATH.*", "START.*", "VF", "ZF"}));
}

TEST_F(AssemblerLabelView, ShowingTheUnitBringsItsLabelsIn) {
  EXPECT_EQ(Build(0x002),
            (V{"aaa.*", "CF", "MATH.*", "PC", "SF", "SP", "START.*", "VF", "Zed.*", "ZF"}));
  assembler_.SetVisibleUnits(TNames({"math"}));
  EXPECT_EQ(Build(0x002), (V{"aaa.*", "CF", "MATH.*", "PC", "SF", "SP", "SQ.MATH.*", "START.*",
                             "VF", "Zed.*", "ZF"}));
}

TEST_F(AssemblerLabelView, SortingPutsRegistersFirstThenKeysWithoutRegardToCase) {
  const V tableOrder = Build(0x156);
  assembler_.SetSortLabels(true);
  EXPECT_TRUE(assembler_.SortLabels());
  EXPECT_EQ(LabelViewKeys(assembler_),
            (V{"PC", "SP", "VF", "SF", "ZF", "CF", "IMM.*", "*0000.*", ">LOOP.*", "^PTR.*", "aaa.*",
               "MATH.*", "START.*", "Zed.*"}));
  // Rebuilding while sorting is on sorts again; switching on twice does nothing.
  EXPECT_EQ(Build(0x004), (V{"PC", "SP", "VF", "SF", "ZF", "CF", ">LOOP.*"}));
  assembler_.SetSortLabels(true);
  EXPECT_EQ(LabelViewKeys(assembler_), (V{"PC", "SP", "VF", "SF", "ZF", "CF", ">LOOP.*"}));
  // Off: the table's order with the last mask.
  assembler_.SetSortLabels(false);
  EXPECT_FALSE(assembler_.SortLabels());
  EXPECT_EQ(LabelViewKeys(assembler_), (V{">LOOP.*", "CF", "PC", "SF", "SP", "VF", "ZF"}));
  Build(0x156);
  EXPECT_EQ(LabelViewKeys(assembler_), tableOrder);
}

TEST_F(AssemblerLabelView, RowsPointAtTheLabelRecords) {
  Build(0x156);
  const int row = assembler_.LabelView().IndexOf("START.*");
  ASSERT_GE(row, 0);
  TKwValues* record = assembler_.LabelView().Ref(row);
  EXPECT_EQ(record, assembler_.Labels().FindRecord("START.*"));
  record->Selected = true;  // as the view does when the user marks it
  EXPECT_EQ(assembler_.SelectedLabels().ToVector(), (V{"START.*"}));
}

TEST_F(AssemblerLabelView, SelectedNamesSurviveReassemblyOnlyThroughTheList) {
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
