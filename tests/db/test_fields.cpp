// Field components: values, conversions, texts, field events, write states.
#include "Collation.h"
#include "DbSchema.h"
#include "Storage.h"
#include "Exceptions.h"
#include "TestDir.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::TestDir;
using kal::test::Towns;

namespace {

class FieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kal::test::CreateTowns();
        towns.T.Open();
    }
    TestDir dir;
    Towns towns;
};

TEST(Collation, PolishAlphabetCaseInsensitiveDigitsFirst)
{
    QStringList names{"Łódź", "Lublin", "Zabrze", "Żary", "ąb", "Ab"};
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return ComparePolish(a, b) < 0; });
    EXPECT_EQ(names, (QStringList{"Ab", "ąb", "Lublin", "Łódź", "Zabrze", "Żary"}));
    EXPECT_EQ(ComparePolish("KOŁO", "koło"), 0);
    EXPECT_LT(ComparePolish("Zuzia", "Źdźbło"), 0);
    EXPECT_LT(ComparePolish("Źdźbło", "Żaba"), 0);
    EXPECT_LT(ComparePolish("9 Maja", "Adam"), 0);
    EXPECT_LT(ComparePolish("A B", "AB"), 0); // a blank before a letter
    EXPECT_LT(ComparePolish("Ab", "Abc"), 0);
    EXPECT_LT(ComparePolish("Cukier", "Ćma"), 0);
    EXPECT_LT(ComparePolish("Ćma", "Dom"), 0);
}

// The index order (byte order of the stored sort keys) must be the order of
// ComparePolish for every pair of texts.
TEST(Collation, StoredSortKeysOrderLikeComparePolish)
{
    const QString alphabet = QStringLiteral("aAąĄbcćCĆeęEĘlłŁLnńoóOÓsśzźżŻ 09-./éü");
    std::vector<QString> texts;
    quint32 seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int i = 0; i < 400; ++i) {
        QString t;
        const int len = int(next() % 5);
        for (int k = 0; k < len; ++k)
            t += alphabet.at(int(next() % unsigned(alphabet.size())));
        texts.push_back(t);
    }
    for (const QString& a : texts)
        for (const QString& b : texts) {
            const int byCompare = ComparePolish(a, b);
            const int byKey = PolishSortKey(a).compare(PolishSortKey(b));
            ASSERT_EQ(byCompare < 0, byKey < 0) << a.toStdString() << " / " << b.toStdString();
            ASSERT_EQ(byCompare == 0, byKey == 0) << a.toStdString() << " / " << b.toStdString();
        }
}

TEST_F(FieldTest, AlphaIsCutToSizeAndEmptyIsNull)
{
    towns.T.Append();
    towns.Nazwa->setAsString("Konstantynów Łódzki");
    EXPECT_EQ(towns.Nazwa->AsString(), "Konstantynów");
    towns.Nazwa->setAsString("");
    EXPECT_TRUE(towns.Nazwa->IsNull());
    towns.Kwota->setAsFloat(0.0);
    EXPECT_FALSE(towns.Kwota->IsNull());
    towns.Kwota->Clear();
    EXPECT_TRUE(towns.Kwota->IsNull());
    EXPECT_EQ(towns.Kwota->AsFloat(), 0.0);
    EXPECT_EQ(towns.Kwota->AsString(), "");
    towns.T.Post();
    towns.T.First();
    EXPECT_TRUE(towns.Nazwa->IsNull());
    EXPECT_TRUE(towns.Kwota->IsNull());
}

TEST_F(FieldTest, FloatTextKeepsFullPrecisionWithDecimalComma)
{
    towns.T.Append();
    towns.Kwota->setAsFloat(1234.5678901234);
    EXPECT_EQ(towns.Kwota->AsString(), "1234,5678901234");
    towns.Kwota->setAsString("0,1");
    EXPECT_EQ(towns.Kwota->AsFloat(), 0.1);
    towns.Kwota->setAsString("1 234,25");
    EXPECT_EQ(towns.Kwota->AsFloat(), 1234.25);
    towns.T.Post();
    towns.T.First();
    EXPECT_EQ(towns.Kwota->AsString(), "1234,25");
}

