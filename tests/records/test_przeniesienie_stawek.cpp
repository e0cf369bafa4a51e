// The rates a new half-year starts with: those of the latest rate row, of
// whichever company, never those of an older one.

#include "DataDir.h"

#include <gtest/gtest.h>

namespace {

class PrzeniesienieStawek : public kal::test::DataDir {
protected:
    // Opens the current period's statement rows and gives its rates the
    // values `d` (table D column 1a) and `c` (table C position I1).
    void stawkiOkresu(double d, double c)
    {
        ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
        dm->TStawkiTabD->Edit();
        dm->TStawkiTabDBDEDesigner1a->setAsFloat(d);
        dm->TStawkiTabD->Post();
        dm->TStawkiTabC->Edit();
        dm->TStawkiTabCI1->setAsFloat(c);
        dm->TStawkiTabC->Post();
    }
};

} // namespace

TEST_F(PrzeniesienieStawek, ANewHalfYearTakesTheRatesOfTheLatestPeriodNotOfTheFirst)
{
    firmaIOkres(2009, 1);
    stawkiOkresu(10.5, 1.25);
    firmaIOkres(2009, 2);
    stawkiOkresu(20.75, 2.5);

    firmaIOkres(2010, 1);
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    EXPECT_DOUBLE_EQ(dm->TStawkiTabDBDEDesigner1a->AsFloat(), 20.75);
    EXPECT_DOUBLE_EQ(dm->TStawkiTabCI1->AsFloat(), 2.5);
    EXPECT_TRUE(dialogi.boxes().empty());
}

TEST_F(PrzeniesienieStawek, TheLatestRatesComeFromAnyCompany)
{
    firma(QStringLiteral("Alfa"));
    okres(2009, 1);
    stawkiOkresu(10.5, 1.25);
    firma(QStringLiteral("Beta"));
    okres(2009, 1);
    stawkiOkresu(30.25, 3.75);

    // Back to the first company: its next half-year takes the rates that
    // the second company entered last.
    ASSERT_TRUE(dm->TFirma->Locate(QStringLiteral("Nazwa1"), QStringLiteral("Alfa")));
    okres(2009, 2);
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    EXPECT_DOUBLE_EQ(dm->TStawkiTabDBDEDesigner1a->AsFloat(), 30.25);
    EXPECT_DOUBLE_EQ(dm->TStawkiTabCI1->AsFloat(), 3.75);
}
