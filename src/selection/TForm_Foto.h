#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;

namespace korvex {

class Dataset;
class UserDialogs;

// The photo dialog: the six photos of the list's current vehicle, each with
// a box that chooses it for the advert (ZOB_FOTOn, written at once); closing
// writes the number of chosen photos into ODESLI_FOTO.
class TForm_Foto : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kPhotos = 6;
    static constexpr QSize kFrame{201, 150};

    TForm_Foto(Dataset &query, UserDialogs &dialogs, QWidget *parent = nullptr);

    // Shows the current vehicle's photos and choices.
    void FormActivate();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void photoClicked(int n, bool checked);
    void chooseAll(bool chosen);
    bool hasCurrentRecord() const;
    void showVehicle();
    Dataset &m_query;
    UserDialogs &m_dialogs;
    std::array<QCheckBox *, kPhotos> m_boxes{};
    std::array<QLabel *, kPhotos> m_images{};
    QCheckBox *m_all = nullptr;
    QCheckBox *m_none = nullptr;
    QLabel *m_make;
    QLabel *m_price;
    bool m_justShown = false;
};

} // namespace korvex
