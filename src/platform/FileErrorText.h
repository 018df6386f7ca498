#pragma once

#include <QFileDevice>
#include <QString>

namespace korvex {

// Why a file operation failed, for the dealer: a Czech reason for the common
// system errors, followed by the system's own text in parentheses, e.g.
// "na disku není dost místa (No space left on device)". Texts it does not
// know stay as they are.
QString FileErrorText(const QString &systemText);
QString FileErrorText(const QFileDevice &file);

} // namespace korvex
