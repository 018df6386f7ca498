// The item-list mode of TKEdit: a read-only choice from "value‡description"
// items, picked by typed letters or from a pop-up list.
#include "widgets/TKEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

// The pop-up list: Enter or a double click accepts, Esc or a right click
// dismisses, and optionally leaving it with the mouse.
class ItemListPopup : public QListWidget
{
public:
    ItemListPopup(QWidget *owner, bool closeOnLeave, std::function<void(int)> accept)
        : QListWidget(nullptr)
        , m_closeOnLeave(closeOnLeave)
        , m_accept(std::move(accept))
    {
        setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
        setFrameShape(QFrame::Box);
        setAttribute(Qt::WA_DeleteOnClose);
        setObjectName(u"ItemList"_s);
        setFont(owner->font());
        connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) { finish(row(item)); });
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            finish(currentRow());
        else if (event->key() == Qt::Key_Escape)
            close();
        else
            QListWidget::keyPressEvent(event);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::RightButton)
            close();
        else
            QListWidget::mousePressEvent(event);
    }
    void enterEvent(QEnterEvent *event) override
    {
        m_entered = true;
        QListWidget::enterEvent(event);
    }
    void leaveEvent(QEvent *event) override
    {
        QListWidget::leaveEvent(event);
        if (m_closeOnLeave && m_entered)
            close();
    }

private:
    void finish(int row)
    {
        if (row >= 0)
            m_accept(int(item(row)->data(Qt::UserRole).toInt()));
        close();
    }

    bool m_closeOnLeave;
    bool m_entered = false;
    std::function<void(int)> m_accept;
};

} // namespace

QList<TKEdit::Item> TKEdit::items() const
{
    QList<Item> out;
    for (const QString &raw : ComboBox.Items.split(u'|')) {
        if (raw.isEmpty())
            continue;
        const qsizetype mark = raw.indexOf(u'‡');
        out.append(mark < 0 ? Item{raw, QString()} : Item{raw.left(mark), raw.mid(mark + 1)});
    }
    return out;
}

bool TKEdit::itemKey(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        if (!ComboBox.OffDelKey)
            clear();
        return true;
    }
    const QString typed = event->text();
    if (typed.isEmpty() || !typed.front().isLetter() || !ComboBox.ItemActionKey)
        return false;
    QList<int> matches;
    const QList<Item> all = items();
    for (int i = 0; i < all.size(); ++i)
        if (all[i].value.startsWith(typed.front(), Qt::CaseInsensitive))
            matches.append(i);
    if (matches.isEmpty())
        return true;
    int current = -1;
    for (int m : matches)
        if (all[m].value == text())
            current = m;
    int chosen;
    if (matches.size() == 1)
        chosen = matches.front();
    else if (current < 0 && !text().isEmpty())
        chosen = matches.front();
    else if (current == matches.back())
        chosen = matches.front();
    else
        chosen = matches.back(); // from an empty text or from any match but the last
    setText(all[chosen].value);
    return true;
}

void TKEdit::openItemList()
{
    const QList<Item> all = items();
    if (all.isEmpty())
        return;
    if (ComboBox.DropDownCount < 1 || ComboBox.DropDownCount > 20)
        ComboBox.DropDownCount = 6;
    auto *list = new ItemListPopup(this, ComboBox.CloseIfMouseLeave, [this, all](int index) {
        setText(all[index].value);
    });
    for (int i = 0; i < all.size(); ++i) {
        auto *row = new QListWidgetItem(all[i].value + all[i].description, list);
        row->setData(Qt::UserRole, i);
    }
    if (ComboBox.Sorted)
        list->sortItems();
    list->setCurrentRow(0);
    for (int r = 0; r < list->count(); ++r)
        if (all[list->item(r)->data(Qt::UserRole).toInt()].value == text() || list->item(r)->text() == text())
            list->setCurrentRow(r);

    int width = this->width();
    for (const Item &item : all)
        width = std::max(width, fontMetrics().horizontalAdvance(item.value + item.description) + 16);
    const int rows = std::min<int>(ComboBox.DropDownCount, int(all.size()));
    const int height = rows * (QFontInfo(font()).pixelSize() + 5) + 10;
    QPoint at = mapToGlobal(QPoint(this->width() - width, this->height()));
    const QRect work = screen() ? screen()->availableGeometry() : QRect(0, 0, 4096, 4096);
    if (at.x() < work.left())
        at.setX(work.left() + 2);
    if (at.y() + height > work.bottom())
        at.setY(mapToGlobal(QPoint(0, 0)).y() - height);
    list->setGeometry(QRect(at, QSize(width, height)));

    if (ComboBox.ColorEditOnFocus.isValid())
        setBackground(ComboBox.ColorEditOnFocus);
    connect(list, &QObject::destroyed, this, [this] { setBackground(ColorOnFocus); });
    m_itemList = list;
    list->show();
    list->setFocus();
}

} // namespace korvex
