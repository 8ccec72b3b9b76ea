#include "tests/win/installer/installed_files.h"

#include <shlobj.h>
#include <objbase.h>

#include "base/handles_win.h"
#include "tests/win/win_test_support.h"

namespace norv::testing {

namespace {

std::wstring KnownFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
  return std::wstring(path) + L"\\";
}

// Every process the started one creates joins its job, so the job's last
// process ending is the whole run's end.
struct JobRun {
  UniqueKernelHandle job{::CreateJobObjectW(nullptr, nullptr)};
  UniqueKernelHandle port{::CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1)};

  bool Ready() {
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT link{job.get(), port.get()};
    return job && port &&
           ::SetInformationJobObject(job.get(), JobObjectAssociateCompletionPortInformation, &link, sizeof link);
  }

  bool WaitUntilEmpty(std::chrono::steady_clock::time_point deadline) {
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) {
        return false;
      }
      DWORD event = 0;
      ULONG_PTR key = 0;
      LPOVERLAPPED detail = nullptr;
      if (!::GetQueuedCompletionStatus(port.get(), &event, &key, &detail, static_cast<DWORD>(left.count()))) {
        return false;
      }
      if (event == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO) {
        return true;
      }
    }
  }
};

}  // namespace

std::wstring SetupProgram() { return BuildFolder() + NORVALE_SETUP_NAME; }

std::wstring DefaultProgramFolder() { return KnownFolder(CSIDL_LOCAL_APPDATA) + L"Programs\\Norvale\\"; }

std::wstring StartMenuPrograms() { return KnownFolder(CSIDL_PROGRAMS); }

Finished RunToTheEnd(const std::wstring& commandLine, std::chrono::milliseconds timeout) {
  const auto start = std::chrono::steady_clock::now();
  // Wine starts its desktop process, which stays, for the first program that
  // asks for the desktop window. Asked here first, it is this program's child
  // and not one of the processes the run waits for.
  ::GetDesktopWindow();
  Finished finished;
  JobRun run;
  if (!run.Ready()) {
    return finished;
  }
  std::wstring line = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                        &info)) {
    return finished;
  }
  UniqueKernelHandle process(info.hProcess);
  UniqueKernelHandle thread(info.hThread);
  ::AssignProcessToJobObject(run.job.get(), process.get());
  ::ResumeThread(thread.get());
  finished.ended = run.WaitUntilEmpty(start + timeout);
  if (!finished.ended) {
    ::TerminateJobObject(run.job.get(), 1);
  }
  ::WaitForSingleObject(process.get(), 5000);
  ::GetExitCodeProcess(process.get(), &finished.exitCode);
  finished.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  return finished;
}

std::optional<std::wstring> RegistryText(const wchar_t* key, const wchar_t* name) {
  wchar_t data[2048] = {};
  DWORD size = sizeof data - sizeof(wchar_t);
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(data);
}

std::optional<DWORD> RegistryNumber(const wchar_t* key, const wchar_t* name) {
  DWORD data = 0;
  DWORD size = sizeof data;
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return data;
}

bool RegistryKeyExists(const wchar_t* key) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return false;
  }
  ::RegCloseKey(opened);
  return true;
}

void SetRegistryText(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring ShortcutTarget(const std::wstring& shortcut) {
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    return {};
  }
  std::wstring target;
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t path[MAX_PATH] = {};
      if (SUCCEEDED(file->Load(shortcut.c_str(), STGM_READ)) &&
          SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) {
        target = path;
      }
      file->Release();
    }
    link->Release();
  }
  ::CoUninitialize();
  return target;
}

}  // namespace norv::testing
