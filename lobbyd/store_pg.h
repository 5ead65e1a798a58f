// store_pg.h: the store in PostgreSQL (libpq), shared by several lobby
// nodes. Statements are prepared once per connection; the schema is migrated
// at open under an advisory lock, so that nodes starting together do not
// race. Every multi-row change runs in one transaction. Beside the tables of
// the single node it keeps what the nodes share: a heartbeat row per node,
// the players online on each node (with their channel), each game's node,
// the throttle counters, and a notice channel (LISTEN/NOTIFY) by which a node
// tells the others what changed. Account writes are committed to disk before
// they return; the rest is committed without waiting for the disk. A
// statement runs at most kStatementTimeoutMs; a lost connection is made again
// at the next call (at most every kReconnectPauseMs).
#pragma once
#include "lobbyd/store.h"

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;

namespace lobbyd {

// A player online on some node, as the others see it.
struct SOnlinePlayer {
  int64_t node = 0;
  SAccount account;   // id and record, no hash
  std::string channel;
};

// A game with what the nodes share of it.
struct SSharedGame {
  int64_t node = 0;
  SGameRow row;
  uint32_t players = 1;
  std::string passwordDigest;   // empty: no password
};

class CPgStore final : public CStore {
 public:
  static constexpr int kStatementTimeoutMs = 5000;
  static constexpr int kConnectTimeoutS = 5;
  static constexpr int64_t kReconnectPauseMs = 5000;
  static constexpr const char* kNoticeChannel = "korvo_lobby";

  ~CPgStore() override;
  static std::unique_ptr<CStore> Open(const std::string& url, std::string* error);

  bool CreateAccount(const SAccount& account, bool* failed) override;
  std::optional<SAccount> FindAccount(const std::string& id, bool* failed = nullptr) override;
  bool SetPasswordHash(const std::string& id, const std::string& hash) override;
  bool AddChannel(const std::string& name) override;
  bool RemoveChannel(const std::string& name) override;
  std::vector<std::string> Channels() override;
  bool AddGame(const SGameRow& game) override;
  bool RemoveGame(const std::string& name) override;
  std::vector<SGameRow> Games() override;
  std::unique_ptr<IThrottle> NewThrottle(const std::string& kind, Clock clock, SThrottleRule rule) override;

  // ---- The nodes ----
  // Enters this process as a node (a new heartbeat row) and listens for
  // notices; false on a database error.
  bool JoinCluster();
  int64_t Node() const { return node_; }
  // Marks this node alive, and removes the nodes silent for expiryMs with
  // their players and games (and the channels nobody is left in), in one
  // transaction; *reaped: how many nodes went. False on a database error.
  bool Heartbeat(int64_t expiryMs, int* reaped);
  // The players online on other nodes, and the games with their nodes.
  bool OtherPlayers(std::vector<SOnlinePlayer>* players);
  bool SharedGames(std::vector<SSharedGame>* games);

  // ---- Players online ----
  enum class EClaim { kClaimed, kElsewhere, kFailed };
  // Marks the account online on this node, unless it is online anywhere.
  EClaim Claim(const SAccount& account, const std::string& channel);
  bool Release(const std::string& id);
  bool Move(const std::string& id, const std::string& channel);

  // ---- Games of this node ----
  // False with *taken when a game of that name is open on any node.
  bool AddSharedGame(const SGameRow& game, const std::string& passwordDigest, bool* taken);
  bool SetGamePlayers(const std::string& name, uint32_t players);

  // ---- Notices ----
  bool Publish(const std::string& payload);
  // The socket to poll for notices (-1 when the connection is gone).
  int NoticeFd() const;
  // The payloads that arrived (from every node, this one's own too).
  std::vector<std::string> TakeNotices();

  // Runs one throttle step under a row lock (see CPgThrottle).
  bool ThrottleStep(const std::string& kind, const std::string& key, const SThrottleRule& rule, char step,
                    bool* locked);

 private:
  using Result = std::unique_ptr<PGresult, void (*)(PGresult*)>;
  CPgStore() = default;
  bool Prepare();
  bool Migrate();
  bool Exec(const char* sql);
  int Durably(const char* name, const std::vector<std::string>& params);
  // Runs a prepared statement; null (LastError set) on failure.
  Result Run(const char* name, const std::vector<std::string>& params);
  bool Ok(const Result& result);
  bool Reconnect();

  PGconn* conn_ = nullptr;
  int64_t node_ = 0;
  int64_t nextReconnectMs_ = 0;   // steady-clock ms before which no reconnect is tried
};

}  // namespace lobbyd
