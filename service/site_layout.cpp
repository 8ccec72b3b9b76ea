#include "service/site_layout.h"

#include <algorithm>

namespace norv::service {

namespace {

constexpr std::array<std::string_view, 4> kHistoryNames{"lot6.txt", "mini.txt", "num4.txt", "num3.txt"};
constexpr std::array<std::string_view, 4> kResultPages{
    "/takarakuji/loto/loto6/index.html", "/takarakuji/loto/miniloto/index.html",
    "/takarakuji/numbers/numbers4/index.html", "/takarakuji/numbers/numbers3/index.html"};
constexpr std::array<std::string_view, 4> kButtonImages{"../img/BTN_LOTO6.JPG", "../img/BTN_MINILOTO.JPG",
                                                        "../img/BTN_NBS4.JPG", "../img/BTN_NBS3.JPG"};
constexpr std::string_view kBankFolder = "bank";

// Quotes and angle brackets would end a link's value on a page early; blanks,
// controls and bytes above ASCII are not written unescaped in an address.
bool SafeInLink(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte > 32 && byte < 127 && c != '"' && c != '\'' && c != '<' && c != '>' && c != '\\' && c != '`' &&
         c != '^' && c != '{' && c != '}' && c != '|';
}

std::string_view SchemeOf(std::string_view url) {
  for (std::string_view scheme : {"http://", "https://"}) {
    if (url.starts_with(scheme)) return scheme;
  }
  return {};
}

}  // namespace

PageFamily FamilyOf(Game game) {
  return game == Game::Loto6 || game == Game::MiniLoto ? PageFamily::Loto : PageFamily::Numbers;
}

std::optional<std::string> BaseUrlProblem(std::string_view url) {
  const std::string_view scheme = SchemeOf(url);
  if (scheme.empty()) return "the base URL \"" + std::string(url) + "\" does not begin with http:// or https://";
  const std::string_view rest = url.substr(scheme.size());
  if (rest.empty() || rest.front() == '/') return "the base URL \"" + std::string(url) + "\" names no host";
  if (!std::all_of(url.begin(), url.end(), SafeInLink)) {
    return "the base URL \"" + std::string(url) + "\" holds a character that cannot stand in a link";
  }
  if (url.find_first_of("?#") != std::string_view::npos) {
    return "the base URL \"" + std::string(url) + "\" has a query or fragment; it must name a folder";
  }
  return std::nullopt;
}

SiteLayout::SiteLayout(std::string_view base) : base_(base) {
  if (base_.empty() || base_.back() != '/') base_.push_back('/');
}

std::string SiteLayout::DirectoryPath(int copy) { return "dir" + std::to_string(copy + 1) + "/dir.cgi"; }

std::string SiteLayout::StatusPath(int copy) { return "svc" + std::to_string(copy + 1) + "/status.txt"; }

std::string SiteLayout::HistoryPath(Game game, int copy) {
  return "svc" + std::to_string(copy + 1) + "/" + std::string(kHistoryNames[static_cast<std::size_t>(GameIndex(game))]);
}

std::string SiteLayout::DownloadFolder(int copy) { return "dlf" + std::to_string(copy + 1) + "/"; }

// A base shorter than the prefix would leave part of a page's own name in
// it, so the folder's name is lengthened until the base and the folder fill
// the prefix; every bank page then has the same first 27 characters.
std::string SiteLayout::BankRoot() const {
  std::string root(kBankFolder);
  if (base_.size() + root.size() < kLinkPrefixLength) root.append(kLinkPrefixLength - base_.size() - root.size(), '_');
  return root;
}

std::string SiteLayout::IndexPagePath(PageFamily family, bool fallback) const {
  const std::string folder = family == PageFamily::Loto ? "/takarakuji/loto/" : "/takarakuji/numbers/";
  return BankRoot() + folder + (fallback ? "index2.html" : "index.html");
}

std::string SiteLayout::ResultPagePath(Game game) const {
  return BankRoot() + std::string(kResultPages[static_cast<std::size_t>(GameIndex(game))]);
}

std::string_view SiteLayout::ButtonImageLink(Game game) {
  return kButtonImages[static_cast<std::size_t>(GameIndex(game))];
}

std::string SiteLayout::LinkTo(std::string_view path) const { return Address(path).substr(kLinkPrefixLength); }

std::array<std::string, kSlotCount> SiteLayout::DirectorySlots() const {
  std::array<std::string, kSlotCount> slots;
  for (int copy = 0; copy < 2; ++copy) {
    const auto at = static_cast<std::size_t>(copy);
    slots[at] = Address(StatusPath(copy));
    for (Game game : kAllGames) {
      slots[2 + 2 * static_cast<std::size_t>(GameIndex(game)) + at] = Address(HistoryPath(game, copy));
    }
    slots[10 + at] = Address(IndexPagePath(PageFamily::Loto, copy == 1));
    slots[12 + at] = Address(IndexPagePath(PageFamily::Numbers, copy == 1));
  }
  return slots;
}

std::string SiteLayout::DirectoryEndpoint(int copy) const { return Address(DirectoryPath(copy)) + "?SFT=0"; }

std::size_t SiteLayout::LongestSlotLength() const {
  std::size_t longest = 0;
  for (const std::string& slot : DirectorySlots()) longest = std::max(longest, slot.size());
  return longest;
}

}  // namespace norv::service
