// records.h: the client library's answers as the online client's lobby
// records (PLAYER_INFO, SESSION_INFO, CHANNEL_INFO of korvogui/lobby_records.h),
// the form the module's lists read. Texts are cut to fit and always terminated.
#pragma once
#include "korvogui/lobby_records.h"
#include "lobbyd/client.h"

namespace lobbyd {

PLAYER_INFO ToRecord(const SPlayer& player);
SESSION_INFO ToRecord(const SSession& session);
CHANNEL_INFO ToRecord(const SChannel& channel);

}  // namespace lobbyd
