// store_pg.cpp: the PostgreSQL schema, its migrations, prepared statements,
// the nodes' heartbeat, players online, shared games, throttle rows and notices.
#include "lobbyd/store_pg.h"

#include <libpq-fe.h>

#include <chrono>
#include <cstdlib>

namespace lobbyd {

namespace {

// Migrations by the version they lead to (table schema_version).
const char* const kMigrations[] = {
    "CREATE TABLE accounts ("
    "  id text NOT NULL, password_hash text NOT NULL, birthday text NOT NULL, email text NOT NULL,"
    "  wins bigint NOT NULL DEFAULT 0, losses bigint NOT NULL DEFAULT 0,"
    "  score bigint NOT NULL DEFAULT 0, ranking bigint NOT NULL DEFAULT 0);"
    "CREATE UNIQUE INDEX accounts_id ON accounts (lower(id));"
    "CREATE TABLE channels (seq bigserial PRIMARY KEY, name text NOT NULL UNIQUE);"
    "CREATE TABLE nodes (id bigserial PRIMARY KEY, seen timestamptz NOT NULL DEFAULT clock_timestamp());"
    "CREATE TABLE presence ("
    "  key text PRIMARY KEY, node bigint NOT NULL REFERENCES nodes (id) ON DELETE CASCADE,"
    "  id text NOT NULL, channel text NOT NULL, wins bigint NOT NULL, losses bigint NOT NULL,"
    "  score bigint NOT NULL, ranking bigint NOT NULL);"
    "CREATE INDEX presence_channel ON presence (channel);"
    "CREATE TABLE games ("
    "  name text PRIMARY KEY, seq bigserial, node bigint NOT NULL REFERENCES nodes (id) ON DELETE CASCADE,"
    "  host_id text NOT NULL, map text NOT NULL, type bigint NOT NULL, address bigint NOT NULL,"
    "  port bigint NOT NULL, max_players bigint NOT NULL, players bigint NOT NULL DEFAULT 1,"
    "  password_digest text NOT NULL DEFAULT '');"
    "CREATE TABLE throttles ("
    "  kind text NOT NULL, key text NOT NULL, failures bigint[] NOT NULL DEFAULT '{}',"
    "  locked_until bigint NOT NULL DEFAULT 0, locks integer NOT NULL DEFAULT 0,"
    "  touched timestamptz NOT NULL DEFAULT clock_timestamp(), PRIMARY KEY (kind, key));",
};
static_assert(sizeof kMigrations / sizeof kMigrations[0] == CStore::kSchemaVersion);

// The session's settings. Commits wait for the disk only where an answer
// promises a lasting write (accounts and passwords, see Durably): players
// online, games, throttle counts and heartbeats are worth less than the
// poll thread's time, and a database crash forgets them anyway.
std::string Settings() {
  return "SET statement_timeout = " + std::to_string(CPgStore::kStatementTimeoutMs) +
         "; SET client_min_messages = warning; SET synchronous_commit = off;";
}

// Any number would do; every node takes the same lock while it migrates.
constexpr const char* kMigrationLock = "SELECT pg_advisory_xact_lock(7427327);";
constexpr const char* kNowMs = "(extract(epoch FROM clock_timestamp()) * 1000)::bigint";

struct SStatement {
  const char* name;
  std::string sql;
};

std::vector<SStatement> Statements() {
  const std::string now = kNowMs;
  return {
      {"insert_account",
       "INSERT INTO accounts (id, password_hash, birthday, email, wins, losses, score, ranking) "
       "VALUES ($1, $2, $3, $4, $5, $6, $7, $8) ON CONFLICT (lower(id)) DO NOTHING"},
      {"find_account",
       "SELECT id, password_hash, birthday, email, wins, losses, score, ranking FROM accounts "
       "WHERE lower(id) = lower($1)"},
      {"set_hash", "UPDATE accounts SET password_hash = $2 WHERE lower(id) = lower($1)"},
      {"insert_channel", "INSERT INTO channels (name) VALUES ($1) ON CONFLICT (name) DO NOTHING"},
      // A channel stays while a player of any node is in it.
      {"delete_channel",
       "DELETE FROM channels WHERE name = $1 AND NOT EXISTS (SELECT 1 FROM presence WHERE channel = $1)"},
      {"list_channels", "SELECT name FROM channels ORDER BY seq"},
      {"insert_game",
       "INSERT INTO games (name, node, host_id, map, type, address, port, max_players, password_digest) "
       "VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9) ON CONFLICT (name) DO NOTHING"},
      {"delete_game", "DELETE FROM games WHERE name = $1"},
      {"game_players", "UPDATE games SET players = $2 WHERE name = $1"},
      {"list_games",
       "SELECT name, host_id, map, type, address, port, max_players, node, players, password_digest "
       "FROM games ORDER BY seq"},
      {"insert_node", "INSERT INTO nodes DEFAULT VALUES RETURNING id"},
      {"beat", "UPDATE nodes SET seen = clock_timestamp() WHERE id = $1"},
      {"reap", "DELETE FROM nodes WHERE seen < clock_timestamp() - $1::bigint * interval '1 millisecond'"},
      {"reap_channels",
       "DELETE FROM channels WHERE name <> 'Lobby' AND NOT EXISTS "
       "(SELECT 1 FROM presence WHERE presence.channel = channels.name)"},
      {"reap_throttles",
       "DELETE FROM throttles WHERE touched < clock_timestamp() - interval '2 hours' AND locked_until + 3600000 < " +
           now},
      {"claim",
       "INSERT INTO presence (key, node, id, channel, wins, losses, score, ranking) "
       "VALUES (lower($1), $2, $1, $3, $4, $5, $6, $7) ON CONFLICT (key) DO UPDATE SET "
       "id = EXCLUDED.id, channel = EXCLUDED.channel, wins = EXCLUDED.wins, losses = EXCLUDED.losses, "
       "score = EXCLUDED.score, ranking = EXCLUDED.ranking WHERE presence.node = EXCLUDED.node"},
      {"release", "DELETE FROM presence WHERE key = lower($1) AND node = $2"},
      {"move", "UPDATE presence SET channel = $3 WHERE key = lower($1) AND node = $2"},
      {"others",
       "SELECT node, id, channel, wins, losses, score, ranking FROM presence WHERE node <> $1 ORDER BY id"},
      {"notify", std::string("SELECT pg_notify('") + CPgStore::kNoticeChannel + "', $1)"},
      {"throttle_row", "INSERT INTO throttles (kind, key) VALUES ($1, $2) ON CONFLICT DO NOTHING"},
      {"throttle_read",
       "SELECT failures, locked_until, locks, " + now + " FROM throttles WHERE kind = $1 AND key = $2 FOR UPDATE"},
      {"throttle_locked",
       "SELECT locked_until > " + now + " FROM throttles WHERE kind = $1 AND key = $2"},
      {"throttle_write",
       "UPDATE throttles SET failures = $3::bigint[], locked_until = $4, locks = $5, touched = clock_timestamp() "
       "WHERE kind = $1 AND key = $2"},
      {"throttle_clear", "DELETE FROM throttles WHERE kind = $1 AND key = $2"},
  };
}

std::string Text(PGresult* result, int row, int column) {
  return PQgetisnull(result, row, column) ? std::string() : std::string(PQgetvalue(result, row, column));
}

uint32_t U32(PGresult* result, int row, int column) {
  return static_cast<uint32_t>(std::strtoull(PQgetvalue(result, row, column), nullptr, 10));
}

int64_t I64(PGresult* result, int row, int column) { return std::strtoll(PQgetvalue(result, row, column), nullptr, 10); }

SAccount AccountAt(PGresult* result, int row, int first) {
  SAccount account;
  account.wins = U32(result, row, first);
  account.losses = U32(result, row, first + 1);
  account.score = U32(result, row, first + 2);
  account.ranking = U32(result, row, first + 3);
  return account;
}

}  // namespace

// ---- Connection, schema, statements --------------------------------------------------------

CPgStore::~CPgStore() { PQfinish(conn_); }

std::unique_ptr<CStore> CPgStore::Open(const std::string& url, std::string* error) {
  std::unique_ptr<CPgStore> store(new CPgStore());
  const std::string timeout = std::to_string(kConnectTimeoutS);
  const char* keys[] = {"dbname", "connect_timeout", "application_name", nullptr};
  const char* values[] = {url.c_str(), timeout.c_str(), "korvo-lobbyd", nullptr};
  store->conn_ = PQconnectdbParams(keys, values, 1);
  if (!store->conn_ || PQstatus(store->conn_) != CONNECTION_OK) {
    if (error) *error = std::string("cannot connect to the database: ") + (store->conn_ ? PQerrorMessage(store->conn_) : "out of memory");
    while (error && !error->empty() && error->back() == '\n') error->pop_back();
    return nullptr;
  }
  const std::string settings = Settings();
  if (!store->Exec(settings.c_str()) || !store->Migrate() || !store->Prepare()) {
    if (error) *error = store->lastError_;
    return nullptr;
  }
  return store;
}

bool CPgStore::Exec(const char* sql) {
  Result result(PQexec(conn_, sql), PQclear);
  const ExecStatusType status = PQresultStatus(result.get());
  if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return true;
  lastError_ = PQerrorMessage(conn_);
  while (!lastError_.empty() && lastError_.back() == '\n') lastError_.pop_back();
  return false;
}

// Brings the schema to kSchemaVersion in one transaction; a database of a
// newer server is refused rather than misread.
bool CPgStore::Migrate() {
  if (!Exec("BEGIN") || !Exec(kMigrationLock) ||
      !Exec("CREATE TABLE IF NOT EXISTS schema_version (version integer NOT NULL)")) {
    Exec("ROLLBACK");
    return false;
  }
  Result read(PQexec(conn_, "SELECT max(version) FROM schema_version"), PQclear);
  if (PQresultStatus(read.get()) != PGRES_TUPLES_OK) {
    lastError_ = PQerrorMessage(conn_);
    Exec("ROLLBACK");
    return false;
  }
  const int version = PQgetisnull(read.get(), 0, 0) ? 0 : std::atoi(PQgetvalue(read.get(), 0, 0));
  if (version > kSchemaVersion) {
    lastError_ = "the database's schema version " + std::to_string(version) + " is not one this server knows (up to " +
                 std::to_string(kSchemaVersion) + ")";
    Exec("ROLLBACK");
    return false;
  }
  for (int next = version + 1; next <= kSchemaVersion; ++next) {
    if (!Exec(kMigrations[next - 1])) {
      const std::string failed = lastError_;
      Exec("ROLLBACK");
      lastError_ = failed;
      return false;
    }
  }
  const std::string mark = "DELETE FROM schema_version; INSERT INTO schema_version VALUES (" +
                           std::to_string(kSchemaVersion) + ")";
  if (!Exec(mark.c_str()) || !Exec("COMMIT")) {
    Exec("ROLLBACK");
    return false;
  }
  schemaVersion_ = kSchemaVersion;
  return true;
}

bool CPgStore::Prepare() {
  for (const SStatement& s : Statements()) {
    Result result(PQprepare(conn_, s.name, s.sql.c_str(), 0, nullptr), PQclear);
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
      lastError_ = std::string("cannot prepare ") + s.name + ": " + PQerrorMessage(conn_);
      return false;
    }
  }
  return true;
}

