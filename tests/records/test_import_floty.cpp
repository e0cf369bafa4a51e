// The fleet-card import on a new data directory: workbooks written by the
// test writer, rows landing in the half-year fuel file, and the error log.

#include "Dane.h"
#include "Funkcje.h"
#include "ImportFlotyLogika.h"
#include "Schemat.h"

#include "Clock.h"
#include "Exceptions.h"
#include "InChild.h"
#include "IntegrityCheck.h"
#include "ScriptedDialogs.h"
#include "TestDir.h"
#include "VfsShim.h"
#include "Workbook.h"

#include "../workbook/XlsWriter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

using kal::test::InChild;
using kal::test::IntegrityCheck;
using kal::test::ScriptedDialogs;
using kal::test::TestDir;
using kal::test::VfsShim;
using kal::test::XlsDate;
using kal::test::XlsEmpty;
using kal::test::XlsSerial;
using kal::test::XlsValue;
using kal::test::XlsWriter;

namespace {

const QString kArkusz = QStringLiteral("EXP_ZESTAW_TRANS_FLOTY_OKROJONY");
const QString kKreski = QStringLiteral("  ----------------------------------------------");

struct Wiersz {
    XlsValue nr;
    XlsValue rodzaj;
    XlsValue faktura;
    XlsValue data;
    XlsValue litry;
    XlsValue cena;
    XlsValue grupa;
};

std::vector<XlsValue> Naglowek()
{
    return {QStringLiteral("Nr faktury"),   QStringLiteral("Data realizacji"),  QStringLiteral("Nazwa produktu"),
            QStringLiteral("Ilość litrów"), QStringLiteral("Cena za litr"),     QStringLiteral("Grupa prod"),
            QStringLiteral("Nr rejestracyjny"), QStringLiteral("Rodzaj pojazdu")};
}

XlsDate Dzien(int m, int d)
{
    return XlsDate{XlsSerial(2009, m, d)};
}

class ImportFloty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(Schemat::UtworzKatalogDanych(katalog.path()), QString());
        staryTemp = qgetenv("TEMP");
        qputenv("TEMP", temp.path().toLocal8Bit());
        kal::SetTodayForTests(QDate(2009, 9, 1));
        dm = std::make_unique<TDM>();
        dm->TFirma->Insert();
        dm->TFirmaNazwa1->setAsString(QStringLiteral("Ruvelkon sp. z o.o."));
        dm->TFirma->Post();
        dm->TOkres->Insert();
        dm->TOkresRok->setAsInteger(2009);
        dm->TOkresPolrocze->setAsInteger(2);
        dm->TOkres->Post();
        ASSERT_TRUE(dm->UstawZbiorZuzycia());
        ZnajdzIdentyfikatorPojazdu = nullptr;
    }
    void TearDown() override
    {
        ZnajdzIdentyfikatorPojazdu = nullptr;
        import.reset();
        dm.reset();
        kal::SetTodayForTests(QDate());
        qputenv("TEMP", staryTemp);
    }

    int pojazd(const QString& nr, const QString& rodzaj = QStringLiteral("1"))
    {
        dm->TPojazdy->Insert();
        dm->TPojazdyRodzajPojazdu->setAsString(rodzaj);
        dm->TPojazdyMarka->setAsString(QStringLiteral("Skoda"));
        dm->TPojazdyNrRejestracyjny->setAsString(nr);
        dm->TPojazdy->Post();
        return dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    }

    QString skoroszyt(const std::vector<Wiersz>& wiersze, std::vector<XlsValue> naglowek = Naglowek())
    {
        XlsWriter w;
        w.sheet(kArkusz).row(std::move(naglowek));
        for (const Wiersz& r : wiersze)
            w.row({r.faktura, r.data, QStringLiteral("ON"), r.litry, r.cena, r.grupa, r.nr, r.rodzaj});
        const QString plik = katalog.file(QStringLiteral("Orlen.xls"));
        EXPECT_TRUE(w.save(plik));
        return plik;
    }

    // Opens the workbook, checks it and imports; returns SaBledy.
    bool importuj(const std::vector<Wiersz>& wiersze)
    {
        import = std::make_unique<TImportFlotyLogika>();
        import->UzupelnijPojazd = [this] { ++uzupelnien; if (uzupelnij) uzupelnij(); };
        import->BuforPamieci = bufor;
        EXPECT_TRUE(import->Otworz(skoroszyt(wiersze)));
        EXPECT_TRUE(import->SprawdzArkusz());
        return import->Importuj();
    }

    struct Tankowanie {
        int pojazd;
        QDate data;
        double litry;
        double cena;
        QString faktura;
        QString paliwo;
        QString rodzajPojazdu;
    };
    std::vector<Tankowanie> tankowania()
    {
        std::vector<Tankowanie> w;
        kal::TTable& z = *dm->TZuzycie;
        for (z.First(); !z.Eof(); z.Next())
            w.push_back({dm->TZuzycieIdentyfikatorPojazdu->AsInteger(), dm->TZuzycieDataTankowania->AsDateTime(),
                         dm->TZuzycieIloscPaliwa->AsFloat(), dm->TZuzycieCenaPaliwa->AsFloat(),
                         dm->TZuzycieNumerFaktury->AsString(), dm->TZuzycieRodzajPaliwa->AsString(),
                         dm->TZuzycieRodzajPojazdu->AsString()});
        return w;
    }

    QStringList bledy() const { return import->Log().mid(2); }

    TestDir katalog;
    QTemporaryDir temp;
    QByteArray staryTemp;
    ScriptedDialogs dialogi;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TImportFlotyLogika> import;
    std::function<void()> uzupelnij;
    int uzupelnien = 0;
    bool bufor = false;
};

} // namespace

