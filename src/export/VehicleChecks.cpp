#include "export/VehicleChecks.h"

#include "export/ChangedPhotos.h"
#include "export/JpegHeader.h"
#include "export/PhotoStaging.h"
#include "import/NestaFields.h"
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

VehicleChecker::VehicleChecker(bool onlyFirstPhoto, ChangedPhotos *known)
    : m_onlyFirst(onlyFirstPhoto)
    , m_known(known)
{
}

QList<VehicleFinding> VehicleChecker::check(const Dataset &query)
{
    return check(query, [&query](int field) { return query.value(field); });
}

QList<VehicleFinding> VehicleChecker::checkRow(const Dataset &query, int row)
{
    return check(query, [&query, row](int field) { return query.valueAt(row, field); });
}

QList<VehicleFinding> VehicleChecker::check(const Dataset &query, const std::function<QVariant(int)> &value)
{
    // A large stock is checked vehicle by vehicle: the names are looked up once.
    if (m_fields.empty())
        for (QStringView name : {nesta::CenaVozidla, nesta::Znacka, nesta::Model, nesta::DruhVozidla, nesta::Najeto,
                                 nesta::Foto1, nesta::Foto2, nesta::Foto3, nesta::Foto4, nesta::Foto5, nesta::Foto6,
                                 nesta::ZobFoto1, nesta::ZobFoto2, nesta::ZobFoto3, nesta::ZobFoto4, nesta::ZobFoto5,
                                 nesta::ZobFoto6})
            m_fields.push_back(query.fieldIndex(name));
    enum { Price, Make, Model, Category, Mileage, Photo1, Shown1 = Photo1 + 6 };
    auto field = [&](int which) { return value(m_fields[size_t(which)]).toString(); };

    QList<VehicleFinding> findings;
    if (!hasPrice(field(Price)))
        findings.append({VehicleProblem::NoPrice, {}});

    // The photos the offer would choose from, as the staging reads them.
    QList<VehicleFinding> photoFindings;
    bool chosen = false;
    for (int n = 0; n < (m_onlyFirst ? 1 : 6); ++n) {
        const QString photo = field(Photo1 + n);
        if (photo.isEmpty() || !isSet(value(m_fields[size_t(Shown1 + n)])))
            continue;
        chosen = true;
        const QString path = existingFile(photo);
        if (path.isEmpty())
            photoFindings.append({VehicleProblem::MissingPhoto, photo});
        else if (!readableJpeg(photo, path))
            photoFindings.append({VehicleProblem::DamagedPhoto, photo});
    }
    if (!chosen)
        findings.append({VehicleProblem::NoPhoto, {}});
    findings += photoFindings;

    if (isBlank(field(Make)) || isBlank(field(Model)))
        findings.append({VehicleProblem::NoMakeOrModel, {}});
    if (isCar(field(Category)) && isBlank(field(Mileage)))
        findings.append({VehicleProblem::NoMileage, {}});
    return findings;
}

QString VehicleChecker::existingFile(const QString &photo)
{
    // A path written as the file system spells it needs no folder listing.
    if (m_known && m_known->isFile(photo))
        return photo;
    return m_files.isFile(photo) ? m_files.resolve(photo) : QString();
}

bool VehicleChecker::readableJpeg(const QString &photo, const QString &path)
{
    const auto known = m_jpeg.constFind(path);
    if (known != m_jpeg.cend())
        return *known;
    std::optional<bool> recorded;
    if (m_known)
        recorded = m_known->knownJpeg(PictureName(photo), path);
    const bool ok = recorded ? *recorded : HasJpegHeader(path);
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