// The server went away (restart, failover): connect again, prepare again and
// listen again. The players of this node stay claimed while its heartbeat
// row lives.
bool CPgStore::Reconnect() {
  // A database that stays away is tried again at most every kReconnectPauseMs,
  // so that the poll thread does not wait out a connect timeout on each call.
  const int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
  if (now < nextReconnectMs_) {
    lastError_ = "the database connection is lost (trying again shortly)";
    return false;
  }
  nextReconnectMs_ = now + kReconnectPauseMs;
  PQreset(conn_);
  if (PQstatus(conn_) != CONNECTION_OK) {
    lastError_ = std::string("the database connection is lost: ") + PQerrorMessage(conn_);
    return false;
  }
  const std::string settings = Settings();
  if (!Exec(settings.c_str()) || !Prepare()) return false;
  return node_ == 0 || Exec((std::string("LISTEN ") + kNoticeChannel).c_str());
}

CPgStore::Result CPgStore::Run(const char* name, const std::vector<std::string>& params) {
  std::vector<const char*> values;
  for (const std::string& p : params) values.push_back(p.c_str());
  for (int attempt = 0; attempt < 2; ++attempt) {
    Result result(PQexecPrepared(conn_, name, static_cast<int>(values.size()), values.data(), nullptr, nullptr, 0),
                  PQclear);
    const ExecStatusType status = PQresultStatus(result.get());
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return result;
    lastError_ = PQerrorMessage(conn_);
    while (!lastError_.empty() && lastError_.back() == '\n') lastError_.pop_back();
    if (PQstatus(conn_) == CONNECTION_OK || PQtransactionStatus(conn_) == PQTRANS_INTRANS) break;
    if (attempt == 0 && !Reconnect()) break;
  }
  return Result(nullptr, PQclear);
}

