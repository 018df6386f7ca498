#pragma once

namespace korvex {

// Makes one libcurl handle check the server's certificate and host name
// against the system's certificate store, plus the authority in the PEM file
// named by $KORVEX_CA_FILE (a portal or proxy with a private authority).
// Nothing switches the checks off. Throws ModuleError when that file cannot
// be read or holds no certificate.
void ApplyTrust(void *curl);

} // namespace korvex
