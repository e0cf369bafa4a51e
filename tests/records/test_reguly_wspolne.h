#pragma once
// Shared ground of the entry-rule tests: a data module on a new data
// directory, a company and its period, posted vehicles, the text of the rule
// exception an action raises, and raw writes that go past the module's
// handlers (a second table component on the same file, with no events).

#include "Dane.h"
#include "Schemat.h"

#include "Clock.h"
#include "ScriptedDialogs.h"
#include "TestDir.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>

class Reguly : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(Schemat::UtworzKatalogDanych(katalog.path()), QString());
        staryTemp = qgetenv("TEMP");
        qputenv("TEMP", temp.path().toLocal8Bit());
        kal::SetTodayForTests(QDate(2009, 6, 12));
        dm = std::make_unique<TDM>();
    }
    void TearDown() override
    {
        dm.reset();
        kal::SetTodayForTests(QDate());
        qputenv("TEMP", staryTemp);
    }

    void firma(const QString& nazwa = QStringLiteral("Ruvelkon sp. z o.o."))
    {
        dm->TFirma->Insert();
        dm->TFirmaNazwa1->setAsString(nazwa);
        dm->TFirma->Post();
    }

    // A posted period of the current company, with its half-year's fuel file.
    void okres(int rok, int polrocze)
    {
        if (dm->TFirma->IsEmpty())
            firma();
        dm->TOkres->Insert();
        dm->TOkresRok->setAsInteger(rok);
        dm->TOkresPolrocze->setAsInteger(polrocze);
        dm->TOkres->Post();
        ASSERT_TRUE(dm->UstawZbiorZuzycia());
    }

    int pojazd(const QString& nr, const QString& rodzaj = QStringLiteral("1"))
    {
        dm->TPojazdy->Insert();
        dm->TPojazdyRodzajPojazdu->setAsString(rodzaj);
        dm->TPojazdyNrRejestracyjny->setAsString(nr);
        dm->TPojazdy->Post();
        return dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    }

    // The message of the rule exception raised by `akcja`; "<abort>" for the
    // silent abort, "" when nothing is raised.
    static QString komunikat(const std::function<void()>& akcja)
    {
        try {
            akcja();
        } catch (const kal::EAbort&) {
            return QStringLiteral("<abort>");
        } catch (const kal::Exception& e) {
            return e.message();
        }
        return {};
    }

    // Changes the first row of `plik` whose `pole` equals `klucz` (or, with
    // an empty `pole`, the first row) past every handler of the module.
    static void zapiszSurowo(const QString& plik, const QString& pole, const QVariant& klucz,
                             const std::function<void(kal::TTable&)>& zmien)
    {
        kal::TTable t;
        t.setTableName(plik);
        t.Open();
        if (!pole.isEmpty()) {
            ASSERT_TRUE(t.Locate(pole, QVariantList{klucz}));
        } else {
            t.First();
        }
        t.Edit();
        zmien(t);
        t.Post();
        t.Close();
    }

    // The one box shown so far: its text and caption, with the stop icon and OK.
    void jednoOkno(const QString& tekst, const QString& tytul)
    {
        ASSERT_EQ(dialogi.boxes().size(), 1u) << dialogi.texts().join('|').toStdString();
        const auto box = dialogi.boxes()[0];
        EXPECT_EQ(box.text, tekst);
        EXPECT_EQ(box.caption, tytul);
        EXPECT_EQ(box.icon, kal::MsgIcon::Stop);
        EXPECT_EQ(box.buttons, unsigned(kal::MbOk));
    }

    // A refused post of a duplicate key: one box whose text is the table's
    // text, the two fixed lines and the engine's own (non-empty) reason.
    void bladZapisu(kal::TTable* t, const QString& tekst)
    {
        dialogi.clear();
        EXPECT_THROW(t->Post(), kal::EAbort);
        ASSERT_EQ(dialogi.boxes().size(), 1u) << dialogi.texts().join('|').toStdString();
        const auto box = dialogi.boxes()[0];
        const QString poczatek = tekst + QStringLiteral("\nDokładna specyfikacja błędu:\n");
        EXPECT_TRUE(box.text.startsWith(poczatek)) << box.text.toStdString();
        EXPECT_GT(box.text.size(), poczatek.size());
        EXPECT_EQ(box.caption, QStringLiteral("Błąd komponentu: ") + t->Name());
        EXPECT_EQ(box.icon, kal::MsgIcon::Stop);
        EXPECT_EQ(box.buttons, unsigned(kal::MbOk));
        EXPECT_EQ(t->State(), kal::dsInsert);
        t->Cancel();
    }

    kal::test::TestDir katalog;
    QTemporaryDir temp;
    QByteArray staryTemp;
    kal::test::ScriptedDialogs dialogi;
    std::unique_ptr<TDM> dm;
};
