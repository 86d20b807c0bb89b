// A fresh folder for one test, removed with everything in it afterwards.
//
// Made under $TMPDIR when it is set (else /tmp), so that a machine whose
// /tmp is small or shared can send the tests elsewhere. A folder that cannot
// be made leaves path() empty; the tests assert on it.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace test_support {

class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix = "quillex") {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/" + prefix + "_XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempFolder() {
    if (path_.empty()) return;
    std::error_code ignored;
    // A test may have taken its own write permission away.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // A file or folder name inside the folder.
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace test_support
