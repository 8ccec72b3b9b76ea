#pragma once
// The program's own registry values: name, kind, the text used when the value
// is absent, and the text the first start writes.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace norv {

enum class SettingKind { Flag, Index, Number, Text, VersionStamp };

struct SettingValue {
  std::string_view name;
  SettingKind kind;
  // Absent value: this text. nullopt for values whose default is worked out
  // when read (the window position) or that start-up does not read (new1).
  std::optional<std::string_view> missing;
  // nullopt: the first start writes nothing for this value.
  std::optional<std::string_view> firstRun;
  // Both texts name a file in the program folder.
  bool inProgramFolder = false;
};

// In the order of the settings table, "win" first.
std::span<const SettingValue> SettingValues();

const SettingValue* FindSettingValue(std::string_view name);

// The default text of an own value, with the program folder (ending in a
// backslash) put in front where the value is a file of the program.
std::string MissingText(std::string_view name, std::string_view programFolder);

struct NamedText {
  std::string_view name;
  std::string text;
};

// What the first start writes, in the order it writes it.
std::vector<NamedText> FirstRunValues(std::string_view programFolder);

}  // namespace norv
