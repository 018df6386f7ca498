// The main window in-process over a generated host: the start-up order and
// its errors, the launch modes, the settings tab, the automatic publish and
// the transfer panel with STOP.
#include "Controls.h"
#include "HostFixture.h"
#include "OldWorkingTable.h"
#include "PortalStub.h"
#include "ScriptedDialogs.h"
#include "TempHost.h"
#include "app/MessageBoxDialogs.h"
#include "app/TForm_Nesta.h"
#include "import/WorkingTable.h"
#include "platform/SqliteStore.h"
#include "platform/TextFile.h"
#include "selection/SendPreviewDialog.h"
#include "selection/TForm_Foto.h"
#include "selection/TGauge.h"
#include "selection/TransferPanel.h"
#include "widgets/TDbGridTarvo.h"
#include "widgets/TKEdit.h"
#include "widgets/TKListBox.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTableWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

using test::Control;

// The window's controls, by their names on the form.
TDbGridTarvo *grid(const QObject *form)
{
    return Control<TDbGridTarvo>(form, "DbGridTarvo1");
}
void click(const QObject *form, const char *name)
{
    Control<QAbstractButton>(form, name)->click();
}
QString text(const QObject *form, const char *name)
{
    return Control<QLabel>(form, name)->text();
}

fixture::FixtureHost offeredVehicles(int count)
{
    fixture::FixtureHost host = fixture::generatedDealer(count, 1);
    for (auto &v : host.branches[0].vehicles)
        v.rezPrehl5.clear();
    return host;
}

// The real error boxes, each closed with OK a moment after it shows: a box
// takes the activation and the focus from the window. When it closes, the
// window is activated again, as a window manager does.
class ClosedBoxes : public MessageBoxDialogs
{
public:
    void showError(const QString &text) override
    {
        ++shown;
        QTimer::singleShot(50, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->button(QMessageBox::Ok)->click();
        });
        MessageBoxDialogs::showError(text);
        if (window)
            window->activateWindow();
    }
    int shown = 0;
    QWidget *window = nullptr;
};

class MainWindow : public ::testing::Test
{
protected:
    explicit MainWindow(int vehicles = 4)
        : host(offeredVehicles(vehicles))
    {
    }

    std::unique_ptr<TForm_Nesta> start(const QStringList &arguments = {})
    {
        NestaLaunch launch;
        launch.executableFolder = prg();
        launch.arguments = arguments;
        launch.dialogs = &dialogs;
        return std::make_unique<TForm_Nesta>(launch);
    }

    QString prg() const { return host.layout().programFolder; }
    void writeSettings(const QString &user)
    {
        QFile f(prg() + u"Korvex.ddd"_s);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("1\r\n0\r\n150\r\n" + user.toUtf8() + "\r\nheslo\r\nftp\r\nx\r\ny\r\n\r\n");
    }
    QStringList errors() const
    {
        QStringList out;
        for (const auto &c : dialogs.calls)
            if (c.kind == test::ScriptedDialogs::Kind::Error)
                out.append(c.text);
        return out;
    }

    test::TempHost host;
    test::ScriptedDialogs dialogs;
};

