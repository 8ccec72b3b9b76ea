#pragma once
// The portable half of the HTTP fetch: how to reach the network, the agent
// name, and how the chunks of a reply become the text the callers get.

#include <cstddef>
#include <string>
#include <string_view>

namespace norv {

struct Settings;

inline constexpr std::size_t kFetchChunkBytes = 1024;
// Far above any page or history the service sends; a longer reply is refused.
inline constexpr std::size_t kMaxReplyBytes = std::size_t{16} * 1024 * 1024;

struct InternetAccess {
  enum class Mode { Preconfigured, NamedProxy, Direct };
  Mode mode = Mode::Preconfigured;
  std::string proxy;  // "address:port", only for NamedProxy
};

// From the settings ldf, lpx, lpa and lpp.
InternetAccess AccessFromSettings(bool ldf, bool lpx, std::string_view lpa, std::string_view lpp);
InternetAccess AccessFromSettings(const Settings& settings);

// The executable's file name without its extension, as the user agent.
std::string AgentFromExecutablePath(std::string_view path);

class ReplyCollector {
 public:
  explicit ReplyCollector(std::size_t limit = kMaxReplyBytes) : limit_(limit) {}

  // False once the reply has grown past the limit: stop reading then.
  bool Append(std::string_view chunk);
  bool TooLarge() const { return tooLarge_; }
  std::size_t Size() const { return bytes_.size(); }

  // The reply as the callers see it: one line, valid UTF-8 without zero
  // bytes when `fromUtf8`, else every other byte as it came; empty when the
  // reply was too large.
  std::string Finish(bool fromUtf8) const;

 private:
  std::size_t limit_;
  bool tooLarge_ = false;
  std::string bytes_;
};

}  // namespace norv
