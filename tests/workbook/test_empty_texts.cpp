// Workbooks from programs other than Excel may hold text cells of length 0,
// in the shared string table or written inline. They read as empty cells;
// damaged workbooks are still refused.

#include "EmptyTexts.h"
#include "Exceptions.h"
#include "TestDir.h"
#include "Workbook.h"
#include "XlsWriter.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

QString Save(const TestDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.file(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QByteArray Load(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

QString MessageOf(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const Exception& e) {
        return e.message();
    }
    return QStringLiteral("<no exception>");
}

QString Damaged(const QString& path)
{
    return QStringLiteral("Skoroszyt \"%1\" jest uszkodzony.").arg(QDir::toNativeSeparators(path));
}

// An empty shared string comes before the later texts in the string table,
// so their places in it move when it is dropped; the second sheet starts
// further on in the file than its position in the sheet list says.
XlsWriter FuelCardExport()
{
    XlsWriter w;
    w.sheet(QStringLiteral("EXP_ZESTAW"))
        .row({QStringLiteral("Nr faktury"), QStringLiteral("Grupa prod"), QStringLiteral("Ilość litrów"),
              QStringLiteral("Nr rejestracyjny")})
        .row({QString(), XlsInlineText{QString()}, 45.5, QStringLiteral("WA 12345")})
        .row({QStringLiteral("FV/2/2009"), XlsInlineText{QStringLiteral("7")}, XlsRk{3}, QString()})
        .row({QStringLiteral("FV/3/2009"), XlsInlineText{QString()}, 12.25, QStringLiteral("KR ŻÓŁW1")});
    w.sheet(QStringLiteral("Drugi"))
        .row({QStringLiteral("Kod"), QString()})
        .row({QStringLiteral("ON"), XlsInlineText{QStringLiteral("olej napędowy")}})
        .row({XlsInlineText{QString()}, QStringLiteral("benzyna")});
    return w;
}

} // namespace

TEST(WorkbookEmptyTexts, EmptySharedAndInlineTextsReadAsEmptyCells)
{
    TestDir dir;
    const QByteArray bytes = FuelCardExport().build();
    const QString path = Save(dir, QStringLiteral("Orlen.xls"), bytes);

    Workbook book(path);
    EXPECT_EQ(book.sheetNames(), QStringList({QStringLiteral("EXP_ZESTAW"), QStringLiteral("Drugi")}));
    const Sheet& s = book.sheet(QStringLiteral("EXP_ZESTAW$"));
    EXPECT_EQ(s.columnNames(), QStringList({QStringLiteral("Nr faktury"), QStringLiteral("Grupa prod"),
                                            QStringLiteral("Ilość litrów"), QStringLiteral("Nr rejestracyjny")}));
    ASSERT_EQ(s.rowCount(), 3);

    // Row 1: an empty shared text and an empty inline text.
    EXPECT_TRUE(s.cell(0, QStringLiteral("Nr faktury")).isNull());
    EXPECT_EQ(s.cell(0, QStringLiteral("Nr faktury")).toText(), QString());
    EXPECT_TRUE(s.cell(0, QStringLiteral("Grupa prod")).isNull());
    EXPECT_FALSE(s.cell(0, QStringLiteral("Grupa prod")).toInteger().has_value());
    EXPECT_EQ(s.cell(0, QStringLiteral("Ilość litrów")).toText(), QStringLiteral("45,5"));
    EXPECT_EQ(s.cell(0, QStringLiteral("Nr rejestracyjny")).type(), CellType::Text);
    EXPECT_EQ(s.cell(0, QStringLiteral("Nr rejestracyjny")).toText(), QStringLiteral("WA 12345"));

    // Row 2: the same empty shared text used again.
    EXPECT_EQ(s.cell(1, QStringLiteral("Nr faktury")).toText(), QStringLiteral("FV/2/2009"));
    EXPECT_EQ(s.cell(1, QStringLiteral("Grupa prod")).toInteger(), 7);
    EXPECT_EQ(s.cell(1, QStringLiteral("Ilość litrów")).toText(), QStringLiteral("3"));
    EXPECT_TRUE(s.cell(1, QStringLiteral("Nr rejestracyjny")).isNull());

    EXPECT_EQ(s.cell(2, QStringLiteral("Nr faktury")).toText(), QStringLiteral("FV/3/2009"));
    EXPECT_TRUE(s.cell(2, QStringLiteral("Grupa prod")).isNull());
    EXPECT_EQ(s.cell(2, QStringLiteral("Ilość litrów")).toText(), QStringLiteral("12,25"));
    EXPECT_EQ(s.cell(2, QStringLiteral("Nr rejestracyjny")).toText(), QStringLiteral("KR ŻÓŁW1"));

    // The second sheet: an empty header is named by its column.
    const Sheet& d = book.sheet(1);
    EXPECT_EQ(d.columnNames(), QStringList({QStringLiteral("Kod"), QStringLiteral("F2")}));
    ASSERT_EQ(d.rowCount(), 2);
    EXPECT_EQ(d.cell(0, 0).toText(), QStringLiteral("ON"));
    EXPECT_EQ(d.cell(0, QStringLiteral("F2")).toText(), QStringLiteral("olej napędowy"));
    EXPECT_TRUE(d.cell(1, 0).isNull());
    EXPECT_EQ(d.cell(1, 1).toText(), QStringLiteral("benzyna"));

    // The file itself is left as it was.
    EXPECT_EQ(Load(path), bytes);
}

// 1500 invoice numbers fill the string table's record and four CONTINUE
// records, some of them split over two records.
TEST(WorkbookEmptyTexts, LongStringTableOverContinueRecords)
{
    TestDir dir;
    XlsWriter w;
    w.sheet(QStringLiteral("A")).row({QStringLiteral("Nr faktury"), QStringLiteral("Nr rejestracyjny")});
    for (int i = 0; i < 1500; ++i)
        w.row({i == 700 ? QString() : QStringLiteral("FV/%1/2009").arg(i), QStringLiteral("WA %1").arg(i % 7)});
    const QByteArray bytes = w.build();
    ASSERT_GT(XlsRecordOffset(bytes, 0x003C, 3), 0);

    Workbook book(Save(dir, QStringLiteral("a.xls"), bytes));
    const Sheet& s = book.sheet(0);
    ASSERT_EQ(s.rowCount(), 1500);
    EXPECT_EQ(s.cell(0, 0).toText(), QStringLiteral("FV/0/2009"));
    EXPECT_EQ(s.cell(699, 0).toText(), QStringLiteral("FV/699/2009"));
    EXPECT_TRUE(s.cell(700, 0).isNull());
    EXPECT_EQ(s.cell(700, 1).toText(), QStringLiteral("WA 0"));
    EXPECT_EQ(s.cell(701, 0).toText(), QStringLiteral("FV/701/2009"));
    for (int i : {1000, 1234, 1499}) {
        EXPECT_EQ(s.cell(i, 0).toText(), QStringLiteral("FV/%1/2009").arg(i));
        EXPECT_EQ(s.cell(i, 1).toText(), QStringLiteral("WA %1").arg(i % 7));
    }
}

// A short workbook kept in the compound file's mini stream.
TEST(WorkbookEmptyTexts, ShortWorkbookInTheMiniStream)
{
    TestDir dir;
    XlsWriter w;
    w.small(true)
        .sheet(QStringLiteral("A"))
        .row({QStringLiteral("Nr faktury"), QStringLiteral("Grupa prod")})
        .row({QStringLiteral("FV/1"), XlsInlineText{QString()}})
        .row({QString(), XlsInlineText{QStringLiteral("4")}});
    const QByteArray bytes = w.build();
    ASSERT_LT(bytes.size(), 4096);
    Workbook book(Save(dir, QStringLiteral("a.xls"), bytes));
    const Sheet& s = book.sheet(0);
    ASSERT_EQ(s.rowCount(), 2);
    EXPECT_EQ(s.cell(0, 0).toText(), QStringLiteral("FV/1"));
    EXPECT_TRUE(s.cell(0, 1).isNull());
    EXPECT_TRUE(s.cell(1, 0).isNull());
    EXPECT_EQ(s.cell(1, 1).toInteger(), 4);
}

// A workbook without empty texts goes to the parser untouched.
TEST(WorkbookEmptyTexts, OtherWorkbooksAreNotRewritten)
{
    XlsWriter w;
    w.sheet(QStringLiteral("A")).row({QStringLiteral("Nr"), XlsInlineText{QStringLiteral("x")}}).row({XlsEmpty{}, 1.0});
    const QByteArray bytes = w.build();
    const auto stream = detail::WorkbookStream(bytes.toStdString());
    ASSERT_TRUE(stream.has_value());
    EXPECT_FALSE(detail::WithoutEmptyTexts(*stream).has_value());
    EXPECT_TRUE(detail::WithoutEmptyTexts(*detail::WorkbookStream(FuelCardExport().build().toStdString()))
                    .has_value());
}

TEST(WorkbookEmptyTexts, DamagedWorkbooksAreStillRefused)
{
    TestDir dir;
    const QByteArray whole = FuelCardExport().build();

    // Cut short.
    const QString cut = Save(dir, QStringLiteral("ucięty.xls"), whole.left(whole.size() - 700));
    EXPECT_EQ(MessageOf([&] { Workbook w(cut); }), Damaged(cut));

    // The string table claims one more string than it holds.
    QByteArray sst = whole;
    const qsizetype at = XlsRecordOffset(sst, 0x00FC);
    ASSERT_GT(at, 0);
    sst[at + 4 + 4] = char(quint8(sst[at + 4 + 4]) + 1);
    const QString table = Save(dir, QStringLiteral("tabela.xls"), sst);
    EXPECT_EQ(MessageOf([&] { Workbook w(table); }), Damaged(table));

    // An inline text's record claims more bytes than the sheet holds.
    QByteArray label = whole;
    const qsizetype last = XlsRecordOffset(label, 0x0204, 3);
    ASSERT_GT(last, 0);
    label[last + 3] = char(0x40);
    const QString record = Save(dir, QStringLiteral("rekord.xls"), label);
    EXPECT_EQ(MessageOf([&] { Workbook w(record); }), Damaged(record));
}

// Damaged workbooks with empty texts end in a rule exception or a readable
// sheet, never in a crash, a hang or another exception.
TEST(WorkbookEmptyTexts, DamagedFilesNeverCrash)
{
    TestDir dir;
    const QByteArray whole = FuelCardExport().build();
    const QString path = dir.file(QStringLiteral("zly.xls"));
    quint32 seed = 4242;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    // Flips land in the workbook stream, which lies between the header and
    // the directory.
    const quint32 streamEnd = quint32(whole.size() - 1024);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = whole;
        const int flips = 1 + int(next() % 4);
        for (int i = 0; i < flips; ++i)
            bytes[qsizetype(512 + next() % (streamEnd - 512))] = char(next() & 0xFF);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        try {
            Workbook book(path);
            for (int i = 0; i < book.sheetNames().size(); ++i) {
                const Sheet& s = book.sheet(i);
                for (int r = 0; r < s.rowCount(); ++r)
                    for (int c = 0; c < s.columnCount(); ++c)
                        (void)s.cell(r, c).toText();
            }
        } catch (const Exception&) {
        }
    }
    SUCCEED();
}
