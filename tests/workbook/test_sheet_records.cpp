// The reading child's own parsing of the file (the compound file, the empty
// texts, the sheets' records) run here in the test process on sound and
// damaged files: in the child a fault of this code would pass for a damaged
// workbook, here the sanitizer build sees it.

#include "EmptyTexts.h"
#include "SheetRecords.h"
#include "XlsWriter.h"

#include <gtest/gtest.h>

#include <string>

using namespace kal;
using namespace kal::test;

namespace {

// 40 data rows of five cells each below a header of five.
XlsWriter Rows(bool rowRecords)
{
    XlsWriter w;
    w.rowRecords(rowRecords).sheet(QStringLiteral("EXP"));
    w.row({QStringLiteral("Nr"), QStringLiteral("Data"), QStringLiteral("Ilość"), QStringLiteral("Grupa"),
           QStringLiteral("Nr rej")});
    for (int i = 0; i < 40; ++i)
        w.row({QStringLiteral("FV/%1").arg(i), XlsDate{40009.0 + i}, 45.5 + i, XlsRk{1},
               XlsInlineText{QStringLiteral("WA %1").arg(i)}});
    w.sheet(QStringLiteral("Drugi")).row({QStringLiteral("A"), XlsBlank{}, 1.0});
    return w;
}

std::string Bytes(const QByteArray& b)
{
    return std::string(b.constData(), size_t(b.size()));
}

// Follows whatever the bytes hold, as the child does; the results must keep
// their own rules.
void FollowAnything(const QByteArray& bytes)
{
    const std::string file = Bytes(bytes);
    const auto whole = detail::WorkbookStream(file);
    if (whole)
        (void)detail::WithoutEmptyTexts(*whole);
    const auto part = detail::WorkbookStreamAsFarAsItGoes(file);
    if (!part)
        return;
    for (const detail::SheetRecords& s : detail::FollowSheets(*part)) {
        EXPECT_TRUE(s.firstDamagedRow == detail::kNoDamage || s.firstDamagedRow < s.declaredRows ||
                    s.declaredRows == 0);
        for (const auto& v : s.values)
            EXPECT_LT(v.first, s.firstDamagedRow);
    }
}

} // namespace

TEST(SheetRecords, ASoundSheetDeclaresItsRowsAndHoldsItsValues)
{
    for (const bool rowRecords : {true, false}) {
        const auto stream = detail::WorkbookStream(Bytes(Rows(rowRecords).build()));
        ASSERT_TRUE(stream);
        const auto sheets = detail::FollowSheets(*stream);
        ASSERT_EQ(sheets.size(), 2u);
        EXPECT_EQ(sheets[0].declaredRows, 41u);
        EXPECT_EQ(sheets[0].firstDamagedRow, detail::kNoDamage);
        // Five values a row, the header's included.
        EXPECT_EQ(sheets[0].values.size(), 41u * 5u);
        EXPECT_EQ(sheets[1].declaredRows, 1u);
        EXPECT_EQ(sheets[1].firstDamagedRow, detail::kNoDamage);
        // The formatted empty cell holds no value.
        EXPECT_EQ(sheets[1].values, (std::vector<std::pair<uint32_t, uint32_t>>{{0, 0}, {0, 2}}));
    }
}

TEST(SheetRecords, AStreamCutShortIsFollowedAsFarAsItGoes)
{
    const QByteArray file = Rows(true).streamAtEnd(true).build();
    const qsizetype start = XlsStreamStart(file);
    // Cut in the middle of the 32nd row's cells: the stream ends there.
    const qsizetype cut = XlsRecordOffset(file, 0x0203, 2 * 31) + 6;
    const auto part = detail::WorkbookStreamAsFarAsItGoes(Bytes(file.left(cut)));
    ASSERT_TRUE(part);
    EXPECT_FALSE(detail::WorkbookStream(Bytes(file.left(cut))));
    // Whole sectors only.
    EXPECT_EQ(qsizetype(part->size()), (cut - start) / 512 * 512);
    const auto sheets = detail::FollowSheets(*part);
    ASSERT_FALSE(sheets.empty());
    EXPECT_LT(sheets[0].firstDamagedRow, 32u);
    EXPECT_EQ(sheets[0].declaredRows, 41u);
}

TEST(SheetRecords, DamagedFilesAreFollowedWithoutFault)
{
    for (const bool rowRecords : {true, false}) {
        const QByteArray whole = Rows(rowRecords).build();
        for (qsizetype len = 0; len < whole.size(); len += 61)
            FollowAnything(whole.left(len));
        quint32 seed = 4711;
        auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return seed >> 8;
        };
        for (int round = 0; round < 400; ++round) {
            QByteArray bytes = whole;
            const int flips = 1 + int(next() % 8);
            for (int i = 0; i < flips; ++i)
                bytes[qsizetype(next() % quint32(bytes.size()))] = char(next() & 0xFF);
            FollowAnything(bytes);
        }
        for (int nth = 0; nth < 40; nth += 7)
            for (int delta : {-9, -3, -1, 1, 3, 200, 9000}) {
                QByteArray bytes = whole;
                ASSERT_TRUE(XlsChangeRecordLength(bytes, 0x0204, nth, delta));
                FollowAnything(bytes);
            }
    }
}
