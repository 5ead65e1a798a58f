// store.h: the lobby's storage, one interface over two back ends: SQLite (one
// node, a file; the default) and PostgreSQL (several nodes sharing one
// database; `--db postgresql://...`). Accounts, channels and the open games
// live there; every write is committed before the call returns, so an
// answered request survives a killed server. Statements are prepared once;
// the schema carries a version number and is migrated at open. A storage
// failure is reported as such (false, *failed, LastError), never as "absent".
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lobbyd/throttle.h"

namespace lobbyd {

struct SAccount {
  std::string id;
  std::string passwordHash;
  std::string birthday;
  std::string email;
  uint32_t wins = 0, losses = 0, score = 0, ranking = 0;
};

struct SGameRow {
  std::string name, hostId, map;
  uint32_t type = 0, address = 0, port = 0, maxPlayers = 0;
};

class CStore {
 public:
  // The schema version both back ends migrate to at open.
  static constexpr int kSchemaVersion = 1;

  virtual ~CStore() = default;
  // Opens the store `target` names: a "postgresql://" or "postgres://" URL,
  // or else the path of a SQLite file (created when absent). Null with
  // *error on failure.
  static std::unique_ptr<CStore> Open(const std::string& target, std::string* error);
  static bool IsPostgresUrl(const std::string& target);

  // ---- Accounts (ids compare without case) ----
  // False when the id exists; *failed set on a database error.
  virtual bool CreateAccount(const SAccount& account, bool* failed) = 0;
  // Nothing when absent, or on a database error (then *failed is set).
  virtual std::optional<SAccount> FindAccount(const std::string& id, bool* failed = nullptr) = 0;
  virtual bool SetPasswordHash(const std::string& id, const std::string& hash) = 0;

  // ---- Channels ----
  virtual bool AddChannel(const std::string& name) = 0;   // true when added or already there
  // Removes the channel unless a player of another node is in it.
  virtual bool RemoveChannel(const std::string& name) = 0;
  virtual std::vector<std::string> Channels() = 0;        // in creation order

  // ---- Open games (a single node clears them at start: their hosts are gone) ----
  virtual bool AddGame(const SGameRow& game) = 0;
  virtual bool RemoveGame(const std::string& name) = 0;
  virtual std::vector<SGameRow> Games() = 0;

  // ---- Throttles ----
  // The counters of one kind of try ("login-pair", "login-address",
  // "registration"): in this process for SQLite, in the database for
  // PostgreSQL, so that every node counts the same tries.
  virtual std::unique_ptr<IThrottle> NewThrottle(const std::string& kind, Clock clock, SThrottleRule rule) = 0;

  int SchemaVersion() const { return schemaVersion_; }
  const std::string& LastError() const { return lastError_; }

 protected:
  std::string lastError_;
  int schemaVersion_ = 0;
};

}  // namespace lobbyd