TEST_F(MainWindow, StartUpImportsAndRestoresTheMarksOfTheLastRun)
{
    {
        auto form = start();
        form->FormActivate();
        ASSERT_TRUE(form->StartupDone) << errors().join(u'\n').toStdString();
        EXPECT_EQ(form->windowTitle().left(40), u"Exportní modul pro přenos inzerce na inz"_s);
        EXPECT_EQ(text(form.get(), "Label15"), u"4    celkem "_s);
        EXPECT_EQ(text(form.get(), "Label16"), u"0   vybráno "_s);
        form->Query_Nesta().setRecNo(1);
        click(form.get(), "Button7");
        form->Query_Nesta().setRecNo(3);
        click(form.get(), "Button7");
        form->close();
    }
    auto form = start();
    form->FormActivate();
    ASSERT_TRUE(form->StartupDone);
    EXPECT_EQ(text(form.get(), "Label16"), u"2   vybráno "_s);
    EXPECT_TRUE(grid(form.get())->isRowChecked(1));
    EXPECT_TRUE(grid(form.get())->isRowChecked(3));
    EXPECT_FALSE(grid(form.get())->isRowChecked(0));
    EXPECT_EQ(form->Query_Nesta().recNo(), 0);

    // Another activation reads the FTP mode again but does not import.
    QFile::remove(prg() + u"ASCII_Nesta.TXT"_s);
    form->FormActivate();
    EXPECT_FALSE(QFile::exists(prg() + u"ASCII_Nesta.TXT"_s));
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(MainWindow, EscapeOnTheListClosesTheWindow)
{
    auto form = start();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->FormActivate();
    ASSERT_TRUE(form->StartupDone);
    grid(form.get())->setFocus();
    QTest::keyClick(grid(form.get()), Qt::Key_Escape);
    // The button's shortcut clicks it a moment later, as a click looks.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }));
    EXPECT_FALSE(form->Query_Nesta().isOpen());
}

TEST_F(MainWindow, HiddenButtonsExtractAndRecreate)
{
    auto form = start();
    form->FormActivate();
    ASSERT_TRUE(form->StartupDone);
    click(form.get(), "Button8");
    ASSERT_EQ(grid(form.get())->CheckedCount(), 4);

    QFile::remove(prg() + u"ASCII_Nesta.TXT"_s);
    click(form.get(), "ButtonVytvorAscii");
    EXPECT_TRUE(QFile::exists(prg() + u"ASCII_Nesta.TXT"_s));
    ASSERT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(dialogs.calls[0].caption, u"Upozornění ..."_s);
    EXPECT_EQ(dialogs.calls[0].text, u"Soubor ASCII_Nesta.TXT byl vytvořen."_s);

    click(form.get(), "ButtonVytvorDatabaziNastaveni");
    EXPECT_EQ(form->Query_Nesta().recordCount(), 0);
    EXPECT_EQ(grid(form.get())->CheckedCount(), 0);
    EXPECT_EQ(text(form.get(), "Label16"), u"0   vybráno "_s);
    EXPECT_EQ(text(form.get(), "Label15"), u"0    celkem "_s);
}

// Each of the list's window actions reaches its own routine; an error of
// one is shown, not thrown out of the click.
TEST_F(MainWindow, ListButtonsRunTheWindowsActionsAndShowTheirErrors)
{
    auto form = start();
    form->FormActivate();
    ASSERT_TRUE(form->StartupDone);
    TForm_Foto photos(form->Query_Nesta(), dialogs, form.get());
    form->setPhotoDialog(&photos);
    QString shown;
    QTimer::singleShot(0, form.get(), [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            shown = modal->objectName();
            modal->close();
        }
    });
    click(form.get(), "BitBtnFOTO");
    EXPECT_EQ(shown, u"Form_Foto"_s);

    // The host still offers a deleted vehicle: the import adds it again.
    form->Query_Nesta().remove();
    ASSERT_EQ(form->Query_Nesta().recordCount(), 3);
    click(form.get(), "ButtonNactiData");
    EXPECT_EQ(form->Query_Nesta().recordCount(), 4);

    const QString offerList = prg() + u"Korvex_zip/Data.xml"_s;
    ASSERT_FALSE(QFile::exists(offerList));
    click(form.get(), "ButtonGenerujXml");
    EXPECT_TRUE(QFile::exists(offerList));
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();

    // A folder where the offer list goes: the file cannot be written.
    ASSERT_TRUE(QFile::remove(offerList));
    ASSERT_TRUE(QDir().mkdir(offerList));
    click(form.get(), "ButtonGenerujXml");
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors()[0].contains(u"Data.xml"_s)) << errors()[0].toStdString();

    click(form.get(), "ButtonVytvorDatabazi");
    EXPECT_EQ(form->Query_Nesta().recordCount(), 0);
    EXPECT_EQ(text(form.get(), "Label15"), u"0    celkem "_s);
}

