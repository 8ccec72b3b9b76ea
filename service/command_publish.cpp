// norv-service publish STORE SITE --base URL: the static site for clients
// that reach SITE at URL, swapped in whole.

#include <ostream>

#include "service/commands.h"
#include "service/release_publish.h"
#include "service/release_signing.h"
#include "service/site_arguments.h"
#include "service/site_input.h"
#include "service/site_writer.h"

namespace norv::service {

namespace {

constexpr std::string_view kPublishUsage =
    "usage: norv-service publish STORE SITE --base URL [--config FILE] [--release PRODUCT=N]... "
    "[--download PRODUCT=URL]...\n"
    "       [--release-manifest FILE --release-file SETUP.EXE]\n";

struct PublishArguments {
  std::string store, site, base;
  std::string releaseManifest, releaseFile;
  SiteSettings settings;
};

// Throws UsageError for anything it cannot take.
PublishArguments ParsePublishArguments(Arguments args) {
  const ParsedArguments given =
      ParseArguments(args, WithSiteOptions({.values = {"--base", "--release-manifest", "--release-file"}}));
  PublishArguments parsed;
  parsed.base = given.Value("--base");
  parsed.releaseManifest = given.Value("--release-manifest");
  parsed.releaseFile = given.Value("--release-file");
  if (given.words.size() != 2 || parsed.base.empty()) throw UsageError("STORE, SITE and --base URL are needed");
  if (parsed.releaseManifest.empty() != parsed.releaseFile.empty()) {
    throw UsageError("--release-manifest and --release-file go together");
  }
  parsed.store = given.words[0];
  parsed.site = given.words[1];
  parsed.settings = SiteSettingsFrom(given);
  return parsed;
}

void Summarize(const SiteInput& input, const std::filesystem::path& version, std::ostream& err) {
  err << "norv-service publish: " << version.string() << ":";
  for (Game game : kAllGames) {
    const GameSource& source = input.games[static_cast<std::size_t>(GameIndex(game))];
    err << " " << GameName(game) << " " << source.draws.size() << " (history " << source.PublishedHistoryCount()
        << ")";
  }
  err << "\n";
}

}  // namespace

int RunPublish(Arguments args, std::ostream& out, std::ostream& err) {
  PublishArguments parsed;
  try {
    parsed = ParsePublishArguments(args);
  } catch (const UsageError& error) {
    return BadUsage("norv-service publish", error, kPublishUsage, err);
  }
  if (const auto problem = BaseUrlProblem(parsed.base)) {
    err << "norv-service publish: " << *problem << "\n";
    return kExitBadInput;
  }
  try {
    PublishedRelease release;
    if (!parsed.releaseManifest.empty()) {
      // The status file announces the release that was signed, and no other.
      release = ReleaseFiles(parsed.releaseManifest, parsed.releaseFile);
      parsed.settings.releases.norvale = release.release;
    }
    const SiteInput input = SiteInputFor(Store::Open(parsed.store).AllDraws(), parsed.settings, parsed.base);
    if (const auto problem = SiteProblem(input)) {
      err << "norv-service publish: " << *problem << "\n";
      return kExitBadInput;
    }
    std::vector<SiteFile> files = BuildSite(input);
    files.insert(files.end(), release.files.begin(), release.files.end());
    const std::filesystem::path version = WriteSite(parsed.site, files);
    Summarize(input, version, err);
    out << EnvironmentLines(SiteLayout(parsed.base).Base(), !input.downloadLists.empty() || !release.files.empty());
    return 0;
  } catch (const SettingsError& error) {
    err << "norv-service publish: " << error.what() << "\n";
    return kExitBadInput;
  } catch (const StoreError& error) {
    err << "norv-service publish: " << error.what() << "\n";
    return kExitBadInput;
  } catch (const SigningError& error) {
    err << "norv-service publish: " << error.what() << "\n";
    return kExitFailure;
  } catch (const SiteWriteError& error) {
    err << "norv-service publish: " << error.what() << "\n";
    return kExitFailure;
  }
}

}  // namespace norv::service
