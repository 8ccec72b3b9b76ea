// norv-service sign-release SETUP.EXE --release norvale=NNNN --url URL --key KEYFILE:
// the signed manifest of a setup program, made on the release machine.

#include <chrono>
#include <fstream>
#include <ostream>
#include <sstream>
#include <tuple>
#include <utility>

#include "service/arguments.h"
#include "service/commands.h"
#include "service/release_signing.h"

namespace norv::service {

namespace {

constexpr std::string_view kSignUsage =
    "usage: norv-service sign-release SETUP.EXE --release PRODUCT=NNNN --url URL --key KEYFILE "
    "[--expires DAYS] [--signed TIME]\n";
constexpr int kDefaultExpiryDays = 90;
constexpr int kLongestExpiryDays = 366;

// The update tool's product codes by the names the site's settings use.
constexpr std::pair<std::string_view, std::string_view> kProductCodes[] = {
    {"norvale", "5"}, {"birch", "12"}, {"cedar", "13"}, {"damson", "14"}, {"elder", "17"}, {"fennel", "99"},
};

// "norvale=0052": the product's code and the release number.
std::pair<std::string, int> ProductRelease(const std::string& assignment) {
  const std::size_t equals = assignment.find('=');
  const std::string_view name = std::string_view(assignment).substr(0, equals);
  const std::string_view digits =
      equals == std::string::npos ? std::string_view() : std::string_view(assignment).substr(equals + 1);
  for (const auto& [product, code] : kProductCodes) {
    if (product == name && digits.size() == 4 && digits.find_first_not_of("0123456789") == std::string_view::npos) {
      return {std::string(code), std::stoi(std::string(digits))};
    }
  }
  throw UsageError("--release takes PRODUCT=NNNN (norvale=0052 is Norvale 5.2)");
}

int ExpiryDays(const std::string& text) {
  if (text.empty()) return kDefaultExpiryDays;
  if (text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos || std::stoi(text) < 1 ||
      std::stoi(text) > kLongestExpiryDays) {
    throw UsageError("--expires takes a number of days from 1 to " + std::to_string(kLongestExpiryDays));
  }
  return std::stoi(text);
}

std::int64_t SigningTime(const std::string& text) {
  if (text.empty()) {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
  }
  const auto time = ParseUtcTime(text);
  if (!time) throw UsageError("--signed takes a time such as 2026-12-08T12:00:00Z");
  return *time;
}

std::string ReadKeyFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  if (!(in && text << in.rdbuf())) throw SigningError(path + ": cannot be read");
  return text.str();
}

ReleaseManifest ManifestFor(const ParsedArguments& parsed) {
  if (parsed.words.size() != 1) throw UsageError("one SETUP.EXE is needed");
  const std::string url = parsed.Value("--url");
  if (!url.starts_with("https://") && !url.starts_with("http://")) throw UsageError("--url takes an https:// address");
  ReleaseManifest manifest;
  std::tie(manifest.product, manifest.release) = ProductRelease(parsed.Value("--release"));
  manifest.url = url;
  manifest.signedAt = SigningTime(parsed.Value("--signed"));
  manifest.expiresAt = manifest.signedAt + std::int64_t{86400} * ExpiryDays(parsed.Value("--expires"));
  if (parsed.Value("--key").empty()) throw UsageError("--key KEYFILE is needed");
  return manifest;
}

}  // namespace

int RunSignRelease(Arguments args, std::ostream& out, std::ostream& err) {
  ReleaseManifest manifest;
  ParsedArguments parsed;
  try {
    parsed = ParseArguments(args, {.values = {"--release", "--url", "--key", "--expires", "--signed"}});
    manifest = ManifestFor(parsed);
  } catch (const UsageError& error) {
    return BadUsage("norv-service sign-release", error, kSignUsage, err);
  }
  try {
    const FileDigest digest = DigestFile(parsed.words[0]);
    manifest.size = digest.size;
    manifest.sha256 = digest.sha256;
    const std::string body = ManifestBody(manifest);
    if (!ParseManifest(body + SignatureLine(Signature{}))) {
      err << "norv-service sign-release: the manifest would be malformed (an empty file, or an address with spaces)\n";
      return kExitBadInput;
    }
    const Signature signature = SignBytes(ReadKeyFile(parsed.Value("--key")), body);
    if (!manifest.url.starts_with("https://")) {
      err << "norv-service sign-release: warning: liveup.exe refuses an address that is not https://\n";
    }
    out << body << SignatureLine(signature);
    return 0;
  } catch (const SigningError& error) {
    err << "norv-service sign-release: " << error.what() << "\n";
    return kExitBadInput;
  }
}

}  // namespace norv::service
