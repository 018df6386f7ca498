#pragma once

#include "platform/Dataset.h"

namespace korvex {

// The former name of the dataset's own scope, kept for the offer list and the
// interchange import until they name the scope themselves.
using DisabledControls = Dataset::DisplaySuspended;

} // namespace korvex
