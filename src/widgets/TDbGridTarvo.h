#pragma once

#include "widgets/CheckedList.h"
#include "widgets/DatasetModel.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QTableView>

#include <functional>

namespace korvex {

class Dataset;

enum class TTvActiveTitleBevel { ttbLowered, ttbNone, ttbRaised };
enum class TTvKeyFieldType { tktInteger, tktString };

// How one data cell is drawn; the cell-drawing event may change any of it.
// A picture cell shows its picture stretched over the cell (or nothing when
// the picture is empty) instead of the text.
struct TGridCellLook
{
    QColor text;
    QColor background;
    bool bold = false;
    bool pictureCell = false;
    QPixmap picture;
};

// A data grid over a dataset with a per-row check mark kept in memory and
// keyed by a field of the record, shown in the indicator column (the
// vertical header); an active column title; keyboard events.
class TDbGridTarvo : public QTableView
{
    Q_OBJECT
public:
    explicit TDbGridTarvo(QWidget *parent = nullptr);

    void setDataset(Dataset *dataset);
    Dataset *dataset() const { return m_model.dataset(); }
    // Columns with their captions, fields, widths, alignment and formats.
    void setColumns(std::vector<DatasetColumn> columns);
    DatasetModel &gridModel() { return m_model; }

    int ActiveTitleIndex() const { return m_activeTitle; }
    void setActiveTitleIndex(int index);
    TTvActiveTitleBevel ActiveTitleBevel() const { return m_bevel; }
    void setActiveTitleBevel(TTvActiveTitleBevel bevel);
    QColor ActiveTitleColor() const { return m_activeTitleColor; }
    void setActiveTitleColor(const QColor &color);
    bool ActiveColumnBold() const { return m_activeBold; }
    void setActiveColumnBold(bool on);
    int LockedCols() const { return m_lockedCols; }
    void setLockedCols(int count);
    QColor LockedColor() const { return m_lockedColor; }
    void setLockedColor(const QColor &color);
    QFont LockedFont() const { return m_lockedFont; }
    void setLockedFont(const QFont &font);
    TTvKeyFieldType KeyFieldType() const { return m_keyType; }
    void setKeyFieldType(TTvKeyFieldType type);
    QString KeyField() const { return m_keyField; }
    void setKeyField(const QString &field) { m_keyField = field; }
    bool ClickTitleEnabled() const { return m_clickTitle; }
    void setClickTitleEnabled(bool on) { m_clickTitle = on; }
    bool CheckEnabled() const { return m_checkEnabled; }
    void setCheckEnabled(bool on);
    QColor CheckedColor() const { return m_checkedColor; }
    void setCheckedColor(const QColor &color);
    bool CheckedSignum() const { return m_signum; }
    void setCheckedSignum(bool on);
    bool EnterIsTab() const { return m_enterIsTab; }
    void setEnterIsTab(bool on) { m_enterIsTab = on; }

    void ToggleCheck();
    void ClearChecks();
    // Takes the current record's key out of the store, without events: the
    // record is about to be deleted.
    void ForgetCurrentKey();
    int CheckedCount() const;
    bool IsKeyChecked(qint64 key) const { return m_intChecks.Contains(key); }
    bool IsStringKeyChecked(const QString &text) const { return m_stringChecks.Contains(text); }
    bool IsCurrentChecked() const;
    // The key field's position in the dataset; -1 when there is none.
    int KeyFieldObject() const;
    // Whether a row of the view is checked; the cursor does not move.
    bool isRowChecked(int row) const;

    // Events; a "var" parameter is passed by reference. OnSelectCell gets
    // grid columns (the indicator is column 0) and rows counted from 0.
    std::function<void(int column, int row, bool &canSelect)> OnSelectCell;
    std::function<void(int &newTitleIndex)> OnChangeTitle;
    std::function<void(const QString &fieldName, int titleIndex)> OnClickTitle;
    std::function<void(const QString &fieldName)> OnClickSpace;
    std::function<void()> OnClickEnter, OnClickIns, OnClickDel, OnClickEsc;
    std::function<void()> OnCheckRow;
    // Cell drawing, for every data cell of a row: the row counted from 0,
    // the grid column counted from 0 without the indicator, and whether the
    // cell is the focused one.
    std::function<void(int row, int column, bool focused, TGridCellLook &look)> OnDrawColumnCell;
    // Shows the message of switching checks on without a key field.
    std::function<void(const QString &text)> message;

    // Makes a title active, as a click on it does.
    void ActivateTitle(int index);

    // The view that shows the locked columns over the left of the grid;
    // none while no column is locked.
    QTableView *lockedView() const { return m_locked; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void resizeEvent(QResizeEvent *event) override;
    void updateGeometries() override;

private:
    class Indicator;
    class Titles;
    class Cells;

    void applyLockedColumns();
    void placeLockedView();
    QVariant keyOfRow(int row) const;
    void followCursor();
    QString fieldOfColumn(int dataColumn) const;

    DatasetModel m_model;
    Indicator *m_indicator;
    Titles *m_titles;
    QTableView *m_locked = nullptr;
    TCheckedList m_intChecks;
    TCheckedStringList m_stringChecks;
    int m_activeTitle = 0;
    TTvActiveTitleBevel m_bevel = TTvActiveTitleBevel::ttbLowered;
    QColor m_activeTitleColor;
    bool m_activeBold = false;
    int m_lockedCols = 0;
    QColor m_lockedColor = QColor(192, 192, 192);
    QFont m_lockedFont;
    TTvKeyFieldType m_keyType = TTvKeyFieldType::tktInteger;
    QString m_keyField;
    bool m_clickTitle = false;
    bool m_checkEnabled = false;
    QColor m_checkedColor = QColor(128, 128, 128);
    bool m_signum = false;
    bool m_enterIsTab = false;
    bool m_syncing = false;
};

} // namespace korvex
