// param_shapes.cpp: the PARAM list shapes of the game's control classes.
#include "runtime/param_shapes.h"

#include <cstring>

// ---- Lists --------------------------------------------------------------------------------

const SListShape kTextList = {"text list", "sfficccc", 3,
                              "font string, size float, scale float [, stroke int [, colour 4 ints]]"};
const SListShape kBitmapList = {"bitmap list", "sccccff", 1,
                                "texture string [, colour 4 ints [, u float, v float]]"};
const SListShape kPulseList = {"pulse", "ccccccccf", 9,
                               "from-colour 4 ints, to-colour 4 ints, period float"};
const SListShape kArrowLinkList = {"arrow link", "sii", 3, "edit id string, step int, limit int"};
const SListShape kListRowsList = {"row list", "cccci", 5,
                                  "selected-row colour 4 ints, visible rows int"};
const SListShape kDefaultRowList = {"default row", "s", 1, "row text string"};
const SListShape kSliderList = {"slider list", "iiif", 4,
                                "horizontal int, min int, max int, thumb size float"};
const SListShape kRotateStateList = {"state list", "scccci", 1,
                                     "texture string [, colour 4 ints [, next state int]]"};
const SListShape kTextStateList = {"state list", "scccci", 1,
                                   "caption string [, colour 4 ints [, next state int]]"};

bool ShapeColour(const SListShape& shape, int index) {
  return index >= 0 && index < ShapeLength(shape) && shape.kinds[index] == 'c';
}

uint32_t ShapeKind(const SListShape& shape, int index) {
  if (index < 0 || index >= ShapeLength(shape)) return PARAM_INTEGER;
  switch (shape.kinds[index]) {
    case 's': return PARAM_STRING;
    case 'f': return PARAM_FLOAT;
    default: return PARAM_INTEGER;
  }
}

int ShapeLength(const SListShape& shape) { return static_cast<int>(std::strlen(shape.kinds)); }

const char* KindName(uint32_t type) {
  return type == PARAM_STRING ? "string" : type == PARAM_FLOAT ? "float" : "integer";
}

int ReadShape(const SParamList* list, const SListShape& shape, void* const* dest, int first) {
  const int last = ShapeLength(shape);
  SParamDesc desc[16];
  for (int n = first; n <= last; ++n) desc[n - first] = {ShapeKind(shape, n - 1), dest[n - first]};
  return ReadParams(list, desc, first, last);
}

// ---- Classes ------------------------------------------------------------------------------

const std::vector<SClassParams>& ClassParamsTable() {
  static const std::vector<SClassParams> table = {
      {"STATIC", 1, kAnyNumber,
       {{&kTextList, EListUse::kAlways}, {&kPulseList, EListUse::kWhenNormalFont}}, nullptr},
      {"BITMAP", 0, kAnyNumber,
       {{&kBitmapList, EListUse::kAlways}, {&kPulseList, EListUse::kWhenListZero}}, nullptr},
      {"PUSHBUTTON", 7, kAnyNumber,
       {{&kTextList, EListUse::kAlways},
        {&kBitmapList, EListUse::kAlways},
        {&kBitmapList, EListUse::kAlways},
        {&kBitmapList, EListUse::kAlways},
        {&kPulseList, EListUse::kAlways},
        {&kBitmapList, EListUse::kAlways},
        {&kPulseList, EListUse::kAlways},
        {&kArrowLinkList, EListUse::kWhenCountIsEight}},
       nullptr},
      {"EDIT", 2, 2, {{&kTextList, EListUse::kAlways}, {&kBitmapList, EListUse::kAlways}}, nullptr,},
      {"LIST", 3, kAnyNumber,
       {{&kTextList, EListUse::kAlways},
        {&kBitmapList, EListUse::kAlways},
        {&kListRowsList, EListUse::kAlways}},
       &kDefaultRowList},
      {"SLIDER", 2, 2, {{&kSliderList, EListUse::kAlways}, {&kBitmapList, EListUse::kAlways}},
       nullptr},
      {"ROTATEBUTTON", 1, kAnyNumber, {}, &kRotateStateList},
      {"ROTATETEXTBUTTON", 2, kAnyNumber, {{&kTextList, EListUse::kAlways}}, &kTextStateList},
  };
  return table;
}

const SClassParams* FindClassParams(const std::string& className) {
  for (const SClassParams& c : ClassParamsTable())
    if (className == c.className) return &c;
  return nullptr;
}
