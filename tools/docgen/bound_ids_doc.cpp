// bound_ids_doc.cpp: writes docs/bound-ids.md, the ids the game binds to a
// class of its own and what each does, from the registry as GUI_Initialize
// fills it and the shipped UI script (which dialog declares each id).
//
//   bound_ids_doc ASSET_ROOT > docs/bound-ids.md
#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <typeinfo>

#include "korvogui/korvogui.h"
#include "refhost/korvohost.h"
#include "runtime/module_state.h"
#include "runtime/registry.h"
#include "runtime/window_manager.h"

namespace {

std::string Demangled(const std::type_info& type) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                              std::free);
  return status == 0 ? name.get() : type.name();
}

// The dialog id a template argument spells as "{(char)77, (char)65, ...}".
std::string SpelledId(const std::string& text) {
  std::string id;
  static const std::regex kChar(R"(\(char\)(\d+))");
  for (std::sregex_iterator it(text.begin(), text.end(), kChar), end; it != end; ++it) {
    const int c = std::stoi((*it)[1]);
    if (c) id += char(c);
  }
  return id;
}

// What a window of this class does, in words, from its type.
std::string WhatItDoes(const std::string& type) {
  std::smatch m;
  if (std::regex_search(type, m, std::regex(R"(ClickGoTo<SDialogId<\d+ul>\{char \[\d+\]\{([^}]*)\}\}>)")))
    return "opens " + SpelledId(m[1]) + " in place of this screen (`GUI_NextDialog`)";
  if (std::regex_search(type, m, std::regex(R"(ClickOpenOver<SDialogId<\d+ul>\{char \[\d+\]\{([^}]*)\}\}>)")))
    return "opens " + SpelledId(m[1]) + " over this screen (`GUI_CreateDialog`)";
  static const std::map<std::string, std::string> kShared = {
      {"ClickBack", "closes this screen and opens the one below it on the dialog stack (`GUI_PrevDialog`)"},
      {"ClickResume", "closes this overlay menu; nothing opens"},
      {"ClickCloseParent", "destroys its own dialog; the dialog stack is left as it is"},
      {"ClickQuit", "asks the host to leave the game"},
  };
  if (std::regex_search(type, m, std::regex(R"(TGUI_ClickButton<&(?:\(anonymous namespace\)::|\((?:void )?(?:\(anonymous namespace\)::)?)?(\w+))"))) {
    auto shared = kShared.find(m[1]);
    return shared != kShared.end() ? shared->second : "on a click runs `" + std::string(m[1]) + "`";
  }
  // Any other class: the screen's own class, named without its namespace
  // and template arguments.
  std::string name = type.substr(0, type.find('<'));
  const std::string local = "(anonymous namespace)::";
  if (name.rfind(local, 0) == 0) name.erase(0, local.size());
  return "its own class `" + name + "`";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bound_ids_doc ASSET_ROOT\n");
    return 2;
  }
  std::string error;
  if (!korvohost::Mount(argv[1], &error)) {
    std::fprintf(stderr, "bound_ids_doc: cannot mount %s: %s\n", argv[1], error.c_str());
    return 1;
  }
  GUI_Initialize();
  if (!GUI_Compile()) {
    std::fprintf(stderr, "bound_ids_doc: %s\n", GUI_GetLastError());
    return 1;
  }
  // Which dialogs of the shipped script declare each id.
  std::map<std::string, std::set<std::string>> declaredIn;
  std::function<void(CGUI_Window*, const std::string&)> visit = [&](CGUI_Window* w, const std::string& dialog) {
    declaredIn[w->Id()].insert(dialog);
    for (CGUI_Window* child : w->Children()) visit(child, dialog);
  };
  for (const auto& entry : DialogTable()->Entries()) visit(entry.second, entry.first);

  CGUI_ClassRegistry* registry = GetClassRegistry();
  std::printf(
      "# Bound ids\n\n"
      "The ids to which the game binds a class of its own, in the order `GUI_Initialize`\n"
      "registers them (`startup/registration_list.cpp` and the screen files it calls). A window\n"
      "of the script gets that class only when the script declares the id with the class named\n"
      "here; `korvoui check` reports an id declared with another class. An id registered twice\n"
      "is listed once. How to bind a new id: [ui-authors.md](ui-authors.md#11-giving-a-button-an-action).\n\n"
      "Made by `bash scripts/bound_ids_doc.sh`; the test `bound_ids_doc_current` fails when it\n"
      "is out of date.\n\n"
      "| class | id | declared in | what it does |\n|---|---|---|---|\n");
  std::set<std::string> listed;
  for (const auto& r : registry->IdRegistrations()) {
    if (!listed.insert(r.className + " " + r.id).second) continue;
    CGUI_Window* window = registry->ById().at(r.className + r.id)->Create();
    const std::string type = Demangled(typeid(*window));
    delete window;
    std::string dialogs;
    auto it = declaredIn.find(r.id);
    if (it != declaredIn.end())
      for (const std::string& d : it->second) dialogs += (dialogs.empty() ? "" : ", ") + d;
    std::printf("| %s | `%s` | %s | %s |\n", r.className.c_str(), r.id.c_str(),
                dialogs.empty() ? "-" : dialogs.c_str(), WhatItDoes(type).c_str());
  }
  GUI_Release();
  return 0;
}
