#include "export/OfferLayout.h"

#include "import/CodeTables.h"
#include "platform/Dataset.h"

#include <QIODevice>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

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
    const QStringList parts = q.text(u"REZERVA5").split(u'*');
    auto part = [&parts](int n) { return parts.value(n); };
    const QString undamaged = part(4) == u"A" ? u"  NEHAVAROVÁNO"_s : QString();
    const QString financing = q.text(u"STAV_VOZIDLA_XML") == u"inz_leasing"
        ? u"FINANCOVÁNÍ - akontace: "_s + part(1) + u"Kč + splátky: "_s + part(3) + u" x "_s + part(2) + u"Kč"_s
        : QString();
    return q.text(u"POZNAMKA") + u' ' + financing + undamaged;
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
    w.element("id", EncodeXmlValue(q.text(u"CJ")));
    w.element("category", EncodeXmlValue(CategoryGroup(q.text(u"DRUH_VOZIDLA"))));
    w.element("constr", EncodeXmlValue(q.text(u"REZERVA1")));
    w.element("color", EncodeXmlValue(q.text(u"BARVA_XML")));
    w.element("fuel", EncodeXmlValue(q.text(u"PALIVO")));
    w.element("producer", EncodeXmlValue(q.text(u"ZNACKA")));
    w.element("type", EncodeXmlValue(q.text(u"MODEL")));
    w.element("model-supplement", EncodeXmlValue(q.text(u"TYP")));
    w.element("constr-year", EncodeXmlValue(q.text(u"DATUM_VYROBY")));
    w.element("model-year", EncodeXmlValue(q.text(u"DATUM_VYROBY")));
    w.element("km", EncodeXmlValue(q.text(u"NAJETO")));
    w.element("kw", EncodeXmlValue(q.text(u"VYKON")));
    w.element("stk", EncodeXmlValue(q.text(u"STK_DO")));
    w.element("doors-number", EncodeXmlValue(q.text(u"REZERVA2")));
    w.line("      <new-flag>ne</new-flag>");
    w.element("sales-price", EncodeXmlValue(q.text(u"CENA_VOZIDLA")));

    const QString other = q.text(u"VYBAVA_DO_POZNAMKY");
    const QByteArray body = EncodeXmlValue(remark(q));
    w.element("etc", other.isEmpty() ? body : EncodeXmlValue(other) + "; " + body);

    // Every item ends at ";"; text after the last one is not an item.
    const QStringList items = q.text(u"VYBAVA").split(u';');
    for (qsizetype i = 0; i + 1 < items.size(); ++i)
        w.element("extra", EncodeXmlValue(items[i]));

    if (q.text(u"PRV_MAJITEL") == u"1")
        w.element("remark", EncodeXmlValue(u"První majitel"_s));
    if (q.text(u"SERVIS_KN") == u"1")
        w.element("remark", EncodeXmlValue(u"Servisní knížka"_s));
    if (q.text(u"METALIZA") == u"1")
        w.element("remark", EncodeXmlValue(u"Metalíza"_s));
    if (!q.text(u"STAT").isEmpty())
        w.element("remark", EncodeXmlValue(u"Země původu: "_s + q.text(u"STAT")));
    w.line(q.text(u"REZERVA6") == u"1" ? "      <to-print>true</to-print>" : "      <to-print>false</to-print>");

    for (const QString &name : pictureNames)
        w.element("picture", EncodeXmlValue(name));
    w.line("    </offer>");
    return w.ok();
}

} // namespace korvex
