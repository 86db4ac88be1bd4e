// Unit visibility and the listing rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assembler/qrx_assembler.h"
#include "assembler_support.h"

namespace {

using assembler_test::AssembleSource;
using assembler_test::ListingLines;

const std::vector<std::string> kUnitSource = {"NOP",     "MATH: UNIT", "SQ: PROC", "RET",
                                              "ENDPROC", "ENDUNIT",    "HALT"};

void ShowUnits(TQRXAssembler& assembler, const std::vector<std::string>& names) {
  TCustomStringList list;
  for (const std::string& name : names)
    list.Add(name);
  assembler.SetVisibleUnits(list);
}

std::vector<std::string> VisibleUnits(const TQRXAssembler& assembler) {
  TCustomStringList names;
  names.Add("stale");
  assembler.CollectVisibleUnits(names);
  return names.ToVector();
}

TEST(AssemblerListing, AHiddenUnitLeavesOutItsUnitBodyAndEndunitLines) {
  TQRXAssembler assembler;
  ASSERT_EQ(AssembleSource(assembler, kUnitSource), 0);
  EXPECT_EQ(ListingLines(assembler), (std::vector<int>{0, 6}));
  EXPECT_EQ(assembler.Listing()[1], assembler.LineText(6));
  EXPECT_EQ(assembler.Listing().Ref(1), &assembler.LineAt(6));
  for (int i = 1; i <= 5; ++i)
    EXPECT_FALSE(assembler.LineAt(i).Visible) << i;
  EXPECT_TRUE(assembler.LineAt(0).Visible);
  EXPECT_TRUE(assembler.LineAt(6).Visible);

  ShowUnits(assembler, {"math"});
  EXPECT_EQ(ListingLines(assembler), (std::vector<int>{0, 6}));  // only after BuildListing
  assembler.BuildListing();
  EXPECT_EQ(ListingLines(assembler), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_TRUE(assembler.LineAt(5).Visible);
}

TEST(AssemblerListing, ListingRowOfFindsVisibleLinesOnly) {
  TQRXAssembler assembler;
  EXPECT_EQ(assembler.ListingRowOf(0), -1);  // nothing built yet
  AssembleSource(assembler, kUnitSource);
  const std::vector<std::pair<int, int>> hidden = {{0, 0}, {1, -1},  {3, -1}, {5, -1},
                                                   {6, 1}, {-1, -1}, {7, -1}};
  for (const auto& [line, row] : hidden)
    EXPECT_EQ(assembler.ListingRowOf(line), row) << line;

  ShowUnits(assembler, {"MATH"});
  assembler.BuildListing();
  for (int line = 0; line < assembler.LineCount(); ++line)
    EXPECT_EQ(assembler.ListingRowOf(line), line);
}

TEST(AssemblerListing, ShownUnitsStayShownAcrossReassemblyNewOnesStartHidden) {
  TQRXAssembler assembler;
  AssembleSource(assembler, kUnitSource);
  ShowUnits(assembler, {"MATH"});
  std::vector<std::string> edited = kUnitSource;
  edited.insert(edited.end(), {"GFX: UNIT", "NOP", "ENDUNIT", "NOP"});
  ASSERT_EQ(AssembleSource(assembler, edited), 0);
  EXPECT_EQ(ListingLines(assembler), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 10}));
  EXPECT_EQ(VisibleUnits(assembler), (std::vector<std::string>{"MATH"}));

  // A unit the source no longer has keeps its entry and its flag.
  ASSERT_EQ(AssembleSource(assembler, {"NOP"}), 0);
  EXPECT_EQ(assembler.Units().ToVector(),
            (std::vector<std::string>{"*=.*", "GFX=.GFX.*", "MATH=.MATH.*"}));
  EXPECT_EQ(VisibleUnits(assembler), (std::vector<std::string>{"MATH"}));
}

