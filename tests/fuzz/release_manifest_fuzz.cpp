// The bytes are a release manifest fetched from a download folder. A text the
// reader takes is one it would write again byte for byte, with the signed
// part ending where the signature line begins; base64 reads back what it wrote.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "notices/release_manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto split = norv::SplitSignature(text);
  const auto manifest = norv::ParseManifest(text);
  if (manifest) {
    if (!split) __builtin_trap();
    if (norv::ManifestBody(*manifest) != split->signedPart) __builtin_trap();
    if (norv::ManifestBody(*manifest) + norv::SignatureLine(split->signature) != text) __builtin_trap();
  }
  if (const auto bytes = norv::FromBase64(text)) {
    if (norv::Base64(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()) != text) __builtin_trap();
  }
  return 0;
}
