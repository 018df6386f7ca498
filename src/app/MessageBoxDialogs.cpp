#include "app/MessageBoxDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QMessageBox>

namespace korvex {

namespace {

bool askYesNo(QWidget *parent, const QString &caption, const QString &text, bool defaultNo)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    // Qt's own texts would be English: the program ships no translation.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ano"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Ne"));
    if (defaultNo)
        box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

void MessageBoxDialogs::notify(const QString &caption, const QString &text, Alignment alignment)
{
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, m_parent);
    if (alignment == Alignment::Right)
        if (auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box.exec();
}

void MessageBoxDialogs::notifyAside(const QString &caption, const QString &text)
{
    if (!m_aside) {
        m_aside = new QMessageBox(QMessageBox::Warning, caption, text, QMessageBox::Ok, m_parent);
        m_aside->setAttribute(Qt::WA_DeleteOnClose);
        m_aside->setWindowModality(Qt::NonModal);
    }
    m_aside->setWindowTitle(caption);
    m_aside->setText(text);
    m_aside->show();
    m_aside->raise();
}

bool MessageBoxDialogs::ask(const QString &caption, const QString &text)
{
    return askYesNo(m_parent, caption, text, false);
}

bool MessageBoxDialogs::askDefaultNo(const QString &caption, const QString &text)
{
    return askYesNo(m_parent, caption, text, true);
}

void MessageBoxDialogs::showError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok, m_parent);
    box.exec();
}

} // namespace korvex
