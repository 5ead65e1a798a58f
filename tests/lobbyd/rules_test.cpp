// rules_test.cpp: the id, password, birthday, e-mail, name and chat rules
// (the double-byte code page included: no control byte passes, not even as
// the second byte of a pair), grades, and the failed-login throttle on a
// clock stepped by hand.
#include <gtest/gtest.h>

#include <functional>

#include "lobbyd/grade.h"
#include "lobbyd/throttle.h"
#include "lobbyd/validation.h"

namespace lobbyd {
namespace {

using FCheck = std::function<ECode(std::string_view)>;

// Every text of `good` passes `check`; every text of `bad` gets `refusal`.
void Expect(const char* what, const FCheck& check, ECode refusal, const std::vector<std::string>& good,
            const std::vector<std::string>& bad) {
  for (const std::string& text : good)
    EXPECT_EQ(check(text), ECode::kOk) << what << " " << ::testing::PrintToString(text);
  for (const std::string& text : bad)
    EXPECT_EQ(check(text), refusal) << what << " " << ::testing::PrintToString(text);
}

TEST(LobbyValidation, AccountFields) {
  Expect("id", CheckId, ECode::kBadId, {"Falcon", "abcd", "a_2345678901234567890" /* 21 bytes */},
         {"a_23456789012345678901", "abc", "", "1abc", "ab cd", "ab-cd", "ab\xb0\xa1"});
  Expect("password", CheckPassword, ECode::kBadPassword, {"secret", "with blank and !#", std::string(64, 'p')},
         {std::string(65, 'p'), "short", "tab\there", "high\xb0\xa1xx"});
  Expect("birthday", CheckBirthday, ECode::kBadBirthday, {"850307", "000229", "991231"},
         {"851301", "850001", "850230", "850431", "85037", "85-3-7"});
  Expect("e-mail", CheckEmail, ECode::kBadEmail,
         {"pilot@example.org", "a.b+c_d-e@mail.example-1.net", std::string(52, 'a') + "@example.org" /* 64 */},
         {"pilot@localhost", "@example.org", "pilot@", "pilot@@example.org", "pi@lot@example.org",
          "pilot@example..org", "pilot@.example.org", "pilot@example.org.", "pi lot@example.org",
          "pilot@exa_mple.org", std::string(53, 'a') + "@example.org" /* 65 bytes */});
}

TEST(LobbyValidation, NamesAndChat) {
  Expect("channel", CheckChannelName, ECode::kBadChannelName, {"Free", "\xb0\xa1\xb0\xa2 room"},
         {"cut\xb0", "", " padded", "bell\a", std::string(20, 'c')});
  Expect("game", CheckGameName, ECode::kBadGameName, {std::string(19, 'g')}, {std::string(20, 'g')});
  Expect("map", CheckMapName, ECode::kBadMap, {"UNKNOWN.gnd"}, {std::string(23, 'm')});
  Expect("chat", CheckChat, ECode::kBadChat, {"  hello, all "}, {"", "line\nbreak", std::string(201, 'x')});
  // Pairs of the double-byte code page, in names and in chat.
  const std::vector<std::string> pairs = {
      "ab\xb0\xa1",   // a whole pair
      "ab\x81\x41",   // lowest lead and trail bytes
      "ab\xfe\xfe",   // highest
  };
  const std::vector<std::string> broken = {
      "ab\xb0\n",   "ab\xb0\x1b", "ab\xb0\r",   "ab\xb0\x7f",   // control bytes behind a lead byte
      "ab\xb0\x20", "ab\xb0\x40", "ab\xb0\xff",                 // no trail bytes (a blank neither)
      "ab\x80\xa1", "ab\xff\xa1",                               // no lead byte
      "ab\xb0",                                                 // half a pair
  };
  Expect("chat", CheckChat, ECode::kBadChat, pairs, broken);
  Expect("channel", CheckChannelName, ECode::kBadChannelName, pairs, broken);   // game and map names alike
}

TEST(LobbyValidation, Grades) {
  const struct {
    int ranking, score, grade;
  } cases[] = {{0, 0, 0},      {0, 99, 0},           {0, 100, 1},         {500, 1500, 5},
               {0, 1000000, 8}, {1, 0, kTopGrade}, {10, 0, kTopGrade}, {11, 0, 0}};
  for (const auto& c : cases) EXPECT_EQ(CalculateGrade(c.ranking, c.score), c.grade) << c.ranking << " " << c.score;
}

// Failures older than the window do not count; locks in a row double up to
// the longest, a lock uses its failures up, and a quiet time starts the
// doubling over; quiet keys are forgotten. Counting to a lock, refunds, other
// keys and clearing are StoreTest's (its SQLite store is this throttle).
TEST(ThrottleTest, OldFailuresLapseLocksDoubleAndQuietKeysAreForgotten) {
  int64_t now = 1'000'000;
  CLoginThrottle throttle{[&] { return now; }};
  const SThrottleRule& rule = CLoginThrottle::kPairRule;
  for (int i = 0; i < rule.maxFailures - 1; ++i) throttle.Fail("window");
  now += rule.windowMs;
  throttle.Fail("window");
  EXPECT_FALSE(throttle.Locked("window"));
  for (int64_t expected : {30'000, 60'000, 120'000, 240'000, 480'000, 900'000, 900'000}) {
    for (int i = 0; i < rule.maxFailures; ++i) throttle.Fail("k");
    now += expected - 1;
    EXPECT_TRUE(throttle.Locked("k")) << expected;
    now += 1;
    EXPECT_FALSE(throttle.Locked("k")) << expected;
  }
  throttle.Fail("k");
  EXPECT_FALSE(throttle.Locked("k"));
  now += rule.forgetMs;
  for (int i = 0; i < rule.maxFailures; ++i) throttle.Fail("k");
  now += rule.lockMs;
  EXPECT_FALSE(throttle.Locked("k"));

  CLoginThrottle quiet{[&] { return now; }};
  for (int i = 0; i < 100; ++i) quiet.Fail("address:" + std::to_string(i));
  EXPECT_EQ(quiet.Tracked(), 100u);
  now += rule.windowMs;
  EXPECT_FALSE(quiet.Locked("address:0"));
  EXPECT_EQ(quiet.Tracked(), 0u);
}

}  // namespace
}  // namespace lobbyd
