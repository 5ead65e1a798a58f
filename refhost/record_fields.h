// record_fields.h: the fields of the host's record kinds as sessions write
// and print them: one table per kind, in the order `show` prints them, and the
// value setters they share (internal to the host).
#pragma once
#include <climits>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "refhost/game_state.h"
#include "host/session_state.h"

namespace korvohost::fields {

using korvostate::SField;
using korvostate::SToken;

// Sets error and gives false.
bool Fail(std::string& error, const std::string& why);

// ---- Value setters (false with a reason in error) ----
bool SetInt(int& field, const SToken& t, std::string& error, long long lo = INT_MIN, long long hi = UINT_MAX);
bool SetWord(uint32_t& field, const SToken& t, std::string& error);
bool SetBool(bool& field, const SToken& t, std::string& error);
bool SetRoomText(char* room, size_t size, const SToken& t, std::string& error);
// The quoted text of the comma-joined list.
std::string PrintList(const std::vector<std::string>& list);

// ---- Field tables ----
template <class R>
struct FieldDef {
  const char* name;
  std::function<std::string(const R&)> print;
  std::function<bool(R&, const SToken&, std::string&)> set;
};

template <class R>
bool ApplyFields(const std::vector<FieldDef<R>>& defs, R& record, const std::vector<SField>& fields,
                 std::string& error) {
  for (const SField& f : fields) {
    const FieldDef<R>* def = nullptr;
    for (const auto& d : defs)
      if (f.name == d.name) def = &d;
    if (!def) return Fail(error, "unknown field " + f.name);
    std::string why;
    if (!def->set(record, f.value, why)) return Fail(error, f.name + ": " + why);
  }
  return true;
}

// Sets the fields on a copy first, so that a bad field changes nothing.
template <class R>
bool CheckFields(const std::vector<FieldDef<R>>& defs, const R& record, const std::vector<SField>& fields,
                 std::string& error) {
  R scratch = record;
  return ApplyFields(defs, scratch, fields, error);
}

// " name=value" for every field, in table order.
template <class R>
std::string PrintFields(const std::vector<FieldDef<R>>& defs, const R& record) {
  std::string out;
  for (const auto& d : defs) out += " " + std::string(d.name) + "=" + d.print(record);
  return out;
}

using OptionName = std::pair<int, std::string>;

const std::vector<FieldDef<SAccountRecord>>& AccountFields();
const std::vector<FieldDef<SAchievementRecord>>& AchievementFields();
const std::vector<FieldDef<SMissionRecord>>& MissionFields();
const std::vector<FieldDef<SCharacterRecord>>& CharacterFields();
const std::vector<FieldDef<SOptionPartRecord>>& PartFields();
const std::vector<FieldDef<OptionName>>& OptionNameFields();
const std::vector<FieldDef<SOptionItem>>& OptionFields(EOptionGroup group);
const std::vector<FieldDef<SBindingRecord>>& BindingFields();
const std::vector<FieldDef<ObjectEntry>>& ActorFields();
const std::vector<FieldDef<ObjectEntry>>& ActorOptionFields();
const std::vector<FieldDef<ObjectEntry>>& ItemFields();

}  // namespace korvohost::fields
