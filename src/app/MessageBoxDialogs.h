#pragma once

#include "platform/UserDialogs.h"

#include <QPointer>
#include <QWidget>

class QMessageBox;

namespace korvex {

// The module's messages as modal message boxes over the main window.
class MessageBoxDialogs : public UserDialogs
{
public:
    explicit MessageBoxDialogs(QWidget *parent = nullptr)
        : m_parent(parent)
    {
    }
    void setParent(QWidget *parent) { m_parent = parent; }

    void notify(const QString &caption, const QString &text, Alignment alignment = Alignment::Left) override;
    // A box that does not block the window; one at a time.
    void notifyAside(const QString &caption, const QString &text) override;
    bool ask(const QString &caption, const QString &text) override;
    bool askDefaultNo(const QString &caption, const QString &text) override;
    void showError(const QString &text) override;

private:
    QPointer<QWidget> m_parent;
    QPointer<QMessageBox> m_aside;
};

} // namespace korvex
