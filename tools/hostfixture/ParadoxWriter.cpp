#include "ParadoxWriter.h"

#include "Win1250.h"

#include <QFile>

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
    throw std::runtime_error(QStringLiteral("%1: %2 (%3)").arg(path, QString::fromUtf8(what), QString::fromStdString(g_lastError)).toStdString());
}

} // namespace

ParadoxWriter::ParadoxWriter(const QString &path, std::vector<PxColumn> columns)
    : m_columns(std::move(columns))
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
        fields[i].px_fdc = 0;
        m_recordSize += m_columns[i].size;
        hasMemo = hasMemo || m_columns[i].type == pxfMemoBLOb;
    }
    QFile::remove(path);
    if (PX_create_file(m_doc, fields, int(m_columns.size()), QFile::encodeName(path).constData(), pxfFileTypNonIndexDB) < 0)
        fail(path, "PX_create_file");
    PX_set_parameter(m_doc, "codepage", "1250");
    PX_set_value(m_doc, "codepage", 1250);
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
    if (m_doc) {
        PX_close(m_doc);
        PX_delete(m_doc);
    }
}

void ParadoxWriter::addRecord(const std::vector<PxValue> &values)
{
    std::vector<char> record(size_t(m_recordSize), 0);
    char *field = record.data();
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const PxColumn &c = m_columns[i];
        const PxValue &v = i < values.size() ? values[i] : PxValue();
        if (!std::holds_alternative<std::monostate>(v)) {
            switch (c.type) {
            case pxfAlpha: {
                QByteArray bytes = Win1250::encode(std::get<QString>(v)).left(c.size);
                PX_put_data_alpha(m_doc, field, c.size, bytes.data());
                break;
            }
            case pxfMemoBLOb:
            case pxfFmtMemoBLOb: {
                QByteArray bytes = Win1250::encode(std::get<QString>(v));
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
                break;
            case pxfNumber:
            case pxfCurrency:
                PX_put_data_double(m_doc, field, c.size, std::get<double>(v));
                break;
            case pxfLogical:
                PX_put_data_byte(m_doc, field, c.size, std::get<bool>(v) ? 1 : 0);
                break;
            case pxfDate: {
                const QDate d = std::get<QDate>(v);
                PX_put_data_long(m_doc, field, c.size, int(PX_GregorianToSdn(d.year(), d.month(), d.day()) - 1721425));
                break;
            }
            default:
                fail(m_path, "unsupported field type");
            }
        }
        field += c.size;
    }
    if (PX_put_record(m_doc, record.data()) < 0)
        fail(m_path, "PX_put_record");
}

void ParadoxWriter::close()
{
    if (m_doc) {
        PX_close(m_doc);
        PX_delete(m_doc);
        m_doc = nullptr;
    }
}

} // namespace korvex::fixture
