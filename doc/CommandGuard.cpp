#include "doc/CommandGuard.h"

#include "app/UserPort.h"
#include "doc/dMat.h"

#include <new>

namespace frusta {

std::string commandFailureMessage(const std::string& detail) {
    return "The command could not be completed and nothing was changed.\n" + detail;
}

Outcome runGuarded(UserPort& port, const std::function<Outcome()>& command) {
    try {
        return command();
    } catch (const MatrixError& e) {
        return fail(port, {commandFailureMessage(e.what())});
    } catch (const std::bad_alloc&) {
        return fail(port, {commandFailureMessage("Not enough memory for this data.")});
    }
}

} // namespace frusta
