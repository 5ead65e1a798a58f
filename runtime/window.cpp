// window.cpp: CGUI_Window's base behaviour: lifecycle, tree, state setters,
// default event handlers, hit test and the text dump.
#include "runtime/window.h"

#include <algorithm>
#include <cstdio>

#include "runtime/routing.h"

CGUI_Window::CGUI_Window(const char* className) : className_(className) {}

CGUI_Window::~CGUI_Window() {
  if (created_) Destroy();
  SetParent(nullptr);
  // Each child's destructor detaches itself from us; take the list first so
  // that detaching does not disturb the walk.
  std::vector<CGUI_Window*> children;
  children.swap(children_);
  for (CGUI_Window* child : children) {
    child->parent_ = nullptr;
    delete child;
  }
}

// ---- Dump ----------------------------------------------------------------------

bool CGUI_Window::Dump(std::string& out) {
  int depth = 0;
  for (CGUI_Window* p = parent_; p; p = p->parent_) ++depth;
  const std::string tabs(depth, '\t');
  char line[256];
  out += tabs + "class name : " + className_ + "\n";
  out += tabs + "caption : " + caption_ + "\n";
  out += tabs + "id : " + id_ + "\n";
  std::snprintf(line, sizeof line, "region : (x,y,w,h) = (%f,%f,%f,%f)\n",
                region_[0], region_[1], region_[2], region_[3]);
  out += tabs + line;
  out += tabs + "window created : " + (created_ ? "true" : "false") + "\n";
  std::snprintf(line, sizeof line, "child num : %d\n", ChildCount());
  out += tabs + line;
  for (size_t i = 0; i < children_.size(); ++i) {
    std::snprintf(line, sizeof line, "child %d\n", static_cast<int>(i));
    out += tabs + line + "\n";
    children_[i]->Dump(out);
  }
  return true;
}

// ---- Lifecycle -------------------------------------------------------------------

bool CGUI_Window::Create() {
  if (created_) return true;
  if (!OnCreate()) return false;
  created_ = true;
  return true;
}

bool CGUI_Window::Destroy() {
  if (!created_) return true;
  DropFromRouting(this);
  if (!OnDestroy()) return false;
  created_ = false;
  return true;
}

// ---- Strings and flags ------------------------------------------------------------

bool CGUI_Window::SetClassName(const std::string& name) { className_ = name; return true; }
bool CGUI_Window::GetClassName(std::string& out) { out = className_; return true; }
bool CGUI_Window::SetExclusive(bool exclusive) { exclusive_ = exclusive; return true; }
bool CGUI_Window::GetId(std::string& out) { out = id_; return true; }
bool CGUI_Window::SetId(const std::string& id) { id_ = id; return true; }
bool CGUI_Window::GetCaptionRef(const std::string** out) { *out = &caption_; return true; }
bool CGUI_Window::GetCaption(std::string& out) { out = caption_; return true; }
bool CGUI_Window::SetCaption(const std::string& caption) { caption_ = caption; return true; }

// ---- Region ------------------------------------------------------------------------

bool CGUI_Window::GetRegion(float out[4]) {
  std::copy(region_, region_ + 4, out);
  return true;
}

bool CGUI_Window::SetRegion(const float region[4]) {
  std::copy(region, region + 4, region_);
  ++placement_;
  const float childOrigin[2] = {origin_[0] + region_[0], origin_[1] + region_[1]};
  for (CGUI_Window* child : children_) child->SetOrigin(childOrigin);
  return true;
}

bool CGUI_Window::Move(const float delta[2]) {
  const float r[4] = {region_[0] + delta[0], region_[1] + delta[1], region_[2], region_[3]};
  return SetRegion(r);
}

bool CGUI_Window::GetOrigin(float out[2]) {
  out[0] = origin_[0];
  out[1] = origin_[1];
  return true;
}

bool CGUI_Window::SetOrigin(const float origin[2]) {
  origin_[0] = origin[0];
  origin_[1] = origin[1];
  ++placement_;
  return true;
}

bool CGUI_Window::GetMousePos(float out[2]) {
  out[0] = mousePos_[0];
  out[1] = mousePos_[1];
  return true;
}

bool CGUI_Window::Show(bool show, bool recursive) {
  visible_ = show;
  if (recursive)
    for (CGUI_Window* child : children_) child->Show(show, recursive);
  return true;
}

bool CGUI_Window::SetHitTest(bool hitTest) { hitTest_ = hitTest; return true; }

