#pragma once
// Tells when anything in the store's folder changed (a file written, renamed
// into place or removed), so that `serve` publishes again after an update.

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <thread>

#include "service/unique_fd.h"

namespace norv::service {

class StoreWatch {
 public:
  // `changed` runs on the watch's own thread, once per batch of changes.
  // Throws std::runtime_error when the folder cannot be watched.
  StoreWatch(const std::filesystem::path& store, std::function<void()> changed);
  ~StoreWatch();
  StoreWatch(const StoreWatch&) = delete;
  StoreWatch& operator=(const StoreWatch&) = delete;

 private:
  void Run();

  std::function<void()> changed_;
  UniqueFd inotify_;
  UniqueFd stop_;
  std::thread thread_;
};

}  // namespace norv::service
