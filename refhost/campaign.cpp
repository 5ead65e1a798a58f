// campaign.cpp: recording a won mission and opening what follows it.
#include "refhost/campaign.h"

#include <algorithm>

#include "refhost/game_state.h"

namespace korvohost {

namespace {

const MissionEntry* MissionOfScript(const std::string& script) {
  if (script.empty()) return nullptr;
  for (const auto& m : Game().missions)
    if (m->record.script == script) return m.get();
  return nullptr;
}

bool Has(const SAccountRecord& a, const std::string& key) {
  return std::any_of(a.achievements.begin(), a.achievements.end(),
                     [&](const SAchievementRecord& r) { return r.key == key; });
}

void Clear(SAchievementRecord& r, int seconds) {
  r.latest = seconds;
  r.best = r.count > 0 ? std::min(r.best, seconds) : seconds;
  ++r.count;
}

bool Applies(const SCampaignRule& rule, const SAccountRecord& a, const std::string& won, int seconds) {
  return !rule.ending && rule.after == won && (rule.ifKey.empty() || Has(a, rule.ifKey)) &&
         (rule.within < 0 || seconds <= rule.within) && (rule.over < 0 || seconds > rule.over);
}

}  // namespace

void RecordMissionWin(const std::string& script, int seconds) {
  const MissionEntry* mission = MissionOfScript(script);
  AccountEntry* pilot = Game().current;
  if (!mission || !pilot || seconds < 0) return;
  SAccountRecord& a = pilot->record;
  const std::string& name = mission->record.name;
  bool cleared = false;
  for (SAchievementRecord& r : a.achievements) {
    if (r.name != name) continue;
    Clear(r, seconds);
    cleared = true;
  }
  if (!cleared) {
    SAchievementRecord r;
    r.key = mission->record.key;
    r.name = name;
    Clear(r, seconds);
    a.achievements.push_back(r);
  }
  a.total += seconds;
  // Conditions read the account as it was before this win opened anything.
  const SAccountRecord before = a;
  for (const SCampaignRule& rule : Game().campaign) {
    if (!Applies(rule, before, name, seconds) || Has(a, rule.key)) continue;
    SAchievementRecord r;
    r.key = rule.key;
    r.name = rule.mission;
    a.achievements.push_back(r);
  }
  SaveAccounts();
}

bool EndsStory(const std::string& script) {
  const MissionEntry* mission = MissionOfScript(script);
  if (!mission) return false;
  return std::any_of(Game().campaign.begin(), Game().campaign.end(),
                     [&](const SCampaignRule& r) { return r.ending && r.after == mission->record.name; });
}

const char* MissionResultScreen(const SSimMissionStatus& status) {
  if (status.outcome != ESimOutcome::kWon) return "MISSIONFAILEDMENU";
  return EndsStory(status.script) ? "MISSIONENDINGMENU" : "STATISTICSMENU";
}

}  // namespace korvohost
