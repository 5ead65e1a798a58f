// profile_files.cpp: pilot account files, options.ini and controls.ini as text.
#include "refhost/profile_files.h"

#include <climits>
#include <cstdint>

#include "refhost/record_lines.h"

namespace korvohost {

namespace {

constexpr const char* kGroupNames[] = {"graphics", "sound", "network", "macro"};

bool KeepsByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;   // upper case only: one spelling per name
}

// Collects the errors of one file.
struct Reader {
  const std::string& label;
  std::vector<std::string>* errors;

  void Bad(const SRecordLine& line, const std::string& why) const {
    if (errors) errors->push_back(LineError(label, line.number, why));
  }
  // The line's word followed by exactly `count` plain tokens.
  bool Shape(const SRecordLine& line, size_t count) const {
    bool ok = line.tokens.size() == count + 1;
    for (size_t i = 1; ok && i < line.tokens.size(); ++i) ok = !line.tokens[i].field;
    if (!ok)
      Bad(line, "'" + line.tokens[0].value + "' takes " + std::to_string(count) +
                    (count == 1 ? " value" : " values"));
    return ok;
  }
  bool Number(const SRecordLine& line, const std::string& text, int64_t min, int64_t max, const char* what,
              int64_t* out) const {
    if (ParseNumber(text, min, max, out)) return true;
    Bad(line, std::string("bad ") + what + " '" + text + "'");
    return false;
  }
};

}  // namespace

const char* OptionGroupName(EOptionGroup group) { return kGroupNames[int(group)]; }

// ---- Pilot names -----------------------------------------------------------------------

bool ValidAccountName(const std::string& name, std::string* why) {
  const char* problem = nullptr;
  if (name.empty())
    problem = "an empty pilot name";
  else if (name.size() > kMaxAccountName)
    problem = "a pilot name longer than 64 bytes";
  else if (name == "." || name == "..")
    problem = "a pilot name of only dots";
  for (unsigned char c : name) {
    if (problem) break;
    if (c < 0x20 || c == 0x7F)
      problem = "a control character in a pilot name";
    else if (c == '/' || c == '\\')
      problem = "a slash in a pilot name";
    else if (c == '|')
      problem = "a '|' in a pilot name";
  }
  if (problem && why) *why = problem;
  return !problem;
}

std::string AccountFileName(const std::string& name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string file;
  for (unsigned char c : name) {
    if (KeepsByte(c)) {
      file += char(c);
    } else {
      file += '%';
      file += kHex[c >> 4];
      file += kHex[c & 15];
    }
  }
  return file + ".pilot";
}

bool AccountNameOfFile(const std::string& file, std::string* name) {
  static const std::string kSuffix = ".pilot";
  if (file.size() <= kSuffix.size() || file.compare(file.size() - kSuffix.size(), kSuffix.size(), kSuffix))
    return false;
  std::string decoded;
  const size_t end = file.size() - kSuffix.size();
  for (size_t i = 0; i < end; ++i) {
    if (file[i] != '%') {
      decoded += file[i];
      continue;
    }
    const int hi = i + 2 < end ? Hex(file[i + 1]) : -1;
    const int lo = i + 2 < end ? Hex(file[i + 2]) : -1;
    if (hi < 0 || lo < 0) return false;
    decoded += char(hi * 16 + lo);
    i += 2;
  }
  // One file per name: only the spelling AccountFileName gives counts.
  if (!ValidAccountName(decoded, nullptr) || AccountFileName(decoded) != file) return false;
  *name = decoded;
  return true;
}

// ---- Pilot account files -------------------------------------------------------------

std::string FormatAccount(const SAccountRecord& a, int order) {
  std::string out = "# korvogui pilot account\n";
  out += "name " + QuoteText(a.name) + "\n";
  out += "order " + std::to_string(order) + "\n";
  out += "character " + std::to_string(a.character) + "\n";
  out += "left " + std::to_string(a.left) + "\n";
  out += "right " + std::to_string(a.right) + "\n";
  if (a.hasLast) out += "last " + QuoteText(a.last) + "\n";
  if (a.hasCurrent) out += "current " + QuoteText(a.current) + "\n";
  out += "total " + std::to_string(a.total) + "\n";
  for (const SAchievementRecord& r : a.achievements) {
    out += "achievement " + QuoteText(r.key) + " name=" + QuoteText(r.name) + " latest=" +
           std::to_string(r.latest) + " best=" + std::to_string(r.best) + " count=" + std::to_string(r.count) +
           "\n";
  }
  return out;
}

