#pragma once
// The in-memory copy of the persisted options. Members carry the registry value
// names, so `mod` here is the value "mod" under Software\Pellmark\T-NORV.

#include <array>
#include <functional>
#include <mutex>
#include <string>

namespace norv {

struct Settings {
  bool win = false;
  bool dkg = false;
  bool msg = true;
  bool snd = true;
  std::string wav;  // full path of the update sound
  bool mod = false;
  int in1 = 1;  // normal-mode interval index 0..6
  int in2 = 1;  // window-mode interval index 0..6
  int tm1 = 1, tm2 = 1, tm3 = 1, tm4 = 1;
  int kid = 1;  // start-up check delay index 0..6
  bool ldf = true;
  bool lpx = false;
  std::string lpa;
  std::string lpp;
  bool csv = true, shp = true, dhp = true, chp = true, hlp = true;
  bool dml = true, cdm = true, ad4 = true, bc4 = true, elj = true;
  // Companion options 0..3 ("dm0".."dm3" and so on).
  std::array<bool, 4> dm{}, cd{}, ad{}, bc{}, el{};
  int pox = 0, poy = 0;  // as loaded at start
  int now = 0;
  int newest = 0;  // the value "new"
  int new2 = 0, new3 = 0, new4 = 0, new5 = 0, new6 = 0;
  int cnt = 0;
  // Installed versions ("now" of each companion's section), read at start.
  int birchNow = 0, cedarNow = 0, damsonNow = 0, elderNow = 0, fennelNow = 0;

  // Derived from the index tables and the time values.
  int NormalIntervalMinutes() const;  // 0 = none
  int WindowIntervalMinutes() const;  // 0 = none
  int StartupDelayMs() const;         // 0 = no start-up check
  int WindowStart() const;            // hhmm
  int WindowEnd() const;              // hhmm
  bool WindowWraps() const;           // start >= end: past midnight, or the whole day
};

// Process-wide settings shared by the window thread (which edits them) and the
// checker thread (which takes a snapshot at the start of each run).
class SettingsHolder {
 public:
  Settings Snapshot() const {
    std::lock_guard lock(mutex_);
    return settings_;
  }
  void Update(const std::function<void(Settings&)>& change) {
    std::lock_guard lock(mutex_);
    change(settings_);
  }

 private:
  mutable std::mutex mutex_;
  Settings settings_;
};

SettingsHolder& AppSettings();

}  // namespace norv
