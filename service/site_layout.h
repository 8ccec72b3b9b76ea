#pragma once
// Where everything lives in the published site, and the addresses a client
// reaches it by. Paths are relative to the site's root folder, with "/"
// between their parts; an address is the base URL followed by a path.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "store/game.h"

namespace norv::service {

// Norvale's reader puts the first 27 characters of the LOTO6/MiniLOTO (or
// Numbers) index address before each link it finds on that page.
inline constexpr std::size_t kLinkPrefixLength = 27;
// A directory reply holds each of its 14 addresses in a field of 100.
inline constexpr std::size_t kSlotWidth = 100;
inline constexpr int kSlotCount = 14;

enum class PageFamily { Loto, Numbers };  // index pages of slots 10/11 and 12/13

PageFamily FamilyOf(Game game);

// The download lists, by the product names the command line and the config use.
struct DownloadProduct {
  std::string_view name;      // "birch"
  std::string_view fileName;  // "bc4_dlf.new"
};
inline constexpr std::array<DownloadProduct, 5> kDownloadProducts{{
    {"birch", "bc4_dlf.new"},
    {"cedar", "cdm_dlf.new"},
    {"damson", "dml_dlf.new"},
    {"elder", "el3_dlf.new"},
    {"fennel", "fnl_dlf.new"},
}};

// Why `url` cannot be a site's base address; nothing when it can. The base is
// an http:// or https:// address of a folder, without query or fragment,
// whose characters may stand unquoted in a page's links.
std::optional<std::string> BaseUrlProblem(std::string_view url);

class SiteLayout {
 public:
  // `base` must have no BaseUrlProblem; a missing final "/" is added.
  explicit SiteLayout(std::string_view base);

  const std::string& Base() const { return base_; }
  std::string Address(std::string_view path) const { return base_ + std::string(path); }

  // copy 0 is the primary, copy 1 the fallback.
  static std::string DirectoryPath(int copy);  // answers "?SFT=0"
  static std::string StatusPath(int copy);
  static std::string HistoryPath(Game game, int copy);
  static std::string DownloadFolder(int copy);  // ends in "/"

  // The bank-style pages share one root folder whose address fills the
  // 27-character prefix whatever the length of the base (see BankRoot).
  std::string IndexPagePath(PageFamily family, bool fallback) const;
  std::string ResultPagePath(Game game) const;
  // Relative to the index pages, which reach it by this name.
  static std::string_view ButtonImageLink(Game game);

  // What an index page links to the page at `path` by: the page's address
  // less the prefix the reader puts back.
  std::string LinkTo(std::string_view path) const;

  std::array<std::string, kSlotCount> DirectorySlots() const;
  std::string DirectoryEndpoint(int copy) const;

  // The longest address of the site; a directory slot must hold it.
  std::size_t LongestSlotLength() const;

 private:
  std::string BankRoot() const;

  std::string base_;
};

}  // namespace norv::service
