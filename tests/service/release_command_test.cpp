// Release signing on the release machine and publishing on the server:
// keygen, sign-release and publish's release options, through the program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <openssl/evp.h>
#include <openssl/pem.h>

#include "notices/release_manifest.h"
#include "service/release_signing.h"
#include "tests/service/run_service.h"

namespace norv::service {
namespace {

using testing::FileText;
using testing::RunService;
using testing::WriteFileText;

constexpr std::string_view kUrl = "https://norvale.pellmark.example/releases/norvale-setup-5.2.exe";

class ReleaseCommand : public ::testing::Test {
 protected:
  testing::TempFolder temp;
  std::string key = (temp / "release.pem").string();
  std::string setup = (temp / "norvale-setup-5.2.exe").string();
  std::string publicKey;

  void SetUp() override {
    const auto made = RunService(temp, {"keygen", key});
    ASSERT_EQ(made.status, 0) << made.err;
    ASSERT_TRUE(made.out.starts_with("NORVALE_RELEASE_PUBLIC_KEY="));
    publicKey = made.out.substr(made.out.find('=') + 1, 128);
    std::string bytes = "MZ";
    for (int i = 0; i < 5000; ++i) bytes += static_cast<char>(i * 31);
    WriteFileText(setup, bytes);
  }

  testing::Outcome Sign(std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"sign-release", setup, "--release", "norvale=0052", "--url", std::string(kUrl),
                                  "--key", key};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunService(temp, args);
  }

  bool Holds(const std::string& manifest) {
    const auto split = SplitSignature(manifest);
    return split && SignatureHolds(publicKey, split->signedPart, split->signature);
  }
};

TEST_F(ReleaseCommand, KeygenWritesAnOwnerOnlyKeyAndNeverOverwritesOne) {
  struct stat info {};
  ASSERT_EQ(::stat(key.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600);
  EXPECT_EQ(publicKey.size(), 128u);
  EXPECT_EQ(PublicKeyHex(FileText(key)), publicKey);
  const std::string before = FileText(key);
  const auto again = RunService(temp, {"keygen", key});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("exists already"), std::string::npos);
  EXPECT_EQ(FileText(key), before);
}

TEST_F(ReleaseCommand, ASignedManifestDescribesTheFileAndVerifiesWithThePrintedKey) {
  const auto signedRelease = Sign({"--signed", "2026-12-08T12:00:00Z"});
  ASSERT_EQ(signedRelease.status, 0) << signedRelease.err;
  const auto manifest = ParseManifest(signedRelease.out);
  ASSERT_TRUE(manifest) << signedRelease.out;
  EXPECT_EQ(manifest->product, "5");
  EXPECT_EQ(manifest->release, 52);
  EXPECT_EQ(manifest->url, kUrl);
  EXPECT_EQ(manifest->size, FileText(setup).size());
  EXPECT_EQ(manifest->sha256, Sha256Hex(FileText(setup)));
  EXPECT_EQ(FormatUtcTime(manifest->signedAt), "2026-12-08T12:00:00Z");
  EXPECT_EQ(FormatUtcTime(manifest->expiresAt), "2027-03-08T12:00:00Z") << "90 days by default";
  EXPECT_TRUE(Holds(signedRelease.out));
  EXPECT_EQ(FormatUtcTime(ParseManifest(Sign({"--signed", "2026-12-08T12:00:00Z", "--expires", "30"}).out)->expiresAt),
            "2027-01-07T12:00:00Z");
}

TEST_F(ReleaseCommand, ASignatureHoldsOnlyOverItsOwnBytesAndKey) {
  const std::string text = Sign().out;
  const auto split = SplitSignature(text);
  ASSERT_TRUE(split);
  std::string other(split->signedPart);
  other[other.find("release=0052") + 11] = '3';
  EXPECT_FALSE(SignatureHolds(publicKey, other, split->signature));
  Signature flipped = split->signature;
  flipped[40] ^= 1;
  EXPECT_FALSE(SignatureHolds(publicKey, split->signedPart, flipped));
  const std::string otherKey = PublicKeyHex(NewSigningKeyPem());
  EXPECT_FALSE(SignatureHolds(otherKey, split->signedPart, split->signature));
  EXPECT_FALSE(SignatureHolds(std::string(128, '1'), split->signedPart, split->signature)) << "not a point";
}

TEST_F(ReleaseCommand, AKeyOfAnotherCurveOrKindSignsNothing) {
  for (const char* curve : {"P-384", "secp256k1"}) {
    std::unique_ptr<EVP_PKEY, void (*)(EVP_PKEY*)> other(EVP_EC_gen(curve), EVP_PKEY_free);
    ASSERT_TRUE(other);
    std::unique_ptr<BIO, void (*)(BIO*)> bio(BIO_new(BIO_s_mem()), BIO_free_all);
    PEM_write_bio_PrivateKey(bio.get(), other.get(), nullptr, nullptr, 0, nullptr, nullptr);
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio.get(), &data);
    const std::string otherKey = (temp / curve).string();
    WriteFileText(otherKey, std::string(data, static_cast<std::size_t>(length)));
    const auto refused = RunService(temp, {"sign-release", setup, "--release", "norvale=0052", "--url",
                                           std::string(kUrl), "--key", otherKey});
    EXPECT_EQ(refused.status, 2) << curve;
    EXPECT_NE(refused.err.find("P-256"), std::string::npos) << refused.err;
    EXPECT_TRUE(refused.out.empty());
  }
  WriteFileText(temp / "junk.pem", "not a key\n");
  EXPECT_EQ(Sign({}).status, 0);
  const auto junk = RunService(temp, {"sign-release", setup, "--release", "norvale=0052", "--url", std::string(kUrl),
                                      "--key", (temp / "junk.pem").string()});
  EXPECT_EQ(junk.status, 2);
}

