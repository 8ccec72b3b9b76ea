#include "settings/options_apply.h"

#include "base/text_basics.h"
#include "settings/setting_access.h"

namespace norv {

namespace {

constexpr int kHighestPort = 65535;

void ApplyGeneral(OptionsForm& form, Settings& settings, SettingsStorage& storage, const ApplyEnvironment& env,
                  ApplyOutcome& outcome) {
  // The start-up entry follows the flag only when the flag changes, so an
  // entry edited elsewhere is left alone by an unrelated apply; only the bare
  // path of an earlier release is rewritten in quotes.
  if (StoreIfChanged(storage, "win", settings.win, form.win) != StoreResult::Unchanged) {
    if (env.setStartupEntry) env.setStartupEntry(form.win);
  } else if (form.win && env.startupEntryIsBare && env.setStartupEntry && env.startupEntryIsBare()) {
    env.setStartupEntry(true);
  }
  StoreIfChanged(storage, "dkg", settings.dkg, form.dkg);
  StoreIfChanged(storage, "msg", settings.msg, form.msg);
  StoreIfChanged(storage, "snd", settings.snd, form.snd);

  const std::string wav(TrimControls(form.wav));
  if (wav != settings.wav) {
    if (IsUsableSoundFile(wav, env.fileExists)) {
      StoreIfChanged(storage, "wav", settings.wav, wav);
    } else {
      form.wav = settings.wav;
      outcome.soundFileRefused = true;
    }
  }
}

// The running process keeps its mode until the restart, so only the registry
// learns the new one; memory keeps the running mode for every later compare.
void ApplyResidency(const OptionsForm& form, const Settings& settings, SettingsStorage& storage,
                    ApplyOutcome& outcome) {
  if (form.mod != settings.mod) {
    WriteSetting(storage, "mod", FlagText(form.mod));
    outcome.restartNeeded = true;
  }
}

// The intervals and the time window are derived from these on every read,
// so storing them is all the recomputing there is.
void ApplySchedule(const OptionsForm& form, Settings& settings, SettingsStorage& storage) {
  StoreIfChanged(storage, "in1", settings.in1, form.in1);
  StoreIfChanged(storage, "in2", settings.in2, form.in2);
  StoreIfChanged(storage, "tm1", settings.tm1, form.tm1);
  StoreIfChanged(storage, "tm2", settings.tm2, form.tm2);
  StoreIfChanged(storage, "tm3", settings.tm3, form.tm3);
  StoreIfChanged(storage, "tm4", settings.tm4, form.tm4);
  StoreIfChanged(storage, "kid", settings.kid, form.kid);
}

void ApplyConnection(OptionsForm& form, Settings& settings, SettingsStorage& storage, ApplyOutcome& outcome) {
  StoreIfChanged(storage, "ldf", settings.ldf, form.ldf);
  StoreIfChanged(storage, "lpx", settings.lpx, form.lpx);

  StoreIfChanged(storage, "lpa", settings.lpa, TrimControls(form.lpa));

  const std::string_view typed = TrimControls(form.lpp);
  const std::string lpp(typed.empty() ? std::string_view("0") : typed);
  if (lpp != settings.lpp) {
    if (const auto port = PortToStore(lpp)) {
      StoreIfChanged(storage, "lpp", settings.lpp, *port);
    } else {
      form.lpp = ShownPort(settings.lpp);
      outcome.portRefused = true;
    }
  }
}

void ApplyButtons(const OptionsForm& form, Settings& settings, SettingsStorage& storage, bool alderAvailable) {
  StoreIfChanged(storage, "csv", settings.csv, form.csv);
  StoreIfChanged(storage, "shp", settings.shp, form.shp);
  StoreIfChanged(storage, "dhp", settings.dhp, form.dhp);
  StoreIfChanged(storage, "chp", settings.chp, form.chp);
  StoreIfChanged(storage, "hlp", settings.hlp, form.hlp);
  for (const CompanionTab& tab : CompanionTabs()) {
    const ProductInfo& companion = InfoOf(tab.product);
    if (tab.product == Product::Alder && !alderAvailable) continue;
    StoreIfChanged(storage, companion.buttonSetting, settings.*companion.buttonShown, form.*tab.button);
  }
}

void ApplyCompanions(const OptionsForm& form, Settings& settings, SettingsStorage& storage, bool alderAvailable) {
  for (const CompanionTab& tab : CompanionTabs()) {
    const ProductInfo& companion = InfoOf(tab.product);
    if (tab.product == Product::Alder && !alderAvailable) {
      continue;
    }
    for (int box = 0; box < 4; ++box) {
      std::string name(companion.optionPrefix);
      name.push_back(static_cast<char>('0' + box));
      StoreIfChanged(storage, name, (settings.*companion.options)[box], (form.*tab.boxes)[box]);
    }
  }
}

}  // namespace

bool IsUsableSoundFile(std::string_view path, const std::function<bool(const std::string&)>& fileExists) {
  if (path.size() < 4 || UpperAscii(path.substr(path.size() - 4)) != ".WAV") {
    return false;
  }
  return fileExists && fileExists(std::string(path));
}

// The fetch joins the port to the proxy address as it is stored, so only a
// number that can be a port is taken, written without sign or leading zeros.
std::optional<std::string> PortToStore(std::string_view fieldText) {
  const std::string_view trimmed = TrimControls(fieldText);
  const auto port = ParseInteger(trimmed.empty() ? std::string_view("0") : trimmed);
  if (!port || *port < 0 || *port > kHighestPort) {
    return std::nullopt;
  }
  return IntegerText(*port);
}

ApplyOutcome ApplyOptions(OptionsForm& form, Settings& settings, SettingsStorage& storage,
                          const ApplyEnvironment& environment) {
  ApplyOutcome outcome;
  ApplyGeneral(form, settings, storage, environment, outcome);
  ApplyResidency(form, settings, storage, outcome);
  ApplySchedule(form, settings, storage);
  ApplyConnection(form, settings, storage, outcome);
  ApplyButtons(form, settings, storage, environment.alderAvailable);
  ApplyCompanions(form, settings, storage, environment.alderAvailable);
  return outcome;
}

}  // namespace norv
