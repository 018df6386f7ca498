#pragma once

#include <QString>

namespace korvex {

// What the dealer reads when a request fails: a Czech sentence for the
// common failures of the connection, followed by libcurl's own text in
// parentheses. Failures it does not know keep the original text alone. The
// host is the server the request went to, named when TLS with it fails.
QString TransportErrorText(int curlCode, const QString &original, bool viaProxy, const QString &host);

// The same for a reply outside 200-299; only the proxy's refusal (407) gets
// a sentence, other statuses are shown as the server's status line.
QString StatusErrorText(long status, const QString &statusLine);

} // namespace korvex
