// flag_words.cpp: the flag word tables and their effects.
#include "runtime/flag_words.h"

#include "runtime/control.h"
#include "runtime/edit.h"

namespace {

struct SAlignWord {
  const char* word;
  int flags;
};

constexpr SAlignWord kAlignWords[] = {
    {"CF_ALIGN_LEFT", ALIGN_LEFT},       {"CF_ALIGN_RIGHT", ALIGN_RIGHT},
    {"CF_ALIGN_HCENTER", ALIGN_HCENTER}, {"CF_ALIGN_TOP", ALIGN_TOP},
    {"CF_ALIGN_BOTTOM", ALIGN_BOTTOM},   {"CF_ALIGN_VCENTER", ALIGN_VCENTER},
};

bool ApplyEditFlag(CGUI_Window* w, std::string_view word) {
  if (w->ClassName() != "EDIT") return false;
  auto* edit = dynamic_cast<CGUI_Edit*>(w);
  if (!edit) return false;
  if (word == "ES_NUMBER") {
    edit->SetNumber(true);
    return true;
  }
  if (word == "ES_PASSWORD") {
    edit->SetPassword(true);
    return true;
  }
  return false;
}

constexpr const char* kFlagWords[] = {
    "WF_HIDE",          "WF_NOHITTEST",   "WF_FOREGROUND",   "CF_TABSTOP",
    "CF_AUTOSIZE",      "CF_ALIGN_LEFT",  "CF_ALIGN_RIGHT",  "CF_ALIGN_HCENTER",
    "CF_ALIGN_TOP",     "CF_ALIGN_BOTTOM", "CF_ALIGN_VCENTER", "ES_NUMBER",
    "ES_PASSWORD",
};

}  // namespace

bool FindFlagWord(std::string_view word, EFlagScope* scope) {
  for (const char* w : kFlagWords) {
    if (word != w) continue;
    *scope = word.rfind("WF_", 0) == 0   ? EFlagScope::kWindow
             : word.rfind("CF_", 0) == 0 ? EFlagScope::kControl
                                         : EFlagScope::kEdit;
    return true;
  }
  return false;
}

const char* const* FlagWords(int* count) {
  *count = static_cast<int>(sizeof kFlagWords / sizeof kFlagWords[0]);
  return kFlagWords;
}

bool ApplyWindowFlag(CGUI_Window* w, std::string_view word) {
  if (word == "WF_HIDE") w->Show(false, false);
  else if (word == "WF_NOHITTEST") w->SetHitTest(false);
  else if (word == "WF_FOREGROUND") w->SetForeground(1);
  else return false;
  return true;
}

bool ApplyControlFlag(CGUI_Window* w, std::string_view word) {
  return ApplyControlFlag(w, dynamic_cast<CGUI_Control*>(w), word);
}

bool ApplyControlFlag(CGUI_Window* w, CGUI_Control* control, std::string_view word) {
  if (ApplyWindowFlag(w, word)) return true;
  if (!control) return false;
  if (word == "CF_TABSTOP") {
    control->SetTabStop(true);
    return true;
  }
  if (word == "CF_AUTOSIZE") {
    control->SetAutoSize(true);
    return true;
  }
  for (const SAlignWord& a : kAlignWords) {
    if (word == a.word) {
      control->SetAlign(a.flags);
      return true;
    }
  }
  return ApplyEditFlag(w, word);
}