TEST_F(FieldTest, ConversionErrorsNameTheText)
{
    towns.T.Append();
    try {
        towns.Kwota->setAsString("abc");
        FAIL() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.message(), "'abc' nie jest poprawną liczbą.");
    }
    try {
        towns.Ilosc->setAsString("1,5");
        FAIL() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.message(), "'1,5' nie jest poprawną liczbą całkowitą.");
    }
    try {
        towns.Data->setAsString("2009-02-30");
        FAIL() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.message(), "'2009-02-30' nie jest poprawną datą.");
    }
    EXPECT_THROW(towns.Kwota->setAsString("inf"), EConvertError);
    EXPECT_TRUE(towns.Kwota->IsNull()); // nothing was stored
    EXPECT_THROW(towns.Ilosc->setAsInteger(40000), EDatabaseError);
}

// Whole numbers written as floats are rounded half away from zero; one
// beyond the field's range is refused with the range in the message, however
// large it is, and so is reading a huge float as an integer.
TEST_F(FieldTest, WholeNumbersFromFloatsStayInTheirRange)
{
    towns.T.Append();
    towns.Ilosc->setAsFloat(32767.4);
    EXPECT_EQ(towns.Ilosc->AsInteger(), 32767);
    auto refused = [&](double value) {
        try {
            towns.Ilosc->setAsFloat(value);
        } catch (const EDatabaseError& e) {
            return e.message();
        }
        return QStringLiteral("accepted");
    };
    EXPECT_EQ(refused(-32768.5), "-32769 nie jest poprawną wartością pola 'Ilosc'. Dozwolony zakres to -32768 do 32767");
    EXPECT_EQ(refused(1e19),
              "10000000000000000000 nie jest poprawną wartością pola 'Ilosc'. Dozwolony zakres to -32768 do 32767");
    EXPECT_EQ(refused(-1e300).left(8), "-1000000");
    EXPECT_EQ(towns.Ilosc->AsInteger(), 32767); // kept

    towns.Kwota->setAsFloat(2.5);
    EXPECT_EQ(towns.Kwota->AsInteger(), 3);
    towns.Kwota->setAsFloat(-2.5);
    EXPECT_EQ(towns.Kwota->AsInteger(), -3);
    towns.Kwota->setAsFloat(3e9);
    try {
        (void)towns.Kwota->AsInteger();
        FAIL() << "no range error";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(),
                  "3000000000 nie jest poprawną wartością pola 'Kwota'. Dozwolony zakres to -2147483648 do 2147483647");
    }
}

TEST_F(FieldTest, DatesAndBooleans)
{
    towns.T.Append();
    towns.Data->setAsString("2009-3-5");
    EXPECT_EQ(towns.Data->AsDateTime(), QDate(2009, 3, 5));
    EXPECT_EQ(towns.Data->AsString(), "2009-03-05");
    EXPECT_EQ(towns.Data->DisplayText(), "2009-03-05");
    towns.Data->setAsDateTime(QDate());
    EXPECT_TRUE(towns.Data->IsNull());
    EXPECT_FALSE(towns.Data->AsDateTime().isValid());
    towns.Aktywne->setAsBoolean(true);
    EXPECT_EQ(towns.Aktywne->AsString(), "True");
    towns.T.Post();
    towns.T.First();
    EXPECT_TRUE(towns.Aktywne->AsBoolean());
    EXPECT_TRUE(towns.Data->IsNull());
}

TEST_F(FieldTest, DisplayTextUsesDisplayFormatAndOnGetText)
{
    towns.Kwota->setDisplayFormat("# ### ##0.00# ### ###");
    towns.T.Append();
    towns.Kwota->setAsFloat(1234567.5);
    EXPECT_EQ(towns.Kwota->DisplayText(), "1 234 567,50");
    EXPECT_EQ(towns.Kwota->Text(), "1234567,5");
    towns.Ilosc->OnGetText = [](TField& f, QString& text, bool display) {
        text = display ? QStringLiteral("szt. %1").arg(f.AsInteger()) : QString::number(f.AsInteger());
    };
    towns.Ilosc->setAsInteger(3);
    EXPECT_EQ(towns.Ilosc->DisplayText(), "szt. 3");
    EXPECT_EQ(towns.Ilosc->Text(), "3");
}

