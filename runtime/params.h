// params.h: typed values of a script PARAM line and the shared rule with which
// controls read them.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/cell_pool.h"

enum : uint32_t { PARAM_INTEGER = 0, PARAM_FLOAT = 1, PARAM_STRING = 2 };

// One literal: an integer, a float, or an owned NUL-terminated copy of a text.
// Values are made and freed only by the functions below (a string value holds
// its text in the same block; number values are cells of the cell pool).
struct SParamValue {
  uint32_t type = PARAM_INTEGER;
  union {
    int32_t i;
    float f;
    char* s;
  };
  SParamValue() : i(0) {}
};

// A singly linked cell; one chain holds one PARAM line in written order.
// Single cells come from the cell pool.
struct SParamList {
  SParamValue* value = nullptr;
  SParamList* next = nullptr;
  static void* operator new(size_t) { return tam::AllocCell(); }
  static void operator delete(void* cell) noexcept { tam::FreeCell(cell); }
};

// The same cell shape chaining the other lists of a compile: the PARAM lines of
// a control, the controls of a dialog, the dialogs of the script.
struct SValueList {
  void* value = nullptr;
  SValueList* next = nullptr;
  static void* operator new(size_t) { return tam::AllocCell(); }
  static void operator delete(void* cell) noexcept { tam::FreeCell(cell); }
};

SParamValue* NewIntParam(int32_t v);
SParamValue* NewFloatParam(float v);
SParamValue* NewStringParam(const char* text);   // copies the text
SParamValue* NewStringParam(const char* text, size_t length);   // copies length bytes
void FreeParam(SParamValue* v);                  // frees a string's copy too

// Frees the cells and their values.
void FreeParamList(SParamList* list);
// A deep copy of a chain in one block: the cells, then the values, then the
// texts. Read like any chain; freed only with FreePackedParamList.
SParamList* CopyParamListPacked(const SParamList* list);
void FreePackedParamList(SParamList* packed);

// One expected parameter: its type and where its value goes (int32_t*,
// float*, or const char** pointing into the list for strings).
struct SParamDesc {
  uint32_t type;
  void* dest;
};

// Reads parameters numbered first..last (from 1) of `list` into the
// descriptors desc[0 .. last-first]. Gives `last` when all were read; the number
// read when the chain ended early ("additional %d param(s) needed" in the
// runtime error text); 0 on a type mismatch ("type mismatch : param %d").
int ReadParams(const SParamList* list, const SParamDesc* desc, int first, int last);
