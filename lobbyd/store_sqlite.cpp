// store_sqlite.cpp: the SQLite schema, its migrations, prepared statements and their use.
#include "lobbyd/store_sqlite.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace lobbyd {

namespace {

// Migrations by the version they lead to (PRAGMA user_version). Version 1
// is also how files made before versions were counted look, hence IF NOT EXISTS.
const char* const kMigrations[] = {
    "CREATE TABLE IF NOT EXISTS accounts ("
    "  id TEXT PRIMARY KEY COLLATE NOCASE, password_hash TEXT NOT NULL,"
    "  birthday TEXT NOT NULL, email TEXT NOT NULL,"
    "  wins INTEGER NOT NULL DEFAULT 0, losses INTEGER NOT NULL DEFAULT 0,"
    "  score INTEGER NOT NULL DEFAULT 0, ranking INTEGER NOT NULL DEFAULT 0);"
    "CREATE TABLE IF NOT EXISTS channels ("
    "  seq INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT NOT NULL UNIQUE);"
    "CREATE TABLE IF NOT EXISTS games ("
    "  name TEXT PRIMARY KEY, host_id TEXT NOT NULL, map TEXT NOT NULL, type INTEGER NOT NULL,"
    "  address INTEGER NOT NULL, port INTEGER NOT NULL, max_players INTEGER NOT NULL);",
};
static_assert(sizeof kMigrations / sizeof kMigrations[0] == CStore::kSchemaVersion);

std::string Column(sqlite3_stmt* statement, int column) {
  const unsigned char* text = sqlite3_column_text(statement, column);
  return text ? reinterpret_cast<const char*>(text) : "";
}

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
  sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Resets a statement when the scope ends, whatever path it leaves by.
struct SResetOnExit {
  sqlite3_stmt* statement;
  ~SResetOnExit() {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
  }
};

}  // namespace

CSqliteStore::~CSqliteStore() {
  for (sqlite3_stmt* s : {insertAccount_, findAccount_, setHash_, insertChannel_, listChannels_, deleteChannel_,
                          insertGame_, deleteGame_, listGames_})
    sqlite3_finalize(s);
  sqlite3_close(db_);
}

std::unique_ptr<CStore> CSqliteStore::Open(const std::string& path, std::string* error) {
  std::unique_ptr<CSqliteStore> store(new CSqliteStore());
  // Password hashes and e-mail addresses: the owner alone reads the file
  // (SQLite gives its journal files the same mode).
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    if (error) *error = "cannot open the database " + path;
    return nullptr;
  }
  close(fd);
  if (sqlite3_open_v2(path.c_str(), &store->db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    if (error) *error = store->db_ ? sqlite3_errmsg(store->db_) : "cannot open the database";
    return nullptr;
  }
  sqlite3_busy_timeout(store->db_, kBusyWaitMs);
  // WAL with full syncs: a committed account is on disk before its answer.
  const bool ready = store->Exec("PRAGMA journal_mode=WAL;") && store->Exec("PRAGMA synchronous=FULL;") &&
                     store->Migrate() && store->Exec("DELETE FROM games;");
  if (!ready) {
    if (error) *error = store->lastError_;
    return nullptr;
  }
  store->insertAccount_ = store->Prepare(
      "INSERT INTO accounts (id, password_hash, birthday, email, wins, losses, score, ranking) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8) ON CONFLICT(id) DO NOTHING;");
  store->findAccount_ = store->Prepare(
      "SELECT id, password_hash, birthday, email, wins, losses, score, ranking FROM accounts WHERE id = ?1;");
  store->setHash_ = store->Prepare("UPDATE accounts SET password_hash = ?2 WHERE id = ?1;");
  store->insertChannel_ = store->Prepare("INSERT INTO channels (name) VALUES (?1) ON CONFLICT(name) DO NOTHING;");
  store->listChannels_ = store->Prepare("SELECT name FROM channels ORDER BY seq;");
  store->deleteChannel_ = store->Prepare("DELETE FROM channels WHERE name = ?1;");
  store->insertGame_ = store->Prepare(
      "INSERT INTO games (name, host_id, map, type, address, port, max_players) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7);");
  store->deleteGame_ = store->Prepare("DELETE FROM games WHERE name = ?1;");
  store->listGames_ = store->Prepare(
      "SELECT name, host_id, map, type, address, port, max_players FROM games ORDER BY rowid;");
  for (sqlite3_stmt* s : {store->insertAccount_, store->findAccount_, store->setHash_, store->insertChannel_,
                          store->listChannels_, store->deleteChannel_, store->insertGame_, store->deleteGame_, store->listGames_}) {
    if (!s) {
      if (error) *error = store->lastError_;
      return nullptr;
    }
  }
  return store;
}

