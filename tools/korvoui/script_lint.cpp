// script_lint.cpp: the checks of a compiled script's outline, class by class
// from the shape table the controls read with.
#include "tools/korvoui/script_lint.h"

#include <strings.h>

#include <algorithm>

#include "runtime/flag_words.h"
#include "runtime/param_shapes.h"

namespace {

const char* const kFonts[] = {"SYSTEM", "MENU", "NORMAL", "DIGIT"};

std::string Ordinal(int n) {
  const char* suffix = n % 100 / 10 == 1 ? "th" : n % 10 == 1 ? "st" : n % 10 == 2 ? "nd" : n % 10 == 3 ? "rd" : "th";
  return std::to_string(n) + suffix;
}

std::string Plural(int n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// "exactly 2", "7 or more", "1 to 3".
std::string CountWanted(const SClassParams& c) {
  if (c.least == c.most) return "exactly " + std::to_string(c.least);
  if (c.most == kAnyNumber) return std::to_string(c.least) + " or more";
  return std::to_string(c.least) + " to " + std::to_string(c.most);
}

// "0 text list, 1 bitmap list, ..., then one state list each".
std::string ListsInWords(const SClassParams& c) {
  std::string out;
  for (size_t i = 0; i < c.lists.size(); ++i) {
    out += (i ? ", " : "") + std::to_string(i) + " " + c.lists[i].shape->name;
    if (c.lists[i].use == EListUse::kWhenCountIsEight) out += " (only with exactly 8 lists)";
    if (c.lists[i].use == EListUse::kWhenNormalFont) out += " (only with the NORMAL font)";
  }
  if (c.rest) out += std::string(out.empty() ? "" : ", then ") + "one " + c.rest->name + " each";
  return out;
}

class CLinter {
 public:
  CLinter(const SLintContext& context, std::vector<SLintFinding>* out)
      : context_(context), out_(out) {}

  void Dialog(const SOutlineWindow& dialog) {
    Flags(dialog, true);
    Bound(dialog);
    std::set<std::string> ids;
    for (const SOutlineWindow& control : dialog.controls) {
      if (!ids.insert(control.id).second)
        Warn(control.idAt, "control id '" + control.id + "' is used twice in " + dialog.id,
             "game code finds the first one only; give each control its own id");
      Flags(control, false);
      Bound(control);
      Lists(dialog, control);
    }
  }

 private:
  void Report(bool error, SOutlinePlace at, std::string message, std::string hint) {
    out_->push_back({error, at, std::move(message), std::move(hint)});
  }
  void Error(SOutlinePlace at, std::string m, std::string h = "") { Report(true, at, m, h); }
  void Warn(SOutlinePlace at, std::string m, std::string h = "") { Report(false, at, m, h); }

  static std::string Name(const SOutlineWindow& w) { return w.className + " '" + w.id + "'"; }

  // ---- Flags and bindings ----

  void Flags(const SOutlineWindow& w, bool dialog) {
    int count = 0;
    const char* const* words = FlagWords(&count);
    const std::vector<std::string> known(words, words + count);
    for (const SOutlineFlag& f : w.flags) {
      EFlagScope scope;
      if (!FindFlagWord(f.word, &scope)) {
        const std::string near = ClosestWord(f.word, known);
        Error(f.at, "unknown flag '" + f.word + "' on " + Name(w) + " (it is ignored)",
              near.empty() ? "flags are WF_*, CF_* and ES_* words (guide, section 4)"
                           : "did you mean " + near + "?");
      } else if (dialog && scope != EFlagScope::kWindow) {
        Warn(f.at, "flag '" + f.word + "' has no effect on a dialog",
             "dialogs take WF_HIDE, WF_NOHITTEST and WF_FOREGROUND only");
      } else if (scope == EFlagScope::kEdit && w.className != "EDIT") {
        Warn(f.at, "flag '" + f.word + "' has no effect on " + w.className,
             "ES_NUMBER and ES_PASSWORD work on EDIT only");
      }
    }
  }

  void Bound(const SOutlineWindow& w) {
    auto it = context_.boundIds.find(w.id);
    if (it == context_.boundIds.end() || it->second.count(w.className)) return;
    std::string classes;
    for (const std::string& c : it->second) classes += (classes.empty() ? "" : " or ") + c;
    Error(w.idAt,
          "id '" + w.id + "' is bound to " + classes + ", declared as " + w.className +
              ": the game's behaviour for it does not apply",
          "declare it as " + classes + ", or give this " + w.className + " another id");
  }

  // ---- PARAM lists ----

  void Lists(const SOutlineWindow& dialog, const SOutlineWindow& w) {
    const SClassParams* c = FindClassParams(w.className);
    const int count = int(w.lists.size());
    if (!c) {
      // The plain classes read nothing; a class bound to the id may.
      if (count && !context_.boundIds.count(w.id))
        Warn(w.lists[0].at, w.className + " reads no PARAM lists: " + Plural(count, "list") +
                                " of " + Name(w) + (count == 1 ? " is" : " are") + " ignored");
      return;
    }
    if (count < c->least || count > c->most) {
      const std::string wanted = CountWanted(*c) + " PARAM lists";
      Error(w.at,
            Name(w) + " has " + Plural(count, "PARAM list") + "; " + w.className + " needs " + wanted +
                " (the dialog does not open)",
            "lists: " + ListsInWords(*c));
    }
    bool normalFont = false;
    for (int i = 0; i < count; ++i) {
      const SOutlineList& list = w.lists[size_t(i)];
      const SListShape* shape = nullptr;
      std::string unread;
      if (i < int(c->lists.size())) {
        const SClassListShape& s = c->lists[size_t(i)];
        shape = s.shape;
        if (s.use == EListUse::kWhenNormalFont && !normalFont)
          unread = "a " + w.className + " reads list " + std::to_string(i) + " only with the NORMAL font";
        if (s.use == EListUse::kWhenCountIsEight && count != 8)
          unread = "list 7 is the arrow link only when there are exactly 8 lists";
      } else if (c->rest) {
        shape = c->rest;
      } else {
        unread = "a " + w.className + " reads at most " + std::to_string(c->lists.size()) + " lists";
      }
      if (!unread.empty()) {
        Warn(list.at, "PARAM list " + std::to_string(i) + " of " + Name(w) + " is not read", unread);
        continue;
      }
      if (!Values(w, i, list, *shape)) continue;
      if (shape == &kTextList) normalFont = Text(w, list);
      else if (shape == &kBitmapList || shape == &kRotateStateList) Texture(list);
      Limits(dialog, w, i, list, *shape);
    }
  }

  // Kinds and numbers of values; false when the list would fail to read.
  bool Values(const SOutlineWindow& w, int index, const SOutlineList& list, const SListShape& shape) {
    const std::string where = Name(w) + " PARAM list " + std::to_string(index) + " (" + shape.name + ")";
    const int length = ShapeLength(shape);
    const int given = int(list.values.size());
    for (int k = 0; k < std::min(given, length); ++k) {
      const SOutlineValue& v = list.values[size_t(k)];
      const uint32_t want = ShapeKind(shape, k);
      if (v.type == want) continue;
      std::string hint = "the list is: " + std::string(shape.meaning);
      if (want == PARAM_FLOAT && v.type == PARAM_INTEGER) hint = "write " + v.text + ".0";
      if (want == PARAM_INTEGER && v.type == PARAM_FLOAT) hint = "write " + v.text.substr(0, v.text.find('.'));
      Error(v.at, where + ", " + Ordinal(k + 1) + " value: expected " + KindName(want) + ", given " +
                      KindName(v.type) + " " + v.text,
            hint);
      return false;
    }
    if (given < shape.required) {
      Error(list.at, where + ": expected at least " + Plural(shape.required, "value") + ", given " +
                         std::to_string(given),
            "the list is: " + std::string(shape.meaning));
      return false;
    }
    for (int k = 0; k < std::min(given, length); ++k) {
      const SOutlineValue& v = list.values[size_t(k)];
      if (ShapeColour(shape, k) && (v.integer < 0 || v.integer > 255))
        Warn(v.at, where + ", " + Ordinal(k + 1) + " value: expected a colour component 0 to 255, given " + v.text,
             "only its lowest 8 bits count");
    }
    if (given > length)
      Warn(list.values[size_t(length)].at,
           where + ": " + Plural(given, "value") + " given, values after the " + Ordinal(length) +
               " are not read",
           "the list is: " + std::string(shape.meaning));
    return true;
  }

  // The font of a text list; true for NORMAL.
  bool Text(const SOutlineWindow& w, const SOutlineList& list) {
    const SOutlineValue& font = list.values[0];
    bool known = false;
    for (const char* f : kFonts) known = known || strcasecmp(font.string.c_str(), f) == 0;
    if (!known) {
      Error(font.at, "unknown font '" + font.string + "' for " + Name(w) + ": expected SYSTEM, MENU, NORMAL or DIGIT");
      return false;
    }
    if (strcasecmp(font.string.c_str(), "SYSTEM") == 0 && list.values.size() > 3 &&
        (list.values[3].integer < 0 || list.values[3].integer > 9))
      Error(list.values[3].at, "SYSTEM stroke of " + Name(w) + ": expected 0 to 9, given " + list.values[3].text);
    return strcasecmp(font.string.c_str(), "NORMAL") == 0;
  }

  void Texture(const SOutlineList& list) {
    const SOutlineValue& name = list.values[0];
    if (name.string.empty() || strcasecmp(name.string.c_str(), "null") == 0) return;
    if (context_.textureExists(name.string)) return;
    const std::string near = ClosestWord(name.string, context_.textures);
    Error(name.at, "texture '" + name.string + "' is not in the root (menu/" + name.string + "): it draws nothing",
          near.empty() ? "add the file under menu/ of the root, or write \"null\" to draw nothing"
                       : "did you mean \"" + near + "\"?");
  }

  // The checks on values that the controls make when they open.
  void Limits(const SOutlineWindow& dialog, const SOutlineWindow& w, int index, const SOutlineList& list,
              const SListShape& shape) {
    const auto& v = list.values;
    if (&shape == &kListRowsList && v[4].integer < 1)
      Error(v[4].at, "visible rows of " + Name(w) + ": expected 1 or more, given " + v[4].text);
    if (&shape == &kSliderList && v[2].integer <= v[1].integer)
      Error(v[2].at, "max of " + Name(w) + ": expected more than the min " + v[1].text + ", given " + v[2].text);
    if ((&shape == &kRotateStateList || &shape == &kTextStateList) && v.size() >= 6) {
      const int states = int(w.lists.size()) - (&shape == &kTextStateList ? 1 : 0);
      const long least = &shape == &kTextStateList ? -1 : 0;
      if (v[5].integer < least || v[5].integer >= states)
        Error(v[5].at, "next state of " + Name(w) + " PARAM list " + std::to_string(index) + ": expected " +
                           std::to_string(least) + " to " + std::to_string(states - 1) + ", given " + v[5].text);
    }
    if (&shape == &kArrowLinkList) {
      bool found = false;
      for (const SOutlineWindow& c : dialog.controls) found = found || (c.id == v[0].string && c.className == "EDIT");
      if (!found)
        Error(v[0].at, "arrow link of " + Name(w) + ": expected the id of an EDIT of " + dialog.id + ", given " + v[0].text);
    }
  }

  const SLintContext& context_;
  std::vector<SLintFinding>* out_;
};

}  // namespace

std::vector<SLintFinding> LintScript(const SScriptOutline& outline, const SLintContext& context) {
  std::vector<SLintFinding> findings;
  CLinter linter(context, &findings);
  std::set<std::string> dialogs;
  for (const SOutlineWindow& dialog : outline.dialogs) {
    if (!dialogs.insert(dialog.id).second)
      findings.push_back({false, dialog.idAt, "dialog '" + dialog.id + "' is defined again: this one replaces the earlier",
                          "rename one of them"});
    linter.Dialog(dialog);
  }
  std::stable_sort(findings.begin(), findings.end(), [](const SLintFinding& a, const SLintFinding& b) {
    return a.at.line != b.at.line ? a.at.line < b.at.line : a.at.column < b.at.column;
  });
  return findings;
}

std::string ClosestWord(const std::string& word, const std::vector<std::string>& candidates) {
  std::string best;
  size_t bestDistance = std::min<size_t>(3, word.size() / 3) + 1;
  for (const std::string& c : candidates) {
    std::vector<size_t> row(c.size() + 1);
    for (size_t j = 0; j <= c.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= word.size(); ++i) {
      size_t diagonal = row[0];
      row[0] = i;
      for (size_t j = 1; j <= c.size(); ++j) {
        const size_t up = row[j];
        row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (word[i - 1] == c[j - 1] ? 0 : 1)});
        diagonal = up;
      }
    }
    if (row[c.size()] < bestDistance) {
      bestDistance = row[c.size()];
      best = c;
    }
  }
  return best;
}