TEST_F(ReleaseCommand, BadSigningArgumentsAreRefusedWithTheUsage) {
  const std::vector<std::vector<std::string>> cases{
      {"--expires", "0"},        {"--expires", "367"}, {"--expires", "9x"},
      {"--signed", "yesterday"}, {"--url", "ftp://x/y"},
  };
  for (const auto& extra : cases) {
    std::vector<std::string> args{"sign-release", setup, "--release", "norvale=0052", "--key", key};
    if (extra[0] != "--url") args.insert(args.end(), {"--url", std::string(kUrl)});
    args.insert(args.end(), extra.begin(), extra.end());
    const auto refused = RunService(temp, args);
    EXPECT_EQ(refused.status, 2) << extra[0] << " " << extra[1];
    EXPECT_TRUE(refused.out.empty());
  }
  for (const char* release : {"norvale=52", "rowan=0021", "norvale=00052", "norvale"}) {
    EXPECT_EQ(RunService(temp, {"sign-release", setup, "--release", release, "--url", std::string(kUrl), "--key", key})
                  .status,
              2)
        << release;
  }
  EXPECT_EQ(RunService(temp, {"sign-release", (temp / "none.exe").string(), "--release", "norvale=0052", "--url",
                              std::string(kUrl), "--key", key})
                .status,
            2);
}

class ReleasePublish : public ReleaseCommand {
 protected:
  std::string store = (temp / "store").string();
  std::string site = (temp / "site").string();
  std::string manifest = (temp / "norvale.release").string();

  void SetUp() override {
    ReleaseCommand::SetUp();
    ASSERT_EQ(RunService(temp, {"init", store}).status, 0);
    const auto signedRelease = Sign();
    ASSERT_EQ(signedRelease.status, 0);
    WriteFileText(manifest, signedRelease.out);
  }

  testing::Outcome Publish() {
    return RunService(temp, {"publish", store, site, "--base", "http://127.0.0.1:8080/", "--release-manifest",
                             manifest, "--release-file", setup});
  }
};

TEST_F(ReleasePublish, TheSiteGetsTheSetupProgramTheManifestTwiceAndTheSignedRelease) {
  const auto published = Publish();
  ASSERT_EQ(published.status, 0) << published.err;
  const std::filesystem::path root(site);
  EXPECT_EQ(FileText(root / "releases/norvale-setup-5.2.exe"), FileText(setup));
  EXPECT_EQ(FileText(root / "dlf1/norvale.release"), FileText(manifest));
  EXPECT_EQ(FileText(root / "dlf2/norvale.release"), FileText(manifest));
  EXPECT_EQ(FileText(root / "svc1/status.txt").substr(16, 4), "0052") << FileText(root / "svc1/status.txt");
  EXPECT_NE(published.out.find("NORVALE_DOWNLOAD_1=http://127.0.0.1:8080/dlf1/"), std::string::npos);
}

TEST_F(ReleasePublish, AnotherProductsManifestIsNotPublishedAsNorvales) {
  const auto damson = RunService(temp, {"sign-release", setup, "--release", "damson=0021", "--url", std::string(kUrl),
                                        "--key", key});
  ASSERT_EQ(damson.status, 0) << damson.err;
  EXPECT_EQ(ParseManifest(damson.out)->product, "14");
  WriteFileText(manifest, damson.out);
  const auto refused = Publish();
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("product 14"), std::string::npos) << refused.err;
}

TEST_F(ReleasePublish, AFileTheManifestDoesNotDescribeIsNotPublished) {
  const auto first = Publish();
  ASSERT_EQ(first.status, 0);
  const std::string statusBefore = FileText(std::filesystem::path(site) / "svc1/status.txt");
  std::string changed = FileText(setup);
  changed[100] ^= 1;
  WriteFileText(setup, changed);
  auto refused = Publish();
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("is not the file the manifest describes"), std::string::npos) << refused.err;
  WriteFileText(setup, changed + "x");
  EXPECT_EQ(Publish().status, 2) << "a longer file";
  WriteFileText(setup, changed.substr(1));
  EXPECT_EQ(Publish().status, 2) << "a shorter file";
  WriteFileText(manifest, FileText(manifest) + "\n");
  EXPECT_EQ(Publish().status, 2) << "a malformed manifest";
  EXPECT_EQ(FileText(std::filesystem::path(site) / "svc1/status.txt"), statusBefore);
  EXPECT_EQ(RunService(temp, {"publish", store, site, "--base", "http://127.0.0.1:8080/", "--release-manifest",
                              manifest})
                .status,
            2)
      << "a manifest without its file";
}

}  // namespace
}  // namespace norv::service
