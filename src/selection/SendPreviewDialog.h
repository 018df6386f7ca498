#pragma once

#include "export/SendPreview.h"

#include <QDialog>

namespace korvex {

// "Náhled odeslání": the offers a send would add, change and withdraw on
// the portal, the pictures it would upload and the totals.
class SendPreviewDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SendPreviewDialog(const SendPreview &preview, QWidget *parent = nullptr);
};

} // namespace korvex
