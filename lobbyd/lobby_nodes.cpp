// lobby_nodes.cpp: the lobby as one of several nodes on a shared PostgreSQL
// store. Each node keeps its own connections; what the others must see goes
// through the database: players online (with their channel) and games in
// tables, chat lines and "changed" marks as notices. A notice is one line of
// tab-separated fields, "1" (its version), its kind, the sending node, then
// the kind's fields; a line of another version, or one that does not parse,
// is dropped. Lists never travel in a notice: their receivers read the tables.
#include <sodium.h>

#include <algorithm>
#include <cstdio>

#include "lobbyd/encoder.h"
#include "lobbyd/lobby.h"
#include "lobbyd/validation.h"

namespace lobbyd {

namespace {

constexpr const char* kNoticeVersion = "1";
constexpr size_t kDigestSaltBytes = 16;
constexpr size_t kDigestBytes = 32;

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == '\t') fields.emplace_back();
    else fields.back() += c;
  }
  return fields;
}

std::string Hex(const unsigned char* bytes, size_t size) {
  std::string text(size * 2 + 1, '\0');
  sodium_bin2hex(text.data(), text.size(), bytes, size);
  text.pop_back();
  return text;
}

}  // namespace

int CLobby::NoticeFd() const { return shared_ ? shared_->NoticeFd() : -1; }

void CLobby::NodesTick() {
  if (!shared_) return;
  const int64_t now = clock_();
  if (now >= nextBeat_) {
    nextBeat_ = now + limits_.heartbeatMs;
    int reaped = 0;
    if (!shared_->Heartbeat(limits_.nodeExpiryMs, &reaped))
      std::fprintf(stderr, "korvo-lobbyd: storage error: heartbeat: %s\n", store_.LastError().c_str());
    if (shared_->Node() != node_) ReclaimPlayers();
    if (reaped > 0) playersChanged_ = gamesChanged_ = true;
    // Reloaded once a beat anyway: a node that died without a word shows.
    remoteStale_ = true;
  }
  for (const std::string& payload : shared_->TakeNotices()) ApplyNotice(payload);
  if (playersChanged_) Publish("players", {});
  if (gamesChanged_) Publish("games", {});
  playersChanged_ = gamesChanged_ = false;
  if (remoteStale_) ReloadRemote();
}

// Taken for dead after a stall, this node entered again under a new number:
// its players are marked online afresh (a player who logged in elsewhere in
// the meantime stays there and is logged out here) and its games listed again
// (one whose name was taken meanwhile is closed).
void CLobby::ReclaimPlayers() {
  node_ = shared_->Node();
  std::vector<ConnId> lost;
  for (auto& [conn, member] : members_) {
    if (member.id.empty()) continue;
    if (shared_->Claim(member.record, member.channel) != CPgStore::EClaim::kClaimed) lost.push_back(conn);
  }
  for (ConnId conn : lost) LogOut(members_.at(conn), conn);
  std::vector<std::string> taken;
  for (const SGame& game : games_) {
    bool nameTaken = false;
    if (!shared_->AddSharedGame(game.row, game.password.empty() ? "" : PasswordDigest(game.password), &nameTaken))
      taken.push_back(game.row.name);
    else
      SharePlayers(game);
  }
  // Gone from this node's list only: the row of that name is another node's.
  for (const std::string& name : taken) {
    games_.erase(std::remove_if(games_.begin(), games_.end(), [&](const SGame& g) { return g.row.name == name; }),
                 games_.end());
    const SMessage closed = MakeMessage(EMsg::kSessionClosed, {name});
    for (auto& [conn, member] : members_) {
      if (member.hostedGame == name) member.hostedGame.clear();
      if (member.joinedGame == name) member.joinedGame.clear();
      if (!member.id.empty()) sink_(conn, closed);
    }
  }
  std::fprintf(stderr, "korvo-lobbyd: this node had been taken for dead; entered again as node %lld\n",
               static_cast<long long>(node_));
  playersChanged_ = gamesChanged_ = true;
}

void CLobby::Publish(const std::string& kind, const std::vector<std::string>& fields) {
  std::string line = std::string(kNoticeVersion) + "\t" + kind + "\t" + std::to_string(node_);
  for (const std::string& f : fields) line += "\t" + f;
  if (!shared_->Publish(line))
    std::fprintf(stderr, "korvo-lobbyd: storage error: cannot notify the other nodes: %s\n",
                 store_.LastError().c_str());
}

void CLobby::ApplyNotice(const std::string& payload) {
  const std::vector<std::string> f = SplitTabs(payload);
  if (f.size() < 3 || f[0] != kNoticeVersion || f[2] == std::to_string(node_)) return;
  const std::string& kind = f[1];
  if (kind == "players" || kind == "games") {
    remoteStale_ = true;
  } else if (kind == "chat" && f.size() == 6 && CheckChat(f[5]) == ECode::kOk) {
    auto channel = channels_.find(f[3]);
    if (channel == channels_.end()) return;
    const SMessage line = MakeMessage(EMsg::kChat, {f[4], f[5]});
    for (ConnId other : channel->second) sink_(other, line);
  } else if (kind == "closed" && f.size() == 4) {
    const SMessage closed = MakeMessage(EMsg::kSessionClosed, {f[3]});
    for (auto& [conn, member] : members_) {
      if (member.joinedGame == f[3]) member.joinedGame.clear();
      if (!member.id.empty()) sink_(conn, closed);
    }
    remoteStale_ = true;
  }
}

