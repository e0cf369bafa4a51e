// The saved page file: a round trip keeps every page; a damaged, cut or
// foreign file is refused with one clear message. The pages of a long report
// in bounded memory, read back from the model's own page file as made.

#include "PageFile.h"
#include "Render.h"
#include "SampleReport.h"

#include "Exceptions.h"
#include "PageFiles.h"
#include "TestDir.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cstring>
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define KAL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KAL_ASAN 1
#endif
#endif
#ifndef KAL_ASAN
#define KAL_ASAN 0
#endif
#if KAL_ASAN
// The sanitizer's runtime counts the bytes its allocator holds.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

using namespace kal::report;
using kal::report::test::SampleReport;

namespace {

const QString kDamaged = QStringLiteral("Plik nie jest zapisanym raportem lub jest uszkodzony.");

QString LoadError(const QByteArray& data)
{
    try {
        LoadPages(data);
    } catch (const kal::Exception& e) {
        return e.message();
    }
    return {};
}

// Rewrites the body checksum, so that a changed body reaches the reader.
QByteArray Reseal(QByteArray data)
{
    if (data.size() < 24)
        return data;
    quint32 crc = 0xFFFFFFFFu;
    for (qsizetype i = 24; i < data.size(); ++i) {
        crc ^= static_cast<unsigned char>(data[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    crc ^= 0xFFFFFFFFu;
    for (int i = 0; i < 4; ++i)
        data[20 + i] = static_cast<char>(crc >> (8 * i));
    return data;
}


} // namespace

TEST(PageFile, RoundTripKeepsEveryPageAndItem)
{
    // The pages in memory, and in the model's own page file.
    for (const std::size_t memory : {PageMemoryLimit(), std::size_t{0}}) {
        const kal::test::PageFiles limit(memory);
        kal::test::TestDir dir;
        SampleReport sample;
        const auto model = sample.report.prepare();
        SavePageFile(*model, dir.file(QStringLiteral("raport.QRP")));
        const PageModel loaded = LoadPageFile(dir.file(QStringLiteral("raport.QRP")));
        EXPECT_EQ(loaded, *model);
        EXPECT_EQ(loaded.pageCount(), 2);
        EXPECT_EQ(loaded.pagesInMemory(), memory ? 2 : 0);
        EXPECT_EQ(loaded.title, QStringLiteral("Wydruk próbny"));
    }
}

// A file of many pages is read in chunks of 64 KiB, each checked as it comes.
TEST(PageFile, ALongReportSavedAndOpenedAgainKeepsEveryPage)
{
    ListDataSource rows({QStringLiteral("A"), QStringLiteral("B")});
    for (int i = 0; i < 3000; ++i)
        rows.addRow({QString::number(i), QStringLiteral("Zakład Gospodarki Komunalnej %1").arg(i)});
    Report report;
    report.dataSource = &rows;
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 5;
    detail->addDataText(QStringLiteral("A"), 0, 0, 20, 5, QStringLiteral("A"));
    detail->addDataText(QStringLiteral("B"), 30, 0, 90, 5, QStringLiteral("B"));
    for (const std::size_t memory : {PageMemoryLimit(), std::size_t{0}}) {
        const kal::test::PageFiles limit(memory);
        kal::test::TestDir dir;
        const auto model = report.prepare();
        ASSERT_EQ(model->pageCount(), 55); // 3000 rows, 55 a page
        const QString file = dir.file(QStringLiteral("raport.QRP"));
        SavePageFile(*model, file);
        EXPECT_GT(QFileInfo(file).size(), 4 << 16);
        const PageModel loaded = LoadPageFile(file);
        EXPECT_EQ(loaded, *model);
        EXPECT_EQ(loaded.page(54)->items.back().text, QStringLiteral("Zakład Gospodarki Komunalnej 2999"));
    }
}

TEST(PageFile, ForeignEmptyAndDamagedFilesAreRefusedWithTheMessage)
{
    SampleReport sample;
    const QByteArray good = SavePages(*sample.report.prepare());
    EXPECT_EQ(LoadError(QByteArray()), kDamaged);
    EXPECT_EQ(LoadError(QByteArray("<html>nie raport</html>")), kDamaged);
    EXPECT_EQ(LoadError(good.left(good.size() - 1)), kDamaged);
    EXPECT_EQ(LoadError(good + QByteArray("x")), kDamaged);
    QByteArray newer = good;
    newer[12] = 2; // a version this program does not know
    EXPECT_EQ(LoadError(newer), kDamaged);
}

TEST(PageFile, ACountBeyondTheFileIsRefusedBeforeAnythingIsAllocated)
{
    PageModel model;
    model.addPage({});
    QByteArray data = SavePages(model);
    // The page count is the last 8 bytes but 4 (count of items of page 1 is
    // the last 4): claim four thousand million pages.
    const qsizetype at = data.size() - 8;
    for (int i = 0; i < 4; ++i)
        data[at + i] = '\xff';
    EXPECT_EQ(LoadError(Reseal(data)), kDamaged);
}

TEST(PageFile, MissingFileHasItsOwnMessage)
{
    kal::test::TestDir dir;
    try {
        LoadPageFile(dir.file(QStringLiteral("brak.QRP")));
        FAIL() << "no exception";
    } catch (const kal::Exception& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Nie można otworzyć pliku ")));
    }
}

TEST(PageFile, FuzzedFilesNeverCrashAndAreRefusedWhenDamaged)
{
    SampleReport sample;
    const QByteArray good = SavePages(*sample.report.prepare());
    QRandomGenerator random(20090605);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        // Cut at a random length: always refused.
        const auto cut = static_cast<qsizetype>(random.bounded(static_cast<quint32>(good.size())));
        EXPECT_EQ(LoadError(good.left(cut)), kDamaged);

        // One changed byte: the checksum or the header catches it.
        QByteArray flipped = good;
        const auto at = static_cast<qsizetype>(random.bounded(static_cast<quint32>(good.size())));
        flipped[at] = static_cast<char>(flipped[at] ^ static_cast<char>(1 + random.bounded(255)));
        EXPECT_EQ(LoadError(flipped), kDamaged);

        // Several changed bytes behind a matching checksum: the reader either
        // loads some pages or refuses the file, and never with another error.
        QByteArray resealed = good;
        for (int k = 0; k < 4; ++k) {
            const auto pos = static_cast<qsizetype>(24 + random.bounded(static_cast<quint32>(good.size() - 24)));
            resealed[pos] = static_cast<char>(random.bounded(256));
        }
        const QString error = LoadError(Reseal(resealed));
        EXPECT_TRUE(error.isEmpty() || error == kDamaged) << error.toStdString();
    }
}

TEST(PageFile, AFileThatCannotBeWrittenSaysSo)
{
    kal::test::TestDir dir;
    const QString target = dir.file(QStringLiteral("brak/raport.QRP"));
    try {
        SavePageFile(PageModel{}, target);
        FAIL() << "no exception";
    } catch (const kal::Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Nie można zapisać pliku %1.").arg(target));
    }
}

// ---- the pages of a long report

namespace {

// The bytes the heap holds: the sanitizer's count under AddressSanitizer
// (which takes the place of glibc's allocator), else glibc's; 0 under an
// allocator that keeps no count.
std::size_t HeapBytes()
{
#if KAL_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;
#endif
}

int OpenFiles()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

// The same page to the last bit of every value and text.
bool SameBits(const Page& a, const Page& b)
{
    const auto bits = [](const PageItem& i) { return std::array{i.penWidth, i.x1, i.y1, i.x2, i.y2}; };
    return std::equal(a.items.begin(), a.items.end(), b.items.begin(), b.items.end(), [&](const PageItem& x, const PageItem& y) {
        const auto bx = bits(x), by = bits(y);
        return x.kind == y.kind && x.align == y.align && x.font == y.font && x.text == y.text
            && std::memcmp(bx.data(), by.data(), sizeof bx) == 0;
    });
}

} // namespace

// 100,000 rows of six texts make 1,819 pages, which took 98 MB of memory.
TEST(LongReport, KeepsItsPagesInBoundedMemory)
{
    ListDataSource rows({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
                         QStringLiteral("E"), QStringLiteral("F")});
    for (int i = 0; i < 100000; ++i)
        rows.addRow({QString::number(i), QStringLiteral("GD %1").arg(10000 + i), QStringLiteral("Iveco Daily"),
                     QStringLiteral("2009-01-01"), QStringLiteral("%1,50").arg(i % 90), QStringLiteral("olej napędowy")});
    Report report;
    report.dataSource = &rows;
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 5;
    for (int c = 0; c < 6; ++c)
        detail->addDataText(QStringLiteral("D%1").arg(c), 30 * c, 0, 28, 5, QString(QChar(u'A' + c)));
    const std::size_t before = HeapBytes();
    const auto model = report.prepare();
    const std::size_t held = HeapBytes() - before;
    ASSERT_EQ(model->pageCount(), 1819); // (297 - 20) / 5: 55 rows a page
    const auto last = model->page(1818);
    ASSERT_EQ(last->items.size(), 6u * (100000 - 1818 * 55));
    EXPECT_EQ(last->items.back().text, QStringLiteral("olej napędowy"));
    EXPECT_EQ(last->items.at(last->items.size() - 6).text, QStringLiteral("99999"));
    if (before == 0)
        GTEST_SKIP() << "the allocator keeps no count of the bytes it holds: the memory is not measured";
    EXPECT_GT(held, std::size_t{1} << 20) << held; // the pages in memory, 16 MiB of them
    EXPECT_LT(held, std::size_t{24} << 20) << held;
}

// Values and texts no report makes as well: not a number, -0, the smallest
// and largest doubles, lone surrogates, long and empty texts; more values
// than the packing keeps at hand.
TEST(LongReport, APageReadBackFromTheModelsOwnFileIsThePageMadeToTheLastBit)
{
    kal::test::TestDir dir;
    const kal::test::PageFiles limit(0, dir.path());
    QRandomGenerator random(20091231);
    std::vector<double> values{std::nan(""), -0.0, 0.0, 4.9e-324, 1.7976931348623157e308, -INFINITY, 0.1, 297};
    for (int i = 0; i < 600; ++i)
        values.push_back(random.bounded(300.0) - 10);
    const QString letters = QStringLiteral("aZ0 ,.ąęłóżŹé\u00ff\u0100\U0001F600") + QChar(0xD800) + QChar(0xDFFF);
    std::vector<Page> made(40);
    const int files = OpenFiles();
    PageModel model;
    for (Page& page : made) {
        for (int i = 0, n = int(random.bounded(300)); i < n; ++i) {
            PageItem& item = page.items.emplace_back();
            item.kind = PageItem::Kind(random.bounded(3));
            item.align = Align(random.bounded(3));
            item.font = std::uint16_t(random.bounded(i % 7 ? 3 : 70000));
            for (double* v : {&item.penWidth, &item.x1, &item.y1, &item.x2, &item.y2})
                *v = values[random.bounded(quint32(values.size()))];
            for (int c = 0, length = int(random.bounded(i % 50 ? 20 : 400)); c < length; ++c)
                item.text += letters[random.bounded(int(letters.size()))];
        }
        model.addPage(page);
    }
    EXPECT_EQ(model.pagesInMemory(), 0);
    EXPECT_EQ(OpenFiles(), files + 1);
    // The file has no name: nothing is left behind, whatever ends the program.
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    // Read back in order, then from the end (past the cache of pages read).
    for (int p = 0; p < 40; ++p)
        EXPECT_TRUE(SameBits(*model.page(p), made[std::size_t(p)])) << p;
    for (int p = 39; p >= 0; --p)
        EXPECT_TRUE(SameBits(*model.page(p), made[std::size_t(p)])) << p;
    EXPECT_TRUE(SameBits(*PageModel(model).page(7), made[7]));
    model = PageModel();
    EXPECT_EQ(OpenFiles(), files);
}

// A page file that gives back less than was put into it (cut short by
// something outside the program) stops a PDF with the cause, not as a lack
// of memory, and no file is left under the name asked for.
TEST(LongReport, APageFileThatCannotBeReadBackStopsThePdfWithTheCause)
{
    kal::test::TestDir dir;
    const kal::test::PageFiles limit(0, dir.path());
    SampleReport sample;
    const auto model = sample.report.prepare();
    PageModel cut(*model);
    for (int copy = 0; copy < 40; ++copy)
        cut.addPage(*model->page(0));
    ASSERT_EQ(cut.pagesInMemory(), 0);
    for (const QFileInfo& fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::Files))
        if (fd.symLinkTarget().contains(QStringLiteral("kalmora-strony"))) {
            ASSERT_EQ(::ftruncate(fd.fileName().toInt(), 0), 0);
        }
    const QString pdf = dir.path() + QStringLiteral("/wydruk.pdf");
    QString message;
    try {
        WritePdf(cut, pdf);
    } catch (const kal::Exception& e) {
        message = e.message();
    }
    EXPECT_TRUE(message.startsWith(QStringLiteral("Nie można odczytać stron wydruku z pliku tymczasowego w katalogu ")))
        << message.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}
