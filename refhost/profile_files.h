// profile_files.h: the text formats of the profile folder: one file per pilot
// account, options.ini (the four option groups) and controls.ini (key
// bindings). Format and parse only; the store (profile_store.h) does the disk.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "refhost/game_records.h"
#include "refhost/korvohost.h"

namespace korvohost {

// The option items of the four groups, indexed by EOptionGroup.
using OptionGroups = std::array<std::vector<SOptionItem>, 4>;

// Group names as the files write them: "graphics", "sound", "network", "macro".
KORVOHOST_API const char* OptionGroupName(EOptionGroup group);

// ---- Pilot names and their files -----------------------------------------------
// Longest pilot name the profile keeps, in bytes.
constexpr size_t kMaxAccountName = 64;
// A pilot name the profile can keep: 1-64 bytes, no control byte, no '/' or '\',
// no '|' (the account list's separator), not "." or "..". False with the reason.
KORVOHOST_API bool ValidAccountName(const std::string& name, std::string* why);
// The file of a valid name: bytes outside [A-Za-z0-9_-] become %HH, then ".pilot".
KORVOHOST_API std::string AccountFileName(const std::string& name);
// The pilot name of a file AccountFileName made; false for any other name.
KORVOHOST_API bool AccountNameOfFile(const std::string& file, std::string* name);

// ---- Pilot account files -----------------------------------------------------------
// order: the account's place in the pilot list (creation order).
KORVOHOST_API std::string FormatAccount(const SAccountRecord& account, int order);
// Reads what it can: each bad line adds "LABEL:N: WHY" to *errors and is skipped.
// False when the file holds no valid account name (the rest is read all the same).
KORVOHOST_API bool ParseAccount(const std::string& bytes, const std::string& label, SAccountRecord* account,
                                int* order, std::vector<std::string>* errors);

// ---- options.ini -----------------------------------------------------------------------
KORVOHOST_API std::string FormatOptions(const OptionGroups& groups);
KORVOHOST_API void ParseOptions(const std::string& bytes, const std::string& label, OptionGroups* groups,
                                std::vector<std::string>* errors);

// ---- controls.ini ----------------------------------------------------------------------
// False (with the reason) when an input name holds a comma, which the lists cannot keep.
KORVOHOST_API bool CheckBindings(const std::vector<SBindingRecord>& bindings, std::string* why);
KORVOHOST_API std::string FormatBindings(const std::vector<SBindingRecord>& bindings);
KORVOHOST_API void ParseBindings(const std::string& bytes, const std::string& label,
                                 std::vector<SBindingRecord>* bindings, std::vector<std::string>* errors);

}  // namespace korvohost
