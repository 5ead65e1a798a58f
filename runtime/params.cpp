// params.cpp: making, copying and freeing parameter values and chains, and the
// ReadParams rule with which controls take their parameters.
#include "runtime/params.h"

#include <cstring>
#include <new>

#include "runtime/error_text.h"

static_assert(sizeof(SParamValue) <= tam::kCellSize && sizeof(SParamList) <= tam::kCellSize &&
              sizeof(SValueList) <= tam::kCellSize);

// ---- Values ----------------------------------------------------------------------

SParamValue* NewIntParam(int32_t v) {
  SParamValue* p = new (tam::AllocCell()) SParamValue;
  p->type = PARAM_INTEGER;
  p->i = v;
  return p;
}

SParamValue* NewFloatParam(float v) {
  SParamValue* p = new (tam::AllocCell()) SParamValue;
  p->type = PARAM_FLOAT;
  p->f = v;
  return p;
}

SParamValue* NewStringParam(const char* text) { return NewStringParam(text, text ? std::strlen(text) : 0); }

// A string value and its text are one block: the text right behind the value.
// Short ones are small blocks of the cell pool, longer ones come from the heap.
namespace {
size_t StringBlockBytes(size_t length) { return sizeof(SParamValue) + length + 1; }
}  // namespace

SParamValue* NewStringParam(const char* text, size_t length) {
  // The copy ends at a NUL inside the text, as every reader of it does: its
  // C length then tells FreeParam the block's size.
  length = text ? strnlen(text, length) : 0;
  const size_t bytes = StringBlockBytes(length);
  void* block = bytes <= tam::kSmallBlockMax ? tam::AllocSmallBlock(bytes) : ::operator new(bytes);
  SParamValue* p = new (block) SParamValue;
  p->type = PARAM_STRING;
  p->s = reinterpret_cast<char*>(p + 1);
  if (length) std::memcpy(p->s, text, length);
  p->s[length] = '\0';
  return p;
}

void FreeParam(SParamValue* v) {
  if (!v) return;
  if (v->type != PARAM_STRING) {
    v->~SParamValue();
    tam::FreeCell(v);
    return;
  }
  const size_t bytes = StringBlockBytes(std::strlen(v->s));
  v->~SParamValue();
  if (bytes <= tam::kSmallBlockMax) tam::FreeSmallBlock(v, bytes);
  else ::operator delete(v);
}

// ---- Chains --------------------------------------------------------------------------

void FreeParamList(SParamList* list) {
  while (list) {
    SParamList* next = list->next;
    FreeParam(list->value);
    delete list;
    list = next;
  }
}

SParamList* CopyParamListPacked(const SParamList* list) {
  size_t cells = 0, textBytes = 0;
  for (const SParamList* cell = list; cell; cell = cell->next, ++cells)
    if (cell->value && cell->value->type == PARAM_STRING) textBytes += std::strlen(cell->value->s) + 1;
  if (cells == 0) return nullptr;
  static_assert(alignof(SParamValue) <= alignof(SParamList) && sizeof(SParamList) % alignof(SParamValue) == 0);
  auto* block = static_cast<char*>(::operator new(cells * (sizeof(SParamList) + sizeof(SParamValue)) + textBytes));
  auto* copies = new (block) SParamList[cells];
  auto* values = new (block + cells * sizeof(SParamList)) SParamValue[cells];
  char* texts = block + cells * (sizeof(SParamList) + sizeof(SParamValue));
  size_t at = 0;
  for (const SParamList* cell = list; cell; cell = cell->next, ++at) {
    SParamList& copy = copies[at];
    copy.next = at + 1 < cells ? &copies[at + 1] : nullptr;
    const SParamValue* v = cell->value;
    if (!v) continue;
    copy.value = &values[at];
    copy.value->type = v->type;
    if (v->type == PARAM_STRING) {
      const size_t n = std::strlen(v->s) + 1;
      std::memcpy(texts, v->s, n);
      copy.value->s = texts;
      texts += n;
    } else if (v->type == PARAM_FLOAT) {
      copy.value->f = v->f;
    } else {
      copy.value->i = v->i;
    }
  }
  return copies;
}

void FreePackedParamList(SParamList* packed) { ::operator delete(packed); }

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
