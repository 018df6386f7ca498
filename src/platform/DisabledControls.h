#pragma once

#include "platform/Dataset.h"

namespace korvex {

// Display updates of a dataset switched off for as long as the object lives,
// and on again however the work under it ends.
class DisabledControls
{
public:
    explicit DisabledControls(Dataset &query)
        : m_query(query)
    {
        m_query.disableControls();
    }
    ~DisabledControls() { m_query.enableControls(); }
    DisabledControls(const DisabledControls &) = delete;
    DisabledControls &operator=(const DisabledControls &) = delete;

private:
    Dataset &m_query;
};

} // namespace korvex
