// call_record.h: the recorded form of a host service call (internal to the host).
#pragma once
#include <initializer_list>
#include <string>

#include "host/session_state.h"

namespace korvohost {

// Records `NAME(ARG, ...)`, and ` -> RESULT` when result is not empty, while
// calls are recorded. Arguments are already in their printed forms.
inline void RecordService(const char* name, std::initializer_list<std::string> args,
                          const std::string& result = std::string()) {
  if (!korvostate::Recording()) return;
  std::string line = name;
  line += '(';
  bool first = true;
  for (const std::string& a : args) {
    if (!first) line += ", ";
    line += a;
    first = false;
  }
  line += ')';
  if (!result.empty()) line += " -> " + result;
  korvostate::RecordCall(line);
}

}  // namespace korvohost
