// Printing or previewing a report form: the printer dialog by mode, a
// cancelled dialog, the title as job name and preview caption.

#include "DrukujRaport.h"

#include "Dialogs.h"
#include "Printer.h"
#include "Report.h"

#include <QPrinter>
#include <gtest/gtest.h>

#include <deque>
#include <vector>

using namespace kal::report;

namespace {

// Records print jobs instead of printing.
class Drukarka final : public IPrinter {
public:
    Drukarka() { SetPrinter(this); }
    ~Drukarka() override { SetPrinter(nullptr); }
    void print(const PageModel& pages, const PrintJob& job) override
    {
        zadania.push_back(job);
        strony.push_back(pages.pageCount());
    }
    std::vector<PrintJob> zadania;
    std::vector<int> strony;
};

// Records the captions of the previews.
class Podglad final : public IPreviewer {
public:
    Podglad() { SetPreviewer(this); }
    ~Podglad() override { SetPreviewer(nullptr); }
    void showPreview(Report& raport) override
    {
        podpisy.push_back(raport.title);
        raport.onPreview = [this](Report&, std::shared_ptr<const PageModel> strony) { pokazaneStrony = strony->pageCount(); };
        raport.preview();
        raport.onPreview = nullptr;
    }
    QStringList podpisy;
    int pokazaneStrony = 0;
};

// The printer dialog as the user sees it: what it was preset with, and the
// user's answer (with the number of copies chosen when confirming).
class Dialogi final : public kal::IDialogs {
public:
    Dialogi() { kal::SetDialogs(this); }
    ~Dialogi() override { kal::SetDialogs(nullptr); }

    struct Odpowiedz {
        bool ok;
        int kopie;
    };
    std::deque<Odpowiedz> odpowiedzi;
    std::vector<int> pokazaneKopie; // copies the dialog opened with
    int pozostale = 0;               // other boxes shown

    kal::MsgButton messageBox(const QString&, const QString&, unsigned, kal::MsgIcon) override
    {
        ++pozostale;
        return kal::MbOk;
    }
    void errorBox(const QString&) override { ++pozostale; }
    QString openFileName(kal::FileDialogRequest&) override { ++pozostale; return {}; }
    QString saveFileName(kal::FileDialogRequest&) override { ++pozostale; return {}; }
    bool printerDialog(QPrinter* drukarka, QWidget*) override
    {
        pokazaneKopie.push_back(drukarka->copyCount());
        if (odpowiedzi.empty())
            return false;
        const Odpowiedz o = odpowiedzi.front();
        odpowiedzi.pop_front();
        if (o.ok)
            drukarka->setCopyCount(o.kopie);
        return o.ok;
    }
    int execModal(QWidget*) override { ++pozostale; return 0; }
};

// A one-page report.
struct Formularz {
    Report raport;
    Formularz()
    {
        Band* b = raport.addBand(BandType::Title, QStringLiteral("TitleBand1"));
        b->height = 20;
        raport.title = QStringLiteral("stary tytuł");
    }
};

const QString Tytul = QStringLiteral("Wydruk Tabeli D za półrocze: 1 2009 roku.");

} // namespace

TEST(DrukujRaport, ModeOnePrintAsksForThePrinterAndPrintsUnderTheTitle)
{
    Drukarka drukarka;
    Podglad podglad;
    Dialogi dialogi;
    Formularz f;
    dialogi.odpowiedzi.push_back({true, 2});
    DrukujRaport(&f.raport, false, Tytul, 1);
    EXPECT_EQ(dialogi.pokazaneKopie.size(), 1u);
    ASSERT_EQ(drukarka.zadania.size(), 1u);
    EXPECT_EQ(drukarka.zadania[0].title, Tytul);
    EXPECT_EQ(drukarka.zadania[0].copies, 2);
    EXPECT_EQ(drukarka.strony[0], 1);
    EXPECT_TRUE(podglad.podpisy.isEmpty());
}

