// Profile store: the files round trip; a second opener gets the folder read-only; damaged
// files report file and line and lose nothing; pilot names map to one file each and bad ones
// never reach the disk.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "expected_text.h"
#include "refhost/profile_files.h"
#include "refhost/profile_store.h"
#include "tests/lobbyd/lobbyd_temp.h"

using namespace korvohost;
namespace fs = std::filesystem;

namespace {

class ProfileStore : public ::testing::Test {
 protected:
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename().string());
    return names;
  }
  // The store's messages, one a line, with the temporary folder written DIR.
  std::string Messages(CProfileStore& store) const {
    std::string text;
    for (std::string m : store.TakeMessages()) text += "DIR" + m.substr(dir_.size()) + "\n";
    return text;
  }

  lobbyd::CTempFolder temp_;
  const std::string dir_ = temp_.File("profile");
};

SAccountRecord Named(const std::string& name) {
  SAccountRecord a;
  a.name = name;
  return a;
}

SAccountRecord Pilot(const std::string& name, int total) {
  return {name, 3, -1, 7, true, "MISSION 02", true, "MISSION \"03\"\\x", total,
          {{"MISSION 01", "MISSION 01", 125, 98, 4}, {"M05-21", "MISSION 05 \xB0\xA1", 0, 0, 0}}};
}

// Graphics, sound, network and macro items.
OptionGroups SomeOptions() {
  return {{{{"resolution", 1024 + 768 * 65536u, 800 + 600 * 65536u, 640 + 480 * 65536u, "", "", ""},
            {"colordepth", 32, 32, 16, "", "", ""}},
           {{"music_volume", 4294967295u, 0, 80, "", "", ""}},
           {{"net_bandwidth_level", 2, 1, 0, "", "", ""}},
           {{"macro0", 0, 0, 0, "gg \"wp\" \\ 50%", "\xC7\xD1\xB1\xDB line\tTAB", ""}}}};
}

std::vector<SBindingRecord> SomeBindings() {
  return {{"FORWARD", {"KEY17", "KEY200"}, {"KEY17"}, {"KEY17"}}, {"FIRE", {}, {"MOUSE0"}, {"MOUSE0", "KEY57"}}};
}

// What a store loads, in the files' own format: accounts in list order (each
// under its file name), then the options and the bindings.
std::string Loaded(CProfileStore& store) {
  std::string text;
  const std::vector<SAccountRecord> accounts = store.LoadAccounts();
  for (size_t i = 0; i < accounts.size(); ++i)
    text += "== " + AccountFileName(accounts[i].name) + "\n" + FormatAccount(accounts[i], int(i + 1));
  OptionGroups groups;
  std::vector<SBindingRecord> bindings;
  text += std::string("== options.ini") + (store.LoadOptions(&groups) ? "\n" : " (absent)\n");
  text += FormatOptions(groups);
  text += std::string("== controls.ini") + (store.LoadBindings(&bindings) ? "\n" : " (absent)\n");
  return text + FormatBindings(bindings);
}

}  // namespace