bool CPgStore::Ok(const Result& result) { return result != nullptr; }

// ---- Accounts ------------------------------------------------------------------------------

// Runs one statement in a transaction whose commit waits for the disk: the
// answer after it may promise that the write lasts. Rows changed, or -1.
int CPgStore::Durably(const char* name, const std::vector<std::string>& params) {
  if (!Exec("BEGIN")) {
    // The connection may be gone: made again by Run, then tried once more.
    if (PQstatus(conn_) == CONNECTION_OK || !Reconnect() || !Exec("BEGIN")) return -1;
  }
  Result r = Exec("SET LOCAL synchronous_commit = on") ? Run(name, params) : Result(nullptr, PQclear);
  if (!r || !Exec("COMMIT")) {
    const std::string failed = lastError_;
    Exec("ROLLBACK");
    lastError_ = failed;
    return -1;
  }
  return std::atoi(PQcmdTuples(r.get()));
}

bool CPgStore::CreateAccount(const SAccount& a, bool* failed) {
  const int rows = Durably("insert_account", {a.id, a.passwordHash, a.birthday, a.email, std::to_string(a.wins),
                                               std::to_string(a.losses), std::to_string(a.score),
                                               std::to_string(a.ranking)});
  *failed = rows < 0;
  return rows == 1;
}