TEST_F(MainWindow, SettingsControlsAndTheSettingsObjectFollowEachOther)
{
    QFile f(prg() + u"Korvex.ddd"_s);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("0\r\n1\r\n200\r\nautobazar\r\nheslo\r\nftp.example\r\nucet\r\n\r\nhttp://x\r\n");
    f.close();
    auto form = start();
    form->FormActivate();
    ASSERT_TRUE(form->StartupDone);
    auto *firstPhotoOnly = Control<QCheckBox>(form.get(), "CheckBox_JenPrvniFoto");
    auto *maxModules = Control<TKComboBox>(form.get(), "KComboBoxMaxModulu");
    auto *password = Control<TKEdit>(form.get(), "KEdit_UzivHeslo");
    EXPECT_FALSE(Control<QCheckBox>(form.get(), "CheckBoxStahovatFoto")->isChecked());
    EXPECT_TRUE(firstPhotoOnly->isChecked());
    EXPECT_EQ(maxModules->currentText(), u"200"_s);
    EXPECT_EQ(Control<TKEdit>(form.get(), "KEdit_FTPserver")->text(), u"ftp.example"_s);
    EXPECT_EQ(Control<TKEdit>(form.get(), "KEdit_FTPJmeno")->text(), u"ucet"_s);

    // The send reads the settings object: what the dealer types is there.
    password->setText(u"nové heslo"_s);
    firstPhotoOnly->setChecked(false);
    maxModules->setCurrentText(u"50"_s);
    EXPECT_EQ(form->Settings().stored.uzivHeslo, u"nové heslo"_s);
    EXPECT_FALSE(form->Settings().stored.jenPrvniFoto);
    EXPECT_EQ(form->Settings().stored.maxModulu, u"50"_s);
    EXPECT_EQ(form->Settings().stored.resultPageAddress, u"http://x"_s);

    // Another activation shows the object again and loses nothing typed.
    form->FormActivate();
    EXPECT_EQ(password->text(), u"nové heslo"_s);
    EXPECT_EQ(maxModules->currentText(), u"50"_s);
}

TEST_F(MainWindow, CarExpMakesTheWorkingFolderAndCloses)
{
    auto form = start({u"---------CAR-EXP"_s});
    form->show();
    form->FormActivate();
    EXPECT_TRUE(form->StartupDone);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(QDir(prg() + u"Korvex_zip"_s).exists());
    EXPECT_FALSE(form->Query_Nesta().isOpen());
    EXPECT_FALSE(QFile::exists(prg() + u"ASCII_Nesta.TXT"_s));
    EXPECT_FALSE(QFile::exists(host.layout().dataFolder(1) + u"Nesta.DB"_s));
}

TEST_F(MainWindow, AStartUpErrorIsShownOnceAndRunsAgainOnReturnOrRequest)
{
    QFile f(prg() + u"Korvex.ddd"_s);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("1\r\n0\r\nabc\r\ndealer\r\nheslo\r\n");
    f.close();
    auto form = start();
    form->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.calls.isEmpty(); }));
    EXPECT_FALSE(form->StartupDone);
    EXPECT_EQ(errors(),
              QStringList{u"Soubor \"%1Korvex.ddd\", řádek 3: 'abc' is not a valid integer value"_s.arg(prg())});
    EXPECT_FALSE(QFile::exists(prg() + u"ASCII_Nesta.TXT"_s));
    EXPECT_EQ(Control<TKEdit>(form.get(), "KEdit_UzivJmeno")->text(), u"dealer"_s);
    EXPECT_TRUE(Control<QPushButton>(form.get(), "ButtonNactiZnovu")->isVisible());

    // Away to another application and back, as the platform reports it
    // (the offscreen platform has no other application): tried once more.
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
    QTest::qWait(20);
    EXPECT_EQ(dialogs.calls.size(), 1);
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.calls.size() == 2; }));
    EXPECT_FALSE(form->StartupDone);
    QTest::qWait(50);
    EXPECT_EQ(dialogs.calls.size(), 2);

    // Typed on the settings tab before trying again: kept, and the save
    // mends the bad line.
    Control<TKEdit>(form.get(), "KEdit_UzivHeslo")->setText(u"nove"_s);
    Control<QPushButton>(form.get(), "ButtonNactiZnovu")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->StartupDone; }));
    EXPECT_EQ(dialogs.calls.size(), 2);
    EXPECT_EQ(Control<TKEdit>(form.get(), "KEdit_UzivJmeno")->text(), u"dealer"_s);
    EXPECT_EQ(Control<TKEdit>(form.get(), "KEdit_UzivHeslo")->text(), u"nove"_s);
    EXPECT_FALSE(Control<QPushButton>(form.get(), "ButtonNactiZnovu")->isVisible());
    EXPECT_EQ(text(form.get(), "Label15"), u"4    celkem "_s);
}