// The files hold exactly what was saved (the expected text is the folder's
// bytes), and a new store loads it all back to the same bytes.
TEST_F(ProfileStore, AccountsOptionsAndBindingsRoundTripInCreationOrder) {
  CProfileStore store;
  std::string error;
  ASSERT_TRUE(store.Open(dir_, &error)) << error;
  EXPECT_EQ(Loaded(store), "== options.ini (absent)\n" + FormatOptions({}) + "== controls.ini (absent)\n" +
                               FormatBindings({}));
  SAccountRecord zulu = Pilot("ZULU", 3725);
  ASSERT_TRUE(store.SaveAccount(zulu, &error)) << error;
  ASSERT_TRUE(store.SaveAccount(Pilot("alpha \xB0\xA1", 59), &error)) << error;
  ASSERT_TRUE(store.SaveAccount(Named("MIKE"), &error)) << error;
  zulu.total = 4000;   // saving again keeps the account's place
  ASSERT_TRUE(store.SaveAccount(zulu, &error)) << error;
  ASSERT_TRUE(store.SaveOptions(SomeOptions(), &error)) << error;
  ASSERT_TRUE(store.SaveBindings(SomeBindings(), &error)) << error;
  {
    // The folder is locked for the first opener; a second one (as another
    // process) never writes: the files below are the first one's. Its message
    // and reads are HostGameSetup.ProfileTroubleIsToldAndTheGameGoesOn's (and
    // the message's whole text korvoui_render_profile's).
    CProfileStore second;
    ASSERT_TRUE(second.Open(dir_, &error)) << error;
    EXPECT_FALSE(second.SaveAccount(Pilot("ZULU", 1), &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_FALSE(second.SaveOptions({}, &error));
    EXPECT_FALSE(second.SaveBindings({}, &error));
    EXPECT_FALSE(second.RemoveAccount("MIKE", &error));
  }
  store.Close();   // the lock goes with it
  CProfileStore again;
  ASSERT_TRUE(again.Open(dir_, &error)) << error;
  ASSERT_TRUE(again.SaveAccount(Named("NEW"), &error)) << error;   // saved before any load: still last
  std::string files;
  for (const char* file : {"ZULU.pilot", "alpha%20%B0%A1.pilot", "MIKE.pilot", "NEW.pilot", "options.ini",
                           "controls.ini"})
    files += std::string("== ") + file + "\n" + Read(dir_ + "/" + file);
  EXPECT_MATCHES_EXPECTED("unit/expected/profile_files.expected", files);
  EXPECT_EQ(Loaded(again), files);
  EXPECT_EQ(Messages(again), "");
  // No temporary file is left.
  EXPECT_EQ(Files(), (std::set<std::string>{".lock", "ZULU.pilot", "MIKE.pilot", "NEW.pilot",
                                            "alpha%20%B0%A1.pilot", "options.ini", "controls.ini"}));
  // A folder that cannot be made is an error that names it.
  Write(temp_.File("plain"), "x");
  CProfileStore bad;
  EXPECT_FALSE(bad.Open(temp_.File("plain/profile"), &error));
  EXPECT_NE(error.find("plain"), std::string::npos) << error;
}

TEST_F(ProfileStore, BadNamesAreRefusedWithoutTouchingTheDisk) {
  CProfileStore store;
  std::string error;
  ASSERT_TRUE(store.Open(dir_, &error)) << error;
  const std::set<std::string> before = Files();
  const std::vector<std::string> bad = {"",         ".",          "..",       "a/b", "../up", "a\\b",
                                        "tab\there", "new\nline", "del\x7F", "a|b", std::string(65, 'x')};
  for (const std::string& name : bad) {
    error.clear();
    EXPECT_FALSE(store.SaveAccount(Named(name), &error)) << name;
    EXPECT_FALSE(error.empty()) << name;
    EXPECT_FALSE(store.RemoveAccount(name, &error)) << name;
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

// The expected text holds each message (file and line) and what was loaded.
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
  Write(dir_ + "/CHARLIE.pilot", "order 3\ntotal 5\n");   // no name line
  Write(dir_ + "/D%2f.pilot", "name \"D/\"\n");            // not a pilot file name
  Write(dir_ + "/options.ini", "[graphics]\nresolution value=12 saved=x\n[video]\ngamma value=1\n"
                               "[sound]\nmusic_volume value=5 loud=1\nmusic value=7\n");
  Write(dir_ + "/controls.ini", "FIRE inputs=\"KEY1,,KEY2\"\nJUMP inputs=KEY57 extra\nDASH inputs=KEY42\n");
  const std::string loaded = Loaded(store);
  EXPECT_MATCHES_EXPECTED("unit/expected/profile_damaged.expected", Messages(store) + loaded);

  // Saving a damaged account keeps the hand-edited original next to it.
  const SAccountRecord alpha = store.LoadAccounts()[1];
  store.TakeMessages();
  ASSERT_TRUE(store.SaveAccount(alpha, &error)) << error;
  EXPECT_EQ(Read(dir_ + "/ALPHA.pilot.damaged"), damaged);
  EXPECT_EQ(store.LoadAccounts().size(), 3u);
  EXPECT_EQ(store.TakeMessages().size(), 2u);   // CHARLIE and D%2f only

  // A binding list cannot hold a comma inside an input name.
  EXPECT_FALSE(store.SaveBindings({{"FIRE", {"KEY1,KEY2"}, {}, {}}}, &error));
  EXPECT_NE(error.find("cannot be kept"), std::string::npos) << error;
}

TEST_F(ProfileStore, DefaultFolderFollowsXdgDataHome) {
  const char* oldXdg = std::getenv("XDG_DATA_HOME");
  const std::string savedXdg = oldXdg ? oldXdg : "";
  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  setenv("XDG_DATA_HOME", "/data/here", 1);
  EXPECT_EQ(DefaultProfileDir(), "/data/here/korvogui/profile");
  setenv("XDG_DATA_HOME", "relative/ignored", 1);   // the same branch as no XDG_DATA_HOME
  setenv("HOME", "/home/pilot", 1);
  EXPECT_EQ(DefaultProfileDir(), "/home/pilot/.local/share/korvogui/profile");
  if (oldXdg) setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
  else unsetenv("XDG_DATA_HOME");   // not left behind for the tests after this one
  if (oldHome) setenv("HOME", savedHome.c_str(), 1);
  else unsetenv("HOME");
}
