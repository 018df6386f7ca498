#pragma once

#include "selection/IconCache.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace korvex {

class Dataset;
class TDBNavigatorTarvo;
class TDbGridTarvo;
struct TGridCellLook;
class TransferPanel;
class UserDialogs;

// The first tab of the main window, "Příprava inzerce Korvex": the vehicle
// grid with its marks, the detail panel, the flags and the counters. Marks
// live in the grid's check store and in OZNACENO; this tab keeps them in step.
class VehicleListTab : public QWidget
{
    Q_OBJECT
public:
    VehicleListTab(Dataset &query, UserDialogs &dialogs, QWidget *parent = nullptr);

    // Where the photo icons are read: "Foto.bmp" in the settings folder,
    // "Data_Off_LIne\No_Foto.bmp" in the executable folder.
    void setIconFolders(const QString &settingsFolder, const QString &executableFolder);

    // While set, the check-row event leaves OZNACENO alone.
    bool RestoringMarks = false;
    bool OnlyMarkedShown() const { return m_onlyMarked; }

    void UpdateMarkedLabel();
    void UpdateTotalLabel();
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

    // The grid's marking, off until the start-up has opened the table.
    void EnableMarks();
    int MarkedCount() const;
    // A new, empty working table: no mark is left and both counters say so.
    void ShowNewTable();
    // The upload's progress panel at the top of the tab.
    TransferPanel *Panel1() const { return m_panel; }

Q_SIGNALS:
    // Actions that belong to the window around the tab.
    void photosRequested();
    void sendRequested();
    void previewRequested();
    void closeRequested();
    void loadDataRequested();
    void asciiRequested();
    void xmlRequested();
    void createDatabaseRequested();

private:
    void buildTopBand();
    void buildDetailPanel();
    void buildButtons();
    void buildHiddenButtons();
    QPushButton *button(const QString &text, const char16_t *name, const QRect &where, QWidget *parent);
    QPushButton *button(const QString &text, const char16_t *name, const QRect &where, QWidget *parent,
                        const std::function<void()> &action);
    void flagBox(const QString &text, const char16_t *name, const QString &field, const QRect &where, QWidget *parent);
    void CheckRow();
    void afterScroll();
    void showDetail();
    void drawCell(int row, int column, bool focused, TGridCellLook &look);
    void toggleTextFlag(const QString &field);
    bool hasCurrentRecord() const;
    void guarded(const std::function<void()> &action);

    Dataset &m_query;
    UserDialogs &m_dialogs;
    TDbGridTarvo *m_grid = nullptr;
    TDBNavigatorTarvo *m_navigator = nullptr;
    QLabel *m_total = nullptr;
    QLabel *m_marked = nullptr;
    QToolButton *m_onlyMarkedButton = nullptr;
    TransferPanel *m_panel = nullptr;
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
};

} // namespace korvex
