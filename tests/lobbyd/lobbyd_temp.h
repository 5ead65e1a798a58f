// lobbyd_temp.h: a temporary folder per test, removed with everything in it.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>

namespace lobbyd {

class CTempFolder {
 public:
  CTempFolder() {
    char pattern[] = "/tmp/lobbyd_test_XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made ? made : "";
  }
  ~CTempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  bool Ok() const { return !path_.empty(); }

 private:
  std::string path_;
};

}  // namespace lobbyd
