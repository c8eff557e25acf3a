#pragma once
namespace frusta {

// The probability that a standard normal variable lies below x (algorithm AS 66, Hill 1973,
// normal integral). NaN for a NaN argument.
double NormalLowerTail(double x);

} // namespace frusta
