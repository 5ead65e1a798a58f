// profile_store.h: the player's profile folder on disk: one file per pilot
// account, options.ini and controls.ini. Every write replaces its file
// atomically. One process at a time owns the folder (an advisory lock); a
// second one opens it read-only and never writes.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "refhost/game_records.h"
#include "refhost/korvohost.h"
#include "refhost/profile_files.h"

namespace korvohost {

// $XDG_DATA_HOME/korvogui/profile, else ~/.local/share/korvogui/profile.
KORVOHOST_API std::string DefaultProfileDir();

class KORVOHOST_API CProfileStore {
 public:
  CProfileStore() = default;
  ~CProfileStore();
  CProfileStore(const CProfileStore&) = delete;
  CProfileStore& operator=(const CProfileStore&) = delete;

  // Opens the folder, creating it when absent, and takes its lock. When another
  // process holds the lock the store is read-only (with a message). Temporary
  // files that an interrupted write left are removed. False with a reason when
  // the folder cannot be made or read.
  bool Open(const std::string& dir, std::string* error);
  void Close();
  bool IsOpen() const { return !dir_.empty(); }
  bool ReadOnly() const { return readOnly_; }
  const std::string& Dir() const { return dir_; }

  // What loading and opening had to say (damaged lines, the lock), each line
  // naming its file; taking them forgets them.
  std::vector<std::string> TakeMessages();

  // Every pilot account, in the order they were created. A damaged file gives a
  // message per bad line and loads with its good lines; a file without a name
  // is skipped. Other accounts load regardless.
  std::vector<SAccountRecord> LoadAccounts();
  // Writes the account's file (a new account goes to the end of the list; the
  // folder is read first when LoadAccounts has not run).
  // False with a reason for a name the profile cannot keep, in read-only mode,
  // or when the disk refuses; nothing is written then.
  bool SaveAccount(const SAccountRecord& account, std::string* error);
  bool RemoveAccount(const std::string& name, std::string* error);

  // options.ini / controls.ini; false when the file is absent (the caller keeps
  // its defaults), damaged lines as messages.
  bool LoadOptions(OptionGroups* groups);
  bool SaveOptions(const OptionGroups& groups, std::string* error);
  bool LoadBindings(std::vector<SBindingRecord>* bindings);
  bool SaveBindings(const std::vector<SBindingRecord>& bindings, std::string* error);

 private:
  bool Writable(std::string* error) const;
  bool ReadFolderFile(const std::string& name, std::string* bytes);
  // Replaces a file; a file that loaded with errors is first kept as NAME.damaged.
  bool Replace(const std::string& name, const std::string& bytes, std::string* error);
  std::string Label(const std::string& name) const { return dir_ + "/" + name; }

  std::string dir_;
  int lockFd_ = -1;
  bool readOnly_ = false;
  std::vector<std::string> messages_;
  std::map<std::string, int> order_;     // pilot name -> place in the list
  std::set<std::string> damaged_;        // files that loaded with errors
  bool loaded_ = false;                  // LoadAccounts ran since Open
};

}  // namespace korvohost
