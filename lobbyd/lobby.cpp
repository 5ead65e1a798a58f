// lobby.cpp: request handling of the lobby.
#include "lobbyd/lobby.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include <sodium.h>

#include "lobbyd/encoder.h"
#include "lobbyd/grade.h"
#include "lobbyd/validation.h"

namespace lobbyd {

namespace {

std::string Lower(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

uint32_t Clamp16(uint32_t value) { return std::min<uint32_t>(value, 0xffff); }

// A game's password compared over the whole field: the time taken does not
// tell where a guess differs.
bool SamePassword(const std::string& given, const std::string& password) {
  unsigned differ = given.size() == password.size() ? 0 : 1;
  for (size_t i = 0; i < kGamePasswordMax; ++i) {
    const unsigned a = i < given.size() ? static_cast<unsigned char>(given[i]) : 0;
    const unsigned b = i < password.size() ? static_cast<unsigned char>(password[i]) : 0;
    differ |= a ^ b;
  }
  return differ == 0;
}

std::string Dotted(uint32_t address) {
  return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 255) + "." +
         std::to_string((address >> 8) & 255) + "." + std::to_string(address & 255);
}

bool IsPrintableAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7e; });
}

}  // namespace

CLobby::CLobby(CStore& store, CPasswordWork& passwords, Clock clock, Sink sink, SLobbyLimits limits)
    : store_(store),
      passwords_(passwords),
      clock_(clock),
      limits_(limits),
      registrations_(store.NewThrottle("registration", clock, limits.registrations)),
      pairThrottle_(store.NewThrottle("login-pair", clock, limits.pairLogins)),
      addressThrottle_(store.NewThrottle("login-address", clock, limits.addressLogins)),
      sink_(std::move(sink)),
      shared_(dynamic_cast<CPgStore*>(&store)) {
  if (shared_ && !shared_->JoinCluster())
    std::fprintf(stderr, "korvo-lobbyd: storage error: cannot join the other nodes: %s\n", store_.LastError().c_str());
  if (shared_) node_ = shared_->Node();
  store_.AddChannel(kDefaultChannel);
  // Channels made by players live while someone is in them: none at start
  // (on a shared store, none but those players of other nodes are in).
  for (const std::string& name : store_.Channels())
    if (name != kDefaultChannel) store_.RemoveChannel(name);
  channelOrder_ = store_.Channels();
  for (const std::string& name : channelOrder_) channels_[name];
  passwords_.Hash("decoy password", [this](bool ok, const std::string& hash) {
    if (ok) decoyHash_ = hash;
  });
}

void CLobby::Connected(ConnId conn, uint32_t address) { members_[conn].address = address; }

void CLobby::Disconnected(ConnId conn) {
  auto it = members_.find(conn);
  if (it == members_.end()) return;
  LogOut(it->second, conn);
  members_.erase(it);
}

void CLobby::Answer(ConnId conn, EMsg request, ECode code) {
  sink_(conn, MakeMessage(EMsg::kResult, {}, {static_cast<uint32_t>(request), static_cast<uint32_t>(code)}));
}

bool CLobby::Handle(ConnId conn, const SMessage& m) {
  if (static_cast<uint8_t>(m.type) >= static_cast<uint8_t>(EMsg::kResult)) return false;
  auto it = members_.find(conn);
  if (it == members_.end()) return false;
  SMember& member = it->second;
  // Requests open to a connection that is not logged in.
  switch (m.type) {
    case EMsg::kNewIdPw: NewId(conn, m); return true;
    case EMsg::kIdPw: Login(conn, member, m); return true;
    case EMsg::kChgPw: ChangePassword(conn, member, m); return true;
    case EMsg::kLogOut:
      LogOut(member, conn);
      Answer(conn, m.type, ECode::kOk);
      return true;
    default: break;
  }
  if (member.id.empty()) {
    Answer(conn, m.type, ECode::kNotLoggedIn);
    return true;
  }
  switch (m.type) {
    case EMsg::kPrivateInfo: PrivateInfo(conn, member); break;
    case EMsg::kChannelList: ChannelList(conn); break;
    case EMsg::kChgChannel: ChangeChannel(conn, member, m); break;
    case EMsg::kPlayerList: PlayerList(conn, member); break;
    case EMsg::kSessionList: SessionList(conn); break;
    case EMsg::kSessionInfo: SessionInfo(conn, m); break;
    case EMsg::kJoinGame: JoinGame(conn, member, m); break;
    case EMsg::kCreateGame: CreateGame(conn, member, m); break;
    case EMsg::kChatMsg: Chat(conn, member, m); break;
    case EMsg::kLeaveGame:
      LeaveGames(conn, member);
      Answer(conn, m.type, ECode::kOk);
      break;
    default: break;
  }
  return true;
}