TEST_F(ImportFloty, GoodRowsLandInTheHalfYearFileWithTheFuelKindOfTheirGroup)
{
    const int wa = pojazd(QStringLiteral("WA12345"));
    const int kr = pojazd(QStringLiteral("KR 77"), QStringLiteral("3"));
    const bool bledne = importuj({
        {QStringLiteral("wa 123 45"), QStringLiteral("O"), QStringLiteral("FV/1/2009"), Dzien(7, 15), 45.5, 4.19, 1.0},
        {QStringLiteral("KR77"), XlsEmpty{}, QStringLiteral("FV/2/2009"), Dzien(8, 1), QStringLiteral("12,25"),
         QStringLiteral("3.5"), QStringLiteral(" 3 ")},
        {QStringLiteral("kr 77"), XlsEmpty{}, QStringLiteral("FV/3/2009"), Dzien(12, 31), 30.0, 2.1, 6.0},
        {QStringLiteral("WA12345"), XlsEmpty{}, QStringLiteral("FV/4/2009"), Dzien(9, 2), 10.0, 4.0, 2.0},
        {QStringLiteral("WA12345"), XlsEmpty{}, QStringLiteral("FV/5/2009"), Dzien(9, 3), 11.0, 4.0, 5.0},
    });
    EXPECT_FALSE(bledne);
    EXPECT_EQ(import->Log(), QStringList({QStringLiteral("  Wykaz błędów powstałych w czasie importu FLOTY."),
                                          QStringLiteral("  ================================================")}));
    EXPECT_FALSE(import->Otwarty());
    EXPECT_EQ(dm->TZuzycie->TableName(), "Zuz20092.db");
    auto t = tankowania();
    ASSERT_EQ(t.size(), 5u);
    std::sort(t.begin(), t.end(), [](const Tankowanie& a, const Tankowanie& b) { return a.faktura < b.faktura; });
    EXPECT_EQ(t[0].pojazd, wa);
    EXPECT_EQ(t[0].data, QDate(2009, 7, 15));
    EXPECT_DOUBLE_EQ(t[0].litry, 45.5);
    EXPECT_DOUBLE_EQ(t[0].cena, 4.19);
    EXPECT_EQ(t[0].paliwo, "5");
    EXPECT_EQ(t[0].rodzajPojazdu, "1");
    EXPECT_EQ(t[1].pojazd, kr);
    EXPECT_DOUBLE_EQ(t[1].litry, 12.25);
    EXPECT_DOUBLE_EQ(t[1].cena, 3.5);
    EXPECT_EQ(t[1].paliwo, "3");
    EXPECT_EQ(t[1].rodzajPojazdu, "3");
    EXPECT_EQ(t[2].paliwo, "4");
    EXPECT_EQ(t[2].data, QDate(2009, 12, 31));
    EXPECT_EQ(t[3].paliwo, "5");
    EXPECT_EQ(t[4].paliwo, "3");
    EXPECT_EQ(uzupelnien, 0);
    EXPECT_TRUE(dialogi.calls().empty());
}

TEST_F(ImportFloty, GroupsOutsideTheFuelListAreSkippedWithoutAnEntry)
{
    pojazd(QStringLiteral("WA1"));
    const bool bledne = importuj({
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("A"), Dzien(7, 1), 1.0, 1.0, 4.0},
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("B"), Dzien(7, 1), 1.0, 1.0, XlsEmpty{}},
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("C"), Dzien(7, 1), 1.0, 1.0, 0.0},
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("D"), Dzien(7, 1), 1.0, 1.0, -1.0},
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("E"), Dzien(7, 1), 1.0, 1.0, 7.0},
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F"), Dzien(7, 1), 1.0, 1.0, QStringLiteral("olej")},
        {QStringLiteral("NOWY 1"), XlsEmpty{}, QStringLiteral("G"), Dzien(7, 1), 1.0, 1.0, 4.0},
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("H"), Dzien(7, 1), 2.0, 1.0, QStringLiteral(" 1 ")},
    });
    EXPECT_FALSE(bledne);
    EXPECT_TRUE(bledy().isEmpty());
    // A skipped row does not even look for its vehicle.
    EXPECT_EQ(uzupelnien, 0);
    const auto t = tankowania();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].faktura, "H");
    EXPECT_EQ(t[0].paliwo, "5");
}

TEST_F(ImportFloty, AVehicleMissingFromTheRegisterIsAddedAndCompletedByTheUser)
{
    pojazd(QStringLiteral("WA1"));
    QStringList wstawione;
    uzupelnij = [&] {
        EXPECT_EQ(dm->TPojazdy->State(), kal::dsInsert);
        wstawione << dm->TPojazdyNrRejestracyjny->AsString() + u'|' + dm->TPojazdyRodzajPojazdu->AsString();
        dm->TPojazdyMarka->setAsString(QStringLiteral("Kia"));
        dm->TPojazdy->Post();
    };
    const bool bledne = importuj({
        {QStringLiteral("po 555"), QStringLiteral(" O "), QStringLiteral("F1"), Dzien(7, 2), 20.0, 4.0, 1.0},
        {QStringLiteral("PO555"), QStringLiteral(" O "), QStringLiteral("F2"), Dzien(7, 3), 21.0, 4.0, 1.0},
        {QStringLiteral("GD 9"), QStringLiteral("o"), QStringLiteral("F3"), Dzien(7, 4), 22.0, 4.0, 1.0},
    });
    EXPECT_FALSE(bledne);
    // The number goes in as the sheet writes it; the second row finds the vehicle added by the first.
    EXPECT_EQ(wstawione, QStringList({QStringLiteral("po 555|1"), QStringLiteral("GD 9|3")}));
    EXPECT_EQ(dm->TPojazdy->RecordCount(), 3);
    const auto t = tankowania();
    ASSERT_EQ(t.size(), 3u);
    int po = 0;
    for (dm->TPojazdy->First(); !dm->TPojazdy->Eof(); dm->TPojazdy->Next())
        if (dm->TPojazdyNrRejestracyjny->AsString() == u"po 555")
            po = dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    int naPo = 0;
    for (const Tankowanie& x : t)
        naPo += x.pojazd == po ? 1 : 0;
    EXPECT_EQ(naPo, 2);
}

TEST_F(ImportFloty, AVehicleTheUserDoesNotSaveIsLoggedAndItsRowNotImported)
{
    uzupelnij = [&] { dm->TPojazdy->Cancel(); };
    const bool bledne = importuj({
        {QStringLiteral("KR 999"), XlsEmpty{}, QStringLiteral("FV/9"), Dzien(7, 15), 20.0, 4.0, 1.0},
    });
    EXPECT_TRUE(bledne);
    EXPECT_EQ(bledy(), QStringList({QStringLiteral("  Numer faktury: FV/9 data zakupu: 2009-07-15 numer "
                                                   "rejestracyjny: KR 999"),
                                    QStringLiteral("  Nie dopisano pojazdu o nemerze rejestracyjnym: KR 999.\n"
                                                   "Pozycja FLOTY nie została dopisana."),
                                    kKreski}));
    EXPECT_TRUE(tankowania().empty());
    EXPECT_TRUE(dm->TPojazdy->IsEmpty());
}

