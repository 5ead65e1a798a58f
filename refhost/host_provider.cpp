// host_provider.cpp: the reference host's game state as sessions reach it:
// the host scalars (`host NAME [VALUE]`) and the record kinds account,
// achievement, mission, character, optionpart, optionname, option, binding,
// actor, actoroption and item.
#include <algorithm>
#include <climits>
#include <functional>
#include <map>

#include "host/host_services.h"
#include "refhost/game_state.h"
#include "refhost/record_fields.h"
#include "host/state_values.h"

namespace korvohost {

namespace {

using korvostate::PrintBool;
using korvostate::PrintText;
using korvostate::SField;
using korvostate::SToken;
using namespace fields;
using Keys = std::vector<SToken>;
using Lines = std::vector<std::string>;

// ---- Keys ---------------------------------------------------------------------------------

bool NeedKeys(const std::string& kind, const Keys& keys, size_t n, std::string& error) {
  if (keys.size() == n) return true;
  return Fail(error, kind + " takes " + std::to_string(n) + " key(s)");
}

bool IndexKey(const SToken& key, long long hi, long long* out, std::string& error) {
  if (!values::ParseInteger(key.text, 0, hi, out))
    return Fail(error, "key out of range 0.." + std::to_string(hi) + ": " + key.text);
  return true;
}

const char* const kGroupNames[4] = {"graphics", "sound", "network", "macro"};

bool GroupKey(const SToken& key, EOptionGroup* group, std::string& error) {
  for (int i = 0; i < 4; ++i)
    if (key.text == kGroupNames[i]) {
      *group = EOptionGroup(i);
      return true;
    }
  return Fail(error, "not an option group (graphics, sound, network, macro): " + key.text);
}

// An object key: NAME or @NAME.
std::string ObjectKey(const SToken& key) {
  return !key.text.empty() && key.text[0] == '@' && !key.quoted ? key.text.substr(1) : key.text;
}

const char* KindName(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::Actor: return "actor";
    case ObjectKind::ActorOption: return "actoroption";
    case ObjectKind::Item: return "item";
  }
  return "";
}

const std::vector<FieldDef<ObjectEntry>>& ObjectFields(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::Actor: return ActorFields();
    case ObjectKind::ActorOption: return ActorOptionFields();
    case ObjectKind::Item: break;
  }
  return ItemFields();
}

bool ObjectKindOf(const std::string& kind, ObjectKind* out) {
  for (ObjectKind k : {ObjectKind::Actor, ObjectKind::ActorOption, ObjectKind::Item})
    if (kind == KindName(k)) {
      *out = k;
      return true;
    }
  return false;
}

std::string NoLine(const std::string& kind, const std::vector<std::string>& printedKeys) {
  std::string line = "show: no " + kind;
  for (const std::string& k : printedKeys) line += " " + k;
  return line;
}

// ---- The provider ------------------------------------------------------------------------------

class CHostStateProvider : public korvostate::CStateProvider {
 public:
  // ---- Scalars ----
  bool HasScalar(const std::string& name) const override {
    int v;
    return GetVar(name, &v) || Scalars().count(name);
  }

  bool GetScalar(const std::string& name, std::string& printed, std::string& error) const override {
    int v;
    if (GetVar(name, &v)) {
      printed = std::to_string(v);
      return true;
    }
    auto it = Scalars().find(name);
    if (it == Scalars().end()) return Fail(error, "unknown host scalar " + name);
    printed = it->second.print();
    return true;
  }

  bool SetScalar(const std::string& name, const SToken& value, std::string& error) override {
    int current;
    if (GetVar(name, &current)) {
      int v;
      if (name == "ViewP" ? !SetInt(v, value, error, 0, 4095) : !SetInt(v, value, error)) return false;
      SetVar(name, v);
      return true;
    }
    auto it = Scalars().find(name);
    if (it == Scalars().end()) return Fail(error, "unknown host scalar " + name);
    if (!it->second.set) return Fail(error, name + " is read-only");
    return it->second.set(value, error);
  }

  // ---- Records ----
  bool HasKind(const std::string& kind) const override {
    static const char* const kinds[] = {"account", "achievement", "mission", "character",
                                        "optionpart", "optionname", "option", "binding",
                                        "actor", "actoroption", "item"};
    for (const char* k : kinds)
      if (kind == k) return true;
    return false;
  }