// ---- Accounts ------------------------------------------------------------------------------

void CLobby::NewId(ConnId conn, const SMessage& m) {
  const std::string &id = m.Text(0), &password = m.Text(1), &verify = m.Text(2);
  ECode code = CheckId(id);
  if (code == ECode::kOk) code = CheckPassword(password);
  if (code == ECode::kOk && verify != password) code = ECode::kVerifyMismatch;
  if (code == ECode::kOk) code = CheckBirthday(m.Text(3));
  if (code == ECode::kOk) code = CheckEmail(m.Text(4));
  if (code != ECode::kOk) return Answer(conn, m.type, code);
  const std::string address = Dotted(members_.at(conn).address);
  if (registrations_->Locked(address)) return Answer(conn, m.type, ECode::kThrottled);
  registrations_->Fail(address);
  // A taken id is found by the insert, after the hash: its answer takes as
  // long as a new id's, so that ids cannot be listed quickly.
  SAccount account;
  account.id = id;
  account.birthday = m.Text(3);
  account.email = m.Text(4);
  busy_.insert(conn);
  passwords_.Hash(password, [this, conn, account](bool ok, const std::string& hash) mutable {
    busy_.erase(conn);
    if (!members_.count(conn)) return;
    if (!ok) return Answer(conn, EMsg::kNewIdPw, ECode::kServerError);
    account.passwordHash = hash;
    bool failed = false;
    const bool created = store_.CreateAccount(account, &failed);
    if (failed)
      std::fprintf(stderr, "korvo-lobbyd: storage error: cannot create account: %s\n", store_.LastError().c_str());
    // Committed (or refused) before the answer goes out.
    Answer(conn, EMsg::kNewIdPw, failed ? ECode::kServerError : created ? ECode::kOk : ECode::kIdTaken);
  });
}

void CLobby::CheckLogin(ConnId conn, const std::string& id, const std::string& password, LoginDone then) {
  const std::string address = Dotted(members_.at(conn).address);
  const std::string pairKey = address + "/" + Lower(id);
  // One account's lock from one address does not reach its owner elsewhere.
  if (pairThrottle_->Locked(pairKey) || addressThrottle_->Locked(address))
    return then(ECode::kThrottled, SAccount());
  // A try counts when it starts, so that tries running side by side on
  // several connections meet the limit as tries in a row do.
  pairThrottle_->Fail(pairKey);
  addressThrottle_->Fail(address);
  std::optional<SAccount> found;
  bool failed = false;
  if (CheckId(id) == ECode::kOk) found = store_.FindAccount(id, &failed);
  if (failed) {
    // Not the player's fault: no try counted, no wrong password told.
    std::fprintf(stderr, "korvo-lobbyd: storage error: cannot read account: %s\n", store_.LastError().c_str());
    pairThrottle_->Refund(pairKey);
    addressThrottle_->Refund(address);
    return then(ECode::kServerError, SAccount());
  }
  if (!found && decoyHash_.empty()) return then(ECode::kWrongLogin, SAccount());
  busy_.insert(conn);
  const std::string hash = found ? found->passwordHash : decoyHash_;
  const bool known = found.has_value();
  if (!found) found.emplace();
  // A hash made at an older cost is made again at the current one after a
  // good check (the password is at hand only then).
  std::string rehash = known && passwords_.NeedsRehash(hash) ? password : std::string();
  passwords_.Verify(hash, password, [this, conn, pairKey, address, known, account = std::move(*found),
                                     rehash = std::move(rehash),
                                     then = std::move(then)](bool verified, const std::string&) mutable {
    busy_.erase(conn);
    const bool ok = known && verified;
    // The try was counted when it started; a good one is taken back.
    if (ok) {
      pairThrottle_->Clear(pairKey);
      addressThrottle_->Refund(address);
      if (!rehash.empty()) Rehash(account.id, rehash);
    }
    sodium_memzero(rehash.data(), rehash.size());
    if (!members_.count(conn)) return;
    account.passwordHash.clear();
    then(ok ? ECode::kOk : ECode::kWrongLogin, std::move(account));
  });
}

