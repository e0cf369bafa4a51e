#pragma once
// The printouts' fixtures: a data directory made by the data-directory
// routine, the data module on it with one company and its first half-year
// of 2009, the program's report forms, a recording printer and scripted
// dialogs; and the table A data of the period built through the module's
// own rules.

#include "DaneWydrukow.h"

#include "DataDir.h"
#include "Printer.h"
#include "WydrukiZestawienia.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace testy {

class Drukarka final : public kal::report::IPrinter {
public:
    Drukarka() { kal::report::SetPrinter(this); }
    ~Drukarka() override { kal::report::SetPrinter(nullptr); }
    void print(const kal::report::PageModel& strony, const kal::report::PrintJob& zadanie) override
    {
        zadania.push_back(zadanie);
        wydruki.push_back(strony);
    }
    std::vector<kal::report::PrintJob> zadania;
    std::vector<kal::report::PageModel> wydruki;
};

// The data module on a new data directory with the program's report forms,
// a company and its first half-year of 2009 (annexes open) and a recording
// printer. A derived fixture may post a fuller company.
struct ModulZWydrukami : kal::test::DataDir {
    Drukarka drukarka;

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DataDir::SetUp());
        UtworzWydrukiZestawienia(*dm);
        FirmaTestowa();
        okres();
        ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    }
    void TearDown() override
    {
        ZwolnijWydrukiZestawienia();
        DataDir::TearDown();
    }

    virtual void FirmaTestowa() { firma(); }

    // Sets float fields of the current record of `t` and posts it.
    static void Ustaw(kal::TTable* t, const std::vector<std::pair<QString, double>>& wartosci)
    {
        t->Edit();
        for (const auto& [pole, v] : wartosci)
            t->FieldByName(pole)->setAsFloat(v);
        t->Post();
    }
};

// The same with the company's second name, address and REGON filled in, and
// the table A data of the period.
struct ModulTestowy : ModulZWydrukami {
    void FirmaTestowa() override
    {
        dm->TFirma->Insert();
        dm->TFirmaNazwa1->setAsString(NazwaFirmy());
        dm->TFirmaNazwa2->setAsString(QStringLiteral("  Oddział Poznań "));
        dm->TFirmaAdres1->setAsString(QStringLiteral("ul. Rzemieślnicza 5 "));
        dm->TFirmaAdres2->setAsString(QStringLiteral("61-100 Poznań"));
        dm->TFirmaREGON->setAsString(QStringLiteral("630112233"));
        dm->TFirma->Post();
    }

    // ---- table A dictionaries and rows; each returns the new row's id.
    int Gmina(const QString& nazwa)
    {
        dm->TGminy->Insert();
        dm->TGminyNazwaGminy->setAsString(nazwa);
        dm->TGminy->Post();
        return dm->TGminyIdentyfikatorGminy->AsInteger();
    }
    int Substancja(const QString& nazwa, const QString& kod, double stawka)
    {
        dm->TSubsatncje->Insert();
        dm->TSubsatncjeNazwaSubstancji->setAsString(nazwa);
        dm->TSubsatncjeKodSubstancji->setAsString(kod);
        dm->TSubsatncjeJednostkowaStawka->setAsFloat(stawka);
        dm->TSubsatncje->Post();
        return dm->TSubsatncjeIdentyfikatorSubstancju->AsInteger();
    }
    int Zrodlo(const QString& rodzaj, const QString& adres, double moc, const QString& urzadzenie,
               const QString& pozwolenie, const QDate& termin)
    {
        dm->TZrodla->Insert();
        dm->TZrodlaRodzajInstalacji->setAsString(rodzaj);
        if (!adres.isEmpty())
            dm->TZrodlaAdres->setAsString(adres);
        dm->TZrodlaNominalnaMocCieplna->setAsFloat(moc);
        dm->TZrodlaRodzajUrzadzeniaOchronneg->setAsString(urzadzenie);
        dm->TZrodlaPozwoleniezData->setAsString(pozwolenie);
        dm->TZrodlaTerminObowiazywania->setAsDateTime(termin);
        dm->TZrodla->Post();
        return dm->TZrodlaIdentyfikator->AsInteger();
    }
    // A commune row of the period (a place of use); it stays current.
    void GminaTabA(int gmina, const QString& adres, const QString& powiat)
    {
        dm->TTabelaAGmina->Insert();
        dm->TTabelaAGminaIdentyfikatorGminy->setAsInteger(gmina);
        if (!adres.isEmpty())
            dm->TTabelaAGminaAdres->setAsString(adres);
        dm->TTabelaAGminaPowiat->setAsString(powiat);
        dm->TTabelaAGmina->Post();
    }
    // A source row of the current commune row; it stays current.
    void ZrodloTabA(int zrodlo, const QString& surowce, double ilosc)
    {
        dm->TTabelaAZrodla->Insert();
        dm->TTabelaAZrodlaIdentyfikatorZrodla->setAsInteger(zrodlo);
        dm->TTabelaAZrodlaNazwaSurowcow->setAsString(surowce);
        dm->TTabelaAZrodlaIlosc->setAsFloat(ilosc);
        dm->TTabelaAZrodla->Post();
    }
    void SubstancjaTabA(int substancja, double wskaznik, double stawka)
    {
        dm->TTabelaASubstancje->Insert();
        dm->TTabelaASubstancjeIdentyfikatorSubstancji->setAsInteger(substancja);
        dm->TTabelaASubstancjeWskaznikEmisji->setAsFloat(wskaznik);
        dm->TTabelaASubstancjeJednostkowaStawka->setAsFloat(stawka);
        dm->TTabelaASubstancje->Post();
    }
    void PaliwoTabA(const QString& rodzaj, double zuzycie, double wartosc, double popiol, double siarka)
    {
        dm->TTabelaAPaliwa->Insert();
        dm->TTabelaAPaliwaRodzajPaliwa->setAsString(rodzaj);
        dm->TTabelaAPaliwaZuzycie->setAsFloat(zuzycie);
        dm->TTabelaAPaliwaWartoscOpalowa->setAsFloat(wartosc);
        dm->TTabelaAPaliwaZawartoscPopiolu->setAsFloat(popiol);
        dm->TTabelaAPaliwaZawartoscSiarki->setAsFloat(siarka);
        dm->TTabelaAPaliwa->Post();
    }

