// The label view's rows: filter mask, unit visibility, sorting, the
// selected labels, and rows that lapse with a new assembly.
#include "workbench/label_view_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../assembler/assembler_support.h"
#include "assembler/qrx_assembler.h"

namespace {

using assembler_test::AssembleSource;
using assembler_test::LabelKindsSource;
using assembler_test::TNames;
using V = std::vector<std::string>;

TEST(LabelViewModel, StartsWithTheRegistersUnsorted) {
  TQRXAssembler assembler;
  const TLabelViewModel model(assembler);
  EXPECT_EQ(model.Rows().ToVector(), (V{"CF", "PC", "SF", "SP", "VF", "ZF"}));
  EXPECT_EQ(model.Filter(), 0);
  EXPECT_FALSE(model.Sorted());
}

class LabelViewRows : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(AssembleSource(assembler_, LabelKindsSource()), 0);
    ASSERT_TRUE(model_.Rows().Empty());  // Assemble empties the view
  }
  V Build(uint16_t mask) {
    model_.Build(mask);
    return Keys();
  }
  V Keys() const { return model_.Rows().ToVector(); }
  void Mark(const V& names) { assembler_.MarkSelectedLabels(TNames(names)); }

  TQRXAssembler assembler_;
  TLabelViewModel model_{assembler_};
};

TEST_F(LabelViewRows, MaskSelectsKinds) {
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
    EXPECT_EQ(model_.Filter(), c.mask);
  }
}

TEST_F(LabelViewRows, SelectedLabelsAreAlwaysShownUnlessTheirUnitIsHidden) {
  Mark({"START.*", ">loop.*", "SQ.MATH.*", "GONE.*"});
  EXPECT_EQ(Build(0x001), (V{">LOOP.*", "CF", "PC", "SF", "SP", "START.*", "VF", "ZF"}));
  // A line label without the line-label bit is left out unless selected.
  EXPECT_EQ(Build(0x040), (V{">LOOP.*", "CF", "IMM.*", "PC", "SF", "SP", "START.*", "VF", "ZF"}));
  assembler_.SetVisibleUnits(TNames({"MATH"}));
  EXPECT_EQ(Build(0x001),
            (V{">LOOP.*", "CF", "PC", "SF", "SP", "SQ.MATH.*", "START.*", "VF", "ZF"}));
}

TEST_F(LabelViewRows, ShowingTheUnitBringsItsLabelsIn) {
  EXPECT_EQ(Build(0x002),
            (V{"aaa.*", "CF", "MATH.*", "PC", "SF", "SP", "START.*", "VF", "Zed.*", "ZF"}));
  assembler_.SetVisibleUnits(TNames({"math"}));
  EXPECT_EQ(Build(0x002), (V{"aaa.*", "CF", "MATH.*", "PC", "SF", "SP", "SQ.MATH.*", "START.*",
                             "VF", "Zed.*", "ZF"}));
}

TEST_F(LabelViewRows, SortingPutsRegistersFirstThenKeysWithoutRegardToCase) {
  const V tableOrder = Build(0x156);
  model_.SetSorted(true);
  EXPECT_TRUE(model_.Sorted());
  EXPECT_EQ(Keys(), (V{"PC", "SP", "VF", "SF", "ZF", "CF", "IMM.*", "*0000.*", ">LOOP.*", "^PTR.*",
                       "aaa.*", "MATH.*", "START.*", "Zed.*"}));
  // Rebuilding while sorting is on sorts again; switching on twice does nothing.
  EXPECT_EQ(Build(0x004), (V{"PC", "SP", "VF", "SF", "ZF", "CF", ">LOOP.*"}));
  model_.SetSorted(true);
  EXPECT_EQ(Keys(), (V{"PC", "SP", "VF", "SF", "ZF", "CF", ">LOOP.*"}));
  // Off: the table's order with the last mask.
  model_.SetSorted(false);
  EXPECT_FALSE(model_.Sorted());
  EXPECT_EQ(Keys(), (V{">LOOP.*", "CF", "PC", "SF", "SP", "VF", "ZF"}));
  Build(0x156);
  EXPECT_EQ(Keys(), tableOrder);
}

TEST_F(LabelViewRows, RowsPointAtTheLabelRecords) {
  Build(0x156);
  const int row = model_.Rows().IndexOf("START.*");
  ASSERT_GE(row, 0);
  TKwValues* record = model_.Rows().Ref(row);
  EXPECT_EQ(record, assembler_.Labels().FindRecord("START.*"));
  record->Selected = true;  // as the view does when the user marks it
  EXPECT_EQ(assembler_.SelectedLabels().ToVector(), (V{"START.*"}));
}

TEST_F(LabelViewRows, RowsLapseWithANewAssemblyUntilTheNextBuild) {
  model_.SetSorted(true);
  EXPECT_EQ(Build(0x004), (V{"PC", "SP", "VF", "SF", "ZF", "CF", ">LOOP.*"}));
  ASSERT_EQ(assembler_.Assemble().Tally, 0);
  EXPECT_TRUE(model_.Rows().Empty());
  model_.Sort();  // nothing left to sort
  EXPECT_TRUE(model_.Rows().Empty());
  EXPECT_EQ(Build(0x004), (V{"PC", "SP", "VF", "SF", "ZF", "CF", ">LOOP.*"}));
  EXPECT_EQ(model_.Rows().Ref(6), assembler_.Labels().FindRecord(">LOOP.*"));
}

}  // namespace
