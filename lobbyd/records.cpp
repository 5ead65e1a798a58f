// records.cpp: filling the lobby records.
#include "lobbyd/records.h"

#include <algorithm>
#include <cstring>

namespace lobbyd {

namespace {

template <size_t N>
void CopyCut(char (&to)[N], const std::string& from) {
  const size_t length = std::min(from.size(), N - 1);
  std::memcpy(to, from.data(), length);
  to[length] = '\0';
}

}  // namespace

PLAYER_INFO ToRecord(const SPlayer& player) {
  PLAYER_INFO record{};
  CopyCut(record.id, player.id);
  record.wins = player.wins;
  record.losses = player.losses;
  record.score = player.score;
  record.ranking = player.ranking;
  record.grade = player.grade;
  return record;
}

SESSION_INFO ToRecord(const SSession& session) {
  SESSION_INFO record{};
  CopyCut(record.name, session.name);
  record.type = session.type;
  CopyCut(record.map, session.map);
  std::memcpy(&record.address, session.address, 4);   // one byte per part, in memory order
  return record;
}

CHANNEL_INFO ToRecord(const SChannel& channel) {
  CHANNEL_INFO record{};
  CopyCut(record.name, channel.name);
  return record;
}

}  // namespace lobbyd
