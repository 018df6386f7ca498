#pragma once

#include <QString>

namespace korvex {

// Captions of the module's message boxes.
namespace Caption {
inline const QString Information = QStringLiteral("Informace ...");
inline const QString Warning = QStringLiteral("Varování ...");
inline const QString Question = QStringLiteral("Dotaz ...");
inline const QString Notice = QStringLiteral("Upozornění ...");
} // namespace Caption

// How the module talks to the user. The core never opens a window itself;
// the application wires in modal message boxes, tests a scripted double.
class UserDialogs
{
public:
    enum class Alignment { Left, Right };

    virtual ~UserDialogs() = default;

    // Exclamation icon and an OK button: notices and warnings.
    virtual void notify(const QString &caption, const QString &text, Alignment alignment = Alignment::Left) = 0;
    // The same notice, but the caller goes on at once: a notice given while
    // a transfer runs must not hold the transfer until it is closed.
    virtual void notifyAside(const QString &caption, const QString &text) = 0;

    // Question icon with Yes and No; true for Yes.
    virtual bool ask(const QString &caption, const QString &text) = 0;

    // As ask, with No as the default button: for questions where a hasty
    // Enter must not do harm. Ports without a default button just ask.
    virtual bool askDefaultNo(const QString &caption, const QString &text) { return ask(caption, text); }

    // The standard error box for an error no step caught.
    virtual void showError(const QString &text) = 0;
};

} // namespace korvex
