// script_outline.cpp: a reading of the script's grammar over its tokens that
// keeps positions and stops quietly where the text ends or goes wrong.
#include "tools/korvoui/script_outline.h"

#include <cstdlib>

#include "runtime/params.h"

namespace {

class COutlineReader {
 public:
  explicit COutlineReader(const std::vector<SScriptToken>& tokens) {
    for (const SScriptToken& t : tokens)
      if (!t.skipped) tokens_.push_back(&t);
  }

  void Read(SScriptOutline* out) {
    while (!AtEnd()) {
      out->dialogs.emplace_back();
      SOutlineWindow& dialog = out->dialogs.back();
      out->openDialog = &dialog;
      if (!Window(&dialog, "DIALOG") || !Take("BEGIN")) return Stop(out);
      while (Is("CHARS")) {
        dialog.controls.emplace_back();
        SOutlineWindow& control = dialog.controls.back();
        out->openControl = &control;
        if (!Window(&control, "CHARS")) return Stop(out);
        while (Is("PARAM")) {
          control.lists.emplace_back();
          if (!List(&control.lists.back())) return Stop(out);
        }
        out->openControl = nullptr;
      }
      if (!Take("END")) return Stop(out);
      out->openDialog = nullptr;
    }
  }

 private:
  static void Stop(SScriptOutline* out) { out->complete = false; }

  bool AtEnd() const { return next_ >= tokens_.size(); }
  bool Is(const char* name) const { return !AtEnd() && tokens_[next_]->name == name; }
  const SScriptToken* Take(const char* name) { return Is(name) ? tokens_[next_++] : nullptr; }
  static SOutlinePlace At(const SScriptToken* t) { return {t->line, t->column}; }

  // class or DIALOG, caption, id, flags, rectangle.
  bool Window(SOutlineWindow* w, const char* head) {
    const SScriptToken* h = Take(head);
    if (!h) return false;
    w->at = At(h);
    w->className = h->text;
    const SScriptToken* id = nullptr;
    if (!Take("STRING") || !(id = Take("CHARS"))) return false;
    w->id = id->text;
    w->idAt = At(id);
    if (Is("CHARS")) {
      do {
        const SScriptToken* f = Take("CHARS");
        if (!f) return false;
        w->flags.push_back({At(f), f->text});
      } while (Take("OR"));
    }
    for (int i = 0; i < 4; ++i)
      if ((i && !Take("COMMA")) || !Take("FLOAT")) return false;
    return true;
  }

  bool List(SOutlineList* list) {
    list->at = At(Take("PARAM"));
    do {
      const SScriptToken* t = nullptr;
      SOutlineValue v;
      if ((t = Take("INTEGER"))) {
        v.type = PARAM_INTEGER;
        v.integer = std::strtol(t->text.c_str(), nullptr, 10);
      } else if ((t = Take("FLOAT"))) {
        v.type = PARAM_FLOAT;
      } else if ((t = Take("STRING"))) {
        v.type = PARAM_STRING;
        v.string = t->text.substr(1, t->text.size() >= 2 ? t->text.size() - 2 : 0);
      } else {
        return false;
      }
      v.at = At(t);
      v.text = t->text;
      list->values.push_back(std::move(v));
    } while (Take("COMMA"));
    return true;
  }

  std::vector<const SScriptToken*> tokens_;
  size_t next_ = 0;
};

}  // namespace

void OutlineScript(const std::vector<SScriptToken>& tokens, SScriptOutline* outline) {
  COutlineReader(tokens).Read(outline);
}
