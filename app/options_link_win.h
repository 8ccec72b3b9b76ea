#pragma once
// The options dialog's view of the main window, the about box, the help file
// and the companions.

#include <memory>

#include "settings/options_host_win.h"

namespace norv {

class MainWindow;

std::unique_ptr<OptionsHost> MakeOptionsHost(MainWindow& form);

}  // namespace norv