TEST_F(MainWindow, TheStartUpErrorBoxClosingDoesNotBringItBack)
{
    ClosedBoxes boxes;
    QFile::remove(host.layout().dataFolder(1) + u"Prijeti.DB"_s);
    NestaLaunch launch;
    launch.executableFolder = prg();
    launch.dialogs = &boxes;
    TForm_Nesta form(launch);
    boxes.setParent(&form);
    boxes.window = &form;
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.shown > 0; }));
    QTest::qWait(600);
    EXPECT_EQ(boxes.shown, 1);
    EXPECT_FALSE(form.StartupDone);
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindow, AnOldTableTellsTheDealerWhatToDo)
{
    QFile old(host.layout().dataFolder(1) + u"Nesta.DB"_s);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    // The start of a Paradox table header.
    old.write(QByteArray("\x8c\x05\x00\x08\x00\x02", 6) + QByteArray(2042, '\0'));
    old.close();
    auto form = start();
    form->FormActivate();
    EXPECT_FALSE(form->StartupDone);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors()[0].contains(u"Nesta.DB"_s)) << errors()[0].toStdString();
    EXPECT_TRUE(errors()[0].contains(u"\"Načíst znovu\""_s)) << errors()[0].toStdString();

    ASSERT_TRUE(QFile::rename(old.fileName(), old.fileName() + u".stara"_s));
    form->show();
    Control<QPushButton>(form.get(), "ButtonNactiZnovu")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->StartupDone; }));
    EXPECT_EQ(form->Query_Nesta().recordCount(), 4);
}

TEST_F(MainWindow, LeavingTheSettingsTabSavesTheSettings)
{
    auto form = start();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->FormActivate();
    ASSERT_TRUE(form->StartupDone);
    auto *userName = Control<TKEdit>(form.get(), "KEdit_UzivJmeno");
    auto *ftpPassword = Control<TKEdit>(form.get(), "KEdit_FTPHeslo");
    EXPECT_EQ(userName->text(), u"DEMO"_s);
    EXPECT_EQ(Control<TKEdit>(form.get(), "KEdit_UzivHeslo")->displayText(), u"********"_s);
    ftpPassword->setText(u"tajne"_s);
    EXPECT_EQ(ftpPassword->displayText(), u"*****"_s);
    EXPECT_FALSE(Control<QCheckBox>(form.get(), "CheckBox_FTPrezim")->isEnabled());
    EXPECT_EQ(text(form.get(), "LabelProxy"), u"PROXY: VYPNUTO"_s);

    Control<QTabWidget>(form.get(), "PageControl1")->setCurrentIndex(1);
    form->activateWindow();
    userName->setFocus();
    userName->setText(u"autobazar"_s);
    Control<QTabWidget>(form.get(), "PageControl1")->setCurrentIndex(0);
    grid(form.get())->setFocus();
    QApplication::processEvents();
    const auto lines = TextFile::readLines(prg() + u"Korvex.ddd"_s);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(TextFile::lineAt(*lines, 3), u"autobazar"_s);
    EXPECT_EQ(QFile(prg() + u"Korvex.ddd"_s).permissions() & (QFile::ReadOther | QFile::ReadGroup), 0);
}

TEST_F(MainWindow, TypedSettingsAreSavedWhenTheWindowCloses)
{
    const QString file = prg() + u"Korvex.ddd"_s;
    {
        auto form = start();
        form->FormActivate();
        ASSERT_TRUE(form->StartupDone);
        form->close();
        // Nothing changed, nothing written.
        EXPECT_FALSE(QFile::exists(file));
    }
    auto form = start();
    form->FormActivate();
    ASSERT_TRUE(form->StartupDone);
    Control<TKEdit>(form.get(), "KEdit_UzivJmeno")->setText(u"autobazar"_s);
    Control<TKEdit>(form.get(), "KEdit_UzivHeslo")->setText(u"tajne"_s);
    form->close();
    const auto lines = TextFile::readLines(file);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(TextFile::lineAt(*lines, 3), u"autobazar"_s);
    EXPECT_EQ(TextFile::lineAt(*lines, 4), u"tajne"_s);
}

TEST_F(MainWindow, AFailedSettingsSaveShowsOneBox)
{
    ClosedBoxes boxes;
    NestaLaunch launch;
    launch.executableFolder = prg();
    launch.dialogs = &boxes;
    TForm_Nesta form(launch);
    boxes.setParent(&form);
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.StartupDone; }));
    ASSERT_EQ(boxes.shown, 0);
    // A folder where the file should be: the save cannot replace it.
    ASSERT_TRUE(QDir(prg()).mkdir(u"Korvex.ddd"_s));

    Control<QTabWidget>(&form, "PageControl1")->setCurrentIndex(1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto *save = Control<QPushButton>(&form, "BitBtnUlozit");
    save->setFocus();
    QTest::mouseClick(save, Qt::LeftButton);
    QTest::qWait(300);
    EXPECT_EQ(boxes.shown, 1);
    EXPECT_TRUE(form.isVisible());
}

