#pragma once

#include <QByteArray>
#include <QString>

namespace korvex {

// Proxy of the HTTP client, from the host's "Patrani.ddd".
struct ProxySettings
{
    QString host;
    QString user;
    QString password;
    int port = 0;
};

// The nine lines of the module's settings file "Korvex.ddd", with the
// values a missing file gives.
struct StoredSettings
{
    StoredSettings();

    bool stahovatFoto = true;       // CheckBoxStahovatFoto, line 1
    bool jenPrvniFoto = false;      // CheckBox_JenPrvniFoto, line 2
    QString maxModulu = QStringLiteral("150");          // KComboBoxMaxModulu, line 3
    QString uzivJmeno = QStringLiteral("DEMO");         // KEdit_UzivJmeno, line 4
    QString uzivHeslo = QStringLiteral("nezadáno");     // KEdit_UzivHeslo, line 5
    QString ftpServer;              // KEdit_FTPserver, line 6
    QString ftpJmeno;               // KEdit_FTPJmeno, line 7
    QString ftpHeslo;               // KEdit_FTPHeslo, line 8 (scrambled in the file)
    QString resultPageAddress;      // ResultPageAddress, line 9

    bool operator==(const StoredSettings &) const = default;
};

// The live settings: exactly the values the settings tab's controls hold.
// Readers fill it at start-up, the tab edits it, the send reads it.
struct ModuleSettings
{
    StoredSettings stored;
    bool ftpPassive = true;         // CheckBox_FTPrezim, from "Rezim_Pr.ddd"
    ProxySettings proxy;            // HTTP client proxy, from "Patrani.ddd"
    QString labelProxy = QStringLiteral("PROXY: VYPNUTO"); // LabelProxy
    bool onlyWithPhotos = false;    // OnlyWithPhotos, from "Pelanto_dod.ddd"
    bool onlyWithPrice = false;     // OnlyWithPrice
};

// The built-in FTP account, stored and restored but used by no transfer.
extern const QString kDefaultFtpServer;
extern const QString kDefaultFtpUser;
extern const QString kDefaultFtpPassword;
// Key of the password scrambler.
extern const QByteArray kScrambleKey;

enum class ScrambleDirection { Encode, Decode };

// Moves every byte by the sum of the key's bytes, modulo 256: decode adds,
// encode subtracts, so decode undoes encode exactly.
QByteArray ScrambleText(const QByteArray &text, const QByteArray &key, ScrambleDirection direction);

// HostRoot + "WWW_Export\Data\Rezim_Pr.ddd": "ACTIVE" or "PASIVE" on the
// first line sets the FTP mode; anything else changes nothing.
void LoadFtpMode(ModuleSettings &settings, const QString &hostRoot);

// "Patrani.ddd" beside the executable: the HTTP proxy. Throws ModuleError
// when the sixth line (the port) is not a whole number; blanks around it are
// allowed.
void LoadHostProxy(ModuleSettings &settings, const QString &executableFolder);

// folder + "Pelanto_dod.ddd": OnlyWithPhotos and OnlyWithPrice, both cleared first.
void LoadExtractionFlags(ModuleSettings &settings, const QString &folder);

// "Korvex.ddd" beside the executable; defaults when it cannot be opened.
// Throws ModuleError naming the file and "'x' is not a valid integer value"
// when the third line is not a whole number (blanks around it allowed); every
// other line is read all the same, and the number keeps its default.
void LoadModuleSettings(ModuleSettings &settings, const QString &executableFolder);

// Writes the nine lines of "Korvex.ddd" atomically, readable by the owner
// only (it holds the portal password). Line 8 is always the built-in FTP
// password, scrambled. Throws ModuleError naming the file on failure; the old
// file then stays whole.
void SaveModuleSettings(const ModuleSettings &settings, const QString &executableFolder);

} // namespace korvex
