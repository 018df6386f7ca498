#pragma once

#include <QByteArray>

namespace korvex {

// Scheme, host and optional port of the portal's dealer gateway:
// $KORVEX_GATEWAY_URL, else the built-in address.
QByteArray GatewayAddress();

// The same for the maker's web server: $KORVEX_MAKER_URL, else built in.
QByteArray MakerAddress();

// The gateway's one endpoint.
constexpr const char *kGatewayPath = "/iec/Upload-upload";

} // namespace korvex
