// peer_classes.cpp: generic PARAM lines expanded into the game controls' lists.
#include "bench/peer_classes.h"

#include <cstring>
#include <initializer_list>
#include <map>
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

// A chain of literals, made once: the lists stand for lines a script would
// hold, so only their handing out (AddParamList, which copies) belongs to a
// creation, not the making of the literals.
SParamList* MakeList(std::initializer_list<Lit> values) {
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
  return head;
}

// The lists of one class for each image, made at the first use of the image.
class CExpansion {
 public:
  using Make = std::vector<SParamList*> (*)(const char* image);
  explicit CExpansion(Make make) : make_(make) {}
  ~CExpansion() {
    for (auto& entry : lists_)
      for (SParamList* list : entry.second) FreeParamList(list);
  }
  const std::vector<SParamList*>& For(const char* image) {
    auto it = lists_.find(image);
    if (it == lists_.end()) it = lists_.emplace(image, make_(image)).first;
    return it->second;
  }

 private:
  Make make_;
  std::map<std::string, std::vector<SParamList*>, std::less<>> lists_;
};

// The image of a generic line (image, integer, float), or null when the line
// already is one of the game's own lists.
const char* GenericImage(const SParamList* list) {
  if (!list || !list->value || list->value->type != PARAM_STRING) return nullptr;
  const SParamList* second = list->next;
  if (!second || !second->value || second->value->type != PARAM_INTEGER) return nullptr;
  return list->value->s;
}

// At the first creation, a control holding one generic line swaps it for the
// lists of its class for that image (so the handing out is part of showing the
// dialog, as the game classes read their lists there, and not of loading the
// script).
template <class Base>
bool CreateExpanded(Base* self, CExpansion& expansion) {
  if (self->GetParamListCount() == 1) {
    if (const char* generic = GenericImage(self->GetParamList(0))) {
      const std::vector<SParamList*>& lists = expansion.For(generic);
      self->DropParamLists();
      for (const SParamList* list : lists) self->Base::AddParamList(list);
    }
  }
  return self->Base::OnCreate();
}

CExpansion gStaticLists([](const char*) {
  return std::vector<SParamList*>{MakeList({"MENU", 18.0, 1.0, 0, 230, 230, 230, 255})};
});

CExpansion gButtonLists([](const char* image) {
  return std::vector<SParamList*>{MakeList({"MENU", 18.0, 1.0, 0, 255, 255, 255, 255}),
                                  MakeList({image, 255, 255, 255, 255, 1.0, 1.0}),
                                  MakeList({"null"}),
                                  MakeList({image, 255, 220, 150, 255, 1.0, 1.0}),
                                  MakeList({255, 220, 150, 255, 255, 255, 255, 160, 0.8}),
                                  MakeList({image, 200, 160, 90, 255, 1.0, 1.0}),
                                  MakeList({200, 160, 90, 255, 255, 200, 120, 255, 0.5})};
});

CExpansion gEditLists([](const char* image) {
  return std::vector<SParamList*>{MakeList({"SYSTEM", 16.0, 1.0, 0, 255, 255, 255, 255}),
                                  MakeList({image, 255, 255, 255, 255, 1.0, 1.0})};
});

CExpansion gListLists([](const char* image) {
  return std::vector<SParamList*>{MakeList({"SYSTEM", 14.0, 1.0, 0, 230, 230, 230, 255}),
                                  MakeList({image, 255, 255, 255, 255, 1.0, 1.0}),
                                  MakeList({255, 200, 0, 255, 3}),
                                  MakeList({"Item 1"}),
                                  MakeList({"Item 2"}),
                                  MakeList({"Item 3"})};
});

class CBenchStatic : public CGUI_GameStatic {
 public:
  bool OnCreate() override { return CreateExpanded<CGUI_GameStatic>(this, gStaticLists); }
};

class CBenchButton : public CGUI_GamePushButton {
 public:
  CBenchButton() { SetClassName("BUTTON"); }
  bool OnCreate() override { return CreateExpanded<CGUI_GamePushButton>(this, gButtonLists); }
};

class CBenchEdit : public CGUI_GameEdit {
 public:
  bool OnCreate() override { return CreateExpanded<CGUI_GameEdit>(this, gEditLists); }
};

class CBenchList : public CGUI_GameList {
 public:
  bool OnCreate() override { return CreateExpanded<CGUI_GameList>(this, gListLists); }
};

}  // namespace

void RegisterPeerBenchClasses() {
  CGUI_ClassRegistry* r = GetClassRegistry();
  r->RegisterClass(new TGUI_WindowFactory<CBenchStatic>, true);
  r->RegisterClass(new TGUI_WindowFactory<CBenchButton>, true);
  r->RegisterClass(new TGUI_WindowFactory<CBenchEdit>, true);
  r->RegisterClass(new TGUI_WindowFactory<CBenchList>, true);
}
