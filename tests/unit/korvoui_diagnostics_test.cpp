// korvoui_diagnostics_test.cpp: compile errors as `korvoui check` and the play
// overlay report them, beyond the korvoui_check scripts (positioned errors with
// hints and notes), and the tab expansion that keeps the overlay's caret under
// its column.
#include <gtest/gtest.h>

#include "tools/korvoui/diagnostics.h"
#include "tools/korvoui/overlay_text.h"

TEST(Diagnostics, ErrorsWithoutPositionAreReportedWhole) {
  const std::string error = "Compile Error : data/script/ui/ui_script.txt not found";
  const ScriptDiagnostic d = DiagnoseCompileError(error, "");
  EXPECT_FALSE(d.positioned);
  EXPECT_EQ(FormatDiagnostic("ui.txt", error, d), "ui.txt: error: " + error + "\n");
}

TEST(Diagnostics, TabsExpandToFourColumnsAndMoveTheCaretColumn) {
  // The second tab of "\ta\tb", the 'b', one past the end.
  for (const auto& [column, moved] : {std::pair{3, 6}, {4, 9}, {5, 10}}) {
    int at = column;
    EXPECT_EQ(ExpandTabs("\ta\tb", &at), "    a   b");
    EXPECT_EQ(at, moved) << column;
  }
}

// The compiler counts a line feed inside a string as a column: a string over
// a line end far before the error is not named.
TEST(Diagnostics, AStringOverALineEndFarBeforeTheErrorIsNotNamed) {
  const std::string text =
      "DIALOG \"two\nlines\" AB 0.0, 0.0, 1.0, 1.0\nBEGIN\nBUTTON \"\" IDC_A 0.0, 0.0, 1.0, 1.0\n"
      "BUTTON \"\" IDC_B 0.0, 0.0, 1, 1.0\nEND\n";
  // IDC_B's rectangle: the compiler's line 4 (one line feed was in the caption).
  const ScriptDiagnostic d =
      DiagnoseCompileError("Compile Error : Error (4, 27) : INTEGER (1) is not expected here.", text);
  ASSERT_TRUE(d.positioned);
  EXPECT_EQ(d.line, 5);
  EXPECT_EQ(d.column, 27);
  EXPECT_TRUE(d.notes.empty());
}
