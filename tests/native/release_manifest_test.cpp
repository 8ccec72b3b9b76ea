#include "notices/release_manifest.h"

#include <gtest/gtest.h>

#include "notices/release_check.h"

namespace norv {
namespace {

constexpr std::string_view kSha = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

ReleaseManifest Sample() {
  ReleaseManifest manifest;
  manifest.product = "5";
  manifest.release = 52;
  manifest.url = "https://norvale.pellmark.example/releases/norvale-setup-5.2.exe";
  manifest.size = 1523456;
  manifest.sha256 = std::string(kSha);
  manifest.signedAt = *ParseUtcTime("2026-12-08T12:00:00Z");
  manifest.expiresAt = *ParseUtcTime("2027-01-07T12:00:00Z");
  return manifest;
}

Signature SampleSignature() {
  Signature signature{};
  for (std::size_t i = 0; i < signature.size(); ++i) signature[i] = static_cast<std::uint8_t>(i * 7 + 1);
  return signature;
}

std::string SampleText() { return ManifestBody(Sample()) + SignatureLine(SampleSignature()); }

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

TEST(ReleaseManifest, WrittenFieldsReadBackInTheFixedForm) {
  const std::string text = SampleText();
  EXPECT_TRUE(text.starts_with("product=5\nrelease=0052\nurl=https://norvale.pellmark.example/releases/"));
  EXPECT_NE(text.find("\nsigned=2026-12-08T12:00:00Z\nexpires=2027-01-07T12:00:00Z\nsignature="), std::string::npos);
  const auto read = ParseManifest(text);
  ASSERT_TRUE(read);
  EXPECT_EQ(ManifestBody(*read), ManifestBody(Sample()));
  const auto split = SplitSignature(text);
  ASSERT_TRUE(split);
  EXPECT_EQ(split->signedPart, ManifestBody(Sample()));
  EXPECT_EQ(split->signature, SampleSignature());
}

TEST(ReleaseManifest, EveryFieldMissingOrDoubledIsMalformed) {
  const std::string text = SampleText();
  for (std::string_view name : {"product=", "release=", "url=", "size=", "sha256=", "signed=", "expires="}) {
    const std::size_t start = text.find(std::string(name));
    const std::string line = text.substr(start, text.find('\n', start) + 1 - start);
    std::string missing = text;
    missing.erase(start, line.size());
    EXPECT_FALSE(ParseManifest(missing)) << "missing " << name;
    std::string doubled = text;
    doubled.insert(start, line);
    EXPECT_FALSE(ParseManifest(doubled)) << "doubled " << name;
  }
  EXPECT_FALSE(ParseManifest(ManifestBody(Sample()))) << "no signature";
  EXPECT_FALSE(ParseManifest(ManifestBody(Sample()) + SignatureLine(SampleSignature()) + SignatureLine(SampleSignature())));
}

TEST(ReleaseManifest, FieldsOutOfOrderUnknownOrWithOtherLineEndsAreMalformed) {
  const std::string text = SampleText();
  EXPECT_FALSE(ParseManifest(Replaced(text, "product=5\nrelease=0052\n", "release=0052\nproduct=5\n")));
  EXPECT_FALSE(ParseManifest(Replaced(text, "product=5\n", "product=5\nchannel=beta\n")));
  EXPECT_FALSE(ParseManifest(Replaced(text, "product=5\n", "Product=5\n")));
  EXPECT_FALSE(ParseManifest(Replaced(text, "product=5\n", "product =5\n")));
  EXPECT_FALSE(ParseManifest(Replaced(text, "release=0052\n", "release=0052\r\n")));
  EXPECT_FALSE(ParseManifest(text + "\n")) << "a byte after the signature line";
  EXPECT_FALSE(ParseManifest(text + "x"));
  EXPECT_FALSE(ParseManifest(text.substr(0, text.size() - 1))) << "no LF after the signature";
}

TEST(ReleaseManifest, MalformedValuesAreRefused) {
  const std::string text = SampleText();
  const std::string upperHex = std::string(kSha).replace(0, 1, "A");
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"product=5", "product=05"},
      {"product=5", "product="},
      {"product=5", "product=5a"},
      {"release=0052", "release=52"},
      {"release=0052", "release=00052"},
      {"release=0052", "release=-052"},
      {"url=https://", "url=https:// "},
      {"url=https://norvale", "url=norvale"},
      {"size=1523456", "size=0"},
      {"size=1523456", "size=01523456"},
      {"size=1523456", "size=1523456 "},
      {"size=1523456", "size=1234567890123"},
      {kSha, upperHex},
      {kSha, kSha.substr(1)},
      {"signed=2026-12-08T12:00:00Z", "signed=2026-12-08 12:00:00Z"},
      {"signed=2026-12-08T12:00:00Z", "signed=2026-02-30T12:00:00Z"},
      {"signed=2026-12-08T12:00:00Z", "signed=2026-12-08T24:00:00Z"},
      {"expires=2027-01-07T12:00:00Z", "expires=2026-12-08T12:00:00Z"},
      {"expires=2027-01-07T12:00:00Z", "expires=2027-01-07T12:00:00+09:00"},
  };
  for (const auto& [from, to] : cases) {
    EXPECT_FALSE(ParseManifest(Replaced(text, from, to))) << to;
  }
}

