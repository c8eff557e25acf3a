#pragma once
// The application's Help command, reached from the Help buttons of the dialogs and panels.
#include <functional>

namespace frusta::gui {

void setHelpCommand(std::function<void()> command);
// Opens the help; does nothing before the application set the command.
void showHelp();

} // namespace frusta::gui