void CLobby::Rehash(const std::string& id, const std::string& password) {
  passwords_.Hash(password, [this, id](bool ok, const std::string& hash) {
    if (ok && !store_.SetPasswordHash(id, hash))
      std::fprintf(stderr, "korvo-lobbyd: storage error: cannot store a new hash: %s\n", store_.LastError().c_str());
  });
}

void CLobby::Login(ConnId conn, SMember& member, const SMessage& m) {
  if (!member.id.empty()) return Answer(conn, m.type, ECode::kAlreadyLoggedIn);
  CheckLogin(conn, m.Text(0), m.Text(1), [this, conn](ECode code, SAccount account) {
    if (code != ECode::kOk) return Answer(conn, EMsg::kIdPw, code);
    SMember& member = members_.at(conn);
    const std::string key = Lower(account.id);
    if (!member.id.empty() || online_.count(key)) return Answer(conn, EMsg::kIdPw, ECode::kAlreadyLoggedIn);
    // Online on another node counts as online here.
    if (shared_) {
      const CPgStore::EClaim claim = shared_->Claim(account, kDefaultChannel);
      if (claim == CPgStore::EClaim::kFailed)
        std::fprintf(stderr, "korvo-lobbyd: storage error: cannot mark a login: %s\n", store_.LastError().c_str());
      if (claim != CPgStore::EClaim::kClaimed)
        return Answer(conn, EMsg::kIdPw,
                      claim == CPgStore::EClaim::kElsewhere ? ECode::kAlreadyLoggedIn : ECode::kServerError);
      playersChanged_ = true;
    }
    member.id = account.id;
    member.record = std::move(account);
    online_[key] = conn;
    EnterChannel(conn, member, kDefaultChannel);
    Answer(conn, EMsg::kIdPw, ECode::kOk);
  });
}

void CLobby::ChangePassword(ConnId conn, SMember&, const SMessage& m) {
  const std::string &id = m.Text(0), &newPassword = m.Text(2);
  ECode code = CheckPassword(newPassword);
  if (code == ECode::kOk && m.Text(3) != newPassword) code = ECode::kVerifyMismatch;
  if (code != ECode::kOk) return Answer(conn, m.type, code);
  CheckLogin(conn, id, m.Text(1), [this, conn, newPassword](ECode code, SAccount account) {
    if (code != ECode::kOk) return Answer(conn, EMsg::kChgPw, code);
    busy_.insert(conn);
    passwords_.Hash(newPassword, [this, conn, id = account.id](bool ok, const std::string& hash) {
      busy_.erase(conn);
      if (!members_.count(conn)) return;
      const bool stored = ok && store_.SetPasswordHash(id, hash);
      if (ok && !stored)
        std::fprintf(stderr, "korvo-lobbyd: storage error: cannot change password: %s\n", store_.LastError().c_str());
      Answer(conn, EMsg::kChgPw, stored ? ECode::kOk : ECode::kServerError);
    });
  });
}

void CLobby::LogOut(SMember& member, ConnId conn) {
  if (member.id.empty()) return;
  LeaveGames(conn, member);
  // Gone from the shared list first, so that its channel may go with it.
  if (shared_ && !shared_->Release(member.id))
    std::fprintf(stderr, "korvo-lobbyd: storage error: cannot mark a logout: %s\n", store_.LastError().c_str());
  if (shared_) playersChanged_ = true;
  LeaveChannel(conn, member);
  online_.erase(Lower(member.id));
  member.id.clear();
  member.record = SAccount();
}