  bool SetRecord(const std::string& kind, const Keys& keys, const std::vector<SField>& fields,
                 std::string& error) override;
  bool ShowRecords(const std::string& kind, const Keys& keys, Lines& lines, std::string& error) const override;
  bool ForgetRecords(const std::string& kind, const Keys& keys, std::string& error) override;

  void ResetState() override { ResetHostScalars(); }

 private:
  struct Scalar {
    std::function<std::string()> print;
    std::function<bool(const SToken&, std::string&)> set;   // empty: read-only
  };
  static const std::map<std::string, Scalar>& Scalars();
};

const std::map<std::string, CHostStateProvider::Scalar>& CHostStateProvider::Scalars() {
  static const std::map<std::string, Scalar> scalars = {
      {"KORVO_VERSION",
       {[] { return PrintText(KORVO_VERSION); },
        [](const SToken& t, std::string& e) { return SetRoomText(KORVO_VERSION, sizeof KORVO_VERSION, t, e); }}},
      {"CurAccount",
       {[] { return Game().current ? PrintText(Game().current->record.name.c_str()) : std::string("null"); },
        [](const SToken& t, std::string& e) {
          if (values::IsNull(t)) {
            Game().current = nullptr;
            return true;
          }
          AccountEntry* a = FindAccount(t.text);
          if (!a) return Fail(e, "no account " + PrintText(t.text.c_str()));
          Game().current = a;
          return true;
        }}},
      {"ControlCharacter",
       {[] { return ObjectLabel(pControlCharacter); },
        [](const SToken& t, std::string& e) {
          if (values::IsNull(t)) {
            pControlCharacter = nullptr;
            return true;
          }
          if (t.quoted || t.text.size() < 2 || t.text[0] != '@') return Fail(e, "not an object (@NAME or null): " + t.text);
          ObjectEntry* o = FindObject(t.text.substr(1));
          if (!o || o->kind != ObjectKind::Actor) return Fail(e, "no actor " + t.text);
          pControlCharacter = &o->actor;
          return true;
        }}},
      {"MouseCursorDepth", {[] { return std::to_string(MouseCursorDepth()); }, nullptr}},
      {"AmbientLight", {[] { return std::to_string(AmbientLight()); }, nullptr}},
      {"IsInGameLoop",
       {[] { return PrintBool(Game().inGameLoop); },
        [](const SToken& t, std::string& e) { return SetBool(Game().inGameLoop, t, e); }}},
      {"GetPlayTime",
       {[] { return std::to_string(Game().playTime); },
        [](const SToken& t, std::string& e) { return SetInt(Game().playTime, t, e); }}},
      {"timeGetTime",
       {[] { return std::to_string(Game().systemTime); },
        [](const SToken& t, std::string& e) { return SetWord(Game().systemTime, t, e); }}},
      {"GetDisplayModes",
       {[] {
          std::vector<std::string> list;
          for (const SDisplayMode& m : Game().displayModes)
            list.push_back(std::to_string(m.width) + "x" + std::to_string(m.height));
          return PrintList(list);
        },
        [](const SToken& t, std::string& e) {
          if (values::IsNull(t)) return Fail(e, "null is not allowed here");
          std::vector<SDisplayMode> modes;
          for (const std::string& item : values::SplitList(t.text)) {
            const size_t x = item.find('x');
            long long w, h;
            if (x == std::string::npos || !values::ParseInteger(item.substr(0, x), 1, INT_MAX, &w) ||
                !values::ParseInteger(item.substr(x + 1), 1, INT_MAX, &h))
              return Fail(e, "not a display mode WxH: " + item);
            modes.push_back({int(w), int(h)});
          }
          Game().displayModes = modes;
          return true;
        }}},
  };
  return scalars;
}

// ---- Setting records ----------------------------------------------------------------------------

