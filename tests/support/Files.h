#pragma once

#include <QByteArray>
#include <QString>

namespace korvex::test {

// Whole-file helpers for fixtures: write replaces, read gives empty bytes
// for a missing file.
void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

} // namespace korvex::test