class PublishingWindow : public MainWindow
{
protected:
    PublishingWindow()
    {
        qputenv("KORVEX_GATEWAY_URL", stub.address());
        qputenv("KORVEX_MAKER_URL", stub.address());
        stub.setDateFile(QDate::currentDate().toString(u"d.M.yyyy"_s).toUtf8());
        writeSettings(u"autobazar"_s);
    }
    ~PublishingWindow() override
    {
        qunsetenv("KORVEX_GATEWAY_URL");
        qunsetenv("KORVEX_MAKER_URL");
    }

    int requests(const QByteArray &method) const
    {
        int n = 0;
        for (const auto &r : stub.requests())
            n += r.method == method ? 1 : 0;
        return n;
    }

    stub::PortalStub stub;
};

// A start-up that failed after the table opened still lets the dealer send.
// Coming back from another application during that send must not run the
// import under it.
TEST_F(PublishingWindow, NoStartUpRetryRunsUnderASend)
{
    {
        auto form = start();
        form->FormActivate();
        ASSERT_TRUE(form->StartupDone) << errors().join(u'\n').toStdString();
        click(form.get(), "Button8");
        form->close();
    }
    ASSERT_TRUE(QFile::remove(prg() + u"Route_Seznam_Zobraz.ddd"_s));
    auto form = start();
    form->show();
    form->FormActivate();
    ASSERT_FALSE(form->StartupDone);
    ASSERT_EQ(errors().size(), 1);
    const QString routeError = errors().constFirst();

    form->Client().setLowSpeedTimeout(1);
    stub::Fault busy;
    busy.replyDelayMs = 1500;
    stub.setFault(busy);
    dialogs.queueAnswer(true);
    bool returned = false;
    QTimer probe;
    probe.setInterval(20);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!Control<TransferPanel>(form.get(), "Panel1")->Waiting())
            return;
        probe.stop();
        Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
        Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
        returned = true;
        QTest::qWait(100);
    });
    probe.start();
    click(form.get(), "BitBtn3");
    ASSERT_TRUE(returned);
    EXPECT_EQ(errors(), QStringList{routeError});
    EXPECT_FALSE(stub.archive("autobazar").isEmpty());
    stub.setFault(stub::Fault());
}

