#include "Dialogs.h"
#include "Exceptions.h"
#include "ScriptedDialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

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

// The cause of a file error is told in Polish, naming what is missing: a
// file in a directory that exists, or the directory.
TEST(ErrorBox, FileErrorCausesNameWhatIsMissing)
{
    QTemporaryDir dir;
    EXPECT_EQ(FileErrorReason(ENOENT, dir.filePath(QStringLiteral("Tym2009612aaaa.DB"))),
              QStringLiteral("plik nie istnieje"));
    EXPECT_EQ(FileErrorReason(ENOENT, dir.filePath(QStringLiteral("brak/Tym2009612aaaa.DB"))),
              QStringLiteral("katalog nie istnieje"));
    EXPECT_EQ(FileErrorReason(ENOENT), QStringLiteral("katalog nie istnieje"));
    EXPECT_EQ(FileErrorReason(EIO),
              QStringLiteral("błąd wejścia/wyjścia nośnika danych (nośnik może być uszkodzony lub odłączony)"));
    EXPECT_EQ(FileErrorReason(EACCES, dir.path()), QStringLiteral("brak uprawnień do zapisu"));
    EXPECT_EQ(FileErrorReason(EHOSTDOWN), QStringLiteral("błąd systemu nr %1").arg(EHOSTDOWN));
}