// Brings the schema to kSchemaVersion, each step in its own transaction; a
// file from a newer server is refused rather than misread.
bool CSqliteStore::Migrate() {
  sqlite3_stmt* read = nullptr;
  if (sqlite3_prepare_v2(db_, "PRAGMA user_version;", -1, &read, nullptr) != SQLITE_OK) {
    lastError_ = sqlite3_errmsg(db_);
    return false;
  }
  const int version = sqlite3_step(read) == SQLITE_ROW ? sqlite3_column_int(read, 0) : -1;
  sqlite3_finalize(read);
  if (version < 0 || version > kSchemaVersion) {
    lastError_ = "the database's schema version " + std::to_string(version) + " is not one this server knows (up to " +
                 std::to_string(kSchemaVersion) + ")";
    return false;
  }
  for (int next = version + 1; next <= kSchemaVersion; ++next) {
    const std::string step = std::string("BEGIN IMMEDIATE;") + kMigrations[next - 1] +
                             "PRAGMA user_version=" + std::to_string(next) + ";COMMIT;";
    if (!Exec(step.c_str())) {
      sqlite3_exec(db_, "ROLLBACK;", nullptr, nullptr, nullptr);
      return false;
    }
  }
  schemaVersion_ = kSchemaVersion;
  return true;
}

bool CSqliteStore::Exec(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  lastError_ = message ? message : "sqlite error";
  sqlite3_free(message);
  return false;
}

sqlite3_stmt* CSqliteStore::Prepare(const char* sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) {
    lastError_ = sqlite3_errmsg(db_);
    return nullptr;
  }
  return statement;
}

bool CSqliteStore::Done(sqlite3_stmt*, int rc) {
  if (rc == SQLITE_DONE) return true;
  lastError_ = sqlite3_errmsg(db_);
  return false;
}

// ---- Accounts ------------------------------------------------------------------------------

bool CSqliteStore::CreateAccount(const SAccount& account, bool* failed) {
  SResetOnExit reset{insertAccount_};
  BindText(insertAccount_, 1, account.id);
  BindText(insertAccount_, 2, account.passwordHash);
  BindText(insertAccount_, 3, account.birthday);
  BindText(insertAccount_, 4, account.email);
  sqlite3_bind_int64(insertAccount_, 5, account.wins);
  sqlite3_bind_int64(insertAccount_, 6, account.losses);
  sqlite3_bind_int64(insertAccount_, 7, account.score);
  sqlite3_bind_int64(insertAccount_, 8, account.ranking);
  const bool done = Done(insertAccount_, sqlite3_step(insertAccount_));
  *failed = !done;
  return done && sqlite3_changes(db_) == 1;
}