TEST_F(PublishingWindow, AutomaticModeSendsThenMarksEverythingAndCloses)
{
    {
        // The previous run left one vehicle marked.
        auto form = start();
        form->FormActivate();
        form->Query_Nesta().setRecNo(2);
        click(form.get(), "Button7");
        form->close();
    }
    auto form = start({u"RYCHLE"_s});
    form->show();
    form->FormActivate();
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();
    EXPECT_TRUE(dialogs.calls.isEmpty());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(requests("POST"), 1);
    EXPECT_FALSE(stub.archive("autobazar").isEmpty());
    EXPECT_EQ(grid(form.get())->CheckedCount(), 4);
    const QByteArray xml = [&] {
        QFile f(prg() + u"Korvex_zip/Data.xml"_s);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    EXPECT_EQ(xml.count("<offer>"), 1) << xml.toStdString();

    // The photo dialog closing activates the window again: no second send.
    form->show();
    form->FormActivate();
    EXPECT_EQ(requests("POST"), 1);
}

TEST_F(PublishingWindow, AutomaticModeRefusedForDemoStillMarksAndStaysOpen)
{
    writeSettings(u"DEMO"_s);
    auto form = start({u"RYCHLE"_s});
    form->show();
    form->FormActivate();
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();
    ASSERT_EQ(dialogs.calls.size(), 1);
    EXPECT_TRUE(dialogs.calls[0].text.startsWith(u"Není zadán registrovaný uživatel"_s));
    EXPECT_EQ(requests("POST"), 0);
    EXPECT_EQ(grid(form.get())->CheckedCount(), 4);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(PublishingWindow, AFailedAutomaticSendSkipsMarkingAll)
{
    stub::Fault refused;
    refused.status = 500;
    stub.setFault(refused);
    auto form = start({u"RYCHLE"_s});
    form->show();
    form->FormActivate();
    EXPECT_EQ(errors().size(), 1);
    EXPECT_EQ(grid(form.get())->CheckedCount(), 0);
    EXPECT_EQ(text(form.get(), "Label16"), u"0   vybráno "_s);
    EXPECT_TRUE(form->isVisible());
    QFile log(prg() + u"Korvex_log.txt"_s);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains(";automaticky;"));
}

TEST_F(PublishingWindow, AfterASendTheListStandsOnTheFirstVehicle)
{
    writeSettings(u"DEMO"_s);
    auto form = start();
    form->FormActivate();
    ASSERT_TRUE(form->StartupDone);
    form->Query_Nesta().setRecNo(2);
    click(form.get(), "Button7");
    click(form.get(), "BitBtn3");
    ASSERT_FALSE(dialogs.calls.isEmpty());
    EXPECT_TRUE(dialogs.calls.last().text.startsWith(u"Není zadán registrovaný uživatel"_s));
    EXPECT_EQ(form->Query_Nesta().recNo(), 0);
}

// The portal takes a while over the archive it received. Meanwhile nothing
// but STOP may be used, a close is refused with a notice, and the upload
// ends well although the wait is longer than the low-speed limit.
TEST_F(PublishingWindow, WhileTheUploadRunsOnlyStopIsLiveAndTheWaitIsNoFailure)
{
    auto form = start();
    form->show();
    form->FormActivate();
    ASSERT_TRUE(form->StartupDone);
    click(form.get(), "Button8");
    form->Client().setLowSpeedTimeout(1);
    stub::Fault busy;
    busy.replyDelayMs = 2500;
    stub.setFault(busy);
    dialogs.queueAnswer(true);

    auto *panel = Control<TransferPanel>(form.get(), "Panel1");
    QList<QWidget *> controls;
    for (const char *name : {"BitBtnFOTO", "BitBtn3", "BitBtn4", "Button7", "Button8", "Button6", "BitBtn1",
                             "BitBtn_Tisk", "SpeedButtonVybrane", "CheckBoxLPG", "DbGridTarvo1", "DBNavigatorTarvo1",
                             "DBMemoTarvo2", "KEdit_UzivJmeno"})
        controls.append(Control<QWidget>(form.get(), name));
    controls.append(Control<QTabWidget>(form.get(), "PageControl1")->tabBar());
    QStringList liveDuringWait;
    QString waitingFigures;
    bool stopLive = false;
    bool closedDuringWait = true;
    QTimer probe;
    probe.setInterval(20);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!panel->Waiting())
            return;
        probe.stop();
        for (QWidget *w : controls)
            if (w->isEnabled())
                liveDuringWait.append(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                                : w->objectName());
        stopLive = Control<QPushButton>(panel, "BitBtnStop")->isEnabled();
        waitingFigures = text(panel, "LabelZbyvCas") + u'|' + text(panel, "LabelRychlost");
        form->close();
        closedDuringWait = !form->isVisible();
    });
    probe.start();
    click(form.get(), "BitBtn3");

    EXPECT_TRUE(liveDuringWait.isEmpty()) << liveDuringWait.join(u", "_s).toStdString();
    EXPECT_TRUE(stopLive);
    EXPECT_EQ(waitingFigures, u"0s|dokončen, čekám na odpověď portálu"_s);
    EXPECT_FALSE(closedDuringWait);
    QStringList texts;
    for (const auto &c : dialogs.calls) {
        texts.append(c.caption + u' ' + c.text);
        // A notice that waits for OK would hold the upload as long as it is open.
        if (c.text.startsWith(u"Probíhá odesílání"_s)) {
            EXPECT_EQ(c.kind, test::ScriptedDialogs::Kind::AsideNotice);
        }
    }
    EXPECT_TRUE(texts.contains(u"Upozornění ... Probíhá odesílání inzerce na Korvex. Program lze zavřít až po jeho "
                               u"dokončení nebo po přerušení tlačítkem STOP."_s))
        << texts.join(u'\n').toStdString();
    EXPECT_TRUE(texts.contains(u"Informace ... Inzerce byla úspěšně odeslána."_s)) << texts.join(u'\n').toStdString();
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();
    EXPECT_FALSE(stub.archive("autobazar").isEmpty());
    // The send over, the window closed as after every successful upload and
    // every control is given back.
    EXPECT_FALSE(form->isVisible());
    for (QWidget *w : controls)
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    // What was disabled by design stays so.
    EXPECT_FALSE(Control<QCheckBox>(form.get(), "CheckBox_FTPrezim")->isEnabled());
    stub.setFault(stub::Fault());
}

