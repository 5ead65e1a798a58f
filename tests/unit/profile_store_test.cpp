// Profile store: account, options and bindings files round trip; damaged files
// report file and line and lose nothing; pilot names map to one file each and
// bad ones never reach the disk; a second process gets the folder read-only.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "refhost/atomic_file.h"
#include "refhost/profile_store.h"

using namespace korvohost;
namespace fs = std::filesystem;

namespace {

class ProfileStore : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/korvo_profile_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    dir_ = root_ + "/profile";
  }
  void TearDown() override { fs::remove_all(root_); }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::set<std::string> Files() const {
    std::set<std::string> names;
    if (fs::exists(dir_))
      for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename().string());
    return names;
  }

  std::string root_, dir_;
};

SAccountRecord Pilot(const std::string& name, int total) {
  SAccountRecord a;
  a.name = name;
  a.character = 3;
  a.left = -1;
  a.right = 7;
  a.hasLast = true;
  a.last = "MISSION 02";
  a.hasCurrent = true;
  a.current = "MISSION \"03\"\\x";
  a.total = total;
  a.achievements = {{"MISSION 01", "MISSION 01", 125, 98, 4}, {"M05-21", "MISSION 05 \xB0\xA1", 0, 0, 0}};
  return a;
}

// The fields of each record kind, to compare whole records.
auto Fields(const SAchievementRecord& r) { return std::tie(r.key, r.name, r.latest, r.best, r.count); }
auto Fields(const SAccountRecord& a) {
  return std::tie(a.name, a.character, a.left, a.right, a.hasLast, a.last, a.hasCurrent, a.current, a.total);
}
auto Fields(const SOptionItem& i) {
  return std::tie(i.key, i.value, i.saved, i.defaultValue, i.text, i.savedText, i.defaultText);
}
auto Fields(const SBindingRecord& b) { return std::tie(b.action, b.inputs, b.saved, b.defaults); }

template <class T>
void ExpectSame(const std::vector<T>& got, const std::vector<T>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(Fields(got[i]), Fields(want[i])) << "record " << i;
    if constexpr (std::is_same_v<T, SAccountRecord>) ExpectSame(got[i].achievements, want[i].achievements);
  }
}

SOptionItem Number(const char* key, uint32_t value, uint32_t saved, uint32_t defaultValue) {
  SOptionItem item;
  item.key = key;
  item.value = value, item.saved = saved, item.defaultValue = defaultValue;
  return item;
}

OptionGroups SomeOptions() {
  OptionGroups g;
  g[int(EOptionGroup::kGraphics)] = {Number("resolution", 1024 + 768 * 65536u, 800 + 600 * 65536u, 640 + 480 * 65536u),
                                     Number("colordepth", 32, 32, 16)};
  g[int(EOptionGroup::kSound)] = {Number("music_volume", 4294967295u, 0, 80)};
  g[int(EOptionGroup::kNetwork)] = {Number("net_bandwidth_level", 2, 1, 0)};
  SOptionItem macro;
  macro.key = "macro0";
  macro.text = "gg \"wp\" \\ 50%";
  macro.savedText = "\xC7\xD1\xB1\xDB line\tTAB";
  macro.defaultText = "";
  g[int(EOptionGroup::kMacro)] = {macro};
  return g;
}

std::vector<SBindingRecord> SomeBindings() {
  return {{"FORWARD", {"KEY17", "KEY200"}, {"KEY17"}, {"KEY17"}}, {"FIRE", {}, {"MOUSE0"}, {"MOUSE0", "KEY57"}}};
}

}  // namespace

