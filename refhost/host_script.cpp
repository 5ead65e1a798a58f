// host_script.cpp: parsing host scripts.
#include "refhost/host_script.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "refhost/record_lines.h"
#include "refhost/sim_mission.h"

namespace korvohost {

namespace {

constexpr uint32_t kLongestPause = 600000;   // ten minutes

bool ParseColour(const std::string& text, uint32_t* out) {
  if (text.size() != 10 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return false;
  for (size_t i = 2; i < text.size(); ++i)
    if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
  *out = uint32_t(std::strtoul(text.c_str() + 2, nullptr, 16));
  return true;
}

// The blank-separated NAME=VALUE fields of a `kind` line; false with the
// reason at the first field without a name and a value.
bool SplitFields(const std::string& arg, const char* kind, std::vector<std::pair<std::string, std::string>>* fields,
                 std::string* why) {
  size_t pos = 0;
  while ((pos = arg.find_first_not_of(" \t", pos)) != std::string::npos) {
    const size_t end = std::min(arg.find_first_of(" \t", pos), arg.size());
    const std::string field = arg.substr(pos, end - pos);
    pos = end;
    const size_t eq = field.find('=');
    if (eq == std::string::npos || eq + 1 == field.size()) {
      *why = std::string("bad ") + kind + " field '" + field + "' (NAME=VALUE)";
      return false;
    }
    fields->emplace_back(field.substr(0, eq), field.substr(eq + 1));
  }
  return true;
}

// "enemies=N map=FILE seed=N time=MIN", each optional; false with the reason.
bool ParseMission(const std::string& arg, SScriptStep* step, std::string* why) {
  step->kind = SScriptStep::EKind::kMission;
  step->number = kScriptDefaultEnemies;
  std::vector<std::pair<std::string, std::string>> fields;
  if (!SplitFields(arg, "mission", &fields, why)) return false;
  for (const auto& field : fields) {
    const std::string &name = field.first, &value = field.second;
    int64_t n = 0;
    if (name == "enemies") {
      if (!ParseNumber(value, 1, kMaxSimEnemies, &n)) {
        *why = "bad enemies '" + value + "' (1-" + std::to_string(kMaxSimEnemies) + ")";
        return false;
      }
      step->number = uint32_t(n);
    } else if (name == "seed") {
      if (!ParseNumber(value, 0, UINT32_MAX, &n)) {
        *why = "bad seed '" + value + "'";
        return false;
      }
      step->seed = uint32_t(n);
    } else if (name == "time") {
      if (!ParseNumber(value, 0, kMaxSimMissionTime, &n)) {
        *why = "bad time '" + value + "' (0-" + std::to_string(kMaxSimMissionTime) + ")";
        return false;
      }
      step->timeLimitMin = int(n);
    } else if (name == "map") {
      step->text = value;
    } else {
      *why = "unknown mission field '" + name + "'";
      return false;
    }
  }
  return true;
}

// "rule=NAME bots=N frags=N time=MIN map=FILE seed=N", each optional.
bool ParseMatch(const std::string& arg, SScriptStep* step, std::string* why) {
  step->kind = SScriptStep::EKind::kMatch;
  SSimMatchRequest& request = step->match;
  request.rule = "deathmatch";
  std::vector<std::pair<std::string, std::string>> fields;
  if (!SplitFields(arg, "match", &fields, why)) return false;
  for (const auto& field : fields) {
    const std::string &name = field.first, &value = field.second;
    int64_t n = 0;
    const auto number = [&](int64_t low, int64_t high, int* out) {
      if (!ParseNumber(value, low, high, &n)) {
        *why = "bad " + name + " '" + value + "' (" + std::to_string(low) + "-" + std::to_string(high) + ")";
        return false;
      }
      *out = int(n);
      return true;
    };
    if (name == "rule") {
      request.rule = value;
    } else if (name == "bots") {
      if (!number(1, kMaxMatchBots, &request.setup.bots)) return false;
    } else if (name == "frags") {
      if (!number(0, kMaxMatchFragLimit, &request.setup.fragLimit)) return false;
    } else if (name == "time") {
      if (!number(0, kMaxMatchTimeLimit, &request.setup.timeLimitMin)) return false;
    } else if (name == "seed") {
      if (!ParseNumber(value, 0, UINT32_MAX, &n)) {
        *why = "bad seed '" + value + "'";
        return false;
      }
      request.setup.seed = uint32_t(n);
    } else if (name == "map") {
      request.setup.map = value;
    } else {
      *why = "unknown match field '" + name + "'";
      return false;
    }
  }
  if (request.setup.fragLimit == 0 && request.setup.timeLimitMin == 0) {
    *why = "a match needs a frag or a time limit";
    return false;
  }
  return true;
}

}  // namespace

bool ParseHostScript(const std::string& bytes, const std::string& label, std::vector<SScriptStep>* steps,
                     std::vector<std::string>* errors) {
  steps->clear();
  bool ok = true;
  const auto bad = [&](int line, const std::string& why) {
    if (errors) errors->push_back(LineError(label, line, why));
    ok = false;
  };
  size_t pos = 0;
  int number = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    pos = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(">", 0) == 0) {
      if (line.size() > 1 && line[1] != ' ') {
        bad(number, "a text line starts with \"> \"");
        continue;
      }
      SScriptStep step;
      step.text = line.size() > 1 ? line.substr(2) : "";
      steps->push_back(std::move(step));
      continue;
    }
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    const size_t wordEnd = line.find_first_of(" \t", first);
    const std::string word = line.substr(first, wordEnd - first);
    const size_t argStart = wordEnd == std::string::npos ? std::string::npos : line.find_first_not_of(" \t", wordEnd);
    std::string arg = argStart == std::string::npos ? "" : line.substr(argStart);
    while (!arg.empty() && (arg.back() == ' ' || arg.back() == '\t')) arg.pop_back();
    SScriptStep step;
    int64_t n = 0;
    if (word == "color") {
      step.kind = SScriptStep::EKind::kColor;
      if (!ParseColour(arg, &step.number)) {
        bad(number, "bad colour '" + arg + "' (0xAARRGGBB)");
        continue;
      }
    } else if (word == "pace" || word == "wait") {
      step.kind = word == "pace" ? SScriptStep::EKind::kPace : SScriptStep::EKind::kWait;
      if (!ParseNumber(arg, word == "pace" ? 1 : 0, kLongestPause, &n)) {
        bad(number, "bad " + word + " '" + arg + "' (milliseconds up to 600000)");
        continue;
      }
      step.number = uint32_t(n);
    } else if (word == "mission" || word == "match") {
      std::string why;
      if (!(word == "mission" ? ParseMission(arg, &step, &why) : ParseMatch(arg, &step, &why))) {
        bad(number, why);
        continue;
      }
    } else {
      bad(number, "unknown line '" + word + "'");
      continue;
    }
    steps->push_back(std::move(step));
  }
  return ok;
}

}  // namespace korvohost
