#pragma once

#include "platform/ModuleError.h"

namespace korvex {

// The archiver component's errors.
class ZipException : public ModuleError
{
public:
    using ModuleError::ModuleError;
};

} // namespace korvex
