#include "notices/update_files_win.h"

#include <string>
#include <vector>

#include "notices/release_crypto_win.h"

namespace norv {

namespace {

constexpr int kNameAttempts = 100;

std::wstring TempFolder() {
  std::vector<wchar_t> buffer(MAX_PATH + 2);
  const DWORD length = ::GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
  return length == 0 || length >= buffer.size() ? std::wstring() : std::wstring(buffer.data(), length);
}

}  // namespace

std::optional<int> InstalledRelease(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> data(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoSize = 0;
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
      !::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
      infoSize < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  return static_cast<int>(HIWORD(info->dwFileVersionMS) * 10 + LOWORD(info->dwFileVersionMS));
}

DownloadedSetup::~DownloadedSetup() {
  file_.reset();
  if (!keep_ && !path_.empty()) ::DeleteFileW(path_.c_str());
}

bool DownloadedSetup::Create() {
  const std::wstring folder = TempFolder();
  if (folder.empty()) return false;
  const DWORD seed = ::GetTickCount() ^ (::GetCurrentProcessId() << 16);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::wstring path = folder + L"norvale-update-" + std::to_wstring(seed + static_cast<DWORD>(attempt)) + L".exe";
    // CREATE_NEW: never a file someone else placed under the name.
    file_ = AdoptFileHandle(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file_) {
      path_ = path;
      return true;
    }
    if (::GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

bool DownloadedSetup::Write(std::string_view piece) {
  DWORD written = 0;
  return file_ && ::WriteFile(file_.get(), piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr) &&
         written == piece.size();
}

std::string DownloadedSetup::LockAndHash() {
  file_.reset();
  file_ = AdoptFileHandle(::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_) return {};
  Sha256Hasher hasher;
  std::vector<char> buffer(64 * 1024);
  DWORD read = 0;
  while (::ReadFile(file_.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read > 0) {
    hasher.Add(std::string_view(buffer.data(), read));
  }
  return hasher.HexDigest();
}

}  // namespace norv
