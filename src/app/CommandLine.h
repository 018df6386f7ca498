#pragma once

#include <QString>

namespace korvex {

// The texts of "--help" and "--version".
QString UsageText();
QString VersionText();

} // namespace korvex
