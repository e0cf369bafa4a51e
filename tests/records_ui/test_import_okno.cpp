// The fleet-card import window with the dialog seam answering: opening the
// workbook, the grid, the import with a vehicle completed in the vehicle
// register, and the error log shown in the editor.

#include "Dane.h"
#include "Edytor.h"
#include "EwidencjaPojazdow.h"
#include "ImportFloty.h"
#include "Schemat.h"
#include "Zuzycie.h"

#include "platform/ui/DBNavigator.h"

#include "Clock.h"
#include "Dialogs.h"
#include "ScriptedDialogs.h"
#include "TestDir.h"

#include "../workbook/XlsWriter.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using kal::test::DialogCall;
using kal::test::ScriptedDialogs;
using kal::test::TestDir;
using kal::test::XlsDate;
using kal::test::XlsEmpty;
using kal::test::XlsSerial;
using kal::test::XlsWriter;

namespace {

class ImportOkno : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(Schemat::UtworzKatalogDanych(katalog.path()), QString());
        staryTemp = qgetenv("TEMP");
        qputenv("TEMP", temp.path().toLocal8Bit());
        kal::SetTodayForTests(QDate(2009, 9, 1));
        kal::SetApplicationTitle(QStringLiteral("System Kalmora."));
        dm = std::make_unique<TDM>();
        dm->TFirma->Insert();
        dm->TFirmaNazwa1->setAsString(QStringLiteral("Ruvelkon"));
        dm->TFirma->Post();
        dm->TOkres->Insert();
        dm->TOkresRok->setAsInteger(2009);
        dm->TOkresPolrocze->setAsInteger(2);
        dm->TOkres->Post();
        ASSERT_TRUE(dm->UstawZbiorZuzycia());
        pojazdy = std::make_unique<TFEwidencjaPojazdow>();
        edytor = std::make_unique<TFormRichEdit>();
        okno = std::make_unique<TFImportFloty>();
        zuzycie = std::make_unique<TFZuzycie>();
        TFormRichEdit::ZakonczProgram = [this] { ++zakonczono; };
        dialogi.onModal = [this](QWidget* w) -> int {
            if (w == zuzycie.get() && wZuzyciu)
                wZuzyciu();
            if (w == okno.get() && wImporcie)
                wImporcie();
            if (w == pojazdy.get() && wRejestrze)
                wRejestrze();
            if (w == edytor.get())
                log = edytor->Linie();
            return 0;
        };
    }
    void TearDown() override
    {
        zuzycie.reset();
        okno.reset();
        edytor.reset();
        pojazdy.reset();
        dm.reset();
        TFormRichEdit::ZakonczProgram = [] {};
        kal::SetTodayForTests(QDate());
        qputenv("TEMP", staryTemp);
    }

    QString skoroszyt()
    {
        XlsWriter w;
        w.sheet(QStringLiteral("EXP_ZESTAW_TRANS_FLOTY_OKROJONY"))
            .row({QStringLiteral("Nr faktury"), QStringLiteral("Data realizacji"), QStringLiteral("Ilość litrów"),
                  QStringLiteral("Cena za litr"), QStringLiteral("Grupa prod"), QStringLiteral("Nr rejestracyjny"),
                  QStringLiteral("Rodzaj pojazdu"), QStringLiteral("Miejscowość")})
            .row({QStringLiteral("FV/1"), XlsDate{XlsSerial(2009, 7, 15)}, 45.5, 4.19, 1.0, QStringLiteral("wa 1"),
                  QStringLiteral("O"), QStringLiteral("Płock")})
            .row({QStringLiteral("FV/2"), XlsDate{XlsSerial(2009, 7, 16)}, QStringLiteral("x"), 4.19, 1.0,
                  QStringLiteral("WA1"), QStringLiteral("O"), QStringLiteral("Płock")});
        const QString plik = katalog.file(QStringLiteral("Orlen.xls"));
        EXPECT_TRUE(w.save(plik));
        return plik;
    }

    // A vehicle of the register; returns its id.
    int pojazd(const QString& nr)
    {
        dm->TPojazdy->Insert();
        dm->TPojazdyNrRejestracyjny->setAsString(nr);
        dm->TPojazdy->Post();
        return dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    }

    // The fleet sheet with the seven columns the import reads, rows to come.
    static XlsWriter arkusz()
    {
        XlsWriter w;
        w.sheet(QStringLiteral("EXP_ZESTAW_TRANS_FLOTY_OKROJONY"))
            .row({QStringLiteral("Nr faktury"), QStringLiteral("Data realizacji"), QStringLiteral("Ilość litrów"),
                  QStringLiteral("Cena za litr"), QStringLiteral("Grupa prod"), QStringLiteral("Nr rejestracyjny"),
                  QStringLiteral("Rodzaj pojazdu")});
        return w;
    }

    std::vector<DialogCall> modalne() const
    {
        std::vector<DialogCall> w;
        for (const DialogCall& c : dialogi.calls())
            if (c.kind == DialogCall::Modal)
                w.push_back(c);
        return w;
    }

    TestDir katalog;
    QTemporaryDir temp;
    QByteArray staryTemp;
    ScriptedDialogs dialogi;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TFEwidencjaPojazdow> pojazdy;
    std::unique_ptr<TFormRichEdit> edytor;
    std::unique_ptr<TFImportFloty> okno;
    std::unique_ptr<TFZuzycie> zuzycie;
    std::function<void()> wZuzyciu;
    std::function<void()> wImporcie;
    std::function<void()> wRejestrze;
    QStringList log;
    int zakonczono = 0;
};

} // namespace

