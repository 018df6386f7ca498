#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <string_view>

namespace korvex {

// The memo file (.MB) of a Paradox table: memo and BLOb data addressed by the
// 10-byte pointer at the end of a memo field. Every block and offset is
// checked against the file before use.
class ParadoxMemoFile
{
public:
    ParadoxMemoFile(QByteArray data, QString displayName);

    // The blob that a memo field of the given record bytes points at. The
    // field's leading part holds the start of the blob in the record; short
    // blobs live there whole. Throws ModuleError naming the file when the
    // pointer leads outside the file or into a block of the wrong kind. The
    // bytes are those of the field or of the file, valid while both are.
    std::string_view blob(std::string_view field) const;

    const QString &displayName() const { return m_name; }
    // Gives the file's bytes back; the object must not be used then.
    QByteArray release() { return std::move(m_data); }

private:
    [[noreturn]] void fail(const QString &what) const;

    QByteArray m_data;
    QString m_name;
};

// The part of a memo field that is stored in the record itself, for blobs
// short enough to live there; nothing when the blob is in the memo file.
std::optional<std::string_view> inRecordBlob(std::string_view field);

} // namespace korvex