TEST_F(ImportFloty, AVehicleLeftPendingOrSavedUnderAnotherNumberDoesNotTakeTheRow)
{
    // The completion window returns with the new vehicle still unsaved: it is abandoned.
    uzupelnij = [] {};
    EXPECT_TRUE(importuj({{QStringLiteral("KR 1"), XlsEmpty{}, QStringLiteral("A"), Dzien(7, 15), 2.0, 4.0, 1.0}}));
    EXPECT_EQ(dm->TPojazdy->State(), kal::dsBrowse);
    EXPECT_TRUE(dm->TPojazdy->IsEmpty());
    // The user changes the number before saving.
    uzupelnij = [&] {
        dm->TPojazdyNrRejestracyjny->setAsString(QStringLiteral("KR 2"));
        dm->TPojazdy->Post();
    };
    EXPECT_TRUE(importuj({{QStringLiteral("KR 1"), XlsEmpty{}, QStringLiteral("B"), Dzien(7, 15), 2.0, 4.0, 1.0}}));
    EXPECT_EQ(bledy().value(1), QStringLiteral("  Nie dopisano pojazdu o nemerze rejestracyjnym: KR 1.\n"
                                               "Pozycja FLOTY nie została dopisana."));
    EXPECT_EQ(dm->TPojazdy->RecordCount(), 1);
    EXPECT_TRUE(tankowania().empty());
}

TEST_F(ImportFloty, ARowWithoutRegistrationNumberAddsNoVehicle)
{
    const bool bledne =
        importuj({{QStringLiteral("  "), XlsEmpty{}, QStringLiteral("FV/1"), Dzien(7, 15), 20.0, 4.0, 1.0}});
    EXPECT_TRUE(bledne);
    EXPECT_EQ(uzupelnien, 0);
    EXPECT_EQ(bledy().value(0), QStringLiteral("  Numer faktury: FV/1 data zakupu: 2009-07-15 numer rejestracyjny:   "));
    EXPECT_TRUE(dm->TPojazdy->IsEmpty());
}

TEST_F(ImportFloty, AVehicleWithAnEmptyNumberNeverMatches)
{
    // A vehicle stored without a number (written past the rules) is not the row's vehicle.
    dm->TPojazdy->Insert();
    dm->TPojazdyNrRejestracyjny->setAsString(QStringLiteral("X"));
    dm->TPojazdy->Post();
    dm->TPojazdy->Edit();
    dm->TPojazdyNrRejestracyjny->Clear();
    dm->TPojazdy->BeforePost = nullptr;
    dm->TPojazdy->Post();
    uzupelnij = [&] { dm->TPojazdy->Cancel(); };
    importuj({{QStringLiteral("WA 1"), XlsEmpty{}, QStringLiteral("A"), Dzien(7, 15), 2.0, 4.0, 1.0}});
    EXPECT_EQ(uzupelnien, 1);
    EXPECT_TRUE(tankowania().empty());
}

TEST_F(ImportFloty, RefusedAndUnconvertibleRowsAreLoggedAndTheImportGoesOn)
{
    pojazd(QStringLiteral("WA1"));
    const bool bledne = importuj({
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F1"), Dzien(7, 1), QStringLiteral("abc"), 4.0, 1.0},
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F2"), QStringLiteral("15.07.2009"), 5.0, 4.0, 1.0},
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F3"), Dzien(6, 30), 5.0, 4.0, 1.0},
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F4"), Dzien(7, 2), 0.0, 4.0, 1.0},
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F5"), XlsEmpty{}, 5.0, 4.0, 1.0},
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F6"), Dzien(7, 3), 6.0, 4.0, 1.0},
    });
    EXPECT_TRUE(bledne);
    EXPECT_EQ(bledy(),
              QStringList({QStringLiteral("  Numer faktury: F1 data zakupu: 2009-07-01 numer rejestracyjny: WA1"),
                           QStringLiteral("  'abc' nie jest poprawną liczbą."), kKreski,
                           QStringLiteral("  Numer faktury: F2 data zakupu: 15.07.2009 numer rejestracyjny: WA1"),
                           QStringLiteral("  '15.07.2009' nie jest poprawną datą."), kKreski,
                           QStringLiteral("  Numer faktury: F3 data zakupu: 2009-06-30 numer rejestracyjny: WA1"),
                           QStringLiteral("  Drugie półrocze dotyczy miesięcy od lipca do grudnia !!!"), kKreski,
                           QStringLiteral("  Numer faktury: F4 data zakupu: 2009-07-02 numer rejestracyjny: WA1"),
                           QStringLiteral("  Ilość paliwa musi być większa od zera !!!"), kKreski,
                           QStringLiteral("  Numer faktury: F5 data zakupu:  numer rejestracyjny: WA1"),
                           QStringLiteral("  Data tankowania musi być dobrze określona !!!"), kKreski}));
    const auto t = tankowania();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].faktura, "F6");
    EXPECT_EQ(dm->TZuzycie->State(), kal::dsBrowse);
}

TEST_F(ImportFloty, TheSameWorkbookTwiceIsStoredTwiceAndEachImportStartsAFreshLog)
{
    pojazd(QStringLiteral("WA1"));
    const std::vector<Wiersz> wiersze = {
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F1"), Dzien(7, 1), 5.0, 4.0, 1.0},
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F2"), Dzien(7, 1), 0.0, 4.0, 1.0},
    };
    EXPECT_TRUE(importuj(wiersze));
    EXPECT_EQ(import->Log().size(), 5);
    EXPECT_FALSE(import->Importuj()); // the sheet was closed: nothing but the header
    EXPECT_FALSE(import->SaBledy);
    EXPECT_EQ(import->Log().size(), 2);
    EXPECT_TRUE(importuj(wiersze));
    EXPECT_EQ(tankowania().size(), 2u);
}