bool CHostStateProvider::SetRecord(const std::string& kind, const Keys& keys, const std::vector<SField>& fields,
                                   std::string& error) {
  GameState& g = Game();
  if (kind == "account") {
    if (!NeedKeys(kind, keys, 1, error)) return false;
    AccountEntry* a = FindAccount(keys[0].text);
    if (!CheckFields(AccountFields(), a ? a->record : SAccountRecord{}, fields, error)) return false;
    if (!a) {
      // A set-up line adds the bare account; CreateAccount's initial achievements are the service's.
      SAccountRecord fresh;
      fresh.name = keys[0].text;
      a = PutAccount(fresh);
    }
    return ApplyFields(AccountFields(), a->record, fields, error);
  }
  if (kind == "achievement") {
    if (!NeedKeys(kind, keys, 2, error)) return false;
    AccountEntry* a = FindAccount(keys[0].text);
    if (!a) return Fail(error, "no account " + PrintText(keys[0].text.c_str()));
    auto& list = a->record.achievements;
    SAchievementRecord* r = nullptr;
    for (auto& x : list)
      if (x.key == keys[1].text) r = &x;
    SAchievementRecord fresh;
    fresh.key = keys[1].text;
    fresh.name = keys[1].text.substr(0, sizeof(SMissionAchievement::name) - 1);
    if (!CheckFields(AchievementFields(), r ? *r : fresh, fields, error)) return false;
    if (!r) {
      list.push_back(fresh);
      r = &list.back();
    }
    return ApplyFields(AchievementFields(), *r, fields, error);
  }
  if (kind == "mission") {
    if (!NeedKeys(kind, keys, 1, error)) return false;
    MissionEntry* m = FindMissionEntry(keys[0].text);
    SMissionRecord fresh;
    fresh.name = fresh.key = keys[0].text;
    if (!CheckFields(MissionFields(), m ? m->record : fresh, fields, error)) return false;
    if (!m) m = PutMission(fresh);
    ApplyFields(MissionFields(), m->record, fields, error);
    m->Sync();
    return true;
  }
  if (kind == "character" || kind == "optionpart") {
    if (!NeedKeys(kind, keys, 1, error)) return false;
    const bool isCharacter = kind == "character";
    const size_t count = isCharacter ? g.characters.size() : g.optionParts.size();
    long long index;
    if (!IndexKey(keys[0], static_cast<long long>(count), &index, error)) return false;
    if (isCharacter) {
      SCharacterRecord fresh;
      fresh.id = int(index) + 1;
      SCharacterRecord& base = size_t(index) < count ? g.characters[index] : fresh;
      if (!CheckFields(CharacterFields(), base, fields, error)) return false;
      if (size_t(index) == count) g.characters.push_back(fresh);
      return ApplyFields(CharacterFields(), g.characters[index], fields, error);
    }
    SOptionPartRecord fresh;
    SOptionPartRecord& base = size_t(index) < count ? g.optionParts[index] : fresh;
    if (!CheckFields(PartFields(), base, fields, error)) return false;
    if (size_t(index) == count) g.optionParts.push_back(fresh);
    return ApplyFields(PartFields(), g.optionParts[index], fields, error);
  }
  if (kind == "optionname") {
    if (!NeedKeys(kind, keys, 1, error)) return false;
    long long id;
    if (!values::ParseInteger(keys[0].text, INT_MIN, INT_MAX, &id)) return Fail(error, "not an option id: " + keys[0].text);
    auto& names = g.optionNames;
    auto it = std::lower_bound(names.begin(), names.end(), int(id),
                               [](const OptionName& n, int v) { return n.first < v; });
    const bool exists = it != names.end() && it->first == int(id);
    if (!CheckFields(OptionNameFields(), exists ? *it : OptionName{int(id), ""}, fields, error)) return false;
    if (!exists) it = names.insert(it, OptionName{int(id), ""});
    return ApplyFields(OptionNameFields(), *it, fields, error);
  }
  if (kind == "option") {
    if (!NeedKeys(kind, keys, 2, error)) return false;
    EOptionGroup group;
    if (!GroupKey(keys[0], &group, error)) return false;
    const auto& defs = OptionFields(group);
    OptionEntry* o = FindOption(group, keys[1].text);
    SOptionItem fresh;
    fresh.key = keys[1].text;
    if (!o) {
      // A new item's saved and default values start as the line's value.
      SOptionItem probe = fresh;
      if (!ApplyFields(defs, probe, fields, error)) return false;
      fresh.value = fresh.saved = fresh.defaultValue = probe.value;
      fresh.text = fresh.savedText = fresh.defaultText = probe.text;
      o = FindOrAddOption(group, keys[1].text);
      o->record = fresh;
    } else if (!CheckFields(defs, o->record, fields, error)) {
      return false;
    }
    return ApplyFields(defs, o->record, fields, error);
  }
  if (kind == "binding") {
    if (!NeedKeys(kind, keys, 1, error)) return false;
    SBindingRecord* b = FindBinding(keys[0].text);
    if (!b) {
      SBindingRecord probe{keys[0].text, {}, {}, {}};
      if (!ApplyFields(BindingFields(), probe, fields, error)) return false;
      SBindingRecord& created = FindOrAddBinding(keys[0].text);
      created.inputs = created.saved = created.defaults = probe.inputs;
      b = &created;
    } else if (!CheckFields(BindingFields(), *b, fields, error)) {
      return false;
    }
    return ApplyFields(BindingFields(), *b, fields, error);
  }
  ObjectKind objectKind;
  if (!ObjectKindOf(kind, &objectKind)) return Fail(error, "unknown record kind " + kind);
  if (!NeedKeys(kind, keys, 1, error)) return false;
  const std::string name = ObjectKey(keys[0]);
  ObjectEntry* o = FindObject(name);
  if (o && o->kind != objectKind) return Fail(error, "@" + name + " is an " + std::string(KindName(o->kind)));
  if (!o && (name.empty() || (name[0] >= '0' && name[0] <= '9') || name == "null" ||
             name.find_first_of(",@= \t") != std::string::npos))
    return Fail(error, "not a name for a new object: " + keys[0].text);
  const auto& defs = ObjectFields(objectKind);
  ObjectEntry fresh;
  if (!CheckFields(defs, o ? *o : fresh, fields, error)) return false;
  if (!o) o = AddObject(name, objectKind);
  return ApplyFields(defs, *o, fields, error);
}

