#pragma once

#include "selection/IconCache.h"

#include <QWidget>

#include <QHash>

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace korvex {

class Dataset;
class TDBMemoTarvo;
class TDBNavigatorTarvo;
class TDbGridTarvo;
struct TGridCellLook;
class TransferPanel;
class UserDialogs;
class VehicleChecker;
class ChangedPhotos;

// The first tab of the main window, "Příprava inzerce Korvex": the vehicle
// grid with its marks, the detail panel, the flags and the counters. Marks
// live in the grid's check store and in OZNACENO; this tab keeps them in step.
class VehicleListTab : public QWidget
{
    Q_OBJECT
public:
    VehicleListTab(Dataset &query, UserDialogs &dialogs, QWidget *parent = nullptr);
    ~VehicleListTab() override;

    // Where the photo icons are read: "Foto.bmp" in the settings folder,
    // "Data_Off_LIne\No_Foto.bmp" in the executable folder.
    void setIconFolders(const QString &settingsFolder, const QString &executableFolder);

    // While set, the check-row event leaves OZNACENO alone.
    bool RestoringMarks = false;
    bool OnlyMarkedShown() const { return m_onlyMarked; }

    void UpdateMarkedLabel();
    void UpdateTotalLabel();
    // "s problémem N": the marked vehicles whose checks found something.
    // UpdateMarkedLabel has it counted once the events of a walk are done.
    void UpdateProblemLabel();
    // Forgets what the checks found, so that the files are looked at again.
    void RecheckVehicles();
    // The check texts of a row; empty for an unmarked vehicle.
    QStringList rowProblems(int row);
    // Checks in the grid every record whose OZNACENO is true and goes back to
    // the first record.
    void RestoreMarks();
    void MarkAll();
    void UnmarkAll();
    void ToggleCurrentMark();
    void ToggleOnlyMarked();
    void ToggleResendPhotos();
    void ToggleMagazine();
    // Deletes the current vehicle after the question, its mark with it, so
    // that no count includes a vehicle that no longer exists.
    void DeleteCurrentVehicle();

    // Actions that belong to the window around the tab.
    // Whether the send names only the first photo (the settings tab's box).
    std::function<bool()> onlyFirstPhoto;
    std::function<void()> onShowPhotos, onSend, onPreview, onClose, onLoadData, onCreateAscii, onGenerateXml, onCreateDatabase;

    TDbGridTarvo *DbGridTarvo1;
    TDBNavigatorTarvo *DBNavigatorTarvo1;
    TDBMemoTarvo *DBMemoTarvo1;
    TDBMemoTarvo *DBMemoTarvo2;
    QLabel *Label15;
    QLabel *Label16;
    QLabel *LabelProblemy;
    QPushButton *Button7;
    QPushButton *Button8;
    QPushButton *Button6;
    QToolButton *SpeedButtonVybrane;
    QCheckBox *CheckBoxLPG;
    QCheckBox *CheckBoxMetal;
    QCheckBox *CheckBoxPrvniMaj;
    QCheckBox *CheckBoxServisKn;
    QPushButton *BitBtn1;
    QPushButton *BitBtn_Tisk;
    QPushButton *BitBtnFOTO;
    QPushButton *BitBtn3;
    QPushButton *BitBtn4;
    QPushButton *BitBtnNahled;
    TransferPanel *Panel1;

private:
    void buildTopBand();
    void buildDetailPanel();
    void buildButtons();
    void buildHiddenButtons();
    QPushButton *button(const QString &text, const char16_t *name, const QRect &where, QWidget *parent,
                        const std::function<void()> &action);
    QCheckBox *flagBox(const QString &text, const char16_t *name, const QString &field, const QRect &where,
                       QWidget *parent);
    void CheckRow();
    void afterScroll();
    void showDetail();
    void drawCell(int row, int column, bool focused, TGridCellLook &look);
    void toggleTextFlag(const QString &field);
    bool hasCurrentRecord() const;
    void buildProblemMarker();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void guarded(const std::function<void()> &action);

    Dataset &m_query;
    UserDialogs &m_dialogs;
    bool m_onlyMarked = false;
    QString m_settingsFolder;
    QString m_executableFolder;
    IconCache m_icons;
    QWidget *m_detail = nullptr;
    int m_oznaceno, m_foto1, m_rezerva4, m_rezerva6;
    int m_photoColumn = -1; // the grid column that shows FOTO1 as an icon
    struct DetailField
    {
        QLabel *label;
        QString field;
        QString displayFormat;
    };
    std::vector<DetailField> m_detailFields;
    std::vector<std::pair<QCheckBox *, QString>> m_flagBoxes;
    // What the checks found, by PORADI, for the marked vehicles looked at.
    QHash<qlonglong, QStringList> m_problems;
    // The send history's photo files: headers it found readable are not
    // read again while the files are as they were.
    std::unique_ptr<ChangedPhotos> m_knownPhotos;
    std::unique_ptr<VehicleChecker> m_checker;
    int m_poradi;
    bool m_problemCountPending = false;
};

} // namespace korvex