void CLobby::PrivateInfo(ConnId conn, const SMember& member) {
  sink_(conn, PlayerEntry(member.record));
  Answer(conn, EMsg::kPrivateInfo, ECode::kOk);
}

SMessage CLobby::PlayerEntry(const SAccount& a) const {
  const int grade = CalculateGrade(static_cast<int>(a.ranking), static_cast<int>(std::min<uint32_t>(a.score, 1u << 30)));
  return MakeMessage(EMsg::kPlayerEntry, {a.id},
                     {Clamp16(a.wins), Clamp16(a.losses), a.score, Clamp16(a.ranking), static_cast<uint32_t>(grade)});
}

// ---- Channels and chat ---------------------------------------------------------------------

void CLobby::ChannelList(ConnId conn) {
  std::vector<std::string> names = channelOrder_;
  // Channels in use on other nodes only.
  for (const SOnlinePlayer& p : remote_.players)
    if (std::find(names.begin(), names.end(), p.channel) == names.end() && names.size() < kMaxChannels)
      names.push_back(p.channel);
  for (const std::string& name : names) {
    const auto local = channels_.find(name);
    const size_t members = (local == channels_.end() ? 0 : local->second.size()) + RemoteMembers(name);
    sink_(conn, MakeMessage(EMsg::kChannelEntry, {name}, {Clamp16(static_cast<uint32_t>(members))}));
  }
  Answer(conn, EMsg::kChannelList, ECode::kOk);
}

void CLobby::ChangeChannel(ConnId conn, SMember& member, const SMessage& m) {
  const std::string& name = m.Text(0);
  const ECode code = CheckChannelName(name);
  if (code != ECode::kOk) return Answer(conn, m.type, code);
  if (!channels_.count(name) && RemoteChannel(name)) {
    // Made on another node: entered here as it is.
    channelOrder_.push_back(name);
    channels_[name];
  } else if (!channels_.count(name)) {
    const std::string creator = Lower(member.id);
    const size_t made = static_cast<size_t>(std::count_if(channelCreators_.begin(), channelCreators_.end(),
                                                          [&](const auto& c) { return c.second == creator; }));
    size_t existing = channelOrder_.size();
    for (const SOnlinePlayer& p : remote_.players) existing += channels_.count(p.channel) == 0;
    if (existing >= kMaxChannels || made >= limits_.channelsPerAccount)
      return Answer(conn, m.type, ECode::kChannelLimit);
    if (!store_.AddChannel(name)) return Answer(conn, m.type, ECode::kServerError);
    channelOrder_.push_back(name);
    channels_[name];
    channelCreators_[name] = creator;
  }
  EnterChannel(conn, member, name);
  sink_(conn, MakeMessage(EMsg::kChannelEntry, {name},
                          {Clamp16(static_cast<uint32_t>(channels_[name].size() + RemoteMembers(name)))}));
  Answer(conn, m.type, ECode::kOk);
}

void CLobby::EnterChannel(ConnId conn, SMember& member, const std::string& name) {
  if (member.channel == name) return;
  // Entered before the old one may go, so that it is not removed under us.
  channels_[name].insert(conn);
  if (shared_ && !member.channel.empty()) {
    if (!shared_->Move(member.id, name))
      std::fprintf(stderr, "korvo-lobbyd: storage error: cannot move a player: %s\n", store_.LastError().c_str());
    playersChanged_ = true;
  }
  LeaveChannel(conn, member);
  member.channel = name;
}

// A channel made by a player goes when its last member leaves.
void CLobby::LeaveChannel(ConnId conn, SMember& member) {
  const std::string name = std::move(member.channel);
  member.channel.clear();
  auto it = channels_.find(name);
  if (name.empty() || it == channels_.end()) return;
  it->second.erase(conn);
  if (!it->second.empty() || name == kDefaultChannel) return;
  channels_.erase(it);
  channelCreators_.erase(name);
  channelOrder_.erase(std::remove(channelOrder_.begin(), channelOrder_.end(), name), channelOrder_.end());
  if (!store_.RemoveChannel(name))
    std::fprintf(stderr, "korvo-lobbyd: storage error: cannot remove channel: %s\n", store_.LastError().c_str());
}

