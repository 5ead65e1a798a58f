// peer_classes.cpp: generic PARAM lines expanded into the game controls' lists.
#include "bench/peer_classes.h"

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/game_edit.h"
#include "runtime/game_list.h"
#include "runtime/game_pushbutton.h"
#include "runtime/game_static.h"
#include "runtime/registry.h"

namespace {

// One literal of a PARAM line under construction.
struct Lit {
  enum { kInt, kFloat, kText } kind;
  int i = 0;
  float f = 0;
  const char* s = nullptr;
  Lit(int v) : kind(kInt), i(v) {}              // NOLINT: literal lists read naturally
  Lit(double v) : kind(kFloat), f(float(v)) {}  // NOLINT
  Lit(const char* v) : kind(kText), s(v) {}     // NOLINT
};

// Appends one list through the game class's own AddParamList.
template <class Base>
void Add(Base* c, std::initializer_list<Lit> values) {
  SParamList* head = nullptr;
  SParamList** tail = &head;
  for (const Lit& v : values) {
    auto* cell = new SParamList;
    cell->value = v.kind == Lit::kInt     ? NewIntParam(v.i)
                  : v.kind == Lit::kFloat ? NewFloatParam(v.f)
                                          : NewStringParam(v.s);
    *tail = cell;
    tail = &cell->next;
  }
  c->Base::AddParamList(head);
  FreeParamList(head);
}

// The image of a generic line (image, integer, float), or null when the line
// already is one of the game's own lists.
const char* GenericImage(const SParamList* list) {
  if (!list || !list->value || list->value->type != PARAM_STRING) return nullptr;
  const SParamList* second = list->next;
  if (!second || !second->value || second->value->type != PARAM_INTEGER) return nullptr;
  return list->value->s;
}

// At the first creation, a control holding one generic line swaps it for the
// lists `expand` adds (so the expansion is part of showing the dialog, as the
// game classes read their lists there, and not of loading the script).
template <class Base, class Expand>
bool CreateExpanded(Base* self, Expand expand) {
  if (self->GetParamListCount() == 1) {
    if (const char* generic = GenericImage(self->GetParamList(0))) {
      const std::string image = generic;
      self->DropParamLists();
      expand(image.c_str());
    }
  }
  return self->Base::OnCreate();
}

class CBenchStatic : public CGUI_GameStatic {
  using Base = CGUI_GameStatic;

 public:
  bool OnCreate() override {
    return CreateExpanded<Base>(this, [this](const char*) {
      Add<Base>(this, {"MENU", 18.0, 1.0, 0, 230, 230, 230, 255});
    });
  }
};

class CBenchButton : public CGUI_GamePushButton {
  using Base = CGUI_GamePushButton;

 public:
  CBenchButton() { SetClassName("BUTTON"); }
  bool OnCreate() override {
    return CreateExpanded<Base>(this, [this](const char* image) {
      Add<Base>(this, {"MENU", 18.0, 1.0, 0, 255, 255, 255, 255});
      Add<Base>(this, {image, 255, 255, 255, 255, 1.0, 1.0});
      Add<Base>(this, {"null"});
      Add<Base>(this, {image, 255, 220, 150, 255, 1.0, 1.0});
      Add<Base>(this, {255, 220, 150, 255, 255, 255, 255, 160, 0.8});
      Add<Base>(this, {image, 200, 160, 90, 255, 1.0, 1.0});
      Add<Base>(this, {200, 160, 90, 255, 255, 200, 120, 255, 0.5});
    });
  }
};

class CBenchEdit : public CGUI_GameEdit {
  using Base = CGUI_GameEdit;

 public:
  bool OnCreate() override {
    return CreateExpanded<Base>(this, [this](const char* image) {
      Add<Base>(this, {"SYSTEM", 16.0, 1.0, 0, 255, 255, 255, 255});
      Add<Base>(this, {image, 255, 255, 255, 255, 1.0, 1.0});
    });
  }
};

class CBenchList : public CGUI_GameList {
  using Base = CGUI_GameList;

 public:
  bool OnCreate() override {
    return CreateExpanded<Base>(this, [this](const char* image) {
      Add<Base>(this, {"SYSTEM", 14.0, 1.0, 0, 230, 230, 230, 255});
      Add<Base>(this, {image, 255, 255, 255, 255, 1.0, 1.0});
      Add<Base>(this, {255, 200, 0, 255, 3});
      Add<Base>(this, {"Item 1"});
      Add<Base>(this, {"Item 2"});
      Add<Base>(this, {"Item 3"});
    });
  }
};

}  // namespace

void RegisterPeerBenchClasses() {
  CGUI_ClassRegistry* r = GetClassRegistry();
  r->RegisterClass(new TGUI_WindowFactory<CBenchStatic>, true);
  r->RegisterClass(new TGUI_WindowFactory<CBenchButton>, true);
  r->RegisterClass(new TGUI_WindowFactory<CBenchEdit>, true);
  r->RegisterClass(new TGUI_WindowFactory<CBenchList>, true);
}
