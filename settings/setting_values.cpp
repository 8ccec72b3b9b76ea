#include "settings/setting_values.h"

#include <algorithm>
#include <array>

#include "resources/strings.h"

namespace norv {

namespace {

using enum SettingKind;
// The window position's default depends on the screen; new1 is kept for
// Alder but nothing reads it at start.
constexpr std::optional<std::string_view> kNoFixedDefault = std::nullopt;
constexpr std::optional<std::string_view> kNotWritten = std::nullopt;

constexpr SettingValue kValues[] = {
    {"win", Flag, "0", "0"},
    {"dkg", Flag, "0", "0"},
    {"msg", Flag, "1", "1"},
    {"snd", Flag, "1", "0"},
    {"wav", Text, text::kSoundFile, text::kSoundFile, true},
    {"mod", Flag, "0", "0"},
    {"in1", Index, "1", "5"},
    {"in2", Index, "1", "3"},
    {"tm1", Number, "1", "19"},
    {"tm2", Number, "1", "0"},
    {"tm3", Number, "1", "21"},
    {"tm4", Number, "1", "0"},
    {"kid", Index, "1", "2"},
    {"ldf", Flag, "1", "1"},
    {"lpx", Flag, "0", "0"},
    {"lpa", Text, "", ""},
    {"lpp", Text, "", "0"},
    {"csv", Flag, "1", "1"},
    {"shp", Flag, "1", "1"},
    {"dhp", Flag, "1", "1"},
    {"chp", Flag, "1", "1"},
    {"hlp", Flag, "1", "1"},
    {"dml", Flag, "1", "1"},
    {"cdm", Flag, "1", "1"},
    {"ad4", Flag, "1", "1"},
    {"bc4", Flag, "1", "1"},
    {"elj", Flag, "1", "1"},
    {"dm0", Flag, "0", "0"}, {"cd0", Flag, "0", "0"}, {"ad0", Flag, "0", "0"},
    {"bc0", Flag, "0", "0"}, {"el0", Flag, "0", "0"},
    {"dm1", Flag, "0", "0"}, {"cd1", Flag, "0", "0"}, {"ad1", Flag, "0", "0"},
    {"bc1", Flag, "0", "0"}, {"el1", Flag, "0", "0"},
    {"dm2", Flag, "0", "0"}, {"cd2", Flag, "0", "0"}, {"ad2", Flag, "0", "0"},
    {"bc2", Flag, "0", "0"}, {"el2", Flag, "0", "0"},
    {"dm3", Flag, "0", "0"}, {"cd3", Flag, "0", "0"}, {"ad3", Flag, "0", "0"},
    {"bc3", Flag, "0", "0"}, {"el3", Flag, "0", "0"},
    {"pox", Number, kNoFixedDefault, kNotWritten},
    {"poy", Number, kNoFixedDefault, kNotWritten},
    {"now", VersionStamp, "0", "0051"},
    {"new", VersionStamp, "0", "0051"},
    {"new1", VersionStamp, kNoFixedDefault, kNotWritten},
    {"new2", VersionStamp, "0", "0000"},
    {"new3", VersionStamp, "0", "0000"},
    {"new4", VersionStamp, "0", "0000"},
    {"new5", VersionStamp, "0", "0000"},
    {"new6", VersionStamp, "0", "0000"},
    {"cnt", Number, "0", "0"},
};

constexpr std::string_view kLastOption = "el3";
constexpr std::array<std::string_view, 8> kBookkeepingOrder = {"now",  "new2", "new3", "new4",
                                                                "new5", "new6", "new",  "cnt"};

std::string WithFolder(const SettingValue& value, std::string_view text, std::string_view programFolder) {
  if (!value.inProgramFolder) {
    return std::string(text);
  }
  return std::string(programFolder) + std::string(text);
}

}  // namespace

std::span<const SettingValue> SettingValues() { return kValues; }

const SettingValue* FindSettingValue(std::string_view name) {
  const auto found =
      std::find_if(std::begin(kValues), std::end(kValues), [&](const SettingValue& v) { return v.name == name; });
  return found == std::end(kValues) ? nullptr : found;
}

std::string MissingText(std::string_view name, std::string_view programFolder) {
  const SettingValue* value = FindSettingValue(name);
  if (value == nullptr || !value->missing) {
    return {};
  }
  return WithFolder(*value, *value->missing, programFolder);
}

std::vector<NamedText> FirstRunValues(std::string_view programFolder) {
  std::vector<NamedText> values;
  for (const SettingValue& value : kValues) {
    values.push_back({value.name, WithFolder(value, *value.firstRun, programFolder)});
    if (value.name == kLastOption) {
      break;
    }
  }
  for (std::string_view name : kBookkeepingOrder) {
    const SettingValue& value = *FindSettingValue(name);
    values.push_back({value.name, WithFolder(value, *value.firstRun, programFolder)});
  }
  return values;
}

}  // namespace norv
