#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/unicode_win.h"
#include "settings/first_run.h"
#include "settings/registry_storage_win.h"
#include "settings/setting_access.h"

namespace norv {
namespace {

constexpr wchar_t kMakerKey[] = L"Software\\Pellmark";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct RawValue {
  DWORD type = 0;
  std::wstring data;
};

// Reads straight from the registry, bypassing the code under test.
std::optional<RawValue> ReadRaw(const wchar_t* key, const wchar_t* name) {
  DWORD type = 0;
  DWORD size = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring data(size / sizeof(wchar_t), L'\0');
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.resize(wcsnlen(data.c_str(), data.size()));
  return RawValue{type, data};
}

bool KeyExists(const wchar_t* path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  ::RegCloseKey(key);
  return true;
}

class SettingsRegistry : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kMakerKey);
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"T-NORV");
  }
  RegistrySettingsStorage storage;
};

TEST_F(SettingsRegistry, AValueReadsBackAsWritten) {
  ASSERT_TRUE(storage.Write("T-NORV", "lpa", "proxy.local"));
  EXPECT_EQ(storage.Read("T-NORV", "lpa"), "proxy.local");
  ASSERT_TRUE(storage.Write("T-NORV", "lpa", ""));
  EXPECT_EQ(storage.Read("T-NORV", "lpa"), "");
}

TEST_F(SettingsRegistry, NonAsciiTextSurvivesAsUtf16) {
  const std::string path = "D:\\サウンド\\ß-鐘.wav";
  ASSERT_TRUE(storage.Write("T-NORV", "wav", path));
  EXPECT_EQ(storage.Read("T-NORV", "wav"), path);
  const auto raw = ReadRaw(L"Software\\Pellmark\\T-NORV", L"wav");
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->data, Widen(path));
}

TEST_F(SettingsRegistry, AStringStoredWithoutTerminatorReadsWhole) {
  ASSERT_TRUE(storage.Write("T-NORV", "lpa", "x"));
  const wchar_t text[] = {L'h', L'o', L's', L't'};
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Pellmark\\T-NORV", L"lpa", REG_SZ, text, sizeof text),
            ERROR_SUCCESS);
  EXPECT_EQ(storage.Read("T-NORV", "lpa"), "host");
}

TEST_F(SettingsRegistry, ReadingCreatesTheMakerKeyButNotTheSection) {
  EXPECT_EQ(storage.Read("DAMSON", "dat"), std::nullopt);
  EXPECT_TRUE(KeyExists(kMakerKey));
  EXPECT_FALSE(KeyExists(L"Software\\Pellmark\\DAMSON"));
}

TEST_F(SettingsRegistry, AValueOfAnotherTypeReadsAsAbsent) {
  ASSERT_TRUE(storage.Write("T-NORV", "cnt", "3"));
  const DWORD number = 7;
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Pellmark\\T-NORV", L"cnt", REG_DWORD, &number,
                              sizeof number),
            ERROR_SUCCESS);
  EXPECT_EQ(storage.Read("T-NORV", "cnt"), std::nullopt);
  EXPECT_EQ(ReadIntegerSetting(storage, "T-NORV", "cnt", "0"), 0);
}

TEST_F(SettingsRegistry, DeletingRemovesOnlyThatValueAndToleratesAbsence) {
  ASSERT_TRUE(storage.Write("T-NORV", "pox", "10"));
  ASSERT_TRUE(storage.Write("T-NORV", "poy", "20"));
  EXPECT_TRUE(storage.DeleteValue("T-NORV", "pox"));
  EXPECT_EQ(storage.Read("T-NORV", "pox"), std::nullopt);
  EXPECT_EQ(storage.Read("T-NORV", "poy"), "20");
  EXPECT_TRUE(storage.DeleteValue("T-NORV", "pox"));
  EXPECT_TRUE(storage.DeleteValue("NO-SECTION", "pox"));
}

TEST_F(SettingsRegistry, FirstRunValuesLandAsExactStrings) {
  ASSERT_TRUE(RunFirstRunStep(storage, "C:\\Norvale\\"));
  const wchar_t* section = L"Software\\Pellmark\\T-NORV";
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {
      {L"win", L"0"},     {L"snd", L"0"},    {L"wav", L"C:\\Norvale\\norv.wav"},
      {L"in1", L"5"},     {L"tm3", L"21"},   {L"lpa", L""},
      {L"lpp", L"0"},     {L"el3", L"0"},    {L"now", L"0051"},
      {L"new6", L"0000"}, {L"new", L"0051"}, {L"cnt", L"0"},
  };
  for (const auto& [name, text] : expected) {
    const auto raw = ReadRaw(section, name);
    ASSERT_TRUE(raw) << Narrow(name);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ)) << Narrow(name);
    EXPECT_EQ(raw->data, text) << Narrow(name);
  }
  EXPECT_FALSE(ReadRaw(section, L"pox"));
  EXPECT_FALSE(ReadRaw(section, L"new1"));
  EXPECT_FALSE(RunFirstRunStep(storage, "C:\\Elsewhere\\"));
  EXPECT_EQ(ReadRaw(section, L"wav")->data, L"C:\\Norvale\\norv.wav");
}

TEST_F(SettingsRegistry, AnUnchangedValueIsNotRewritten) {
  int in1 = 5;
  ASSERT_TRUE(storage.Write("T-NORV", "in1", "05"));
  EXPECT_EQ(StoreIfChanged(storage, "in1", in1, 5), StoreResult::Unchanged);
  EXPECT_EQ(storage.Read("T-NORV", "in1"), "05");
  EXPECT_EQ(StoreIfChanged(storage, "in1", in1, 6), StoreResult::Written);
  EXPECT_EQ(storage.Read("T-NORV", "in1"), "6");
}

TEST_F(SettingsRegistry, TheStartupEntryNamesTheProgramAndCanBeRemoved) {
  ASSERT_TRUE(WriteStartupEntry("C:\\Program Files\\Norvale\\"));
  const auto raw = ReadRaw(kRunKey, L"T-NORV");
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw->data, L"\"C:\\Program Files\\Norvale\\norv.exe\"");
  EXPECT_EQ(ReadStartupEntry(), "\"C:\\Program Files\\Norvale\\norv.exe\"");
  EXPECT_TRUE(DeleteStartupEntry());
  EXPECT_FALSE(ReadRaw(kRunKey, L"T-NORV"));
  EXPECT_TRUE(DeleteStartupEntry());
}

}  // namespace
}  // namespace norv
