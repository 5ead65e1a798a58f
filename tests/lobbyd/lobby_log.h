// lobby_log.h: a lobby driven without sockets, on a clock stepped by hand,
// that writes each request and every message it brought to any connection to
// a log (the lobby tests compare the log with an expected text).
#pragma once
#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <memory>
#include <ostream>

#include "lobbyd/encoder.h"
#include "lobbyd/lobby.h"

namespace lobbyd {

inline std::string MessageName(uint32_t type) {
  static const char* const requests[] = {"", "IdPw", "LogOut", "PrivateInfo", "NewIdPw", "ChgPw", "ChannelList",
                                         "ChgChannel", "PlayerList", "SessionList", "SessionInfo", "JoinGame",
                                         "CreateGame", "ChatMsg", "LeaveGame"};
  static const char* const answers[] = {"Result", "PlayerEntry", "ChannelEntry", "SessionEntry", "SessionPlayer",
                                        "Chat", "JoinGranted", "SessionClosed"};
  if (type < std::size(requests)) return requests[type];
  return type >= 64 && type - 64 < std::size(answers) ? answers[type - 64] : "type " + std::to_string(type);
}

// "ChatMsg "hello"", "Result ChatMsg: throttled", "SessionEntry "Duel" "map01.gnd" 2 0 0 1 2 1".
inline std::string Print(const SMessage& m) {
  std::string out = MessageName(uint32_t(m.type));
  if (m.type == EMsg::kResult) return out + " " + MessageName(m.Number(0)) + ": " + CodeName(ECode(m.Number(1)));
  for (const std::string& text : m.texts) out += " " + ::testing::PrintToString(text);
  for (uint32_t number : m.numbers) out += " " + std::to_string(number);
  return out;
}

// One lobby (a node); `tag` names it in the log ("" for a lone one).
struct SLoggedLobby {
  void Make(CStore& store, CPasswordWork& work, const int64_t* now, std::ostream* out, std::string tag = "",
            SLobbyLimits limits = {}) {
    log = out;
    name = std::move(tag);
    lobby = std::make_unique<CLobby>(store, work, [now] { return *now; },
                                     [this](ConnId c, const SMessage& m) { sent[c].push_back(m); }, limits);
  }
  void Ask(ConnId conn, EMsg type, std::vector<std::string> texts, std::vector<uint32_t> numbers = {}) {
    const SMessage request = MakeMessage(type, std::move(texts), std::move(numbers));
    *log << name << conn << " asks " << Print(request) << "\n";
    EXPECT_TRUE(lobby->Handle(conn, request));
    Sent();
  }
  // Logs what the connections were sent since the last time.
  void Sent() {
    for (const auto& [conn, messages] : sent)
      for (const SMessage& m : messages) *log << "  " << name << conn << " gets " << Print(m) << "\n";
    sent.clear();
  }
  void Connect(ConnId conn, uint32_t address = 0x7f000001) {
    *log << name << conn << " connects from 127.0.0." << (address & 255) << "\n";
    lobby->Connected(conn, address);
  }
  void Disconnect(ConnId conn) {
    *log << name << conn << " leaves\n";
    lobby->Disconnected(conn);
    Sent();
  }
  void Register(ConnId conn, const std::string& id) {
    Ask(conn, EMsg::kNewIdPw, {id, "secret-" + id, "secret-" + id, "850307", id + "@example.org"});
  }
  void Login(ConnId conn, const std::string& id) { Ask(conn, EMsg::kIdPw, {id, "secret-" + id}); }
  void Enter(ConnId conn, const std::string& id, uint32_t address = 0x7f000001) {
    Connect(conn, address);
    Register(conn, id);
    Login(conn, id);
  }

  std::unique_ptr<CLobby> lobby;
  std::map<ConnId, std::vector<SMessage>> sent;
  std::ostream* log = nullptr;
  std::string name;
};

}  // namespace lobbyd
