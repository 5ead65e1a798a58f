// room_records.cpp: the module-wide records of the multiplayer setup and their
// exported functions: client records, local client index, team colours, the
// option-part table built from the host's descriptors, the server record.
#include "menus/room_records.h"

#include <cstring>

#include "host/host_characters.h"

namespace {

SGUI_ClientInfo g_clients[room::kClientSlots];
int g_localClient = -1;

struct STeamColor {
  uint32_t argb;
  char name[room::kTeamNameRoom];
};
STeamColor g_teamColors[room::kTeamColors];
int g_teamColorCount = 0;
char g_noTeamName[] = "NONE";
char g_emptyName[] = "";

SGUI_OptionInfo g_options[room::kOptionEntries];
int g_optionCount = 0;

SGUI_ServerInfo g_server;

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
  return &g_clients[slot];
}

extern "C" KORVO_API int GUI_GetLocalClientIndex() { return g_localClient; }

extern "C" KORVO_API bool GUI_SetLocalClientIndex(int slot) {
  g_localClient = slot;
  return true;
}

// ---- Team colours -------------------------------------------------------------------------------

extern "C" KORVO_API void GUI_InitTeamColor(int count, unsigned long* colours, char** names) {
  if (count < 0) count = 0;
  if (count > room::kTeamColors) count = room::kTeamColors;
  for (int i = 0; i < count; ++i) {
    g_teamColors[i].argb = colours ? static_cast<uint32_t>(colours[i]) : 0;
    CopyCut(g_teamColors[i].name, sizeof g_teamColors[i].name, names ? names[i] : nullptr);
  }
  g_teamColorCount = count;
}

extern "C" KORVO_API int GUI_GetNumTeamColor() { return g_teamColorCount; }

extern "C" KORVO_API unsigned long GUI_GetTeamColorByID(int team) {
  if (team >= room::kNoTeam) return room::kNoTeamColor;
  if (team < 0 || team >= g_teamColorCount) return 0;
  return g_teamColors[team].argb;
}

extern "C" KORVO_API char* GUI_GetTeamColorNameByID(int team) {
  if (team >= room::kNoTeam) return g_noTeamName;
  if (team < 0 || team >= g_teamColorCount) return g_emptyName;
  return g_teamColors[team].name;
}

// ---- Option parts -------------------------------------------------------------------------------

extern "C" KORVO_API void GUI_InitOptionInfo() {
  for (SGUI_OptionInfo& entry : g_options) entry = SGUI_OptionInfo();
  g_optionCount = 0;
  for (const OPT_DESC* desc = OPT_GetDescHead(); desc && g_optionCount < room::kOptionEntries;
       desc = desc->next) {
    SGUI_OptionInfo& entry = g_options[g_optionCount];
    entry.valid = 1;
    entry.index = g_optionCount;
    CopyCut(entry.name, sizeof entry.name, desc->text[0]);
    CopyCut(entry.text2, sizeof entry.text2, desc->text[1]);
    CopyCut(entry.icon, sizeof entry.icon, desc->text[2]);
    CopyCut(entry.text4, sizeof entry.text4, desc->text[3]);
    entry.left = desc->id;
    entry.right = desc->id;
    ++g_optionCount;
  }
}

extern "C" KORVO_API int GUI_GetNumOptions() { return g_optionCount; }
extern "C" KORVO_API int GUI_GetNumAvailableOptions() { return g_optionCount; }

extern "C" KORVO_API SGUI_OptionInfo* GUI_GetOptionInfo(int index) {
  if (index < 0 || index >= g_optionCount) return nullptr;
  return &g_options[index];
}

extern "C" KORVO_API SGUI_OptionInfo* GUI_GetAvailableOptionInfo(int index) {
  return GUI_GetOptionInfo(index);
}

// ---- Server record --------------------------------------------------------------------------------

extern "C" KORVO_API SGUI_ServerInfo* GUI_GetServerInfo() { return &g_server; }
