// param_shapes_test.cpp: the table of PARAM list shapes says what the
// controls read: a control given exactly its class's lists opens; one list
// fewer, a required value left out or a value of another kind fails the
// opening. Each case is a small script compiled and opened through the module.
#include <map>
#include <string>
#include <vector>

#include "runtime/param_shapes.h"
#include "script/compiler.h"
#include "tests/unit/runtime_fixture.h"

namespace {

// Values that a control accepts, per shape.
const std::map<const SListShape*, std::vector<std::string>>& Samples() {
  static const std::map<const SListShape*, std::vector<std::string>> samples = {
      {&kTextList, {"\"MENU\"", "16.0", "1.0", "2", "255", "255", "255", "255"}},
      {&kBitmapList, {"\"null\"", "255", "255", "255", "255", "1.0", "1.0"}},
      {&kPulseList, {"255", "255", "255", "255", "255", "230", "200", "200", "0.6"}},
      {&kListRowsList, {"255", "190", "90", "255", "4"}},
      {&kDefaultRowList, {"\"ROW\""}},
      {&kSliderList, {"1", "0", "100", "0.02"}},
      {&kRotateStateList, {"\"null\"", "255", "255", "255", "255", "0"}},
      {&kTextStateList, {"\"A\"", "255", "255", "255", "255", "0"}},
  };
  return samples;
}

using Lists = std::vector<std::vector<std::string>>;

// The first `count` lists of a class, each with its sample values.
Lists SampleLists(const SClassParams& c, int count) {
  Lists lists;
  for (int i = 0; i < count; ++i) {
    const SListShape* shape = i < int(c.lists.size()) ? c.lists[size_t(i)].shape : c.rest;
    lists.push_back(Samples().at(shape));
  }
  return lists;
}

// Compiles a dialog holding the control and opens it; the last error when it
// does not open, "" when it does.
std::string OpenWith(const std::string& className, const Lists& lists) {
  std::string script = "DIALOG \"s\" SHAPES 0.0, 0.0, 1.0, 1.0\nBEGIN\n" + className +
                       " \"\" IDC_SHAPE_UNDER_TEST 0.2, 0.2, 0.1, 0.1\n";
  for (const auto& list : lists) {
    script += "PARAM ";
    for (size_t k = 0; k < list.size(); ++k) script += (k ? ", " : "") + list[k];
    script += "\n";
  }
  script += "END\n";
  CDialogTable* table = CompileScript(script.c_str());
  if (!table) return std::string("compile: ") + GetErrorText();
  InstallDialogTable(table);
  if (!GUI_CreateDialog("SHAPES")) return GUI_GetLastError();
  GUI_DestroyDialog("SHAPES");
  return "";
}

// A value of another kind than `kind`.
std::string OtherKind(uint32_t kind) { return kind == PARAM_INTEGER ? "7.5" : "7"; }

using ParamShapesTest = RuntimeTest;

// Exactly the class's lists open; one list fewer, a required value left out
// of a list read at every creation, or a value of another kind fails.
TEST_F(ParamShapesTest, ExactlyTheClassesListsOpenAndNoShortOrWrongList) {
  for (const SClassParams& c : ClassParamsTable()) {
    EXPECT_EQ(OpenWith(c.className, SampleLists(c, c.least)), "") << c.className;
    if (c.least > 0) {
      EXPECT_NE(OpenWith(c.className, SampleLists(c, c.least - 1)), "") << c.className;
    }
    for (int i = 0; i < c.least; ++i) {
      const SListShape& shape = i < int(c.lists.size()) ? *c.lists[size_t(i)].shape : *c.rest;
      if (i < int(c.lists.size()) && c.lists[size_t(i)].use != EListUse::kAlways) continue;
      Lists lists = SampleLists(c, c.least);
      lists[size_t(i)].resize(size_t(shape.required - 1));
      if (!lists[size_t(i)].empty()) {   // a PARAM line holds at least one value
        EXPECT_NE(OpenWith(c.className, lists), "") << c.className << " list " << i << " short";
      }
      for (int k = 0; k < shape.required; ++k) {
        Lists changed = SampleLists(c, c.least);
        changed[size_t(i)][size_t(k)] = OtherKind(ShapeKind(shape, k));
        EXPECT_NE(OpenWith(c.className, changed), "") << c.className << " list " << i << " value " << k;
      }
    }
  }
}

}  // namespace