bool ParseAccount(const std::string& bytes, const std::string& label, SAccountRecord* account, int* order,
                  std::vector<std::string>* errors) {
  const Reader in{label, errors};
  SAccountRecord a;
  bool named = false;
  int64_t n = 0;
  *order = 0;
  for (const SRecordLine& line : SplitRecordLines(bytes, label, errors)) {
    const SLineToken& word = line.tokens[0];
    const std::string& w = word.value;
    if (word.field) {
      in.Bad(line, "unknown line '" + word.name + "='");
    } else if (w == "name" || w == "last" || w == "current") {
      if (!in.Shape(line, 1)) continue;
      const std::string& text = line.tokens[1].value;
      if (w == "name") {
        std::string why;
        if (!ValidAccountName(text, &why)) {
          in.Bad(line, why);
          continue;
        }
        a.name = text, named = true;
      } else if (w == "last") {
        a.last = text, a.hasLast = true;
      } else {
        a.current = text, a.hasCurrent = true;
      }
    } else if (w == "order" || w == "character" || w == "left" || w == "right" || w == "total") {
      if (!in.Shape(line, 1)) continue;
      const std::string& text = line.tokens[1].value;
      if (w == "order" && in.Number(line, text, 0, INT_MAX, "list order", &n)) *order = int(n);
      if (w == "character" && in.Number(line, text, 0, INT_MAX, "character index", &n)) a.character = int(n);
      if (w == "left" && in.Number(line, text, -1, INT_MAX, "option part", &n)) a.left = int(n);
      if (w == "right" && in.Number(line, text, -1, INT_MAX, "option part", &n)) a.right = int(n);
      if (w == "total" && in.Number(line, text, 0, INT_MAX, "clear time", &n)) a.total = int(n);
    } else if (w == "achievement") {
      if (line.tokens.size() < 2 || line.tokens[1].field) {
        in.Bad(line, "'achievement' takes a key first");
        continue;
      }
      SAchievementRecord r;
      r.key = r.name = line.tokens[1].value;
      bool ok = true;
      for (size_t i = 2; ok && i < line.tokens.size(); ++i) {
        const SLineToken& f = line.tokens[i];
        if (!f.field) {
          in.Bad(line, "unexpected value '" + f.value + "'"), ok = false;
        } else if (f.name == "name") {
          r.name = f.value;
        } else if (f.name == "latest" || f.name == "best") {
          ok = in.Number(line, f.value, 0, INT_MAX, "clear time", &n);
          (f.name == "latest" ? r.latest : r.best) = int(n);
        } else if (f.name == "count") {
          ok = in.Number(line, f.value, 0, INT_MAX, "completion count", &n);
          r.count = int(n);
        } else {
          in.Bad(line, "unknown field '" + f.name + "'"), ok = false;
        }
      }
      if (ok) a.achievements.push_back(std::move(r));
    } else {
      in.Bad(line, "unknown line '" + w + "'");
    }
  }
  *account = std::move(a);
  return named;
}

// ---- options.ini -----------------------------------------------------------------------

std::string FormatOptions(const OptionGroups& groups) {
  std::string out = "# korvogui options: each item's value in use, saved value and default\n";
  for (int g = 0; g < 4; ++g) {
    out += std::string(g ? "\n[" : "[") + kGroupNames[g] + "]\n";
    for (const SOptionItem& item : groups[g]) {
      out += WriteToken(item.key);
      if (g == int(EOptionGroup::kMacro)) {
        out += " value=" + QuoteText(item.text) + " saved=" + QuoteText(item.savedText) +
               " default=" + QuoteText(item.defaultText) + "\n";
      } else {
        out += " value=" + std::to_string(item.value) + " saved=" + std::to_string(item.saved) +
               " default=" + std::to_string(item.defaultValue) + "\n";
      }
    }
  }
  return out;
}