    // The table A of the period used by the tests. By the commune index
    // (commune, then place), the sources print in this order:
    //   Kórnik, ul. Długa 7:  boiler house, 1 Mg coal;   SO2 2 kg/Mg at 0,45 -> 2 kg, 0,90 zł
    //   Kórnik, ul. Leśna 1:  boiler house, 120 Mg coal; SO2 2,5 at 0,45 -> 300 kg, 135 zł;
    //                         dust 0,1234 at 0,30 -> 14,808 = 14,81 kg, 4,443 = 4,44 zł; sum 139,44
    //   Swarzędz (no place address): paint shop without address, 10 Mg paint;
    //                         SO2 1,001 at 0,45 -> 10,01 kg, 4,5045 = 4,50 zł
    // Kórnik 140,34, Swarzędz 4,50, total 144,84.
    struct IdTabA {
        int kornik, swarzedz, so2, pyl, kotlownia, lakiernia;
    };
    IdTabA DaneTabeliA(bool zPaliwem = true)
    {
        IdTabA id{};
        id.kornik = Gmina(QStringLiteral("Kórnik"));
        id.swarzedz = Gmina(QStringLiteral("Swarzędz"));
        id.so2 = Substancja(QStringLiteral("dwutlenek siarki"), QStringLiteral("7446-09-5"), 0.45);
        id.pyl = Substancja(QStringLiteral("pył ogółem"), QStringLiteral("PM"), 0.3);
        id.kotlownia = Zrodlo(QStringLiteral("Kotłownia"), QStringLiteral("ul. Polna 3"), 0.5, QStringLiteral("cyklon"),
                              QStringLiteral("OŚ 12/2008 Starosta"), QDate(2015, 12, 31));
        id.lakiernia = Zrodlo(QStringLiteral("Lakiernia"), QString(), 0, QStringLiteral("filtr"),
                              QStringLiteral("OŚ 7/2007 Wojewoda"), QDate(2012, 6, 30));

        GminaTabA(id.kornik, QStringLiteral("ul. Leśna 1"), QStringLiteral("poznański"));
        ZrodloTabA(id.kotlownia, QStringLiteral("węgiel"), 120);
        SubstancjaTabA(id.so2, 2.5, 0.45);
        SubstancjaTabA(id.pyl, 0.1234, 0.3);
        if (zPaliwem)
            PaliwoTabA(QStringLiteral("węgiel kamienny"), 12.5, 23000, 12, 0.8);

        GminaTabA(id.swarzedz, QString(), QStringLiteral("poznański"));
        ZrodloTabA(id.lakiernia, QStringLiteral("farba"), 10);
        SubstancjaTabA(id.so2, 1.001, 0.45);

        GminaTabA(id.kornik, QStringLiteral("ul. Długa 7"), QStringLiteral("poznański"));
        ZrodloTabA(id.kotlownia, QStringLiteral("węgiel"), 1);
        SubstancjaTabA(id.so2, 2, 0.45);
        return id;
    }
};

} // namespace testy
