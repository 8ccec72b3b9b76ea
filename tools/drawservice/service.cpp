#include "tools/drawservice/service.h"

#include <algorithm>

namespace norv::drawservice {

namespace {

constexpr std::size_t kLogLimit = 2000;
constexpr std::chrono::milliseconds kDefaultSlowDelay{2000};
constexpr std::uint64_t kMaxFillerBytes = std::uint64_t{64} * 1024 * 1024;

constexpr std::array<std::string_view, 5> kDownloadProducts{"birch", "cedar", "damson", "elder", "fennel"};

Reply Text(std::string body, int status = 200) {
  Reply reply;
  reply.status = status;
  reply.body = std::move(body);
  return reply;
}

Reply Html(std::string body) {
  Reply reply = Text(std::move(body));
  reply.contentType = "text/html; charset=UTF-8";
  return reply;
}

Reply NotFound() { return Html("<html><body><h1>404 Not Found</h1></body></html>\r\n"); }

std::optional<std::string> QueryValue(const Request& request, const std::string& key) {
  const auto found = request.query.find(key);
  if (found == request.query.end()) {
    return std::nullopt;
  }
  return found->second;
}

std::optional<int> Number(std::string_view text) {
  if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  return std::stoi(std::string(text));
}

std::optional<Game> ParseGame(std::string_view text) {
  constexpr std::array<std::string_view, 4> names{"lot6", "mini", "num4", "num3"};
  for (Game game : kAllGames) {
    if (text == names[static_cast<std::size_t>(GameIndex(game))] ||
        text == std::to_string(static_cast<int>(game))) {
      return game;
    }
  }
  return std::nullopt;
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return text;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

Reply Refused(std::string why) { return Text("refused: " + why + "\n", 400); }

}  // namespace

constexpr std::array<std::pair<std::string_view, FaultKind>, 8> kFaultNames{{
    {"404", FaultKind::NotFound},
    {"empty", FaultKind::Empty},
    {"truncated", FaultKind::Truncated},
    {"broken", FaultKind::Broken},
    {"wrongscheme", FaultKind::WrongScheme},
    {"slow", FaultKind::Slow},
    {"hang", FaultKind::Hang},
    {"lowercase", FaultKind::Lowercase},
}};

std::optional<FaultKind> ParseFaultKind(std::string_view name) {
  for (const auto& [text, kind] : kFaultNames) {
    if (text == name) {
      return kind;
    }
  }
  return std::nullopt;
}

std::string_view FaultKindName(FaultKind kind) {
  for (const auto& [text, k] : kFaultNames) {
    if (k == kind) {
      return text;
    }
  }
  return {};
}

std::string SplitUtf8TestText() {
  std::string text(1023, 'x');
  for (int i = 0; i < 300; ++i) {
    text += "第2160回本数字";
  }
  return text;
}

DrawService::DrawService(ServiceOptions options)
    : options_(std::move(options)), published_(options_.published), releases_(options_.releases) {}

void DrawService::SetOrigin(std::string origin) {
  std::lock_guard lock(mutex_);
  origin_ = std::move(origin);
}

std::string DrawService::Origin() const {
  std::lock_guard lock(mutex_);
  return origin_;
}

int DrawService::HistoryCount(Game game) const {
  std::lock_guard lock(mutex_);
  return HistoryCountLocked(game);
}

// The full history stays one draw behind the bank's pages, so a client that
// has read it finds the newest draw on the result page; a status override
// can hold it further back but never ahead of what is published.
int DrawService::HistoryCountLocked(Game game) const {
  const std::size_t i = static_cast<std::size_t>(GameIndex(game));
  const int count = statusCounts_[i].value_or(published_[i] - 1);
  return std::clamp(count, 0, published_[i]);
}

// A client that goes through a proxy names the whole address in its request
// line; pointed at this service as its proxy, it gets the same answers.
Request WithoutProxyForm(Request request) {
  constexpr std::string_view scheme = "http://";
  if (request.path.starts_with(scheme)) {
    const std::size_t slash = request.path.find('/', scheme.size());
    request.path = slash == std::string::npos ? "/" : request.path.substr(slash);
  }
  return request;
}

Reply DrawService::Handle(const Request& proxiedOrDirect) {
  const Request request = WithoutProxyForm(proxiedOrDirect);
  if (request.path.starts_with("/control/")) {
    return Control(request);
  }
  std::lock_guard lock(mutex_);
  Log(request);
  const auto found = faults_.find(request.path);
  if (found == faults_.end()) {
    return Route(request);
  }
  return ApplyFault(found->second, request);
}

Reply DrawService::ApplyFault(const Fault& fault, const Request& request) {
  if (fault.kind == FaultKind::NotFound) {
    Reply reply = NotFound();
    reply.status = 404;
    return reply;
  }
  if (fault.kind == FaultKind::Hang) {
    Reply reply;
    reply.delivery = Reply::Delivery::Hang;
    return reply;
  }
  Reply reply = Route(request);
  switch (fault.kind) {
    case FaultKind::Empty:
      reply.body.clear();
      reply.fillerBytes = 0;
      break;
    case FaultKind::Truncated:
      reply.body.resize(reply.body.size() / 2);
      break;
    case FaultKind::Broken:
      reply.delivery = Reply::Delivery::Broken;
      break;
    case FaultKind::WrongScheme:
      reply.body = ReplaceAll(std::move(reply.body), "http://", "https://");
      break;
    case FaultKind::Slow:
      reply.delay = fault.delay;
      break;
    case FaultKind::Lowercase:
      reply.body = LowerAscii(std::move(reply.body));
      break;
    case FaultKind::NotFound:
    case FaultKind::Hang:
      break;
  }
  return reply;
}

Reply DrawService::Route(const Request& request) {
  const std::string& path = request.path;
  for (std::size_t copy = 0; copy < 2; ++copy) {
    if (path == ServicePaths::kDirectory[copy]) {
      if (QueryValue(request, "SFT") != "0") {
        return Refused("the directory answers the query SFT=0 only");
      }
      return Html(DirectoryPage(DirectorySlots(origin_)));
    }
    const std::string maker(ServicePaths::kMakerFolder[copy]);
    if (path == maker + std::string(ServicePaths::kStatusFile)) {
      return Text(StatusText(CurrentStatus()));
    }
    for (Game game : kAllGames) {
      if (path == maker + std::string(HistoryFileName(game))) {
        return Text(HistoryText(game, HistoryCountLocked(game), options_.seed));
      }
    }
    const std::string folder(ServicePaths::kDownloadFolder[copy]);
    for (std::size_t i = 0; i < ServicePaths::kDownloadLists.size(); ++i) {
      if (path == folder + "/" + std::string(ServicePaths::kDownloadLists[i])) {
        return Text(DownloadList(origin_ + "/download/" + std::string(kDownloadProducts[i]) + ".html"));
      }
    }
  }
  const std::string bankRoot = BankRootFor(origin_);
  if (path.starts_with(bankRoot + "/")) {
    const std::string_view rest = std::string_view(path).substr(bankRoot.size());
    for (Family family : {Family::Loto, Family::Numbers}) {
      if (rest == IndexPagePath(family, false) || rest == IndexPagePath(family, true)) {
        return Html(IndexPage(family));
      }
    }
    for (Game game : kAllGames) {
      if (rest == ResultPagePath(game)) {
        return ResultPageReply(game);
      }
    }
  }
  if (path.starts_with("/download/")) {
    return Html("<html><body><p>Download page of the sample service: " + path.substr(10) + "</p></body></html>\r\n");
  }
  if (path.starts_with("/test/")) {
    return TestEndpoint(request);
  }
  Reply reply = NotFound();
  reply.status = 404;
  return reply;
}

Reply DrawService::ResultPageReply(Game game) const {
  const int newest = published_[static_cast<std::size_t>(GameIndex(game))];
  std::vector<SampleDraw> draws;
  for (int number = newest; number >= 1 && number > newest - options_.resultDraws; --number) {
    draws.push_back(MakeDraw(game, number, options_.seed));
  }
  return Html(ResultPage(game, draws));
}

Reply DrawService::TestEndpoint(const Request& request) {
  const std::string& path = request.path;
  if (path == "/test/lines") {
    return Text("12\r\n34\r\n");
  }
  if (path == "/test/utf8") {
    return Html(SplitUtf8TestText());
  }
  if (path == "/test/agent") {
    return Text(request.agent);
  }
  if (path == "/test/hang") {
    Reply reply;
    reply.delivery = Reply::Delivery::Hang;
    return reply;
  }
  if (path == "/test/big") {
    const std::optional<int> bytes = Number(QueryValue(request, "bytes").value_or(""));
    const std::optional<int> mib = Number(QueryValue(request, "mib").value_or(""));
    Reply reply;
    reply.contentType = "application/octet-stream";
    reply.fillerBytes = std::min<std::uint64_t>(kMaxFillerBytes, std::uint64_t(mib.value_or(0)) * 1024 * 1024 +
                                                                     std::uint64_t(bytes.value_or(0)));
    return reply;
  }
  Reply reply = NotFound();
  reply.status = 404;
  return reply;
}

StatusFields DrawService::CurrentStatus() const {
  StatusFields fields = releases_;
  for (Game game : kAllGames) {
    fields.drawCounts[static_cast<std::size_t>(GameIndex(game))] = HistoryCountLocked(game);
  }
  return fields;
}

Reply DrawService::Control(const Request& request) {
  std::lock_guard lock(mutex_);
  const std::string& path = request.path;
  if (path == "/control/publish") {
    const std::optional<Game> game = ParseGame(QueryValue(request, "game").value_or(""));
    const std::optional<int> count = Number(QueryValue(request, "count").value_or("1"));
    if (!game || !count) {
      return Refused("publish?game=1..4|lot6|mini|num4|num3[&count=N]");
    }
    int& published = published_[static_cast<std::size_t>(GameIndex(*game))];
    published = std::min(kMaxDrawNumber, published + *count);
    return Text("published=" + std::to_string(published) + " history=" + std::to_string(HistoryCountLocked(*game)) +
                "\n");
  }
  if (path == "/control/fault") {
    const std::string target = QueryValue(request, "path").value_or("");
    const std::string kindName = QueryValue(request, "kind").value_or("");
    if (target.empty() || !target.starts_with("/") || target.starts_with("/control/")) {
      return Refused("fault?path=/...&kind=...");
    }
    if (kindName == "none") {
      faults_.erase(target);
    } else {
      const std::optional<FaultKind> kind = ParseFaultKind(kindName);
      const std::optional<int> ms = Number(QueryValue(request, "ms").value_or(""));
      if (!kind) {
        return Refused("kind=404|empty|truncated|broken|wrongscheme|slow|hang|lowercase|none");
      }
      faults_[target] = Fault{*kind, ms ? std::chrono::milliseconds(*ms) : kDefaultSlowDelay};
    }
    ReleaseHolds();
    return Text("ok\n");
  }
  if (path == "/control/reset") {
    ResetLocked();
    return Text("ok\n");
  }
  if (path == "/control/status") {
    constexpr std::array<std::string_view, 4> countKeys{"lot6", "mini", "num4", "num3"};
    for (Game game : kAllGames) {
      const std::size_t i = static_cast<std::size_t>(GameIndex(game));
      if (const auto value = QueryValue(request, std::string(countKeys[i]))) {
        statusCounts_[i] = *value == "auto" ? std::nullopt : Number(*value);
      }
    }
    const std::array<std::pair<std::string_view, int*>, 6> releaseKeys{{{"norv", &releases_.norvale},
                                                                          {"birch", &releases_.birch},
                                                                          {"cedar", &releases_.cedar},
                                                                          {"damson", &releases_.damson},
                                                                          {"elder", &releases_.elder},
                                                                          {"fennel", &releases_.fennel}}};
    for (const auto& [key, field] : releaseKeys) {
      if (const auto value = Number(QueryValue(request, std::string(key)).value_or(""))) {
        *field = *value;
      }
    }
    if (const auto mark = QueryValue(request, "mark"); mark && mark->size() == 1) {
      releases_.mark = mark->front();
    }
    return Text(StatusText(CurrentStatus()));
  }
  if (path == "/control/log") {
    std::string text;
    for (const std::string& line : log_) {
      text += line + "\n";
    }
    if (QueryValue(request, "clear") == "1") {
      log_.clear();
    }
    return Text(text);
  }
  if (path == "/control/state") {
    return Text(StateText());
  }
  Reply reply = Refused("control: publish, fault, reset, status, log, state");
  reply.status = 404;
  return reply;
}

std::string DrawService::StateText() const {
  std::string text = "origin " + origin_ + "\n";
  for (Game game : kAllGames) {
    const std::size_t i = static_cast<std::size_t>(GameIndex(game));
    text += std::string(GameName(game)) + " published " + std::to_string(published_[i]) + " history " +
            std::to_string(HistoryCountLocked(game)) + "\n";
  }
  text += "status " + StatusText(CurrentStatus());
  for (const auto& [path, fault] : faults_) {
    text += "fault " + path + " " + std::string(FaultKindName(fault.kind)) + "\n";
  }
  return text;
}

void DrawService::Log(const Request& request) {
  log_.push_back(request.target + "\t" + request.agent);
  if (log_.size() > kLogLimit) {
    log_.pop_front();
  }
}

void DrawService::ResetLocked() {
  published_ = options_.published;
  statusCounts_ = {};
  releases_ = options_.releases;
  faults_.clear();
  log_.clear();
  ReleaseHolds();
}

void DrawService::ReleaseHolds() {
  ++generation_;
  released_.notify_all();
}

void DrawService::Hold(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  const std::uint64_t start = generation_;
  released_.wait_for(lock, limit, [&] { return shutdown_ || generation_ != start; });
}

void DrawService::Shutdown() {
  std::lock_guard lock(mutex_);
  shutdown_ = true;
  ReleaseHolds();
}

}  // namespace norv::drawservice
