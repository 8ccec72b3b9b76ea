#pragma once
// The update tool's downloads over WinInet, with the server's certificate
// checked as WinInet does by default. Unlike the program's text fetch it
// keeps every byte, stops the moment a body passes its stated size, and gives
// up on a stall or on an overall limit, so that an endless or slow reply
// cannot hold the tool.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace norv {

enum class DownloadEnd { Complete, Failed, TooLong, Stalled, TimedOut, Cancelled };

struct DownloadLimits {
  std::uint64_t maxBytes = 0;
  std::chrono::milliseconds stall{30000};
  std::chrono::milliseconds total{60000};
};

// Takes each piece as it arrives, from another thread but never after
// DownloadUrl has returned; false ends the download as failed.
using DownloadSink = std::function<bool(std::string_view piece)>;

// Blocks until the body has arrived whole (an HTTP 200 reply), or the
// download ended otherwise. `received` counts the bytes taken; setting
// `cancel` ends the download within a fraction of a second.
DownloadEnd DownloadUrl(const std::string& url, const DownloadLimits& limits, const DownloadSink& sink,
                        const std::atomic<bool>& cancel, std::atomic<std::uint64_t>& received);

// A small text (a manifest, a download list): every byte, or nothing. A
// body over `maxBytes` ends as TooLong.
struct SmallText {
  DownloadEnd end = DownloadEnd::Failed;
  std::string text;
};
SmallText FetchSmallText(const std::string& url, std::uint64_t maxBytes);

}  // namespace norv
