// mission_summary.cpp: the captions of the objective summary dialogs.
#include "menus/mission_summary.h"

#include <string>
#include <vector>

#include "host/host_accounts.h"
#include "menus/dialog_text.h"

namespace {

// The summary file's lines, in this order, fill the captions of these names.
constexpr const char* kLineCaptions[] = {
    "OBJECTIVE", "OURFORCES", "ENEMYFORCES", "MAPCONFIGURATION", "TIMELIMIT",
};

}  // namespace

void ShowMissionSummary(CGUI_Window* dialog, const char* prefix) {
  CMissionAccount* account = GetCurAccount();
  const CMission* mission = account ? account->GetCurrentMission() : nullptr;
  if (!mission) return;
  const std::string head = prefix;
  SetControlCaption(dialog, (head + "NAME").c_str(), mission->name);
  std::vector<std::string> lines;
  if (!ReadLines(mission->objective, lines)) return;
  for (size_t i = 0; i < lines.size() && i < std::size(kLineCaptions); ++i)
    SetControlCaption(dialog, (head + kLineCaptions[i]).c_str(), lines[i]);
}
