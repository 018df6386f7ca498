#pragma once

#include "platform/ModuleError.h"

#include <QString>

#include <functional>

namespace korvex::test {

// The text of the ModuleError an action ends with; empty when it ends well.
inline QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const ModuleError &e) {
        return e.text();
    }
    return QString();
}

} // namespace korvex::test