void CLobby::ReloadRemote() {
  SRemote fresh;
  std::vector<SSharedGame> games;
  if (!shared_->OtherPlayers(&fresh.players) || !shared_->SharedGames(&games)) {
    std::fprintf(stderr, "korvo-lobbyd: storage error: cannot read the other nodes: %s\n", store_.LastError().c_str());
    return;
  }
  for (SSharedGame& g : games)
    if (g.node != node_) fresh.games.push_back(std::move(g));
  remote_ = std::move(fresh);
  remoteStale_ = false;
}

void CLobby::SharePlayers(const SGame& game) {
  if (!shared_) return;
  if (!shared_->SetGamePlayers(game.row.name, static_cast<uint32_t>(game.players.size())))
    std::fprintf(stderr, "korvo-lobbyd: storage error: cannot count a game's players: %s\n", store_.LastError().c_str());
  gamesChanged_ = true;
}

size_t CLobby::RemoteMembers(const std::string& channel) const {
  return static_cast<size_t>(std::count_if(remote_.players.begin(), remote_.players.end(),
                                           [&](const SOnlinePlayer& p) { return p.channel == channel; }));
}

bool CLobby::RemoteChannel(const std::string& name) const { return RemoteMembers(name) > 0; }

const SSharedGame* CLobby::RemoteGame(const std::string& name) const {
  for (const SSharedGame& g : remote_.games)
    if (g.row.name == name) return &g;
  return nullptr;
}

// A game of another node: its host is the one player this node can show.
void CLobby::RemoteSessionInfo(ConnId conn, const SSharedGame& game) {
  SAccount host;
  host.id = game.row.hostId;
  for (const SOnlinePlayer& p : remote_.players)
    if (p.account.id == game.row.hostId) host = p.account;
  sink_(conn, MakeMessage(EMsg::kSessionPlayer, {game.row.name, host.id},
                          {std::min<uint32_t>(host.wins, 0xffff), std::min<uint32_t>(host.losses, 0xffff),
                           std::min<uint32_t>(host.ranking, 0xffff), 1}));
  Answer(conn, EMsg::kSessionInfo, ECode::kOk);
}

// A join to a game of another node: checked against the shared row (the
// password by its digest); the room itself counts who comes.
void CLobby::RemoteJoin(ConnId conn, const SSharedGame& game, const SMessage& m) {
  const std::string& seen = m.Text(2);
  std::string dotted = std::to_string(game.row.address >> 24) + "." + std::to_string((game.row.address >> 16) & 255) +
                       "." + std::to_string((game.row.address >> 8) & 255) + "." + std::to_string(game.row.address & 255);
  if (!seen.empty() && seen != "0.0.0.0" && seen != dotted) return Answer(conn, m.type, ECode::kNoSuchGame);
  const bool open = game.passwordDigest.empty() ? m.Text(1).empty() : SameDigest(m.Text(1), game.passwordDigest);
  if (!open) return Answer(conn, m.type, ECode::kWrongGamePassword);
  if (game.players >= game.row.maxPlayers) return Answer(conn, m.type, ECode::kGameFull);
  sink_(conn, MakeMessage(EMsg::kJoinGranted, {game.row.name}, {game.row.address, game.row.port}));
  Answer(conn, m.type, ECode::kOk);
}

// "salt$digest" in hex: BLAKE2b of the password keyed with a random salt.
std::string CLobby::PasswordDigest(const std::string& password) const {
  unsigned char salt[kDigestSaltBytes], digest[kDigestBytes];
  randombytes_buf(salt, sizeof salt);
  crypto_generichash(digest, sizeof digest, reinterpret_cast<const unsigned char*>(password.data()), password.size(),
                     salt, sizeof salt);
  return Hex(salt, sizeof salt) + "$" + Hex(digest, sizeof digest);
}

bool CLobby::SameDigest(const std::string& password, const std::string& stored) const {
  unsigned char salt[kDigestSaltBytes], want[kDigestBytes], got[kDigestBytes];
  const size_t split = stored.find('$');
  size_t saltSize = 0, wantSize = 0;
  if (split == std::string::npos ||
      sodium_hex2bin(salt, sizeof salt, stored.data(), split, nullptr, &saltSize, nullptr) != 0 ||
      sodium_hex2bin(want, sizeof want, stored.data() + split + 1, stored.size() - split - 1, nullptr, &wantSize,
                     nullptr) != 0 ||
      saltSize != sizeof salt || wantSize != sizeof want)
    return false;
  crypto_generichash(got, sizeof got, reinterpret_cast<const unsigned char*>(password.data()), password.size(), salt,
                     sizeof salt);
  return sodium_memcmp(got, want, sizeof got) == 0;
}

}  // namespace lobbyd
