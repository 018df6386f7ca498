#pragma once

#include "export/SendPreview.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace korvex {

// "Náhled odeslání": the offers a send would add, change and withdraw on
// the portal, the pictures it would upload and the totals.
class SendPreviewDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SendPreviewDialog(const SendPreview &preview, QWidget *parent = nullptr);

    QTableWidget *TableNabidky;
    QTableWidget *TableObrazky;
    QTableWidget *TableProblemy;
    QLabel *LabelSouhrn;
};

} // namespace korvex
