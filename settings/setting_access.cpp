#include "settings/setting_access.h"

#include <cstdio>

#include "base/text_basics.h"

namespace norv {

namespace {

template <typename T>
StoreResult StoreText(SettingsStorage& storage, std::string_view name, T& current, const T& wanted,
                      const std::string& text) {
  if (current == wanted) {
    return StoreResult::Unchanged;
  }
  current = wanted;
  return WriteSetting(storage, name, text) ? StoreResult::Written : StoreResult::Failed;
}

}  // namespace

int TextToInteger(std::string_view text, std::string_view defaultText) {
  if (const auto number = ParseInteger(text)) {
    return *number;
  }
  return ParseInteger(defaultText).value_or(0);
}

bool TextToFlag(std::string_view text, std::string_view defaultText) { return TextToInteger(text, defaultText) != 0; }

std::string ReadSetting(const SettingsStorage& storage, std::string_view section, std::string_view name,
                        std::string_view defaultText) {
  return storage.Read(section, name).value_or(std::string(defaultText));
}

int ReadIntegerSetting(const SettingsStorage& storage, std::string_view section, std::string_view name,
                       std::string_view defaultText) {
  return TextToInteger(ReadSetting(storage, section, name, defaultText), defaultText);
}

bool ReadFlagSetting(const SettingsStorage& storage, std::string_view section, std::string_view name,
                     std::string_view defaultText) {
  return ReadIntegerSetting(storage, section, name, defaultText) != 0;
}

bool WriteSetting(SettingsStorage& storage, std::string_view name, std::string_view text) {
  return storage.Write(kSettingsSection, name, text);
}

std::string FlagText(bool flag) { return flag ? "1" : "0"; }

std::string IntegerText(int number) { return std::to_string(number); }

std::string VersionStampText(int release) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%.4d", release);
  return buffer;
}

StoreResult StoreIfChanged(SettingsStorage& storage, std::string_view name, bool& current, bool wanted) {
  return StoreText(storage, name, current, wanted, FlagText(wanted));
}

StoreResult StoreIfChanged(SettingsStorage& storage, std::string_view name, int& current, int wanted) {
  return StoreText(storage, name, current, wanted, IntegerText(wanted));
}

StoreResult StoreIfChanged(SettingsStorage& storage, std::string_view name, std::string& current,
                           std::string_view wanted) {
  const std::string text(wanted);
  return StoreText(storage, name, current, text, text);
}

StoreResult StoreVersionStampIfChanged(SettingsStorage& storage, std::string_view name, int& current, int wanted) {
  return StoreText(storage, name, current, wanted, VersionStampText(wanted));
}

}  // namespace norv
