// params.cpp: making, copying and freeing parameter values and chains, and the
// ReadParams rule with which controls take their parameters.
#include "runtime/params.h"

#include <cstring>

#include "runtime/error_text.h"

// ---- Values ----------------------------------------------------------------------

SParamValue* NewIntParam(int32_t v) {
  SParamValue* p = new SParamValue;
  p->type = PARAM_INTEGER;
  p->i = v;
  return p;
}

SParamValue* NewFloatParam(float v) {
  SParamValue* p = new SParamValue;
  p->type = PARAM_FLOAT;
  p->f = v;
  return p;
}

SParamValue* NewStringParam(const char* text) {
  if (!text) text = "";
  const size_t n = std::strlen(text);
  SParamValue* p = new SParamValue;
  p->type = PARAM_STRING;
  p->s = new char[n + 1];
  std::memcpy(p->s, text, n + 1);
  return p;
}

SParamValue* CopyParam(const SParamValue* v) {
  switch (v->type) {
    case PARAM_FLOAT: return NewFloatParam(v->f);
    case PARAM_STRING: return NewStringParam(v->s);
    default: return NewIntParam(v->i);
  }
}

void FreeParam(SParamValue* v) {
  if (!v) return;
  if (v->type == PARAM_STRING) delete[] v->s;
  delete v;
}

// ---- Chains --------------------------------------------------------------------------

SParamList* CopyParamList(const SParamList* list) {
  SParamList* head = nullptr;
  SParamList** tail = &head;
  for (const SParamList* cell = list; cell; cell = cell->next) {
    SParamList* copy = new SParamList;
    copy->value = cell->value ? CopyParam(cell->value) : nullptr;
    *tail = copy;
    tail = &copy->next;
  }
  return head;
}

void FreeParamList(SParamList* list) {
  while (list) {
    SParamList* next = list->next;
    FreeParam(list->value);
    delete list;
    list = next;
  }
}

// ---- ReadParams ------------------------------------------------------------------------

int ReadParams(const SParamList* list, const SParamDesc* desc, int first, int last) {
  int number = first;
  for (const SParamList* cell = list; cell; cell = cell->next, ++number) {
    const SParamValue* v = cell->value;
    const SParamDesc& d = desc[number - first];
    if (!v || v->type != d.type) {
      SetErrorText("type mismatch : param %d", number);
      return 0;
    }
    switch (v->type) {
      case PARAM_INTEGER: *static_cast<int32_t*>(d.dest) = v->i; break;
      case PARAM_FLOAT: *static_cast<float*>(d.dest) = v->f; break;
      default: *static_cast<const char**>(d.dest) = v->s; break;   // the stored text
    }
    if (number == last) return last;
  }
  // The chain ended before `last`: number - 1 parameters were read.
  const int read = number - 1;
  SetErrorText("additional %d param(s) needed", last - read);
  return read;
}
