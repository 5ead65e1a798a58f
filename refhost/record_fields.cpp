// record_fields.cpp: the field tables of the host's record kinds and the
// value setters behind them.
#include "refhost/record_fields.h"

#include <algorithm>

#include "host/state_values.h"

namespace korvohost::fields {

using korvostate::PrintBool;
using korvostate::PrintColour;
using korvostate::PrintFloat;
using korvostate::PrintText;

bool Fail(std::string& error, const std::string& why) {
  error = why;
  return false;
}

// ---- Value setters -------------------------------------------------------------------------

bool SetInt(int& field, const SToken& t, std::string& error, long long lo, long long hi) {
  long long v;
  if (!values::ParseInteger(t.text, lo, hi, &v)) {
    if (lo == INT_MIN && hi == UINT_MAX) return Fail(error, "not an integer: " + t.text);
    return Fail(error, "not an integer in " + std::to_string(lo) + ".." + std::to_string(hi) + ": " + t.text);
  }
  field = static_cast<int>(static_cast<uint32_t>(v));
  return true;
}

bool SetWord(uint32_t& field, const SToken& t, std::string& error) {
  if (!values::ParseWord(t.text, &field)) return Fail(error, "not a 32-bit value: " + t.text);
  return true;
}

static bool SetFloat(float& field, const SToken& t, std::string& error) {
  double v;
  if (!values::ParseFloat(t.text, &v)) return Fail(error, "not a number: " + t.text);
  field = static_cast<float>(v);
  return true;
}

bool SetBool(bool& field, const SToken& t, std::string& error) {
  if (!values::ParseBool(t.text, &field)) return Fail(error, "not a boolean: " + t.text);
  return true;
}

static bool SetText(std::string& field, const SToken& t, std::string& error) {
  if (values::IsNull(t)) return Fail(error, "null is not allowed here");
  field = t.text;
  return true;
}

static bool SetNullableText(bool& has, std::string& field, const SToken& t) {
  has = !values::IsNull(t);
  field = has ? t.text : "";
  return true;
}

bool SetRoomText(char* room, size_t size, const SToken& t, std::string& error) {
  if (values::IsNull(t)) return Fail(error, "null is not allowed here");
  CopyToRoom(room, size, t.text);
  return true;
}

static void ToBytes(uint32_t argb, unsigned char bytes[4]) {
  bytes[0] = (argb >> 16) & 255;
  bytes[1] = (argb >> 8) & 255;
  bytes[2] = argb & 255;
  bytes[3] = argb >> 24;
}

static uint32_t FromBytes(const unsigned char bytes[4]) {
  return uint32_t(bytes[3]) << 24 | uint32_t(bytes[0]) << 16 | uint32_t(bytes[1]) << 8 | bytes[2];
}

static bool SetColourBytes(unsigned char bytes[4], const SToken& t, std::string& error) {
  uint32_t v;
  if (!values::ParseWord(t.text, &v)) return Fail(error, "not a colour: " + t.text);
  ToBytes(v, bytes);
  return true;
}

static std::string PrintNullable(bool has, const std::string& text) { return has ? PrintText(text.c_str()) : "null"; }
std::string PrintList(const std::vector<std::string>& list) { return PrintText(values::JoinList(list).c_str()); }

// ---- Field tables ----------------------------------------------------------------------------





const std::vector<FieldDef<SAccountRecord>>& AccountFields() {
  static const std::vector<FieldDef<SAccountRecord>> defs = {
      {"character", [](const SAccountRecord& r) { return std::to_string(r.character); },
       [](SAccountRecord& r, const SToken& t, std::string& e) { return SetInt(r.character, t, e); }},
      {"left", [](const SAccountRecord& r) { return std::to_string(r.left); },
       [](SAccountRecord& r, const SToken& t, std::string& e) { return SetInt(r.left, t, e); }},
      {"right", [](const SAccountRecord& r) { return std::to_string(r.right); },
       [](SAccountRecord& r, const SToken& t, std::string& e) { return SetInt(r.right, t, e); }},
      {"last", [](const SAccountRecord& r) { return PrintNullable(r.hasLast, r.last); },
       [](SAccountRecord& r, const SToken& t, std::string&) { return SetNullableText(r.hasLast, r.last, t); }},
      {"current", [](const SAccountRecord& r) { return PrintNullable(r.hasCurrent, r.current); },
       [](SAccountRecord& r, const SToken& t, std::string&) {
         return SetNullableText(r.hasCurrent, r.current, t);
       }},
      {"total", [](const SAccountRecord& r) { return std::to_string(r.total); },
       [](SAccountRecord& r, const SToken& t, std::string& e) { return SetInt(r.total, t, e); }},
  };
  return defs;
}

const std::vector<FieldDef<SAchievementRecord>>& AchievementFields() {
  static const std::vector<FieldDef<SAchievementRecord>> defs = {
      {"name", [](const SAchievementRecord& r) { return PrintText(r.name.c_str()); },
       [](SAchievementRecord& r, const SToken& t, std::string& e) {
         if (!SetText(r.name, t, e)) return false;
         r.name.resize(std::min(r.name.size(), sizeof(SMissionAchievement::name) - 1));
         return true;
       }},
      {"latest", [](const SAchievementRecord& r) { return std::to_string(r.latest); },
       [](SAchievementRecord& r, const SToken& t, std::string& e) { return SetInt(r.latest, t, e); }},
      {"best", [](const SAchievementRecord& r) { return std::to_string(r.best); },
       [](SAchievementRecord& r, const SToken& t, std::string& e) { return SetInt(r.best, t, e); }},
      {"count", [](const SAchievementRecord& r) { return std::to_string(r.count); },
       [](SAchievementRecord& r, const SToken& t, std::string& e) { return SetInt(r.count, t, e); }},
  };
  return defs;
}

static FieldDef<SMissionRecord> MissionText(const char* name, std::string SMissionRecord::*member) {
  return {name, [member](const SMissionRecord& r) { return PrintText((r.*member).c_str()); },
          [member](SMissionRecord& r, const SToken& t, std::string& e) { return SetText(r.*member, t, e); }};
}

const std::vector<FieldDef<SMissionRecord>>& MissionFields() {
  static const std::vector<FieldDef<SMissionRecord>> defs = {
      MissionText("key", &SMissionRecord::key),
      MissionText("desc", &SMissionRecord::desc),
      MissionText("briefing", &SMissionRecord::briefing),
      MissionText("objective", &SMissionRecord::objective),
      MissionText("script", &SMissionRecord::script),
      {"initial", [](const SMissionRecord& r) { return PrintBool(r.initial); },
       [](SMissionRecord& r, const SToken& t, std::string& e) { return SetBool(r.initial, t, e); }},
  };
  return defs;
}

const std::vector<FieldDef<SCharacterRecord>>& CharacterFields() {
  static const std::vector<FieldDef<SCharacterRecord>> defs = {
      {"id", [](const SCharacterRecord& r) { return std::to_string(r.id); },
       [](SCharacterRecord& r, const SToken& t, std::string& e) { return SetInt(r.id, t, e); }},
      {"name", [](const SCharacterRecord& r) { return PrintText(r.name.c_str()); },
       [](SCharacterRecord& r, const SToken& t, std::string& e) { return SetText(r.name, t, e); }},
  };
  return defs;
}

static FieldDef<SOptionPartRecord> PartText(const char* name, std::string SOptionPartRecord::*member) {
  return {name, [member](const SOptionPartRecord& r) { return PrintText((r.*member).c_str()); },
          [member](SOptionPartRecord& r, const SToken& t, std::string& e) { return SetText(r.*member, t, e); }};
}

const std::vector<FieldDef<SOptionPartRecord>>& PartFields() {
  static const std::vector<FieldDef<SOptionPartRecord>> defs = {
      PartText("name", &SOptionPartRecord::name),
      PartText("text2", &SOptionPartRecord::text2),
      PartText("icon", &SOptionPartRecord::icon),
      PartText("text4", &SOptionPartRecord::text4),
      {"id", [](const SOptionPartRecord& r) { return std::to_string(r.id); },
       [](SOptionPartRecord& r, const SToken& t, std::string& e) { return SetInt(r.id, t, e); }},
  };
  return defs;
}

const std::vector<FieldDef<OptionName>>& OptionNameFields() {
  static const std::vector<FieldDef<OptionName>> defs = {
      {"name", [](const OptionName& r) { return PrintText(r.second.c_str()); },
       [](OptionName& r, const SToken& t, std::string& e) { return SetText(r.second, t, e); }},
  };
  return defs;
}

static FieldDef<SOptionItem> NumberItem(const char* name, uint32_t SOptionItem::*member) {
  return {name, [member](const SOptionItem& r) { return std::to_string(r.*member); },
          [member](SOptionItem& r, const SToken& t, std::string& e) { return SetWord(r.*member, t, e); }};
}

static FieldDef<SOptionItem> TextItem(const char* name, std::string SOptionItem::*member) {
  return {name, [member](const SOptionItem& r) { return PrintText((r.*member).c_str()); },
          [member](SOptionItem& r, const SToken& t, std::string& e) { return SetText(r.*member, t, e); }};
}

const std::vector<FieldDef<SOptionItem>>& OptionFields(EOptionGroup group) {
  static const std::vector<FieldDef<SOptionItem>> numbers = {
      NumberItem("value", &SOptionItem::value), NumberItem("saved", &SOptionItem::saved),
      NumberItem("default", &SOptionItem::defaultValue)};
  static const std::vector<FieldDef<SOptionItem>> texts = {
      TextItem("value", &SOptionItem::text), TextItem("saved", &SOptionItem::savedText),
      TextItem("default", &SOptionItem::defaultText)};
  return group == EOptionGroup::kMacro ? texts : numbers;
}

static FieldDef<SBindingRecord> BindingList(const char* name, std::vector<std::string> SBindingRecord::*member) {
  return {name, [member](const SBindingRecord& r) { return PrintList(r.*member); },
          [member](SBindingRecord& r, const SToken& t, std::string& e) {
            if (values::IsNull(t)) return Fail(e, "null is not allowed here");
            r.*member = values::SplitList(t.text);
            return true;
          }};
}

const std::vector<FieldDef<SBindingRecord>>& BindingFields() {
  static const std::vector<FieldDef<SBindingRecord>> defs = {
      BindingList("inputs", &SBindingRecord::inputs), BindingList("saved", &SBindingRecord::saved),
      BindingList("default", &SBindingRecord::defaults)};
  return defs;
}

// An object field: an actoroption named @NAME, or null.
static bool SetOptionObject(COPT_Option*& field, const SToken& t, std::string& error) {
  if (values::IsNull(t)) {
    field = nullptr;
    return true;
  }
  if (t.quoted || t.text.size() < 2 || t.text[0] != '@') return Fail(error, "not an object (@NAME or null): " + t.text);
  ObjectEntry* o = FindObject(t.text.substr(1));
  if (!o) return Fail(error, "no object " + t.text);
  if (o->kind != ObjectKind::ActorOption) return Fail(error, t.text + " is not an actoroption");
  field = &o->option;
  return true;
}

template <class T>
static FieldDef<ObjectEntry> ActorInt(const char* name, T CHARACTER::*member, long long lo = INT_MIN,
                               long long hi = UINT_MAX) {
  return {name, [member](const ObjectEntry& o) { return std::to_string(o.actor.*member); },
          [member, lo, hi](ObjectEntry& o, const SToken& t, std::string& e) {
            return SetInt(o.actor.*member, t, e, lo, hi);
          }};
}

static FieldDef<ObjectEntry> ActorFloat(const char* name, float CHARACTER::*member) {
  return {name, [member](const ObjectEntry& o) { return PrintFloat(o.actor.*member); },
          [member](ObjectEntry& o, const SToken& t, std::string& e) { return SetFloat(o.actor.*member, t, e); }};
}

const std::vector<FieldDef<ObjectEntry>>& ActorFields() {
  static const std::vector<FieldDef<ObjectEntry>> defs = {
      ActorInt("armor", &CHARACTER::armor),
      ActorInt("shield", &CHARACTER::shield),
      {"heat", [](const ObjectEntry& o) { return PrintFloat(o.actor.heat.value); },
       [](ObjectEntry& o, const SToken& t, std::string& e) { return SetFloat(o.actor.heat.value, t, e); }},
      {"threshold", [](const ObjectEntry& o) { return PrintFloat(o.actor.heat.threshold); },
       [](ObjectEntry& o, const SToken& t, std::string& e) { return SetFloat(o.actor.heat.threshold, t, e); }},
      {"overheated", [](const ObjectEntry& o) { return PrintBool(o.actor.heat.overheated); },
       [](ObjectEntry& o, const SToken& t, std::string& e) { return SetBool(o.actor.heat.overheated, t, e); }},
      {"heatflag", [](const ObjectEntry& o) { return PrintBool(o.actor.heatFlag); },
       [](ObjectEntry& o, const SToken& t, std::string& e) { return SetBool(o.actor.heatFlag, t, e); }},
      {"weapon",
       [](const ObjectEntry& o) { return o.actor.weapon ? PrintText(o.actor.weapon->name) : std::string("null"); },
       [](ObjectEntry& o, const SToken& t, std::string&) {
         if (values::IsNull(t)) {
           o.actor.weapon = nullptr;
         } else {
           CopyToRoom(o.weaponStore.name, sizeof o.weaponStore.name, t.text);
           o.actor.weapon = &o.weaponStore;
         }
         return true;
       }},
      ActorFloat("x", &CHARACTER::x),
      ActorFloat("z", &CHARACTER::z),
      ActorInt("team", &CHARACTER::team),
      ActorInt("radar", &CHARACTER::radarIndex, 0, 63),
      ActorInt("show", &CHARACTER::radarShow),
      ActorInt("hide", &CHARACTER::radarHide),
      {"loption", [](const ObjectEntry& o) { return ObjectLabel(o.actor.leftOption); },
       [](ObjectEntry& o, const SToken& t, std::string& e) { return SetOptionObject(o.actor.leftOption, t, e); }},
      {"roption", [](const ObjectEntry& o) { return ObjectLabel(o.actor.rightOption); },
       [](ObjectEntry& o, const SToken& t, std::string& e) { return SetOptionObject(o.actor.rightOption, t, e); }},
      {"listed", [](const ObjectEntry& o) { return PrintBool(o.listed); },
       [](ObjectEntry& o, const SToken& t, std::string& e) { return SetBool(o.listed, t, e); }},
  };
  return defs;
}

const std::vector<FieldDef<ObjectEntry>>& ActorOptionFields() {
  static const std::vector<FieldDef<ObjectEntry>> defs = {
      {"name", [](const ObjectEntry& o) { return PrintText(o.option.name); },
       [](ObjectEntry& o, const SToken& t, std::string& e) {
         return SetRoomText(o.option.name, sizeof o.option.name, t, e);
       }},
      {"icon", [](const ObjectEntry& o) { return PrintText(o.option.icon); },
       [](ObjectEntry& o, const SToken& t, std::string& e) {
         return SetRoomText(o.option.icon, sizeof o.option.icon, t, e);
       }},
      {"charge", [](const ObjectEntry& o) { return PrintFloat(o.option.charge); },
       [](ObjectEntry& o, const SToken& t, std::string& e) { return SetFloat(o.option.charge, t, e); }},
      {"color", [](const ObjectEntry& o) { return PrintColour(FromBytes(o.option.color)); },
       [](ObjectEntry& o, const SToken& t, std::string& e) { return SetColourBytes(o.option.color, t, e); }},
      {"textcolor", [](const ObjectEntry& o) { return PrintColour(FromBytes(o.option.textColor)); },
       [](ObjectEntry& o, const SToken& t, std::string& e) { return SetColourBytes(o.option.textColor, t, e); }},
  };
  return defs;
}

const std::vector<FieldDef<ObjectEntry>>& ItemFields() {
  static const std::vector<FieldDef<ObjectEntry>> defs = {
      {"type", [](const ObjectEntry& o) { return std::to_string(o.item.type); },
       [](ObjectEntry& o, const SToken& t, std::string& e) { return SetInt(o.item.type, t, e); }},
  };
  return defs;
}

}  // namespace korvohost::fields