void CLobby::PlayerList(ConnId conn, const SMember& member) {
  size_t listed = 0;
  for (ConnId other : channels_[member.channel]) {
    if (listed++ == kMaxListedPlayers) break;
    sink_(conn, PlayerEntry(members_.at(other).record));
  }
  for (const SOnlinePlayer& p : remote_.players) {
    if (p.channel != member.channel) continue;
    if (listed++ == kMaxListedPlayers) break;
    sink_(conn, PlayerEntry(p.account));
  }
  Answer(conn, EMsg::kPlayerList, ECode::kOk);
}

void CLobby::Chat(ConnId conn, const SMember& member, const SMessage& m) {
  const ECode code = CheckChat(m.Text(0));
  if (code != ECode::kOk) return Answer(conn, m.type, code);
  if (!members_.at(conn).chat.Take(clock_(), limits_.chatBurst, limits_.chatIntervalMs))
    return Answer(conn, m.type, ECode::kThrottled);
  const SMessage line = MakeMessage(EMsg::kChat, {member.id, m.Text(0)});
  for (ConnId other : channels_[member.channel]) sink_(other, line);
  if (shared_) Publish("chat", {member.channel, member.id, m.Text(0)});
  Answer(conn, m.type, ECode::kOk);
}

// ---- Games ---------------------------------------------------------------------------------

// A locked game's address and port are told only with a granted join.
SMessage CLobby::SessionEntry(const SGame& g) const {
  const bool locked = !g.password.empty();
  return MakeMessage(EMsg::kSessionEntry, {g.row.name, g.row.map},
                     {g.row.type, locked ? 0u : g.row.address, locked ? 0u : g.row.port,
                      static_cast<uint32_t>(g.players.size()), g.row.maxPlayers, locked ? 1u : 0u});
}

void CLobby::SessionList(ConnId conn) {
  for (const SGame& game : games_) sink_(conn, SessionEntry(game));
  for (const SSharedGame& g : remote_.games) {
    const bool locked = !g.passwordDigest.empty();
    sink_(conn, MakeMessage(EMsg::kSessionEntry, {g.row.name, g.row.map},
                            {g.row.type, locked ? 0u : g.row.address, locked ? 0u : g.row.port, g.players,
                             g.row.maxPlayers, locked ? 1u : 0u}));
  }
  Answer(conn, EMsg::kSessionList, ECode::kOk);
}

void CLobby::SessionInfo(ConnId conn, const SMessage& m) {
  auto game = std::find_if(games_.begin(), games_.end(), [&](const SGame& g) { return g.row.name == m.Text(0); });
  if (game == games_.end()) {
    if (const SSharedGame* remote = RemoteGame(m.Text(0))) return RemoteSessionInfo(conn, *remote);
    return Answer(conn, m.type, ECode::kNoSuchGame);
  }
  uint32_t slot = 1;
  for (ConnId player : game->players) {
    const SAccount& a = members_.at(player).record;
    sink_(conn, MakeMessage(EMsg::kSessionPlayer, {game->row.name, a.id},
                            {Clamp16(a.wins), Clamp16(a.losses), Clamp16(a.ranking), slot++}));
  }
  Answer(conn, m.type, ECode::kOk);
}

