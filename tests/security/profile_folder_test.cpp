// profile_folder_test.cpp: the player's profile folder against files it did
// not write: a user's file that looks like a temporary one, a link planted
// where a temporary file goes, and an options.ini saved with a byte-order mark.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "refhost/atomic_file.h"
#include "refhost/profile_files.h"
#include "refhost/profile_store.h"
#include "../lobbyd/lobbyd_temp.h"

namespace korvohost {
namespace {

void Put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
std::string Get(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A killed write's temporary file goes; the player's files that look like one stay.
TEST(ProfileFolderProbe, OpeningClearsOnlyItsOwnTemporaryFiles) {
  lobbyd::CTempFolder folder;
  const std::vector<std::pair<std::string, bool>> files = {
      {".options.ini.tmp.4242", true}, {".ACE.pilot.tmp.17", true},   // killed writes
      {".notes.tmp.txt", false}, {".options.ini.tmp.backup", false}, {".photo.tmp.12", false},
  };
  for (const auto& [name, _] : files) Put(folder.File(name), "keep me");
  CProfileStore store;
  std::string error;
  ASSERT_TRUE(store.Open(folder.File(""), &error)) << error;
  for (const auto& [name, removed] : files) EXPECT_EQ(!std::filesystem::exists(folder.File(name)), removed) << name;
}

TEST(ProfileFolderProbe, AWriteNeverFollowsALinkAtItsTemporaryName) {
  lobbyd::CTempFolder folder, elsewhere;
  const std::string victim = elsewhere.File("victim.txt");
  Put(victim, "precious");
  const std::string temp = folder.File(".options.ini.tmp." + std::to_string(getpid()));
  ASSERT_EQ(symlink(victim.c_str(), temp.c_str()), 0);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(folder.File(""), "options.ini", "new bytes", &error)) << error;
  EXPECT_EQ(Get(victim), "precious");
  EXPECT_EQ(Get(folder.File("options.ini")), "new bytes");
  EXPECT_FALSE(std::filesystem::is_symlink(folder.File("options.ini")));
}

TEST(ProfileFolderProbe, AByteOrderMarkKeepsTheFirstGroup) {
  OptionGroups groups;
  std::vector<std::string> errors;
  ParseOptions("\xEF\xBB\xBF[graphics]\nbrightness value=3 saved=3 default=2\n[sound]\nvolume value=5 saved=5 default=5\n",
               "options.ini", &groups, &errors);
  EXPECT_TRUE(errors.empty()) << errors.front();
  ASSERT_EQ(groups[0].size(), 1u);
  EXPECT_EQ(groups[0][0].key, "brightness");
  EXPECT_EQ(groups[1].size(), 1u);
}

}  // namespace
}  // namespace korvohost
