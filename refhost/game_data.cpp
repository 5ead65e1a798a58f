// game_data.cpp: reading the game data tables of the mounted root.
#include "refhost/game_data.h"

#include <climits>
#include <map>
#include <set>

#include "refhost/record_lines.h"

namespace korvohost {

namespace {

// One table file being read: its errors and the fields of its lines.
class TableReader {
 public:
  TableReader(const char* file, std::vector<std::string>* errors) : file_(file), errors_(errors) {}

  // The table's record lines; false (with an error) when the file is absent.
  bool Lines(std::vector<SRecordLine>* lines) {
    std::string bytes;
    if (!ReadFile(file_, &bytes)) {
      errors_->push_back(file_ + ": missing table");
      return false;
    }
    *lines = SplitRecordLines(bytes, file_, errors_);
    return true;
  }

  void Bad(const SRecordLine& line, const std::string& why) { errors_->push_back(LineError(file_, line.number, why)); }

  // Splits a line `WORD [KEY] NAME=VALUE…` into its key (when `keyed`) and
  // fields; every field must be one of `known` and each of `required` present.
  bool Fields(const SRecordLine& line, bool keyed, const std::set<std::string>& known,
              const std::set<std::string>& required, std::string* key, std::map<std::string, std::string>* fields) {
    fields->clear();
    size_t i = 1;
    if (keyed) {
      if (line.tokens.size() < 2 || line.tokens[1].field) {
        Bad(line, "'" + line.tokens[0].value + "' takes its key first");
        return false;
      }
      *key = line.tokens[1].value;
      i = 2;
    }
    for (; i < line.tokens.size(); ++i) {
      const SLineToken& t = line.tokens[i];
      if (!t.field) {
        Bad(line, "unexpected value '" + t.value + "'");
        return false;
      }
      if (!known.count(t.name)) {
        Bad(line, "unknown field '" + t.name + "'");
        return false;
      }
      if (fields->count(t.name)) {
        Bad(line, "field '" + t.name + "' given twice");
        return false;
      }
      (*fields)[t.name] = t.value;
    }
    for (const std::string& name : required) {
      if (!fields->count(name)) {
        Bad(line, "no '" + name + "' field");
        return false;
      }
    }
    return true;
  }

  // A file the record names must be in the game file system.
  bool Exists(const SRecordLine& line, const std::string& path) {
    std::string bytes;
    if (ReadFile(path, &bytes)) return true;
    Bad(line, "no file '" + path + "'");
    return false;
  }

  bool Number(const SRecordLine& line, const std::string& text, int64_t min, const char* what, int* out) {
    int64_t n = 0;
    if (ParseNumber(text, min, INT_MAX, &n)) {
      *out = int(n);
      return true;
    }
    Bad(line, std::string("bad ") + what + " '" + text + "'");
    return false;
  }

  bool Word(const SRecordLine& line, const char* word) {
    if (!line.tokens[0].field && line.tokens[0].value == word) return true;
    Bad(line, "unknown line '" + (line.tokens[0].field ? line.tokens[0].name + "=" : line.tokens[0].value) + "'");
    return false;
  }

