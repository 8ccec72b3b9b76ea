#include "tests/test_service/test_controls.h"

#include <algorithm>

#include "base/text_basics.h"
#include "service/site_layout.h"
#include "tests/test_service/sample_notice.h"

namespace norv::service {

namespace {

constexpr std::size_t kLogLimit = 2000;
constexpr std::chrono::milliseconds kDefaultSlowDelay{2000};
constexpr std::chrono::seconds kHangLimit{300};
constexpr std::uint64_t kMaxFillerBytes = std::uint64_t{64} * 1024 * 1024;
constexpr std::string_view kHtml = "text/html; charset=UTF-8";
constexpr std::array<std::string_view, 4> kGameKeys{"lot6", "mini", "num4", "num3"};

constexpr std::size_t kHugeReplyBytes = std::size_t{20} * 1024 * 1024;

constexpr std::array<std::pair<std::string_view, FaultKind>, 14> kFaultNames{{
    {"404", FaultKind::NotFound},
    {"empty", FaultKind::Empty},
    {"truncated", FaultKind::Truncated},
    {"broken", FaultKind::Broken},
    {"wrongscheme", FaultKind::WrongScheme},
    {"slow", FaultKind::Slow},
    {"hang", FaultKind::Hang},
    {"lowercase", FaultKind::Lowercase},
    {"letter", FaultKind::Letter},
    {"emptycells", FaultKind::EmptyCells},
    {"zerobyte", FaultKind::ZeroByte},
    {"oneshort", FaultKind::OneShort},
    {"nines", FaultKind::Nines},
    {"huge", FaultKind::Huge},
}};

http::Reply Refused(const std::string& why) { return http::TextReply(400, "refused: " + why + "\n"); }

std::optional<std::string> Value(const Query& query, const std::string& key) {
  const auto found = query.find(key);
  if (found == query.end()) return std::nullopt;
  return found->second;
}

std::optional<int> Number(std::string_view text) { return ParseDigits(text); }

std::optional<Game> ParseGame(std::string_view text) {
  for (Game game : kAllGames) {
    if (text == kGameKeys[static_cast<std::size_t>(GameIndex(game))] ||
        text == std::to_string(static_cast<int>(game))) {
      return game;
    }
  }
  return std::nullopt;
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string Unescaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out.push_back(' ');
    } else if (text[i] == '%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 && HexDigitValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// The reply with a new body: its ready-made head no longer fits.
http::Reply WithBody(http::Reply reply, std::string body) {
  reply.head.reset();
  reply.bodyFile.reset();
  reply.body = std::make_shared<const std::string>(std::move(body));
  return reply;
}

std::string BodyOf(const http::Reply& reply) { return reply.body ? *reply.body : std::string(); }

// The number and bonus cells of the first (newest) draw table emptied, as a
// page looks while the bank is still filling in a draw it has announced.
std::string WithoutNewestNumbers(std::string page) {
  const std::size_t table = page.find("<table class=\"result\">");
  const std::size_t end = page.find("</table>", table);
  if (table == std::string::npos || end == std::string::npos) return page;
  std::string part = page.substr(table, end - table);
  for (std::string_view cell : {"class=\"number\"><strong>", "class=\"bonus\"><strong>"}) {
    for (std::size_t at = part.find(cell); at != std::string::npos; at = part.find(cell, at + 1)) {
      const std::size_t from = at + cell.size();
      part.erase(from, part.find("</strong>", from) - from);
    }
  }
  return page.replace(table, end - table, part);
}

// One character less: the last one of a directory's body, or one in the middle.
std::string OneCharacterShort(std::string body) {
  const std::size_t close = body.find("</BODY>");
  const std::size_t at = close != std::string::npos && close > 0 ? close - 1 : body.size() / 2;
  if (at < body.size()) body.erase(at, 1);
  return body;
}

std::string WithZeroByte(std::string body) {
  if (!body.empty()) body[body.size() / 2] = '\0';
  return body;
}

// The status file's four draw counts (positions 33 to 48) all at 9999.
std::string WithNineCounts(std::string status) {
  if (status.size() >= 48) status.replace(32, 16, "9999999999999999");
  return status;
}

std::string PaddedToHugeSize(std::string body) {
  body.resize(std::max(body.size(), kHugeReplyBytes), ' ');
  return body;
}

}  // namespace

std::optional<FaultKind> ParseFaultKind(std::string_view name) {
  for (const auto& [text, kind] : kFaultNames) {
    if (text == name) return kind;
  }
  return std::nullopt;
}

std::string_view FaultKindName(FaultKind kind) {
  for (const auto& [text, k] : kFaultNames) {
    if (k == kind) return text;
  }
  return {};
}

std::string SplitUtf8TestText() {
  std::string text(1023, 'x');
  for (int i = 0; i < 300; ++i) text += "第2160回本数字";
  return text;
}

Query ParseQuery(std::string_view query) {
  Query values;
  while (!query.empty()) {
    const std::size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    const std::size_t equals = pair.find('=');
    if (!pair.empty()) {
      values[Unescaped(pair.substr(0, equals))] =
          equals == std::string_view::npos ? std::string() : Unescaped(pair.substr(equals + 1));
    }
    query.remove_prefix(amp == std::string_view::npos ? query.size() : amp + 1);
  }
  return values;
}

TestControls::TestControls(std::uint64_t seed) : seed_(seed) {}

void TestControls::SetHooks(Hooks hooks) {
  std::lock_guard lock(mutex_);
  hooks_ = std::move(hooks);
}

void TestControls::MarkSamples(std::vector<SiteFile>& files, const SiteLayout& layout) const {
  std::lock_guard lock(mutex_);
  const bool any = std::any_of(served_.extra.begin(), served_.extra.end(), [](int extra) { return extra > 0; });
  if (!any) return;
  for (SiteFile& file : files) {
    for (PageFamily family : {PageFamily::Loto, PageFamily::Numbers}) {
      if (file.path == layout.IndexPagePath(family, false) || file.path == layout.IndexPagePath(family, true)) {
        file.body = std::make_shared<const std::string>(WithSampleNotice(*file.body));
      }
    }
    for (Game game : kAllGames) {
      const auto i = static_cast<std::size_t>(GameIndex(game));
      if (served_.extra[i] > 0 && file.path == layout.ResultPagePath(game)) {
        file.body = std::make_shared<const std::string>(WithSampleNotices(*file.body, served_.storeCounts[i] + 1));
      }
    }
  }
}

void TestControls::Apply(SiteInput& input, std::string_view origin) {
  std::lock_guard lock(mutex_);
  origin_ = origin;
  served_.configured = input.releases;
  for (Game game : kAllGames) {
    const auto i = static_cast<std::size_t>(GameIndex(game));
    GameSource& source = input.games[i];
    served_.storeCounts[i] = static_cast<int>(source.draws.size());
    served_.extra[i] = std::min(served_.extra[i], kHighestDrawNumber - served_.storeCounts[i]);
    for (int n = 0; n < served_.extra[i]; ++n) {
      const std::string date = source.draws.empty() ? std::string(FirstDrawDate(game))
                                                    : NextDrawDate(game, source.draws.back().date);
      source.draws.push_back(MakeSampleDraw(game, static_cast<int>(source.draws.size()) + 1, date, seed_));
    }
    source.historyCount = served_.historyCounts[i];
  }
  if (served_.releases) input.releases = *served_.releases;
  if (served_.mark) input.mark = *served_.mark;
  if (input.downloadLists.empty()) {
    for (const DownloadProduct& product : kDownloadProducts) {
      input.downloadLists.emplace_back(product.fileName,
                                       std::string(origin) + "/download/" + std::string(product.name) + ".html");
    }
  }
}

http::Reply TestControls::Handle(const http::Request& request, const SiteServer& site) {
  if (request.path.starts_with("/control/")) return Control(request, ParseQuery(request.query), site);
  std::optional<Fault> fault;
  {
    std::lock_guard lock(mutex_);
    Log(request);
    if (const auto found = faults_.find(request.path); found != faults_.end()) fault = found->second;
  }
  if (fault) return Faulted(*fault, request, site);
  if (request.path.starts_with("/test/")) return TestEndpoint(request, ParseQuery(request.query));
  if (request.path.starts_with("/download/")) {
    return http::TextReply(200, "<html><body><p>Download page of the test service: " + request.path.substr(10) +
                                    "</p></body></html>\r\n", kHtml);
  }
  return site.Handle(request);
}

http::Reply TestControls::Faulted(const Fault& fault, const http::Request& request, const SiteServer& site) const {
  if (fault.kind == FaultKind::NotFound) return NotFoundReply();
  if (fault.kind == FaultKind::Hang) {
    http::Reply reply = http::TextReply(503, "released\n");
    reply.hold = kHangLimit;
    return reply;
  }
  http::Reply reply = request.path.starts_with("/test/") ? TestEndpoint(request, ParseQuery(request.query))
                                                         : site.Handle(request);
  switch (fault.kind) {
    case FaultKind::Empty:
      reply.fillerBytes = 0;
      return WithBody(std::move(reply), "");
    case FaultKind::Truncated: {
      std::string body = BodyOf(reply);
      body.resize(body.size() / 2);
      return WithBody(std::move(reply), std::move(body));
    }
    case FaultKind::Broken:
      reply.broken = true;
      return reply;
    case FaultKind::WrongScheme:
      return WithBody(std::move(reply), ReplaceAll(BodyOf(reply), "http://", "https://"));
    case FaultKind::Slow:
      reply.hold = fault.delay;
      return reply;
    case FaultKind::Lowercase:
      return WithBody(std::move(reply), LowerAscii(BodyOf(reply)));
    case FaultKind::Letter: {
      // One copy of the status file can then fail its validity mark alone.
      std::string body = BodyOf(reply);
      if (!body.empty()) body.front() = 'C';
      return WithBody(std::move(reply), std::move(body));
    }
    case FaultKind::EmptyCells:
      return WithBody(std::move(reply), WithoutNewestNumbers(BodyOf(reply)));
    case FaultKind::ZeroByte:
      return WithBody(std::move(reply), WithZeroByte(BodyOf(reply)));
    case FaultKind::OneShort:
      return WithBody(std::move(reply), OneCharacterShort(BodyOf(reply)));
    case FaultKind::Nines:
      return WithBody(std::move(reply), WithNineCounts(BodyOf(reply)));
    case FaultKind::Huge:
      return WithBody(std::move(reply), PaddedToHugeSize(BodyOf(reply)));
    case FaultKind::NotFound:
    case FaultKind::Hang:
      break;
  }
  return reply;
}

http::Reply TestControls::TestEndpoint(const http::Request& request, const Query& query) const {
  const std::string& path = request.path;
  if (path == "/test/lines") return http::TextReply(200, "12\r\n34\r\n");
  if (path == "/test/utf8") return http::TextReply(200, SplitUtf8TestText(), kHtml);
  if (path == "/test/agent") return http::TextReply(200, request.userAgent);
  if (path == "/test/hang") {
    http::Reply reply = http::TextReply(503, "released\n");
    reply.hold = kHangLimit;
    return reply;
  }
  if (path == "/test/big") {
    const std::uint64_t mib = static_cast<std::uint64_t>(Number(Value(query, "mib").value_or("")).value_or(0));
    const std::uint64_t bytes = static_cast<std::uint64_t>(Number(Value(query, "bytes").value_or("")).value_or(0));
    http::Reply reply;
    reply.contentType = "application/octet-stream";
    reply.fillerBytes = std::min(kMaxFillerBytes, mib * 1024 * 1024 + bytes);
    if (reply.fillerBytes == 0) reply.body = std::make_shared<const std::string>();
    return reply;
  }
  return NotFoundReply();
}

http::Reply TestControls::Control(const http::Request& request, const Query& query, const SiteServer& site) {
  const std::string& path = request.path;
  if (path == "/control/publish") return Publish(query);
  if (path == "/control/fault") return SetFault(query);
  if (path == "/control/status") return SetStatus(query, site);
  if (path == "/control/reset") {
    {
      std::lock_guard lock(mutex_);
      served_.extra = {};
      served_.historyCounts = {};
      served_.releases.reset();
      served_.mark.reset();
      faults_.clear();
      log_.clear();
    }
    Republish();
    ReleaseHolds();
    return http::TextReply(200, "ok\n");
  }
  if (path == "/control/log") {
    std::lock_guard lock(mutex_);
    std::string text;
    for (const std::string& line : log_) text += line + "\n";
    if (Value(query, "clear") == "1") log_.clear();
    return http::TextReply(200, std::move(text));
  }
  if (path == "/control/state") return http::TextReply(200, StateText(site));
  http::Reply reply = Refused("control: publish, fault, reset, status, log, state");
  reply.status = 404;
  return reply;
}

http::Reply TestControls::Publish(const Query& query) {
  const std::optional<Game> game = ParseGame(Value(query, "game").value_or(""));
  const std::optional<int> count = Number(Value(query, "count").value_or("1"));
  if (!game || !count) return Refused("publish?game=1..4|lot6|mini|num4|num3[&count=N]");
  const auto i = static_cast<std::size_t>(GameIndex(*game));
  {
    std::lock_guard lock(mutex_);
    // Capped before it is added: a count near INT_MAX must not overflow.
    const int room = std::max(0, kHighestDrawNumber - served_.storeCounts[i] - served_.extra[i]);
    served_.extra[i] += std::min(*count, room);
  }
  Republish();
  std::lock_guard lock(mutex_);
  const int published = served_.storeCounts[i] + served_.extra[i];
  const int history = std::clamp(served_.historyCounts[i].value_or(published - 1), 0, published);
  return http::TextReply(200, "published=" + std::to_string(published) + " history=" + std::to_string(history) + "\n");
}

http::Reply TestControls::SetFault(const Query& query) {
  const std::string target = Value(query, "path").value_or("");
  const std::string kindName = Value(query, "kind").value_or("");
  if (target.empty() || !target.starts_with("/") || target.starts_with("/control/")) {
    return Refused("fault?path=/...&kind=...");
  }
  {
    std::lock_guard lock(mutex_);
    if (kindName == "none") {
      faults_.erase(target);
    } else {
      const std::optional<FaultKind> kind = ParseFaultKind(kindName);
      if (!kind) return Refused(
            "kind=404|empty|truncated|broken|wrongscheme|slow|hang|lowercase|letter|emptycells|zerobyte|oneshort|"
            "nines|huge|none");
      const std::optional<int> ms = Number(Value(query, "ms").value_or(""));
      faults_[target] = Fault{*kind, ms ? std::chrono::milliseconds(*ms) : kDefaultSlowDelay};
    }
  }
  ReleaseHolds();
  return http::TextReply(200, "ok\n");
}

http::Reply TestControls::SetStatus(const Query& query, const SiteServer& site) {
  {
    std::lock_guard lock(mutex_);
    for (Game game : kAllGames) {
      const auto i = static_cast<std::size_t>(GameIndex(game));
      if (const auto value = Value(query, std::string(kGameKeys[i]))) {
        served_.historyCounts[i] = *value == "auto" ? std::nullopt : Number(*value);
      }
    }
    Releases releases = served_.releases.value_or(served_.configured);
    bool releaseGiven = false;
    const std::array<std::pair<std::string_view, int*>, 6> keys{{{"norv", &releases.norvale},
                                                                 {"birch", &releases.birch},
                                                                 {"cedar", &releases.cedar},
                                                                 {"damson", &releases.damson},
                                                                 {"elder", &releases.elder},
                                                                 {"fennel", &releases.fennel}}};
    for (const auto& [key, field] : keys) {
      if (const auto value = Number(Value(query, std::string(key)).value_or(""))) {
        *field = std::min(*value, 9999);
        releaseGiven = true;
      }
    }
    if (releaseGiven) served_.releases = releases;
    if (const auto mark = Value(query, "mark"); mark && mark->size() == 1) served_.mark = mark->front();
  }
  Republish();
  http::Request status;
  status.path = "/" + SiteLayout::StatusPath(0);
  return http::TextReply(200, BodyOf(site.Handle(status)));
}

std::string TestControls::StateText(const SiteServer& site) const {
  http::Request status;
  status.path = "/" + SiteLayout::StatusPath(0);
  const std::string statusLine = BodyOf(site.Handle(status));
  std::lock_guard lock(mutex_);
  std::string text = "origin " + origin_ + "\n";
  for (Game game : kAllGames) {
    const auto i = static_cast<std::size_t>(GameIndex(game));
    const int published = served_.storeCounts[i] + served_.extra[i];
    const int history = std::clamp(served_.historyCounts[i].value_or(published - 1), 0, published);
    text += std::string(GameName(game)) + " published " + std::to_string(published) + " history " +
            std::to_string(history) + " sample " + std::to_string(served_.extra[i]) + "\n";
  }
  text += "status " + statusLine;
  for (const auto& [path, fault] : faults_) text += "fault " + path + " " + std::string(FaultKindName(fault.kind)) + "\n";
  return text;
}

void TestControls::Log(const http::Request& request) {
  log_.push_back(request.target + "\t" + request.userAgent);
  if (log_.size() > kLogLimit) log_.pop_front();
}

void TestControls::Republish() {
  std::function<void()> republish;
  {
    std::lock_guard lock(mutex_);
    republish = hooks_.republish;
  }
  if (republish) republish();
}

void TestControls::ReleaseHolds() {
  std::function<void()> release;
  {
    std::lock_guard lock(mutex_);
    release = hooks_.releaseHolds;
  }
  if (release) release();
}

}  // namespace norv::service