TEST_F(ImportFloty, TheMemoryBufferFindsVehiclesThroughTheIndex)
{
    const int wa = pojazd(QStringLiteral("WA 12345"));
    bufor = true;
    QStringList pytania;
    ZnajdzIdentyfikatorPojazdu = [&](const QString& nr) {
        pytania << nr;
        return PorownajBezSpacji(nr, QStringLiteral("WA12345")) ? wa : -2;
    };
    uzupelnij = [&] { dm->TPojazdy->Post(); };
    importuj({
        {QStringLiteral("wa12345"), XlsEmpty{}, QStringLiteral("F1"), Dzien(7, 1), 5.0, 4.0, 1.0},
        {QStringLiteral("NEW 1"), XlsEmpty{}, QStringLiteral("F2"), Dzien(7, 1), 5.0, 4.0, 1.0},
    });
    // The index knows no "NEW 1": the vehicle is added, asked again, still unknown.
    EXPECT_EQ(pytania, QStringList({QStringLiteral("wa12345"), QStringLiteral("NEW 1"), QStringLiteral("NEW 1")}));
    EXPECT_EQ(uzupelnien, 1);
    const auto t = tankowania();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].pojazd, wa);
    EXPECT_EQ(bledy().value(1), QStringLiteral("  Nie dopisano pojazdu o nemerze rejestracyjnym: NEW 1.\n"
                                               "Pozycja FLOTY nie została dopisana."));
}

TEST_F(ImportFloty, WithoutAnInstalledIndexTheBufferKnowsAVehicleAsSoonAsItIsPosted)
{
    bufor = true;
    uzupelnij = [&] { dm->TPojazdy->Post(); };
    EXPECT_FALSE(importuj({
        {QStringLiteral("NEW 1"), XlsEmpty{}, QStringLiteral("F1"), Dzien(7, 1), 5.0, 4.0, 1.0},
        {QStringLiteral("new1"), XlsEmpty{}, QStringLiteral("F2"), Dzien(7, 2), 5.0, 4.0, 1.0},
    }));
    EXPECT_EQ(uzupelnien, 1);
    EXPECT_EQ(tankowania().size(), 2u);
}

TEST_F(ImportFloty, ASheetMissingAConfiguredColumnReportsThatColumnOnly)
{
    auto naglowek = Naglowek();
    naglowek[3] = QStringLiteral("Ilosc litrow"); // the configured name is "Ilość litrów"
    naglowek[5] = QStringLiteral("Grupa");
    import = std::make_unique<TImportFlotyLogika>();
    ASSERT_TRUE(import->Otworz(skoroszyt({{QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F"), Dzien(7, 1), 5.0,
                                           4.0, 1.0}},
                                         naglowek)));
    EXPECT_FALSE(import->SprawdzArkusz());
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text, "Brak ilości litrów w arkuszu FLOTY !!!");
    EXPECT_EQ(dialogi.boxes()[0].caption, "Kontrola FLOTY.");
    EXPECT_EQ(dialogi.boxes()[0].icon, kal::MsgIcon::Stop);
    EXPECT_EQ(dialogi.boxes()[0].buttons, unsigned(kal::MbOk));

    // The configuration follows the vendor: rename the columns it reads.
    dialogi.clear();
    dm->TPolaExcel->Edit();
    dm->TPolaExcelIloscLitrow->setAsString(QStringLiteral("ilosc LITROW"));
    EXPECT_FALSE(import->SprawdzArkusz());
    EXPECT_EQ(dm->TPolaExcel->State(), kal::dsBrowse); // the pending edit was posted
    EXPECT_EQ(dialogi.texts(), QStringList({QStringLiteral("Brak grupy produktu w arkuszu FLOTY !!!")}));
}

// A vendor's heads ending in blanks ("Ilość litrów "): trailing blanks do not
// count, as in every stored text, so the configured names find them.
TEST_F(ImportFloty, HeadsEndingInBlanksAreFoundUnderTheConfiguredNames)
{
    const int wa = pojazd(QStringLiteral("WA1"));
    auto naglowek = Naglowek();
    for (XlsValue& n : naglowek)
        n = std::get<QString>(n) + QStringLiteral("  ");
    import = std::make_unique<TImportFlotyLogika>();
    ASSERT_TRUE(import->Otworz(skoroszyt({{QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F/1"), Dzien(7, 1), 5.5,
                                           4.0, 1.0}},
                                         naglowek)));
    EXPECT_TRUE(import->SprawdzArkusz());
    EXPECT_FALSE(import->Importuj());
    EXPECT_TRUE(dialogi.calls().empty());
    const auto t = tankowania();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].pojazd, wa);
    EXPECT_EQ(t[0].faktura, "F/1");
    EXPECT_EQ(t[0].data, QDate(2009, 7, 1));
    EXPECT_DOUBLE_EQ(t[0].litry, 5.5);
    EXPECT_EQ(t[0].paliwo, "5");
}

TEST_F(ImportFloty, EachConfiguredColumnHasItsOwnMessage)
{
    const std::pair<kal::TField* TDM::*, const char*> kolumny[] = {
        {&TDM::TPolaExcelNumerRejestracyjny, "Brak numeru rejestracyjnego w arkuszu FLOTY !!!"},
        {&TDM::TPolaExcelRodzajPojazdu, "Brak rodzaju pojazdu w arkuszu FLOTY !!!"},
        {&TDM::TPolaExcelNumerFaktury, "Brak numeru faktury w arkuszu FLOTY !!!"},
        {&TDM::TPolaExcelDataRealizacji, "Brak daty tankowania w arkuszu FLOTY !!!"},
        {&TDM::TPolaExcelCena, "Brak ceny paliwa w arkuszu FLOTY !!!"},
        {&TDM::TPolaExcelGrupaProduktu, "Brak grupy produktu w arkuszu FLOTY !!!"},
    };
    import = std::make_unique<TImportFlotyLogika>();
    ASSERT_TRUE(import->Otworz(skoroszyt({})));
    for (const auto& [pole, tekst] : kolumny) {
        dialogi.clear();
        dm->TPolaExcel->Edit();
        const QString stara = (dm.get()->*pole)->AsString();
        (dm.get()->*pole)->setAsString(QStringLiteral("Nie ma takiej"));
        EXPECT_FALSE(import->SprawdzArkusz());
        EXPECT_EQ(dialogi.texts(), QStringList({QString::fromUtf8(tekst)}));
        dm->TPolaExcel->Edit();
        (dm.get()->*pole)->setAsString(stara);
        dm->TPolaExcel->Post();
    }
    dialogi.clear();
    EXPECT_TRUE(import->SprawdzArkusz());
    EXPECT_TRUE(dialogi.calls().empty());
}