TEST_F(ImportOkno, ControlsCarryTheirTexts)
{
    EXPECT_EQ(okno->windowTitle(), "Import floty.");
    EXPECT_EQ(okno->BitBtn1->text(), "Otwórz plik FLOTY");
    EXPECT_EQ(okno->BitBtn2->text(), "Importuj dane");
    EXPECT_EQ(okno->BitBtn3->text(), "&Zamknij");
    EXPECT_EQ(okno->ChBBuforPamieci->text(), "Korzystaj z bufora pamięci (zalecane przy dużej ilości pojazdów)");
    EXPECT_FALSE(okno->ChBBuforPamieci->isChecked());
    EXPECT_EQ(okno->Naglowek->text(), "Nazwy kolumn w pliku FLOTY.");
    QStringList etykiety;
    for (QLabel* l : okno->findChildren<QLabel*>())
        etykiety << l->text();
    for (const char* t : {"Numer rejestracyjny:", "Rodzaj pojazdu", "Numer faktury:", "Data zakupu:", "Ilość litrów:",
                          "Cena paliwa:", "Grupa produktu:"})
        EXPECT_TRUE(etykiety.contains(QString::fromUtf8(t))) << t;
    // The column names of a new data directory are shown for editing.
    auto* e = okno->findChild<QLineEdit*>(QStringLiteral("DBEdit5"));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->text(), "Ilość litrów");
    EXPECT_EQ(okno->Logika.SzablonPolaczenia,
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=Orlen.xls;Extended Properties=Excel 8.0;"
              "Persist Security Info=False");
}

