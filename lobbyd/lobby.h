// lobby.h: the lobby's rules, apart from sockets: accounts, logins, channels
// with their members, chat, and the open games with their players. The
// server feeds it decoded requests per connection; it answers through the
// sink, each request with its entries and then one kResult.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "lobbyd/limits.h"
#include "lobbyd/password_work.h"
#include "lobbyd/protocol.h"
#include "lobbyd/store.h"
#include "lobbyd/store_pg.h"
#include "lobbyd/throttle.h"

namespace lobbyd {

using ConnId = uint64_t;
using Sink = std::function<void(ConnId, const SMessage&)>;

constexpr const char* kDefaultChannel = "Lobby";
constexpr size_t kMaxChannels = 100;     // the client's channel table
constexpr size_t kMaxGames = 100;        // the client's session table
constexpr size_t kMaxListedPlayers = 100;
constexpr uint32_t kMaxGamePlayers = 8;

class CLobby {
 public:
  CLobby(CStore& store, CPasswordWork& passwords, Clock clock, Sink sink, SLobbyLimits limits = {});

  // A connection from an IPv4 address (a.b.c.d as a << 24 | b << 16 | c << 8 | d).
  void Connected(ConnId conn, uint32_t address);
  // False when the message is no request (an answer type): the connection
  // breaks the protocol and is to be closed.
  bool Handle(ConnId conn, const SMessage& request);
  void Disconnected(ConnId conn);

  // True while a password job of the connection runs: its next requests wait
  // (answers keep the order of the requests).
  bool Busy(ConnId conn) const { return busy_.count(conn) != 0; }
  size_t OnlineCount() const { return online_.size(); }

  // ---- Several nodes on one shared store (lobby_nodes.cpp) ----
  // The socket on which the other nodes' notices arrive; -1 on a single node.
  int NoticeFd() const;
  // Called by the server on every turn of its loop: marks the node alive
  // when due, applies the other nodes' notices, reloads their players and
  // games when they changed, and tells them this node's changes.
  void NodesTick();
  bool LoggedIn(ConnId conn) const {
    auto it = members_.find(conn);
    return it != members_.end() && !it->second.id.empty();
  }

 private:
  struct SMember {
    uint32_t address = 0;
    std::string id;          // empty until logged in
    SAccount record;         // as read at login (no hash kept)
    std::string channel;
    std::string hostedGame, joinedGame;
    CRateBucket chat;        // chat lines of this connection
  };
  struct SGame {
    SGameRow row;
    std::string password;    // kept in memory only
    std::vector<ConnId> players;   // host first
  };

  void Answer(ConnId conn, EMsg request, ECode code);
  void NewId(ConnId conn, const SMessage& m);
  void Login(ConnId conn, SMember& member, const SMessage& m);
  void ChangePassword(ConnId conn, SMember& member, const SMessage& m);
  void LogOut(SMember& member, ConnId conn);
  void PrivateInfo(ConnId conn, const SMember& member);
  void ChannelList(ConnId conn);
  void ChangeChannel(ConnId conn, SMember& member, const SMessage& m);
  void PlayerList(ConnId conn, const SMember& member);
  void SessionList(ConnId conn);
  void SessionInfo(ConnId conn, const SMessage& m);
  void JoinGame(ConnId conn, SMember& member, const SMessage& m);
  void CreateGame(ConnId conn, SMember& member, const SMessage& m);
  void Chat(ConnId conn, const SMember& member, const SMessage& m);

  // Checks a password against an account under the throttle, then calls
  // `then` with kOk and the account, or the refusal (only while the
  // connection is still there).
  using LoginDone = std::function<void(ECode, SAccount)>;
  void CheckLogin(ConnId conn, const std::string& id, const std::string& password, LoginDone then);
  void Rehash(const std::string& id, const std::string& password);
  void EnterChannel(ConnId conn, SMember& member, const std::string& name);
  void LeaveChannel(ConnId conn, SMember& member);
  void LeaveGames(ConnId conn, SMember& member);
  void CloseGame(const std::string& name);
  SMessage PlayerEntry(const SAccount& account) const;
  SMessage SessionEntry(const SGame& game) const;

  // ---- Several nodes (lobby_nodes.cpp) ----
  struct SRemote {
    std::vector<SOnlinePlayer> players;   // online on other nodes
    std::vector<SSharedGame> games;       // open on other nodes
  };
  void Publish(const std::string& kind, const std::vector<std::string>& fields);
  void ApplyNotice(const std::string& payload);
  void ReloadRemote();
  // The other nodes list a game of this node with its number of players.
  void SharePlayers(const SGame& game);
  void ReclaimPlayers();
  size_t RemoteMembers(const std::string& channel) const;
  bool RemoteChannel(const std::string& name) const;
  const SSharedGame* RemoteGame(const std::string& name) const;
  void RemoteSessionInfo(ConnId conn, const SSharedGame& game);
  void RemoteJoin(ConnId conn, const SSharedGame& game, const SMessage& m);
  std::string PasswordDigest(const std::string& password) const;
  bool SameDigest(const std::string& password, const std::string& digest) const;

  CStore& store_;
  CPasswordWork& passwords_;
  Clock clock_;
  SLobbyLimits limits_;
  std::unique_ptr<IThrottle> registrations_;     // registrations per address
  std::unique_ptr<IThrottle> pairThrottle_;      // failed logins per address and account
  std::unique_ptr<IThrottle> addressThrottle_;   // failed logins per address
  Sink sink_;
  std::unordered_map<ConnId, SMember> members_;
  std::set<ConnId> busy_;
  // A hash of no account's password: unknown ids are checked against it, so
  // that their refusal takes as long as a wrong password's.
  std::string decoyHash_;
  std::unordered_map<std::string, ConnId> online_;          // lower-case id -> connection
  std::vector<std::string> channelOrder_;
  std::map<std::string, std::set<ConnId>> channels_;        // name -> members
  std::map<std::string, std::string> channelCreators_;      // name -> lower-case id (user channels)
  std::vector<SGame> games_;                                // in creation order

  CPgStore* shared_ = nullptr;   // the store shared with other nodes, or null
  SRemote remote_;
  bool remoteStale_ = true;
  bool playersChanged_ = false, gamesChanged_ = false;   // to tell the others
  int64_t nextBeat_ = 0;
  int64_t node_ = 0;
};

}  // namespace lobbyd
