// The saved page file: a round trip keeps every page; a damaged, cut or
// foreign file is refused with one clear message.

#include "PageFile.h"
#include "SampleReport.h"

#include "Exceptions.h"
#include "TestDir.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

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
    kal::test::TestDir dir;
    SampleReport sample;
    const auto model = sample.report.prepare();
    SavePageFile(*model, dir.file(QStringLiteral("raport.QRP")));
    const PageModel loaded = LoadPageFile(dir.file(QStringLiteral("raport.QRP")));
    EXPECT_EQ(loaded, *model);
    EXPECT_EQ(loaded.pageCount(), 2);
    EXPECT_EQ(loaded.title, QStringLiteral("Wydruk próbny"));
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
    model.pages.resize(1);
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
