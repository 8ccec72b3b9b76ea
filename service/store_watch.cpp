#include "service/store_watch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace norv::service {

namespace {

// Changes that come within this time of each other make one batch: an update
// writes several files one after the other.
constexpr int kSettleMs = 200;

bool Drain(int fd) {
  char buffer[4096];
  bool any = false;
  while (::read(fd, buffer, sizeof buffer) > 0) any = true;
  return any;
}

}  // namespace

StoreWatch::StoreWatch(const std::filesystem::path& store, std::function<void()> changed)
    : changed_(std::move(changed)) {
  inotify_ = UniqueFd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
  stop_ = UniqueFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  constexpr std::uint32_t kEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE;
  if (!inotify_.valid() || !stop_.valid() || ::inotify_add_watch(inotify_.get(), store.c_str(), kEvents) < 0) {
    const std::string reason = std::strerror(errno);
    throw std::runtime_error("cannot watch the store " + store.string() + ": " + reason);
  }
  thread_ = std::thread([this] { Run(); });
}

StoreWatch::~StoreWatch() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(stop_.get(), &one, sizeof one);
  thread_.join();
}

void StoreWatch::Run() {
  pollfd fds[2] = {{inotify_.get(), POLLIN, 0}, {stop_.get(), POLLIN, 0}};
  for (;;) {
    if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
    if ((fds[1].revents & POLLIN) != 0) return;
    if ((fds[0].revents & POLLIN) == 0 || !Drain(inotify_.get())) continue;
    // Wait for the batch to settle, still ready to stop.
    for (;;) {
      const int ready = ::poll(fds, 2, kSettleMs);
      if (ready > 0 && (fds[1].revents & POLLIN) != 0) return;
      if (ready <= 0) break;
      Drain(inotify_.get());
    }
    changed_();
  }
}

}  // namespace norv::service
