// options.cpp: --root and --screen for every verb.
#include "tools/korvoui/options.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"

std::string DefaultAssetRoot() {
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n > 0) {
    std::string dir(exe, size_t(n));
    dir.erase(dir.rfind('/'));
    const std::string installed = dir + "/" KORVO_INSTALLED_ASSETS;
    struct stat st;
    if (stat(installed.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return installed;
  }
  return KORVO_ASSET_ROOT;
}

bool ParseToolOptions(int argc, char** argv, ToolOptions* options,
                      const std::vector<std::string>& extraFlags) {
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (!std::strcmp(a, "--root") && i + 1 < argc) {
      options->root = argv[++i];
    } else if (!std::strcmp(a, "--screen") && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%dx%d", &options->screenX, &options->screenY) != 2 ||
          options->screenX <= 0 || options->screenY <= 0) {
        std::fprintf(stderr, "korvoui: --screen wants WxH, e.g. 1024x768\n");
        return false;
      }
    } else if (!std::strcmp(a, "--profile") && i + 1 < argc &&
               std::find(extraFlags.begin(), extraFlags.end(), "--profile") != extraFlags.end()) {
      options->profile = argv[++i];
      if (options->profile.empty()) {
        std::fprintf(stderr, "korvoui: --profile wants a folder\n");
        return false;
      }
    } else if (a[0] == '-' && a[1] == '-') {
      bool known = false;
      for (const std::string& f : extraFlags) known = known || f == a;
      if (!known) {
        std::fprintf(stderr, "korvoui: unknown option %s\n", a);
        return false;
      }
      options->positional.push_back(a);
    } else {
      options->positional.push_back(a);
    }
  }
  return true;
}

bool PrepareHost(const ToolOptions& options) {
  const std::string root = options.root.empty() ? DefaultAssetRoot() : options.root;
  std::string error;
  if (!korvohost::Mount(root, &error)) {
    std::fprintf(stderr, "korvoui: cannot mount %s: %s\n", root.c_str(), error.c_str());
    return false;
  }
  korvohost::SetScreen(options.screenX, options.screenY);
  // The game's console runs "ui_reload" by compiling the UI script again.
  korvohost::SetCommandHandler([](const std::string& line) {
    if (line == "ui_reload") GUI_Compile();
  });
  return true;
}
