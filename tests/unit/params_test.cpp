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

}  // namespace

// Strings are owned copies, of a whole text or of a given length (a NUL
// inside ends them); a null text is empty. A copied chain is deep and keeps
// its order.
TEST(ParamValues, StringsAndChainsAreOwnedCopies) {
  char text[] = "frame.tga";
  SParamList* list = Chain({NewStringParam(text), NewIntParam(7), NewFloatParam(0.5f),
                            NewStringParam("\"quoted\"" + 1, 6), NewStringParam(nullptr),
                            NewStringParam("ab\0cdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ", 64)});
  text[0] = 'X';
  SParamList* copy = CopyParamList(list);
  FreeParamList(list);
  ASSERT_NE(copy, nullptr);
  const char *frame = nullptr, *quoted = nullptr, *none = nullptr, *cut = nullptr;
  int32_t i = 0;
  float f = 0;
  const SParamDesc desc[6] = {{PARAM_STRING, &frame}, {PARAM_INTEGER, &i}, {PARAM_FLOAT, &f},
                              {PARAM_STRING, &quoted}, {PARAM_STRING, &none}, {PARAM_STRING, &cut}};
  EXPECT_EQ(ReadParams(copy, desc, 1, 6), 6);
  EXPECT_STREQ(frame, "frame.tga");
  EXPECT_EQ(i, 7);
  EXPECT_FLOAT_EQ(f, 0.5f);
  EXPECT_STREQ(quoted, "quoted");
  EXPECT_STREQ(none, "");
  EXPECT_STREQ(cut, "ab");
  FreeParamList(copy);
  EXPECT_EQ(CopyParamList(nullptr), nullptr);
  // Lengths on both sides of the largest pooled block.
  for (size_t length : {46u, 47u, 48u, 49u}) FreeParam(NewStringParam(std::string(length, 'x').c_str()));
}

// The packed copy (what a control keeps) reads like the chain and owns its
// texts; cells without a value stay empty. A full read stops at `last`,
// leaves the error text alone and lends the stored strings.
TEST(ParamValues, PackedCopyReadsLikeTheChainAndOwnsItsTexts) {
  char text[] = "button01.tga";
  SParamList* list = Chain({NewStringParam(text), NewIntParam(-3), NewFloatParam(0.25f), nullptr,
                            NewStringParam("long enough to need more than one small block of text")});
  SParamList* packed = CopyParamListPacked(list);
  FreeParamList(list);   // the copy depends on nothing of the source
  text[0] = 'X';
  ASSERT_NE(packed, nullptr);
  int32_t i = 0;
  float f = 0;
  const char* first = nullptr;
  const SParamDesc desc[3] = {{PARAM_STRING, &first}, {PARAM_INTEGER, &i}, {PARAM_FLOAT, &f}};
  SetErrorText("untouched");
  EXPECT_EQ(ReadParams(packed, desc, 1, 3), 3);
  EXPECT_STREQ(GetErrorText(), "untouched");
  EXPECT_EQ(first, packed->value->s);
  EXPECT_STREQ(first, "button01.tga");
  EXPECT_EQ(i, -3);
  EXPECT_FLOAT_EQ(f, 0.25f);
  const SParamList* fourth = packed->next->next->next;
  EXPECT_EQ(fourth->value, nullptr);
  EXPECT_STREQ(fourth->next->value->s, "long enough to need more than one small block of text");
  EXPECT_EQ(fourth->next->next, nullptr);
  FreePackedParamList(packed);
  EXPECT_EQ(CopyParamListPacked(nullptr), nullptr);
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
      {Chain({NewIntParam(1), NewFloatParam(2.0f)}), 1, 2, 0, "type mismatch : param 2"},
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