// ---- Showing and forgetting --------------------------------------------------------------------

std::string AccountLine(const AccountEntry& a) {
  return "account " + PrintText(a.record.name.c_str()) + PrintFields(AccountFields(), a.record);
}

std::string AchievementLine(const AccountEntry& a, const SAchievementRecord& r) {
  return "achievement " + PrintText(a.record.name.c_str()) + " " + PrintText(r.key.c_str()) +
         PrintFields(AchievementFields(), r);
}

std::string OptionLine(int group, const OptionEntry& o) {
  return std::string("option ") + kGroupNames[group] + " " + PrintText(o.record.key.c_str()) +
         PrintFields(OptionFields(EOptionGroup(group)), o.record);
}

std::string ObjectLine(const ObjectEntry& o) {
  return std::string(KindName(o.kind)) + " " + o.name + PrintFields(ObjectFields(o.kind), o);
}

bool CHostStateProvider::ShowRecords(const std::string& kind, const Keys& keys, Lines& lines,
                                     std::string& error) const {
  const GameState& g = Game();
  if (kind == "account") {
    if (keys.size() > 1) return NeedKeys(kind, keys, 1, error);
    if (!keys.empty() && !FindAccount(keys[0].text)) {
      lines.push_back(NoLine(kind, {PrintText(keys[0].text.c_str())}));
      return true;
    }
    for (const auto& a : g.accounts) {
      if (!keys.empty() && a->record.name != keys[0].text) continue;
      lines.push_back(AccountLine(*a));
      for (const auto& r : a->record.achievements) lines.push_back(AchievementLine(*a, r));
    }
    return true;
  }
  if (kind == "achievement") {
    if (keys.size() > 2) return NeedKeys(kind, keys, 2, error);
    std::vector<std::string> printed;
    for (const SToken& k : keys) printed.push_back(PrintText(k.text.c_str()));
    const AccountEntry* owner = keys.empty() ? nullptr : FindAccount(keys[0].text);
    if (!keys.empty() && !owner) {
      lines.push_back(NoLine(kind, printed));
      return true;
    }
    const size_t before = lines.size();
    for (const auto& a : g.accounts) {
      if (owner && a.get() != owner) continue;
      for (const auto& r : a->record.achievements)
        if (keys.size() < 2 || r.key == keys[1].text) lines.push_back(AchievementLine(*a, r));
    }
    if (keys.size() == 2 && lines.size() == before) lines.push_back(NoLine(kind, printed));
    return true;
  }
  if (kind == "mission") {
    if (keys.size() > 1) return NeedKeys(kind, keys, 1, error);
    if (!keys.empty() && !FindMissionEntry(keys[0].text)) {
      lines.push_back(NoLine(kind, {PrintText(keys[0].text.c_str())}));
      return true;
    }
    for (const auto& m : g.missions)
      if (keys.empty() || m->record.name == keys[0].text)
        lines.push_back("mission " + PrintText(m->record.name.c_str()) + PrintFields(MissionFields(), m->record));
    return true;
  }
  if (kind == "character" || kind == "optionpart") {
    if (keys.size() > 1) return NeedKeys(kind, keys, 1, error);
    const bool isCharacter = kind == "character";
    const size_t count = isCharacter ? g.characters.size() : g.optionParts.size();
    long long only = -1;
    if (!keys.empty()) {
      if (!values::ParseInteger(keys[0].text, 0, INT_MAX, &only)) return Fail(error, "not an index: " + keys[0].text);
      if (size_t(only) >= count) {
        lines.push_back(NoLine(kind, {std::to_string(only)}));
        return true;
      }
    }
    for (size_t i = 0; i < count; ++i) {
      if (only >= 0 && size_t(only) != i) continue;
      lines.push_back(kind + " " + std::to_string(i) +
                      (isCharacter ? PrintFields(CharacterFields(), g.characters[i])
                                   : PrintFields(PartFields(), g.optionParts[i])));
    }
    return true;
  }
  if (kind == "optionname") {
    if (keys.size() > 1) return NeedKeys(kind, keys, 1, error);
    long long only = 0;
    if (!keys.empty() && !values::ParseInteger(keys[0].text, INT_MIN, INT_MAX, &only))
      return Fail(error, "not an option id: " + keys[0].text);
    const size_t before = lines.size();
    for (const auto& n : g.optionNames)
      if (keys.empty() || n.first == only)
        lines.push_back("optionname " + std::to_string(n.first) + PrintFields(OptionNameFields(), n));
    if (!keys.empty() && lines.size() == before) lines.push_back(NoLine(kind, {std::to_string(only)}));
    return true;
  }
  if (kind == "option") {
    if (keys.size() > 2) return NeedKeys(kind, keys, 2, error);
    EOptionGroup group = EOptionGroup::kGraphics;
    if (!keys.empty() && !GroupKey(keys[0], &group, error)) return false;
    const size_t before = lines.size();
    for (int i = 0; i < 4; ++i) {
      if (!keys.empty() && i != int(group)) continue;
      for (const auto& o : g.options[i])
        if (keys.size() < 2 || o->record.key == keys[1].text) lines.push_back(OptionLine(i, *o));
    }
    if (keys.size() == 2 && lines.size() == before)
      lines.push_back(NoLine(kind, {keys[0].text, PrintText(keys[1].text.c_str())}));
    return true;
  }
  if (kind == "binding") {
    if (keys.size() > 1) return NeedKeys(kind, keys, 1, error);
    if (!keys.empty() && !FindBinding(keys[0].text)) {
      lines.push_back(NoLine(kind, {PrintText(keys[0].text.c_str())}));
      return true;
    }
    for (const auto& b : g.bindings)
      if (keys.empty() || b.action == keys[0].text)
        lines.push_back("binding " + PrintText(b.action.c_str()) + PrintFields(BindingFields(), b));
    return true;
  }
  ObjectKind objectKind;
  if (!ObjectKindOf(kind, &objectKind)) return Fail(error, "unknown record kind " + kind);
  if (keys.size() > 1) return NeedKeys(kind, keys, 1, error);
  if (!keys.empty()) {
    const ObjectEntry* o = FindObject(ObjectKey(keys[0]));
    if (!o || o->kind != objectKind) {
      lines.push_back(NoLine(kind, {ObjectKey(keys[0])}));
      return true;
    }
  }
  for (const auto& o : g.objects)
    if (o->kind == objectKind && (keys.empty() || o->name == ObjectKey(keys[0]))) lines.push_back(ObjectLine(*o));
  return true;
}

