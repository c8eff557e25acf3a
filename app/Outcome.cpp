#include "app/Outcome.h"

namespace frusta {

Outcome Outcome::failed(Notice shown, const Outcome& cause) {
    Outcome o(false);
    o.notices_ = cause.notices_;
    o.notices_.push_back(std::move(shown));
    return o;
}

Outcome fail(UserPort& port, Notice notice, const Outcome& cause) {
    port.notify(notice);
    return Outcome::failed(std::move(notice), cause);
}

} // namespace frusta