TEST_F(PublishingWindow, StopEndsTheUploadAndLeavesThePanelShown)
{
    auto form = start();
    form->show();
    form->FormActivate();
    ASSERT_TRUE(form->StartupDone);
    click(form.get(), "Button8");
    stub::Fault slow;
    slow.slowReadMs = 400;
    stub.setFault(slow);
    dialogs.queueAnswer(true);

    auto *panel = Control<TransferPanel>(form.get(), "Panel1");
    auto *gauge = Control<TGauge>(panel, "Gauge1");
    int secondSends = 0;
    QTimer stop;
    stop.setInterval(50);
    QObject::connect(&stop, &QTimer::timeout, [&] {
        if (!panel->isVisible() || gauge->MaxValue() == 0)
            return;
        // A second press of the send button while the first runs.
        secondSends += form->SendOffer() ? 1 : 0;
        click(panel, "BitBtnStop");
        stop.stop();
    });
    stop.start();
    click(form.get(), "BitBtn3");

    EXPECT_EQ(secondSends, 0);
    int listings = 0;
    for (const auto &r : stub.requests())
        listings += r.target.contains("get_cars") ? 1 : 0;
    EXPECT_EQ(listings, 1);
    EXPECT_TRUE(stub.archive("autobazar").isEmpty());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(form->isVisible());
    EXPECT_GT(gauge->MaxValue(), 0);
    EXPECT_EQ(text(panel, "LabelZbyvCas") + u'|' + text(panel, "LabelRychlost"), u"Čas|nezdařil se"_s);
    QStringList notices;
    for (const auto &c : dialogs.calls)
        notices.append(c.text);
    EXPECT_TRUE(notices.contains(u"Došlo k chybě při komunikaci se serverem Korvex"_s)) << notices.join(u'\n').toStdString();
    EXPECT_EQ(errors().size(), 1);
    EXPECT_TRUE(Control<QPushButton>(form.get(), "BitBtn3")->isEnabled());
    stub.setFault(stub::Fault());
}

} // namespace

TEST_F(MainWindow, AnOldParadoxWorkingTableIsConvertedWithItsMarks)
{
    {
        auto form = start();
        form->FormActivate();
        ASSERT_TRUE(form->StartupDone) << errors().join(u'\n').toStdString();
        form->close();
    }
    // The same vehicles as an earlier installation kept them, all but the
    // second marked.
    const QString table = host.layout().dataFolder(1) + u"Nesta.DB"_s;
    const TableDef &def = NestaTableDef();
    std::vector<std::vector<fixture::PxValue>> records;
    for (const auto &row : SqliteStore(table, def).loadAll()) {
        std::vector<fixture::PxValue> record;
        for (size_t i = 0; i < def.fields.size(); ++i) {
            const QVariant v = row.value(def, int(i));
            if (def.fields[i].kind == FieldKind::AutoInc)
                record.emplace_back(row.key());
            else if (def.fields[i].name == u"OZNACENO")
                record.emplace_back(records.size() != 1);
            else if (v.isNull())
                record.emplace_back(std::monostate());
            else if (def.fields[i].kind == FieldKind::Boolean)
                record.emplace_back(v.toBool());
            else
                record.emplace_back(v.toString());
        }
        records.push_back(record);
    }
    ASSERT_EQ(records.size(), 4u);
    QFile::remove(table);
    fixture::writeOldWorkingTable(table, def, records);

    auto form = start();
    form->FormActivate();
    ASSERT_TRUE(form->StartupDone) << errors().join(u'\n').toStdString();
    EXPECT_TRUE(QFile::exists(table + u".paradox"_s));
    EXPECT_EQ(text(form.get(), "Label15"), u"4    celkem "_s);
    EXPECT_EQ(grid(form.get())->CheckedCount(), 3);
    EXPECT_TRUE(grid(form.get())->isRowChecked(0));
    EXPECT_FALSE(grid(form.get())->isRowChecked(1));
    EXPECT_TRUE(grid(form.get())->isRowChecked(2));
}

