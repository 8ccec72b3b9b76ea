#pragma once
// What the readers and the full refresh of one check share: the fetcher, the
// address table, the data folder and the checker's stop request.

#include <functional>
#include <stop_token>
#include <string>

#include "acquisition/fetch.h"
#include "acquisition/url_directory.h"

namespace norv {

struct AcquisitionContext {
  UrlFetcher& fetcher;
  const UrlTable& urls;
  std::string dataFolder;  // ends with a path separator
  std::stop_token stop;
};

// Receives a failure as (code, number): the readers' event code and sub-code,
// or the full refresh's program message code with number 0.
using FailureSink = std::function<void(int code, int number)>;

}  // namespace norv
