#pragma once
// A fresh folder under the system temp folder, removed with everything in it.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace norv::testing {

class TempDataFolder {
 public:
  TempDataFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "norv-acq-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  }
  ~TempDataFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDataFolder(const TempDataFolder&) = delete;
  TempDataFolder& operator=(const TempDataFolder&) = delete;

  // With the trailing separator the readers expect.
  std::string Prefix() const { return path_ + "/"; }
  std::string PathOf(std::string_view name) const { return Prefix() + std::string(name); }

  void Write(std::string_view name, std::string_view content) const {
    std::ofstream out(PathOf(name), std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
  }
  std::string Read(std::string_view name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool Exists(std::string_view name) const { return std::filesystem::exists(PathOf(name)); }

 private:
  std::string path_;
};

}  // namespace norv::testing
