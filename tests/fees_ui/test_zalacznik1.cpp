// The "Załącznik nr 1" window: its labels, caption, totals, printout and the
// posting of typed values.

#include "OknaTestowe.h"

#include "WydrukZalacznik1.h"

#include "platform/ui/DBControls.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace okna_test;

namespace {

bool MaNapis(const QWidget* okno, const QString& tekst)
{
    for (const QLabel* l : okno->findChildren<QLabel*>())
        if (l->text() == tekst)
            return true;
    return false;
}

} // namespace

TEST_F(Okna, AnnexShowsItsLabelsAndTotalsAndPrints)
{
    EXPECT_EQ(zalacznik->windowTitle(), QStringLiteral("Załącznik nr 1"));
    EXPECT_TRUE(MaNapis(zalacznik.get(), QStringLiteral("3.2 . Wody chłodnicze")));
    EXPECT_TRUE(MaNapis(zalacznik.get(),
                        QStringLiteral("3.1.6. Wody wykorzystywane, odprowadzone z obiektów chowu  lub hodowli ryb "
                                       "łososiowatych")));
    EXPECT_TRUE(MaNapis(zalacznik.get(), QStringLiteral("niż łososiowate lub innych organizmów wodnych")));
    EXPECT_TRUE(MaNapis(zalacznik.get(), QStringLiteral("Wysokość opłaty [zł]")));
    auto* memo = zalacznik->findChild<QPlainTextEdit*>(QStringLiteral("MemoP13"));
    ASSERT_NE(memo, nullptr);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->toPlainText().split(QLatin1Char('\n')).size(), 4);
    EXPECT_EQ(zalacznik->DBEdit1->DataField(), QStringLiteral("P11"));
    EXPECT_EQ(zalacznik->Edycja(QStringLiteral("Rezerwa1"))->objectName(), QStringLiteral("DBEdit14"));

    dialogi.answerPrinter(true);
    dialogi.onModal = [&](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Załącznik nr 1 za półrocze: 1 2009 roku."));
        Wpisz(zalacznik->Edycja(QStringLiteral("P11")), QStringLiteral("10,5"));
        Wpisz(zalacznik->Edycja(QStringLiteral("P15")), QStringLiteral("2"));
        Wpisz(zalacznik->Edycja(QStringLiteral("P42")), QStringLiteral("7"));
        zalacznik->BitBDrukPrzMonitor->click();
        EXPECT_EQ(dm->TZalacznik1->State(), kal::dsBrowse);
        zalacznik->BitBDrukPrzDrukarka->click();
        // Section totals are whole złoty: 10.5 + 2 = 12.5 -> 13.
        EXPECT_EQ(zalacznik->Suma(QStringLiteral("PI"))->text(), QStringLiteral("13"));
        EXPECT_EQ(zalacznik->Suma(QStringLiteral("PIV"))->text(), QStringLiteral("7"));
        Wpisz(zalacznik->Edycja(QStringLiteral("P21")), QStringLiteral("1"));
        return int(TOknoRejestru::mrCancel);
    };
    EXPECT_EQ(zalacznik->Pokaz(), TOknoRejestru::mrCancel);
    EXPECT_EQ(dm->TZalacznik1->State(), kal::dsBrowse);
    EXPECT_EQ(dm->TZalacznik1->FieldByName(QStringLiteral("P21"))->AsFloat(), 1.0);
    EXPECT_EQ(podglad.tytuly, QStringList{QStringLiteral("Wydruk załącznika nr 1 za półrocze: 1 2009 roku.")});
    ASSERT_EQ(podglad.raporty.size(), 1u);
    EXPECT_EQ(podglad.raporty[0], static_cast<kal::report::Report*>(QRZalacznik1));
    ASSERT_EQ(drukarka.zadania.size(), 1u);
    EXPECT_EQ(drukarka.zadania[0].title, QStringLiteral("Wydruk załącznika nr 1 za półrocze: 1 2009 roku."));
}

TEST_F(Okna, SecondHalfYearInCaptions)
{
    dm->TOkres->Insert();
    dm->TOkresRok->setAsInteger(2009);
    dm->TOkresPolrocze->setAsInteger(2);
    dm->TOkres->Post();
    kal::SetTodayForTests(QDate(2009, 11, 2));
    QStringList podpisy;
    dialogi.onModal = [&](QWidget* w) {
        podpisy << w->windowTitle();
        return int(TOknoRejestru::mrCancel);
    };
    zalacznik->Pokaz();
    tabelaD->Pokaz();
    Gmina(QStringLiteral("Alfa"));
    tabelaC->Pokaz();
    EXPECT_EQ(podpisy, (QStringList{QStringLiteral("Załącznik nr 1 za półrocze: 2 2009 roku."),
                                    QStringLiteral("TABELA D za półroczerr: 2 2009 roku."),
                                    QStringLiteral("TABELA C za półrocze: 2 2009 roku.")}));
}

TEST_F(Okna, EscClosesAStatementWindow)
{
    bool zamkniete = false;
    dialogi.onModal = [&](QWidget* w) {
        w->show();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(tabelaD->DBEdit1, &esc);
        zamkniete = !w->isVisible();
        return kal::ModalResult(w);
    };
    EXPECT_EQ(tabelaD->Pokaz(), TOknoRejestru::mrCancel);
    EXPECT_TRUE(zamkniete);
}
