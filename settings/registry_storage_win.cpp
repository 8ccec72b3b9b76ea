#include "settings/registry_storage_win.h"

#include <cwchar>
#include <string>

#include "base/handles_win.h"
#include "base/unicode_win.h"
#include "resources/strings.h"
#include "settings/startup_entry.h"

namespace norv {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

UniqueRegKey CreateKey(HKEY parent, const std::wstring& path, REGSAM access) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
    return {};
  }
  return UniqueRegKey(key);
}

UniqueRegKey OpenKey(HKEY parent, const std::wstring& path, REGSAM access) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(parent, path.c_str(), 0, access, &key) != ERROR_SUCCESS) {
    return {};
  }
  return UniqueRegKey(key);
}

// Every access opens the keys anew and closes them again, so no handle stays
// open between accesses; the maker key is created by whichever access comes
// first, a reading included.
UniqueRegKey OpenMakerKey() {
  return CreateKey(HKEY_CURRENT_USER, L"Software\\" + Widen(text::kMakerName), KEY_CREATE_SUB_KEY |
                                                                                   KEY_ENUMERATE_SUB_KEYS);
}

// A reading must not leave an empty section behind (companion sections are
// the companions' own), so only writing creates the section.
UniqueRegKey OpenSectionForReading(std::string_view section) {
  const UniqueRegKey maker = OpenMakerKey();
  if (!maker) {
    return {};
  }
  return OpenKey(maker.get(), Widen(section), KEY_QUERY_VALUE);
}

UniqueRegKey OpenSectionForWriting(std::string_view section) {
  const UniqueRegKey maker = OpenMakerKey();
  if (!maker) {
    return {};
  }
  return CreateKey(maker.get(), Widen(section), KEY_SET_VALUE);
}

// Stored strings need not end in a terminator and may change size between
// the two queries, hence the retry and the cut at the first terminator.
std::optional<std::wstring> QueryString(HKEY key, const std::wstring& name) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) {
      return std::nullopt;
    }
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    const LSTATUS status =
        ::RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got);
    if (status == ERROR_MORE_DATA) {
      continue;
    }
    if (status != ERROR_SUCCESS || type != REG_SZ) {
      return std::nullopt;
    }
    buffer.resize(::wcsnlen(buffer.data(), got / sizeof(wchar_t)));
    return buffer;
  }
  return std::nullopt;
}

bool SetString(HKEY key, const std::wstring& name, const std::wstring& value) {
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) ==
         ERROR_SUCCESS;
}

// Success means the value is gone, which an absent key or value already is.
bool DeleteValueBelow(HKEY parent, const std::wstring& path, const std::wstring& name) {
  HKEY raw = nullptr;
  const LSTATUS opened = ::RegOpenKeyExW(parent, path.c_str(), 0, KEY_SET_VALUE, &raw);
  if (opened == ERROR_FILE_NOT_FOUND) {
    return true;
  }
  if (opened != ERROR_SUCCESS) {
    return false;
  }
  const UniqueRegKey key(raw);
  const LSTATUS deleted = ::RegDeleteValueW(key.get(), name.c_str());
  return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

}  // namespace

std::optional<std::string> RegistrySettingsStorage::Read(std::string_view section, std::string_view name) const {
  const UniqueRegKey key = OpenSectionForReading(section);
  if (!key) {
    return std::nullopt;
  }
  const auto value = QueryString(key.get(), Widen(name));
  if (!value) {
    return std::nullopt;
  }
  return Narrow(*value);
}

bool RegistrySettingsStorage::Write(std::string_view section, std::string_view name, std::string_view value) {
  const UniqueRegKey key = OpenSectionForWriting(section);
  return key && SetString(key.get(), Widen(name), Widen(value));
}

bool RegistrySettingsStorage::DeleteValue(std::string_view section, std::string_view name) {
  const UniqueRegKey maker = OpenMakerKey();
  return maker && DeleteValueBelow(maker.get(), Widen(section), Widen(name));
}

bool WriteStartupEntry(std::string_view programFolder) {
  const UniqueRegKey run = CreateKey(HKEY_CURRENT_USER, kRunKey, KEY_SET_VALUE);
  return run && SetString(run.get(), Widen(text::kProductCode), Widen(StartupEntryCommand(programFolder)));
}

std::optional<std::string> ReadStartupEntry() {
  const UniqueRegKey run = OpenKey(HKEY_CURRENT_USER, kRunKey, KEY_QUERY_VALUE);
  if (!run) {
    return std::nullopt;
  }
  const auto value = QueryString(run.get(), Widen(text::kProductCode));
  if (!value) {
    return std::nullopt;
  }
  return Narrow(*value);
}

bool DeleteStartupEntry() { return DeleteValueBelow(HKEY_CURRENT_USER, kRunKey, Widen(text::kProductCode)); }

SettingsStorage& AppStorage() {
  static RegistrySettingsStorage storage;
  return storage;
}

}  // namespace norv
