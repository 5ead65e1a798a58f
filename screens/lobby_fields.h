// lobby_fields.h: what the lobby screens read from their edits and write into
// the online client: an edit's text and the login id.
#pragma once
#include <string>

class CGUI_Window;

namespace lobby {

// The text of the edit `id` in `dialog`; empty when there is no such edit.
std::string EditText(CGUI_Window* dialog, const char* id);
// Copies id into the online client's login id, cut to its room.
void SetLoginId(const std::string& id);

}  // namespace lobby
