// profile_store.cpp: the profile folder: lock, account files, options.ini,
// controls.ini.
#include "refhost/profile_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "refhost/atomic_file.h"

namespace korvohost {

namespace {

constexpr const char kLockFile[] = ".lock";
constexpr const char kOptionsFile[] = "options.ini";
constexpr const char kControlsFile[] = "controls.ini";

// A temporary file of options.ini, controls.ini or a pilot file.
bool IsOwnTempName(const std::string& name) {
  if (!IsAtomicTempName(name)) return false;
  const std::string own = name.substr(1, name.rfind(".tmp.") - 1);
  const bool pilot = own.size() > 6 && own.compare(own.size() - 6, 6, ".pilot") == 0;
  return own == kOptionsFile || own == kControlsFile || pilot;
}

// mkdir -p.
bool MakeFolders(const std::string& dir, std::string* error) {
  std::string path;
  size_t pos = 0;
  while (pos != std::string::npos) {
    const size_t slash = dir.find('/', pos + 1);
    path = dir.substr(0, slash);
    pos = slash;
    if (path.empty() || path == "/") continue;
    if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
      if (error) *error = path + ": cannot create the profile folder: " + std::strerror(errno);
      return false;
    }
  }
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    if (error) *error = dir + ": not a folder";
    return false;
  }
  return true;
}

std::vector<std::string> FolderEntries(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (const dirent* e = ::readdir(d)) names.emplace_back(e->d_name);
    ::closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::string DefaultProfileDir() {
  const char* data = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (data && *data == '/') {
    base = data;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && *home ? home : ".") + "/.local/share";
  }
  return base + "/korvogui/profile";
}

CProfileStore::~CProfileStore() { Close(); }

bool CProfileStore::Open(const std::string& dir, std::string* error) {
  Close();
  std::string folder = dir;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder.empty()) {
    if (error) *error = "no profile folder given";
    return false;
  }
  if (!MakeFolders(folder, error)) return false;
  dir_ = folder;
  const std::string lockPath = Label(kLockFile);
  lockFd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (lockFd_ < 0 || ::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
    const bool busy = lockFd_ >= 0 && errno == EWOULDBLOCK;
    messages_.push_back(dir_ + ": " +
                        (busy ? std::string("in use by another process")
                              : std::string("cannot lock (") + std::strerror(errno) + ")") +
                        "; opened read-only, nothing will be saved");
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
    readOnly_ = true;
    return true;
  }
  // Only the lock holder may clear what a killed write left behind.
  // Only plain files named as this store names the temporary files of its
  // own files, never what they link to.
  for (const std::string& name : FolderEntries(dir_)) {
    struct stat entry {};
    if (IsOwnTempName(name) && ::lstat(Label(name).c_str(), &entry) == 0 && S_ISREG(entry.st_mode))
      ::unlink(Label(name).c_str());
  }
  return true;
}

void CProfileStore::Close() {
  if (lockFd_ >= 0) ::close(lockFd_);   // closing releases the lock
  lockFd_ = -1;
  dir_.clear();
  readOnly_ = false;
  order_.clear();
  damaged_.clear();
  loaded_ = false;
}

std::vector<std::string> CProfileStore::TakeMessages() {
  std::vector<std::string> out;
  out.swap(messages_);
  return out;
}

bool CProfileStore::Writable(std::string* error) const {
  if (dir_.empty()) {
    if (error) *error = "no profile folder is open";
    return false;
  }
  if (readOnly_) {
    if (error) *error = dir_ + ": opened read-only (another process owns it); not saved";
    return false;
  }
  return true;
}

bool CProfileStore::ReadFolderFile(const std::string& name, std::string* bytes) {
  std::ifstream in(Label(name), std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) {
    messages_.push_back(Label(name) + ": cannot be read");
    return false;
  }
  *bytes = buffer.str();
  return true;
}

bool CProfileStore::Replace(const std::string& name, const std::string& bytes, std::string* error) {
  if (damaged_.count(name)) {
    // The hand-edited original stays next to the rewritten file.
    std::string old;
    if (ReadFolderFile(name, &old) && !WriteFileAtomically(dir_, name + ".damaged", old, error)) return false;
    damaged_.erase(name);
  }
  return WriteFileAtomically(dir_, name, bytes, error);
}

// ---- Accounts ----------------------------------------------------------------------------

