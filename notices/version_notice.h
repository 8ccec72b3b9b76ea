#pragma once
// Announcing a newer release of this program or of a companion once: an
// installed product is offered the maker's update tool, a product that is not
// installed the address of its download page.

#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>

#include "acquisition/fetch.h"
#include "settings/products.h"
#include "settings/settings_storage.h"

namespace norv {

enum class NoticeAnswer { Yes, No, Cancel };

class NoticeHost {
 public:
  virtual ~NoticeHost() = default;
  // Yes, No and Cancel with the information icon; waits for the answer.
  virtual NoticeAnswer AskYesNoCancel(std::string_view caption, std::string_view text) = 0;
  // The update tool with its parameters, or an address without any, through
  // the shell's default action. The result is not examined.
  virtual void OpenTarget(const std::string& target, const std::string& parameters) = 0;
  // Closes the main window as its close button does; from the checker thread
  // a synchronous call on the window thread.
  virtual void CloseMainWindow() = 0;
};

// Address of a download list ("bc4_dlf.new" …) in the primary folder, or in
// the secondary one.
using DownloadListLocator = std::function<std::string(std::string_view fileName, bool secondary)>;

// A product with an update code and, but for this program, a download list.
using VersionProduct = ProductInfo;

// Products 2 … 7; nullptr for any other number.
const VersionProduct* FindVersionProduct(int product);
std::string_view VersionProductName(int product);

// 51 is shown as "5.1", 120 as "12.0".
std::string ShownRelease(int number);
std::string UpdateOfferText(int product, int number);
std::string DownloadOfferText(int product, int number);

// The download list is network input and its text goes to the shell: only a
// plain web address is taken; anything else counts as an empty list.
std::optional<std::string> DownloadPageAddress(std::string_view listText);

class VersionNotices {
 public:
  VersionNotices(NoticeHost& host, SettingsStorage& storage, UrlFetcher& fetcher, DownloadListLocator listAddress,
                 std::string programFolder)
      : host_(host),
        storage_(storage),
        fetcher_(fetcher),
        listAddress_(std::move(listAddress)),
        programFolder_(std::move(programFolder)) {}

  // Runs on the checker thread and holds it while the box is open. `fallback`:
  // the status file came from its fallback address, so the download list is
  // taken from the secondary folder.
  void ShowVersionNotice(bool installed, int product, int number, bool fallback,
                         const std::stop_token& stop = {}) const;

  // The tray item "Vivi Zidivaz IV".
  void N52Click() const;

 private:
  void OfferUpdate(const VersionProduct& product, int number) const;
  void OfferDownload(const VersionProduct& product, int number, bool fallback, const std::stop_token& stop) const;
  std::string FetchDownloadList(const VersionProduct& product, bool fallback, const std::stop_token& stop) const;
  void StartUpdateTool(std::string_view updateCode) const;
  void StoreAnnounced(int product, int number) const;

  NoticeHost& host_;
  SettingsStorage& storage_;
  UrlFetcher& fetcher_;
  DownloadListLocator listAddress_;
  std::string programFolder_;
};

}  // namespace norv
