// host_accounts.h: the host's pilot accounts and missions. A pilot account
// keeps the chosen character and option parts, the last and the current
// mission, the total clear time and one achievement per mission played.
#pragma once

// ---- Missions ------------------------------------------------------------------
// A mission of the host's mission table. The texts stay valid while the mission
// exists.
class CMission {
 public:
  const char* name = "";        // title, the key of FindMission
  const char* key = "";         // key of the achievement new accounts get
  const char* desc = "";        // path of the description text
  const char* briefing = "";    // briefing script
  const char* objective = "";   // path of the objective summary
  const char* script = "";      // mission script
};

class CMissionManager {
 public:
  // The mission of exactly that name, or null.
  CMission* FindMission(const char* name);
};
extern CMissionManager MissionManager;

// ---- Accounts ------------------------------------------------------------------
// A pilot's record for one mission. The mission name is at the start.
struct SMissionAchievement {
  char name[64];     // mission name
  char key[32];      // achievement key
  int latest;        // latest clear time, seconds
  int best;          // best clear time, seconds
  int count;         // completions; > 0: completed
};

class CMissionAccount {
 public:
  // The host builds accounts; the fields below alias its record.
  CMissionAccount(int& characterField, int& leftField, int& rightField, void* host);
  CMissionAccount(const CMissionAccount&) = delete;
  CMissionAccount& operator=(const CMissionAccount&) = delete;

  int& character;   // chosen character index
  int& left;        // option parts: -1 none, 0 random, n option n
  int& right;

  const char* GetName() const;
  // The last mission played and the current mission: null when none is set or
  // when no mission has the stored name. Setting null means none.
  CMission* GetLastMission() const;
  void SetLastMission(const CMission* mission);
  CMission* GetCurrentMission() const;
  void SetCurrentMission(const CMission* mission);

  int GetTotalClearTime() const;   // seconds
  // The first achievement whose key is s, else the first whose name is s, else
  // null. Valid until the account's achievements change.
  SMissionAchievement* GetMissionAchievement(const char* s);
  // Saves the account.
  void Write();

 private:
  void* host_;
};

// Fills buffer with the account names in order, joined by '|', NUL-terminated;
// a name that does not fit (with its separator and the NUL) ends the list.
void EnumAccount(char* buffer, int size);
// False when an account of exactly that name exists.
bool CreateAccount(const char* name);
// False when absent. Destroying the current account leaves none current.
bool DestroyAccount(const char* name);
// The current account becomes name's (null: none). True for null or an
// existing name; an unknown name leaves no account current and gives false.
bool SetAccount(const char* name);
CMissionAccount* GetCurAccount();
