#include "export/OfferLayout.h"

#include "import/CodeTables.h"
#include "import/NestaFields.h"
#include "platform/Dataset.h"

#include <QIODevice>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

struct FieldElement
{
    const char *element;
    QStringView field;
};

// The elements after the category that carry one field as it stands, in
// the order of the list.
constexpr FieldElement kFieldElements[] = {
    {"constr", nesta::Rezerva1},      {"color", nesta::BarvaXml},         {"fuel", nesta::Palivo},
    {"producer", nesta::Znacka},      {"type", nesta::Model},             {"model-supplement", nesta::Typ},
    {"constr-year", nesta::DatumVyroby}, {"model-year", nesta::DatumVyroby}, {"km", nesta::Najeto},
    {"kw", nesta::Vykon},             {"stk", nesta::StkDo},              {"doors-number", nesta::Rezerva2},
};

class OfferWriter
{
public:
    explicit OfferWriter(QIODevice &out)
        : m_out(out)
    {
    }
    void line(const QByteArray &text) { put(text + "\r\n"); }
    void element(const char *tag, const QByteArray &encoded)
    {
        put(QByteArray("      <") + tag + '>' + encoded + "</" + tag + ">\r\n");
    }
    bool ok() const { return m_ok; }

private:
    void put(const QByteArray &bytes) { m_ok = m_ok && m_out.write(bytes) == bytes.size(); }

    QIODevice &m_out;
    bool m_ok = true;
};

QString remark(const Dataset &q)
{
    const QStringList parts = q.text(nesta::Rezerva5).split(u'*');
    auto part = [&parts](int n) { return parts.value(n); };
    const QString undamaged = part(4) == u"A" ? u"  NEHAVAROVÁNO"_s : QString();
    const QString financing = q.text(nesta::StavVozidlaXml) == u"inz_leasing"
        ? u"FINANCOVÁNÍ - akontace: "_s + part(1) + u"Kč + splátky: "_s + part(3) + u" x "_s + part(2) + u"Kč"_s
        : QString();
    return q.text(nesta::Poznamka) + u' ' + financing + undamaged;
}

} // namespace

QByteArray EncodeXmlValue(const QString &value)
{
    if (value == u"-")
        return QByteArray();
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'&': out += u"&amp;"_s; break;
        case u'<': out += u"&lt;"_s; break;
        case u'>': out += u"&gt;"_s; break;
        case u'"': out += u"&quot;"_s; break;
        case u'\'': out += u"&apos;"_s; break;
        case u'\r':
        case u'\n': out += u' '; break;
        default:
            // XML 1.0 forbids the other C0 controls; one bad byte must not
            // make the portal refuse the whole document.
            if (c.unicode() >= 0x20 || c == u'\t')
                out += c;
        }
    }
    return out.toUtf8();
}

bool WriteOfferListHead(QIODevice &out)
{
    OfferWriter w(out);
    w.line("<?xml version=\"1.0\"?>");
    w.line("<offer-list>");
    return w.ok();
}

bool WriteOfferListTail(QIODevice &out)
{
    OfferWriter w(out);
    w.line("</offer-list>");
    return w.ok();
}

bool WriteOffer(QIODevice &out, const Dataset &q, const QStringList &pictureNames)
{
    OfferWriter w(out);
    w.line("    <offer>");
    w.element("id", EncodeXmlValue(q.text(nesta::Cj)));
    w.element("category", EncodeXmlValue(CategoryGroup(q.text(nesta::DruhVozidla))));
    for (const auto &[element, field] : kFieldElements)
        w.element(element, EncodeXmlValue(q.text(field)));
    w.line("      <new-flag>ne</new-flag>");
    w.element("sales-price", EncodeXmlValue(q.text(nesta::CenaVozidla)));

    const QString other = q.text(nesta::VybavaDoPoznamky);
    const QByteArray body = EncodeXmlValue(remark(q));
    w.element("etc", other.isEmpty() ? body : EncodeXmlValue(other) + "; " + body);

    // Every item ends at ";"; text after the last one is not an item.
    const QStringList items = q.text(nesta::Vybava).split(u';');
    for (qsizetype i = 0; i + 1 < items.size(); ++i)
        w.element("extra", EncodeXmlValue(items[i]));

    if (q.text(nesta::PrvMajitel) == u"1")
        w.element("remark", EncodeXmlValue(u"První majitel"_s));
    if (q.text(nesta::ServisKn) == u"1")
        w.element("remark", EncodeXmlValue(u"Servisní knížka"_s));
    if (q.text(nesta::Metaliza) == u"1")
        w.element("remark", EncodeXmlValue(u"Metalíza"_s));
    if (!q.text(nesta::Stat).isEmpty())
        w.element("remark", EncodeXmlValue(u"Země původu: "_s + q.text(nesta::Stat)));
    w.line(q.text(nesta::Rezerva6) == u"1" ? "      <to-print>true</to-print>" : "      <to-print>false</to-print>");

    for (const QString &name : pictureNames)
        w.element("picture", EncodeXmlValue(name));
    w.line("    </offer>");
    return w.ok();
}

} // namespace korvex
