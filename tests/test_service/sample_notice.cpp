#include "tests/test_service/sample_notice.h"

#include <charconv>
#include <string_view>

namespace norv::service {

namespace {

constexpr std::string_view kNotice =
    "<p class=\"sample\">SAMPLE DATA - NOT REAL RESULTS / "
    "これは試験用のサンプルデータです。実際の当せん番号ではありません。</p>\r\n";
constexpr std::string_view kBody = "<body>\r\n";
constexpr std::string_view kTable = "<table class=\"result\">";
constexpr std::string_view kTitle = "第";

// The N of the first 第N回 after `from`; 0 when there is none.
int DrawNumberAfter(std::string_view page, std::size_t from) {
  const std::size_t title = page.find(kTitle, from);
  if (title == std::string_view::npos) return 0;
  const std::string_view digits = page.substr(title + kTitle.size());
  int number = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), number);
  return number;
}

}  // namespace

std::string WithSampleNotice(std::string page) {
  const std::size_t body = page.find(kBody);
  if (body != std::string::npos) page.insert(body + kBody.size(), kNotice);
  return page;
}

std::string WithSampleNotices(std::string page, int firstSample) {
  std::string marked;
  std::size_t copied = 0;
  for (std::size_t table = page.find(kTable); table != std::string::npos; table = page.find(kTable, table + 1)) {
    if (DrawNumberAfter(page, table) < firstSample) continue;
    marked.append(page, copied, table - copied);
    marked += kNotice;
    copied = table;
  }
  if (copied == 0) return page;
  marked.append(page, copied);
  return WithSampleNotice(std::move(marked));
}

}  // namespace norv::service
