// The error-log editor: its show keeps the data directory current, the save
// check on close, saving and reading back, the font size range.

#include "Edytor.h"

#include "Dialogs.h"
#include "ScriptedDialogs.h"
#include "TestDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

using kal::test::DialogCall;
using kal::test::ScriptedDialogs;
using kal::test::TestDir;

namespace {

class Edytor : public ::testing::Test {
protected:
    void SetUp() override
    {
        kal::SetApplicationTitle(QStringLiteral("System Kalmora."));
        ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("dane")));
        dane = katalog.file(QStringLiteral("dane"));
        ASSERT_TRUE(QDir::setCurrent(dane));
        edytor = std::make_unique<TFormRichEdit>();
        TFormRichEdit::ZakonczProgram = [this] { ++zakonczono; };
        dialogi.onModal = [this](QWidget*) {
            if (wOknie)
                wOknie();
            return wynik;
        };
    }
    void TearDown() override
    {
        QDir::setCurrent(katalog.path());
        edytor.reset();
        TFormRichEdit::ZakonczProgram = [] {};
    }

    void wpisz(const QString& tekst)
    {
        QTextCursor c = edytor->RichEdit1->textCursor();
        c.movePosition(QTextCursor::End);
        edytor->RichEdit1->setTextCursor(c);
        edytor->RichEdit1->insertPlainText(tekst);
    }

    TestDir katalog;
    QString dane;
    ScriptedDialogs dialogi;
    std::unique_ptr<TFormRichEdit> edytor;
    std::function<void()> wOknie;
    int wynik = 0;
    int zakonczono = 0;
};

} // namespace

TEST_F(Edytor, TheLogKeepsItsTextAndClosesWithoutAQuestion)
{
    edytor->WyczyscLinie();
    edytor->DopiszLinie(QStringLiteral("  Wykaz"));
    edytor->DopiszLinie(QStringLiteral("  Nie dopisano.\nPozycja FLOTY nie została dopisana."));
    bool zamknieto = false;
    wOknie = [&] { zamknieto = edytor->close(); };
    edytor->Pokaz(false);
    EXPECT_TRUE(zamknieto);
    EXPECT_EQ(edytor->Linie(), QStringList({QStringLiteral("  Wykaz"), QStringLiteral("  Nie dopisano."),
                                            QStringLiteral("Pozycja FLOTY nie została dopisana.")}));
    EXPECT_EQ(edytor->windowTitle(), "Untitled - System Kalmora.");
    EXPECT_EQ(edytor->FileName(), "Untitled");
    EXPECT_TRUE(dialogi.boxes().empty());
    // The log written before the show is not a change the user could undo.
    edytor->EditUndo();
    EXPECT_EQ(edytor->Linie().size(), 3);
}

TEST_F(Edytor, ClosingAfterAnEditAsksAndCancelKeepsTheWindowOpen)
{
    edytor->DopiszLinie(QStringLiteral("log"));
    bool pierwsze = true, drugie = false;
    wOknie = [&] {
        wpisz(QStringLiteral(" dopisek"));
        dialogi.answer(kal::MbCancel);
        pierwsze = edytor->close();
        dialogi.answer(kal::MbNo);
        drugie = edytor->close();
    };
    edytor->Pokaz(false);
    EXPECT_FALSE(pierwsze);
    EXPECT_TRUE(drugie);
    const auto b = dialogi.boxes();
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[0].text, "Zapisać zmiany?");
    EXPECT_EQ(b[0].caption, "Confimation");
    EXPECT_EQ(b[0].icon, kal::MsgIcon::Question);
    EXPECT_EQ(b[0].buttons, unsigned(kal::MbYes | kal::MbNo | kal::MbCancel));
}

TEST_F(Edytor, YesSavesIntoAnotherFolderAndTheDataDirectoryStaysCurrent)
{
    ASSERT_TRUE(QDir(katalog.path()).mkdir(QStringLiteral("raporty")));
    const QString cel = katalog.file(QStringLiteral("raporty/bledy"));
    edytor->DopiszLinie(QStringLiteral("Numer {faktury} \\ żółw"));
    bool zamknieto = false;
    wOknie = [&] {
        edytor->SelectAll();
        edytor->BoldButton->setChecked(true);
        edytor->BoldButtonClick();
        // A dialog that changes the process's directory.
        QDir::setCurrent(katalog.file(QStringLiteral("raporty")));
        dialogi.answer(kal::MbYes);
        dialogi.answerFile(cel);
        zamknieto = edytor->close();
    };
    edytor->Pokaz(false);
    EXPECT_TRUE(zamknieto);
    EXPECT_EQ(QDir::currentPath(), dane);
    EXPECT_EQ(zakonczono, 0);
    // No extension given: ".rtf" is added; the name becomes the caption.
    EXPECT_EQ(edytor->FileName(), cel + ".rtf");
    EXPECT_EQ(edytor->windowTitle(), "bledy.rtf - System Kalmora.");
    QFile f(cel + ".rtf");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray zawartosc = f.readAll();
    EXPECT_TRUE(zawartosc.startsWith("{\\rtf1")) << zawartosc.constData();

    // Read back: the same text, still bold.
    TFormRichEdit drugi;
    dialogi.answerFile(cel + ".rtf");
    drugi.FileOpen();
    EXPECT_EQ(drugi.Linie(), QStringList({QStringLiteral("Numer {faktury} \\ żółw")}));
    QTextCursor c(drugi.RichEdit1->document());
    c.movePosition(QTextCursor::NextCharacter);
    EXPECT_TRUE(c.charFormat().font().bold());
    EXPECT_FALSE(drugi.Zmieniony()) << zawartosc.constData();
}

