#include "export/GuardSettings.h"

#include "platform/ModuleFolders.h"
#include "platform/TextFile.h"

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

int numberOr(const QString &line, int fallback, int lowest, int highest)
{
    bool ok = false;
    const int value = line.toInt(&ok);
    return ok && value >= lowest && value <= highest ? value : fallback;
}

} // namespace

GuardSettings LoadGuardSettings(const QString &executableFolder)
{
    GuardSettings settings;
    const auto lines = TextFile::readLines(ModuleFolders::path(ModuleFile::GuardSettings, executableFolder));
    if (!lines)
        return settings;
    settings.enabled = TextFile::lineAt(*lines, 0) != u"0";
    settings.percent = numberOr(TextFile::lineAt(*lines, 1), settings.percent, 0, 100);
    settings.minimum = numberOr(TextFile::lineAt(*lines, 2), settings.minimum, 0, 1000000);
    return settings;
}

void SaveGuardSettings(const GuardSettings &settings, const QString &executableFolder)
{
    TextFile::writeLinesAtomic(ModuleFolders::path(ModuleFile::GuardSettings, executableFolder),
                               {settings.enabled ? u"1"_s : u"0"_s, QString::number(settings.percent),
                                QString::number(settings.minimum)});
}

} // namespace korvex
