#pragma once

#include <QString>
#include <QByteArray>
#include <exception>

namespace korvex {

// The error every failing step throws; what() is the text the user will see.
class ModuleError : public std::exception
{
public:
    explicit ModuleError(QString text);

    const QString &text() const { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

} // namespace korvex
