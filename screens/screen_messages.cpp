// screen_messages.cpp: numbered host messages in message boxes.
#include "screens/screen_messages.h"

#include "host/host_services.h"

std::string MessageText(int id) {
  char buffer[1024] = {};
  if (Res_LoadString(id, buffer, int(sizeof buffer)) <= 0) return {};
  return buffer;
}

void ShowMessage(int id, unsigned long flags, MessageBoxCallback callback) {
  const std::string text = MessageText(id);
  GUI_MessageBox(text.c_str(), nullptr, flags, callback);
}
