// host_options.h: the host's option managers, key bindings, display modes and
// raw input handlers.
#pragma once
#include <cstdint>

// ---- Option items ----------------------------------------------------------------
// An item of an option manager: a number (graphics, sound, network) or a text
// (macros).
class COptionItem {
 public:
  COptionItem(int group, void* host);
  COptionItem(const COptionItem&) = delete;
  COptionItem& operator=(const COptionItem&) = delete;

  uint32_t GetValue() const;       // a text item: its leading decimal number
  const char* GetString() const;   // a number item: its decimal text
  void SetValue(const char* text);

 private:
  int group_;
  void* host_;
};

class COptionManager {
 public:
  explicit COptionManager(int group) : group_(group) {}
  // The item; an absent key is created with 0 (text items: "").
  COptionItem* FindItem(const char* key);
  void UpdateItem(const char* key, uint32_t value);
  void SetValue(const char* key, const char* text);

 private:
  int group_;
};
extern COptionManager OptionGraphicsManager;
extern COptionManager OptionSoundManager;
extern COptionManager OptionNetworkManager;
extern COptionManager OptionMacroManager;

// Read: every item's value becomes its saved value. Write: saved = value.
// SetDefault: value = default.
void ReadOptionGraphics();
void ReadOptionSound();
void ReadOptionNetwork();
void ReadOptionMacro();
void WriteOptionGraphics();
void WriteOptionSound();
void WriteOptionNetwork();
void WriteOptionMacro();
void SetDefaultOptionGraphics();
void SetDefaultOptionSound();
void SetDefaultOptionNetwork();
void SetDefaultOptionMacro();

// ---- Key bindings -------------------------------------------------------------------
// Raw mouse state of one input frame.
struct SRawMouseState {
  int32_t x, y, z;           // motion
  uint8_t buttons[4];        // 0x80: pressed
};

// The inputs bound to one action ("client" of the control manager).
class CCtrlClient {
 public:
  explicit CCtrlClient(const char* action);
  int GetNumItems() const;
  const char* GetItemName(int index) const;   // null outside 0 .. GetNumItems() - 1

 private:
  char action_[32];
};

class CCtrlManager {
 public:
  // The action's client; an action without a binding has no inputs.
  CCtrlClient* FindClient(const char* action);
  // The name of the first pressed input: of 256 key bytes ("KEY%d"), or of the
  // mouse buttons ("MOUSE%d"); null when none is pressed (high bit).
  const char* GetFirstItem(const uint8_t* keyboard);
  const char* GetFirstItem(const SRawMouseState* mouse);
  // Binds input to action: it leaves every other action, joins the action's
  // inputs unless there, and the oldest are dropped while more than n remain.
  void AssignItemToClient(const char* action, const char* input, int n);
};
extern CCtrlManager CtrlManager;

// Read: bindings become the saved ones; Write: saved = bindings; default
// bindings. The mouse settings are not touched.
void ReadOptionControlINI();
void WriteOptionControlINI();
void AssignDefaultOptionControls();

extern int bInvertMouseH;       // 0 or 1
extern int bInvertMouseV;
extern int iMouseSensitivity;

// ---- Display modes ----------------------------------------------------------------------
struct SDisplayMode {
  int width, height;
};
// Copies up to max modes into modes; returns the number of modes the host has.
int GetDisplayModes(SDisplayMode* modes, int max);

// ---- Raw input ------------------------------------------------------------------------
// Called each input frame with the raw keyboard state (256 bytes, 0x80 pressed;
// the handler may clear bytes) and the mouse state; false removes the handler.
typedef bool (*InputEventHandler)(uint8_t* keyboard, SRawMouseState* mouse);
void AddInputEventHandler(InputEventHandler handler);
