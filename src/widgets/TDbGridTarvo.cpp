#include "widgets/TDbGridTarvo.h"

#include "platform/Dataset.h"
#include "widgets/GridGlyphs.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

using namespace Qt::StringLiterals;

namespace korvex {

// The indicator column: check colour and the current row's glyph; a click
// moves the current record to the row and toggles its check.
class TDbGridTarvo::Indicator : public QHeaderView
{
public:
    explicit Indicator(TDbGridTarvo *grid)
        : QHeaderView(Qt::Vertical, grid)
        , m_grid(grid)
    {
        setSectionsClickable(false);
        setSectionResizeMode(QHeaderView::Fixed);
    }

    QSize sizeHint() const override { return QSize(GridGlyphs::kWidth + 6, QHeaderView::sizeHint().height()); }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int row) const override
    {
        const bool checked = m_grid->m_checkEnabled && m_grid->isRowChecked(row);
        painter->fillRect(rect, checked ? m_grid->m_checkedColor : palette().color(QPalette::Button));
        painter->setPen(palette().color(QPalette::Mid));
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        painter->drawLine(rect.topRight(), rect.bottomRight());
        if (!m_grid->m_checkEnabled)
            return;
        Dataset *data = m_grid->dataset();
        int glyph = -1;
        if (data && data->isOpen() && data->recNo() == row) {
            glyph = data->state() == Dataset::State::Edit ? 1 : data->state() == Dataset::State::Insert ? 2 : 0;
            if (checked && m_grid->m_signum)
                glyph += 4;
        } else if (checked && m_grid->m_signum) {
            glyph = 3;
        }
        if (glyph < 0)
            return;
        const int margin = 2;
        const QPoint at(rect.right() - GridGlyphs::kWidth - margin + 1,
                        rect.top() + (rect.height() - GridGlyphs::kHeight) / 2);
        painter->drawImage(at, GridGlyphs::overlay(glyph));
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        const int row = logicalIndexAt(event->position().toPoint());
        if (row < 0)
            return;
        const int column = std::max(0, m_grid->currentIndex().column());
        m_grid->setCurrentIndex(m_grid->m_model.index(row, column));
        m_grid->ToggleCheck();
    }

private:
    TDbGridTarvo *m_grid;
};

// The title row: the active title drawn in its colour and bevel; a click
// outside the resize bands activates the title.
class TDbGridTarvo::Titles : public QHeaderView
{
public:
    explicit Titles(TDbGridTarvo *grid)
        : QHeaderView(Qt::Horizontal, grid)
        , m_grid(grid)
    {
        setSectionsClickable(true);
        setHighlightSections(false);
    }

    bool inResizeBand(int x) const
    {
        const int band = 7;
        for (int i = 0; i < count(); ++i) {
            if (isSectionHidden(i))
                continue;
            const int border = sectionViewportPosition(i) + sectionSize(i);
            if (std::abs(x - border) <= band / 2)
                return true;
        }
        return std::abs(x - viewport()->width()) <= band / 2;
    }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int section) const override
    {
        if (section + 1 != m_grid->m_activeTitle) {
            QHeaderView::paintSection(painter, rect, section);
            return;
        }
        painter->fillRect(rect, m_grid->m_activeTitleColor);
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                          model()->headerData(section, Qt::Horizontal).toString());
        const QRect frame = rect.adjusted(0, 0, -1, -1);
        switch (m_grid->m_bevel) {
        case TTvActiveTitleBevel::ttbLowered:
        case TTvActiveTitleBevel::ttbRaised: {
            const bool lowered = m_grid->m_bevel == TTvActiveTitleBevel::ttbLowered;
            const QColor topLeft = palette().color(lowered ? QPalette::Dark : QPalette::Light);
            const QColor bottomRight = palette().color(lowered ? QPalette::Light : QPalette::Dark);
            painter->setPen(topLeft);
            painter->drawLine(frame.topLeft(), frame.topRight());
            painter->drawLine(frame.topLeft(), frame.bottomLeft());
            painter->setPen(bottomRight);
            painter->drawLine(frame.bottomLeft(), frame.bottomRight());
            painter->drawLine(frame.topRight(), frame.bottomRight());
            break;
        }
        case TTvActiveTitleBevel::ttbNone:
            painter->setPen(m_grid->m_activeTitleColor);
            painter->drawRect(frame);
            break;
        }
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        const QPoint at = event->position().toPoint();
        const int section = logicalIndexAt(at);
        if (section >= 0 && !inResizeBand(at.x()))
            m_grid->ActivateTitle(section + 1);
        QHeaderView::mousePressEvent(event);
    }

