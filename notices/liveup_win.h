#pragma once
// The update tool, liveup.exe CODE. For Norvale ("5") it fetches the signed
// manifest, checks it, downloads and checks the setup program, runs it
// silently over the installed copy and starts the new program. For a
// companion's code it opens that product's download page. Every refusal is
// one message box and a non-zero exit, with nothing installed touched.

#include <string>
#include <string_view>
#include <vector>

namespace norv {

struct LiveupSettings {
  std::string_view publicKeyHex;  // the release key the build trusts
  // Test builds only: a manifest may name a plain http:// address on 127.0.0.1.
  bool loopbackHttp = false;
};

inline constexpr int kLiveupRefused = 1;
inline constexpr int kLiveupSetupFailed = 2;

int RunLiveup(const std::vector<std::string>& arguments, const LiveupSettings& settings);

}  // namespace norv
