#pragma once
// The bank dates its draws in the Japanese era: 令和8年1月5日, 令和元年5月1日,
// 平成6年10月7日. The service keeps ISO dates.

#include <optional>
#include <string>
#include <string_view>

namespace norv::service {

// "2026-01-05" for "令和8年1月5日" (digits in either width, blanks around the
// parts allowed); nothing for a text that is not one real date of the 平成 or
// 令和 era, the eras the draws span.
std::optional<std::string> IsoDateFromEra(std::string_view text);

}  // namespace norv::service