void CLobby::JoinGame(ConnId conn, SMember& member, const SMessage& m) {
  auto game = std::find_if(games_.begin(), games_.end(), [&](const SGame& g) { return g.row.name == m.Text(0); });
  // An address given must be the game's: a stale list names another host.
  // A locked game is listed without one ("0.0.0.0").
  const std::string& seen = m.Text(2);
  if (game == games_.end()) {
    if (const SSharedGame* remote = RemoteGame(m.Text(0))) return RemoteJoin(conn, *remote, m);
  }
  if (game == games_.end() || (!seen.empty() && seen != "0.0.0.0" && seen != Dotted(game->row.address)))
    return Answer(conn, m.type, ECode::kNoSuchGame);
  if (!SamePassword(m.Text(1), game->password)) return Answer(conn, m.type, ECode::kWrongGamePassword);
  const bool inside = std::find(game->players.begin(), game->players.end(), conn) != game->players.end();
  if (!inside) {
    if (game->players.size() >= game->row.maxPlayers) return Answer(conn, m.type, ECode::kGameFull);
    const std::string name = game->row.name;
    LeaveGames(conn, member);   // may close games: look the game up again
    game = std::find_if(games_.begin(), games_.end(), [&](const SGame& g) { return g.row.name == name; });
    if (game == games_.end()) return Answer(conn, m.type, ECode::kNoSuchGame);
    game->players.push_back(conn);
    member.joinedGame = name;
    SharePlayers(*game);
  }
  sink_(conn, MakeMessage(EMsg::kJoinGranted, {game->row.name}, {game->row.address, game->row.port}));
  Answer(conn, m.type, ECode::kOk);
}

void CLobby::CreateGame(ConnId conn, SMember& member, const SMessage& m) {
  const std::string &name = m.Text(0), &password = m.Text(1), &map = m.Text(2);
  const uint32_t players = m.Number(0);
  ECode code = CheckGameName(name);
  if (code == ECode::kOk && !IsPrintableAscii(password)) code = ECode::kWrongGamePassword;
  if (code == ECode::kOk) code = CheckMapName(map);
  if (code == ECode::kOk && (players < 2 || players > kMaxGamePlayers)) code = ECode::kBadPlayers;
  const bool taken = std::any_of(games_.begin(), games_.end(), [&](const SGame& g) {
    return g.row.name == name && g.row.name != member.hostedGame;
  });
  if (code == ECode::kOk && (taken || RemoteGame(name))) code = ECode::kGameNameTaken;
  if (code != ECode::kOk) return Answer(conn, m.type, code);
  LeaveGames(conn, member);
  if (games_.size() + remote_.games.size() >= kMaxGames) return Answer(conn, m.type, ECode::kGameLimit);
  SGame game;
  game.row = {name, member.id, map, m.Number(1), member.address, m.Number(2), players};
  game.password = password;
  game.players.push_back(conn);
  if (shared_) {
    // Other nodes check a join with the password's salted digest.
    bool nameTaken = false;
    if (!shared_->AddSharedGame(game.row, password.empty() ? "" : PasswordDigest(password), &nameTaken))
      return Answer(conn, m.type, nameTaken ? ECode::kGameNameTaken : ECode::kServerError);
    gamesChanged_ = true;
  } else if (!store_.AddGame(game.row)) {
    return Answer(conn, m.type, ECode::kServerError);
  }
  member.hostedGame = name;
  games_.push_back(std::move(game));
  sink_(conn, SessionEntry(games_.back()));
  Answer(conn, m.type, ECode::kOk);
}

void CLobby::LeaveGames(ConnId conn, SMember& member) {
  if (!member.hostedGame.empty()) CloseGame(member.hostedGame);
  member.hostedGame.clear();
  if (!member.joinedGame.empty()) {
    for (SGame& game : games_)
      if (game.row.name == member.joinedGame) {
        game.players.erase(std::remove(game.players.begin(), game.players.end(), conn), game.players.end());
        SharePlayers(game);
      }
  }
  member.joinedGame.clear();
}

// The host is gone: the game leaves the list and its players are free again;
// every player logged in hears of it, so that no join list keeps it.
void CLobby::CloseGame(const std::string& name) {
  auto game = std::find_if(games_.begin(), games_.end(), [&](const SGame& g) { return g.row.name == name; });
  if (game == games_.end()) return;
  for (ConnId player : game->players) {
    auto it = members_.find(player);
    if (it != members_.end() && it->second.joinedGame == name) it->second.joinedGame.clear();
  }
  store_.RemoveGame(name);
  games_.erase(game);
  if (shared_) {
    Publish("closed", {name});
    gamesChanged_ = true;
  }
  const SMessage closed = MakeMessage(EMsg::kSessionClosed, {name});
  for (const auto& [conn, member] : members_)
    if (!member.id.empty()) sink_(conn, closed);
}

}  // namespace lobbyd
