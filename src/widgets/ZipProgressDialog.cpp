#include "widgets/ZipProgressDialog.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace korvex {

ZipProgressDialog::ZipProgressDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
    , m_label(new QLabel(u"wait ..."_s, this))
    , m_bar(new QProgressBar(this))
{
    setObjectName(u"ZipProgressDialog"_s);
    setWindowTitle(QApplication::applicationName());
    setFixedSize(300, 100);
    m_label->setGeometry(10, 15, 280, 16);
    m_label->setAlignment(Qt::AlignHCenter);
    m_bar->setGeometry(10, 35, 280, 16);
    m_bar->setRange(0, 65535);
    m_bar->setValue(0);
    auto *cancel = new QPushButton(u"&Cancel"_s, this);
    cancel->setObjectName(u"CancelButton"_s);
    cancel->setGeometry(112, 60, 75, 25);
    cancel->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, [this] {
        Q_EMIT cancelRequested();
        hide();
    });
}

void ZipProgressDialog::setFileName(const QString &name)
{
    m_label->setText(name);
}

void ZipProgressDialog::setPosition(int position)
{
    m_bar->setValue(position);
}

} // namespace korvex