std::optional<SAccount> CPgStore::FindAccount(const std::string& id, bool* failed) {
  Result r = Run("find_account", {id});
  if (failed) *failed = !r;
  if (!r || PQntuples(r.get()) != 1) return std::nullopt;
  SAccount account = AccountAt(r.get(), 0, 4);
  account.id = Text(r.get(), 0, 0);
  account.passwordHash = Text(r.get(), 0, 1);
  account.birthday = Text(r.get(), 0, 2);
  account.email = Text(r.get(), 0, 3);
  return account;
}

bool CPgStore::SetPasswordHash(const std::string& id, const std::string& hash) {
  return Durably("set_hash", {id, hash}) == 1;
}

// ---- Channels ------------------------------------------------------------------------------

bool CPgStore::AddChannel(const std::string& name) { return Ok(Run("insert_channel", {name})); }

bool CPgStore::RemoveChannel(const std::string& name) { return Ok(Run("delete_channel", {name})); }

std::vector<std::string> CPgStore::Channels() {
  std::vector<std::string> names;
  Result r = Run("list_channels", {});
  for (int i = 0; r && i < PQntuples(r.get()); ++i) names.push_back(Text(r.get(), i, 0));
  return names;
}

// ---- Games ---------------------------------------------------------------------------------

bool CPgStore::AddGame(const SGameRow& game) {
  bool taken = false;
  return AddSharedGame(game, "", &taken);
}

bool CPgStore::AddSharedGame(const SGameRow& g, const std::string& passwordDigest, bool* taken) {
  *taken = false;
  if (node_ == 0 && !JoinCluster()) return false;
  Result r = Run("insert_game", {g.name, std::to_string(node_), g.hostId, g.map, std::to_string(g.type),
                                 std::to_string(g.address), std::to_string(g.port), std::to_string(g.maxPlayers),
                                 passwordDigest});
  *taken = r && std::atoi(PQcmdTuples(r.get())) == 0;
  return r && !*taken;
}

bool CPgStore::RemoveGame(const std::string& name) { return Ok(Run("delete_game", {name})); }

bool CPgStore::SetGamePlayers(const std::string& name, uint32_t players) {
  return Ok(Run("game_players", {name, std::to_string(players)}));
}