TEST(AssemblerListing, VisibleUnitNamesIncludeTheTopLevelWhenItsFlagIsSet) {
  TQRXAssembler assembler;
  AssembleSource(assembler, {"B: UNIT", "ENDUNIT", "A: UNIT", "ENDUNIT"});
  EXPECT_EQ(VisibleUnits(assembler), (std::vector<std::string>{"*"}));
  ShowUnits(assembler, {"b", "*", "NOSUCH"});
  EXPECT_EQ(VisibleUnits(assembler), (std::vector<std::string>{"*", "B"}));
  // Clearing the top level's flag hides nothing.
  ShowUnits(assembler, {});
  assembler.BuildListing();
  EXPECT_EQ(VisibleUnits(assembler), (std::vector<std::string>{}));
  EXPECT_TRUE(assembler.IsUnitVisible(".*"));
  EXPECT_TRUE(assembler.IsUnitVisible("X.*"));
  EXPECT_EQ(assembler.Listing().Count(), 0);
}

TEST(AssemblerListing, IsUnitVisibleTestsTheUnitSuffix) {
  TQRXAssembler assembler;
  AssembleSource(assembler, {"MATH: UNIT", "ENDUNIT", "IO: UNIT", "ENDUNIT"});
  ShowUnits(assembler, {"IO"});
  const std::vector<std::pair<std::string, bool>> cases = {
      {".MATH.*", false},   {".P.math.*", false}, {"X.MATH.*", false}, {"SQ.P.MATH.*", false},
      {".IO.*", true},      {".*", true},         {"PC", true},        {"MATH.*", true},
      {".MATH.IO.*", true}, {".XMATH.*", true},   {"", true},          {".MATHS.*", true}};
  for (const auto& [text, visible] : cases)
    EXPECT_EQ(assembler.IsUnitVisible(text), visible) << text;
}

TEST(AssemblerListing, OneUnitsFlagIsSetByItsTableIndex) {
  TQRXAssembler assembler;
  // Table order is sorted: "*=.*", "GFX=.GFX.*", "MATH=.MATH.*".
  ASSERT_EQ(AssembleSource(assembler,
                           {"MATH: UNIT", "NOP", "ENDUNIT", "GFX: UNIT", "NOP", "ENDUNIT", "HALT"}),
            0);
  EXPECT_EQ(assembler.UnitNameAt(0), "*");
  EXPECT_EQ(assembler.UnitNameAt(1), "GFX");
  EXPECT_EQ(assembler.UnitNameAt(2), "MATH");
  EXPECT_EQ(assembler.UnitNameAt(3), "");
  EXPECT_EQ(assembler.UnitNameAt(-1), "");

  ASSERT_TRUE(assembler.SetUnitVisible(2, true));
  assembler.BuildListing();
  EXPECT_EQ(VisibleUnits(assembler), (std::vector<std::string>{"*", "MATH"}));
  EXPECT_EQ(ListingLines(assembler), (std::vector<int>{0, 1, 2, 6}));

  ASSERT_TRUE(assembler.SetUnitVisible(1, true));
  ASSERT_TRUE(assembler.SetUnitVisible(2, false));
  assembler.BuildListing();
  EXPECT_EQ(VisibleUnits(assembler), (std::vector<std::string>{"*", "GFX"}));
  EXPECT_EQ(ListingLines(assembler), (std::vector<int>{3, 4, 5, 6}));

  // Indices outside the table change nothing.
  for (int index : {-1, 3, 100}) {
    EXPECT_FALSE(assembler.SetUnitVisible(index, false)) << index;
    EXPECT_EQ(VisibleUnits(assembler), (std::vector<std::string>{"*", "GFX"})) << index;
  }
}

TEST(AssemblerListing, EndunitOnTheFirstLineTakesItsOwnScope) {
  TQRXAssembler assembler;
  AssembleSource(assembler, {"ENDUNIT", "NOP"});
  EXPECT_LT(assembler.LineAt(0).ErrorCode, 0);
  EXPECT_EQ(ListingLines(assembler), (std::vector<int>{0, 1}));
}

TEST(AssemblerListing, ErrorsInAUnitWithoutNameStayInView) {
  TQRXAssembler assembler;
  AssembleSource(assembler, {"UNIT", "FOO", "ENDUNIT"});
  EXPECT_EQ(ListingLines(assembler), (std::vector<int>{0, 1, 2}));
}

}  // namespace
