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

// Strings are owned copies, of a whole text or of a given length; a null
// text is empty.
TEST(ParamValues, StringsAreOwnedCopies) {
  char text[] = "frame.tga";
  SParamValue* v = NewStringParam(text);
  text[0] = 'X';
  EXPECT_EQ(v->type, PARAM_STRING);
  EXPECT_STREQ(v->s, "frame.tga");
  SParamValue* copy = CopyParam(v);
  EXPECT_NE(copy->s, v->s);
  EXPECT_STREQ(copy->s, "frame.tga");
  SParamValue* part = NewStringParam("\"quoted\"" + 1, 6);
  EXPECT_EQ(part->type, PARAM_STRING);
  EXPECT_STREQ(part->s, "quoted");
  SParamValue* none = NewStringParam(nullptr);
  EXPECT_STREQ(none->s, "");
  // A text holding a NUL ends there, whatever length is given.
  SParamValue* cut = NewStringParam("ab\0cdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ", 64);
  EXPECT_STREQ(cut->s, "ab");
  for (SParamValue* p : {v, copy, part, none, cut}) FreeParam(p);
  // Lengths on both sides of the largest pooled block.
  for (size_t length : {46u, 47u, 48u, 49u}) FreeParam(NewStringParam(std::string(length, 'x').c_str()));
}

TEST(ParamValues, CopyParamListIsDeepAndKeepsOrder) {
  SParamList* list = Chain({NewIntParam(7), NewFloatParam(0.5f), NewStringParam("NORMAL")});
  SParamList* copy = CopyParamList(list);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, list);
  EXPECT_EQ(copy->value->type, PARAM_INTEGER);
  EXPECT_EQ(copy->value->i, 7);
  EXPECT_EQ(copy->next->value->type, PARAM_FLOAT);
  EXPECT_FLOAT_EQ(copy->next->value->f, 0.5f);
  SParamValue* s = copy->next->next->value;
  EXPECT_EQ(s->type, PARAM_STRING);
  EXPECT_NE(s->s, list->next->next->value->s);
  EXPECT_STREQ(s->s, "NORMAL");
  EXPECT_EQ(copy->next->next->next, nullptr);
  FreeParamList(list);
  FreeParamList(copy);
  EXPECT_EQ(CopyParamList(nullptr), nullptr);
}

TEST(ParamValues, PackedCopyReadsLikeTheChainAndOwnsItsTexts) {
  char text[] = "button01.tga";
  SParamList* list = Chain({NewStringParam(text), NewIntParam(-3), NewFloatParam(0.25f), NewStringParam(""),
                            NewStringParam("long enough to need more than one small block of text")});
  SParamList* packed = CopyParamListPacked(list);
  FreeParamList(list);   // the copy depends on nothing of the source
  text[0] = 'X';
  ASSERT_NE(packed, nullptr);
  int32_t i = 0;
  float f = 0;
  const char *first = nullptr, *empty = nullptr, *last = nullptr;
  const SParamDesc desc[5] = {{PARAM_STRING, &first}, {PARAM_INTEGER, &i}, {PARAM_FLOAT, &f},
                              {PARAM_STRING, &empty}, {PARAM_STRING, &last}};
  EXPECT_EQ(ReadParams(packed, desc, 1, 5), 5);
  EXPECT_STREQ(first, "button01.tga");
  EXPECT_EQ(i, -3);
  EXPECT_FLOAT_EQ(f, 0.25f);
  EXPECT_STREQ(empty, "");
  EXPECT_STREQ(last, "long enough to need more than one small block of text");
  EXPECT_EQ(packed->next->next->next->next->next, nullptr);
  FreePackedParamList(packed);
  EXPECT_EQ(CopyParamListPacked(nullptr), nullptr);

  // Cells without a value stay empty in the packed copy.
  list = Chain({NewIntParam(1), nullptr, NewIntParam(3)});
  packed = CopyParamListPacked(list);
  ASSERT_NE(packed, nullptr);
  EXPECT_EQ(packed->value->i, 1);
  EXPECT_EQ(packed->next->value, nullptr);
  EXPECT_EQ(packed->next->next->value->i, 3);
  FreeParamList(list);
  FreePackedParamList(packed);
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

TEST(ReadParams, FullReadStopsAtLastAndLendsStrings) {
  SParamList* list =
      Chain({NewStringParam("MENU"), NewFloatParam(12.5f), NewIntParam(3), NewIntParam(99)});
  const char* font = nullptr;
  float metric = 0;
  int32_t stroke = 0;
  const SParamDesc desc[] = {{PARAM_STRING, &font}, {PARAM_FLOAT, &metric}, {PARAM_INTEGER, &stroke}};
  SetErrorText("untouched");
  EXPECT_EQ(ReadParams(list, desc, 1, 3), 3);   // the fourth value is not read
  EXPECT_STREQ(GetErrorText(), "untouched");
  EXPECT_EQ(font, list->value->s);             // points into the list, not a copy
  EXPECT_FLOAT_EQ(metric, 12.5f);
  EXPECT_EQ(stroke, 3);
  FreeParamList(list);
}
