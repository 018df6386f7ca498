#pragma once

#include "platform/Dataset.h"

#include <QPlainTextEdit>
#include <QPointer>

#include <functional>

namespace korvex {

// A multi-line text box bound to a field of the dataset's current record.
// Tab and Shift+Tab move the focus; Enter and Esc go to the window's default
// and cancel buttons first. Bound to a plain text field and left while the
// record is being edited, it writes its text into the record.
class TDBMemoTarvo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TDBMemoTarvo(QWidget *parent = nullptr);

    void setDataset(Dataset *dataset, const QString &field);
    const QString &dataField() const { return m_field; }

    // Shows an error of writing the text into the record.
    std::function<void(const QString &text)> onError;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void load();
    bool offerToWindow(QKeyEvent *event);

    QPointer<Dataset> m_dataset;
    QString m_field;
};

} // namespace korvex
