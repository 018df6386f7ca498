#pragma once

#include "platform/Dataset.h"

namespace korvex {

// A dataset's filter switched off for as long as the object lives, so that a
// walk that posts sees every record: with the filter on, a post can drop the
// record from the view under the cursor and the walk would step over the
// next one. The filter is back however the work ends.
class UnfilteredView
{
public:
    explicit UnfilteredView(Dataset &query)
        : m_query(query)
        , m_filtered(query.isFiltered())
    {
        if (m_filtered)
            m_query.setFiltered(false);
    }
    ~UnfilteredView()
    {
        // The work's own error is the one the user sees.
        try {
            if (m_filtered)
                m_query.setFiltered(true);
        } catch (...) {
        }
    }
    UnfilteredView(const UnfilteredView &) = delete;
    UnfilteredView &operator=(const UnfilteredView &) = delete;

private:
    Dataset &m_query;
    bool m_filtered;
};

} // namespace korvex
