#include "Dialogs.h"
#include "Exceptions.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

using namespace kal;

TEST(ErrorBox, AppendsDotOnlyAfterCharactersAboveDot)
{
    EXPECT_EQ(ErrorBoxText(QStringLiteral("Brak danych firmy !!!")), QStringLiteral("Brak danych firmy !!!"));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("Błąd zapisu")), QStringLiteral("Błąd zapisu."));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("Koniec.")), QStringLiteral("Koniec."));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("Koniec -")), QStringLiteral("Koniec -"));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("Ilość: 5")), QStringLiteral("Ilość: 5."));
    EXPECT_EQ(ErrorBoxText(QString()), QString());
}

TEST(ErrorBox, ShownWithApplicationTitleAndStopIcon)
{
    test::ScriptedDialogs dialogs;
    ShowErrorBox(QStringLiteral("Zły rok"));
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text, QStringLiteral("Zły rok."));
    EXPECT_EQ(dialogs.boxes()[0].caption, QStringLiteral("System Kalmora."));
    EXPECT_EQ(dialogs.boxes()[0].icon, MsgIcon::Stop);
}