TEST(ReleaseManifest, OnlyTheCanonicalBase64OfSixtyFourBytesIsASignature) {
  const std::string body = ManifestBody(Sample());
  const std::string good = SignatureLine(SampleSignature());
  ASSERT_EQ(good.size(), std::string("signature=").size() + 88 + 1);
  EXPECT_FALSE(SplitSignature(body + "signature=" + good.substr(10, 84) + "\n")) << "48 bytes";
  EXPECT_FALSE(SplitSignature(body + "signature=" + good.substr(10, 86) + "\n")) << "no padding";
  std::string strayBits = good;
  strayBits[strayBits.size() - 4] = 'B';  // the last digit before "==" may hold no set bit
  EXPECT_FALSE(SplitSignature(body + strayBits));
  std::string wrapped = good;
  wrapped.insert(50, "\n");
  EXPECT_FALSE(SplitSignature(body + wrapped));
}

TEST(ReleaseManifest, Base64RoundTripsEveryLength) {
  std::vector<std::uint8_t> bytes;
  for (int n = 0; n < 70; ++n) {
    const std::string text = Base64(bytes.data(), bytes.size());
    const auto back = FromBase64(text);
    ASSERT_TRUE(back) << text;
    EXPECT_EQ(*back, std::string(bytes.begin(), bytes.end()));
    bytes.push_back(static_cast<std::uint8_t>(n * 37 + 200));
  }
  EXPECT_FALSE(FromBase64("AB=C"));
  EXPECT_FALSE(FromBase64("A==="));
}

TEST(ReleaseManifest, TimesFormatAndParseAlike) {
  for (std::string_view time : {"1970-01-01T00:00:00Z", "2000-02-29T23:59:59Z", "2026-12-08T12:00:00Z",
                                "2100-12-31T00:00:01Z"}) {
    const auto seconds = ParseUtcTime(time);
    ASSERT_TRUE(seconds) << time;
    EXPECT_EQ(FormatUtcTime(*seconds), time);
  }
  EXPECT_EQ(*ParseUtcTime("1970-01-02T00:00:00Z"), 86400);
  EXPECT_FALSE(ParseUtcTime("2100-02-29T00:00:00Z"));
}

TEST(ReleaseManifest, PublicKeyIsExactlyOneHundredTwentyEightHexDigits) {
  const std::string hex(128, 'a');
  ASSERT_TRUE(ParsePublicKeyHex(hex));
  EXPECT_EQ((*ParsePublicKeyHex(hex))[0], 0xaa);
  EXPECT_TRUE(ParsePublicKeyHex(std::string(128, 'F')));
  EXPECT_FALSE(ParsePublicKeyHex(std::string(127, 'a')));
  EXPECT_FALSE(ParsePublicKeyHex(std::string(130, 'a')));
  EXPECT_FALSE(ParsePublicKeyHex(std::string(127, 'a') + "g"));
}