TEST_F(ImportFloty, NoOpenSheetAndAWrongConnectionTemplateAreReported)
{
    TImportFlotyLogika imp;
    EXPECT_FALSE(imp.SprawdzArkusz());
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text, "Brak otwartego arkusza FLOTY !!!");
    EXPECT_EQ(dialogi.boxes()[0].caption, "Kontrola FLOTY");
    EXPECT_EQ(dialogi.boxes()[0].icon, kal::MsgIcon::Stop);

    dialogi.clear();
    const QString plik = skoroszyt({});
    imp.SzablonPolaczenia = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=Flota.xls");
    EXPECT_FALSE(imp.Otworz(plik));
    EXPECT_FALSE(imp.Otwarty());
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text, "Błąd nazwy połączenia !!!");
    EXPECT_EQ(dialogi.boxes()[0].caption, "Kontrola połączenia FLOTA.");
    EXPECT_EQ(dialogi.boxes()[0].icon, kal::MsgIcon::Stop);
}

TEST_F(ImportFloty, TheChosenFileReplacesTheDefaultNameAndTheTemplateStays)
{
    TImportFlotyLogika imp;
    const QString plik = skoroszyt({});
    QDir().mkdir(QStringLiteral("inny"));
    const QString kopia = katalog.file(QStringLiteral("inny/Flota marzec.xls"));
    ASSERT_TRUE(QFile::copy(plik, kopia));
    ASSERT_TRUE(imp.Otworz(QStringLiteral("inny/Flota marzec.xls")));
    EXPECT_EQ(imp.Polaczenie(), QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
                                    QFileInfo(kopia).absoluteFilePath() +
                                    QStringLiteral(";Extended Properties=Excel 8.0;Persist Security Info=False"));
    EXPECT_EQ(imp.SzablonPolaczenia, DomyslnySzablonPolaczenia());
    EXPECT_TRUE(imp.Otwarty());
}

TEST_F(ImportFloty, AWorkbookWithoutTheFleetSheetIsTheReadersError)
{
    XlsWriter w;
    w.sheet(QStringLiteral("Arkusz1")).row(Naglowek());
    ASSERT_TRUE(w.save(katalog.file(QStringLiteral("inna.xls"))));
    TImportFlotyLogika imp;
    bool zgloszono = false;
    try {
        imp.Otworz(katalog.file(QStringLiteral("inna.xls")));
    } catch (const kal::Exception& e) {
        zgloszono = !e.message().isEmpty();
    }
    EXPECT_TRUE(zgloszono);
    EXPECT_FALSE(imp.Otwarty());
}

TEST_F(ImportFloty, TheBufferReadsTheRegisterAfreshForEachImport)
{
    bufor = true;
    const int kr = pojazd(QStringLiteral("kr żółw 1"));
    uzupelnij = [&] { dm->TPojazdy->Cancel(); };
    const std::vector<Wiersz> wiersze = {
        {QStringLiteral("KRŻÓŁW1"), XlsEmpty{}, QStringLiteral("F1"), Dzien(7, 1), 5.0, 4.0, 1.0},
        {QStringLiteral("GD 5"), XlsEmpty{}, QStringLiteral("F2"), Dzien(7, 1), 5.0, 4.0, 1.0},
    };
    EXPECT_TRUE(importuj(wiersze));
    EXPECT_EQ(uzupelnien, 1);
    // Added to the register between two imports: the next import knows it.
    const int gd = pojazd(QStringLiteral("GD5"));
    EXPECT_FALSE(importuj(wiersze));
    EXPECT_EQ(uzupelnien, 1);
    std::vector<int> p;
    for (const Tankowanie& t : tankowania())
        p.push_back(t.pojazd);
    std::sort(p.begin(), p.end());
    std::vector<int> oczekiwane = {kr, kr, gd};
    std::sort(oczekiwane.begin(), oczekiwane.end());
    EXPECT_EQ(p, oczekiwane);
}

// A workbook of 40 rows with one damaged record length in row 21: the reader
// gets the first 20 rows only. The user is told before anything is imported,
// and nothing is: the file is not opened.
TEST_F(ImportFloty, ADamagedWorkbookIsToldWithTheRowsReadAndNothingIsImported)
{
    pojazd(QStringLiteral("WA1"));
    std::vector<Wiersz> wiersze;
    for (int i = 1; i <= 40; ++i)
        wiersze.push_back({QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("FV/%1").arg(i), Dzien(7, 1 + i % 28),
                           10.0, 4.0, 1.0});
    const QString plik = skoroszyt(wiersze);
    // The date of row 21 (four numbers a row: date, litres, price, group),
    // three bytes short.
    ASSERT_TRUE(kal::test::XlsChangeRecordLength(plik, 0x0203, 80, -3));

    import = std::make_unique<TImportFlotyLogika>();
    EXPECT_FALSE(import->Otworz(plik));
    EXPECT_FALSE(import->Otwarty());
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text,
              QStringLiteral("Plik \"%1\" jest uszkodzony lub niepełny: z 40 wierszy arkusza FLOTY odczytano w "
                             "całości 20.\nImport z tego pliku nie jest możliwy; pobierz plik FLOTY ponownie !!!")
                  .arg(QDir::toNativeSeparators(plik)));
    EXPECT_EQ(dialogi.boxes()[0].caption, "Kontrola FLOTY.");
    EXPECT_EQ(dialogi.boxes()[0].icon, kal::MsgIcon::Stop);
    EXPECT_EQ(dialogi.boxes()[0].buttons, unsigned(kal::MbOk));

    // "Importuj dane" then finds no sheet open, and no fuel record is added.
    dialogi.clear();
    EXPECT_FALSE(import->SprawdzArkusz());
    EXPECT_EQ(dialogi.texts(), QStringList({QStringLiteral("Brak otwartego arkusza FLOTY !!!")}));
    import->Importuj();
    EXPECT_TRUE(tankowania().empty());
    EXPECT_EQ(uzupelnien, 0);

    // The same workbook whole imports all 40 rows.
    import.reset();
    dialogi.clear();
    EXPECT_FALSE(importuj(wiersze));
    EXPECT_TRUE(dialogi.boxes().empty());
    EXPECT_EQ(tankowania().size(), 40u);
}

