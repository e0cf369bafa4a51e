#include "Exceptions.h"
#include "TestDir.h"
#include "Workbook.h"
#include "XlsWriter.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace kal;
using namespace kal::test;

namespace {

const QString kFleetSheet = QStringLiteral("EXP_ZESTAW_TRANS_FLOTY_OKROJONY");

// 2009-01-01 is day 39814 of the 1900 system; 2009-07-15 is 195 days later.
constexpr double kJuly15 = 40009.0;

XlsWriter FleetWorkbook()
{
    XlsWriter w;
    w.sheet(kFleetSheet)
        .row({QStringLiteral("Nr faktury"), QStringLiteral("Data realizacji"), QStringLiteral("Ilość litrów"),
              QStringLiteral("Cena za litr"), QStringLiteral("Grupa prod"), QStringLiteral("Nr rejestracyjny"),
              QStringLiteral("Rodzaj pojazdu")})
        .row({QStringLiteral("FV/12/2009"), XlsDate{kJuly15}, 45.5, 4.19, XlsRk{1}, QStringLiteral("wa 12345"),
              QStringLiteral(" O ")})
        .row({QStringLiteral("FV/13/2009"), XlsDate{kJuly15 + 1.75, 22}, 1234567.0, -2.25, QStringLiteral(" 4 "),
              XlsInlineText{QStringLiteral("KR ŻÓŁW1")}, XlsEmpty{}});
    return w;
}

QString Write(const TestDir& dir, const QString& name, const XlsWriter& w)
{
    const QString path = dir.file(name);
    EXPECT_TRUE(w.save(path));
    return path;
}

QString WriteBytes(const TestDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.file(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
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

} // namespace

TEST(Workbook, ListsSheetsAndFindsOneByTableName)
{
    TestDir dir;
    XlsWriter w = FleetWorkbook();
    w.sheet(QStringLiteral("Drugi arkusz")).row({QStringLiteral("A")});
    w.sheet(QStringLiteral("Łódź")).row({QStringLiteral("B")});
    const QString path = Write(dir, QStringLiteral("Orlen.xls"), w);

    Workbook book(path);
    EXPECT_EQ(book.sheetNames(), QStringList({kFleetSheet, QStringLiteral("Drugi arkusz"), QStringLiteral("Łódź")}));
    EXPECT_EQ(book.sheetIndex(QStringLiteral("łÓDŹ$")), 2);
    EXPECT_EQ(book.sheetIndex(kFleetSheet + u'$'), 0);
    EXPECT_EQ(book.sheetIndex(QStringLiteral("exp_zestaw_trans_floty_okrojony$")), 0);
    EXPECT_EQ(book.sheetIndex(QStringLiteral("Drugi arkusz")), 1);
    EXPECT_FALSE(book.hasSheet(QStringLiteral("Arkusz3")));
    EXPECT_EQ(book.sheet(QStringLiteral("Drugi arkusz$")).name(), QStringLiteral("Drugi arkusz"));
}

TEST(Workbook, FirstRowNamesTheColumns)
{
    TestDir dir;
    Workbook book(Write(dir, QStringLiteral("Orlen.xls"), FleetWorkbook()));
    const Sheet& sheet = book.sheet(kFleetSheet + u'$');
    EXPECT_EQ(sheet.columnNames(),
              QStringList({QStringLiteral("Nr faktury"), QStringLiteral("Data realizacji"), QStringLiteral("Ilość litrów"),
                           QStringLiteral("Cena za litr"), QStringLiteral("Grupa prod"),
                           QStringLiteral("Nr rejestracyjny"), QStringLiteral("Rodzaj pojazdu")}));
    EXPECT_EQ(sheet.rowCount(), 2);
    // Column names match without regard to case, Polish letters included.
    EXPECT_EQ(sheet.columnIndex(QStringLiteral("ILOŚĆ LITRÓW")), 2);
    EXPECT_EQ(sheet.columnIndex(QStringLiteral("Ilosc litrow")), -1);
    EXPECT_FALSE(sheet.hasColumn(QStringLiteral("Cena")));
}

TEST(Workbook, CellsReadAsTextNumbersAndDates)
{
    TestDir dir;
    Workbook book(Write(dir, QStringLiteral("Orlen.xls"), FleetWorkbook()));
    const Sheet& s = book.sheet(kFleetSheet);

    EXPECT_EQ(s.cell(0, QStringLiteral("Nr faktury")).type(), CellType::Text);
    EXPECT_EQ(s.cell(0, QStringLiteral("Nr faktury")).toText(), QStringLiteral("FV/12/2009"));

    const Cell& date = s.cell(0, QStringLiteral("Data realizacji"));
    EXPECT_EQ(date.type(), CellType::Date);
    EXPECT_EQ(date.toText(), QStringLiteral("2009-07-15"));
    EXPECT_EQ(date.toDate(), QDate(2009, 7, 15));
    EXPECT_EQ(date.toDateTime(), QDateTime(QDate(2009, 7, 15), QTime(0, 0)));

    const Cell& dateTime = s.cell(1, QStringLiteral("Data realizacji"));
    EXPECT_EQ(dateTime.type(), CellType::DateTime);
    EXPECT_EQ(dateTime.toText(), QStringLiteral("2009-07-16 18:00:00"));
    EXPECT_EQ(dateTime.toDate(), QDate(2009, 7, 16));
    // A date-time at midnight reads as the date alone.
    EXPECT_EQ(Cell::dateTime(QDateTime(QDate(2009, 7, 16), QTime(0, 0))).toText(), QStringLiteral("2009-07-16"));

    // Numbers as text keep full precision and use the decimal comma.
    EXPECT_EQ(s.cell(0, 2).type(), CellType::Float);
    EXPECT_EQ(s.cell(0, 2).toText(), QStringLiteral("45,5"));
    EXPECT_EQ(s.cell(0, 3).toText(), QStringLiteral("4,19"));
    EXPECT_EQ(s.cell(1, 2).toText(), QStringLiteral("1234567"));
    EXPECT_EQ(s.cell(1, 3).toText(), QStringLiteral("-2,25"));
    EXPECT_DOUBLE_EQ(*s.cell(0, 3).toFloat(), 4.19);

    const Cell& group = s.cell(0, QStringLiteral("Grupa prod"));
    EXPECT_EQ(group.type(), CellType::Integer);
    EXPECT_EQ(group.toText(), QStringLiteral("1"));
    EXPECT_EQ(group.toInteger(), 1);
    // A group typed as text with blanks.
    EXPECT_EQ(s.cell(1, QStringLiteral("Grupa prod")).toText(), QStringLiteral(" 4 "));
    EXPECT_EQ(s.cell(1, QStringLiteral("Grupa prod")).toInteger(), 4);

    // Texts stay as written, blanks and Polish letters included.
    EXPECT_EQ(s.cell(0, QStringLiteral("Nr rejestracyjny")).toText(), QStringLiteral("wa 12345"));
    EXPECT_EQ(s.cell(1, QStringLiteral("Nr rejestracyjny")).toText(), QStringLiteral("KR ŻÓŁW1"));
    EXPECT_EQ(s.cell(0, QStringLiteral("Rodzaj pojazdu")).toText(), QStringLiteral(" O "));

    // An empty cell is null and reads as an empty text.
    const Cell& empty = s.cell(1, QStringLiteral("Rodzaj pojazdu"));
    EXPECT_TRUE(empty.isNull());
    EXPECT_EQ(empty.toText(), QString());
    EXPECT_FALSE(empty.toDate().has_value());
    EXPECT_FALSE(empty.toFloat().has_value());
}

TEST(Workbook, CellsOutsideTheSheetAreEmptyAndAMissingColumnIsReported)
{
    TestDir dir;
    Workbook book(Write(dir, QStringLiteral("Orlen.xls"), FleetWorkbook()));
    const Sheet& s = book.sheet(kFleetSheet);
    EXPECT_TRUE(s.cell(2, 0).isNull());
    EXPECT_TRUE(s.cell(-1, 0).isNull());
    EXPECT_TRUE(s.cell(0, 7).isNull());
    EXPECT_EQ(MessageOf([&] { s.cell(0, QStringLiteral("Cena paliwa")); }),
              QStringLiteral("Brak kolumny \"Cena paliwa\" w arkuszu \"EXP_ZESTAW_TRANS_FLOTY_OKROJONY\"."));
}

TEST(Workbook, EmptyHeadersAreNamedByColumnAndTrailingEmptyRowsDropped)
{
    TestDir dir;
    XlsWriter w;
    // The rows at the end hold formatted empty cells only.
    w.sheet(QStringLiteral("Arkusz1"))
        .row({QStringLiteral("Nr"), XlsEmpty{}, QStringLiteral("Kwota")})
        .row({XlsRk{1}, QStringLiteral("x"), 2.5})
        .row({XlsEmpty{}, XlsEmpty{}, XlsEmpty{}})
        .row({XlsRk{3}, XlsEmpty{}, XlsBlank{}})
        .row({XlsBlank{}, XlsBlank{}, XlsBlank{}})
        .row({XlsBlank{}});
    Workbook book(Write(dir, QStringLiteral("a.xls"), w));
    const Sheet& s = book.sheet(0);
    EXPECT_EQ(s.columnNames(), QStringList({QStringLiteral("Nr"), QStringLiteral("F2"), QStringLiteral("Kwota")}));
    // The empty row between data rows stays, the two at the end do not.
    ASSERT_EQ(s.rowCount(), 3);
    // All of it was read: the rows of empty cells are declared and there.
    EXPECT_TRUE(s.isWhole());
    EXPECT_EQ(s.declaredRowCount(), 5);
    EXPECT_TRUE(s.cell(1, 0).isNull());
    EXPECT_EQ(s.cell(2, QStringLiteral("nr")).toText(), QStringLiteral("3"));
    EXPECT_EQ(s.cell(0, QStringLiteral("F2")).toText(), QStringLiteral("x"));
}

TEST(Workbook, SheetWithOnlyAHeaderHasNoRows)
{
    TestDir dir;
    XlsWriter w;
    w.sheet(QStringLiteral("Pusty")).row({QStringLiteral("Nr faktury")});
    Workbook book(Write(dir, QStringLiteral("a.xls"), w));
    const Sheet& s = book.sheet(QStringLiteral("Pusty$"));
    EXPECT_EQ(s.columnNames(), QStringList({QStringLiteral("Nr faktury")}));
    EXPECT_EQ(s.rowCount(), 0);
}

TEST(Workbook, CustomDateFormatAndThe1904System)
{
    TestDir dir;
    XlsWriter w;
    w.sheet(QStringLiteral("A")).row({QStringLiteral("Data")}).row({XlsDate{kJuly15 + 0.5, 164}});
    Workbook book(Write(dir, QStringLiteral("a.xls"), w));
    // Whatever type the custom format gives, the cell reads as that date.
    EXPECT_EQ(book.sheet(0).cell(0, 0).toDate(), QDate(2009, 7, 15));

    XlsWriter w4;
    w4.date1904(true).sheet(QStringLiteral("A")).row({QStringLiteral("Data"), QStringLiteral("Liczba")}).row(
        {XlsDate{1462.0}, 1.0});
    Workbook book4(Write(dir, QStringLiteral("b.xls"), w4));
    const Sheet& s = book4.sheet(0);
    // Day 1462 of the 1904 system: four years (one leap) and one day on.
    EXPECT_EQ(s.cell(0, 0).toDate(), QDate(1908, 1, 2));
    // A plain number read as a date counts days from the 1904 start too.
    EXPECT_EQ(s.cell(0, 1).toDate(), QDate(1904, 1, 2));
}

TEST(Workbook, SerialDayNumbers)
{
    EXPECT_EQ(SerialToDateTime(1, false), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    EXPECT_EQ(SerialToDateTime(59, false), QDateTime(QDate(1900, 2, 28), QTime(0, 0)));
    EXPECT_FALSE(SerialToDateTime(60, false).has_value()); // 1900-02-29 never was
    EXPECT_EQ(SerialToDateTime(61, false), QDateTime(QDate(1900, 3, 1), QTime(0, 0)));
    EXPECT_EQ(SerialToDateTime(39814, false), QDateTime(QDate(2009, 1, 1), QTime(0, 0)));
    EXPECT_EQ(SerialToDateTime(39814.25, false), QDateTime(QDate(2009, 1, 1), QTime(6, 0)));
    // A time that rounds up to midnight belongs to the next day.
    EXPECT_EQ(SerialToDateTime(39814.9999999999, false), QDateTime(QDate(2009, 1, 2), QTime(0, 0)));
    EXPECT_EQ(SerialToDateTime(1462, true), QDateTime(QDate(1908, 1, 2), QTime(0, 0)));
    EXPECT_FALSE(SerialToDateTime(-1, false).has_value());
    EXPECT_FALSE(SerialToDateTime(1e12, false).has_value());
    EXPECT_FALSE(SerialToDateTime(std::nan(""), false).has_value());
}

TEST(Workbook, TextCellsConvertLikeTypedNumbers)
{
    EXPECT_EQ(Cell::text(QStringLiteral(" 45,5 ")).toFloat(), 45.5);
    EXPECT_EQ(Cell::text(QStringLiteral("1 234.25")).toFloat(), 1234.25);
    EXPECT_FALSE(Cell::text(QStringLiteral("abc")).toFloat().has_value());
    EXPECT_FALSE(Cell::text(QStringLiteral("1,2,3")).toFloat().has_value());
    EXPECT_FALSE(Cell::text(QStringLiteral("inf")).toFloat().has_value());
    EXPECT_FALSE(Cell::text(QStringLiteral("0x10")).toFloat().has_value());
    EXPECT_EQ(Cell::text(QStringLiteral(" 1 ")).toInteger(), 1);
    EXPECT_FALSE(Cell::text(QStringLiteral("1,5")).toInteger().has_value());
    EXPECT_EQ(Cell::number(3.0).toInteger(), 3);
    EXPECT_FALSE(Cell::number(3.5).toInteger().has_value());
    EXPECT_EQ(Cell::number(0.1).toText(), QStringLiteral("0,1"));
    EXPECT_EQ(Cell::text(QStringLiteral("2009-07-15")).toDate(), QDate(2009, 7, 15));
    EXPECT_EQ(Cell::text(QStringLiteral("2009-07-15 08:30")).toDateTime(),
              QDateTime(QDate(2009, 7, 15), QTime(8, 30)));
    EXPECT_FALSE(Cell::text(QStringLiteral("2009-02-30")).toDate().has_value());
    EXPECT_FALSE(Cell::text(QStringLiteral("15.07.2009x")).toDate().has_value());
}

TEST(WorkbookErrors, MissingFileNotAWorkbookAndMissingSheet)
{
    TestDir dir;
    const QString missing = dir.file(QStringLiteral("Brak.xls"));
    EXPECT_EQ(MessageOf([&] { Workbook w(missing); }),
              QStringLiteral("Brak pliku \"%1\".").arg(QDir::toNativeSeparators(missing)));
    EXPECT_EQ(MessageOf([&] { Workbook w{QString()}; }), QStringLiteral("Brak pliku \"\"."));

    const QString text = WriteBytes(dir, QStringLiteral("tekst.xls"), "Nr faktury;Data\nFV/1;2009-07-15\n");
    EXPECT_EQ(MessageOf([&] { Workbook w(text); }),
              QStringLiteral("Plik \"%1\" nie jest skoroszytem programu Excel 97.").arg(QDir::toNativeSeparators(text)));

    EXPECT_EQ(MessageOf([&] { Workbook w(dir.path()); }),
              QStringLiteral("Plik \"%1\" nie jest skoroszytem programu Excel 97.")
                  .arg(QDir::toNativeSeparators(dir.path())));

    Workbook book(Write(dir, QStringLiteral("Orlen.xls"), FleetWorkbook()));
    EXPECT_EQ(MessageOf([&] { book.sheet(QStringLiteral("Arkusz1$")); }),
              QStringLiteral("Brak arkusza \"Arkusz1$\" w skoroszycie \"Orlen.xls\"."));
    EXPECT_EQ(MessageOf([&] { book.sheet(3); }), QStringLiteral("Brak arkusza nr 4 w skoroszycie \"Orlen.xls\"."));
}

TEST(WorkbookErrors, TruncatedWorkbookIsDamaged)
{
    TestDir dir;
    const QByteArray whole = FleetWorkbook().build();
    const QString path = WriteBytes(dir, QStringLiteral("ucięty.xls"), whole.left(1024));
    EXPECT_EQ(MessageOf([&] {
                  Workbook w(path);
                  w.sheet(0);
              }),
              QStringLiteral("Skoroszyt \"%1\" jest uszkodzony.").arg(QDir::toNativeSeparators(path)));
}

// The 13th inline text cell's record claims 156 bytes instead of 15: that
// sends the parsing library reading through the following records until it
// faults. The program reports a damaged workbook instead of going down.
TEST(WorkbookErrors, RecordLengthPointingPastItsDataIsDamage)
{
    TestDir dir;
    XlsWriter w;
    w.sheet(QStringLiteral("EXP")).row({QStringLiteral("Nr"), QStringLiteral("Data"), QStringLiteral("Ilość")});
    for (int i = 0; i < 50; ++i)
        w.row({QStringLiteral("FV/%1").arg(i), XlsDate{kJuly15 + i}, 45.5 + i, XlsRk{i},
               XlsInlineText{QStringLiteral("abc")}});
    w.sheet(QStringLiteral("B")).row({QStringLiteral("x")});
    QByteArray bytes = w.build();
    const qsizetype label = XlsRecordOffset(bytes, 0x0204, 12);
    ASSERT_GT(label, 0);
    ASSERT_EQ(quint8(bytes[label + 2]), 15);
    bytes[label + 2] = char(156);
    const QString path = WriteBytes(dir, QStringLiteral("zly.xls"), bytes);
    EXPECT_EQ(MessageOf([&] { Workbook book(path); }),
              QStringLiteral("Skoroszyt \"%1\" jest uszkodzony.").arg(QDir::toNativeSeparators(path)));
}

// Damaged files of many kinds must end in a rule exception or in a readable
// sheet, never in a crash or another exception.
TEST(WorkbookErrors, DamagedFilesNeverCrash)
{
    TestDir dir;
    XlsWriter w = FleetWorkbook();
    w.sheet(QStringLiteral("Drugi")).row({QStringLiteral("A"), 1.0}).row({QStringLiteral("B"), XlsDate{kJuly15}});
    const QByteArray whole = w.build();
    const QString path = dir.file(QStringLiteral("zly.xls"));

    auto tryRead = [&](const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        try {
            Workbook book(path);
            for (int i = 0; i < book.sheetNames().size(); ++i) {
                const Sheet& s = book.sheet(i);
                EXPECT_LE(s.wholeRowCount(), s.rowCount());
                EXPECT_GE(s.declaredRowCount(), s.rowCount());
                if (s.isWhole()) {
                    EXPECT_EQ(s.wholeRowCount(), s.rowCount());
                }
                for (int r = 0; r < s.rowCount(); ++r)
                    for (int c = 0; c < s.columnCount(); ++c)
                        (void)s.cell(r, c).toText();
            }
        } catch (const Exception&) {
        }
    };

    for (qsizetype len = 0; len < whole.size(); len += 97)
        tryRead(whole.left(len));

    quint32 seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = whole;
        const int flips = 1 + int(next() % 8);
        for (int i = 0; i < flips; ++i)
            bytes[qsizetype(next() % quint32(bytes.size()))] = char(next() & 0xFF);
        tryRead(bytes);
    }
    SUCCEED();
}

// ---------------------------------------------------------------- damaged or incomplete sheets
//
// The parsing library takes a damaged record length in its stride and reads
// on in the wrong place, or stops where a file ends too soon; it then answers
// with part of a sheet and no error. The reader compares what was read with
// what the sheet declares.

namespace {

// Data rows of five cells: a shared text, a date, a number, a whole number
// and an inline text, in that order.
XlsWriter FleetRows(int count)
{
    XlsWriter w;
    w.sheet(kFleetSheet)
        .row({QStringLiteral("Nr faktury"), QStringLiteral("Data realizacji"), QStringLiteral("Ilość litrów"),
              QStringLiteral("Grupa prod"), QStringLiteral("Nr rejestracyjny")});
    for (int i = 0; i < count; ++i)
        w.row({QStringLiteral("FV/%1").arg(i), XlsDate{kJuly15 + i}, 45.5 + i, XlsRk{1},
               XlsInlineText{QStringLiteral("WA %1").arg(1000 + i)}});
    return w;
}

XlsWriter FortyRows()
{
    return FleetRows(40);
}

unsigned RecordLength(const QByteArray& bytes, qsizetype at)
{
    return quint8(bytes[at + 2]) | (unsigned(quint8(bytes[at + 3])) << 8);
}

// Reads `bytes` as a workbook: the damage message, or the fleet sheet.
struct Read {
    QString failure;
    std::optional<Sheet> sheet;
};

Read ReadBytes(const TestDir& dir, const QByteArray& bytes)
{
    const QString path = WriteBytes(dir, QStringLiteral("zly.xls"), bytes);
    Read r;
    try {
        Workbook book(path);
        r.sheet = book.sheet(0);
    } catch (const Exception& e) {
        r.failure = e.message();
        EXPECT_EQ(r.failure, QStringLiteral("Skoroszyt \"%1\" jest uszkodzony.").arg(QDir::toNativeSeparators(path)));
    }
    return r;
}

} // namespace

TEST(WorkbookDamage, SoundSheetsAreWhole)
{
    TestDir dir;
    for (const bool rowRecords : {true, false}) {
        XlsWriter w = FortyRows();
        w.rowRecords(rowRecords);
        const Read r = ReadBytes(dir, w.build());
        ASSERT_TRUE(r.sheet) << r.failure.toStdString();
        EXPECT_TRUE(r.sheet->isWhole());
        EXPECT_EQ(r.sheet->rowCount(), 40);
        EXPECT_EQ(r.sheet->declaredRowCount(), 40);
        EXPECT_EQ(r.sheet->wholeRowCount(), 40);
    }
    // A small workbook in the mini stream, and one whose stream fills the
    // end of the file.
    XlsWriter small;
    small.small(true).sheet(QStringLiteral("A")).row({QStringLiteral("Nr")}).row({XlsRk{1}}).row({XlsRk{2}});
    Read r = ReadBytes(dir, small.build());
    ASSERT_TRUE(r.sheet);
    EXPECT_TRUE(r.sheet->isWhole());
    EXPECT_EQ(r.sheet->wholeRowCount(), 2);
    XlsWriter atEnd = FortyRows();
    r = ReadBytes(dir, atEnd.streamAtEnd(true).build());
    ASSERT_TRUE(r.sheet);
    EXPECT_TRUE(r.sheet->isWhole());
    EXPECT_EQ(r.sheet->wholeRowCount(), 40);
}

// One damaged record length in row 21 of 40: the library reads the first 20
// rows whole and loses the rest (or some cells of row 21 and after).
TEST(WorkbookDamage, ADamagedRecordLengthLeavesTheSheetIncompleteFromItsRow)
{
    TestDir dir;
    const QByteArray whole = FortyRows().build();
    int readInPart = 0;
    auto check = [&](unsigned type, int nth, int delta, int wholeRows) {
        QByteArray bytes = whole;
        ASSERT_TRUE(XlsChangeRecordLength(bytes, type, nth, delta));
        const Read r = ReadBytes(dir, bytes);
        if (!r.sheet)
            return;
        ++readInPart;
        SCOPED_TRACE(testing::Message() << "record " << type << " #" << nth << ", length changed by " << delta);
        EXPECT_FALSE(r.sheet->isWhole());
        EXPECT_EQ(r.sheet->declaredRowCount(), 40);
        EXPECT_EQ(r.sheet->wholeRowCount(), wholeRows);
        // What was read whole is what was written.
        for (int row = 0; row < r.sheet->wholeRowCount(); ++row) {
            EXPECT_EQ(r.sheet->cell(row, 0).toText(), QStringLiteral("FV/%1").arg(row));
            EXPECT_EQ(r.sheet->cell(row, 4).toText(), QStringLiteral("WA %1").arg(1000 + row));
        }
    };
    // The inline text of data row 21 (its last cell) and the date of data
    // row 11 (its second cell; two numbers a row).
    for (int delta : {-3, -1, 1, 2, 50, 4000})
        check(0x0204, 20, delta, 20);
    for (int delta : {-3, 1, 8, 300})
        check(0x0203, 20, delta, 10);
    // The damage the library does not notice at all.
    EXPECT_GE(readInPart, 8);
}

// A cell record turned into a record of another kind: the library skips it,
// and row 21 misses its last cell, which its row record declares.
TEST(WorkbookDamage, ACellMissingFromItsRowIsTold)
{
    TestDir dir;
    QByteArray bytes = FortyRows().build();
    const qsizetype text = XlsRecordOffset(bytes, 0x0204, 20);
    ASSERT_GT(text, 0);
    bytes[text] = char(0x5C); // a name-of-author record, which no sheet reader minds
    bytes[text + 1] = 0;
    const Read r = ReadBytes(dir, bytes);
    ASSERT_TRUE(r.sheet) << r.failure.toStdString();
    EXPECT_EQ(r.sheet->rowCount(), 40);
    EXPECT_TRUE(r.sheet->cell(20, 4).isNull());
    EXPECT_FALSE(r.sheet->isWhole());
    EXPECT_EQ(r.sheet->wholeRowCount(), 20);
}

// A file cut short at any point is never read as whole: it is damaged, or
// its sheet is incomplete. So is a sound file holding a stream that stops
// short, as an export broken off leaves it.
TEST(WorkbookDamage, AFileCutShortIsNeverWhole)
{
    TestDir dir;
    XlsWriter w = FortyRows();
    for (const bool atEnd : {false, true}) {
        const QByteArray file = w.streamAtEnd(atEnd).build();
        for (qsizetype cut = 512; cut < file.size(); cut += 173) {
            SCOPED_TRACE(testing::Message() << "file cut at " << cut << (atEnd ? ", stream at the end" : ""));
            const Read r = ReadBytes(dir, file.left(cut));
            if (r.sheet) {
                EXPECT_FALSE(r.sheet->isWhole());
                EXPECT_LT(r.sheet->wholeRowCount(), 40);
            }
        }
    }

    const QByteArray stream = XlsStream(FortyRows().build());
    int readInPart = 0;
    for (qsizetype cut = 100; cut < stream.size(); cut += 97) {
        SCOPED_TRACE(testing::Message() << "stream cut at " << cut);
        const Read r = ReadBytes(dir, XlsFileAround(stream.left(cut)));
        if (!r.sheet)
            continue;
        ++readInPart;
        EXPECT_FALSE(r.sheet->isWhole());
        EXPECT_EQ(r.sheet->declaredRowCount(), 40);
        EXPECT_LE(r.sheet->wholeRowCount(), r.sheet->rowCount());
    }
    EXPECT_GT(readInPart, 5);

    // Cut right after the last cell of data row k: rows 1..k are whole (their
    // row records say where they end), and they are all that was read.
    const QByteArray file = FortyRows().build();
    const qsizetype start = XlsStreamStart(file);
    for (int k : {3, 20, 32, 40}) {
        const qsizetype last = XlsRecordOffset(file, 0x0204, k - 1);
        const qsizetype end = last + 4 + RecordLength(file, last) - start;
        const Read r = ReadBytes(dir, XlsFileAround(stream.left(end)));
        ASSERT_TRUE(r.sheet) << "cut after row " << k;
        EXPECT_EQ(r.sheet->rowCount(), k);
        EXPECT_EQ(r.sheet->wholeRowCount(), k);
        // Only the end of the sheet is missing after the last row.
        EXPECT_EQ(r.sheet->isWhole(), k == 40) << "cut after row " << k;
    }
}

// A sheet that ends with its end-of-sheet record but holds fewer rows than its
// dimensions declare, as an export that lost its last rows leaves it: data
// rows 0-9 declared, 0-4 held. The five rows held are read whole, and the
// sheet is incomplete.
TEST(WorkbookDamage, ASheetHoldingFewerRowsThanItsDimensionsDeclareIsIncomplete)
{
    TestDir dir;
    for (const bool rowRecords : {true, false}) {
        SCOPED_TRACE(rowRecords ? "with row records" : "cells only");
        QByteArray bytes = FleetRows(5).rowRecords(rowRecords).build();
        // The dimensions' end row (one past the last, the header counted).
        const qsizetype dimensions = XlsRecordOffset(bytes, 0x0200);
        ASSERT_GT(dimensions, 0);
        ASSERT_EQ(quint8(bytes[dimensions + 8]), 6);
        bytes[dimensions + 8] = char(11);
        const Read r = ReadBytes(dir, bytes);
        ASSERT_TRUE(r.sheet) << r.failure.toStdString();
        EXPECT_FALSE(r.sheet->isWhole());
        EXPECT_EQ(r.sheet->declaredRowCount(), 10);
        EXPECT_EQ(r.sheet->rowCount(), 5);
        EXPECT_EQ(r.sheet->wholeRowCount(), 5);
        EXPECT_EQ(r.sheet->cell(4, 4).toText(), QStringLiteral("WA 1004"));
    }
}
