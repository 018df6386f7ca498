#include "platform/ModuleError.h"
#include "platform/UserActionGuard.h"

#include "ScriptedDialogs.h"

#include <new>
#include <stdexcept>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

// An error no step caught ends only the action: it reaches the error box with
// a text the dealer can read, and never the event loop.
TEST(UserActionGuard, AnErrorEndsTheActionInTheErrorBoxAndGoesNoFurther)
{
    test::ScriptedDialogs dialogs;
    bool ran = false;
    EXPECT_TRUE(RunUserAction(dialogs, [&ran] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(dialogs.calls.isEmpty());

    const QString text = u"Soubor \"Korvex.ddd\" nelze zapsat: disk je jen pro čtení"_s;
    EXPECT_FALSE(RunUserAction(dialogs, [&text] { throw ModuleError(text); }));
    EXPECT_FALSE(RunUserAction(dialogs, [] { throw std::bad_alloc(); }));
    EXPECT_FALSE(RunUserAction(dialogs, [] { throw std::runtime_error("Chyba při čtení"); }));

    ASSERT_EQ(dialogs.calls.size(), 3);
    for (const auto &call : dialogs.calls)
        EXPECT_EQ(call.kind, test::ScriptedDialogs::Kind::Error);
    EXPECT_EQ(dialogs.calls[0].text, text);
    EXPECT_EQ(dialogs.calls[1].text, u"Nedostatek paměti"_s);
    EXPECT_EQ(dialogs.calls[2].text, u"Chyba při čtení"_s);
}

} // namespace
} // namespace korvex
