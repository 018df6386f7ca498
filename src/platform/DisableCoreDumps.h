#pragma once

namespace korvex {

// Keeps the process from leaving a core dump, which would hold the portal
// password in plain text. Returns false when the system refused.
bool DisableCoreDumps();

} // namespace korvex
