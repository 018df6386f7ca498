// The main window's activation: the start-up of the module, the automatic
// mode and the send.
#include "TForm_Nesta.h"

#include "HourGlass.h"
#include "InterchangeImport.h"
#include "ModuleFolders.h"
#include "ParadoxWorkingTableUpgrade.h"
#include "SendWorkflow.h"
#include "SettingsTab.h"
#include "TDbGridTarvo.h"
#include "TZip.h"
#include "TransferPanel.h"
#include "UserActionGuard.h"
#include "VehicleListTab.h"
#include "WinPath.h"
#include "WorkingTable.h"

#include <QDir>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

// RestoringMarks and the suspended display for the import and the marks,
// undone however the start-up ends.
class RestoringScope
{
public:
    RestoringScope(VehicleListTab &list, Dataset &query)
        : m_list(list)
        , m_query(query)
    {
        m_query.disableControls();
        m_list.RestoringMarks = true;
    }
    ~RestoringScope()
    {
        m_list.RestoringMarks = false;
        m_query.enableControls();
    }

private:
    VehicleListTab &m_list;
    Dataset &m_query;
};

} // namespace

void TForm_Nesta::FormActivate()
{
    // Message boxes of the start-up activate the window again when they close.
    if (m_activating)
        return;
    m_activating = true;
    AutomaticMode = m_launch.arguments.value(0) == u"RYCHLE";
    LoadFtpMode(m_settings, ModuleFolders::hostRoot(m_launch.executableFolder));
    if (!StartupDone && !RunUserAction(m_dialogs, [this] { StartUp(); }) && m_launch.endAfterAutomaticSteps) {
        m_runEnd = RunEnd::StartupFailed;
        m_activating = false;
        close();
        return;
    }
    // What the start-up read, as far as it came.
    m_settingsTab->showSettings();
    // Once, right after a completed start-up: a later activation (the photo
    // dialog closing, say) must not publish again.
    if (AutomaticMode && StartupDone && !m_automaticDone && isVisible()) {
        m_automaticDone = true;
        RunAutomaticSteps();
    }
    m_activating = false;
}

void TForm_Nesta::StartUp()
{
    const QString &exe = m_launch.executableFolder;
    LoadHostProxy(m_settings, exe);
    m_client.setProxy(m_settings.proxy, m_settings.labelProxy == u"PROXY: ZAPNUTO");
    // An existing or uncreatable working folder is not reported.
    QDir().mkdir(WinPath::resolve(ModuleFolders::workingFolder(exe)));
    if (!m_zip)
        m_zip = new TZip(this);

    if (m_launch.arguments.value(0) == u"---------CAR-EXP" && !AutomaticMode) {
        StartupDone = true;
        close();
        return;
    }

    HostRoot = ModuleFolders::hostRoot(exe);
    SettingsFolder = ModuleFolders::settingsFolder(exe, HostRoot);
    m_list->setIconFolders(SettingsFolder, exe);
    LoadExtractionFlags(m_settings, HostRoot + u"WWW_Export\\"_s);
    LoadModuleSettings(m_settings, exe);

    m_session = DatabaseSession::load(exe);
    QString path = exe.toUpper();
    WorkingTablePath(m_session, u"BAZAR"_s, path);
    if (WinPath::isFile(path + u"Nesta.db"_s))
        UpgradeParadoxWorkingTable(WinPath::resolve(path + u"Nesta.db"_s));
    else
        CreateWorkingTable(m_query, m_session);
    if (!m_query.isOpen())
        OpenWorkingQuery(m_query, m_session);
    m_query.first();
    m_list->DbGridTarvo1->setCheckEnabled(true);

    {
        RestoringScope restoring(*m_list, m_query);
        LoadData();
        m_query.first();
        m_list->RestoreMarks();
    }
    if (!m_query.isOpen())
        m_query.open();
    m_list->UpdateMarkedLabel();
    m_list->UpdateTotalLabel();
    StartupDone = true;
}

void TForm_Nesta::RunAutomaticSteps()
{
    // A send that raised skips "Vyber vše"; one that stopped with its own
    // message does not.
    const bool sent = SendOffer();
    m_runEnd = sent ? RunEndOf(m_sendOutcome) : RunEnd::SendFailed;
    if (sent)
        RunUserAction(m_dialogs, [this] { m_list->MarkAll(); });
    if (m_closeAfterSend || m_launch.endAfterAutomaticSteps)
        close();
}

bool TForm_Nesta::SendOffer()
{
    if (m_sending)
        return false;
    m_sending = true;
    m_list->BitBtn3->setEnabled(false);
    // A start-up that failed early may not have made the archiver yet.
    if (!m_zip)
        m_zip = new TZip(this);

    SendContext context;
    context.executableFolder = m_launch.executableFolder;
    context.query = &m_query;
    context.settings = &m_settings;
    context.dialogs = &m_dialogs;
    context.client = &m_client;
    context.packer = m_zip;
    context.ping = &m_ping;
    context.markedCount = m_list->DbGridTarvo1->CheckedCount();
    context.automaticMode = AutomaticMode;
    context.busy = [](bool on) {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    context.showProgress = [this] { m_list->Panel1->show(); };
    // The window closes once the send has returned, never under it.
    context.closeWindow = [this] { m_closeAfterSend = true; };
    context.onIdle = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
    const bool done = RunUserAction(m_dialogs, [&] { m_sendOutcome = Send(context); });

    m_list->BitBtn3->setEnabled(true);
    m_sending = false;
    if (m_closeAfterSend && !AutomaticMode)
        close();
    return done;
}

void TForm_Nesta::LoadData()
{
    HourGlass hourGlass;
    ImportInterchangeFile(m_query, m_session, extractionSettings(), [this] {
        m_list->UpdateMarkedLabel();
        m_list->UpdateTotalLabel();
    });
}

} // namespace korvex
