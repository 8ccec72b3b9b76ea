// norv-service keygen KEYFILE: a new release signing key, readable by its
// owner only, never over an existing file.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

#include "service/arguments.h"
#include "service/commands.h"
#include "service/release_signing.h"
#include "service/unique_fd.h"

namespace norv::service {

namespace {

constexpr std::string_view kKeygenUsage = "usage: norv-service keygen KEYFILE\n";

// Writes `text` into a new file of mode 0600; throws SigningError with the reason.
void WriteNewPrivateFile(const std::string& path, const std::string& text) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (!fd.valid()) {
    throw SigningError(path + ": " + (errno == EEXIST ? "exists already; a key is never overwritten"
                                                       : std::string(std::strerror(errno))));
  }
  bool written = ::fchmod(fd.get(), 0600) == 0;
  for (std::size_t done = 0; written && done < text.size();) {
    const ssize_t n = ::write(fd.get(), text.data() + done, text.size() - done);
    written = n > 0;
    done += written ? static_cast<std::size_t>(n) : 0;
  }
  written = written && ::fsync(fd.get()) == 0;
  const int error = errno;
  fd.Close();
  if (!written) {
    ::unlink(path.c_str());
    throw SigningError(path + ": " + std::strerror(error));
  }
}

}  // namespace

int RunKeygen(Arguments args, std::ostream& out, std::ostream& err) {
  ParsedArguments parsed;
  try {
    parsed = ParseArguments(args, {});
  } catch (const UsageError& error) {
    return BadUsage("norv-service keygen", error, kKeygenUsage, err);
  }
  if (parsed.words.size() != 1) {
    err << kKeygenUsage;
    return kExitBadInput;
  }
  try {
    const std::string pem = NewSigningKeyPem();
    WriteNewPrivateFile(parsed.words[0], pem);
    out << "NORVALE_RELEASE_PUBLIC_KEY=" << PublicKeyHex(pem) << "\n";
    err << "norv-service keygen: wrote " << parsed.words[0]
        << "; keep it off the web server, and build releases with -DNORVALE_RELEASE_PUBLIC_KEY=<the printed value>\n";
    return 0;
  } catch (const SigningError& error) {
    err << "norv-service keygen: " << error.what() << "\n";
    return kExitFailure;
  }
}

}  // namespace norv::service
