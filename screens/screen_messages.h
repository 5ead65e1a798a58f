// screen_messages.h: the host's numbered messages as the screens show them:
// in a message box, or as a text.
#pragma once
#include <string>

#include "korvogui/messagebox.h"

// Message text number id of the host's string table; empty when there is none.
std::string MessageText(int id);
// Opens a message box with message text number id.
void ShowMessage(int id, unsigned long flags = 0, MessageBoxCallback callback = nullptr);
