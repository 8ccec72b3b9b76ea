#pragma once
// The one rule for the work of `serve`'s own threads (the store watch, the
// scheduled update): nothing they throw ends the process. A failure is one
// line on stderr and the thread goes on serving.

#include <functional>
#include <iosfwd>
#include <string_view>

namespace norv::service {

// Runs `work`; whatever it throws is reported to `err` as
// "norv-service serve: <task> failed: <reason>; still serving".
void RunGuarded(std::string_view task, const std::function<void()>& work, std::ostream& err) noexcept;

}  // namespace norv::service
