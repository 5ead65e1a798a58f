// store_sqlite.h: the store in one SQLite file (WAL mode, prepared statements
// only), for a single node. The file is created readable by its owner only;
// a busy database is waited for briefly (kBusyWaitMs, on the poll thread),
// then reported as an error. Its throttles count in the process's memory.
#pragma once
#include "lobbyd/store.h"

struct sqlite3;
struct sqlite3_stmt;

namespace lobbyd {

class CSqliteStore final : public CStore {
 public:
  static constexpr int kBusyWaitMs = 50;

  ~CSqliteStore() override;
  static std::unique_ptr<CStore> Open(const std::string& path, std::string* error);

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

 private:
  CSqliteStore() = default;
  bool Migrate();
  bool Exec(const char* sql);
  sqlite3_stmt* Prepare(const char* sql);
  bool Done(sqlite3_stmt* statement, int rc);

  sqlite3* db_ = nullptr;
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
