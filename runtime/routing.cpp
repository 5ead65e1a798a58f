// routing.cpp: hover, focus, Tab navigation and the per-frame tree walks.
// The walks index the child lists afresh at every step, because handlers may
// open or close dialogs (changing the root's children) while a walk runs.
#include "runtime/routing.h"

#include "runtime/dialog.h"
#include "runtime/module_state.h"
#include "runtime/window.h"

void SetFocusWindow(CGUI_Window* w) {
  SGUI_Routing& r = Routing();
  if (w == r.focus) return;
  if (r.focus) r.focus->OnKillFocus();
  if (w) w->OnSetFocus();
  r.focus = w;
}

void DropFromRouting(CGUI_Window* w) {
  SGUI_Routing& r = Routing();
  if (r.hover == w) r.hover = nullptr;
  if (r.focus == w) {
    r.focus = nullptr;
    w->OnKillFocus();
  }
}

CGUI_Window* SearchWindow(CGUI_Window* w, const float pt[2], int layer) {
  const bool hitTest = w->IsHitTest();
  if (hitTest && !w->HitTest(pt)) return nullptr;
  const auto& children = w->Children();
  for (size_t i = 0; i < children.size(); ++i) {
    CGUI_Window* c = children[i];
    if (static_cast<int>(c->IsForeground()) != layer) continue;
    if (CGUI_Window* found = SearchWindow(c, pt, layer)) return found;
  }
  return hitTest ? w : nullptr;
}

void UpdateHover(CGUI_Window* root, const float pt[2]) {
  SGUI_Routing& r = Routing();
  r.mouse[0] = pt[0];
  r.mouse[1] = pt[1];
  CGUI_Window* h = SearchWindow(root, pt, 1);
  if (!h) h = SearchWindow(root, pt, 0);
  if (h != r.hover) {
    if (r.hover) r.hover->OnMouseLeave();
    if (h) h->OnMouseEnter();
  }
  r.hover = h;
  if (h) h->OnMouseMove(pt);
}

void TabNavigate() {
  CGUI_Window* w = Routing().focus;
  CGUI_Window* prev = nullptr;
  while (w) {
    if (w->ClassName() == "DIALOG") {
      if (auto* dialog = dynamic_cast<CGUI_Dialog*>(w)) SetFocusWindow(dialog->NextTabStop(prev));
      return;
    }
    prev = w;
    w = w->GetParent();
  }
}

namespace {

// The walks stop when a handler's host callback freed the table (the
// generation moved): every window below the one visited is gone. The live
// generation is read through a reference taken once per walk.
int DrawSubtree(CGUI_Window* w, int layer, const uint32_t& live, uint32_t generation) {
  // No window of the layer below: the walk would visit the subtree and draw
  // nothing (no handler runs, so nothing changes on the way).
  const unsigned bit = layer == 0 ? 1u : layer == 1 ? 2u : 0u;
  if (!(w->SubtreeLayers() & bit)) return w->SubtreeSize();
  if (static_cast<int>(w->IsForeground()) == layer && !w->IsHidden())
    if (!w->OnDraw() || live != generation) return -1;
  int visited = 1;
  const auto& children = w->Children();
  for (size_t i = 0; i < children.size(); ++i) {
    const int r = DrawSubtree(children[i], layer, live, generation);
    if (r < 0) return -1;
    visited += r;
  }
  return visited;
}

// A subtree whose windows all keep the base OnUpdate (true, nothing else) is
// stepped over; the others are called in the pass's order as before.
bool UpdateSubtree(CGUI_Window* w, const uint32_t& live, uint32_t generation) {
  if (!w->SubtreeUpdates()) return true;
  if (w->Updates() && (!w->OnUpdate() || live != generation)) return false;
  const auto& children = w->Children();
  for (size_t i = 0; i < children.size(); ++i)
    if (!UpdateSubtree(children[i], live, generation)) return false;
  return true;
}

}  // namespace

int DrawTree(CGUI_Window* w, int layer) {
  const uint32_t& live = LiveTableGeneration();
  return DrawSubtree(w, layer, live, live);
}

bool DrawWindowTree(CGUI_Window* w) {
  if (DrawTree(w, 0) < 0) return false;
  return DrawTree(w, 1) >= 0;
}

bool UpdateTree(CGUI_Window* w) {
  const uint32_t& live = LiveTableGeneration();
  return UpdateSubtree(w, live, live);
}
