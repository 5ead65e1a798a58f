// params_test.cpp: parameter chains and the ReadParams rule.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "korvogui/korvogui.h"
#include "runtime/params.h"
#include "runtime/window_manager.h"

namespace {

// Builds a chain from values (taken over by the chain).
SParamList* Chain(std::initializer_list<SParamValue*> values) {
  SParamList* head = nullptr;
  SParamList** tail = &head;
  for (SParamValue* v : values) {
    *tail = new SParamList;
    (*tail)->value = v;
    tail = &(*tail)->next;
  }
  return head;
}

// "int 7, float 0.500000, string a, none": the values of a chain.
std::string Values(const SParamList* list) {
  std::string out;
  for (const SParamList* p = list; p; p = p->next) {
    const SParamValue* v = p->value;
    out += out.empty() ? "" : ", ";
    if (!v) out += "none";
    else if (v->type == PARAM_INTEGER) out += "int " + std::to_string(v->i);
    else if (v->type == PARAM_FLOAT) out += "float " + std::to_string(v->f);
    else out += std::string("string ") + v->s;
  }
  return out;
}

}  // namespace

// Strings are owned copies, of a whole text or of a given length (a NUL
// inside ends them); a null text is empty. The packed copy (what a control
// keeps) keeps the order, cells without a value and nothing of the source. A full read stops at `last`, leaves the error text alone and
// lends the stored strings.
TEST(ParamValues, CopiesKeepTheValuesAndOwnTheirTexts) {
  char text[] = "button01.tga";
  SParamList* list = Chain({NewStringParam(text), NewIntParam(-3), NewFloatParam(0.25f), nullptr,
                            NewStringParam("\"quoted\"" + 1, 6), NewStringParam(nullptr),
                            NewStringParam("ab\0cdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ", 64),
                            NewStringParam("long enough to need more than one small block of text")});
  text[0] = 'X';
  SParamList* packed = CopyParamListPacked(list);
  FreeParamList(list);
  const std::string values = "string button01.tga, int -3, float 0.250000, none, string quoted, string , "
                             "string ab, string long enough to need more than one small block of text";
  EXPECT_EQ(Values(packed), values);

  int32_t i = 0;
  float f = 0;
  const char* first = nullptr;
  const SParamDesc desc[3] = {{PARAM_STRING, &first}, {PARAM_INTEGER, &i}, {PARAM_FLOAT, &f}};
  SetErrorText("untouched");
  EXPECT_EQ(ReadParams(packed, desc, 1, 3), 3);
  EXPECT_STREQ(GetErrorText(), "untouched");
  EXPECT_EQ(first, packed->value->s);
  FreePackedParamList(packed);
  EXPECT_EQ(CopyParamListPacked(nullptr), nullptr);
  // Lengths on both sides of the largest pooled block.
  for (size_t length : {46u, 47u, 48u, 49u}) FreeParam(NewStringParam(std::string(length, 'x').c_str()));
}

// A read that fails names the parameter (numbered from `first`) or the
// count missing, gives the number of values read, and keeps the values
// copied before the failure.
TEST(ReadParams, FailuresNameTheParameterAndGiveTheNumberRead) {
  int32_t v[8] = {};
  float period = 0;
  SParamDesc desc[9];
  for (int i = 0; i < 8; ++i) desc[i] = {PARAM_INTEGER, &v[i]};
  desc[8] = {PARAM_FLOAT, &period};
  const struct {
    SParamList* list;
    int first, last, read;
    const char* error;
  } cases[] = {
      {Chain({NewIntParam(4), NewIntParam(5)}), 1, 3, 2, "additional 1 param(s) needed"},
      {nullptr, 2, 9, 1, "additional 8 param(s) needed"},   // the rest of a list after its first value
      {Chain({NewIntParam(6), NewStringParam("x")}), 2, 9, 0, "type mismatch : param 3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadParams(c.list, desc, c.first, c.last), c.read) << c.error;
    EXPECT_STREQ(GetErrorText(), c.error);
    FreeParamList(c.list);
  }
  EXPECT_EQ(v[0], 6);   // values before the mismatch are already copied
  EXPECT_EQ(v[1], 5);
  EXPECT_EQ(v[2], 0);
}
