#include "export/GatewayClient.h"

#include "export/GatewayAddress.h"
#include "export/MultipartUpload.h"
#include "export/PortalPictureList.h"
#include "platform/AtomicWrite.h"
#include "platform/ModuleError.h"
#include "platform/ModuleFolders.h"
#include "platform/Win1250.h"

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

// The user name and password travel in the listing's address, and libcurl
// takes no address longer than this.
constexpr qsizetype kLongestAddress = 8000000;

} // namespace

void ListPortalPictures(HttpClient &client, const ModuleSettings &settings, const QString &executableFolder)
{
    const QByteArray url = GatewayAddress() + kGatewayPath + "?action=get_cars&up_user="
        + PercentEncode(Win1250::encode(settings.stored.uzivJmeno))
        + "&up_passwd=" + PercentEncode(Win1250::encode(settings.stored.uzivHeslo));
    if (url.size() > kLongestAddress)
        throw ModuleError(u"Uživatelské jméno nebo heslo pro portál je příliš dlouhé (%1 znaků), seznam fotografií "
                          u"na portálu nelze zjistit. Opravte je na záložce nastavení."_s
                              .arg(settings.stored.uzivJmeno.size() + settings.stored.uzivHeslo.size()));
    WriteFileAtomically(ModuleFolders::path(ModuleFile::PortalListing, executableFolder), client.get(url));
    BuildPortalPictureList(executableFolder);
}

void UploadArchive(HttpClient &client, const ModuleSettings &settings, const UploadContext &context)
{
    if (context.showProgress)
        context.showProgress();
    MultipartUpload form(context.archivePath, settings.stored.uzivJmeno, settings.stored.uzivHeslo, context.now());
    try {
        const QByteArray reply = client.postHttp10(GatewayAddress() + kGatewayPath, form.body());
        WriteFileAtomically(ModuleFolders::path(ModuleFile::Reply, context.workingFolder), reply);
    } catch (const ModuleError &e) {
        if (context.onFailed)
            context.onFailed(e.text());
        context.dialogs->notify(Caption::Warning, u"Došlo k chybě při komunikaci se serverem Korvex"_s);
        throw;
    }
    if (context.onUploaded)
        context.onUploaded();
    if (!context.automaticMode)
        context.dialogs->notify(Caption::Information, u"Inzerce byla úspěšně odeslána."_s);
    if (context.closeWindow)
        context.closeWindow();
}

} // namespace korvex
