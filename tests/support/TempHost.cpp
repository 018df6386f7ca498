#include "TempHost.h"

namespace korvex::test {

TempHost::TempHost(const fixture::FixtureHost &host)
    : m_layout(fixture::writeHost(m_dir.path(), host))
{
}

} // namespace korvex::test
