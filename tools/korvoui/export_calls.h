// export_calls.h: the module's exported functions callable from a session
// script by name, with their arguments converted from tokens.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tools/korvoui/session_script.h"

struct SessionCall {
  int arity = 0;              // -1: any number of arguments
  bool variable = false;      // an exported variable: printed "NAME = VALUE"
  // Calls the function; fills *result with the printed result ("" for void)
  // and returns false with *error when an argument does not convert.
  std::function<bool(const std::vector<SessionToken>& args, std::string* result,
                     std::string* error)>
      invoke;
  bool hasResult = false;
};

// Every callable export by name.
const std::map<std::string, SessionCall>& SessionCalls();