TEST_F(Edytor, ASaveGivenUpInItsDialogKeepsTheChanges)
{
    wOknie = [&] {
        wpisz(QStringLiteral("tekst"));
        dialogi.answer(kal::MbYes); // then no file is chosen
        EXPECT_FALSE(edytor->close());
        EXPECT_TRUE(edytor->Zmieniony());
        dialogi.answer(kal::MbNo);
        EXPECT_TRUE(edytor->close());
    };
    edytor->Pokaz(false);
}

TEST_F(Edytor, ATextFileIsWrittenAsPlainText)
{
    edytor->DopiszLinie(QStringLiteral("pierwsza"));
    edytor->DopiszLinie(QStringLiteral("druga"));
    dialogi.answerFile(katalog.file(QStringLiteral("log.txt")));
    edytor->FileSaveAs();
    QFile f(katalog.file(QStringLiteral("log.txt")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()), "pierwsza\ndruga");
    // Saving again goes to the same file without a dialog.
    edytor->DopiszLinie(QStringLiteral("trzecia"));
    edytor->FileSave();
    f.seek(0);
    EXPECT_EQ(QString::fromUtf8(f.readAll()), "pierwsza\ndruga\ntrzecia");
    EXPECT_EQ(dialogi.calls().size(), 1u);
}

TEST_F(Edytor, TheDataDirectoryThatCannotBeRestoredEndsTheProgram)
{
    wOknie = [&] {
        QDir::setCurrent(katalog.path());
        QDir(dane).removeRecursively();
    };
    edytor->Pokaz(false);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text, "Nastąpiło uszkodzenie dostępu do zbiorów. Zamykam program !!!");
    EXPECT_EQ(dialogi.boxes()[0].caption, dane + " != " + QDir::currentPath());
    EXPECT_EQ(dialogi.boxes()[0].icon, kal::MsgIcon::None);
    EXPECT_EQ(dialogi.boxes()[0].buttons, unsigned(kal::MbOk));
    EXPECT_EQ(zakonczono, 1);
}

TEST_F(Edytor, FontSizeOutsideItsRangeTakesTheNearestBound)
{
    edytor->FontSize->setText(QStringLiteral("0"));
    edytor->FontSizeChange();
    EXPECT_EQ(edytor->FontSize->text(), "1");
    edytor->FontSize->setText(QStringLiteral("2000"));
    edytor->FontSizeChange();
    EXPECT_EQ(edytor->FontSize->text(), "1638");
    edytor->FontSize->setText(QStringLiteral("12"));
    edytor->FontSizeChange();
    EXPECT_EQ(edytor->FontSize->text(), "12");
    EXPECT_EQ(dialogi.texts(), QStringList({QStringLiteral("Rozmiar fontu jest z zakresu 1 do 1638."),
                                            QStringLiteral("Rozmiar fontu jest z zakresu 1 do 1638.")}));
}

TEST_F(Edytor, WordWrapOffDisablesCentreAndRightAlignment)
{
    EXPECT_TRUE(edytor->SpeedButton1->isChecked());
    edytor->SpeedButton1->click();
    EXPECT_FALSE(edytor->CenterAlign->isEnabled());
    EXPECT_FALSE(edytor->RightAlign->isEnabled());
    EXPECT_EQ(edytor->RichEdit1->lineWrapMode(), QTextEdit::NoWrap);
    edytor->SpeedButton1->click();
    EXPECT_TRUE(edytor->CenterAlign->isEnabled());
    EXPECT_EQ(edytor->RichEdit1->lineWrapMode(), QTextEdit::WidgetWidth);
}

TEST_F(Edytor, PrintingCancelledInThePrinterDialogPrintsNothing)
{
    edytor->FilePrint();
    ASSERT_EQ(dialogi.calls().size(), 1u);
    EXPECT_EQ(dialogi.calls()[0].kind, DialogCall::Printer);
}

TEST_F(Edytor, RichTextOfAnotherWriterAndAPlainFileAreReadByTheirContents)
{
    QFile rtf(katalog.file(QStringLiteral("obcy.rtf")));
    ASSERT_TRUE(rtf.open(QIODevice::WriteOnly));
    rtf.write("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red0\\green0\\blue0;}\n"
              "\\pard\\qc\\f0\\fs24 Wykaz \\b b\\'b3\\'ead\\'f3w\\b0\\par\n\\pard Numer \\u8364?\\par\n}");
    rtf.close();
    dialogi.answerFile(rtf.fileName());
    edytor->FileOpen();
    EXPECT_EQ(edytor->Linie(), QStringList({QStringLiteral("Wykaz błędów"), QStringLiteral("Numer €"),
                                            QString()}));
    QTextCursor c(edytor->RichEdit1->document());
    EXPECT_EQ(c.blockFormat().alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    c.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor, 8);
    EXPECT_TRUE(c.charFormat().font().bold());
    EXPECT_EQ(edytor->windowTitle(), "obcy.rtf - System Kalmora.");

    QFile txt(katalog.file(QStringLiteral("log.txt")));
    ASSERT_TRUE(txt.open(QIODevice::WriteOnly));
    txt.write("{ nie RTF }\nżółw");
    txt.close();
    dialogi.answerFile(txt.fileName());
    edytor->FileOpen();
    EXPECT_EQ(edytor->Linie(), QStringList({QStringLiteral("{ nie RTF }"), QStringLiteral("żółw")}));
}
