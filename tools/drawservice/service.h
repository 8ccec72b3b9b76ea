#pragma once
// The draw service's behaviour without the network: one request in, one
// reply out. The HTTP adapter only carries requests and replies.

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "tools/drawservice/pages.h"
#include "tools/drawservice/sample_data.h"

namespace norv::drawservice {

struct Request {
  std::string path;
  std::map<std::string, std::string> query;
  std::string target;  // path and query as sent, for the request log
  std::string agent;
};

struct Reply {
  enum class Delivery {
    Whole,
    Broken,  // announces the whole length, sends half, closes the connection
    Hang,    // accepts the request and never answers
  };
  int status = 200;
  std::string contentType = "text/plain; charset=UTF-8";
  std::string body;
  Delivery delivery = Delivery::Whole;
  std::chrono::milliseconds delay{0};
  std::uint64_t fillerBytes = 0;  // when set, the body is this many bytes of 'a'
};

enum class FaultKind { NotFound, Empty, Truncated, Broken, WrongScheme, Slow, Hang, Lowercase };
std::optional<FaultKind> ParseFaultKind(std::string_view name);
std::string_view FaultKindName(FaultKind kind);

struct ServiceOptions {
  std::uint64_t seed = kDefaultSeed;
  std::array<int, 4> published{DefaultPublishedCount(Game::Loto6), DefaultPublishedCount(Game::MiniLoto),
                               DefaultPublishedCount(Game::Numbers4), DefaultPublishedCount(Game::Numbers3)};
  StatusFields releases;  // the mark and the release numbers; draw counts follow the data
  int resultDraws = 3;    // draws shown on a result page, newest first
};

// 1023 ASCII bytes, then Japanese text: 1024-byte reads cut characters in two,
// the first read right after the first byte of one.
std::string SplitUtf8TestText();

class DrawService {
 public:
  explicit DrawService(ServiceOptions options);

  // The service's own address, "http://127.0.0.1:PORT", once it is known.
  void SetOrigin(std::string origin);
  std::string Origin() const;

  // Requests in proxy form ("http://host/path") are answered like direct ones.
  Reply Handle(const Request& request);

  // Holds a slow or hanging reply back for at most `limit`; ends early when
  // the faults change, on reset and on shutdown.
  void Hold(std::chrono::milliseconds limit);
  void Shutdown();

  // How many draws the full history and the status file hold.
  int HistoryCount(Game game) const;

 private:
  struct Fault {
    FaultKind kind;
    std::chrono::milliseconds delay;
  };

  Reply Route(const Request& request);
  Reply Control(const Request& request);
  Reply TestEndpoint(const Request& request);
  Reply ApplyFault(const Fault& fault, const Request& request);
  Reply ResultPageReply(Game game) const;
  StatusFields CurrentStatus() const;
  std::string StateText() const;
  void Log(const Request& request);
  void ResetLocked();
  void ReleaseHolds();
  int HistoryCountLocked(Game game) const;

  const ServiceOptions options_;
  mutable std::mutex mutex_;
  std::condition_variable released_;
  std::uint64_t generation_ = 0;
  bool shutdown_ = false;
  std::string origin_ = "http://127.0.0.1:0";
  std::array<int, 4> published_;
  std::array<std::optional<int>, 4> statusCounts_;
  StatusFields releases_;
  std::map<std::string, Fault> faults_;
  std::deque<std::string> log_;
};

}  // namespace norv::drawservice
