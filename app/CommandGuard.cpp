#include "app/CommandGuard.h"

#include "app/UserPort.h"
#include "doc/dMat.h"

#include <new>

namespace frusta {

std::string commandFailureMessage(const std::string& detail) {
    return "The command could not be completed and nothing was changed.\n" + detail;
}

bool runGuarded(UserPort& port, const std::function<bool()>& command) {
    try {
        return command();
    } catch (const MatrixError& e) {
        port.message(commandFailureMessage(e.what()));
    } catch (const std::bad_alloc&) {
        port.message(commandFailureMessage("Not enough memory for this data."));
    }
    return false;
}

} // namespace frusta
