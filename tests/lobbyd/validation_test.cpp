// validation_test.cpp: the id, password, birthday, e-mail and name rules, and grades.
#include <gtest/gtest.h>

#include "lobbyd/grade.h"
#include "lobbyd/validation.h"

namespace lobbyd {
namespace {

TEST(LobbyValidation, Ids) {
  EXPECT_EQ(CheckId("Falcon"), ECode::kOk);
  EXPECT_EQ(CheckId("abcd"), ECode::kOk);
  EXPECT_EQ(CheckId("a_2345678901234567890"), ECode::kOk);   // 21 bytes
  EXPECT_EQ(CheckId("a_23456789012345678901"), ECode::kBadId);   // 22
  EXPECT_EQ(CheckId("abc"), ECode::kBadId);
  EXPECT_EQ(CheckId(""), ECode::kBadId);
  EXPECT_EQ(CheckId("1abc"), ECode::kBadId);
  EXPECT_EQ(CheckId("ab cd"), ECode::kBadId);
  EXPECT_EQ(CheckId("ab-cd"), ECode::kBadId);
  EXPECT_EQ(CheckId("ab\xb0\xa1"), ECode::kBadId);
}

TEST(LobbyValidation, Passwords) {
  EXPECT_EQ(CheckPassword("secret"), ECode::kOk);
  EXPECT_EQ(CheckPassword("with blank and !#"), ECode::kOk);
  EXPECT_EQ(CheckPassword(std::string(64, 'p')), ECode::kOk);
  EXPECT_EQ(CheckPassword(std::string(65, 'p')), ECode::kBadPassword);
  EXPECT_EQ(CheckPassword("short"), ECode::kBadPassword);
  EXPECT_EQ(CheckPassword("tab\there"), ECode::kBadPassword);
  EXPECT_EQ(CheckPassword("high\xb0\xa1xx"), ECode::kBadPassword);
}

TEST(LobbyValidation, Birthdays) {
  EXPECT_EQ(CheckBirthday("850307"), ECode::kOk);
  EXPECT_EQ(CheckBirthday("000229"), ECode::kOk);
  EXPECT_EQ(CheckBirthday("991231"), ECode::kOk);
  EXPECT_EQ(CheckBirthday("851301"), ECode::kBadBirthday);
  EXPECT_EQ(CheckBirthday("850001"), ECode::kBadBirthday);
  EXPECT_EQ(CheckBirthday("850230"), ECode::kBadBirthday);
  EXPECT_EQ(CheckBirthday("850431"), ECode::kBadBirthday);
  EXPECT_EQ(CheckBirthday("85037"), ECode::kBadBirthday);
  EXPECT_EQ(CheckBirthday("85-3-7"), ECode::kBadBirthday);
}

TEST(LobbyValidation, Emails) {
  EXPECT_EQ(CheckEmail("pilot@example.org"), ECode::kOk);
  EXPECT_EQ(CheckEmail("a.b+c_d-e@mail.example-1.net"), ECode::kOk);
  EXPECT_EQ(CheckEmail("pilot@localhost"), ECode::kBadEmail);
  EXPECT_EQ(CheckEmail("@example.org"), ECode::kBadEmail);
  EXPECT_EQ(CheckEmail("pilot@"), ECode::kBadEmail);
  EXPECT_EQ(CheckEmail("pilot@@example.org"), ECode::kBadEmail);
  EXPECT_EQ(CheckEmail("pi@lot@example.org"), ECode::kBadEmail);
  EXPECT_EQ(CheckEmail("pilot@example..org"), ECode::kBadEmail);
  EXPECT_EQ(CheckEmail("pilot@.example.org"), ECode::kBadEmail);
  EXPECT_EQ(CheckEmail("pilot@example.org."), ECode::kBadEmail);
  EXPECT_EQ(CheckEmail("pi lot@example.org"), ECode::kBadEmail);
  EXPECT_EQ(CheckEmail("pilot@exa_mple.org"), ECode::kBadEmail);
  EXPECT_EQ(CheckEmail(std::string(53, 'a') + "@example.org"), ECode::kBadEmail);   // 65 bytes
  EXPECT_EQ(CheckEmail(std::string(52, 'a') + "@example.org"), ECode::kOk);         // 64 bytes
}

TEST(LobbyValidation, NamesAndChat) {
  EXPECT_EQ(CheckChannelName("Free"), ECode::kOk);
  EXPECT_EQ(CheckChannelName("\xb0\xa1\xb0\xa2 room"), ECode::kOk);       // double-byte characters
  EXPECT_EQ(CheckChannelName("cut\xb0"), ECode::kBadChannelName);          // half a character
  EXPECT_EQ(CheckChannelName(""), ECode::kBadChannelName);
  EXPECT_EQ(CheckChannelName(" padded"), ECode::kBadChannelName);
  EXPECT_EQ(CheckChannelName("bell\a"), ECode::kBadChannelName);
  EXPECT_EQ(CheckChannelName(std::string(20, 'c')), ECode::kBadChannelName);
  EXPECT_EQ(CheckGameName(std::string(19, 'g')), ECode::kOk);
  EXPECT_EQ(CheckGameName(std::string(20, 'g')), ECode::kBadGameName);
  EXPECT_EQ(CheckMapName("UNKNOWN.gnd"), ECode::kOk);
  EXPECT_EQ(CheckMapName(std::string(23, 'm')), ECode::kBadMap);
  EXPECT_EQ(CheckChat("  hello, all "), ECode::kOk);
  EXPECT_EQ(CheckChat(""), ECode::kBadChat);
  EXPECT_EQ(CheckChat("line\nbreak"), ECode::kBadChat);
  EXPECT_EQ(CheckChat(std::string(201, 'x')), ECode::kBadChat);
}

TEST(LobbyValidation, Grades) {
  EXPECT_EQ(CalculateGrade(0, 0), 0);
  EXPECT_EQ(CalculateGrade(0, 99), 0);
  EXPECT_EQ(CalculateGrade(0, 100), 1);
  EXPECT_EQ(CalculateGrade(500, 1500), 5);
  EXPECT_EQ(CalculateGrade(0, 1000000), 8);
  EXPECT_EQ(CalculateGrade(1, 0), kTopGrade);
  EXPECT_EQ(CalculateGrade(10, 0), kTopGrade);
  EXPECT_EQ(CalculateGrade(11, 0), 0);
}

}  // namespace
}  // namespace lobbyd