TEST_F(MainWindow, ThePreviewButtonShowsTheSendWithoutMakingIt)
{
    auto form = start();
    form->FormActivate();
    ASSERT_TRUE(form->StartupDone);
    form->Query_Nesta().setRecNo(0);
    click(form.get(), "Button7");
    form->Query_Nesta().setRecNo(2);
    click(form.get(), "Button7");
    // The flag boxes write what they show. The last vehicle, where the
    // preview's walk ends, has no LPG value at all; the current one has LPG.
    Dataset &query = form->Query_Nesta();
    query.last();
    query.edit();
    query.setValue(u"LPG", QString());
    query.post();
    query.setRecNo(2);
    Control<QCheckBox>(form.get(), "CheckBoxLPG")->setChecked(true);
    auto tableBytes = [&] {
        QFile table(form->Query_Nesta().fileName());
        return table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray();
    };
    const QByteArray tableBefore = tableBytes();

    int rows = -1;
    int pictures = -1;
    QStringList cutNames;
    QString totals;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<SendPreviewDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        rows = Control<QTableWidget>(dialog, "TableNabidky")->rowCount();
        auto *names = Control<QTableWidget>(dialog, "TableObrazky");
        pictures = names->rowCount();
        for (int row = 0; row < pictures; ++row) {
            const QString name = names->item(row, 0)->text();
            if (names->fontMetrics().horizontalAdvance(name) > names->columnWidth(0))
                cutNames.append(name);
        }
        totals = text(dialog, "LabelSouhrn");
        click(dialog, "ButtonZavrit");
    });
    click(form.get(), "BitBtnNahled");
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();
    EXPECT_EQ(rows, 2);
    EXPECT_GT(pictures, 0);
    EXPECT_TRUE(cutNames.isEmpty()) << cutNames.join(u", "_s).toStdString();
    EXPECT_TRUE(totals.startsWith(u"Nabídek k odeslání: 2 (nové 2, změněné 0, stažené z portálu 0)"_s))
        << totals.toStdString();
    EXPECT_EQ(form->Query_Nesta().recNo(), 2);
    EXPECT_FALSE(QFile::exists(prg() + u"Korvex_zip/Data.xml"_s));
    EXPECT_FALSE(tableBefore.isEmpty());
    EXPECT_TRUE(tableBytes() == tableBefore) << "the preview changed the working table";
}

TEST_F(MainWindow, TheGuardGroupShowsAndSavesItsOwnFile)
{
    TextFile::writeLines(prg() + u"Korvex_ochrana.ddd"_s, {u"0"_s, u"40"_s, u"7"_s});
    auto form = start();
    auto *enabled = Control<QCheckBox>(form.get(), "CheckBoxOchrana");
    auto *minimum = Control<QSpinBox>(form.get(), "SpinEditOchranaPocet");
    auto *resendChanged = Control<QCheckBox>(form.get(), "CheckBoxZmeneneFoto");
    EXPECT_FALSE(enabled->isChecked());
    EXPECT_EQ(Control<QSpinBox>(form.get(), "SpinEditOchranaProcent")->value(), 40);
    EXPECT_EQ(minimum->value(), 7);
    EXPECT_FALSE(minimum->isEnabled());
    EXPECT_TRUE(resendChanged->isChecked()); // a file of three lines predates the switch

    enabled->setChecked(true);
    minimum->setValue(12);
    EXPECT_EQ(TextFile::readLines(prg() + u"Korvex_ochrana.ddd"_s), (QStringList{u"1"_s, u"40"_s, u"12"_s, u"1"_s}));
    resendChanged->setChecked(false);
    EXPECT_EQ(TextFile::readLines(prg() + u"Korvex_ochrana.ddd"_s), (QStringList{u"1"_s, u"40"_s, u"12"_s, u"0"_s}));
    EXPECT_FALSE(QFile::exists(prg() + u"Korvex.ddd"_s));
}

TEST_F(PublishingWindow, AGuardedAutomaticRunOfNothingWarnsThenStillMarksAll)
{
    auto form = start({u"RYCHLE"_s});
    form->show();
    form->FormActivate();
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();
    ASSERT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(dialogs.calls[0].text,
              u"Odeslání bylo zastaveno: nabídek 0, při minulém odeslání 0. Zkontrolujte výběr vozidel."_s);
    EXPECT_EQ(requests("POST"), 0);
    EXPECT_EQ(grid(form.get())->CheckedCount(), 4);
    EXPECT_TRUE(form->isVisible());
}
