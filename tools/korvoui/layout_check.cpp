// layout_check.cpp: the draw pass of the layout check, window by window, and
// the two tests made on the texts it traced.
#include "tools/korvoui/layout_check.h"

#include <cmath>
#include <cstdio>

#include "host/host_services.h"
#include "refhost/korvohost_graphics.h"
#include "runtime/module_state.h"
#include "runtime/window.h"
#include "runtime/window_manager.h"
#include "tools/korvoui/observe.h"

namespace {

struct SBox {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;   // pixels, right and bottom exclusive
};

// One text of the draw list and the window whose draw made it.
struct STraced {
  CGUI_Window* window = nullptr;
  const korvohost::DrawRecord* record = nullptr;
};

// ---- Drawing, as GUI_Draw does, noting who drew what ----------------------------------

struct SDrawWalk {
  std::vector<CGUI_Window*> owners;   // by draw-list index; null: not a window's

  void Own(CGUI_Window* w) { owners.resize(korvohost::DrawList().size(), w); }

  bool Subtree(CGUI_Window* w, int layer) {
    if (static_cast<int>(w->IsForeground()) == layer && !w->IsHidden()) {
      Own(nullptr);
      const bool drawn = w->OnDraw();
      Own(w);
      if (!drawn) return false;
    }
    const auto& children = w->Children();
    for (size_t i = 0; i < children.size(); ++i)
      if (!Subtree(children[i], layer)) return false;
    return true;
  }

  bool Tree(CGUI_Window* w) { return Subtree(w, 0) && Subtree(w, 1); }

  bool All() {
    CGUI_Window* root = GetRootWindow();
    bool anyExclusive = false;
    const auto& open = root->Children();
    for (size_t i = 0; i < open.size(); ++i) {
      if (!open[i]->IsExclusive()) continue;
      anyExclusive = true;
      if (!Tree(open[i])) return false;
    }
    return anyExclusive || Tree(root);
  }
};

// ---- Geometry ---------------------------------------------------------------------------

SBox WindowBox(CGUI_Window* w) {
  float r[4];
  AbsoluteRect(w, r);
  auto px = [](float v, int size) { return int(std::lround(v * float(size))); };
  return {px(r[0], SCREEN_X), px(r[1], SCREEN_Y), px(r[0] + r[2], SCREEN_X), px(r[1] + r[3], SCREEN_Y)};
}

// The text's box less its slack: what must stay inside and apart.
SBox InkBox(const korvohost::DrawRecord& r) {
  const int slackY = r.h / kLayoutSlackDivisor;
  return {r.x + kLayoutSlackX, r.y + slackY, r.x + r.w - kLayoutSlackX, r.y + r.h - slackY};
}

bool Inside(const SBox& in, const SBox& out) {
  return in.x0 >= out.x0 && in.y0 >= out.y0 && in.x1 <= out.x1 && in.y1 <= out.y1;
}

bool Overlap(const SBox& a, const SBox& b) {
  return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

std::string BoxText(const SBox& b) {
  char text[64];
  std::snprintf(text, sizeof text, "%d,%d %dx%d", b.x0, b.y0, b.x1 - b.x0, b.y1 - b.y0);
  return text;
}

std::string TextOf(const STraced& t) {
  const korvohost::DrawRecord& r = *t.record;
  return WindowName(t.window) + " \"" + r.text + "\" at " + BoxText({r.x, r.y, r.x + r.w, r.y + r.h});
}

CGUI_Window* DialogOf(CGUI_Window* w) {
  CGUI_Window* root = GetRootWindow();
  while (w->GetParent() && w->GetParent() != root) w = w->GetParent();
  return w;
}

// ---- The two tests -----------------------------------------------------------------------

// The first of the window, its enclosing windows and the screen that the text leaves.
void CheckInside(const STraced& t, std::vector<std::string>* faults) {
  const SBox ink = InkBox(*t.record);
  for (CGUI_Window* w = t.window; w && w != GetRootWindow(); w = w->GetParent()) {
    const SBox box = WindowBox(w);
    if (Inside(ink, box)) continue;
    faults->push_back("layout: " + TextOf(t) + " leaves " + WindowName(w) + " at " + BoxText(box));
    return;
  }
  if (!Inside(ink, {0, 0, SCREEN_X, SCREEN_Y}))
    faults->push_back("layout: " + TextOf(t) + " leaves the screen");
}

// One window and its members (a list's frame, a button's bitmaps) draw
// over each other by design.
bool Related(CGUI_Window* a, CGUI_Window* b) {
  for (CGUI_Window* w = a; w; w = w->GetParent())
    if (w == b) return true;
  for (CGUI_Window* w = b; w; w = w->GetParent())
    if (w == a) return true;
  return false;
}

// Texts of one dialog, or of two dialogs drawn in the background layer, must
// not meet; a foreground dialog is a panel that hides what lies under it. A
// window's glow is its text drawn twice in one place.
bool Compared(const STraced& a, const STraced& b) {
  const korvohost::DrawRecord& ra = *a.record;
  const korvohost::DrawRecord& rb = *b.record;
  if (a.window == b.window && ra.text == rb.text && ra.x == rb.x && ra.y == rb.y) return false;
  CGUI_Window* da = DialogOf(a.window);
  CGUI_Window* db = DialogOf(b.window);
  return da == db || (!da->IsForeground() && !db->IsForeground());
}

}  // namespace

bool DrawAndCheckLayout(SLayoutReport* report) {
  SModuleCall call;
  SDrawWalk walk;
  walk.Own(nullptr);
  const bool drawn = walk.All();
  walk.Own(nullptr);

  const auto list = korvohost::DrawList();
  std::vector<STraced> texts;
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].kind == korvohost::DrawKind::Text && walk.owners[i] && list[i].w > 0)
      texts.push_back({walk.owners[i], &list[i]});
  report->texts = int(texts.size());
  for (const STraced& t : texts) CheckInside(t, &report->faults);
  // Pictures drawn after a text by a window not its own, over it.
  for (const STraced& t : texts) {
    const size_t at = size_t(t.record - list.data());
    for (size_t i = at + 1; i < list.size(); ++i) {
      const korvohost::DrawRecord& r = list[i];
      CGUI_Window* w = walk.owners[i];
      if (r.kind == korvohost::DrawKind::Text || !w || r.texture.empty() || Related(w, t.window)) continue;
      if (!Compared({w, &r}, t)) continue;
      if (Overlap(InkBox(*t.record), {r.x, r.y, r.x + r.w, r.y + r.h}))
        report->faults.push_back("layout: " + TextOf(t) + " under " + WindowName(w) + " \"" + r.texture + "\" at " +
                                 BoxText({r.x, r.y, r.x + r.w, r.y + r.h}));
    }
  }
  for (size_t i = 0; i < texts.size(); ++i)
    for (size_t j = i + 1; j < texts.size(); ++j)
      if (Compared(texts[i], texts[j]) &&
          Overlap(InkBox(*texts[i].record), InkBox(*texts[j].record)))
        report->faults.push_back("layout: " + TextOf(texts[j]) + " over " + TextOf(texts[i]));
  return drawn;
}
