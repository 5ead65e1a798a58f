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

SESSION_INFO ToRecord(const SSession& session) {
  SESSION_INFO record{};
  CopyCut(record.name, session.name);
  record.type = session.type;
  CopyCut(record.map, session.map);
  std::memcpy(&record.address, session.address, 4);   // one byte per part, in memory order
  return record;
}

}  // namespace lobbyd
