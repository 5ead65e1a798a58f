// registration.h: the forms of a registration of the game's table, each
// replacing an earlier one under the same key. Screen files register their
// classes with these in their Register…() function, most as one table of
// rows (RegisterRows).
#pragma once
#include <cstdio>
#include <type_traits>

#include "runtime/registry.h"

// The game's class T over the runtime's class of the same script class name.
template <class T>
void RegisterGameClass(CGUI_ClassRegistry* r) {
  r->RegisterClass(new TGUI_WindowFactory<T>, true);
}

// The factory of a class that is given its number (a slot, a box) when it
// is made: T(index). Its class name is read from a throw-away instance.
template <class T>
class TGUI_IndexedFactory : public CGUI_WindowFactory {
 public:
  TGUI_IndexedFactory(const char* id, int index) : index_(index) {
    CGUI_Window* prototype = new T(index);
    prototype->GetClassName(className_);
    delete prototype;
    id_ = id;
  }
  CGUI_Window* Create() override { return new T(index_); }

 private:
  int index_;
};

// T wherever a template declares T's script class with this id; a class
// made with a number gets `index`.
template <class T>
void RegisterIdClass(CGUI_ClassRegistry* r, const char* id, int index = 0) {
  if constexpr (std::is_constructible_v<T, int>)
    r->RegisterId(new TGUI_IndexedFactory<T>(id, index), true);
  else
    r->RegisterId(new TGUI_WindowFactory<T>(id), true);
}

// One row of a screen's registration table: a single id, or a family of
// `count` ids written by a printf format from the numbers 1 .. count, the
// class of each made with its index 0 .. count - 1.
struct SRegistrationRow {
  const char* id;
  int count;
  void (*add)(CGUI_ClassRegistry* r, const char* id, int index);
};

template <class T>
constexpr SRegistrationRow Row(const char* id) {
  return {id, 0, &RegisterIdClass<T>};
}

template <class T>
constexpr SRegistrationRow Family(const char* format, int count) {
  return {format, count, &RegisterIdClass<T>};
}

// Registers the rows in order, each family's ids in the order of their numbers.
template <size_t N>
void RegisterRows(CGUI_ClassRegistry* r, const SRegistrationRow (&rows)[N]) {
  for (const SRegistrationRow& row : rows) {
    if (row.count == 0) row.add(r, row.id, 0);
    for (int k = 1; k <= row.count; ++k) {
      char id[64];
      std::snprintf(id, sizeof id, row.id, k);
      row.add(r, id, k - 1);
    }
  }
}
