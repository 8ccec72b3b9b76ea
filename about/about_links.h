#pragma once
// The pages the about box links to: the product's support page (its name)
// and the maker's home page (its address line).

#include <string_view>

namespace norv::links {

inline constexpr std::string_view kSupportPage = "https://www.pellmark.example/norvale/";
inline constexpr std::string_view kMakerHomePage = "https://www.pellmark.example/";

}  // namespace norv::links
