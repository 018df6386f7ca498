#include "app/CommandLine.h"
#include "app/MessageBoxDialogs.h"
#include "app/PreviewCommand.h"
#include "app/RunEnd.h"
#include "app/TForm_Nesta.h"
#include "app/UnattendedDialogs.h"
#include "platform/DisableCoreDumps.h"
#include "platform/ModuleFolders.h"
#include "selection/TForm_Foto.h"

#include <QAbstractEventDispatcher>
#include <QApplication>

#include <cstdio>

using namespace korvex;
using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    // Before anything reads the settings with the portal password.
    DisableCoreDumps();
    // Answered before any window system is needed.
    if (argc > 1 && (qstrcmp(argv[1], "--help") == 0 || qstrcmp(argv[1], "--version") == 0)) {
        const QString text = qstrcmp(argv[1], "--help") == 0 ? UsageText() : VersionText();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (argc > 1 && qstrcmp(argv[1], "--nahled") == 0) {
        QCoreApplication app(argc, argv);
        return RunPreviewCommand(ModuleFolders::executableFolder(), QCoreApplication::arguments().mid(2));
    }
    QApplication app(argc, argv);
    // The windows are laid out in pixels for an 8-point face, whatever the
    // system's font size.
    QFont font = QApplication::font();
    font.setPointSize(8);
    QApplication::setFont(font);
    QApplication::setApplicationName(QStringLiteral("Korvex_Export"));

    NestaLaunch launch;
    launch.executableFolder = ModuleFolders::executableFolder();
    launch.arguments = QApplication::arguments().mid(1);
    // For measuring the start-up (the import benchmark sets it): the window
    // opens also on the offscreen platform, and the module ends the first
    // time its event loop runs idle after the start-up. Without the variable
    // nothing changes.
    const bool quitWhenIdle = qEnvironmentVariableIsSet("KORVEX_QUIT_WHEN_IDLE");
    launch.endAfterAutomaticSteps = UnattendedDialogs::applies() && !quitWhenIdle;

    MessageBoxDialogs boxes;
    UnattendedDialogs unattended(launch.executableFolder);
    launch.dialogs = launch.endAfterAutomaticSteps ? static_cast<UserDialogs *>(&unattended) : &boxes;

    const QString mode = launch.arguments.value(0);
    if (launch.endAfterAutomaticSteps && mode != u"RYCHLE" && mode != u"---------CAR-EXP") {
        unattended.notify(Caption::Notice, u"Ruční práce s modulem potřebuje obrazovku; bez obsluhy se spouští "
                                           u"s argumentem RYCHLE."_s);
        return ExitStatus(RunEnd::NeedsScreen);
    }

    TForm_Nesta form(launch);
    boxes.setParent(&form);
    unattended.setSecrets([&form] {
        const ModuleSettings &s = form.Settings();
        return QStringList{s.stored.uzivHeslo, s.proxy.password, s.stored.ftpHeslo};
    });
    TForm_Foto photos(form.Query_Nesta(), *launch.dialogs, &form);
    form.setPhotoDialog(&photos);
    form.show();
    if (quitWhenIdle) {
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &form,
                         [&form] {
                             if (form.StartupDone)
                                 QCoreApplication::quit();
                         });
    }
    const int status = app.exec();
    return launch.endAfterAutomaticSteps ? ExitStatus(form.runEnd()) : status;
}
