// The main window's activation: the start-up of the module, the automatic
// mode and the send.
#include "app/TForm_Nesta.h"

#include "app/SettingsTab.h"
#include "export/SendWorkflow.h"
#include "import/InterchangeImport.h"
#include "import/ParadoxWorkingTableUpgrade.h"
#include "import/WorkingTable.h"
#include "platform/ModuleError.h"
#include "platform/ModuleFolders.h"
#include "platform/UserActionGuard.h"
#include "platform/WinPath.h"
#include "selection/TransferPanel.h"
#include "selection/VehicleListTab.h"
#include "widgets/ControlLock.h"
#include "widgets/HourGlass.h"
#include "widgets/TZip.h"

#include <QDir>
#include <QFile>
#include <QPushButton>

#include <exception>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

// RestoringMarks and the suspended display for the import and the marks,
// undone however the start-up ends.
class RestoringScope
{
public:
    RestoringScope(VehicleListTab &list, Dataset &query)
        : m_display(query)
        , m_list(list)
    {
        m_list.RestoringMarks = true;
    }
    ~RestoringScope() { m_list.RestoringMarks = false; }

private:
    const Dataset::DisplaySuspended m_display;
    VehicleListTab &m_list;
};

// A working table that is no database of this version (a Paradox table left
// by an earlier installation, say) cannot be opened; the dealer is told how
// to get a new one instead of a bare error.
void RefuseForeignWorkingTable(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(16) == QByteArrayView("SQLite format 3\0", 16))
        return;
    throw ModuleError(
        u"Pracovní tabulku \"%1\" nelze otevřít: není to tabulka této verze modulu (například tabulka ze "
        u"starší instalace). Přejmenujte ji nebo ji přesuňte jinam a klikněte na tlačítko \"Načíst znovu\": "
        u"modul vytvoří novou tabulku a vozidla do ní načte znovu. Značky vozidel a výběr fotografií ze staré "
        u"tabulky se do ní nepřenesou."_s.arg(path));
}

} // namespace

void TForm_Nesta::FormActivate()
{
    // Message boxes of the start-up activate the window again when they close.
    if (m_activating)
        return;
    m_activating = true;
    AutomaticMode = m_launch.arguments.value(0) == u"RYCHLE";
    LoadFtpMode(m_settings, ModuleFolders::hostRoot(m_launch.executableFolder));
    // A failed start-up is shown once. Closing its error box activates the
    // window again, so only "Načíst znovu" or a return from another
    // application tries again.
    if (!StartupDone && !m_startupFailed) {
        m_startupFailed = !RunUserAction(m_dialogs, [this] { StartUp(); });
        m_retry->setVisible(m_startupFailed);
        if (m_startupFailed && m_launch.endAfterAutomaticSteps) {
            m_runEnd = RunEnd::StartupFailed;
            m_activating = false;
            close();
            return;
        }
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
    // A bad settings file stops the start-up only after every settings file
    // was read, so that the tab shows (and a save keeps) the dealer's values.
    std::exception_ptr settingsError;
    try {
        LoadHostProxy(m_settings, exe);
        m_client.setProxy(m_settings.proxy, m_settings.labelProxy == u"PROXY: ZAPNUTO");
    } catch (const ModuleError &) {
        settingsError = std::current_exception();
    }
    // An existing or uncreatable working folder is not reported.
    QDir().mkdir(ModuleFolders::workingFolder(exe));
    if (!m_zip)
        m_zip = new TZip(this);

    if (m_launch.arguments.value(0) == u"---------CAR-EXP" && !AutomaticMode) {
        if (settingsError)
            std::rethrow_exception(settingsError);
        StartupDone = true;
        close();
        return;
    }

    HostRoot = ModuleFolders::hostRoot(exe);
    SettingsFolder = ModuleFolders::settingsFolder(exe, HostRoot);
    m_list->setIconFolders(SettingsFolder, exe);
    LoadExtractionFlags(m_settings, HostRoot + u"WWW_Export\\"_s);
    // A start-up tried again must not read the file over what the dealer
    // has typed since.
    if (m_settings.stored != m_savedSettings)
        SaveSettings();
    try {
        LoadModuleSettings(m_settings, exe);
    } catch (const ModuleError &) {
        if (!settingsError)
            settingsError = std::current_exception();
    }
    m_savedSettings = m_settings.stored;
    if (settingsError)
        std::rethrow_exception(settingsError);

    m_session = DatabaseSession::load(exe);
    const QString table = StartUpWorkingTableFile(m_session, exe);
    if (WinPath::isFile(table))
        UpgradeParadoxWorkingTable(table);
    else
        CreateWorkingTable(m_query, m_session);
    if (!m_query.isOpen()) {
        try {
            OpenWorkingQuery(m_query, m_session);
        } catch (const ModuleError &) {
            RefuseForeignWorkingTable(WorkingTableFile(m_session));
            throw;
        }
    }
    m_query.first();
    m_list->EnableMarks();

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
    context.markedCount = m_list->MarkedCount();
    context.automaticMode = AutomaticMode;
    context.busy = [](bool on) {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    context.showProgress = [this] { m_list->Panel1()->show(); };
    // The window closes once the send has returned, never under it.
    context.closeWindow = [this] { m_closeAfterSend = true; };
    context.onIdle = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
    bool done = false;
    {
        // The window keeps serving events so that STOP works; nothing else
        // may start work or open a dialog inside the running upload.
        ControlLock lock(this, m_list->Panel1());
        done = RunUserAction(m_dialogs, [&] { m_sendOutcome = Send(context); });
    }
    if (!done && m_list->Panel1()->isVisible())
        m_list->Panel1()->transferFailed();
    // The offer list's walk leaves the list on its last vehicle, which
    // "Zobraz FOTO" would then open unasked.
    if (m_query.state() == Dataset::State::Browse)
        m_query.first();
    m_sending = false;
    if (m_closeAfterSend && !AutomaticMode)
        close();
    return done;
}

void TForm_Nesta::LoadData()
{
    HourGlass hourGlass;
    ImportInterchangeFile(m_query, m_session, extractionSettings(), [this] {
        m_list->RecheckVehicles();
        m_list->UpdateMarkedLabel();
        m_list->UpdateTotalLabel();
    });
}

} // namespace korvex
