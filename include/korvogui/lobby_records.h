// lobby_records.h: the records of the online lobby's tables, which the
// network library's online client stores and the module's KN_* exports
// (korvogui/lobby.h) fill and read. A record whose first byte is 0 is free.
#pragma once
#include <cstddef>
#include <cstdint>

struct PLAYER_INFO {
  char id[22];              // 0
  uint16_t wins;            // 22
  uint16_t losses;          // 24
  uint8_t padding26[2];     // 26
  uint32_t score;           // 28
  uint16_t ranking;         // 32
  uint8_t unused34[9];      // 34
  uint8_t grade;            // 43: class, from KORVO_CLT::CalculateGrade
  uint8_t unused44[4];      // 44
};
static_assert(sizeof(PLAYER_INFO) == 48);
static_assert(offsetof(PLAYER_INFO, wins) == 22 && offsetof(PLAYER_INFO, losses) == 24);
static_assert(offsetof(PLAYER_INFO, score) == 28 && offsetof(PLAYER_INFO, ranking) == 32);
static_assert(offsetof(PLAYER_INFO, grade) == 43);

struct SESSION_INFO {
  char name[20];            // 0: game name
  uint8_t type;             // 20: game type (game-rule index)
  char map[23];             // 21: map file name
  uint32_t address;         // 44: IPv4 address, one byte per part in memory order
};
static_assert(sizeof(SESSION_INFO) == 48);
static_assert(offsetof(SESSION_INFO, type) == 20 && offsetof(SESSION_INFO, map) == 21);
static_assert(offsetof(SESSION_INFO, address) == 44);

struct CHANNEL_INFO {
  char name[20];
};
static_assert(sizeof(CHANNEL_INFO) == 20);