bool CHostStateProvider::ForgetRecords(const std::string& kind, const Keys& keys, std::string& error) {
  GameState& g = Game();
  if (kind == "account") {
    if (keys.size() > 1) return NeedKeys(kind, keys, 1, error);
    if (keys.empty()) {
      g.accounts.clear();
      g.current = nullptr;
    } else if (AccountEntry* a = FindAccount(keys[0].text)) {
      RemoveAccount(a);
    }
    return true;
  }
  if (kind == "achievement") {
    if (keys.size() > 2) return NeedKeys(kind, keys, 2, error);
    for (auto& a : g.accounts) {
      if (!keys.empty() && a->record.name != keys[0].text) continue;
      std::erase_if(a->record.achievements,
                    [&keys](const SAchievementRecord& r) { return keys.size() < 2 || r.key == keys[1].text; });
    }
    return true;
  }
  if (kind == "mission") {
    if (keys.size() > 1) return NeedKeys(kind, keys, 1, error);
    std::erase_if(g.missions, [&keys](const auto& m) { return keys.empty() || m->record.name == keys[0].text; });
    return true;
  }
  if (kind == "character" || kind == "optionpart") {
    if (keys.size() > 1) return NeedKeys(kind, keys, 1, error);
    const bool isCharacter = kind == "character";
    if (keys.empty()) {
      if (isCharacter) g.characters.clear();
      else g.optionParts.clear();
      return true;
    }
    long long index;
    if (!values::ParseInteger(keys[0].text, 0, INT_MAX, &index)) return Fail(error, "not an index: " + keys[0].text);
    if (isCharacter && size_t(index) < g.characters.size()) g.characters.erase(g.characters.begin() + index);
    if (!isCharacter && size_t(index) < g.optionParts.size()) g.optionParts.erase(g.optionParts.begin() + index);
    return true;
  }
  if (kind == "optionname") {
    if (keys.size() > 1) return NeedKeys(kind, keys, 1, error);
    long long id = 0;
    if (!keys.empty() && !values::ParseInteger(keys[0].text, INT_MIN, INT_MAX, &id))
      return Fail(error, "not an option id: " + keys[0].text);
    std::erase_if(g.optionNames, [&keys, id](const OptionName& n) { return keys.empty() || n.first == id; });
    return true;
  }
  if (kind == "option") {
    if (keys.size() > 2) return NeedKeys(kind, keys, 2, error);
    EOptionGroup group = EOptionGroup::kGraphics;
    if (!keys.empty() && !GroupKey(keys[0], &group, error)) return false;
    for (int i = 0; i < 4; ++i) {
      if (!keys.empty() && i != int(group)) continue;
      std::erase_if(g.options[i], [&keys](const auto& o) { return keys.size() < 2 || o->record.key == keys[1].text; });
    }
    return true;
  }
  if (kind == "binding") {
    if (keys.size() > 1) return NeedKeys(kind, keys, 1, error);
    std::erase_if(g.bindings, [&keys](const SBindingRecord& b) { return keys.empty() || b.action == keys[0].text; });
    return true;
  }
  ObjectKind objectKind;
  if (!ObjectKindOf(kind, &objectKind)) return Fail(error, "unknown record kind " + kind);
  if (keys.size() > 1) return NeedKeys(kind, keys, 1, error);
  std::vector<ObjectEntry*> doomed;
  for (const auto& o : g.objects)
    if (o->kind == objectKind && (keys.empty() || o->name == ObjectKey(keys[0]))) doomed.push_back(o.get());
  for (ObjectEntry* o : doomed) RemoveObject(o);
  return true;
}

CHostStateProvider g_provider;

// The host's provider comes first: the network library, which links against
// the host, registers after it.
[[maybe_unused]] const bool g_registered = (korvostate::AddProvider(&g_provider), true);

}  // namespace

KORVOHOST_API korvostate::CStateProvider* HostStateProvider() { return &g_provider; }

}  // namespace korvohost