TEST_F(ImportFloty, TheDamageMessageCountsOneRowInTheSingular)
{
    const kal::Sheet arkusz(kArkusz, {QStringLiteral("Nr faktury")}, {{kal::Cell::text(QStringLiteral("FV/1"))}}, 1,
                            0);
    EXPECT_EQ(KomunikatNiepelnegoArkusza(QStringLiteral("/dane/Orlen.xls"), arkusz),
              QStringLiteral("Plik \"/dane/Orlen.xls\" jest uszkodzony lub niepełny: z 1 wiersza arkusza FLOTY "
                             "odczytano w całości 0.\nImport z tego pliku nie jest możliwy; pobierz plik FLOTY "
                             "ponownie !!!"));
}

// A fuel record typed but not saved (an invoice number, no vehicle) when the
// import starts: it is posted before the first row, its rule refuses it, and
// the import does not start: no row is imported or logged, the sheet stays
// open and the record stays as typed. The same for a vehicle being changed.
// Once the record is complete, the import saves it and then every row.
TEST_F(ImportFloty, APendingRecordIsPostedBeforeTheFirstRowAndItsRefusalStopsTheImport)
{
    const int wa = pojazd(QStringLiteral("WA1"));
    const std::vector<Wiersz> wiersze = {
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("FV/1"), Dzien(7, 1), 10.0, 4.0, 1.0},
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("FV/2"), Dzien(7, 2), 20.0, 4.0, 1.0},
    };
    import = std::make_unique<TImportFlotyLogika>();
    ASSERT_TRUE(import->Otworz(skoroszyt(wiersze)));
    ASSERT_TRUE(import->SprawdzArkusz());
    auto odmowa = [&] {
        try {
            import->Importuj();
        } catch (const kal::Exception& e) {
            return e.message();
        }
        return QStringLiteral("<imported>");
    };

    dm->TZuzycie->Insert();
    dm->TZuzycieNumerFaktury->setAsString(QStringLiteral("FV/R1"));
    dm->TZuzycieIloscPaliwa->setAsFloat(12.5);
    EXPECT_EQ(odmowa(), "Musisz wybrać pojazd !!!");
    EXPECT_EQ(dm->TZuzycie->State(), kal::dsInsert);
    EXPECT_EQ(dm->TZuzycieNumerFaktury->AsString(), "FV/R1");
    EXPECT_DOUBLE_EQ(dm->TZuzycieIloscPaliwa->AsFloat(), 12.5);
    EXPECT_TRUE(import->Otwarty());
    EXPECT_TRUE(import->Log().isEmpty());
    EXPECT_FALSE(import->SaBledy);
    dm->TZuzycie->Cancel();
    EXPECT_TRUE(tankowania().empty());

    dm->TPojazdy->First();
    dm->TPojazdy->Edit();
    dm->TPojazdyNrRejestracyjny->setAsString(QString());
    EXPECT_EQ(odmowa(), "Numer rejestracyjny pojazdu musi być wprowadzony !!!");
    EXPECT_EQ(dm->TPojazdy->State(), kal::dsEdit);
    EXPECT_TRUE(import->Otwarty());
    EXPECT_TRUE(tankowania().empty());
    dm->TPojazdy->Cancel();

    dm->TZuzycie->Insert();
    dm->TZuzycieNumerFaktury->setAsString(QStringLiteral("FV/R1"));
    dm->TZuzycieIloscPaliwa->setAsFloat(12.5);
    dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(wa);
    dm->TZuzycieDataTankowania->setAsDateTime(QDate(2009, 7, 20));
    dm->TZuzycieRodzajPaliwa->setAsString(QStringLiteral("5"));
    EXPECT_FALSE(import->Importuj());
    QStringList faktury;
    for (const Tankowanie& t : tankowania())
        faktury << t.faktura;
    faktury.sort();
    EXPECT_EQ(faktury, QStringList({QStringLiteral("FV/1"), QStringLiteral("FV/2"), QStringLiteral("FV/R1")}));
}

// Registration numbers longer than the register's field (20 characters) in
// the sheet: each is compared as it can be stored, its first 20 characters
// with blanks ignored. A new vehicle is added and completed once, with the
// shortened number, and found for its later rows (written in lower case too);
// a vehicle already stored under the shortened number is found. Every row
// imports, and the log says once for each number that it was shortened.
class DlugieNumery : public ImportFloty {
protected:
    void sprawdz()
    {
        const int kr = pojazd(QStringLiteral("KR 98765432109876543"));
        const int gd = pojazd(QStringLiteral("GD 12345678901234567"));
        uzupelnij = [&] {
            dm->TPojazdyMarka->setAsString(QStringLiteral("Jelcz"));
            dm->TPojazdy->Post();
        };
        const QString a = QStringLiteral("WA 1234567890 1234567890 XYZ");
        const QString b = QStringLiteral("KR 98765432109876543210");
        // Only blanks beyond the 20th character: nothing to tell.
        const QString c = QStringLiteral("GD 12345678901234567      ");
        EXPECT_TRUE(importuj({
            {a, XlsEmpty{}, QStringLiteral("FV/1"), Dzien(7, 1), 10.0, 4.0, 1.0},
            {b, XlsEmpty{}, QStringLiteral("FV/2"), Dzien(7, 2), 20.0, 4.0, 1.0},
            {a.toLower(), XlsEmpty{}, QStringLiteral("FV/3"), Dzien(7, 3), 30.0, 4.0, 1.0},
            {b, XlsEmpty{}, QStringLiteral("FV/4"), Dzien(7, 4), 40.0, 4.0, 1.0},
            {c, XlsEmpty{}, QStringLiteral("FV/5"), Dzien(7, 5), 50.0, 4.0, 1.0},
        }));
        EXPECT_EQ(uzupelnien, 1);
        ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("Marka"), QStringLiteral("Jelcz")));
        EXPECT_EQ(dm->TPojazdyNrRejestracyjny->AsString(), "WA 1234567890 123456");
        const int wa = dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
        std::vector<std::pair<QString, int>> wiersze;
        for (const Tankowanie& t : tankowania())
            wiersze.emplace_back(t.faktura, t.pojazd);
        std::sort(wiersze.begin(), wiersze.end());
        EXPECT_EQ(wiersze, (std::vector<std::pair<QString, int>>{
                               {QStringLiteral("FV/1"), wa},
                               {QStringLiteral("FV/2"), kr},
                               {QStringLiteral("FV/3"), wa},
                               {QStringLiteral("FV/4"), kr},
                               {QStringLiteral("FV/5"), gd}}));
        EXPECT_EQ(bledy(),
                  QStringList({QStringLiteral("  Numer faktury: FV/1 data zakupu: 2009-07-01 numer rejestracyjny: ") + a,
                               QStringLiteral("  Numer rejestracyjny pojazdu dłuższy niż 20 znaków skrócono do: "
                                              "WA 1234567890 123456."),
                               kKreski,
                               QStringLiteral("  Numer faktury: FV/2 data zakupu: 2009-07-02 numer rejestracyjny: ") + b,
                               QStringLiteral("  Numer rejestracyjny pojazdu dłuższy niż 20 znaków skrócono do: "
                                              "KR 98765432109876543."),
                               kKreski}));
    }
};

