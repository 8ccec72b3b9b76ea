#pragma once
// Reading and writing single settings, and the reading rule that turns the
// stored text into numbers and flags.

#include <string>
#include <string_view>

#include "settings/settings_storage.h"

namespace norv {

// Decimal text as an integer; text that is not a number gives the integer of
// the default text (0 when that is no number either).
int TextToInteger(std::string_view text, std::string_view defaultText);
bool TextToFlag(std::string_view text, std::string_view defaultText);

// An absent value or section gives the default text.
std::string ReadSetting(const SettingsStorage& storage, std::string_view section, std::string_view name,
                        std::string_view defaultText);
int ReadIntegerSetting(const SettingsStorage& storage, std::string_view section, std::string_view name,
                       std::string_view defaultText);
bool ReadFlagSetting(const SettingsStorage& storage, std::string_view section, std::string_view name,
                     std::string_view defaultText);

// Always into the program's own section.
bool WriteSetting(SettingsStorage& storage, std::string_view name, std::string_view text);

std::string FlagText(bool flag);
std::string IntegerText(int number);
std::string VersionStampText(int release);  // four digits, "0051"

enum class StoreResult { Unchanged, Written, Failed };

// Sets the in-memory value and writes it only when it differs from what is in
// memory. The memory side changes even when the registry refuses the write
// (Failed), so the choice still holds for this run.
StoreResult StoreIfChanged(SettingsStorage& storage, std::string_view name, bool& current, bool wanted);
StoreResult StoreIfChanged(SettingsStorage& storage, std::string_view name, int& current, int wanted);
StoreResult StoreIfChanged(SettingsStorage& storage, std::string_view name, std::string& current,
                           std::string_view wanted);
StoreResult StoreVersionStampIfChanged(SettingsStorage& storage, std::string_view name, int& current, int wanted);

}  // namespace norv
