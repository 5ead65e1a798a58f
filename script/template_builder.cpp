// template_builder.cpp: builds dialog and control windows through the class
// registry and applies caption, id, region, flags and PARAM lines in the
// order the script gives them.
#include "script/template_builder.h"

#include "runtime/control.h"
#include "runtime/error_text.h"
#include "runtime/flag_words.h"
#include "runtime/registry.h"
#include "runtime/window_manager.h"

// ---- Freeing ----------------------------------------------------------------------------

static_assert(4 * sizeof(float) <= tam::kCellSize);

float* NewRegion(const float (&values)[4]) {
  auto* region = static_cast<float*>(tam::AllocCell());
  for (int i = 0; i < 4; ++i) region[i] = values[i];
  return region;
}

void FreeRegion(float* region) { tam::FreeCell(region); }

void FreeDialogAttr(SDialogAttr* attr) {
  if (!attr) return;
  FreeParam(attr->caption);
  FreeParam(attr->id);
  FreeRegion(attr->region);
  FreeParamList(attr->flags);
  delete attr;
}

void FreeWindowList(SValueList* list) {
  while (list) {
    SValueList* next = list->next;
    delete static_cast<CGUI_Window*>(list->value);
    delete list;
    list = next;
  }
}

void FreeParamLines(SValueList* lines) {
  while (lines) {
    SValueList* next = lines->next;
    FreeParamList(static_cast<SParamList*>(lines->value));
    delete lines;
    lines = next;
  }
}

// ---- Building ---------------------------------------------------------------------------

namespace {

const char* Text(const SParamValue* v) { return v && v->type == PARAM_STRING ? v->s : ""; }

void ApplyAttributes(CGUI_Window* w, const SDialogAttr& attr) {
  w->SetCaption(Text(attr.caption));
  w->SetId(Text(attr.id));
  if (attr.region) w->SetRegion(attr.region);
}

}  // namespace

CGUI_Window* BuildControl(const char* className, uint32_t line, uint32_t column,
                          const SDialogAttr& attr, const SValueList* paramLines) {
  CGUI_ClassRegistry* registry = GetClassRegistry();
  CGUI_Window* w = registry ? registry->CreateWindow(className, Text(attr.id)) : nullptr;
  if (!w) {
    SetErrorText("Error (%u, %u) : no window class '%s' for control '%s'", line, column, className,
                 Text(attr.id));
    return nullptr;
  }
  ApplyAttributes(w, attr);
  auto* control = dynamic_cast<CGUI_Control*>(w);
  for (const SParamList* f = attr.flags; f; f = f->next) ApplyControlFlag(w, control, Text(f->value));
  if (control)
    for (const SValueList* p = paramLines; p; p = p->next)
      control->AddParamList(static_cast<const SParamList*>(p->value));
  return w;
}

CGUI_Window* BuildDialog(uint32_t line, uint32_t column, const SDialogAttr& attr,
                         SValueList* controls) {
  CGUI_ClassRegistry* registry = GetClassRegistry();
  CGUI_Window* d = registry ? registry->CreateWindow("DIALOG", Text(attr.id)) : nullptr;
  if (!d) {
    SetErrorText("Error (%u, %u) : no window class 'DIALOG' for dialog '%s'", line, column,
                 Text(attr.id));
    return nullptr;
  }
  ApplyAttributes(d, attr);
  for (const SParamList* f = attr.flags; f; f = f->next) ApplyWindowFlag(d, Text(f->value));
  for (SValueList* c = controls; c; c = c->next) {
    d->AddChild(static_cast<CGUI_Window*>(c->value));
    c->value = nullptr;
  }
  return d;
}

CDialogTable* BuildTable(SValueList* dialogs) {
  auto* table = new CDialogTable;
  for (SValueList* d = dialogs; d; d = d->next) {
    auto* dialog = static_cast<CGUI_Window*>(d->value);
    table->Insert(dialog->Id(), dialog);
    d->value = nullptr;
  }
  return table;
}
