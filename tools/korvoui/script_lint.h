// script_lint.h: the checks `korvoui check` makes on a script that compiles:
// what would fail or do nothing when a dialog opens. Each PARAM list is held
// against its class's shape (runtime/param_shapes.h), flag words against the
// module's, textures against the root, ids against the game's bindings.
#pragma once
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/korvoui/script_outline.h"

struct SLintFinding {
  bool error = false;          // false: a warning
  SOutlinePlace at;
  std::string message;         // what was expected and what was given
  std::string hint;            // the fix, or ""
};

struct SLintContext {
  // Whether a texture name (as written in a PARAM list) loads from the root.
  std::function<bool(const std::string&)> textureExists;
  // The texture names of the root, for suggestions (may be empty).
  std::vector<std::string> textures;
  // Bound ids: id -> the classes it is bound for.
  std::map<std::string, std::set<std::string>> boundIds;
};

std::vector<SLintFinding> LintScript(const SScriptOutline& outline, const SLintContext& context);

// The closest of the candidates to a word by edit distance (at most a third
// of its length, and 3), or "".
std::string ClosestWord(const std::string& word, const std::vector<std::string>& candidates);
