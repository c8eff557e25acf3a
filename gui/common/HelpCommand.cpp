#include "gui/common/HelpCommand.h"

namespace frusta::gui {

namespace {
std::function<void()>& helpCommand() {
    static std::function<void()> command;
    return command;
}
} // namespace

void setHelpCommand(std::function<void()> command) {
    helpCommand() = std::move(command);
}

void showHelp() {
    if (helpCommand())
        helpCommand()();
}

} // namespace frusta::gui