std::vector<SAccountRecord> CProfileStore::LoadAccounts() {
  struct Loaded {
    int order;
    size_t seen;   // file order breaks ties
    SAccountRecord account;
  };
  std::vector<Loaded> loaded;
  order_.clear();
  if (dir_.empty()) return {};
  loaded_ = true;
  for (const std::string& file : FolderEntries(dir_)) {
    std::string fileName;
    if (file.size() < 6 || file.compare(file.size() - 6, 6, ".pilot")) continue;
    if (!AccountNameOfFile(file, &fileName)) {
      messages_.push_back(Label(file) + ": not a pilot file name; skipped");
      continue;
    }
    std::string bytes;
    if (!ReadFolderFile(file, &bytes)) continue;
    std::vector<std::string> errors;
    Loaded entry{0, loaded.size(), {}};
    const bool named = ParseAccount(bytes, Label(file), &entry.account, &entry.order, &errors);
    if (!named) {
      errors.push_back(Label(file) + ": no valid 'name' line; the pilot is taken from the file name");
      entry.account.name = fileName;
    } else if (entry.account.name != fileName) {
      errors.push_back(Label(file) + ": name '" + entry.account.name + "' does not match the file; using '" +
                       fileName + "'");
      entry.account.name = fileName;
    }
    if (!errors.empty()) damaged_.insert(file);
    messages_.insert(messages_.end(), errors.begin(), errors.end());
    loaded.push_back(std::move(entry));
  }
  std::sort(loaded.begin(), loaded.end(), [](const Loaded& a, const Loaded& b) {
    return a.order != b.order ? a.order < b.order : a.seen < b.seen;
  });
  std::vector<SAccountRecord> accounts;
  for (Loaded& entry : loaded) {
    order_[entry.account.name] = entry.order;
    accounts.push_back(std::move(entry.account));
  }
  return accounts;
}

bool CProfileStore::SaveAccount(const SAccountRecord& account, std::string* error) {
  std::string why;
  if (!ValidAccountName(account.name, &why)) {
    if (error) *error = why;
    return false;
  }
  if (!Writable(error)) return false;
  if (!loaded_) LoadAccounts();
  auto it = order_.find(account.name);
  int order = 1;
  if (it != order_.end()) {
    order = it->second;
  } else {
    for (const auto& entry : order_) order = std::max(order, entry.second + 1);
    order_[account.name] = order;
  }
  return Replace(AccountFileName(account.name), FormatAccount(account, order), error);
}

bool CProfileStore::RemoveAccount(const std::string& name, std::string* error) {
  std::string why;
  if (!ValidAccountName(name, &why)) {
    if (error) *error = why;
    return false;
  }
  if (!Writable(error)) return false;
  const std::string file = AccountFileName(name);
  if (::unlink(Label(file).c_str()) != 0 && errno != ENOENT) {
    if (error) *error = Label(file) + ": cannot remove: " + std::strerror(errno);
    return false;
  }
  order_.erase(name);
  damaged_.erase(file);
  // Make the removal last like a write does.
  const int fd = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  return true;
}

// ---- Options and bindings ---------------------------------------------------------------

bool CProfileStore::LoadOptions(OptionGroups* groups) {
  std::string bytes;
  if (dir_.empty() || !ReadFolderFile(kOptionsFile, &bytes)) return false;
  std::vector<std::string> errors;
  ParseOptions(bytes, Label(kOptionsFile), groups, &errors);
  if (!errors.empty()) damaged_.insert(kOptionsFile);
  messages_.insert(messages_.end(), errors.begin(), errors.end());
  return true;
}

bool CProfileStore::SaveOptions(const OptionGroups& groups, std::string* error) {
  return Writable(error) && Replace(kOptionsFile, FormatOptions(groups), error);
}

bool CProfileStore::LoadBindings(std::vector<SBindingRecord>* bindings) {
  std::string bytes;
  if (dir_.empty() || !ReadFolderFile(kControlsFile, &bytes)) return false;
  std::vector<std::string> errors;
  ParseBindings(bytes, Label(kControlsFile), bindings, &errors);
  if (!errors.empty()) damaged_.insert(kControlsFile);
  messages_.insert(messages_.end(), errors.begin(), errors.end());
  return true;
}

bool CProfileStore::SaveBindings(const std::vector<SBindingRecord>& bindings, std::string* error) {
  std::string why;
  if (!CheckBindings(bindings, &why)) {
    if (error) *error = Label(kControlsFile) + ": " + why;
    return false;
  }
  return Writable(error) && Replace(kControlsFile, FormatBindings(bindings), error);
}

}  // namespace korvohost
