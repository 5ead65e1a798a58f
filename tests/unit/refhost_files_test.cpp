// Reference host file system: a mounted folder, a mounted .zip archive, the
// in-memory overlay lying over either, and file images handed to the module.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/host_services.h"
#include "refhost/korvohost.h"

namespace {

namespace fs = std::filesystem;

std::string Image(const char* path) {
  void* image = nullptr;
  uint32_t size = 0;
  if (!GetFileImageInCFS(path, &image, &size)) return "<absent>";
  std::string bytes(static_cast<const char*>(image), size);
  ReleaseFileImage(image);
  return bytes;
}

class RefhostFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("korvo_files_" + std::to_string(::getpid()));
    fs::create_directories(dir_ / "folder/data/script");
    std::ofstream(dir_ / "folder/data/script/a.txt", std::ios::binary) << "from the folder";
    // The archive is made by CMake's archiver (deflated, as tools write them).
    fs::create_directories(dir_ / "zipped/data/script");
    fs::create_directories(dir_ / "zipped/menu");
    std::ofstream(dir_ / "zipped/data/script/a.txt", std::ios::binary) << "from the zip";
    std::ofstream(dir_ / "zipped/menu/b.tga", std::ios::binary) << std::string("\0\x01z", 3);
    const std::string zip = "cd '" + (dir_ / "zipped").string() +
                            "' && cmake -E tar cf ../root.zip --format=zip data menu";
    ASSERT_EQ(std::system(zip.c_str()), 0) << zip;
  }
  void TearDown() override {
    korvohost::Unmount();
    korvohost::ClearOverlay();
    fs::remove_all(dir_);
  }
  fs::path dir_;
};

}  // namespace

TEST_F(RefhostFiles, RootsServeTheirFilesUnderTheOverlayAsCountedImages) {
  ASSERT_TRUE(korvohost::Mount((dir_ / "folder").string()));
  EXPECT_EQ(Image("data/script/a.txt"), "from the folder");
  EXPECT_EQ(Image("data\\script\\a.txt"), "from the folder");   // either separator
  EXPECT_EQ(Image("menu/b.tga"), "<absent>");
  ASSERT_TRUE(korvohost::Mount((dir_ / "root.zip").string()));   // replaces the folder
  EXPECT_EQ(Image("data/script/a.txt"), "from the zip");
  EXPECT_EQ(Image("menu/b.tga"), std::string("\0\x01z", 3));
  std::string error;
  EXPECT_FALSE(korvohost::Mount((dir_ / "nothing_here").string(), &error));
  EXPECT_FALSE(error.empty());

  // The overlay lies over the mounted root.
  ASSERT_TRUE(korvohost::Mount((dir_ / "root.zip").string()));
  korvohost::OverlayFile("data/script/a.txt", "from memory");
  korvohost::OverlayFile("/new/file.txt", "");
  EXPECT_EQ(Image("data/script/a.txt"), "from memory");
  EXPECT_EQ(Image("new/file.txt"), "");   // an empty file is still a file
  EXPECT_TRUE(korvohost::RemoveOverlayFile("data/script/a.txt"));
  EXPECT_FALSE(korvohost::RemoveOverlayFile("data/script/a.txt"));
  EXPECT_EQ(Image("data/script/a.txt"), "from the zip");

  // Images are counted until released.
  korvohost::OverlayFile("x.txt", "abc");
  void* first = nullptr;
  void* second = nullptr;
  uint32_t size = 0;
  ASSERT_TRUE(GetFileImageInCFS("x.txt", &first, &size));
  ASSERT_TRUE(GetFileImageInCFS("x.txt", &second, &size));
  EXPECT_NE(first, second);
  EXPECT_EQ(korvohost::OpenFileImages(), 2);
  ReleaseFileImage(first);
  ReleaseFileImage(first);   // a second release of the same image is ignored
  EXPECT_EQ(korvohost::OpenFileImages(), 1);
  ReleaseFileImage(second);
  EXPECT_EQ(korvohost::OpenFileImages(), 0);
  EXPECT_FALSE(GetFileImageInCFS(nullptr, &first, &size));
  EXPECT_FALSE(GetFileImageInCFS("absent.txt", &first, &size));
}

// Strings are cut to the module's buffer; an unknown variable is refused.
TEST(RefhostState, StringsFitTheBufferAndVariablesAreKnownByName) {
  korvohost::SetString(7, "Hello pilot");
  char buffer[6];
  EXPECT_EQ(Res_LoadString(7, buffer, sizeof buffer), 5);
  EXPECT_STREQ(buffer, "Hello");
  EXPECT_EQ(Res_LoadString(8, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
  korvohost::ClearStrings();
  EXPECT_FALSE(korvohost::SetVar("NoSuchFlag", 1));
}
