#include "notices/liveup_win.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "acquisition/service_addresses.h"
#include "base/folders_win.h"
#include "base/handles_win.h"
#include "base/unicode_win.h"
#include "companions/shell_open_win.h"
#include "notices/release_check.h"
#include "notices/release_crypto_win.h"
#include "notices/release_download_win.h"
#include "notices/update_files_win.h"
#include "notices/update_progress_win.h"
#include "notices/version_notice.h"
#include "resources/liveup_strings.h"

namespace norv {

namespace {

constexpr wchar_t kMutexName[] = L"Local\\Norvale.Liveup";
constexpr std::uint64_t kDownloadListMaxBytes = 4096;
constexpr std::string_view kLoopbackHttp = "http://127.0.0.1:";

int Refuse(std::string_view reason) {
  const std::wstring text = Widen(reason);
  const std::wstring caption = Widen(text::kLiveupCaption);
  ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
  return kLiveupRefused;
}

std::int64_t Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// The first folder's copy that arrives whole; the second is asked only when
// the first cannot be reached at all.
SmallText FetchFromDownloadFolders(std::string_view fileName, std::uint64_t maxBytes) {
  const ServiceAddresses& addresses = AppServiceAddresses();
  SmallText fetched;
  for (const std::string& folder : addresses.downloadFolders) {
    fetched = FetchSmallText(folder + std::string(fileName), maxBytes);
    if (fetched.end == DownloadEnd::Complete || fetched.end == DownloadEnd::TooLong) break;
  }
  return fetched;
}

std::string_view DownloadEndText(DownloadEnd end) {
  switch (end) {
    case DownloadEnd::TooLong: return text::kLiveupDownloadTooLong;
    case DownloadEnd::Stalled:
    case DownloadEnd::TimedOut: return text::kLiveupDownloadStalled;
    case DownloadEnd::Cancelled: return text::kLiveupDownloadCancelled;
    default: return text::kLiveupDownloadFailed;
  }
}

// Downloads the setup program with the progress window shown; the download
// runs on a thread of its own while this one keeps the window answering.
DownloadEnd DownloadSetup(const ReleaseManifest& manifest, DownloadedSetup& setup) {
  std::atomic<bool> cancel{false};
  std::atomic<std::uint64_t> received{0};
  UpdateProgressWindow window(manifest.size, received, cancel);
  DownloadEnd end = DownloadEnd::Failed;
  const DownloadLimits limits{manifest.size, std::chrono::seconds(30), DownloadTimeLimit(manifest.size)};
  std::thread worker([&] {
    end = DownloadUrl(manifest.url, limits, [&setup](std::string_view piece) { return setup.Write(piece); }, cancel,
                      received);
    window.Finish();
  });
  window.RunUntilFinished();
  worker.join();
  if (end == DownloadEnd::Complete && received != manifest.size) end = DownloadEnd::Failed;
  return end;
}

// Runs the setup program silently into `folder` and waits for it.
std::optional<DWORD> RunSetup(const std::wstring& setupPath, const std::wstring& folder) {
  std::wstring folderArgument = folder;
  if (folderArgument.size() > 3 && folderArgument.back() == L'\\') folderArgument.pop_back();
  // /D= is the last parameter and is taken unquoted, spaces and all.
  std::wstring commandLine = L"\"" + setupPath + L"\" /S /D=" + folderArgument;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(setupPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    return std::nullopt;
  }
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  ::GetExitCodeProcess(process.hProcess, &code);
  return code;
}

void StartProgram(const std::wstring& path) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + path + L"\"";
  if (::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
}

ManifestVerdict FetchAndCheckManifest(const LiveupSettings& settings, int installed) {
  const SmallText fetched = FetchFromDownloadFolders(kNorvaleManifestName, kManifestMaxBytes);
  if (fetched.end == DownloadEnd::TooLong) return {ManifestRefusal::TooLarge, std::nullopt};
  if (fetched.end != DownloadEnd::Complete) return {ManifestRefusal::None, std::nullopt};
  const auto key = ParsePublicKeyHex(settings.publicKeyHex);
  const SignatureCheck holds = [&key](std::string_view signedPart, const Signature& signature) {
    return key && ReleaseSignatureHolds(*key, signedPart, signature);
  };
  const std::string& text = fetched.text;
  ManifestVerdict verdict = CheckManifest(text, holds, kNorvaleProductCode, installed, Now());
  if (settings.loopbackHttp && verdict.refusal == ManifestRefusal::NotHttps) {
    // The test build's loopback service speaks plain HTTP; nothing else may.
    auto manifest = ParseManifest(text);
    if (manifest && manifest->url.starts_with(kLoopbackHttp)) return {ManifestRefusal::None, std::move(manifest)};
  }
  return verdict;
}

int UpdateNorvale(const LiveupSettings& settings) {
  const std::wstring folder = Widen(ExecutableFolder());
  const std::wstring program = folder + L"norv.exe";
  const std::optional<int> installed = InstalledRelease(program);
  if (!installed) return Refuse(text::kLiveupNoInstalled);
  const ManifestVerdict verdict = FetchAndCheckManifest(settings, *installed);
  if (verdict.refusal != ManifestRefusal::None) return Refuse(RefusalText(verdict.refusal));
  if (!verdict.manifest) return Refuse(text::kLiveupUnreachable);
  DownloadedSetup setup;
  if (!setup.Create()) return Refuse(text::kLiveupDownloadFailed);
  const DownloadEnd end = DownloadSetup(*verdict.manifest, setup);
  if (end != DownloadEnd::Complete) return Refuse(DownloadEndText(end));
  if (setup.LockAndHash() != verdict.manifest->sha256) return Refuse(text::kLiveupHashMismatch);
  const std::optional<DWORD> code = RunSetup(setup.Path(), folder);
  if (code != 0u) {
    setup.Keep();
    Refuse(std::string(text::kLiveupSetupFailed) + Narrow(setup.Path()));
    return kLiveupSetupFailed;
  }
  StartProgram(program);
  return 0;
}

int OpenCompanionPage(std::string_view listName) {
  const SmallText list = FetchFromDownloadFolders(listName, kDownloadListMaxBytes);
  std::string text = list.text;
  std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
  const std::optional<std::string> address = DownloadPageAddress(text);
  if (list.end != DownloadEnd::Complete || !address) return Refuse(text::kLiveupNoDownloadPage);
  ShellOpen(nullptr, *address, "");
  return 0;
}

}  // namespace

int RunLiveup(const std::vector<std::string>& arguments, const LiveupSettings& settings) {
  if (arguments.size() != 1) return Refuse(text::kLiveupUsage);
  const std::string_view code = arguments[0];
  const std::string_view companionList = CompanionDownloadList(code);
  if (code != kNorvaleProductCode && companionList.empty()) return Refuse(text::kLiveupUsage);
  const UniqueKernelHandle mutex(::CreateMutexW(nullptr, TRUE, kMutexName));
  if (!mutex || ::GetLastError() == ERROR_ALREADY_EXISTS) return Refuse(text::kLiveupAlreadyRunning);
  return code == kNorvaleProductCode ? UpdateNorvale(settings) : OpenCompanionPage(companionList);
}

}  // namespace norv
