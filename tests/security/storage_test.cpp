// storage_test.cpp: korvo-lobbyd and its database under trouble: a database
// another process holds locked is a server error answered soon (the poll
// thread waits briefly); the database file is readable by its owner only.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include "lobby_probe.h"
#include "lobbyd/server_process.h"
#include "../lobbyd/lobbyd_temp.h"

namespace lobbyd {
namespace {

using probe::CProbe;

TEST(StorageProbe, ALockedDatabaseIsAServerErrorAnsweredSoonAndTheFileIsPrivate) {
  CTempFolder folder;
  CServerProcess server;
  std::string error;
  const std::string database = folder.File("lobby.db");
  ASSERT_TRUE(server.Start(probe::ServerProgram(), database, {"--hash-cost", "minimum"}, 10000, &error)) << error;
  struct stat file {};
  ASSERT_EQ(stat(database.c_str(), &file), 0);
  std::printf("database file mode: %03o\n", file.st_mode & 0777);
  EXPECT_EQ(file.st_mode & 0777, 0600u);

  CProbe p;
  ASSERT_TRUE(p.Connect(server.Port()));
  ASSERT_TRUE(p.Send(EMsg::kNewIdPw, {"Falcon", "secret-1", "secret-1", "850307", "p@example.org"}));
  ASSERT_EQ(p.Result(EMsg::kNewIdPw), ECode::kOk);
  // Another process takes the database for writing and keeps it.
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(database.c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE; INSERT INTO channels (name) VALUES ('held');", nullptr, nullptr,
                         nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(holder);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(p.Send(EMsg::kNewIdPw, {"Raven", "secret-1", "secret-1", "850307", "p@example.org"}));
  const std::optional<ECode> code = p.Result(EMsg::kNewIdPw);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  ASSERT_TRUE(code);
  std::printf("a registration on a locked database: %s after %.0f ms\n", CodeName(*code), ms);
  EXPECT_EQ(*code, ECode::kServerError);
  EXPECT_LT(ms, 1000);
  // Reading goes on meanwhile: the login is checked as usual.
  ASSERT_TRUE(p.Send(EMsg::kIdPw, {"Falcon", "secret-1"}));
  EXPECT_EQ(p.Result(EMsg::kIdPw), ECode::kOk);
  sqlite3_exec(holder, "ROLLBACK;", nullptr, nullptr, nullptr);
  sqlite3_close(holder);
  // Released: the registration goes through.
  ASSERT_TRUE(p.Send(EMsg::kNewIdPw, {"Raven", "secret-1", "secret-1", "850307", "p@example.org"}));
  EXPECT_EQ(p.Result(EMsg::kNewIdPw), ECode::kOk);
}

}  // namespace
}  // namespace lobbyd