bool CGUI_Window::SetForeground(int layer) {
  foreground_ = layer;
  // The children's layers change one by one: this window sums them up once
  // after the last rather than at each.
  settingLayers_ = true;
  for (CGUI_Window* child : children_) child->SetForeground(layer);
  settingLayers_ = false;
  Resummarize();
  return true;
}

void CGUI_Window::SkipBaseUpdate() {
  updates_ = false;
  Resummarize();
}

void CGUI_Window::Resummarize() {
  for (CGUI_Window* w = this; w; w = w->parent_) {
    if (w != this && w->settingLayers_) return;
    unsigned layers = w->foreground_ != 0 ? 2u : 1u;
    int size = 1;
    bool updates = w->updates_;
    for (const CGUI_Window* child : w->children_) {
      layers |= child->subtreeLayers_;
      size += child->subtreeSize_;
      updates = updates || child->subtreeUpdates_;
    }
    if (layers == w->subtreeLayers_ && size == w->subtreeSize_ && updates == w->subtreeUpdates_)
      return;   // nothing above changes
    w->subtreeLayers_ = layers;
    w->subtreeSize_ = size;
    w->subtreeUpdates_ = updates;
  }
}

// ---- Tree --------------------------------------------------------------------------

bool CGUI_Window::SetParent(CGUI_Window* parent) {
  if (parent == parent_) return true;
  if (parent_) parent_->RemoveChild(this);
  parent_ = parent;
  if (parent) parent->AddChild(this);
  return true;
}

CGUI_Window* CGUI_Window::GetParent() { return parent_; }

bool CGUI_Window::AddChild(CGUI_Window* child) {
  if (std::find(children_.begin(), children_.end(), child) != children_.end()) return false;
  children_.push_back(child);
  Resummarize();
  child->SetParent(this);
  const float childOrigin[2] = {origin_[0] + region_[0], origin_[1] + region_[1]};
  child->SetOrigin(childOrigin);
  return true;
}

bool CGUI_Window::RemoveChild(CGUI_Window* child) {
  auto it = std::find(children_.begin(), children_.end(), child);
  if (it == children_.end()) return false;
  children_.erase(it);
  Resummarize();
  child->SetParent(nullptr);
  return true;
}

CGUI_Window* CGUI_Window::FindChild(const std::string& id) {
  for (CGUI_Window* child : children_)
    if (child->id_ == id) return child;
  return nullptr;
}

// ---- Creation and destruction handlers ------------------------------------------------

bool CGUI_Window::OnCreate() {
  // Re-apply the stored state through the virtual setters, so derived classes
  // do their per-creation work (textures, text layout, tab stops) here.
  const std::string caption = caption_;
  const float region[4] = {region_[0], region_[1], region_[2], region_[3]};
  Show(visible_, false);
  SetHitTest(hitTest_);
  SetForeground(foreground_);
  SetCaption(caption);
  SetRegion(region);
  for (size_t i = 0; i < children_.size(); ++i)
    if (!children_[i]->Create()) return false;
  return true;
}

bool CGUI_Window::OnDestroy() {
  // Call the setters with "off" values so derived classes release what they
  // hold, but keep the stored values for the next creation.
  created_ = false;
  const bool hitTest = hitTest_;
  SetHitTest(false);
  hitTest_ = hitTest;
  const bool visible = visible_;
  Show(false, false);
  visible_ = visible;
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->Destroy();
  return true;
}

// ---- Event handlers ---------------------------------------------------------------------

bool CGUI_Window::OnSetFocus() { return true; }
bool CGUI_Window::OnKillFocus() { return true; }
bool CGUI_Window::OnChar(char) { return true; }
bool CGUI_Window::OnKeyDown(int) { return true; }
bool CGUI_Window::OnCompositionChar(char, char) { return true; }
bool CGUI_Window::OnMouseEnter() { return true; }
bool CGUI_Window::OnMouseLeave() { return true; }

bool CGUI_Window::OnMouseMove(const float pt[2]) {
  mousePos_[0] = pt[0];
  mousePos_[1] = pt[1];
  return true;
}

bool CGUI_Window::OnLButtonDown() { return true; }
bool CGUI_Window::OnLButtonUp() { return true; }
bool CGUI_Window::OnUpdate() { return true; }
bool CGUI_Window::OnDraw() { return true; }

bool CGUI_Window::HitTest(const float pt[2]) {
  const float dx = pt[0] - (origin_[0] + region_[0]);
  const float dy = pt[1] - (origin_[1] + region_[1]);
  return dx >= 0 && dx <= region_[2] && dy >= 0 && dy <= region_[3];
}