private:
    TDbGridTarvo *m_grid;
};

// Cell look: the active column bold, locked columns in their font and colour.
class TDbGridTarvo::Cells : public QStyledItemDelegate
{
public:
    explicit Cells(TDbGridTarvo *grid)
        : QStyledItemDelegate(grid)
        , m_grid(grid)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const bool active = index.column() + 1 == m_grid->m_activeTitle;
        if (index.column() < m_grid->m_lockedCols) {
            option->font = m_grid->m_lockedFont;
            option->backgroundBrush = m_grid->m_lockedColor;
        }
        if (active && m_grid->m_activeBold)
            option->font.setBold(true);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (!m_grid->OnDrawColumnCell) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const bool selected = cell.state & QStyle::State_Selected;
        TGridCellLook look;
        look.text = selected ? cell.palette.color(QPalette::HighlightedText) : cell.palette.color(QPalette::Text);
        look.background = selected ? cell.palette.color(QPalette::Highlight)
                                   : cell.backgroundBrush.style() != Qt::NoBrush ? cell.backgroundBrush.color()
                                                                                 : cell.palette.color(QPalette::Base);
        look.bold = cell.font.bold();
        m_grid->OnDrawColumnCell(index.row(), index.column(), index == m_grid->currentIndex(), look);

        painter->fillRect(cell.rect, look.background);
        if (look.pictureCell) {
            if (!look.picture.isNull())
                painter->drawPixmap(cell.rect, look.picture);
            return;
        }
        cell.state &= ~QStyle::State_Selected;
        cell.backgroundBrush = look.background;
        cell.font.setBold(look.bold);
        cell.palette.setColor(QPalette::Text, look.text);
        const QWidget *widget = cell.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    }

private:
    TDbGridTarvo *m_grid;
};

TDbGridTarvo::TDbGridTarvo(QWidget *parent)
    : QTableView(parent)
    , m_indicator(new Indicator(this))
    , m_titles(new Titles(this))
    , m_activeTitleColor(QApplication::palette().color(QPalette::Button))
{
    setVerticalHeader(m_indicator);
    setHorizontalHeader(m_titles);
    setItemDelegate(new Cells(this));
    setModel(&m_model);
    setCornerButtonEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    verticalHeader()->setDefaultSectionSize(17);
    message = [this](const QString &text) { QMessageBox::information(this, QApplication::applicationName(), text); };
    connect(&m_model, &QAbstractItemModel::modelReset, this, &TDbGridTarvo::followCursor);
}

void TDbGridTarvo::setDataset(Dataset *dataset)
{
    if (this->dataset())
        disconnect(this->dataset(), nullptr, this, nullptr);
    m_model.setDataset(dataset);
    if (dataset)
        connect(dataset, &Dataset::afterScroll, this, &TDbGridTarvo::followCursor);
    followCursor();
}

void TDbGridTarvo::setColumns(std::vector<DatasetColumn> columns)
{
    m_model.setColumns(columns);
    for (size_t c = 0; c < columns.size(); ++c)
        setColumnWidth(int(c), columns[c].width);
    applyLockedColumns();
}

void TDbGridTarvo::followCursor()
{
    Dataset *data = dataset();
    if (!data || !data->isOpen() || data->recNo() < 0 || m_model.columnCount() == 0)
        return;
    m_syncing = true;
    const int column = std::max(0, currentIndex().column());
    setCurrentIndex(m_model.index(data->recNo(), column));
    m_syncing = false;
    m_indicator->viewport()->update();
}

