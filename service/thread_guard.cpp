#include "service/thread_guard.h"

#include <exception>
#include <ostream>
#include <string>

namespace norv::service {

namespace {

std::string CurrentReason() {
  try {
    throw;
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "unknown error";
  }
}

}  // namespace

void RunGuarded(std::string_view task, const std::function<void()>& work, std::ostream& err) noexcept {
  try {
    work();
  } catch (...) {
    try {
      err << "norv-service serve: " << task << " failed: " << CurrentReason() << "; still serving\n" << std::flush;
    } catch (...) {
      // Even the log may fail (a closed stderr); the thread still goes on.
    }
  }
}

}  // namespace norv::service