TEST_F(ImportOkno, OpenImportCompleteAVehicleAndShowTheLog)
{
    const QString plik = skoroszyt();
    int wierszy = -1;
    QString komorka;
    QString kolumna;
    wImporcie = [&] {
        dialogi.answerFile(plik);
        okno->BitBtn1->click();
        wierszy = okno->DBGrid1->model()->rowCount();
        kolumna = okno->DBGrid1->model()->headerData(5, Qt::Horizontal).toString();
        komorka = okno->DBGrid1->model()->index(0, 5).data().toString();
        okno->BitBtn2->click();
    };
    bool trybUzupelnienia = false;
    wRejestrze = [&] {
        trybUzupelnienia = !pojazdy->Panel3->isHidden() && pojazdy->BitBtn2->isEnabled();
        EXPECT_EQ(dm->TPojazdy->State(), kal::dsInsert);
        dm->TPojazdyMarka->setAsString(QStringLiteral("Kia"));
        dm->TPojazdy->Post();
    };
    okno->Pokaz();

    ASSERT_EQ(dialogi.calls().size() > 1, true);
    EXPECT_EQ(dialogi.calls()[1].kind, DialogCall::OpenFile);
    EXPECT_EQ(dialogi.calls()[1].filter, "Pliki FLOTY (*.xls)");
    EXPECT_EQ(wierszy, 2);
    EXPECT_EQ(kolumna, "Miejscowość");
    EXPECT_EQ(komorka, "Płock");
    EXPECT_TRUE(trybUzupelnienia);
    // The import window, the vehicle register for the new vehicle, the editor with the log.
    const auto m = modalne();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[1].window, pojazdy.get());
    EXPECT_EQ(m[2].window, edytor.get());
    EXPECT_EQ(log, QStringList({QStringLiteral("  Wykaz błędów powstałych w czasie importu FLOTY."),
                                QStringLiteral("  ================================================"),
                                QStringLiteral("  Numer faktury: FV/2 data zakupu: 2009-07-16 numer rejestracyjny: WA1"),
                                QStringLiteral("  'x' nie jest poprawną liczbą."),
                                QStringLiteral("  ----------------------------------------------")}));
    EXPECT_EQ(edytor->windowTitle(), "Untitled - System Kalmora.");
    EXPECT_EQ(dm->TZuzycie->RecordCount(), 1);
    EXPECT_EQ(dm->TZuzycieNumerFaktury->AsString(), "FV/1");
    EXPECT_EQ(dm->TZuzycieRodzajPojazdu->AsString(), "1");
    // After the import the workbook is closed and the grid empty.
    EXPECT_EQ(okno->DBGrid1->model()->rowCount(), 0);
    EXPECT_FALSE(okno->Logika.Otwarty());
    EXPECT_EQ(QDir::currentPath(), katalog.path());
    EXPECT_EQ(zakonczono, 0);
}

TEST_F(ImportOkno, AnImportWithoutErrorsShowsNoLog)
{
    pojazd(QStringLiteral("WA1"));
    XlsWriter w = arkusz();
    w.row({QStringLiteral("FV/1"), XlsDate{XlsSerial(2009, 8, 1)}, 10.0, 4.0, 6.0, QStringLiteral("wa1"), XlsEmpty{}});
    ASSERT_TRUE(w.save(katalog.file(QStringLiteral("Flota.xls"))));
    wImporcie = [&] {
        okno->ChBBuforPamieci->setChecked(true);
        dialogi.answerFile(katalog.file(QStringLiteral("Flota.xls")));
        okno->BitBtn1->click();
        okno->BitBtn2->click();
    };
    okno->Pokaz();
    EXPECT_EQ(modalne().size(), 1u);
    EXPECT_TRUE(dialogi.boxes().empty());
    EXPECT_EQ(dm->TZuzycieRodzajPaliwa->AsString(), "4");
}

