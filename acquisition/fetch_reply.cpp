#include "acquisition/fetch_reply.h"

#include <algorithm>

#include "base/text_fields.h"
#include "base/utf8.h"
#include "settings/settings.h"

namespace norv {

InternetAccess AccessFromSettings(bool ldf, bool lpx, std::string_view lpa, std::string_view lpp) {
  if (ldf) {
    return {InternetAccess::Mode::Preconfigured, {}};
  }
  if (lpx) {
    std::string proxy(lpa);
    proxy.push_back(':');
    proxy.append(lpp);
    return {InternetAccess::Mode::NamedProxy, std::move(proxy)};
  }
  return {InternetAccess::Mode::Direct, {}};
}

InternetAccess AccessFromSettings(const Settings& settings) {
  return AccessFromSettings(settings.ldf, settings.lpx, settings.lpa, settings.lpp);
}

// The text between the last backslash and the ".exe" after it, in its own
// letter case; a path without either gives the empty agent.
std::string AgentFromExecutablePath(std::string_view path) {
  return ExtractBetween(path, static_cast<int>(path.size()) + 1, "\\", ".EXE", true, true);
}

bool ReplyCollector::Append(std::string_view chunk) {
  if (tooLarge_) {
    return false;
  }
  if (chunk.size() > limit_ - bytes_.size()) {
    tooLarge_ = true;
    bytes_.clear();
    bytes_.shrink_to_fit();
    return false;
  }
  bytes_.append(chunk);
  return true;
}

// The UTF-8 check runs on the joined reply, before the line breaks go, so a
// character split between two reads survives and a stray CR inside a broken
// sequence cannot glue its neighbours into a different character. A page
// loses its zero bytes, which have no place in one. Any other reply keeps
// them: its fields stand at fixed positions, and dropping a byte would move
// every later field onto its neighbour's place, so its reader must see the
// damage and refuse the reply.
std::string ReplyCollector::Finish(bool fromUtf8) const {
  if (tooLarge_) {
    return {};
  }
  if (!fromUtf8) {
    return RemoveLineBreaks(bytes_);
  }
  std::string text = RemoveLineBreaks(RepairUtf8(bytes_));
  text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
  return text;
}

}  // namespace norv