class ManifestCheck : public testing::Test {
 protected:
  ManifestVerdict Check(const std::string& text, int installed = 51) {
    return CheckManifest(
        text,
        [this](std::string_view signedPart, const Signature& signature) {
          ++verified_;
          return signedPart == ManifestBody(Sample()) || (signature == SampleSignature() && acceptAny_);
        },
        kNorvaleProductCode, installed, now_);
  }
  std::int64_t now_ = *ParseUtcTime("2026-12-20T00:00:00Z");
  int verified_ = 0;
  bool acceptAny_ = false;
};

TEST_F(ManifestCheck, AGoodNewerReleaseIsTaken) {
  const ManifestVerdict verdict = Check(SampleText());
  EXPECT_EQ(verdict.refusal, ManifestRefusal::None);
  ASSERT_TRUE(verdict.manifest);
  EXPECT_EQ(verdict.manifest->release, 52);
}

TEST_F(ManifestCheck, TheSignatureIsCheckedBeforeAnyField) {
  // A signature over other bytes: no field is judged, not even the product.
  const std::string other = Replaced(SampleText(), "product=5", "product=12");
  EXPECT_EQ(Check(other).refusal, ManifestRefusal::BadSignature);
  EXPECT_EQ(Check(Replaced(SampleText(), "size=1523456", "size=1523457")).refusal, ManifestRefusal::BadSignature);
  EXPECT_EQ(verified_, 2);
}

TEST_F(ManifestCheck, OversizedTextIsRefusedUnread) {
  EXPECT_EQ(Check(std::string(kManifestMaxBytes + 1, 'a')).refusal, ManifestRefusal::TooLarge);
  EXPECT_EQ(verified_, 0);
}

TEST_F(ManifestCheck, SignedButUnwelcomeManifestsAreRefusedForTheirReason) {
  acceptAny_ = true;
  auto refusal = [this](ReleaseManifest manifest, int installed = 51) {
    return Check(ManifestBody(manifest) + SignatureLine(SampleSignature()), installed).refusal;
  };
  ReleaseManifest other = Sample();
  other.product = "12";
  EXPECT_EQ(refusal(other), ManifestRefusal::OtherProduct);
  EXPECT_EQ(refusal(Sample(), 52), ManifestRefusal::NotNewer) << "the same release";
  EXPECT_EQ(refusal(Sample(), 53), ManifestRefusal::NotNewer) << "a rollback";
  ReleaseManifest expired = Sample();
  expired.expiresAt = now_;
  EXPECT_EQ(refusal(expired), ManifestRefusal::Expired);
  ReleaseManifest plain = Sample();
  plain.url = "http://norvale.pellmark.example/releases/norvale-setup-5.2.exe";
  EXPECT_EQ(refusal(plain), ManifestRefusal::NotHttps);
  EXPECT_EQ(Check(SampleText() + "\n").refusal, ManifestRefusal::Malformed);
}

TEST(ReleaseCheck, DownloadLimitGrowsWithTheSizeAndCompanionsHaveTheirLists) {
  EXPECT_EQ(DownloadTimeLimit(0), std::chrono::seconds(120));
  EXPECT_GT(DownloadTimeLimit(100u << 20), DownloadTimeLimit(2u << 20));
  EXPECT_EQ(CompanionDownloadList("14"), "dml_dlf.new");
  EXPECT_EQ(CompanionDownloadList("99"), "fnl_dlf.new");
  EXPECT_EQ(CompanionDownloadList("5"), "");
  EXPECT_EQ(CompanionDownloadList("6"), "");
}

}  // namespace
}  // namespace norv
