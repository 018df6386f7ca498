// The message boxes the module shows: icon, buttons, caption, alignment and
// what the answer means. Each box is answered from inside its own loop.
#include "Controls.h"
#include "app/MessageBoxDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

struct SeenBox
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
    Qt::Alignment alignment;
    QStringList buttonTexts; // without the accelerator marks
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Looks at the next modal box and presses one of its buttons.
SeenBox answerNextBox(QMessageBox::StandardButton press, const std::function<void()> &show)
{
    SeenBox seen;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.icon = box->icon();
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.buttons = box->standardButtons();
        seen.alignment = test::Control<QLabel>(box, "qt_msgbox_label")->alignment();
        for (QAbstractButton *button : box->buttons())
            seen.buttonTexts.append(button->text().remove(u'&'));
        seen.buttonTexts.sort();
        if (box->defaultButton())
            seen.defaultButton = box->standardButton(box->defaultButton());
        box->button(press)->click();
    });
    show();
    return seen;
}

} // namespace

TEST(MessageBoxDialogs, NoticesWarnWithOkAndQuestionsAnswerYesOrNo)
{
    MessageBoxDialogs dialogs;
    SeenBox notice = answerNextBox(QMessageBox::Ok, [&] {
        dialogs.notify(u"Informace ..."_s, u"Pro přenos je vybráno: 3  vozidel."_s, UserDialogs::Alignment::Right);
    });
    EXPECT_EQ(notice.icon, QMessageBox::Warning);
    EXPECT_EQ(notice.caption, u"Informace ..."_s);
    EXPECT_EQ(notice.text, u"Pro přenos je vybráno: 3  vozidel."_s);
    EXPECT_EQ(notice.buttons, QMessageBox::Ok);
    EXPECT_TRUE(notice.alignment & Qt::AlignRight);

    SeenBox warning = answerNextBox(QMessageBox::Ok, [&] { dialogs.notify(u"Varování ..."_s, u"x"_s); });
    EXPECT_FALSE(warning.alignment & Qt::AlignRight);

    bool yes = false;
    SeenBox question = answerNextBox(QMessageBox::Yes, [&] { yes = dialogs.ask(u"Dotaz ..."_s, u"Odeslat?"_s); });
    EXPECT_EQ(question.icon, QMessageBox::Question);
    EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(question.buttonTexts, (QStringList{u"Ano"_s, u"Ne"_s}));
    EXPECT_TRUE(yes);
    answerNextBox(QMessageBox::No, [&] { yes = dialogs.ask(u"Dotaz ..."_s, u"Odeslat?"_s); });
    EXPECT_FALSE(yes);

    // The question where a hasty Enter must not send: the same Czech buttons,
    // No the default.
    SeenBox guarded =
        answerNextBox(QMessageBox::Yes, [&] { yes = dialogs.askDefaultNo(u"Dotaz ..."_s, u"Stáhnout?"_s); });
    EXPECT_EQ(guarded.icon, QMessageBox::Question);
    EXPECT_EQ(guarded.buttonTexts, (QStringList{u"Ano"_s, u"Ne"_s}));
    EXPECT_EQ(guarded.defaultButton, QMessageBox::No);
    EXPECT_TRUE(yes);

    SeenBox error = answerNextBox(QMessageBox::Ok, [&] { dialogs.showError(u"'abc' is not a valid integer value"_s); });
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.text, u"'abc' is not a valid integer value"_s);
}

// A notice given while the upload runs: shown, but the caller goes on at once
// and the window stays usable for STOP; repeated attempts reuse one box.
TEST(MessageBoxDialogs, AnAsideNoticeDoesNotBlock)
{
    QWidget window;
    window.show();
    MessageBoxDialogs dialogs(&window);
    dialogs.notifyAside(u"Upozornění ..."_s, u"Probíhá odesílání"_s);
    dialogs.notifyAside(u"Upozornění ..."_s, u"Probíhá odesílání"_s);
    const auto boxes = window.findChildren<QMessageBox *>();
    ASSERT_EQ(boxes.size(), 1);
    QMessageBox *box = boxes.constFirst();
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->windowTitle(), u"Upozornění ..."_s);
    EXPECT_EQ(box->text(), u"Probíhá odesílání"_s);
    box->button(QMessageBox::Ok)->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.findChildren<QMessageBox *>().isEmpty());
}
