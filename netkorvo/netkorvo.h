// netkorvo.h: the network stand-in's control API, for tools and tests only
// (the module reaches the library through host/netkorvo.h).
#pragma once
#include <string>

#include "host/netkorvo.h"
#include "korvogui/room.h"
#include "refhost/session_state.h"

#define NETKORVO_API __attribute__((visibility("default")))

namespace netkorvo {

// The provider of the network scalars and records and of the module's
// clientinfo and serverinfo records.
NETKORVO_API korvostate::CStateProvider& SessionProvider();
// Starts a session: registers the provider (once, after the ones registered
// before), brings the library to its start state in recording mode and turns
// the log of recorded calls on.
NETKORVO_API void BeginSession();
// The library's globals and the scripted state back to their start values.
NETKORVO_API void Reset();

// Printed fields of records as sessions show them ("state=0 name=\"\" …").
NETKORVO_API std::string PrintFields(const SGUI_ClientInfo& record);
NETKORVO_API std::string PrintFields(const SGUI_ServerInfo& record);
NETKORVO_API std::string PrintFields(const SGUI_OptionInfo& record);
NETKORVO_API std::string PrintFields(const PLAYER_INFO& record);
NETKORVO_API std::string PrintFields(const SESSION_INFO& record);
NETKORVO_API std::string PrintFields(const CHANNEL_INFO& record);

}  // namespace netkorvo