TEST_F(ProfileStore, AccountsOptionsAndBindingsRoundTripInCreationOrder) {
  CProfileStore store;
  std::string error;
  ASSERT_TRUE(store.Open(dir_, &error)) << error;
  EXPECT_FALSE(store.ReadOnly());
  EXPECT_TRUE(store.LoadAccounts().empty());
  const SAccountRecord zulu = Pilot("ZULU", 3725), alpha = Pilot("alpha \xB0\xA1", 59);
  ASSERT_TRUE(store.SaveAccount(zulu, &error)) << error;
  ASSERT_TRUE(store.SaveAccount(alpha, &error)) << error;
  SAccountRecord plain;
  plain.name = "MIKE";
  ASSERT_TRUE(store.SaveAccount(plain, &error)) << error;
  SAccountRecord zulu2 = zulu;
  zulu2.total = 4000;   // saving again keeps the account's place
  ASSERT_TRUE(store.SaveAccount(zulu2, &error)) << error;
  OptionGroups options = SomeOptions();
  ASSERT_TRUE(store.SaveOptions(options, &error)) << error;
  ASSERT_TRUE(store.SaveBindings(SomeBindings(), &error)) << error;
  store.Close();

  CProfileStore again;
  ASSERT_TRUE(again.Open(dir_, &error)) << error;
  ExpectSame(again.LoadAccounts(), {zulu2, alpha, plain});
  OptionGroups loaded;
  ASSERT_TRUE(again.LoadOptions(&loaded));
  for (int g = 0; g < 4; ++g) {
    SCOPED_TRACE(OptionGroupName(EOptionGroup(g)));
    ExpectSame(loaded[g], options[g]);
  }
  std::vector<SBindingRecord> bindings;
  ASSERT_TRUE(again.LoadBindings(&bindings));
  ExpectSame(bindings, SomeBindings());
  EXPECT_TRUE(again.TakeMessages().empty());

  // Removing an account removes its file; the others stay in order.
  ASSERT_TRUE(again.RemoveAccount("ZULU", &error)) << error;
  const std::vector<SAccountRecord> left = again.LoadAccounts();
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].name, alpha.name);
  EXPECT_EQ(left[1].name, "MIKE");
  EXPECT_EQ(Files(), (std::set<std::string>{".lock", "MIKE.pilot", "alpha%20%B0%A1.pilot", "options.ini",
                                            "controls.ini"}));
}

// Files are readable text written without leaving temporary files; absent
// files load nothing.
TEST_F(ProfileStore, FilesAreReadableTextAndAbsentFilesLoadNothing) {
  CProfileStore store;
  std::string error;
  ASSERT_TRUE(store.Open(dir_, &error)) << error;
  OptionGroups groups;
  std::vector<SBindingRecord> bindings;
  EXPECT_FALSE(store.LoadOptions(&groups));
  EXPECT_FALSE(store.LoadBindings(&bindings));
  SAccountRecord a;
  a.name = "ALPHA";
  a.hasLast = true;
  a.last = "MISSION 01";
  a.total = 3725;
  a.achievements = {{"MISSION 01", "MISSION 01", 120, 95, 3}};
  ASSERT_TRUE(store.SaveAccount(a, &error)) << error;
  EXPECT_EQ(Read(dir_ + "/ALPHA.pilot"),
            "# korvogui pilot account\nname \"ALPHA\"\norder 1\ncharacter 0\nleft 0\nright 0\n"
            "last \"MISSION 01\"\ntotal 3725\n"
            "achievement \"MISSION 01\" name=\"MISSION 01\" latest=120 best=95 count=3\n");
  for (const std::string& name : Files()) EXPECT_FALSE(IsAtomicTempName(name)) << name;
  // Opening clears stale temporary files; a store that saves before loading
  // still puts a new pilot last.
  store.Close();
  Write(dir_ + "/.ALPHA.pilot.tmp.999999", "half a fi");
  ASSERT_TRUE(store.Open(dir_, &error)) << error;
  EXPECT_EQ(Files(), (std::set<std::string>{".lock", "ALPHA.pilot"}));
  SAccountRecord beta;
  beta.name = "BETA";
  ASSERT_TRUE(store.SaveAccount(beta, &error)) << error;
  EXPECT_NE(Read(dir_ + "/BETA.pilot").find("\norder 2\n"), std::string::npos);
  const std::vector<SAccountRecord> both = store.LoadAccounts();
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0].name, "ALPHA");
  EXPECT_EQ(both[1].name, "BETA");
  ASSERT_TRUE(store.SaveBindings({{"FORWARD", {"KEY17"}, {"KEY17"}, {"KEY17", "KEY200"}}}, &error)) << error;
  EXPECT_EQ(Read(dir_ + "/controls.ini"),
            "# korvogui key bindings: each action's inputs in use, saved inputs and defaults\n"
            "FORWARD inputs=\"KEY17\" saved=\"KEY17\" default=\"KEY17,KEY200\"\n");
  // A folder that cannot be made is an error.
  Write(root_ + "/plain", "x");
  CProfileStore bad;
  EXPECT_FALSE(bad.Open(root_ + "/plain/profile", &error));
  EXPECT_NE(error.find("plain"), std::string::npos) << error;
}

