#include "ParadoxWriter.h"

#include "ParadoxIndexWriter.h"
#include "platform/Win1250.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

extern "C" {
#include <paradox.h>
}

namespace korvex::fixture {
namespace {

void onPxError(pxdoc_t *, int level, const char *message, void *data)
{
    // pxlib would print to stdout; warnings are of no interest to a fixture.
    if (level == PX_Warning)
        return;
    *static_cast<std::string *>(data) = message ? message : "pxlib error";
}

thread_local std::string g_lastError;

[[noreturn]] void fail(const QString &path, const char *what)
{
    throw std::runtime_error(QStringLiteral("%1: %2 (%3)")
                                 .arg(path, QString::fromUtf8(what), QString::fromStdString(g_lastError))
                                 .toStdString());
}

// Paradox dates count days from 1 January of year 1 (day 1).
long days(const QDate &d)
{
    return PX_GregorianToSdn(d.year(), d.month(), d.day()) - 1721425;
}

bool isBlob(int type)
{
    return type == pxfMemoBLOb || type == pxfBLOb || type == pxfFmtMemoBLOb || type == pxfOLE || type == pxfGraphic;
}

} // namespace

ParadoxWriter::ParadoxWriter(const QString &path, std::vector<PxColumn> columns, PxTableOptions options)
    : m_columns(std::move(columns))
    , m_options(std::move(options))
    , m_path(path)
{
    g_lastError.clear();
    m_doc = PX_new3(onPxError, nullptr, nullptr, nullptr, &g_lastError);
    if (!m_doc)
        fail(path, "PX_new3");

    // pxlib owns the field array and the names from here on.
    auto *fields = static_cast<pxfield_t *>(m_doc->malloc(m_doc, sizeof(pxfield_t) * m_columns.size(), "fields"));
    bool hasMemo = false;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        fields[i].px_fname = PX_strdup(m_doc, m_columns[i].name.constData());
        fields[i].px_ftype = char(m_columns[i].type);
        fields[i].px_flen = m_columns[i].size;
        fields[i].px_fdc = m_columns[i].decimals;
        m_recordSize += m_columns[i].size;
        hasMemo = hasMemo || isBlob(m_columns[i].type);
    }
    QFile::remove(path);
    if (PX_create_file(m_doc, fields, int(m_columns.size()), QFile::encodeName(path).constData(), pxfFileTypNonIndexDB)
        < 0)
        fail(path, "PX_create_file");
    const QByteArray codePage = QByteArray::number(m_options.codePage);
    PX_set_parameter(m_doc, "codepage", codePage.constData());
    PX_set_value(m_doc, "codepage", float(m_options.codePage));
    if (hasMemo) {
        QString memoPath = path;
        memoPath.replace(memoPath.size() - 3, 3, QStringLiteral(".MB"));
        QFile::remove(memoPath);
        if (PX_set_blob_file(m_doc, QFile::encodeName(memoPath).constData()) < 0)
            fail(memoPath, "PX_set_blob_file");
    }
}

