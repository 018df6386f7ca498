#include "widgets/CheckedList.h"

namespace korvex {

void TCheckedList::Toggle(qint64 key)
{
    const auto found = m_where.find(key);
    if (found != m_where.end()) {
        m_order.erase(found->second);
        m_where.erase(found);
    } else {
        m_where.emplace(key, m_order.insert(m_order.end(), key));
    }
}

void TCheckedList::Clear()
{
    m_order.clear();
    m_where.clear();
}

void TCheckedStringList::SetChecked(const QString &text, bool checked)
{
    const QString folded = text.toCaseFolded();
    if (checked == m_set.contains(folded))
        return;
    if (checked) {
        m_set.insert(folded);
        m_order.append(text);
        return;
    }
    m_set.remove(folded);
    for (qsizetype i = 0; i < m_order.size(); ++i)
        if (m_order[i].toCaseFolded() == folded) {
            m_order.removeAt(i);
            break;
        }
}

void TCheckedStringList::Clear()
{
    m_order.clear();
    m_set.clear();
}

} // namespace korvex
