#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <list>
#include <unordered_map>

namespace korvex {

// The grid's integer check store: keys in insertion order; look-up and
// toggling by hash, whatever the number of checked rows.
class TCheckedList
{
public:
    bool Contains(qint64 key) const { return m_where.find(key) != m_where.end(); }
    void Toggle(qint64 key);
    void Clear();
    int Count() const { return int(m_where.size()); }
    QList<qint64> Keys() const { return QList<qint64>(m_order.begin(), m_order.end()); }

private:
    std::list<qint64> m_order;
    std::unordered_map<qint64, std::list<qint64>::iterator> m_where;
};

// The grid's string check store: texts compared without regard to case,
// kept in insertion order.
class TCheckedStringList
{
public:
    bool Contains(const QString &text) const { return m_set.contains(text.toCaseFolded()); }
    void SetChecked(const QString &text, bool checked);
    void Toggle(const QString &text) { SetChecked(text, !Contains(text)); }
    void Clear();
    int Count() const { return int(m_order.size()); }
    const QStringList &Texts() const { return m_order; }

private:
    QStringList m_order;
    QSet<QString> m_set; // case-folded
};

} // namespace korvex
