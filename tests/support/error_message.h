#pragma once

#include <functional>
#include <string>

#include "graph/core/error.h"

// The message of the TVandrelError that `action` raises, or "no error".
inline std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const TVandrelError& error) {
        return error.what();
    }
    return "no error";
}
