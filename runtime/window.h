// window.h: CGUI_Window, the base of every window (root, dialogs, controls).
//
// A window has a class name, an id, a caption, a region relative to its origin
// (the parent's absolute corner), a few state flags and an owned list of
// children. Behaviour changes only by overriding the virtual operations below;
// their order is fixed and derived classes append theirs after HitTest.
// Regions, origins and mouse points are fractions of the screen (0 to 1).
#pragma once
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

class CGUI_Window {
 public:
  explicit CGUI_Window(const char* className);
  CGUI_Window(const CGUI_Window&) = delete;
  CGUI_Window& operator=(const CGUI_Window&) = delete;

  // ---- Virtual operations, in their fixed order --------------------------------
  // The state readers are final: the tree walks of every frame call them for
  // every window, and a final reader is read in place, without a call.
  virtual ~CGUI_Window();
  virtual bool Dump(std::string& out);
  virtual bool Create();
  virtual bool Destroy();
  virtual bool SetClassName(const std::string& name);
  virtual bool GetClassName(std::string& out);
  virtual bool SetExclusive(bool exclusive);
  virtual bool IsExclusive() final { return exclusive_; }
  virtual bool GetId(std::string& out);
  virtual bool SetId(const std::string& id);
  virtual bool GetCaptionRef(const std::string** out);
  virtual bool GetCaption(std::string& out);
  virtual bool SetCaption(const std::string& caption);
  virtual bool GetRegion(float out[4]);
  virtual bool SetRegion(const float region[4]);
  virtual bool Move(const float delta[2]);
  virtual bool GetOrigin(float out[2]);
  virtual bool SetOrigin(const float origin[2]);
  virtual bool GetMousePos(float out[2]);
  virtual bool IsCreated() final { return created_; }
  virtual bool Show(bool show, bool recursive);
  virtual bool IsHidden() final { return !visible_; }
  virtual bool SetHitTest(bool hitTest);
  virtual bool IsHitTest() final { return hitTest_; }
  virtual bool SetForeground(int layer);
  virtual bool IsForeground() final { return foreground_ != 0; }
  virtual bool SetParent(CGUI_Window* parent);
  virtual CGUI_Window* GetParent();
  virtual bool AddChild(CGUI_Window* child);
  virtual bool RemoveChild(CGUI_Window* child);
  virtual CGUI_Window* FindChild(const std::string& id);
  virtual bool OnCreate();
  virtual bool OnDestroy();
  virtual bool OnSetFocus();
  virtual bool OnKillFocus();
  virtual bool OnChar(char ch);
  virtual bool OnKeyDown(int key);
  virtual bool OnCompositionChar(char lead, char trail);
  virtual bool OnMouseEnter();
  virtual bool OnMouseLeave();
  virtual bool OnMouseMove(const float pt[2]);
  virtual bool OnLButtonDown();
  virtual bool OnLButtonUp();
  virtual bool OnUpdate();
  virtual bool OnDraw();
  virtual bool HitTest(const float pt[2]);

  // ---- Direct reads for the runtime's per-frame paths (no copies) ---------------
  const std::string& ClassName() const { return className_; }
  const std::string& Id() const { return id_; }
  const std::string& Caption() const { return caption_; }
  const std::vector<CGUI_Window*>& Children() const { return children_; }
  const float* Region() const { return region_; }
  const float* Origin() const { return origin_; }
  int ChildCount() const { return static_cast<int>(children_.size()); }
  // Which layers the windows of this subtree (this one included) are in: bit
  // 0 some window of layer 0, bit 1 some foreground window; and how many
  // windows the subtree has. Kept up to date by SetForeground, AddChild and
  // RemoveChild, so that a draw pass skips a subtree with nothing in its layer.
  unsigned SubtreeLayers() const { return subtreeLayers_; }
  int SubtreeSize() const { return subtreeSize_; }
  // Whether the update pass calls this window's OnUpdate, and whether some
  // window of the subtree (this one included) needs it. Only a creator that
  // knows the exact class clears it (SkipBaseUpdate), for a class that keeps
  // the base OnUpdate, which does nothing but return true.
  bool Updates() const { return updates_; }
  // Changes whenever the origin or the region is stored (and, for controls,
  // the alignment), so that a drawing class can keep what it computed from
  // them until the next change.
  uint32_t Placement() const { return placement_; }
  bool SubtreeUpdates() const { return subtreeUpdates_; }
  void SkipBaseUpdate();

 protected:
  std::string className_;
  std::string id_;
  std::string caption_;
  float origin_[2] = {0, 0};
  float region_[4] = {0, 0, 0, 0};
  float mousePos_[2] = {0, 0};
  bool created_ = false;
  bool visible_ = true;
  bool hitTest_ = true;
  bool exclusive_ = false;
  int foreground_ = 0;
  CGUI_Window* parent_ = nullptr;
  std::vector<CGUI_Window*> children_;   // owned
  uint32_t placement_ = 0;

 private:
  // Recounts the layers and size of the subtree from the children's, then
  // the ancestors' while theirs change.
  void Resummarize();

  unsigned subtreeLayers_ = 1;
  int subtreeSize_ = 1;
  bool updates_ = true;
  bool subtreeUpdates_ = true;
  bool settingLayers_ = false;   // inside SetForeground's walk over the children
};

// True when no class from CGUI_Window down to T declares its own OnUpdate (one
// that cannot be named from here counts as declared).
template <class T>
inline constexpr bool kKeepsBaseUpdate =
    requires { requires std::is_same_v<decltype(&T::OnUpdate), bool (CGUI_Window::*)()>; };

// Marks a window just made as `new T` when T keeps the base OnUpdate.
template <class T>
T* NoteUpdateOf(T* w) {
  if constexpr (kKeepsBaseUpdate<T>) w->SkipBaseUpdate();
  return w;
}
