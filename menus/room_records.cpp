// room_records.cpp: the records of the multiplayer setup (a part of the module
// state) and their exported functions: client records, local client index,
// team colours, the option-part table built from the host's descriptors, the
// server record.
#include "menus/room_records.h"

#include <cstring>

#include "host/host_characters.h"
#include "runtime/module_state.h"

namespace {

struct STeamColor {
  uint32_t argb = 0;
  char name[room::kTeamNameRoom] = {};
};

// The records, a part of the module state.
struct SRoomRecords final : CModulePart {
  SGUI_ClientInfo clients[room::kClientSlots];
  int localClient = -1;
  STeamColor teamColors[room::kTeamColors];
  int teamColorCount = 0;
  char noTeamName[5] = "NONE";   // the callers' char* of the neutral colour's name
  char emptyName[1] = "";
  SGUI_OptionInfo options[room::kOptionEntries];
  int optionCount = 0;
  SGUI_ServerInfo server;
};

SRoomRecords& Records() { return ModulePart<SRoomRecords>(); }

// Copies text into a field of `room` bytes, cut to room - 1 and NUL-terminated.
void CopyCut(char* field, size_t room, const char* text) {
  const size_t n = text ? strnlen(text, room - 1) : 0;
  std::memcpy(field, text ? text : "", n);
  std::memset(field + n, 0, room - n);
}

}  // namespace

// ---- Whole-record copies ------------------------------------------------------------------

SGUI_ClientInfo& SGUI_ClientInfo::operator=(const SGUI_ClientInfo& other) {
  std::memmove(static_cast<void*>(this), &other, sizeof *this);
  return *this;
}

SGUI_ServerInfo& SGUI_ServerInfo::operator=(const SGUI_ServerInfo& other) {
  std::memmove(static_cast<void*>(this), &other, sizeof *this);
  return *this;
}

SGUI_OptionInfo& SGUI_OptionInfo::operator=(const SGUI_OptionInfo& other) {
  std::memmove(static_cast<void*>(this), &other, sizeof *this);
  return *this;
}

// ---- Client records ---------------------------------------------------------------------------

extern "C" KORVO_API bool GUI_InitClientInfo(int slot, int state) {
  SGUI_ClientInfo* client = GUI_GetClientInfo(slot);
  if (!client) return false;
  *client = SGUI_ClientInfo();
  client->state = state;
  return true;
}

extern "C" KORVO_API SGUI_ClientInfo* GUI_GetClientInfo(int slot) {
  if (slot < 0 || slot >= room::kClientSlots) return nullptr;
  return &Records().clients[slot];
}

extern "C" KORVO_API int GUI_GetLocalClientIndex() { return Records().localClient; }

extern "C" KORVO_API bool GUI_SetLocalClientIndex(int slot) {
  Records().localClient = slot;
  return true;
}

// ---- Team colours -------------------------------------------------------------------------------

extern "C" KORVO_API void GUI_InitTeamColor(int count, unsigned long* colours, char** names) {
  if (count < 0) count = 0;
  if (count > room::kTeamColors) count = room::kTeamColors;
  SRoomRecords& records = Records();
  for (int i = 0; i < count; ++i) {
    STeamColor& entry = records.teamColors[i];
    entry.argb = colours ? static_cast<uint32_t>(colours[i]) : 0;
    CopyCut(entry.name, sizeof entry.name, names ? names[i] : nullptr);
  }
  records.teamColorCount = count;
}

extern "C" KORVO_API int GUI_GetNumTeamColor() { return Records().teamColorCount; }

extern "C" KORVO_API unsigned long GUI_GetTeamColorByID(int team) {
  const SRoomRecords& records = Records();
  if (team >= room::kNoTeam) return room::kNoTeamColor;
  if (team < 0 || team >= records.teamColorCount) return 0;
  return records.teamColors[team].argb;
}

extern "C" KORVO_API char* GUI_GetTeamColorNameByID(int team) {
  SRoomRecords& records = Records();
  if (team >= room::kNoTeam) return records.noTeamName;
  if (team < 0 || team >= records.teamColorCount) return records.emptyName;
  return records.teamColors[team].name;
}

// ---- Option parts -------------------------------------------------------------------------------

extern "C" KORVO_API void GUI_InitOptionInfo() {
  SRoomRecords& records = Records();
  for (SGUI_OptionInfo& entry : records.options) entry = SGUI_OptionInfo();
  int& count = records.optionCount;
  count = 0;
  for (const OPT_DESC* desc = OPT_GetDescHead(); desc && count < room::kOptionEntries;
       desc = desc->next) {
    SGUI_OptionInfo& entry = records.options[count];
    entry.valid = 1;
    entry.index = count;
    CopyCut(entry.name, sizeof entry.name, desc->text[0]);
    CopyCut(entry.text2, sizeof entry.text2, desc->text[1]);
    CopyCut(entry.icon, sizeof entry.icon, desc->text[2]);
    CopyCut(entry.text4, sizeof entry.text4, desc->text[3]);
    entry.left = desc->id;
    entry.right = desc->id;
    ++count;
  }
}

extern "C" KORVO_API int GUI_GetNumOptions() { return Records().optionCount; }
extern "C" KORVO_API int GUI_GetNumAvailableOptions() { return Records().optionCount; }

extern "C" KORVO_API SGUI_OptionInfo* GUI_GetOptionInfo(int index) {
  SRoomRecords& records = Records();
  if (index < 0 || index >= records.optionCount) return nullptr;
  return &records.options[index];
}

extern "C" KORVO_API SGUI_OptionInfo* GUI_GetAvailableOptionInfo(int index) {
  return GUI_GetOptionInfo(index);
}

// ---- Server record --------------------------------------------------------------------------------

extern "C" KORVO_API SGUI_ServerInfo* GUI_GetServerInfo() { return &Records().server; }
