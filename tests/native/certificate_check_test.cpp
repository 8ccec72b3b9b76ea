// WinInet checks every https:// certificate, and only a flag or option asked
// for in the program's own code can loosen that check. None may appear there:
// a certificate WinInet refuses must stay a failed fetch.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 9> kProductFolders{"about",    "acquisition", "app",       "base",  "companions",
                                                          "notices",  "resources",   "settings",  "store"};

// Each of these makes WinInet accept a certificate or a downgrade it would refuse.
constexpr std::array<std::string_view, 5> kLoosening{"SECURITY_FLAG_IGNORE", "INTERNET_FLAG_IGNORE_CERT",
                                                     "INTERNET_OPTION_SECURITY_FLAGS", "IGNORE_REDIRECT_TO_HTTP",
                                                     "SECURITY_SET_MASK"};

TEST(CertificateCheck, NoProductSourceLoosensWinInetsCertificateCheck) {
  const std::filesystem::path root(NORVALE_SOURCE_DIR);
  int files = 0;
  for (std::string_view folder : kProductFolders) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
      const std::string extension = entry.path().extension().string();
      if (extension != ".cpp" && extension != ".h" && extension != ".rc") continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      ++files;
      for (std::string_view name : kLoosening) {
        EXPECT_EQ(text.find(name), std::string::npos) << entry.path() << " names " << name;
      }
    }
  }
  EXPECT_GT(files, 50) << "the product's sources were not found under " << root;
}

}  // namespace