std::optional<SAccount> CSqliteStore::FindAccount(const std::string& id, bool* failed) {
  SResetOnExit reset{findAccount_};
  BindText(findAccount_, 1, id);
  const int rc = sqlite3_step(findAccount_);
  if (failed) *failed = rc != SQLITE_ROW && rc != SQLITE_DONE;
  if (rc != SQLITE_ROW) {
    if (rc != SQLITE_DONE) lastError_ = sqlite3_errmsg(db_);
    return std::nullopt;
  }
  SAccount account;
  account.id = Column(findAccount_, 0);
  account.passwordHash = Column(findAccount_, 1);
  account.birthday = Column(findAccount_, 2);
  account.email = Column(findAccount_, 3);
  account.wins = static_cast<uint32_t>(sqlite3_column_int64(findAccount_, 4));
  account.losses = static_cast<uint32_t>(sqlite3_column_int64(findAccount_, 5));
  account.score = static_cast<uint32_t>(sqlite3_column_int64(findAccount_, 6));
  account.ranking = static_cast<uint32_t>(sqlite3_column_int64(findAccount_, 7));
  return account;
}

bool CSqliteStore::SetPasswordHash(const std::string& id, const std::string& hash) {
  SResetOnExit reset{setHash_};
  BindText(setHash_, 1, id);
  BindText(setHash_, 2, hash);
  return Done(setHash_, sqlite3_step(setHash_)) && sqlite3_changes(db_) == 1;
}

// ---- Channels ------------------------------------------------------------------------------

bool CSqliteStore::AddChannel(const std::string& name) {
  SResetOnExit reset{insertChannel_};
  BindText(insertChannel_, 1, name);
  return Done(insertChannel_, sqlite3_step(insertChannel_));
}

bool CSqliteStore::RemoveChannel(const std::string& name) {
  SResetOnExit reset{deleteChannel_};
  BindText(deleteChannel_, 1, name);
  return Done(deleteChannel_, sqlite3_step(deleteChannel_));
}

std::vector<std::string> CSqliteStore::Channels() {
  SResetOnExit reset{listChannels_};
  std::vector<std::string> names;
  while (sqlite3_step(listChannels_) == SQLITE_ROW) names.push_back(Column(listChannels_, 0));
  return names;
}

// ---- Open games ----------------------------------------------------------------------------

bool CSqliteStore::AddGame(const SGameRow& game) {
  SResetOnExit reset{insertGame_};
  BindText(insertGame_, 1, game.name);
  BindText(insertGame_, 2, game.hostId);
  BindText(insertGame_, 3, game.map);
  sqlite3_bind_int64(insertGame_, 4, game.type);
  sqlite3_bind_int64(insertGame_, 5, game.address);
  sqlite3_bind_int64(insertGame_, 6, game.port);
  sqlite3_bind_int64(insertGame_, 7, game.maxPlayers);
  return Done(insertGame_, sqlite3_step(insertGame_));
}

bool CSqliteStore::RemoveGame(const std::string& name) {
  SResetOnExit reset{deleteGame_};
  BindText(deleteGame_, 1, name);
  return Done(deleteGame_, sqlite3_step(deleteGame_));
}

std::vector<SGameRow> CSqliteStore::Games() {
  SResetOnExit reset{listGames_};
  std::vector<SGameRow> games;
  while (sqlite3_step(listGames_) == SQLITE_ROW) {
    SGameRow game;
    game.name = Column(listGames_, 0);
    game.hostId = Column(listGames_, 1);
    game.map = Column(listGames_, 2);
    game.type = static_cast<uint32_t>(sqlite3_column_int64(listGames_, 3));
    game.address = static_cast<uint32_t>(sqlite3_column_int64(listGames_, 4));
    game.port = static_cast<uint32_t>(sqlite3_column_int64(listGames_, 5));
    game.maxPlayers = static_cast<uint32_t>(sqlite3_column_int64(listGames_, 6));
    games.push_back(game);
  }
  return games;
}

// ---- Throttles: one node, so in memory -------------------------------------------------------

std::unique_ptr<IThrottle> CSqliteStore::NewThrottle(const std::string&, Clock clock, SThrottleRule rule) {
  return std::make_unique<CLoginThrottle>(std::move(clock), rule);
}

}  // namespace lobbyd
