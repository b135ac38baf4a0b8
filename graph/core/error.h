#pragma once

#include <stdexcept>

// The one error type of the whole system. Its message is the text the user sees in
// the application's error box, so it is always one of the system's fixed messages.
class TVandrelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
