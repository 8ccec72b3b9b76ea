#include "acquisition/service_addresses.h"

#include <gtest/gtest.h>

#include <map>

namespace norv {
namespace {

EnvironmentReader FakeEnvironment(std::map<std::string, std::string> values) {
  return [values = std::move(values)](const char* name) -> std::optional<std::string> {
    const auto found = values.find(name);
    if (found == values.end()) {
      return std::nullopt;
    }
    return found->second;
  };
}

TEST(ServiceAddresses, DefaultsAreHttpsAndNeverNameAHostOutsideTheReservedDomain) {
  const ServiceAddresses addresses = ResolveServiceAddresses(FakeEnvironment({}));
  for (const std::string& endpoint : addresses.directoryEndpoints) {
    EXPECT_TRUE(endpoint.starts_with("https://")) << endpoint;
    EXPECT_TRUE(endpoint.ends_with("?SFT=0")) << endpoint;
    EXPECT_NE(endpoint.find(".example/"), std::string::npos) << endpoint;
  }
  EXPECT_NE(addresses.directoryEndpoints[0], addresses.directoryEndpoints[1]);
  for (const std::string& folder : addresses.downloadFolders) {
    EXPECT_TRUE(folder.starts_with("https://")) << folder;
    EXPECT_NE(folder.find(".example/"), std::string::npos) << folder;
    EXPECT_TRUE(folder.ends_with("/")) << folder;
  }
  EXPECT_NE(addresses.supportPage.find(".example/"), std::string::npos);
  EXPECT_NE(addresses.makerPage.find(".example/"), std::string::npos);
  EXPECT_EQ(addresses.bankPage, "https://www.mizuhobank.co.jp/takarakuji/index.html");
}

TEST(ServiceAddresses, EnvironmentPointsTheServiceElsewhere) {
  const ServiceAddresses addresses = ResolveServiceAddresses(FakeEnvironment({
      {"NORVALE_DIRECTORY_1", "http://127.0.0.1:40001/dir1/dir.cgi?SFT=0"},
      {"NORVALE_DIRECTORY_2", "http://127.0.0.1:40001/dir2/dir.cgi?SFT=0"},
      {"NORVALE_DOWNLOAD_1", "http://127.0.0.1:40001/dlf1/"},
      {"NORVALE_DOWNLOAD_2", "http://127.0.0.1:40001/dlf2/"},
  }));
  EXPECT_EQ(addresses.directoryEndpoints[0], "http://127.0.0.1:40001/dir1/dir.cgi?SFT=0");
  EXPECT_EQ(addresses.directoryEndpoints[1], "http://127.0.0.1:40001/dir2/dir.cgi?SFT=0");
  EXPECT_EQ(DownloadListAddress(addresses, "bc4_dlf.new", false), "http://127.0.0.1:40001/dlf1/bc4_dlf.new");
  EXPECT_EQ(DownloadListAddress(addresses, "fnl_dlf.new", true), "http://127.0.0.1:40001/dlf2/fnl_dlf.new");
}

TEST(ServiceAddresses, EachVariableOverridesOnlyItsOwnAddress) {
  const ServiceAddresses defaults = ResolveServiceAddresses(FakeEnvironment({}));
  const ServiceAddresses addresses =
      ResolveServiceAddresses(FakeEnvironment({{"NORVALE_DIRECTORY_2", "http://127.0.0.1:1/d?SFT=0"}}));
  EXPECT_EQ(addresses.directoryEndpoints[0], defaults.directoryEndpoints[0]);
  EXPECT_EQ(addresses.directoryEndpoints[1], "http://127.0.0.1:1/d?SFT=0");
  EXPECT_EQ(addresses.downloadFolders, defaults.downloadFolders);
}

TEST(ServiceAddresses, AnEmptyVariableKeepsTheDefault) {
  const ServiceAddresses defaults = ResolveServiceAddresses(FakeEnvironment({}));
  const ServiceAddresses addresses =
      ResolveServiceAddresses(FakeEnvironment({{"NORVALE_DIRECTORY_1", ""}, {"NORVALE_DOWNLOAD_1", ""}}));
  EXPECT_EQ(addresses.directoryEndpoints[0], defaults.directoryEndpoints[0]);
  EXPECT_EQ(addresses.downloadFolders[0], defaults.downloadFolders[0]);
}

TEST(ServiceAddresses, OverridesAreCompletedToTheirForm) {
  const ServiceAddresses addresses = ResolveServiceAddresses(FakeEnvironment({
      {"NORVALE_DIRECTORY_1", "http://127.0.0.1:40001/dir1/dir.cgi"},
      {"NORVALE_DOWNLOAD_2", "http://127.0.0.1:40001/dlf2"},
  }));
  EXPECT_EQ(addresses.directoryEndpoints[0], "http://127.0.0.1:40001/dir1/dir.cgi?SFT=0");
  EXPECT_EQ(addresses.downloadFolders[1], "http://127.0.0.1:40001/dlf2/");
}

}  // namespace
}  // namespace norv