TEST_F(DlugieNumery, TheTableScanComparesALongNumberAsItCanBeStored)
{
    sprawdz();
}

TEST_F(DlugieNumery, TheMemoryBufferComparesALongNumberAsItCanBeStored)
{
    bufor = true;
    sprawdz();
}

// ------------------------------------------------------------ stored together

// Forty rows of one vehicle in the register, invoices "F/0" to "F/39", the
// fuel of product group 1 bought in July; row 10 is of a vehicle the
// register does not know ("KR 5") and row 30 has no date (the fuel rule
// refuses it, and the log says so).
std::vector<Wiersz> CzterdziesciWierszy()
{
    std::vector<Wiersz> w;
    for (int i = 0; i < 40; ++i)
        w.push_back({i == 10 ? QStringLiteral("KR 5") : QStringLiteral("WA1"), XlsEmpty{},
                     QStringLiteral("F/%1").arg(i), Dzien(7, 1 + i % 28), 10.0 + i, 4.0, 1.0});
    w[30].data = XlsEmpty{};
    return w;
}

// A record the user typed in the fuel window, saved by the import before its
// first row.
void WpiszWlasneTankowanie(TDM& dm, int pojazd)
{
    dm.TZuzycie->Insert();
    dm.TZuzycieIdentyfikatorPojazdu->setAsInteger(pojazd);
    dm.TZuzycieDataTankowania->setAsDateTime(QDate(2009, 7, 20));
    dm.TZuzycieRodzajPaliwa->setAsString(QStringLiteral("5"));
    dm.TZuzycieIloscPaliwa->setAsFloat(12.5);
    dm.TZuzycieNumerFaktury->setAsString(QStringLiteral("FV/R1"));
}

// The program killed (as by a power cut) in the middle of an import, while
// the log takes the entry of row 30: the half-year file holds what it held
// when the import began (the user's own record, saved before the first row,
// and no row of the sheet) and passes the integrity check; the vehicle the
// user completed at row 10 is stored. Importing the file again then stores
// every row once.
TEST_F(ImportFloty, AnImportKilledInTheMiddleLeavesTheHalfYearAsItWasBefore)
{
    const int wa = pojazd(QStringLiteral("WA1"));
    import = std::make_unique<TImportFlotyLogika>();
    ASSERT_TRUE(import->Otworz(skoroszyt(CzterdziesciWierszy())));
    dm.reset(); // the child is the program now
    const int status = InChild([&] {
        dm = std::make_unique<TDM>();
        if (!dm->UstawZbiorZuzycia())
            return 1;
        WpiszWlasneTankowanie(*dm, wa);
        import->UzupelnijPojazd = [this] {
            dm->TPojazdyMarka->setAsString(QStringLiteral("Kia"));
            dm->TPojazdy->Post();
        };
        import->OnDopiszDoLogu = [](const QString& linia) {
            if (linia.contains(QStringLiteral("F/30")))
                ::kill(::getpid(), SIGKILL);
        };
        if (!import->SprawdzArkusz())
            return 2;
        import->Importuj();
        return 0;
    });
    ASSERT_TRUE(kal::test::KilledBySigkill(status)) << status;

    for (const char* plik : {"Zuz20092.db", "Pojazdy.db"})
        EXPECT_EQ(IntegrityCheck(katalog.file(QString::fromLatin1(plik))), QStringLiteral("ok")) << plik;
    dm = std::make_unique<TDM>();
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    auto t = tankowania();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].faktura, "FV/R1");
    EXPECT_DOUBLE_EQ(t[0].litry, 12.5);
    EXPECT_EQ(dm->TPojazdy->RecordCount(), 2);
    ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("NrRejestracyjny"), QStringLiteral("KR 5")));
    EXPECT_EQ(dm->TPojazdyMarka->AsString(), "Kia");

    // Once more, to the end: the vehicle is found, the 39 good rows stored once.
    EXPECT_TRUE(importuj(CzterdziesciWierszy()));
    EXPECT_EQ(uzupelnien, 0);
    EXPECT_EQ(tankowania().size(), 40u);
}

