#pragma once
// Tells when anything in the store's folder changed (a file written, renamed
// into place or removed), so that `serve` publishes again after an update.

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <thread>

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
  int inotify_ = -1;
  int stop_ = -1;
  std::thread thread_;
};

}  // namespace norv::service