void TDbGridTarvo::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (!m_syncing && current.isValid()) {
        bool canSelect = true;
        if (OnSelectCell)
            OnSelectCell(current.column() + 1, current.row(), canSelect);
        // Entering a locked column brings the grid fully to the left and
        // the first scrollable column in.
        const int locked = m_locked ? m_lockedCols : 0;
        const int column = canSelect && current.column() < locked ? locked : -1;
        if (!canSelect || column >= 0) {
            m_syncing = true;
            const QModelIndex replacement = canSelect ? m_model.index(current.row(), column) : previous;
            if (canSelect)
                horizontalScrollBar()->setValue(0);
            if (replacement.isValid())
                selectionModel()->setCurrentIndex(replacement, QItemSelectionModel::ClearAndSelect);
            m_syncing = false;
            if (!canSelect)
                return;
        }
    }
    QTableView::currentChanged(current, previous);
    Dataset *data = dataset();
    if (!m_syncing && data && data->isOpen() && current.isValid() && current.row() != data->recNo())
        data->setRecNo(current.row());
    m_indicator->viewport()->update();
}

int TDbGridTarvo::KeyFieldObject() const
{
    Dataset *data = dataset();
    return data && !m_keyField.isEmpty() ? data->fieldIndex(m_keyField) : -1;
}

QVariant TDbGridTarvo::keyOfRow(int row) const
{
    const int field = KeyFieldObject();
    const QVariant value = field >= 0 ? dataset()->valueAt(row, field) : QVariant();
    if (m_keyType == TTvKeyFieldType::tktInteger)
        return QVariant(value.toLongLong());
    return QVariant(value.toString());
}

bool TDbGridTarvo::isRowChecked(int row) const
{
    const QVariant key = keyOfRow(row);
    return m_keyType == TTvKeyFieldType::tktInteger ? m_intChecks.Contains(key.toLongLong())
                                                    : m_stringChecks.Contains(key.toString());
}

bool TDbGridTarvo::IsCurrentChecked() const
{
    Dataset *data = dataset();
    return data && data->isOpen() && data->recNo() >= 0 && isRowChecked(data->recNo());
}

int TDbGridTarvo::CheckedCount() const
{
    return m_keyType == TTvKeyFieldType::tktInteger ? m_intChecks.Count() : m_stringChecks.Count();
}

void TDbGridTarvo::ToggleCheck()
{
    if (!m_checkEnabled)
        return;
    Dataset *data = dataset();
    const int row = data && data->isOpen() ? data->recNo() : -1;
    const QVariant key = row >= 0 ? keyOfRow(row) : keyOfRow(-1);
    if (m_keyType == TTvKeyFieldType::tktInteger)
        m_intChecks.Toggle(key.toLongLong());
    else
        m_stringChecks.Toggle(key.toString());
    if (OnCheckRow)
        OnCheckRow();
    m_indicator->viewport()->update();
}

void TDbGridTarvo::ClearChecks()
{
    if (!m_checkEnabled)
        return;
    m_intChecks.Clear();
    m_stringChecks.Clear();
    m_indicator->viewport()->update();
}

void TDbGridTarvo::ForgetCurrentKey()
{
    if (!IsCurrentChecked())
        return;
    const QVariant key = keyOfRow(dataset()->recNo());
    if (m_keyType == TTvKeyFieldType::tktInteger)
        m_intChecks.Toggle(key.toLongLong());
    else
        m_stringChecks.SetChecked(key.toString(), false);
    m_indicator->viewport()->update();
}

void TDbGridTarvo::setCheckEnabled(bool on)
{
    if (on && m_keyField.isEmpty()) {
        message(u"Položka \"KeyField\" musí být definována"_s);
        return;
    }
    m_checkEnabled = on;
    m_indicator->viewport()->update();
}

void TDbGridTarvo::setKeyFieldType(TTvKeyFieldType type)
{
    if (m_checkEnabled) {
        m_intChecks.Clear();
        m_stringChecks.Clear();
    }
    m_keyType = type;
}

void TDbGridTarvo::setCheckedColor(const QColor &color)
{
    m_checkedColor = color;
    m_indicator->viewport()->update();
}

void TDbGridTarvo::setCheckedSignum(bool on)
{
    m_signum = on;
    m_indicator->viewport()->update();
}

void TDbGridTarvo::setActiveTitleBevel(TTvActiveTitleBevel bevel)
{
    m_bevel = bevel;
    m_titles->viewport()->update();
}

void TDbGridTarvo::setActiveTitleIndex(int index)
{
    if (index < 0 || index > m_model.columnCount())
        return;
    m_activeTitle = index;
    m_titles->viewport()->update();
    viewport()->update();
}

