// korvoui_diagnostics_test.cpp: compile errors as `korvoui check` and the play
// overlay report them, and the tab expansion that keeps the overlay's caret
// under its column.
#include <gtest/gtest.h>

#include "tools/korvoui/diagnostics.h"
#include "tools/korvoui/overlay_text.h"

TEST(Diagnostics, PositionedErrorsGiveLineCaretAndHint) {
  const std::string text = "DIALOG \"a\" AB 0.0, 0.0, 1.0, 1.0\r\nBEGIN\n\tBUTTON \"\" IDC_X 0.0, 0.0, 10, 1.0\nEND\n";
  const std::string error = "Compile Error : Error (3, 28) : INTEGER (10) is not expected here.";
  const ScriptDiagnostic d = DiagnoseCompileError(error, text);
  ASSERT_TRUE(d.positioned);
  EXPECT_EQ(d.line, 3);
  EXPECT_EQ(d.column, 28);
  EXPECT_EQ(d.message, "INTEGER (10) is not expected here.");
  EXPECT_EQ(d.source, "\tBUTTON \"\" IDC_X 0.0, 0.0, 10, 1.0");
  EXPECT_EQ(d.caret, "\t                          ^");
  EXPECT_EQ(d.hint, "rectangle values are floats: write 1.0, not 1");
  EXPECT_EQ(FormatDiagnostic("ui.txt", error, d),
            "ui.txt:3:28: error: INTEGER (10) is not expected here.\n"
            "\tBUTTON \"\" IDC_X 0.0, 0.0, 10, 1.0\n"
            "\t                          ^\n"
            "hint: rectangle values are floats: write 1.0, not 1\n");
}

// End of file points past the last byte.
TEST(Diagnostics, EndOfFilePointsPastTheLastByte) {
  const ScriptDiagnostic d =
      DiagnoseCompileError("Compile Error : error : Unexpected end-of-file", "DIALOG \"a\" AB\nBEGIN");
  ASSERT_TRUE(d.positioned);
  EXPECT_EQ(d.line, 2);
  EXPECT_EQ(d.column, 6);
  EXPECT_EQ(d.source, "BEGIN");
  EXPECT_EQ(d.caret, "     ^");
  EXPECT_EQ(d.hint, "");
}

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

TEST(Diagnostics, EndOfFileNamesTheDialogAndControlLeftOpen) {
  const std::string text =
      "DIALOG \"a\" AB 0.0, 0.0, 1.0, 1.0\nBEGIN\n  STATIC \"s\" IDC_S 0.0, 0.0, 1.0, 1.0\n    PARAM \"MENU\",";
  const ScriptDiagnostic d = DiagnoseCompileError("Compile Error : error : Unexpected end-of-file", text);
  ASSERT_TRUE(d.positioned);
  ASSERT_EQ(d.notes.size(), 2u);
  EXPECT_EQ(d.notes[0].text, "dialog 'AB' begins here and has no END");
  EXPECT_EQ(d.notes[0].place.line, 1);
  EXPECT_EQ(d.notes[0].place.column, 1);
  EXPECT_EQ(d.notes[1].text, "the last control, STATIC 'IDC_S', begins here");
  EXPECT_EQ(d.notes[1].place.line, 3);
  EXPECT_EQ(d.notes[1].place.column, 3);
  EXPECT_NE(FormatDiagnostic("ui.txt", "", d).find("ui.txt:3:3: note: the last control"), std::string::npos);
}

// The compiler counts a line feed inside a string as a column: after the
// caption that lost its quote, (3, 43) is the file's line 4, column 8.
TEST(Diagnostics, PositionsAfterAStringOverALineEndAreTheFilesAndTheStringIsNamed) {
  const std::string text =
      "DIALOG \"a\" AB 0.0, 0.0, 1.0, 1.0\nBEGIN\nSTATIC \"x IDC_A 0.0, 0.0, 1.0, 1.0\n"
      "PARAM \"MENU\" 12\nEND\n";
  const ScriptDiagnostic d =
      DiagnoseCompileError("Compile Error : Error (3, 43) : CHARS (MENU) is not expected here.", text);
  ASSERT_TRUE(d.positioned);
  EXPECT_EQ(d.line, 4);
  EXPECT_EQ(d.column, 8);
  EXPECT_EQ(d.source, "PARAM \"MENU\" 12");
  ASSERT_EQ(d.notes.size(), 1u);
  EXPECT_EQ(d.notes[0].text, "this string runs past the end of its line: is a closing quote missing?");
  EXPECT_EQ(d.notes[0].place.line, 3);
  EXPECT_EQ(d.notes[0].place.column, 8);
}

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
