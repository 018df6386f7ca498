#include "HostRun.h"

#include "platform/Win1250.h"

namespace korvex::test {

QStringList HostRun::interchangeLines() const
{
    const QByteArray bytes = interchangeBytes();
    EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n"));
    QStringList lines;
    for (const QByteArray &line : bytes.split('\n'))
        lines.append(Win1250::decode(line.endsWith('\r') ? line.chopped(1) : line));
    lines.removeLast();
    return lines;
}

} // namespace korvex::test
