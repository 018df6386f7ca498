#include "export/GatewayAddress.h"

#include <QtGlobal>

namespace korvex {
namespace {

QByteArray fromEnvironment(const char *name, const char *fallback)
{
    QByteArray value = qgetenv(name);
    if (value.isEmpty())
        value = fallback;
    while (value.endsWith('/'))
        value.chop(1);
    return value;
}

} // namespace

QByteArray GatewayAddress()
{
    return fromEnvironment("KORVEX_GATEWAY_URL", "https://dealer.korvex.cz");
}

QByteArray MakerAddress()
{
    return fromEnvironment("KORVEX_MAKER_URL", "https://www.delmora.cz");
}

} // namespace korvex
