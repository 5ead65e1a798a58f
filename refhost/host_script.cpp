// host_script.cpp: parsing host scripts.
#include "refhost/host_script.h"

#include <cctype>
#include <cstdlib>

#include "refhost/record_lines.h"

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
    } else {
      bad(number, "unknown line '" + word + "'");
      continue;
    }
    steps->push_back(std::move(step));
  }
  return ok;
}

}  // namespace korvohost
