#include "widgets/TDBMemoTarvo.h"

#include "platform/Dataset.h"
#include "platform/ModuleError.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace korvex {

TDBMemoTarvo::TDBMemoTarvo(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    onError = [this](const QString &text) { QMessageBox::critical(this, QApplication::applicationName(), text); };
}

void TDBMemoTarvo::setDataset(Dataset *dataset, const QString &field)
{
    if (m_dataset)
        disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    m_field = field;
    if (m_dataset) {
        connect(m_dataset, &Dataset::afterScroll, this, &TDBMemoTarvo::load);
        connect(m_dataset, &Dataset::dataChanged, this, &TDBMemoTarvo::load);
    }
    load();
}

void TDBMemoTarvo::load()
{
    const bool onRecord = m_dataset && m_dataset->isOpen() && m_dataset->recNo() >= 0;
    setPlainText(onRecord ? m_dataset->text(m_field) : QString());
}

bool TDBMemoTarvo::offerToWindow(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool escape = event->key() == Qt::Key_Escape;
    if (!enter && !escape)
        return false;
    for (QPushButton *button : window()->findChildren<QPushButton *>()) {
        const bool takes = enter ? button->isDefault() : button->property("cancel").toBool();
        if (takes && button->isVisible() && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}

void TDBMemoTarvo::keyPressEvent(QKeyEvent *event)
{
    if (offerToWindow(event))
        return;
    QPlainTextEdit::keyPressEvent(event);
}

void TDBMemoTarvo::focusOutEvent(QFocusEvent *event)
{
    if (!isReadOnly() && m_dataset && m_dataset->isOpen()
        && (m_dataset->state() == Dataset::State::Edit || m_dataset->state() == Dataset::State::Insert)) {
        const int field = m_dataset->fieldIndex(m_field);
        if (field >= 0 && m_dataset->definition().fields[size_t(field)].kind == FieldKind::Text) {
            try {
                m_dataset->setValue(field, toPlainText());
            } catch (const ModuleError &e) {
                setFocus();
                onError(e.text());
                return;
            }
        }
    }
    QPlainTextEdit::focusOutEvent(event);
}

} // namespace korvex
