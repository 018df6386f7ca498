#pragma once

#include "HostFixture.h"

#include <QTemporaryDir>

namespace korvex::test {

// A host installation in a temporary folder that goes away with the object.
class TempHost
{
public:
    explicit TempHost(const fixture::FixtureHost &host);

    const fixture::HostLayout &layout() const { return m_layout; }
    QString path(const QString &relative) const { return m_layout.root + relative; }

private:
    QTemporaryDir m_dir;
    fixture::HostLayout m_layout;
};

} // namespace korvex::test
