#include "platform/UserActionGuard.h"

#include "platform/ModuleError.h"
#include "platform/UserDialogs.h"

#include <QString>

#include <exception>
#include <new>

namespace korvex {

bool RunUserAction(UserDialogs &dialogs, const std::function<void()> &action)
{
    QString text;
    try {
        action();
        return true;
    } catch (const ModuleError &e) {
        text = e.text();
    } catch (const std::bad_alloc &) {
        text = QStringLiteral("Nedostatek paměti");
    } catch (const std::exception &e) {
        text = QString::fromLocal8Bit(e.what());
    }
    dialogs.showError(text);
    return false;
}

} // namespace korvex
