#pragma once

#include "platform/WinPath.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <vector>

namespace korvex {

class ChangedPhotos;
class Dataset;

// What a dealer should know about a vehicle before it is published. A check
// never changes what is sent.
enum class VehicleProblem { NoPrice, NoPhoto, MissingPhoto, DamagedPhoto, NoMakeOrModel, NoMileage };

struct VehicleFinding
{
    VehicleProblem problem;
    QString photo; // the photo path, for the two photo problems
};

// The short Czech text of a kind of problem: "bez ceny", "bez fotografie" ...
QString ProblemText(VehicleProblem problem);
// The finding's text, naming the photo where there is one.
QString FindingText(const VehicleFinding &finding);

// One marked vehicle with its findings, for the preview.
struct VehicleCheck
{
    QString cj;
    QString make;
    QStringList problems; // finding texts
};

// Checks vehicles of the working table against their photo files. Folder
// listings and JPEG headers are kept for the checker's life, so one checker
// serves one look at the files. With the send history's photo files, a
// header it found readable is not read again while the file is as it was.
class VehicleChecker
{
public:
    explicit VehicleChecker(bool onlyFirstPhoto, ChangedPhotos *known = nullptr);

    // The current record of the query.
    QList<VehicleFinding> check(const Dataset &query);
    // A row of the query, the cursor left where it is.
    QList<VehicleFinding> checkRow(const Dataset &query, int row);

private:
    QList<VehicleFinding> check(const Dataset &query, const std::function<QVariant(int)> &value);
    // The photo's file as the system names it; empty when there is none.
    QString existingFile(const QString &photo);
    bool readableJpeg(const QString &photo, const QString &path);

    bool m_onlyFirst;
    ChangedPhotos *m_known;
    WinPath::CachedResolver m_files;
    QHash<QString, bool> m_jpeg;
    std::vector<int> m_fields;
};

// The question a send asks before packing when marked vehicles have
// problems: "N vybraných vozidel má problém (bez ceny, bez fotografie). Pokračovat?"
QString ProblemQuestion(int vehicles, const QList<VehicleProblem> &kinds);

} // namespace korvex
