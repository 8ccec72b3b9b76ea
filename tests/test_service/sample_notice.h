#pragma once
// The notice on the pages the test service serves with made-up draws, so that
// nobody mistakes them for results: at the top of the page, and before the
// table of every made-up draw. The readers pass over it.

#include <string>

namespace norv::service {

// The page with the notice at the top of its body.
std::string WithSampleNotice(std::string page);

// A result page with the notice before the table of every draw numbered
// `firstSample` or later, and at the top when there is any such draw.
std::string WithSampleNotices(std::string page, int firstSample);

}  // namespace norv::service
