// records.h: a game of the client library's answers as the online client's
// SESSION_INFO record (korvogui/lobby_records.h), the form the join list reads.
// Texts are cut to fit and always terminated.
#pragma once
#include "korvogui/lobby_records.h"
#include "lobbyd/client.h"

namespace lobbyd {

SESSION_INFO ToRecord(const SSession& session);

}  // namespace lobbyd
