// Pictures of the module's windows for the README:
//   korvex_screenshots <host PRG folder> <output folder>
// Starts the main window over the host (offscreen), marks a few vehicles and
// saves the vehicle list, the settings tab and the photo dialog as PNG files.
#include "app/TForm_Nesta.h"
#include "platform/UserDialogs.h"
#include "selection/TForm_Foto.h"
#include "widgets/TDbGridTarvo.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTextStream>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

// Messages go to standard error: nobody is there to click them away.
class PrintedDialogs : public UserDialogs
{
public:
    void notify(const QString &caption, const QString &text, Alignment) override { print(caption, text); }
    void notifyAside(const QString &caption, const QString &text) override { print(caption, text); }
    bool ask(const QString &caption, const QString &text) override
    {
        print(caption, text);
        return false;
    }
    void showError(const QString &text) override { print(u"Chyba"_s, text); }

private:
    static void print(const QString &caption, const QString &text)
    {
        QTextStream(stderr) << caption << u": "_s << text << Qt::endl;
    }
};

bool save(QWidget *widget, const QString &path)
{
    const bool saved = widget->grab().save(path);
    QTextStream(saved ? stdout : stderr) << (saved ? u""_s : u"nelze uložit "_s) << path << Qt::endl;
    return saved;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The windows are laid out in pixels for an 8-point face, whatever the
    // system's font size.
    QFont font = QApplication::font();
    font.setPointSize(8);
    QApplication::setFont(font);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: korvex_screenshots <PRG folder> <output folder>" << Qt::endl;
        return 2;
    }
    const QString out = args[2];
    QDir().mkpath(out);

    PrintedDialogs dialogs;
    NestaLaunch launch;
    launch.executableFolder = QDir(args[1]).absolutePath() + u'/';
    launch.dialogs = &dialogs;
    TForm_Nesta form(launch);
    TForm_Foto photos(form.Query_Nesta(), dialogs, &form);
    form.setPhotoDialog(&photos);
    form.show();
    form.FormActivate();
    if (!form.StartupDone)
        return 1;

    // The controls by their names on the form.
    auto *grid = form.findChild<TDbGridTarvo *>(u"DbGridTarvo1"_s);
    auto *mark = form.findChild<QPushButton *>(u"Button7"_s);
    auto *pages = form.findChild<QTabWidget *>(u"PageControl1"_s);
    if (!grid || !mark || !pages) {
        QTextStream(stderr) << u"v okně chybí seznam vozidel nebo jeho ovládací prvky"_s << Qt::endl;
        return 1;
    }
    for (int row : {0, 2, 3, 6}) {
        form.Query_Nesta().setRecNo(row);
        if (!grid->IsCurrentChecked())
            mark->click();
    }
    form.Query_Nesta().setRecNo(2);
    // The problem counter is counted once the marks' events are through.
    QCoreApplication::processEvents();
    bool ok = save(&form, out + u"/seznam.png"_s);
    pages->setCurrentIndex(1);
    ok = save(&form, out + u"/nastaveni.png"_s) && ok;
    pages->setCurrentIndex(0);

    form.Query_Nesta().setRecNo(0);
    photos.show();
    ok = save(&photos, out + u"/foto.png"_s) && ok;
    photos.hide();
    return ok ? 0 : 1;
}