TEST_F(ProfileStore, BadNamesAreRefusedWithoutTouchingTheDisk) {
  CProfileStore store;
  std::string error;
  ASSERT_TRUE(store.Open(dir_, &error)) << error;
  const std::set<std::string> before = Files();
  const std::vector<std::string> bad = {"",         ".",          "..",        "a/b",   "../up", "a\\b",
                                        "tab\there", "new\nline", "del\x7F",  "a|b",   std::string(65, 'x'),
                                        std::string(300, 'y')};
  for (const std::string& name : bad) {
    SAccountRecord a;
    a.name = name;
    error.clear();
    EXPECT_FALSE(store.SaveAccount(a, &error)) << name;
    EXPECT_FALSE(error.empty()) << name;
    EXPECT_FALSE(store.RemoveAccount(name, &error)) << name;
    EXPECT_FALSE(ValidAccountName(name, nullptr)) << name;
  }
  EXPECT_EQ(Files(), before);

  // Every valid name has one file and comes back from it.
  std::vector<std::string> good = {std::string(64, 'z'), "\xB0\xA1\xB3\xAA", "A B", "a.b", "100%", "-_-", "...."};
  for (int c = 0x20; c < 0x100; ++c)
    if (c != '/' && c != '\\' && c != '|' && c != 0x7F && c != '.') good.push_back(std::string("x") + char(c));
  std::set<std::string> files;
  for (const std::string& name : good) {
    ASSERT_TRUE(ValidAccountName(name, nullptr)) << name;
    const std::string file = AccountFileName(name);
    EXPECT_TRUE(files.insert(file).second) << file;
    EXPECT_LE(file.size(), 255u);
    for (unsigned char c : file) EXPECT_TRUE(std::isalnum(c) || c == '_' || c == '-' || c == '%' || c == '.') << file;
    std::string back;
    ASSERT_TRUE(AccountNameOfFile(file, &back)) << file;
    EXPECT_EQ(back, name);
  }
  // Other spellings of a name are not pilot files.
  std::string name;
  for (const char* file : {"A%41.pilot", "a%2e.pilot", "%zz.pilot", "%4.pilot", ".pilot", "A.pilotx", "A%2F.pilot",
                           "%2E%2E.pilot"})
    EXPECT_FALSE(AccountNameOfFile(file, &name)) << file;
}

TEST_F(ProfileStore, DamagedFilesNameFileAndLineAndTheRestLoads) {
  CProfileStore store;
  std::string error;
  ASSERT_TRUE(store.Open(dir_, &error)) << error;
  ASSERT_TRUE(store.SaveAccount(Pilot("BRAVO", 10), &error)) << error;
  const std::string damaged =
      "# edited by hand\nname \"ALPHA\"\norder 2\ncharacter 2\nleft x\nright 1 2\ntotal x\n"
      "achievement \"MISSION 01\" latest=5 best=-3 count=1\nachievement \"MISSION 02\" latest=7 best=6 count=2\n"
      "bogus 1\nlast \"MISSION 02\n";
  Write(dir_ + "/ALPHA.pilot", damaged);
  Write(dir_ + "/CHARLIE.pilot", "order 3\ntotal 5\n");              // no name line
  Write(dir_ + "/D%2f.pilot", "name \"D/\"\n");                       // not a pilot file name
  const std::vector<SAccountRecord> accounts = store.LoadAccounts();
  ASSERT_EQ(accounts.size(), 3u);
  EXPECT_EQ(accounts[0].name, "BRAVO");
  EXPECT_EQ(accounts[0].total, 10);
  EXPECT_EQ(accounts[1].name, "ALPHA");
  EXPECT_EQ(accounts[1].character, 2);
  EXPECT_EQ(accounts[1].total, 0);
  ASSERT_EQ(accounts[1].achievements.size(), 1u);
  EXPECT_EQ(accounts[1].achievements[0].key, "MISSION 02");
  EXPECT_FALSE(accounts[1].hasLast);
  EXPECT_EQ(accounts[2].name, "CHARLIE");
  EXPECT_EQ(accounts[2].total, 5);
  const std::string a = dir_ + "/ALPHA.pilot:";
  EXPECT_EQ(store.TakeMessages(), (std::vector<std::string>{
                                      a + "11: quoted text without its closing quote",
                                      a + "5: bad option part 'x'",
                                      a + "6: 'right' takes 1 value",
                                      a + "7: bad clear time 'x'",
                                      a + "8: bad clear time '-3'",
                                      a + "10: unknown line 'bogus'",
                                      dir_ + "/CHARLIE.pilot: no valid 'name' line; the pilot is taken from the file name",
                                      dir_ + "/D%2f.pilot: not a pilot file name; skipped",
                                  }));
  // Saving a damaged account keeps the hand-edited original next to it.
  ASSERT_TRUE(store.SaveAccount(accounts[1], &error)) << error;
  EXPECT_EQ(Read(dir_ + "/ALPHA.pilot.damaged"), damaged);
  EXPECT_EQ(store.LoadAccounts().size(), 3u);
  EXPECT_EQ(store.TakeMessages().size(), 2u);   // CHARLIE and D%2f only

  Write(dir_ + "/options.ini", "[graphics]\nresolution value=12 saved=x\n[video]\ngamma value=1\n"
                               "[sound]\nmusic_volume value=5 loud=1\nmusic value=7\n");
  Write(dir_ + "/controls.ini", "FIRE inputs=\"KEY1,,KEY2\"\nJUMP inputs=KEY57 extra\nDASH inputs=KEY42\n");
  OptionGroups groups;
  ASSERT_TRUE(store.LoadOptions(&groups));
  std::vector<SBindingRecord> bindings;
  ASSERT_TRUE(store.LoadBindings(&bindings));
  const std::string o = dir_ + "/options.ini:", c = dir_ + "/controls.ini:";
  EXPECT_EQ(store.TakeMessages(), (std::vector<std::string>{
                                      o + "2: bad option value 'x'", o + "3: unknown option group '[video]'",
                                      o + "4: option 'gamma' outside a known group", o + "6: unknown field 'loud'",
                                      c + "1: empty input name in 'KEY1,,KEY2'", c + "2: unexpected value 'extra'"}));
  ASSERT_EQ(groups[int(EOptionGroup::kSound)].size(), 1u);
  EXPECT_EQ(groups[int(EOptionGroup::kSound)][0].key, "music");
  EXPECT_EQ(groups[int(EOptionGroup::kSound)][0].saved, 7u);   // saved and default follow value
  EXPECT_EQ(groups[int(EOptionGroup::kSound)][0].defaultValue, 7u);
  ASSERT_EQ(bindings.size(), 1u);
  EXPECT_EQ(bindings[0].action, "DASH");
  EXPECT_EQ(bindings[0].defaults, std::vector<std::string>{"KEY42"});

  // A binding list cannot hold a comma inside an input name.
  EXPECT_FALSE(store.SaveBindings({{"FIRE", {"KEY1,KEY2"}, {}, {}}}, &error));
  EXPECT_NE(error.find("cannot be kept"), std::string::npos) << error;
}

