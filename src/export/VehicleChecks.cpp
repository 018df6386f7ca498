#include "export/VehicleChecks.h"

#include "export/JpegHeader.h"
#include "platform/Dataset.h"

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

bool hasPrice(QString text)
{
    text.remove(u' ');
    text.replace(u',', u'.');
    if (text.isEmpty() || text == u"-")
        return false;
    bool number = false;
    const double value = text.toDouble(&number);
    // A text that is no number is the dealer's own; only a zero says "none".
    return !number || value != 0.0;
}

bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty() || text == u"-";
}

// As the working table reads a flag stored as text or as a boolean.
bool isSet(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString)
        return value.toString() == u"1" || value.toString().compare(u"True", Qt::CaseInsensitive) == 0;
    return value.toBool();
}

bool isCar(const QString &category)
{
    return category == u"osobni" || category == u"terenni";
}

} // namespace

QString ProblemText(VehicleProblem problem)
{
    switch (problem) {
    case VehicleProblem::NoPrice: return u"bez ceny"_s;
    case VehicleProblem::NoPhoto: return u"bez fotografie"_s;
    case VehicleProblem::MissingPhoto: return u"chybí soubor fotografie"_s;
    case VehicleProblem::DamagedPhoto: return u"fotografie není čitelný JPEG"_s;
    case VehicleProblem::NoMakeOrModel: return u"bez značky nebo modelu"_s;
    case VehicleProblem::NoMileage: return u"bez stavu km"_s;
    }
    return {};
}

QString FindingText(const VehicleFinding &finding)
{
    const QString text = ProblemText(finding.problem);
    return finding.photo.isEmpty() ? text : text + u' ' + finding.photo;
}

VehicleChecker::VehicleChecker(bool onlyFirstPhoto)
    : m_onlyFirst(onlyFirstPhoto)
{
}

QList<VehicleFinding> VehicleChecker::check(const Dataset &query)
{
    return check([&query](const QString &field) { return query.value(field); });
}

QList<VehicleFinding> VehicleChecker::checkRow(const Dataset &query, int row)
{
    return check([&query, row](const QString &field) { return query.valueAt(row, query.fieldIndex(field)); });
}

QList<VehicleFinding> VehicleChecker::check(const std::function<QVariant(const QString &)> &value)
{
    auto field = [&value](const QString &name) { return value(name).toString(); };
    QList<VehicleFinding> findings;
    if (!hasPrice(field(u"CENA_VOZIDLA"_s)))
        findings.append({VehicleProblem::NoPrice, {}});

    // The photos the offer would choose from, as the staging reads them.
    QList<VehicleFinding> photoFindings;
    bool chosen = false;
    for (int n = 1; n <= (m_onlyFirst ? 1 : 6); ++n) {
        const QString photo = field(u"FOTO%1"_s.arg(n));
        if (photo.isEmpty() || !isSet(value(u"ZOB_FOTO%1"_s.arg(n))))
            continue;
        chosen = true;
        if (!m_files.isFile(photo))
            photoFindings.append({VehicleProblem::MissingPhoto, photo});
        else if (!readableJpeg(m_files.resolve(photo)))
            photoFindings.append({VehicleProblem::DamagedPhoto, photo});
    }
    if (!chosen)
        findings.append({VehicleProblem::NoPhoto, {}});
    findings += photoFindings;

    if (isBlank(field(u"ZNACKA"_s)) || isBlank(field(u"MODEL"_s)))
        findings.append({VehicleProblem::NoMakeOrModel, {}});
    if (isCar(field(u"DRUH_VOZIDLA"_s)) && isBlank(field(u"NAJETO"_s)))
        findings.append({VehicleProblem::NoMileage, {}});
    return findings;
}

bool VehicleChecker::readableJpeg(const QString &path)
{
    const auto known = m_jpeg.constFind(path);
    if (known != m_jpeg.cend())
        return *known;
    const bool ok = HasJpegHeader(path);
    m_jpeg.insert(path, ok);
    return ok;
}

QString ProblemQuestion(int vehicles, const QList<VehicleProblem> &kinds)
{
    QStringList texts;
    for (const VehicleProblem kind : kinds)
        texts.append(ProblemText(kind));
    return u"%1 vybraných vozidel má problém (%2). Pokračovat?"_s.arg(vehicles).arg(texts.join(u", "_s));
}

} // namespace korvex
