// option_managers.cpp: the host's option managers, the control manager's key
// bindings, display modes and raw input handlers.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <cstring>

#include "refhost/call_record.h"
#include "refhost/game_state.h"

using korvohost::EOptionGroup;
using korvohost::Game;
using korvohost::OptionEntry;
using korvohost::RecordService;
using korvostate::PrintText;

COptionManager OptionGraphicsManager{int(EOptionGroup::kGraphics)};
COptionManager OptionSoundManager{int(EOptionGroup::kSound)};
COptionManager OptionNetworkManager{int(EOptionGroup::kNetwork)};
COptionManager OptionMacroManager{int(EOptionGroup::kMacro)};
CCtrlManager CtrlManager;
int bInvertMouseH = 0;
int bInvertMouseV = 0;
int iMouseSensitivity = 0;

namespace {

const char* const kManagerNames[4] = {"OptionGraphicsManager", "OptionSoundManager",
                                      "OptionNetworkManager", "OptionMacroManager"};

EOptionGroup Group(int group) { return EOptionGroup(group); }
bool IsText(int group) { return Group(group) == EOptionGroup::kMacro; }

// The leading decimal number of a text, 0 without one.
uint32_t LeadingNumber(const std::string& text) {
  return uint32_t(std::strtoul(text.c_str(), nullptr, 10) & 0xFFFFFFFFu);
}

void Update(int group, const char* key, uint32_t value) {
  RecordService((std::string(kManagerNames[group]) + "::UpdateItem").c_str(),
                {PrintText(key), std::to_string(value)});
  if (!key) return;
  OptionEntry* o = korvohost::FindOrAddOption(Group(group), key);
  if (IsText(group)) o->record.text = std::to_string(value);
  else o->record.value = value;
}

void SetText(int group, const char* key, const char* text) {
  RecordService((std::string(kManagerNames[group]) + "::SetValue").c_str(),
                {PrintText(key), PrintText(text)});
  if (!key) return;
  OptionEntry* o = korvohost::FindOrAddOption(Group(group), key);
  const std::string t = text ? text : "";
  if (IsText(group)) o->record.text = t;
  else o->record.value = LeadingNumber(t);
}

enum class Step { kRead, kWrite, kDefault };

void ForEachItem(EOptionGroup group, Step step, const char* name) {
  RecordService(name, {});
  for (auto& o : Game().options[int(group)]) {
    korvohost::SOptionItem& r = o->record;
    switch (step) {
      case Step::kRead: r.value = r.saved; r.text = r.savedText; break;
      case Step::kWrite: r.saved = r.value; r.savedText = r.text; break;
      case Step::kDefault: r.value = r.defaultValue; r.text = r.defaultText; break;
    }
  }
  if (step == Step::kWrite) korvohost::Save(korvohost::ESaveWhat(int(korvohost::ESaveWhat::kGraphics) + int(group)));
}

void ForEachBinding(Step step, const char* name) {
  RecordService(name, {});
  for (auto& b : Game().bindings) {
    switch (step) {
      case Step::kRead: b.inputs = b.saved; break;
      case Step::kWrite: b.saved = b.inputs; break;
      case Step::kDefault: b.inputs = b.defaults; break;
    }
  }
  if (step == Step::kWrite) korvohost::Save(korvohost::ESaveWhat::kBindings);
}

// Buffer of the last GetFirstItem name.
char g_firstItem[16];

}  // namespace

// ---- Option items and managers ------------------------------------------------------------

COptionItem::COptionItem(int group, void* host) : group_(group), host_(host) {}

uint32_t COptionItem::GetValue() const {
  const auto& r = static_cast<OptionEntry*>(host_)->record;
  return IsText(group_) ? LeadingNumber(r.text) : r.value;
}

const char* COptionItem::GetString() const {
  OptionEntry* o = static_cast<OptionEntry*>(host_);
  if (IsText(group_)) return o->record.text.c_str();
  o->text = std::to_string(o->record.value);
  return o->text.c_str();
}

void COptionItem::SetValue(const char* text) {
  SetText(group_, static_cast<OptionEntry*>(host_)->record.key.c_str(), text);
}

COptionItem* COptionManager::FindItem(const char* key) {
  if (!key) return nullptr;
  return &korvohost::FindOrAddOption(Group(group_), key)->object;
}

void COptionManager::UpdateItem(const char* key, uint32_t value) { Update(group_, key, value); }
void COptionManager::SetValue(const char* key, const char* text) { SetText(group_, key, text); }

