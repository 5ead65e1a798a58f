// Reference host file system: a mounted folder, a mounted .zip archive, the
// in-memory overlay lying over either, and file images handed to the module.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/host_services.h"
#include "refhost/korvohost.h"

namespace {

namespace fs = std::filesystem;

uint32_t Crc32(const std::string& data) {
  uint32_t crc = 0xFFFFFFFF;
  for (unsigned char c : data) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void Put16(std::string& out, uint32_t v) { out += char(v & 0xFF), out += char((v >> 8) & 0xFF); }
void Put32(std::string& out, uint32_t v) { Put16(out, v & 0xFFFF), Put16(out, v >> 16); }

// A .zip archive with the files stored uncompressed.
std::string MakeZip(const std::vector<std::pair<std::string, std::string>>& files) {
  std::string zip, central;
  for (const auto& [name, data] : files) {
    const uint32_t offset = uint32_t(zip.size()), crc = Crc32(data);
    for (std::string* part : {&zip, &central}) {
      const bool isCentral = part == &central;
      Put32(*part, isCentral ? 0x02014b50 : 0x04034b50);
      if (isCentral) Put16(*part, 20);   // made by
      Put16(*part, 20);                  // needed to extract
      Put16(*part, 0);                   // flags
      Put16(*part, 0);                   // stored
      Put32(*part, 0);                   // time and date
      Put32(*part, crc);
      Put32(*part, uint32_t(data.size()));
      Put32(*part, uint32_t(data.size()));
      Put16(*part, uint32_t(name.size()));
      Put16(*part, 0);                   // extra
      if (isCentral) {
        Put16(*part, 0), Put16(*part, 0), Put16(*part, 0);   // comment, disk, internal attributes
        Put32(*part, 0), Put32(*part, offset);               // external attributes, offset
      }
      *part += name;
      if (!isCentral) *part += data;
    }
  }
  const uint32_t centralOffset = uint32_t(zip.size());
  zip += central;
  Put32(zip, 0x06054b50);
  Put16(zip, 0), Put16(zip, 0);
  Put16(zip, uint32_t(files.size())), Put16(zip, uint32_t(files.size()));
  Put32(zip, uint32_t(central.size())), Put32(zip, centralOffset);
  Put16(zip, 0);
  return zip;
}

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
    std::ofstream(dir_ / "root.zip", std::ios::binary)
        << MakeZip({{"data/script/a.txt", "from the zip"}, {"menu/b.tga", std::string("\0\x01z", 3)}});
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
