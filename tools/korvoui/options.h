// options.h: the options shared by korvoui's verbs (--root, --screen) and the
// mounting of the game file system they describe.
#pragma once
#include <string>
#include <vector>

struct ToolOptions {
  std::string root;                  // folder or .zip; empty: the shipped assets
  int screenX = 1024, screenY = 768;
  std::string profile;               // --profile DIR (verbs that take it); empty: none
  std::vector<std::string> positional;
};

// The asset root used without --root: the installed one when korvoui runs from an
// installation (<prefix>/share/korvogui/assets for <prefix>/bin/korvoui), else the
// source tree's.
std::string DefaultAssetRoot();
// Parses argv (after the verb) into options; false with a message on stderr.
// "--profile DIR" is taken when extraFlags holds "--profile".
bool ParseToolOptions(int argc, char** argv, ToolOptions* options,
                      const std::vector<std::string>& extraFlags = {});
// Mounts the root, sets the screen size and the console commands of the
// reference host ("ui_reload" recompiles the UI script); false with a message
// on stderr.
bool PrepareHost(const ToolOptions& options);