// A failure that no row step catches stops the import: none of the sheet's
// fuel records is stored (the ones imported before it are taken back, also
// from the fuel window's rows), the vehicle the user completed stays, the
// message box and the log say so, and the file can be imported again.
class PrzerwanyImport : public ImportFloty {
protected:
    void sprawdz()
    {
        pojazd(QStringLiteral("WA1"));
        const std::vector<Wiersz> wiersze = {
            {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F/1"), Dzien(7, 1), 10.0, 4.0, 1.0},
            {QStringLiteral("KR 1"), XlsEmpty{}, QStringLiteral("F/2"), Dzien(7, 2), 20.0, 4.0, 1.0},
            {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F/3"), Dzien(7, 3), 30.0, 4.0, 1.0},
            {QStringLiteral("KR 2"), XlsEmpty{}, QStringLiteral("F/4"), Dzien(7, 4), 40.0, 4.0, 1.0},
            {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F/5"), Dzien(7, 5), 50.0, 4.0, 1.0},
        };
        uzupelnij = [this] {
            if (dm->TPojazdyNrRejestracyjny->AsString() == u"KR 2")
                throw std::runtime_error("Za mało pamięci");
            dm->TPojazdyMarka->setAsString(QStringLiteral("Kia"));
            dm->TPojazdy->Post();
        };
        EXPECT_TRUE(importuj(wiersze));
        EXPECT_TRUE(tankowania().empty());
        EXPECT_EQ(dm->TZuzycie->RecordCount(), 0);
        EXPECT_EQ(dm->TPojazdy->RecordCount(), 2); // WA1 and KR 1
        EXPECT_EQ(dm->TPojazdy->State(), kal::dsBrowse);
        EXPECT_FALSE(import->Otwarty());
        ASSERT_EQ(dialogi.boxes().size(), 1u);
        EXPECT_EQ(dialogi.boxes()[0].text,
                  "Import FLOTY został przerwany:\nZa mało pamięci\n"
                  "Żadna pozycja FLOTY z tego pliku nie została zapisana.\n"
                  "Pojazdy dopisane do ewidencji w czasie importu (1) pozostały zapisane.\n"
                  "Po usunięciu przyczyny zaimportuj plik ponownie !!!");
        EXPECT_EQ(dialogi.boxes()[0].caption, "Kontrola FLOTY.");
        EXPECT_EQ(dialogi.boxes()[0].icon, kal::MsgIcon::Stop);
        EXPECT_EQ(dialogi.boxes()[0].buttons, unsigned(kal::MbOk));
        EXPECT_EQ(bledy(), QStringList({QStringLiteral("  Numer faktury: F/4 data zakupu: 2009-07-04 numer "
                                                       "rejestracyjny: KR 2"),
                                        QStringLiteral("  Import FLOTY został przerwany: Za mało pamięci\n"
                                                       "  Żadna pozycja FLOTY z tego pliku nie została zapisana.\n"
                                                       "  Pojazdy dopisane do ewidencji w czasie importu (1) "
                                                       "pozostały zapisane."),
                                        kKreski}));
        // What the window shows is what the file holds.
        dm.reset();
        dm = std::make_unique<TDM>();
        ASSERT_TRUE(dm->UstawZbiorZuzycia());
        EXPECT_TRUE(tankowania().empty());
        EXPECT_EQ(dm->TPojazdy->RecordCount(), 2);

        dialogi.clear();
        uzupelnij = [this] {
            dm->TPojazdyMarka->setAsString(QStringLiteral("Kia"));
            dm->TPojazdy->Post();
        };
        EXPECT_FALSE(importuj(wiersze));
        EXPECT_TRUE(dialogi.boxes().empty());
        QStringList faktury;
        for (const Tankowanie& x : tankowania())
            faktury << x.faktura;
        faktury.sort();
        EXPECT_EQ(faktury, QStringList({QStringLiteral("F/1"), QStringLiteral("F/2"), QStringLiteral("F/3"),
                                        QStringLiteral("F/4"), QStringLiteral("F/5")}));
    }
};

TEST_F(PrzerwanyImport, TheTableScanStoresNothingOfAStoppedImport)
{
    sprawdz();
}

TEST_F(PrzerwanyImport, TheMemoryBufferStoresNothingOfAStoppedImport)
{
    bufor = true;
    sprawdz();
}

// The disk file layer of the tests under the data module: every file the
// module opens from now on goes through it.
class ImportNaDysku : public ImportFloty {
protected:
    void SetUp() override
    {
        ImportFloty::SetUp();
        dm.reset();
        VfsShim::install();
        VfsShim::reset();
        dm = std::make_unique<TDM>();
        ASSERT_TRUE(dm->UstawZbiorZuzycia());
    }
    void TearDown() override
    {
        VfsShim::reset();
        ImportFloty::TearDown();
    }
};

// All the rows of an import are written to the disk together, with one sync,
// not one per row. (The half-year file already holds a record: SQLite syncs
// once more when a file's journal starts afresh.)
TEST_F(ImportNaDysku, TheRowsOfAnImportAreSyncedOnce)
{
    const int wa = pojazd(QStringLiteral("WA1"));
    pojazd(QStringLiteral("KR 5"));
    WpiszWlasneTankowanie(*dm, wa);
    dm->TZuzycie->Post();
    import = std::make_unique<TImportFlotyLogika>();
    ASSERT_TRUE(import->Otworz(skoroszyt(CzterdziesciWierszy())));
    ASSERT_TRUE(import->SprawdzArkusz());
    VfsShim::syncs = 0;
    EXPECT_TRUE(import->Importuj()); // row 30 is logged
    EXPECT_EQ(VfsShim::syncs, 1);
    EXPECT_EQ(tankowania().size(), 40u);
}

// The disk is full when the rows are stored: none of them is, and the user
// is told so, in the log after the last row's entry and in a message box.
TEST_F(ImportNaDysku, AFullDiskAtTheEndStoresNothingAndSaysSo)
{
    pojazd(QStringLiteral("WA1"));
    import = std::make_unique<TImportFlotyLogika>();
    import->OnDopiszDoLogu = [](const QString& linia) {
        if (linia.contains(QStringLiteral("F/2")))
            VfsShim::diskFull = true;
    };
    ASSERT_TRUE(import->Otworz(skoroszyt({
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F/1"), Dzien(7, 1), 10.0, 4.0, 1.0},
        {QStringLiteral("WA1"), XlsEmpty{}, QStringLiteral("F/2"), Dzien(6, 30), 20.0, 4.0, 1.0},
    })));
    ASSERT_TRUE(import->SprawdzArkusz());
    EXPECT_TRUE(import->Importuj());
    VfsShim::diskFull = false;
    EXPECT_EQ(dm->TZuzycie->RecordCount(), 0);
    const QString pelny = QStringLiteral("Brak miejsca na dysku: nie można zapisać zbioru danych Zuz20092.db");
    EXPECT_EQ(dialogi.texts(), QStringList({QStringLiteral("Import FLOTY został przerwany:\n") + pelny +
                                            QStringLiteral("\nŻadna pozycja FLOTY z tego pliku nie została zapisana.\n"
                                                           "Po usunięciu przyczyny zaimportuj plik ponownie !!!")}));
    const QStringList log = bledy();
    ASSERT_EQ(log.size(), 5);
    EXPECT_EQ(log[0], QStringLiteral("  Numer faktury: F/2 data zakupu: 2009-06-30 numer rejestracyjny: WA1"));
    EXPECT_EQ(log[3], QStringLiteral("  Import FLOTY został przerwany: ") + pelny +
                          QStringLiteral("\n  Żadna pozycja FLOTY z tego pliku nie została zapisana."));
    EXPECT_EQ(log[4], kKreski);
    dm.reset();
    dm = std::make_unique<TDM>();
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    EXPECT_TRUE(tankowania().empty());
}
