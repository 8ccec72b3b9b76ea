#pragma once
// What the readers and the full refresh of one check share: the fetcher, the
// address table, the data folder, the checker's stop request and the file
// steps the data files are written with.

#include <functional>
#include <stop_token>
#include <string>

#include "acquisition/fetch.h"
#include "acquisition/url_directory.h"
#include "store/file_system.h"

namespace norv {

struct AcquisitionContext {
  UrlFetcher& fetcher;
  const UrlTable& urls;
  std::string dataFolder;  // ends with a path separator
  std::stop_token stop;
  FileSystem& files = LocalFileSystem();
};

// Receives a failure as (code, number): the readers' event code and sub-code,
// or the full refresh's program message code with number 0.
using FailureSink = std::function<void(int code, int number)>;

}  // namespace norv
