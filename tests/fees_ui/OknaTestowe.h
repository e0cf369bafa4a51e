#pragma once
// The statement windows on a data directory made by the new-data-directory
// routine, with a company and the first half of 2009 as the current period,
// the scripted dialog seam, and a previewer and a printer that record.

#include "Dane.h"
#include "FunkcjeSrodowiska.h"
#include "GminaTabC.h"
#include "Schemat.h"
#include "TabelaC.h"
#include "TabelaD.h"
#include "WydrukiZestawienia.h"
#include "Zalacznik1.h"
#include "ZuzycieKotla.h"

#include "Clock.h"
#include "Printer.h"
#include "Report.h"
#include "ScriptedDialogs.h"
#include "TestDir.h"

#include "platform/ui/Application.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/QtDialogs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace okna_test {

// Records the previews: the report and its title; nothing is run.
class Podglad final : public kal::report::IPreviewer {
public:
    Podglad() { kal::report::SetPreviewer(this); }
    ~Podglad() override { kal::report::SetPreviewer(nullptr); }
    void showPreview(kal::report::Report& raport) override
    {
        raporty.push_back(&raport);
        tytuly << raport.title;
    }
    std::vector<kal::report::Report*> raporty;
    QStringList tytuly;
};

// Records the print jobs.
class Drukarka final : public kal::report::IPrinter {
public:
    Drukarka() { kal::report::SetPrinter(this); }
    ~Drukarka() override { kal::report::SetPrinter(nullptr); }
    void print(const kal::report::PageModel&, const kal::report::PrintJob& job) override { zadania.push_back(job); }
    std::vector<kal::report::PrintJob> zadania;
};

// Types `tekst` into the edit key by key, as the user does, and hands it to
// the field as leaving the edit does.
inline void Wpisz(kal::TDBEdit* e, const QString& tekst)
{
    ASSERT_NE(e, nullptr);
    e->selectAll();
    for (QChar c : tekst) {
        QKeyEvent k(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(e, &k);
    }
    e->UpdateRecord();
}

class Okna : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(Schemat::UtworzKatalogDanych(katalog.path()), QString());
        staryTemp = qgetenv("TEMP");
        qputenv("TEMP", temp.path().toLocal8Bit());
        kal::SetTodayForTests(QDate(2009, 6, 12));
        dm = std::make_unique<TDM>();
        InicjalizujFunkcjeSrodowiska();
        UtworzWydrukiZestawienia(*dm);

        dm->TFirma->Insert();
        dm->TFirmaNazwa1->setAsString(QStringLiteral("Ruvelkon sp. z o.o."));
        dm->TFirma->Post();
        dm->TOkres->Insert();
        dm->TOkresRok->setAsInteger(2009);
        dm->TOkresPolrocze->setAsInteger(1);
        dm->TOkres->Post();

        zalacznik = std::make_unique<TFZalacznik1>();
        tabelaD = std::make_unique<TFTabelaD>();
        tabelaC = std::make_unique<TFTabelaC>();
        gminy = std::make_unique<TFGminaDoTabeliC>();
        zuzycieKotla = std::make_unique<TFZuzycieKotla>();
    }
    void TearDown() override
    {
        zuzycieKotla.reset();
        gminy.reset();
        tabelaC.reset();
        tabelaD.reset();
        zalacznik.reset();
        ZwolnijWydrukiZestawienia();
        ZwolnijFunkcjeSrodowiska();
        dm.reset();
        kal::SetTodayForTests(QDate());
        qputenv("TEMP", staryTemp);
    }

    kal::TField* PoleD(const char* n) const { return dm->TTabelaD->FieldByName(QString::fromLatin1(n)); }
    kal::TField* StawkaD(const char* n) const { return dm->TStawkiTabD->FieldByName(QString::fromLatin1(n)); }
    kal::TField* PoleC(const char* n) const { return dm->TTabelaC->FieldByName(QString::fromLatin1(n)); }
    kal::TField* StawkaC(const char* n) const { return dm->TStawkiTabC->FieldByName(QString::fromLatin1(n)); }

    // Writes and posts one value of a period row (the rows exist once the
    // statement rows have been ensured).
    void Zapisz(kal::TTable* t, const char* pole, double wartosc)
    {
        t->Edit();
        t->FieldByName(QString::fromLatin1(pole))->setAsFloat(wartosc);
        t->Post();
    }

    // A table C row for a commune; the current row afterwards.
    void Gmina(const QString& nazwa)
    {
        dm->TTabelaC->Insert();
        dm->TTabelaC->FieldByName(QStringLiteral("NazwaGminy"))->setAsString(nazwa);
        dm->TTabelaC->Post();
    }

    kal::test::TestDir katalog;
    QTemporaryDir temp;
    QByteArray staryTemp;
    kal::test::ScriptedDialogs dialogi;
    Podglad podglad;
    Drukarka drukarka;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TFZalacznik1> zalacznik;
    std::unique_ptr<TFTabelaD> tabelaD;
    std::unique_ptr<TFTabelaC> tabelaC;
    std::unique_ptr<TFGminaDoTabeliC> gminy;
    std::unique_ptr<TFZuzycieKotla> zuzycieKotla;
};

} // namespace okna_test
