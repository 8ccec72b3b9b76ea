#pragma once
// One run of `update` on a store, for `serve --update-every`: reads the
// bank's newest per-draw files and adds what the store lacks. Returns the
// exit status `update` would give; what a person must read goes to `err`.

#include <filesystem>
#include <iosfwd>
#include <string_view>

namespace norv::service {

int RunUpdateOnce(const std::filesystem::path& store, std::string_view bank, std::ostream& err);

}  // namespace norv::service
