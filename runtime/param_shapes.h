// param_shapes.h: the one table of what each control class reads from its
// PARAM lists: how many lists, and for each list the kinds of its values and
// how many of them must be there. The controls read their lists through it
// (ReadShape) and `korvoui check` checks scripts against it.
#pragma once
#include <climits>
#include <string>
#include <vector>

#include "runtime/params.h"

// ---- One list -----------------------------------------------------------------------------

// The values of one PARAM list: one letter per value in order ('i' integer,
// 'c' integer colour component 0..255, 'f' float, 's' string); the first
// `required` must be there, later ones may be left out (the control keeps its
// default).
struct SListShape {
  const char* name;       // what the list is, as authors call it ("text list")
  const char* kinds;      // "sfficccc"
  int required;
  const char* meaning;    // the values in words, for messages and the guide
};

// The lists shared by several classes.
extern const SListShape kTextList;          // a static text's font and colour
extern const SListShape kBitmapList;        // a texture, its tint and repeat
extern const SListShape kPulseList;         // from-colour, to-colour, period
extern const SListShape kArrowLinkList;     // a push button's number edit
extern const SListShape kListRowsList;      // a list's selected colour and rows
extern const SListShape kDefaultRowList;    // one default row of a list
extern const SListShape kSliderList;        // axis, range, thumb size
extern const SListShape kRotateStateList;   // one bitmap state of a rotate button
extern const SListShape kTextStateList;     // one caption state of a rotate text button

// The type of value `index` (from 0) of a shape; PARAM_INTEGER past its end.
uint32_t ShapeKind(const SListShape& shape, int index);
int ShapeLength(const SListShape& shape);
// Whether value `index` (from 0) is a colour component.
bool ShapeColour(const SListShape& shape, int index);
// "string", "float" or "integer".
const char* KindName(uint32_t type);

// Reads values first..ShapeLength (numbered from 1) of `list` into dest[0..]
// with ReadParams, the types taken from the shape. Gives what ReadParams gives.
int ReadShape(const SParamList* list, const SListShape& shape, void* const* dest, int first = 1);

// ---- One class ----------------------------------------------------------------------------

// When a list of a class is read.
enum class EListUse {
  kAlways,            // every creation
  kWhenNormalFont,    // only when list 0's font is "NORMAL" (the glow pulse)
  kWhenListZero,      // only when list 0 is there (a bitmap's pulse)
  kWhenCountIsEight,  // only when the control has exactly eight lists (the arrow link)
};

struct SClassListShape {
  const SListShape* shape;
  EListUse use;
};

// A class's PARAM lists: their number must be least..most (kAnyNumber: no
// upper bound); `lists` are the first lists in order, `rest` the shape of
// every list after them (null: lists after them are not read).
constexpr int kAnyNumber = INT_MAX;
struct SClassParams {
  const char* className;
  int least, most;
  std::vector<SClassListShape> lists;
  const SListShape* rest;
};

// The shapes of the game's classes of that script class name, or null for a
// class that reads no lists (CUSTOM, BUTTON, CONTROL, DIALOG).
const SClassParams* FindClassParams(const std::string& className);
const std::vector<SClassParams>& ClassParamsTable();
