#pragma once

#include "export/SendRecord.h"

#include <optional>

struct sqlite3;

namespace korvex {

// The history of successful sends, "Korvex_historie.db" beside the
// executable: an SQLite file of its own, since "Vytvoř databázi" replaces
// Nesta.DB. It keeps the last sends so that the next one can be compared
// with what the portal holds.
class SendHistory
{
public:
    enum class Mode { Read, Write };

    // Read never creates or changes the file: a missing file is an empty
    // history. Write creates the tables or brings them to the current form.
    // Throws ModuleError naming the file.
    SendHistory(const QString &path, Mode mode);
    ~SendHistory();
    SendHistory(const SendHistory &) = delete;
    SendHistory &operator=(const SendHistory &) = delete;

    // The latest send with its offers in the order they were sent.
    std::optional<SendRecord> lastSend() const;
    int sendCount() const;

    // Adds the send in one transaction and drops all but the newest
    // kKeptSends sends. Throws ModuleError; nothing is then recorded.
    void record(const SendRecord &send);

    static constexpr int kKeptSends = 30;

private:
    [[noreturn]] void fail(const QString &what) const;
    void exec(const char *sql);
    int storedVersion() const;
    void upgrade();

    QString m_path;
    sqlite3 *m_db = nullptr;
};

} // namespace korvex
