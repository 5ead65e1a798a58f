// lobby_fields.cpp: edit texts and the login id of the lobby screens.
#include "screens/lobby_fields.h"

#include <cstring>

#include "host/netkorvo.h"
#include "runtime/edit.h"

namespace lobby {

std::string EditText(CGUI_Window* dialog, const char* id) {
  std::string text;
  auto* edit = dialog ? dynamic_cast<CGUI_Edit*>(dialog->FindChild(id)) : nullptr;
  if (edit) edit->GetText(text);
  return text;
}

void SetLoginId(const std::string& id) {
  std::memset(Clt.LoginID, 0, sizeof Clt.LoginID);
  std::strncpy(Clt.LoginID, id.c_str(), sizeof Clt.LoginID - 1);
}

}  // namespace lobby
