#pragma once

#include "platform/ModuleSettings.h"

namespace korvex {

// Points one libcurl handle at the host's proxy when it is switched on, and
// at no proxy otherwise (never one from the environment). Every request of
// the module goes the same way.
void ApplyProxy(void *curl, const ProxySettings &proxy, bool enabled);

} // namespace korvex
