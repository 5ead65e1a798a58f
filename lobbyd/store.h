// store.h: the lobby's SQLite database (WAL mode, prepared statements only):
// accounts, channels and the open games. Every write is committed before the
// call returns, so an answered request survives a killed server. The file is
// created readable by its owner only; a busy database is waited for briefly
// (kBusyWaitMs, on the poll thread), then reported as an error.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

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
  static constexpr int kBusyWaitMs = 50;

  ~CStore();
  // Opens (creating when absent) the database; null with *error on failure.
  static std::unique_ptr<CStore> Open(const std::string& path, std::string* error);

  // ---- Accounts (ids compare without case) ----
  // False when the id exists; throws nothing; *failed set on a database error.
  bool CreateAccount(const SAccount& account, bool* failed);
  // Nothing when absent, or on a database error (then *failed is set).
  std::optional<SAccount> FindAccount(const std::string& id, bool* failed = nullptr);
  bool SetPasswordHash(const std::string& id, const std::string& hash);

  // ---- Channels ----
  bool AddChannel(const std::string& name);   // true when added or already there
  bool RemoveChannel(const std::string& name);
  std::vector<std::string> Channels();        // in creation order

  // ---- Open games (cleared at start: their hosts are gone) ----
  bool AddGame(const SGameRow& game);
  bool RemoveGame(const std::string& name);
  std::vector<SGameRow> Games();

  const std::string& LastError() const { return lastError_; }

 private:
  CStore() = default;
  bool Exec(const char* sql);
  sqlite3_stmt* Prepare(const char* sql);
  bool Done(sqlite3_stmt* statement, int rc);

  sqlite3* db_ = nullptr;
  std::string lastError_;
  sqlite3_stmt* insertAccount_ = nullptr;
  sqlite3_stmt* findAccount_ = nullptr;
  sqlite3_stmt* setHash_ = nullptr;
  sqlite3_stmt* insertChannel_ = nullptr;
  sqlite3_stmt* listChannels_ = nullptr;
  sqlite3_stmt* deleteChannel_ = nullptr;
  sqlite3_stmt* insertGame_ = nullptr;
  sqlite3_stmt* deleteGame_ = nullptr;
  sqlite3_stmt* listGames_ = nullptr;
};

}  // namespace lobbyd