void ReadOptionGraphics() { ForEachItem(EOptionGroup::kGraphics, Step::kRead, "ReadOptionGraphics"); }
void ReadOptionSound() { ForEachItem(EOptionGroup::kSound, Step::kRead, "ReadOptionSound"); }
void ReadOptionNetwork() { ForEachItem(EOptionGroup::kNetwork, Step::kRead, "ReadOptionNetwork"); }
void ReadOptionMacro() { ForEachItem(EOptionGroup::kMacro, Step::kRead, "ReadOptionMacro"); }
void WriteOptionGraphics() { ForEachItem(EOptionGroup::kGraphics, Step::kWrite, "WriteOptionGraphics"); }
void WriteOptionSound() { ForEachItem(EOptionGroup::kSound, Step::kWrite, "WriteOptionSound"); }
void WriteOptionNetwork() { ForEachItem(EOptionGroup::kNetwork, Step::kWrite, "WriteOptionNetwork"); }
void WriteOptionMacro() { ForEachItem(EOptionGroup::kMacro, Step::kWrite, "WriteOptionMacro"); }
void SetDefaultOptionGraphics() {
  ForEachItem(EOptionGroup::kGraphics, Step::kDefault, "SetDefaultOptionGraphics");
}
void SetDefaultOptionSound() { ForEachItem(EOptionGroup::kSound, Step::kDefault, "SetDefaultOptionSound"); }
void SetDefaultOptionNetwork() {
  ForEachItem(EOptionGroup::kNetwork, Step::kDefault, "SetDefaultOptionNetwork");
}
void SetDefaultOptionMacro() { ForEachItem(EOptionGroup::kMacro, Step::kDefault, "SetDefaultOptionMacro"); }

// ---- Key bindings -------------------------------------------------------------------------

CCtrlClient::CCtrlClient(const char* action) { korvohost::CopyToRoom(action_, sizeof action_, action); }

int CCtrlClient::GetNumItems() const {
  const korvohost::SBindingRecord* b = korvohost::FindBinding(action_);
  return b ? int(b->inputs.size()) : 0;
}

const char* CCtrlClient::GetItemName(int index) const {
  const korvohost::SBindingRecord* b = korvohost::FindBinding(action_);
  if (!b || index < 0 || index >= int(b->inputs.size())) return nullptr;
  return b->inputs[index].c_str();
}

CCtrlClient* CCtrlManager::FindClient(const char* action) {
  if (!action) return nullptr;
  // One client object per action name asked for; it reads the binding at each use.
  static std::vector<std::unique_ptr<CCtrlClient>> clients;
  static std::vector<std::string> names;
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == action) return clients[i].get();
  names.emplace_back(action);
  clients.push_back(std::make_unique<CCtrlClient>(action));
  return clients.back().get();
}

const char* CCtrlManager::GetFirstItem(const uint8_t* keyboard) {
  if (!keyboard) return nullptr;
  for (int i = 0; i < 256; ++i) {
    if (keyboard[i] & 0x80) {
      std::snprintf(g_firstItem, sizeof g_firstItem, "KEY%d", i);
      return g_firstItem;
    }
  }
  return nullptr;
}

const char* CCtrlManager::GetFirstItem(const SRawMouseState* mouse) {
  if (!mouse) return nullptr;
  for (int i = 0; i < 4; ++i) {
    if (mouse->buttons[i] & 0x80) {
      std::snprintf(g_firstItem, sizeof g_firstItem, "MOUSE%d", i);
      return g_firstItem;
    }
  }
  return nullptr;
}

void CCtrlManager::AssignItemToClient(const char* action, const char* input, int n) {
  RecordService("CtrlManager::AssignItemToClient", {PrintText(action), PrintText(input), std::to_string(n)});
  if (!action || !input) return;
  for (auto& b : Game().bindings)
    if (b.action != action) std::erase(b.inputs, std::string(input));
  korvohost::SBindingRecord& b = korvohost::FindOrAddBinding(action);
  if (std::find(b.inputs.begin(), b.inputs.end(), input) == b.inputs.end()) b.inputs.emplace_back(input);
  const size_t keep = size_t(std::max(n, 1));
  if (b.inputs.size() > keep) b.inputs.erase(b.inputs.begin(), b.inputs.end() - keep);
}

void ReadOptionControlINI() { ForEachBinding(Step::kRead, "ReadOptionControlINI"); }
void WriteOptionControlINI() { ForEachBinding(Step::kWrite, "WriteOptionControlINI"); }
void AssignDefaultOptionControls() { ForEachBinding(Step::kDefault, "AssignDefaultOptionControls"); }

// ---- Display modes and raw input --------------------------------------------------------------

int GetDisplayModes(SDisplayMode* modes, int max) {
  const auto& all = Game().displayModes;
  for (int i = 0; modes && i < max && i < int(all.size()); ++i) modes[i] = all[i];
  return int(all.size());
}

void AddInputEventHandler(InputEventHandler handler) {
  RecordService("AddInputEventHandler", {handler ? "callback" : "null"});
  if (handler) Game().handlers.push_back(handler);
}