TEST_F(ImportOkno, ImportWithoutAWorkbookAndAFileThatIsNoWorkbook)
{
    QFile zly(katalog.file(QStringLiteral("zly.xls")));
    ASSERT_TRUE(zly.open(QIODevice::WriteOnly));
    zly.write("to nie jest skoroszyt");
    zly.close();
    wImporcie = [&] {
        okno->BitBtn2->click();
        dialogi.answerFile(zly.fileName());
        okno->BitBtn1->click();
        okno->BitBtn2->click();
        okno->BitBtn1->click(); // cancelled: nothing opens
        okno->BitBtn2->click();
    };
    okno->Pokaz();
    const auto b = dialogi.boxes();
    ASSERT_EQ(b.size(), 4u);
    EXPECT_EQ(b[0].text, "Brak otwartego arkusza FLOTY !!!");
    EXPECT_EQ(b[0].caption, "Kontrola FLOTY");
    EXPECT_EQ(b[1].kind, DialogCall::Error);
    EXPECT_FALSE(b[1].text.isEmpty());
    EXPECT_EQ(b[2].text, "Brak otwartego arkusza FLOTY !!!");
    EXPECT_EQ(b[3].text, "Brak otwartego arkusza FLOTY !!!");
    EXPECT_TRUE(dm->TZuzycie->IsEmpty());
}

TEST_F(ImportOkno, APendingEditOfTheColumnNamesIsPostedWhenTheWindowCloses)
{
    wImporcie = [&] {
        dm->TPolaExcel->Edit();
        dm->TPolaExcelCena->setAsString(QStringLiteral("Cena jedn."));
    };
    okno->Pokaz();
    EXPECT_EQ(dm->TPolaExcel->State(), kal::dsBrowse);
    dm->TPolaExcel->Refresh();
    EXPECT_EQ(dm->TPolaExcelCena->AsString(), "Cena jedn.");
}

// "Otwórz plik FLOTY" on a workbook whose record of row 2 is damaged: the
// box names the rows read, the grid stays empty and "Importuj dane" finds no
// sheet to import.
TEST_F(ImportOkno, ADamagedWorkbookIsToldWhenOpenedAndNothingIsImported)
{
    const QString plik = skoroszyt();
    // The date of the second row (four numbers a row), three bytes short.
    ASSERT_TRUE(kal::test::XlsChangeRecordLength(plik, 0x0203, 4, -3));
    int wierszy = -1;
    wImporcie = [&] {
        dialogi.answerFile(plik);
        okno->BitBtn1->click();
        wierszy = okno->DBGrid1->model()->rowCount();
        okno->BitBtn2->click();
    };
    okno->Pokaz();
    const auto b = dialogi.boxes();
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[0].kind, DialogCall::Message);
    EXPECT_EQ(b[0].text, QStringLiteral("Plik \"%1\" jest uszkodzony lub niepełny: z 2 wierszy arkusza FLOTY "
                                        "odczytano w całości 1.\nImport z tego pliku nie jest możliwy; pobierz plik "
                                        "FLOTY ponownie !!!")
                             .arg(QDir::toNativeSeparators(plik)));
    EXPECT_EQ(b[0].caption, "Kontrola FLOTY.");
    EXPECT_EQ(b[0].icon, kal::MsgIcon::Stop);
    EXPECT_EQ(b[1].text, "Brak otwartego arkusza FLOTY !!!");
    EXPECT_EQ(wierszy, 0);
    EXPECT_TRUE(dm->TZuzycie->IsEmpty());
    EXPECT_TRUE(dm->TPojazdy->IsEmpty());
}