TEST_F(ProfileStore, ASecondProcessOpensReadOnlyAndNeverWrites) {
  CProfileStore owner;
  std::string error;
  ASSERT_TRUE(owner.Open(dir_, &error)) << error;
  ASSERT_TRUE(owner.SaveAccount(Pilot("ALPHA", 1), &error)) << error;
  const std::set<std::string> before = Files();
  const std::string alphaBytes = Read(dir_ + "/ALPHA.pilot");

  // Exit codes of the child: 0 all as expected, else the number of the failed check.
  const auto child = [&](bool expectReadOnly) -> int {
    const pid_t pid = fork();
    if (pid == 0) {
      CProfileStore second;
      std::string why;
      if (!second.Open(dir_, &why)) _exit(1);
      if (second.ReadOnly() != expectReadOnly) _exit(2);
      const std::vector<std::string> messages = second.TakeMessages();
      const bool told = messages.size() == 1 && messages[0].find("in use by another process") != std::string::npos &&
                        messages[0].find("read-only") != std::string::npos;
      if (expectReadOnly != told) _exit(3);
      if (second.LoadAccounts().size() != 1) _exit(4);
      SAccountRecord a = Pilot("ALPHA", 2);
      if (second.SaveAccount(a, &why) == expectReadOnly) _exit(5);
      if (expectReadOnly && why.find("read-only") == std::string::npos) _exit(6);
      if (second.SaveOptions(SomeOptions(), &why) == expectReadOnly) _exit(7);
      if (second.RemoveAccount("ALPHA", &why) == expectReadOnly) _exit(8);
      _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
  };
  EXPECT_EQ(child(true), 0);
  EXPECT_EQ(Files(), before);
  EXPECT_EQ(Read(dir_ + "/ALPHA.pilot"), alphaBytes);

  owner.Close();   // the lock goes with the owner
  EXPECT_EQ(child(false), 0);
  EXPECT_FALSE(fs::exists(dir_ + "/ALPHA.pilot"));
  EXPECT_TRUE(fs::exists(dir_ + "/options.ini"));
}

TEST_F(ProfileStore, DefaultFolderFollowsXdgDataHome) {
  const char* oldXdg = std::getenv("XDG_DATA_HOME");
  const std::string savedXdg = oldXdg ? oldXdg : "";
  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  setenv("XDG_DATA_HOME", "/data/here", 1);
  EXPECT_EQ(DefaultProfileDir(), "/data/here/korvogui/profile");
  setenv("XDG_DATA_HOME", "relative/ignored", 1);
  setenv("HOME", "/home/pilot", 1);
  EXPECT_EQ(DefaultProfileDir(), "/home/pilot/.local/share/korvogui/profile");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(DefaultProfileDir(), "/home/pilot/.local/share/korvogui/profile");
  if (oldXdg) setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
  if (oldHome) setenv("HOME", savedHome.c_str(), 1);
  else unsetenv("HOME");
}
