#include "app/PreviewCommand.h"

#include "export/SendPreview.h"
#include "export/SendPreviewReport.h"
#include "import/WorkingTable.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"
#include "platform/ModuleError.h"
#include "platform/ModuleSettings.h"
#include "platform/WinPath.h"

#include <cstdio>

using namespace Qt::StringLiterals;

namespace korvex {

int RunPreviewCommand(const QString &executableFolder, const QStringList &options)
{
    try {
        const bool json = options == QStringList{u"--json"_s};
        if (!json && !options.isEmpty())
            throw ModuleError(u"Neznámý přepínač: %1 (použití: Korvex_Export --nahled [--json])"_s.arg(options.join(u' ')));
        ModuleSettings settings;
        LoadModuleSettings(settings, executableFolder);
        const DatabaseSession session = DatabaseSession::load(executableFolder);
        const QString table = WorkingTableFile(session);
        if (!WinPath::isFile(table))
            throw ModuleError(u"Pracovní tabulka \"%1\" neexistuje; spusťte nejprve modul."_s.arg(table));
        Dataset query(NestaTableDef());
        OpenWorkingQuery(query, session);
        const SendPreview preview = PreviewSend(query, executableFolder, settings.stored.jenPrvniFoto);
        const QByteArray out = json ? PreviewJson(preview) : PreviewText(preview).toUtf8();
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

} // namespace korvex