// In "Zużycie paliwa" the user presses "+", types an invoice number and the
// litres, chooses no vehicle, and presses "Import FLOTA", opens the workbook
// and presses "Importuj dane". The typed record is posted before the first
// row: its rule refuses it, the rule's message is shown, and the import does
// not start (no row imported, none logged, the sheet still open); the record
// stays in the fuel window as typed. The user closes the import, chooses the
// vehicle, date and fuel, and imports again: the record is saved first, then
// both rows of the sheet.
TEST_F(ImportOkno, APendingFuelRecordIsPostedFirstAndItsRefusalStopsTheImport)
{
    const int wa = pojazd(QStringLiteral("WA1"));
    XlsWriter w = arkusz();
    w.row({QStringLiteral("FV/1"), XlsDate{XlsSerial(2009, 7, 15)}, 45.5, 4.19, 1.0, QStringLiteral("WA1"), XlsEmpty{}})
        .row({QStringLiteral("FV/2"), XlsDate{XlsSerial(2009, 7, 16)}, 30.0, 4.19, 1.0, QStringLiteral("wa 1"),
              XlsEmpty{}});
    const QString plik = katalog.file(QStringLiteral("Orlen.xls"));
    ASSERT_TRUE(w.save(plik));

    auto wpisz = [&](const char* pole, const QString& tekst) {
        auto* e = zuzycie->findChild<QWidget*>(QString::fromLatin1(pole));
        ASSERT_NE(e, nullptr);
        QTest::mouseClick(e, Qt::LeftButton);
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier); // over what the field shows
        QTest::keyClicks(e, tekst);
        QTest::keyClick(e, Qt::Key_Tab);
    };
    std::vector<std::function<void()>> importy = {
        [&] {
            dialogi.answerFile(plik);
            okno->BitBtn1->click();
            okno->BitBtn2->click();
            EXPECT_TRUE(okno->Logika.Otwarty());
            EXPECT_EQ(okno->DBGrid1->model()->rowCount(), 2);
            okno->BitBtn3->click();
        },
        [&] {
            dialogi.answerFile(plik);
            okno->BitBtn1->click();
            okno->BitBtn2->click();
            okno->BitBtn3->click();
        },
    };
    size_t import = 0;
    wImporcie = [&] { importy.at(import++)(); };
    kal::TDataSetState stan = kal::dsInactive;
    QString faktura;
    double litry = 0;
    int zapisane = -1;
    std::vector<DialogCall> poPierwszym;
    wZuzyciu = [&] {
        ASSERT_FALSE(zuzycie->BitBtn2->isHidden());
        zuzycie->DBNavigator1->BtnClick(kal::nbInsert);
        wpisz("DBEdit4", QStringLiteral("FV/R1"));
        wpisz("DBEdit2", QStringLiteral("12,5"));
        zuzycie->BitBtn2->click();
        poPierwszym = dialogi.boxes();
        stan = dm->TZuzycie->State();
        faktura = dm->TZuzycieNumerFaktury->AsString();
        litry = dm->TZuzycieIloscPaliwa->AsFloat();
        zapisane = dm->TZuzycie->RecordCount();

        dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(wa);
        wpisz("DBEdit1", QStringLiteral("20090720"));
        dm->TZuzycieRodzajPaliwa->setAsString(QStringLiteral("5"));
        zuzycie->BitBtn2->click();
        zuzycie->BitBtn1->click();
    };
    zuzycie->Pokaz();

    ASSERT_EQ(poPierwszym.size(), 1u);
    EXPECT_EQ(poPierwszym[0].kind, DialogCall::Error);
    EXPECT_EQ(poPierwszym[0].text, "Musisz wybrać pojazd !!!");
    EXPECT_EQ(stan, kal::dsInsert);
    EXPECT_EQ(faktura, "FV/R1");
    EXPECT_DOUBLE_EQ(litry, 12.5);
    EXPECT_EQ(zapisane, 0);
    // No log was shown: no row was blamed.
    for (const DialogCall& m : modalne())
        EXPECT_NE(m.window, edytor.get());
    EXPECT_EQ(import, 2u);
    EXPECT_EQ(dialogi.boxes().size(), 1u);

    QStringList faktury;
    for (dm->TZuzycie->First(); !dm->TZuzycie->Eof(); dm->TZuzycie->Next()) {
        faktury << dm->TZuzycieNumerFaktury->AsString();
        EXPECT_EQ(dm->TZuzycieIdentyfikatorPojazdu->AsInteger(), wa);
    }
    faktury.sort();
    EXPECT_EQ(faktury, QStringList({QStringLiteral("FV/1"), QStringLiteral("FV/2"), QStringLiteral("FV/R1")}));
}