void ParseOptions(const std::string& bytes, const std::string& label, OptionGroups* groups,
                  std::vector<std::string>* errors) {
  const Reader in{label, errors};
  for (auto& g : *groups) g.clear();
  int group = -1;
  for (const SRecordLine& line : SplitRecordLines(bytes, label, errors)) {
    const SLineToken& word = line.tokens[0];
    if (!word.field && !word.quoted && word.value.size() > 2 && word.value.front() == '[' &&
        word.value.back() == ']') {
      const std::string name = word.value.substr(1, word.value.size() - 2);
      group = -1;
      for (int g = 0; g < 4; ++g)
        if (name == kGroupNames[g]) group = g;
      if (group < 0) in.Bad(line, "unknown option group '" + word.value + "'");
      else if (line.tokens.size() > 1) in.Bad(line, "text after the group name");
      continue;
    }
    if (word.field) {
      in.Bad(line, "an option line starts with its key, not '" + word.name + "='");
      continue;
    }
    if (group < 0) {
      in.Bad(line, "option '" + word.value + "' outside a known group");
      continue;
    }
    const bool macro = group == int(EOptionGroup::kMacro);
    SOptionItem item;
    item.key = word.value;
    bool ok = true, hasSaved = false, hasDefault = false;
    int64_t n = 0;
    for (size_t i = 1; ok && i < line.tokens.size(); ++i) {
      const SLineToken& f = line.tokens[i];
      const bool known = f.field && (f.name == "value" || f.name == "saved" || f.name == "default");
      if (!known) {
        in.Bad(line, f.field ? "unknown field '" + f.name + "'" : "unexpected value '" + f.value + "'");
        ok = false;
        break;
      }
      hasSaved |= f.name == "saved";
      hasDefault |= f.name == "default";
      if (macro) {
        (f.name == "value" ? item.text : f.name == "saved" ? item.savedText : item.defaultText) = f.value;
      } else if ((ok = in.Number(line, f.value, 0, UINT32_MAX, "option value", &n))) {
        (f.name == "value" ? item.value : f.name == "saved" ? item.saved : item.defaultValue) = uint32_t(n);
      }
    }
    if (!ok) continue;
    if (!hasSaved) item.saved = item.value, item.savedText = item.text;
    if (!hasDefault) item.defaultValue = item.value, item.defaultText = item.text;
    (*groups)[group].push_back(std::move(item));
  }
}

// ---- controls.ini ----------------------------------------------------------------------

bool CheckBindings(const std::vector<SBindingRecord>& bindings, std::string* why) {
  for (const SBindingRecord& b : bindings) {
    if (b.action.empty()) {
      if (why) *why = "a key binding without an action";
      return false;
    }
    for (const auto* list : {&b.inputs, &b.saved, &b.defaults}) {
      for (const std::string& input : *list) {
        if (input.empty() || input.find(',') != std::string::npos) {
          if (why) *why = "input name '" + input + "' of " + b.action + " cannot be kept in a list";
          return false;
        }
      }
    }
  }
  return true;
}

std::string FormatBindings(const std::vector<SBindingRecord>& bindings) {
  std::string out = "# korvogui key bindings: each action's inputs in use, saved inputs and defaults\n";
  for (const SBindingRecord& b : bindings) {
    out += WriteToken(b.action) + " inputs=" + QuoteText(JoinList(b.inputs)) + " saved=" +
           QuoteText(JoinList(b.saved)) + " default=" + QuoteText(JoinList(b.defaults)) + "\n";
  }
  return out;
}

void ParseBindings(const std::string& bytes, const std::string& label, std::vector<SBindingRecord>* bindings,
                   std::vector<std::string>* errors) {
  const Reader in{label, errors};
  bindings->clear();
  for (const SRecordLine& line : SplitRecordLines(bytes, label, errors)) {
    const SLineToken& word = line.tokens[0];
    if (word.field) {
      in.Bad(line, "a binding line starts with its action, not '" + word.name + "='");
      continue;
    }
    SBindingRecord b;
    b.action = word.value;
    bool ok = true, hasSaved = false, hasDefault = false;
    for (size_t i = 1; ok && i < line.tokens.size(); ++i) {
      const SLineToken& f = line.tokens[i];
      std::vector<std::string>* list = !f.field              ? nullptr
                                       : f.name == "inputs"  ? &b.inputs
                                       : f.name == "saved"   ? &b.saved
                                       : f.name == "default" ? &b.defaults
                                                             : nullptr;
      if (!list) {
        in.Bad(line, f.field ? "unknown field '" + f.name + "'" : "unexpected value '" + f.value + "'");
        ok = false;
        break;
      }
      *list = SplitList(f.value);
      for (const std::string& input : *list) {
        if (input.empty()) {
          in.Bad(line, "empty input name in '" + f.value + "'");
          ok = false;
        }
      }
      hasSaved |= list == &b.saved;
      hasDefault |= list == &b.defaults;
    }
    if (!ok) continue;
    if (!hasSaved) b.saved = b.inputs;
    if (!hasDefault) b.defaults = b.inputs;
    bindings->push_back(std::move(b));
  }
}

}  // namespace korvohost
