// run.cpp: `korvoui run [--root DIR] [--screen WxH] SCRIPT`.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "netkorvo/netkorvo.h"
#include "tools/korvoui/options.h"
#include "tools/korvoui/session_runner.h"
#include "tools/korvoui/usage.h"
#include "tools/korvoui/verbs.h"

int RunSessionVerb(int argc, char** argv) {
  ToolOptions options;
  if (!ParseToolOptions(argc, argv, &options) || options.positional.size() != 1)
    return UsageError("run");
  std::string script;
  const std::string& path = options.positional[0];
  if (path == "-") {
    script.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "korvoui: cannot read %s\n", path.c_str());
      return 2;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    script = buffer.str();
  }
  if (!PrepareHost(options)) return 2;
  // The network library answers from the script (recording mode).
  netkorvo::BeginSession();
  return RunSession(script);
}