std::vector<SGameRow> CPgStore::Games() {
  std::vector<SSharedGame> shared;
  SharedGames(&shared);
  std::vector<SGameRow> rows;
  for (SSharedGame& g : shared) rows.push_back(std::move(g.row));
  return rows;
}

bool CPgStore::SharedGames(std::vector<SSharedGame>* games) {
  Result r = Run("list_games", {});
  if (!r) return false;
  for (int i = 0; i < PQntuples(r.get()); ++i) {
    SSharedGame g;
    g.row = {Text(r.get(), i, 0), Text(r.get(), i, 1), Text(r.get(), i, 2), U32(r.get(), i, 3),
             U32(r.get(), i, 4), U32(r.get(), i, 5), U32(r.get(), i, 6)};
    g.node = I64(r.get(), i, 7);
    g.players = U32(r.get(), i, 8);
    g.passwordDigest = Text(r.get(), i, 9);
    games->push_back(std::move(g));
  }
  return true;
}

// ---- Nodes and players online --------------------------------------------------------------

bool CPgStore::JoinCluster() {
  if (node_ != 0) return true;
  Result r = Run("insert_node", {});
  if (!r || PQntuples(r.get()) != 1) return false;
  node_ = I64(r.get(), 0, 0);
  return Exec((std::string("LISTEN ") + kNoticeChannel).c_str());
}

bool CPgStore::Heartbeat(int64_t expiryMs, int* reaped) {
  *reaped = 0;
  if (!Exec("BEGIN")) return false;
  Result beat = Run("beat", {std::to_string(node_)});
  Result reap = beat ? Run("reap", {std::to_string(expiryMs)}) : Result(nullptr, PQclear);
  if (reap) *reaped = std::atoi(PQcmdTuples(reap.get()));
  const bool ok = reap && Ok(Run("reap_channels", {})) && Ok(Run("reap_throttles", {})) && Exec("COMMIT");
  if (!ok) {
    const std::string failed = lastError_;
    Exec("ROLLBACK");
    lastError_ = failed;
    return false;
  }
  // A node silent for longer than the expiry was taken for dead and its
  // players removed: it enters again and tells its players afresh.
  if (std::atoi(PQcmdTuples(beat.get())) == 0) {
    node_ = 0;
    return JoinCluster();
  }
  return true;
}

bool CPgStore::OtherPlayers(std::vector<SOnlinePlayer>* players) {
  Result r = Run("others", {std::to_string(node_)});
  if (!r) return false;
  for (int i = 0; i < PQntuples(r.get()); ++i) {
    SOnlinePlayer p;
    p.node = I64(r.get(), i, 0);
    p.account = AccountAt(r.get(), i, 3);
    p.account.id = Text(r.get(), i, 1);
    p.channel = Text(r.get(), i, 2);
    players->push_back(std::move(p));
  }
  return true;
}

CPgStore::EClaim CPgStore::Claim(const SAccount& a, const std::string& channel) {
  if (node_ == 0 && !JoinCluster()) return EClaim::kFailed;
  Result r = Run("claim", {a.id, std::to_string(node_), channel, std::to_string(a.wins), std::to_string(a.losses),
                           std::to_string(a.score), std::to_string(a.ranking)});
  if (!r) return EClaim::kFailed;
  return std::atoi(PQcmdTuples(r.get())) == 1 ? EClaim::kClaimed : EClaim::kElsewhere;
}

bool CPgStore::Release(const std::string& id) { return Ok(Run("release", {id, std::to_string(node_)})); }

bool CPgStore::Move(const std::string& id, const std::string& channel) {
  return Ok(Run("move", {id, std::to_string(node_), channel}));
}

// ---- Notices -------------------------------------------------------------------------------

bool CPgStore::Publish(const std::string& payload) { return Ok(Run("notify", {payload})); }

int CPgStore::NoticeFd() const { return PQsocket(conn_); }

std::vector<std::string> CPgStore::TakeNotices() {
  std::vector<std::string> payloads;
  if (PQconsumeInput(conn_) == 0) {
    lastError_ = PQerrorMessage(conn_);
    Reconnect();
  }
  while (PGnotify* notice = PQnotifies(conn_)) {
    payloads.emplace_back(notice->extra ? notice->extra : "");
    PQfreemem(notice);
  }
  return payloads;
}

}  // namespace lobbyd
