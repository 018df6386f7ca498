#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace korvex {

// The archiver's small progress window: the file being packed, a bar on the
// 0-65535 scale and a Cancel button.
class ZipProgressDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ZipProgressDialog(QWidget *parent = nullptr);

    void setFileName(const QString &name);
    void setPosition(int position);

Q_SIGNALS:
    void cancelRequested();

private:
    QLabel *m_label;
    QProgressBar *m_bar;
};

} // namespace korvex