 private:
  std::string file_;
  std::vector<std::string>* errors_;
};

// A texture the screens load through "menu/NAME"; "null" means none.
bool TextureExists(TableReader& in, const SRecordLine& line, const std::string& name) {
  return name == "null" || in.Exists(line, "menu/" + name);
}

void ReadMissions(SGameData* data, std::vector<std::string>* errors) {
  TableReader in(kMissionTable, errors);
  std::vector<SRecordLine> lines;
  if (!in.Lines(&lines)) return;
  std::set<std::string> names;
  for (const SRecordLine& line : lines) {
    std::string name;
    std::map<std::string, std::string> f;
    if (!in.Word(line, "mission") ||
        !in.Fields(line, true, {"key", "desc", "briefing", "objective", "script", "initial"},
                   {"desc", "briefing", "objective", "script"}, &name, &f))
      continue;
    if (name.empty() || !names.insert(name).second) {
      in.Bad(line, name.empty() ? "empty mission name" : "mission '" + name + "' defined twice");
      continue;
    }
    SMissionRecord m;
    m.name = name;
    m.key = f.count("key") ? f["key"] : name;
    m.desc = f["desc"], m.briefing = f["briefing"], m.objective = f["objective"], m.script = f["script"];
    if (f.count("initial")) {
      if (f["initial"] != "true" && f["initial"] != "false") {
        in.Bad(line, "bad initial '" + f["initial"] + "' (true or false)");
        continue;
      }
      m.initial = f["initial"] == "true";
    }
    bool ok = true;
    for (const std::string* path : {&m.desc, &m.briefing, &m.objective, &m.script}) ok = in.Exists(line, *path) && ok;
    if (ok) data->missions.push_back(std::move(m));
  }
}

// Lines `open KEY after=MISSION [mission=NAME] [if=KEY] [within=S] [over=S]`
// and `ending after=MISSION`, naming missions of the mission table.
void ReadCampaign(SGameData* data, std::vector<std::string>* errors) {
  TableReader in(kCampaignTable, errors);
  std::vector<SRecordLine> lines;
  if (!in.Lines(&lines)) return;
  std::set<std::string> missions;
  for (const SMissionRecord& m : data->missions) missions.insert(m.name);
  const auto known = [&](const SRecordLine& line, const std::string& name) {
    if (missions.count(name)) return true;
    in.Bad(line, "no mission '" + name + "'");
    return false;
  };
  for (const SRecordLine& line : lines) {
    SCampaignRule r;
    std::map<std::string, std::string> f;
    const bool ending = !line.tokens[0].field && line.tokens[0].value == "ending";
    if (ending) {
      if (!in.Fields(line, false, {"after"}, {"after"}, &r.key, &f) || !known(line, f["after"])) continue;
      r.ending = true;
      r.after = f["after"];
      data->campaign.push_back(std::move(r));
      continue;
    }
    if (!in.Word(line, "open") ||
        !in.Fields(line, true, {"after", "mission", "if", "within", "over"}, {"after"}, &r.key, &f))
      continue;
    r.after = f["after"];
    r.mission = f.count("mission") ? f["mission"] : r.key;
    r.ifKey = f["if"];
    if (r.key.empty() || !known(line, r.after) || !known(line, r.mission)) continue;
    if ((f.count("within") && !in.Number(line, f["within"], 0, "clear time", &r.within)) ||
        (f.count("over") && !in.Number(line, f["over"], 0, "clear time", &r.over)))
      continue;
    data->campaign.push_back(std::move(r));
  }
}

void ReadCharacters(SGameData* data, std::vector<std::string>* errors) {
  TableReader in(kCharacterTable, errors);
  std::vector<SRecordLine> lines;
  if (!in.Lines(&lines)) return;
  std::set<int> ids;
  for (const SRecordLine& line : lines) {
    std::string id;
    std::map<std::string, std::string> f;
    SCharacterRecord c;
    if (!in.Word(line, "character") || !in.Fields(line, true, {"name", "portrait"}, {"name", "portrait"}, &id, &f) ||
        !in.Number(line, id, 1, "character id", &c.id))
      continue;
    if (!ids.insert(c.id).second) {
      in.Bad(line, "character id " + id + " defined twice");
      continue;
    }
    c.name = f["name"];
    c.portrait = f["portrait"];
    if (in.Exists(line, c.portrait)) data->characters.push_back(std::move(c));
  }
}

void ReadOptionParts(SGameData* data, std::vector<std::string>* errors) {
  TableReader in(kOptionPartTable, errors);
  std::vector<SRecordLine> lines;
  if (!in.Lines(&lines)) return;
  std::vector<std::pair<int, const SRecordLine*>> uses;   // option ids the parts name
  for (const SRecordLine& line : lines) {
    std::string key;
    std::map<std::string, std::string> f;
    if (!line.tokens[0].field && line.tokens[0].value == "weapon") {
      SWeaponNameRecord w;
      if (!in.Fields(line, true, {"name"}, {"name"}, &key, &f) || !in.Number(line, key, 1, "option id", &w.id))
        continue;
      bool twice = false;
      for (const SWeaponNameRecord& other : data->weaponNames) twice |= other.id == w.id;
      if (twice) {
        in.Bad(line, "weapon " + key + " defined twice");
        continue;
      }
      w.name = f["name"];
      data->weaponNames.push_back(std::move(w));
      continue;
    }
    SOptionPartRecord o;
    if (!in.Word(line, "optionpart") ||
        !in.Fields(line, false, {"name", "text2", "icon", "text4", "id"}, {"name", "icon", "id"}, &key, &f) ||
        !in.Number(line, f["id"], 1, "option id", &o.id) || !TextureExists(in, line, f["icon"]))
      continue;
    o.name = f["name"], o.text2 = f["text2"], o.icon = f["icon"], o.text4 = f["text4"];
    uses.emplace_back(o.id, &line);
    data->optionParts.push_back(std::move(o));
  }
  for (const auto& [id, line] : uses) {
    bool named = false;
    for (const SWeaponNameRecord& w : data->weaponNames) named |= w.id == id;
    if (!named) in.Bad(*line, "no weapon line for option id " + std::to_string(id));
  }
}

void ReadMaps(SGameData* data, std::vector<std::string>* errors) {
  TableReader in(kMapTable, errors);
  std::vector<SRecordLine> lines;
  if (!in.Lines(&lines)) return;
  std::set<std::string> files;
  for (const SRecordLine& line : lines) {
    SMapRecord m;
    std::map<std::string, std::string> f;
    if (!in.Word(line, "map") || !in.Fields(line, true, {"title", "picture"}, {"title", "picture"}, &m.file, &f))
      continue;
    // The name before the first "-" is NAME.gnd: the map browser makes its picture of it.
    const std::string name = m.file.substr(0, m.file.find('-'));
    const bool shaped = name.size() > 4 && name.compare(name.size() - 4, 4, ".gnd") == 0 &&
                        m.file.find('/') == std::string::npos;
    if (!shaped) {
      in.Bad(line, "bad map file name '" + m.file + "' (NAME.gnd[-RULE...])");
      continue;
    }
    if (!files.insert(m.file).second) {
      in.Bad(line, "map '" + m.file + "' listed twice");
      continue;
    }
    m.title = f["title"];
    m.picture = f["picture"];
    const bool ok = in.Exists(line, "data/map/" + m.file);
    if (TextureExists(in, line, m.picture) && ok) data->maps.push_back(std::move(m));
  }
}

// Lines `NUMBER TEXT`: the message text of Res_LoadString(NUMBER).
void ReadMessages(SGameData* data, std::vector<std::string>* errors) {
  TableReader in(kMessageTable, errors);
  std::vector<SRecordLine> lines;
  if (!in.Lines(&lines)) return;
  std::set<int> ids;
  for (const SRecordLine& line : lines) {
    const SLineToken& first = line.tokens[0];
    if (first.field || first.quoted || line.tokens.size() != 2 || line.tokens[1].field) {
      in.Bad(line, "not a message line (NUMBER \"TEXT\")");
      continue;
    }
    SMessageRecord m;
    if (!in.Number(line, first.value, 1, "message number", &m.id)) continue;
    if (!ids.insert(m.id).second) {
      in.Bad(line, "message " + first.value + " defined twice");
      continue;
    }
    m.text = line.tokens[1].value;
    if (m.text.empty()) {
      in.Bad(line, "empty text for message " + first.value);
      continue;
    }
    if (m.text.size() > kMessageTextMax) {
      in.Bad(line, "text of message " + first.value + " is " + std::to_string(m.text.size()) +
                       " bytes; at most " + std::to_string(kMessageTextMax) + " fit");
      continue;
    }
    data->messages.push_back(std::move(m));
  }
}

}  // namespace

bool LoadGameData(SGameData* data, std::vector<std::string>* errors) {
  *data = SGameData();
  const size_t before = errors->size();
  ReadMissions(data, errors);
  ReadCampaign(data, errors);
  ReadCharacters(data, errors);
  ReadOptionParts(data, errors);
  ReadMaps(data, errors);
  ReadMessages(data, errors);
  return errors->size() == before;
}

}  // namespace korvohost