TEST_F(FieldTest, SetTextOnlyForTypedText)
{
    QStringList seen;
    towns.Kwota->OnSetText = [&](TField& f, const QString& text) {
        seen << text;
        f.setAsFloat(text == "-5" ? 0.0 : f.DataSet()->FieldByName("Kwota")->AsFloat() + 1);
    };
    towns.T.Append();
    towns.Kwota->setText("-5");
    EXPECT_EQ(seen, QStringList{"-5"});
    EXPECT_EQ(towns.Kwota->AsFloat(), 0.0);
    towns.Kwota->setAsFloat(-5);
    towns.Kwota->setAsString("-7");
    towns.Kwota->setValue(-9.0);
    EXPECT_EQ(seen, QStringList{"-5"}); // code writes never pass the handler
    EXPECT_EQ(towns.Kwota->AsFloat(), -9.0);
    towns.Nazwa->setText("Typed");
    EXPECT_EQ(towns.Nazwa->AsString(), "Typed"); // no handler: plain assignment
}

TEST_F(FieldTest, ValidateRefusalKeepsOldValueAndChangeFollowsAccepted)
{
    QStringList log;
    towns.Ilosc->OnValidate = [&](TField& f) {
        log << QStringLiteral("validate %1").arg(f.AsInteger());
        if (f.AsInteger() < 0)
            throw Exception(QStringLiteral("Ilość nie może być ujemna !!!"));
    };
    towns.Ilosc->OnChange = [&](TField& f) { log << QStringLiteral("change %1").arg(f.AsInteger()); };
    towns.T.Append();
    towns.Ilosc->setAsInteger(4);
    try {
        towns.Ilosc->setAsInteger(-1);
        FAIL() << "validation did not refuse";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), "Ilość nie może być ujemna !!!");
    }
    EXPECT_EQ(towns.Ilosc->AsInteger(), 4);
    EXPECT_EQ(log, (QStringList{"validate 4", "change 4", "validate -1"}));
}

TEST_F(FieldTest, WritesNeedEditOrInsertState)
{
    towns.add("Radom");
    try {
        towns.Nazwa->setAsString("Kielce");
        FAIL() << "browse-state write accepted";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), "Zbiór danych nie jest w trybie edycji ani dopisywania");
    }
    towns.T.Edit();
    EXPECT_THROW(towns.Id->setAsInteger(77), EDatabaseError); // autoincrement is read-only
    towns.Nazwa->setAsString("Kielce");
    towns.T.Post();
    EXPECT_EQ(towns.names(), QStringList{"Kielce"});
}

TEST_F(FieldTest, AutoIncrementReadableAfterPostAndNeverReused)
{
    towns.add("A");
    const int first = towns.Id->AsInteger();
    towns.add("B");
    const int second = towns.Id->AsInteger();
    EXPECT_EQ(second, first + 1);
    towns.T.Last();
    towns.T.Delete();
    towns.T.Close(); // the file is read afresh: the deleted id is not given again
    towns.T.Open();
    towns.add("C");
    EXPECT_EQ(towns.Id->AsInteger(), second + 1);
    towns.T.Close();
    towns.T.EmptyTable();
    towns.T.Open();
    towns.add("D");
    EXPECT_EQ(towns.Id->AsInteger(), second + 2);
}

TEST_F(FieldTest, FieldByNameRaisesForMissingField)
{
    EXPECT_EQ(towns.T.FieldByName("nazwa"), towns.Nazwa);
    EXPECT_EQ(towns.T.FindField("Brak"), nullptr);
    EXPECT_THROW(towns.T.FieldByName("Brak"), EDatabaseError);
    EXPECT_EQ(towns.Nazwa->Name(), "TMiastaNazwa");
}

TEST(DynamicFields, TableWithoutFieldComponentsGetsFieldsFromFile)
{
    TestDir dir;
    kal::test::CreateTowns();
    TTable t;
    t.setTableName("Miasta.db");
    t.Open();
    ASSERT_EQ(t.FieldCount(), 7);
    EXPECT_EQ(t.Fields(1)->FieldName(), "Nazwa");
    EXPECT_EQ(t.Fields(1)->Size(), 12);
    t.Append();
    t.FieldByName("Nazwa")->setAsString("Opole");
    t.Post();
    t.Close();
    EXPECT_EQ(t.FieldCount(), 0);
    t.Open();
    EXPECT_EQ(t.FieldByName("Nazwa")->AsString(), "Opole");
}

} // namespace