ParadoxWriter::~ParadoxWriter()
{
    try {
        close();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
}

void ParadoxWriter::encode(const PxColumn &c, const PxValue &v, char *field)
{
    switch (c.type) {
    case pxfAlpha: {
        QByteArray bytes = Win1250::encode(std::get<QString>(v)).left(c.size);
        PX_put_data_alpha(m_doc, field, c.size, bytes.data());
        break;
    }
    case pxfMemoBLOb:
    case pxfFmtMemoBLOb:
    case pxfBLOb:
    case pxfOLE:
    case pxfGraphic: {
        QByteArray bytes
            = std::holds_alternative<QString>(v) ? Win1250::encode(std::get<QString>(v)) : std::get<QByteArray>(v);
        if (PX_put_data_blob(m_doc, field, c.size, bytes.data(), int(bytes.size())) < 0)
            fail(m_path, "PX_put_data_blob");
        break;
    }
    case pxfShort:
        PX_put_data_short(m_doc, field, c.size, short(std::get<qint64>(v)));
        break;
    case pxfLong:
    case pxfAutoInc:
        PX_put_data_long(m_doc, field, c.size, int(std::get<qint64>(v)));
        if (c.type == pxfAutoInc)
            m_lastAutoInc = std::max(m_lastAutoInc, std::get<qint64>(v));
        break;
    case pxfNumber:
    case pxfCurrency:
        PX_put_data_double(m_doc, field, c.size, std::get<double>(v));
        break;
    case pxfLogical:
        PX_put_data_byte(m_doc, field, c.size, std::get<bool>(v) ? 1 : 0);
        break;
    case pxfDate:
        PX_put_data_long(m_doc, field, c.size, int(days(std::get<QDate>(v))));
        break;
    case pxfTime:
        PX_put_data_long(m_doc, field, c.size, std::get<QTime>(v).msecsSinceStartOfDay());
        break;
    case pxfTimestamp: {
        // Milliseconds since the start of day 0.
        const QDateTime t = std::get<QDateTime>(v);
        PX_put_data_double(m_doc, field, c.size, double(days(t.date())) * 86400000.0 + t.time().msecsSinceStartOfDay());
        break;
    }
    case pxfBCD: {
        // pxlib reads the digits before the point only when there is one.
        QByteArray digits = std::get<QString>(v).toLatin1();
        if (!digits.contains('.'))
            digits += '.';
        PX_put_data_bcd(m_doc, field, c.decimals, digits.data());
        break;
    }
    case pxfBytes: {
        QByteArray bytes = std::get<QByteArray>(v).left(c.size);
        bytes.resize(c.size, '\0');
        PX_put_data_bytes(m_doc, field, c.size, bytes.data());
        break;
    }
    default:
        fail(m_path, "unsupported field type");
    }
}

void ParadoxWriter::addRecord(const std::vector<PxValue> &values)
{
    QByteArray record(m_recordSize, '\0');
    char *field = record.data();
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const PxValue &v = i < values.size() ? values[i] : PxValue();
        if (!std::holds_alternative<std::monostate>(v))
            encode(m_columns[i], v, field);
        field += m_columns[i].size;
    }
    // A keyed table keeps its records in key order: they are written when
    // the table closes.
    if (m_options.keyFields > 0)
        m_records.push_back(record);
    else if (PX_put_record(m_doc, record.data()) < 0)
        fail(m_path, "PX_put_record");
}

void ParadoxWriter::close()
{
    if (!m_doc)
        return;
    int keySize = 0;
    for (int i = 0; i < m_options.keyFields; ++i)
        keySize += m_columns[size_t(i)].size;
    std::stable_sort(m_records.begin(), m_records.end(),
        [keySize](const QByteArray &a, const QByteArray &b) { return a.left(keySize) < b.left(keySize); });
    for (QByteArray &record : m_records)
        if (PX_put_record(m_doc, record.data()) < 0)
            fail(m_path, "PX_put_record");
    PX_close(m_doc);
    PX_delete(m_doc);
    m_doc = nullptr;

    // Header fields the engine keeps and pxlib leaves at zero.
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite))
        fail(m_path, "reopen");
    QByteArray head = file.read(0x80);
    if (m_options.keyFields > 0) {
        head[0x04] = char(pxfFileTypIndexDB);
        head[0x23] = char(m_options.keyFields);
    }
    const bool hasAutoInc
        = std::any_of(m_columns.begin(), m_columns.end(), [](const PxColumn &c) { return c.type == pxfAutoInc; });
    if (hasAutoInc) {
        // The next value the engine would hand out.
        const auto next = quint32(m_lastAutoInc + 1);
        for (int i = 0; i < 4; ++i)
            head[0x49 + i] = char((next >> (8 * i)) & 0xFF);
    }
    if (!file.seek(0) || file.write(head) != head.size())
        fail(m_path, "header");
    file.close();

    if (m_options.keyFields > 0) {
        const PxIndexSource source { m_path, m_columns, m_records, m_options.keyFields, int(head[0x05]),
            static_cast<unsigned char>(head[0x39]) };
        writePrimaryIndex(source);
        for (const int field : m_options.secondaryIndexes)
            writeSecondaryIndex(source, field);
    }
}

} // namespace korvex::fixture