TEST(DrukujRaport, ModeOnePreviewShowsNoDialogAndIsCaptionedWithTheTitle)
{
    Drukarka drukarka;
    Podglad podglad;
    Dialogi dialogi;
    Formularz f;
    DrukujRaport(&f.raport, true, Tytul, 1);
    EXPECT_TRUE(dialogi.pokazaneKopie.empty());
    EXPECT_EQ(podglad.podpisy, QStringList{Tytul});
    EXPECT_EQ(podglad.pokazaneStrony, 1);
    EXPECT_TRUE(drukarka.zadania.empty());
}

TEST(DrukujRaport, ModeTwoAsksBeforeAPreviewToo)
{
    Drukarka drukarka;
    Podglad podglad;
    Dialogi dialogi;
    Formularz f;
    dialogi.odpowiedzi.push_back({true, 1});
    DrukujRaport(&f.raport, true, Tytul, 2);
    EXPECT_EQ(dialogi.pokazaneKopie.size(), 1u);
    EXPECT_EQ(podglad.podpisy, QStringList{Tytul});
    EXPECT_TRUE(drukarka.zadania.empty());

    dialogi.odpowiedzi.push_back({true, 1});
    DrukujRaport(&f.raport, false, Tytul, 2);
    EXPECT_EQ(dialogi.pokazaneKopie.size(), 2u);
    EXPECT_EQ(drukarka.zadania.size(), 1u);
}

TEST(DrukujRaport, ModeZeroAndUnknownModesNeverAsk)
{
    Drukarka drukarka;
    Podglad podglad;
    Dialogi dialogi;
    Formularz f;
    DrukujRaport(&f.raport, false, Tytul, 0);
    DrukujRaport(&f.raport, true, Tytul, 0);
    DrukujRaport(&f.raport, false, Tytul, 3);
    EXPECT_TRUE(dialogi.pokazaneKopie.empty());
    EXPECT_EQ(drukarka.zadania.size(), 2u);
    EXPECT_EQ(podglad.podpisy.size(), 1);
}

TEST(DrukujRaport, CancelledDialogPrintsAndPreviewsNothingAndSaysNothing)
{
    Drukarka drukarka;
    Podglad podglad;
    Dialogi dialogi;
    Formularz f;
    dialogi.odpowiedzi.push_back({false, 0});
    DrukujRaport(&f.raport, false, Tytul, 1);
    dialogi.odpowiedzi.push_back({false, 0});
    DrukujRaport(&f.raport, true, Tytul, 2);
    EXPECT_EQ(dialogi.pokazaneKopie.size(), 2u);
    EXPECT_TRUE(drukarka.zadania.empty());
    EXPECT_TRUE(podglad.podpisy.isEmpty());
    EXPECT_EQ(dialogi.pozostale, 0);
    EXPECT_EQ(f.raport.tag, 1);
}

TEST(DrukujRaport, ASecondPrintAsksAgainPresetWithThePreviousChoice)
{
    Drukarka drukarka;
    Dialogi dialogi;
    Formularz f;
    dialogi.odpowiedzi.push_back({true, 3});
    DrukujRaport(&f.raport, false, Tytul, 1);
    dialogi.odpowiedzi.push_back({true, 3});
    DrukujRaport(&f.raport, false, QStringLiteral("Wydruk Tabeli C za półrocze: 1 2009 roku."), 1);
    ASSERT_EQ(dialogi.pokazaneKopie.size(), 2u);
    EXPECT_EQ(dialogi.pokazaneKopie[1], 3);
    ASSERT_EQ(drukarka.zadania.size(), 2u);
    EXPECT_EQ(drukarka.zadania[1].copies, 3);
    EXPECT_EQ(drukarka.zadania[1].title, QStringLiteral("Wydruk Tabeli C za półrocze: 1 2009 roku."));
}

TEST(DrukujRaport, ConfirmedAfterACancelPrintsAgain)
{
    Drukarka drukarka;
    Dialogi dialogi;
    Formularz f;
    dialogi.odpowiedzi.push_back({false, 0});
    DrukujRaport(&f.raport, false, Tytul, 1);
    dialogi.odpowiedzi.push_back({true, 1});
    DrukujRaport(&f.raport, false, Tytul, 1);
    EXPECT_EQ(drukarka.zadania.size(), 1u);
    EXPECT_EQ(f.raport.tag, 0);
}