void TDbGridTarvo::setActiveTitleColor(const QColor &color)
{
    m_activeTitleColor = color;
    m_titles->viewport()->update();
}

void TDbGridTarvo::setActiveColumnBold(bool on)
{
    m_activeBold = on;
    viewport()->update();
}

void TDbGridTarvo::setLockedCols(int count)
{
    m_lockedCols = std::max(0, count);
    applyLockedColumns();
}

void TDbGridTarvo::setLockedColor(const QColor &color)
{
    m_lockedColor = color;
    applyLockedColumns();
}

void TDbGridTarvo::setLockedFont(const QFont &font)
{
    m_lockedFont = font;
    applyLockedColumns();
}

// Locked columns stay in place while the rest scrolls: a second view over
// the same model and selection shows them on top of the grid's left edge.
// They apply only while at least one data column is left to scroll.
void TDbGridTarvo::applyLockedColumns()
{
    const int columns = m_model.columnCount();
    const int locked = m_lockedCols < columns - 1 ? m_lockedCols : 0;
    if (locked == 0) {
        delete m_locked;
        m_locked = nullptr;
        viewport()->update();
        return;
    }
    if (!m_locked) {
        m_locked = new QTableView(this);
        m_locked->setObjectName(QStringLiteral("LockedColumns"));
        m_locked->setModel(&m_model);
        m_locked->setSelectionModel(selectionModel());
        m_locked->setItemDelegate(itemDelegate());
        m_locked->setFocusPolicy(Qt::NoFocus);
        m_locked->verticalHeader()->hide();
        m_locked->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_locked->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_locked->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_locked->setFrameShape(QFrame::NoFrame);
        m_locked->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
        connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_locked->verticalScrollBar(),
                &QAbstractSlider::setValue);
        m_locked->show();
    }
    for (int c = 0; c < columns; ++c) {
        m_locked->setColumnHidden(c, c >= locked);
        m_locked->setColumnWidth(c, columnWidth(c));
    }
    placeLockedView();
    viewport()->update();
}

void TDbGridTarvo::placeLockedView()
{
    if (!m_locked)
        return;
    int width = 0;
    for (int c = 0; c < m_lockedCols; ++c)
        width += columnWidth(c);
    m_locked->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), width,
                          viewport()->height() + horizontalHeader()->height());
    m_locked->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void TDbGridTarvo::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    placeLockedView();
}

void TDbGridTarvo::updateGeometries()
{
    QTableView::updateGeometries();
    placeLockedView();
}

QString TDbGridTarvo::fieldOfColumn(int dataColumn) const
{
    Dataset *data = dataset();
    if (!data || !data->isOpen() || dataColumn < 0 || dataColumn >= int(m_model.columns().size()))
        return QString();
    return m_model.columns()[size_t(dataColumn)].field;
}

void TDbGridTarvo::ActivateTitle(int index)
{
    if (!m_clickTitle)
        return;
    if (OnChangeTitle)
        OnChangeTitle(index);
    if (index != m_activeTitle) {
        setActiveTitleIndex(index);
        if (OnClickTitle)
            OnClickTitle(fieldOfColumn(m_activeTitle - 1), m_activeTitle - 1);
    }
    m_titles->viewport()->update();
}

void TDbGridTarvo::keyPressEvent(QKeyEvent *event)
{
    Dataset *data = dataset();
    const bool active = data && data->isOpen();
    int key = event->key();
    if (m_enterIsTab && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QTableView::keyPressEvent(&tab);
        return;
    }
    if (key == Qt::Key_Space && OnClickSpace) {
        OnClickSpace(fieldOfColumn(currentIndex().column()));
        return;
    }
    QTableView::keyPressEvent(event);
    if (!active)
        return;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (OnClickEnter)
            OnClickEnter();
        break;
    case Qt::Key_Escape:
        if (OnClickEsc)
            OnClickEsc();
        else
            data->cancel();
        break;
    case Qt::Key_Insert:
        if (OnClickIns)
            OnClickIns();
        break;
    case Qt::Key_Delete:
        if (OnClickDel)
            OnClickDel();
        break;
    default:
        break;
    }
}

} // namespace korvex
