#include "CommandLine.h"
#include "MessageBoxDialogs.h"
#include "ModuleFolders.h"
#include "PreviewCommand.h"
#include "TForm_Foto.h"
#include "TForm_Nesta.h"

#include <QApplication>

#include <cstdio>

using namespace korvex;

int main(int argc, char *argv[])
{
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

    MessageBoxDialogs dialogs;
    NestaLaunch launch;
    launch.executableFolder = ModuleFolders::executableFolder();
    launch.arguments = QApplication::arguments().mid(1);
    launch.dialogs = &dialogs;

    TForm_Nesta form(launch);
    dialogs.setParent(&form);
    TForm_Foto photos(form.Query_Nesta(), dialogs, &form);
    form.setPhotoDialog(&photos);
    form.show();
    return app.exec();
}
