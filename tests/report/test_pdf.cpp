// The PDF file of a report: the text read back, the fonts, the look against
// the page drawn by the painter, the progress shown while it is written, and
// a file that is complete or not there at all.

#include "Exceptions.h"
#include "Export.h"
#include "PdfWriter.h"
#include "PrintProgress.h"
#include "Printer.h"
#include "Render.h"
#include "PdfTools.h"
#include "SampleReport.h"
#include "TextMetrics.h"

#include "PageFiles.h"
#include "TestDir.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QMessageBox>
#include <QProgressDialog>
#include <QRawFont>
#include <QRegularExpression>
#include <QTextLayout>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>
#include <hb.h>

using namespace kal::report;
using kal::report::test::SampleReport;
using namespace kal::test;

namespace {

// The sample report with what else a form may hold: an underlined text,
// kerned pairs, a centred italic text, a bold one aligned right with blanks
// behind it, band frames, a rectangle and a line.
struct FormSample : SampleReport {
    FormSample()
    {
        Band* title = report.band(QStringLiteral("Title"));
        Label* under = title->addLabel(QStringLiteral("LPodkreslony"), 0, 17, 60, 5, QStringLiteral("Podkreślony AV Wy To."));
        under->font.underline = true;
        Label* centre = title->addLabel(QStringLiteral("LSrodek"), 60, 17, 70, 5, QStringLiteral("Wyśrodkowany fi fl"));
        centre->alignment = Align::Center;
        centre->font.italic = true;
        Label* right = title->addLabel(QStringLiteral("LPrawy"), 130, 17, 60, 5, QStringLiteral("Prawy  "));
        right->alignment = Align::Right;
        right->font.bold = true;
        right->font.pointSize = 8;
        title->addShape(QStringLiteral("SRamka"), 0, 1, 190, 10, Shape::Type::Rectangle)->penWidth = 0.5;
        report.band(QStringLiteral("Columns"))->frame = FrameTop | FrameBottom;
    }
};

QStringList Words(const QString& text)
{
    return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

QStringList ModelWords(const PageModel& model)
{
    QStringList words;
    for (int p = 0; p < model.pageCount(); ++p)
        for (const auto page = model.page(p); const PageItem& item : page->items)
            if (item.kind == PageItem::Kind::Text)
                words += item.text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return words;
}

// A sample's report written by the writer ("raport.pdf") and drawn by the
// painter ("malarz.pdf") in a folder of its own.
template <class Sample>
struct PdfPair {
    kal::test::TestDir dir;
    Sample sample;
    std::shared_ptr<const PageModel> model = sample.report.prepare();
    QString ours = dir.file(QStringLiteral("raport.pdf"));
    QString painted = dir.file(QStringLiteral("malarz.pdf"));

    template <class... Args>
    explicit PdfPair(Args&&... args) : sample(std::forward<Args>(args)...)
    {
        WritePdf(*model, ours);
        QFile file(painted);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_TRUE(PaintPdf(*model, file, 0, model->pageCount() - 1, model->title));
    }
};
using BothPdfs = PdfPair<FormSample>;

// Units with a character a face may lack ("⁶"): alone, among other
// characters, aligned left, right and centred, in bold, and underlined.
struct UnitsReport {
    Report report;
    explicit UnitsReport(const QString& family = QStringLiteral("Arial"))
    {
        report.title = QStringLiteral("Jednostki.");
        report.font = FontDef{family, 10.0, false, false, false};
        Band* title = report.addBand(BandType::Title, QStringLiteral("Title"));
        title->height = 60;
        title->addLabel(QStringLiteral("L1"), 0, 0, 60, 6, QStringLiteral("[Mg lub 10⁶ m³]"));
        title->addLabel(QStringLiteral("L2"), 60, 0, 60, 6, QStringLiteral("zł/10⁶ m³ AV"))->alignment = Align::Right;
        title->addLabel(QStringLiteral("L3"), 120, 0, 60, 6, QStringLiteral("⁶⁶ Wy ⁶"))->alignment = Align::Center;
        Label* bold = title->addLabel(QStringLiteral("L4"), 0, 10, 90, 6, QStringLiteral("Zużycie paliwa [Mg lub 10⁶ m³]"));
        bold->font.bold = true;
        Label* under = title->addLabel(QStringLiteral("L5"), 90, 10, 90, 6, QStringLiteral("stawka [zł/10⁶ m³]"));
        under->font.underline = true;
        under->font.pointSize = 8;
        title->addLabel(QStringLiteral("L6"), 0, 20, 90, 6, QStringLiteral("bez jednostki"));
    }
};

using UnitPdfs = PdfPair<UnitsReport>;

// The font file of a face that lacks `missing`: the face `font` is drawn
// with, its tables as they are but for the character map, which leaves those
// characters out, and the names, which give it the family `family`.
QByteArray FaceLacking(const FontDef& font, const QString& family, const QString& missing)
{
    const QRawFont arial = QRawFont::fromFont(ToQFont(font));
    const auto put = [](QByteArray& out, quint32 v, int bytes) {
        for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
            out.append(char((v >> shift) & 0xFF));
    };
    QString all;
    for (char16_t c = 1; c < 0xFFFE; ++c)
        if (!QChar::isSurrogate(c) && !missing.contains(QChar(c)))
            all += QChar(c);
    QList<quint32> glyphs(all.size());
    int count = static_cast<int>(glyphs.size());
    arial.glyphIndexesForChars(all.constData(), static_cast<int>(all.size()), glyphs.data(), &count);
    // A map of Unicode characters (format 12), a group for each character.
    QByteArray groups;
    for (qsizetype i = 0; i < all.size(); ++i)
        if (glyphs[i] != 0) {
            put(groups, all[i].unicode(), 4);
            put(groups, all[i].unicode(), 4);
            put(groups, glyphs[i], 4);
        }
    QByteArray cmap;
    for (const quint32 v : {0, 1, 3, 10})
        put(cmap, v, 2);
    put(cmap, 12, 4);
    put(cmap, 12, 2);
    put(cmap, 0, 2);
    put(cmap, static_cast<quint32>(16 + groups.size()), 4);
    put(cmap, 0, 4);
    put(cmap, static_cast<quint32>(groups.size() / 12), 4);
    cmap += groups;
    // The names: family, style, full name and PostScript name.
    const QString style = font.bold ? QStringLiteral("Bold") : QStringLiteral("Regular");
    const QString names[] = {family, style, family + QLatin1Char(' ') + style,
                             QString(family).remove(QLatin1Char(' ')) + QLatin1Char('-') + style};
    QByteArray name, strings;
    for (const quint32 v : {0, 4, 6 + 12 * 4})
        put(name, v, 2);
    for (int i = 0; i < 4; ++i) {
        QByteArray text;
        for (const QChar c : names[i])
            put(text, c.unicode(), 2);
        for (const int v : {3, 1, 0x409, i == 3 ? 6 : i == 2 ? 4 : i + 1})
            put(name, static_cast<quint32>(v), 2);
        put(name, static_cast<quint32>(text.size()), 2);
        put(name, static_cast<quint32>(strings.size()), 2);
        strings += text;
    }
    name += strings;

    hb_face_t* builder = hb_face_builder_create();
    for (const char* tag : {"GDEF", "GPOS", "GSUB", "OS/2", "cmap", "cvt ", "fpgm", "gasp", "glyf", "head", "hhea", "hmtx",
                            "kern", "loca", "maxp", "name", "post", "prep"}) {
        const QByteArray table = qstrcmp(tag, "cmap") == 0 ? cmap : qstrcmp(tag, "name") == 0 ? name : arial.fontTable(tag);
        hb_blob_t* blob = hb_blob_create(table.constData(), static_cast<unsigned>(table.size()), HB_MEMORY_MODE_DUPLICATE,
                                         nullptr, nullptr);
        if (!table.isEmpty())
            hb_face_builder_add_table(builder, hb_tag_from_string(tag, 4), blob);
        hb_blob_destroy(blob);
    }
    hb_blob_t* file = hb_face_reference_blob(builder);
    unsigned length = 0;
    const char* data = hb_blob_get_data(file, &length);
    const QByteArray out(data, static_cast<qsizetype>(length));
    hb_blob_destroy(file);
    hb_face_destroy(builder);
    return out;
}

// A family of faces that certainly lack "⁶" and "³", plain and bold as
// Arial's, registered once; empty when Arial is drawn with a face that is not
// TrueType (its PDF is then drawn by Qt's painter).
QString FaceWithoutExponents()
{
    static const QString family = [] {
        QString registered;
        if (QRawFont::fromFont(ToQFont(FontDef{})).fontTable("glyf").isEmpty())
            return registered;
        for (const bool bold : {false, true}) {
            FontDef font;
            font.bold = bold;
            registered = QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFontFromData(FaceLacking(
                                                                    font, QStringLiteral("Kalmora Proba"), QStringLiteral("⁶³"))))
                             .value(0);
        }
        return registered;
    }();
    return family;
}

// Whether Qt draws `c` in `family` from another face.
bool FallsBack(const QString& family, const QString& c)
{
    QTextLayout layout(QStringLiteral("a") + c, QFont(family));
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.glyphRuns().size() == 2;
}

// A list of `rows` numbered rows, about fifty to a page; `make` gives the
// make of row i.
struct LongList {
    Report report;
    ListDataSource rows{{QStringLiteral("Lp"), QStringLiteral("Marka")}};
    explicit LongList(int count, const std::function<QString(int)>& make = {})
    {
        for (int i = 1; i <= count; ++i)
            rows.addRow({QString::number(i), make                ? make(i)
                                                 : i % 2 ? QStringLiteral("Żuk Lublin")
                                                         : QStringLiteral("Fiat Ducato")});
        report.title = QStringLiteral("Wykaz pojazdów.");
        report.dataSource = &rows;
        Band* header = report.addBand(BandType::PageHeader, QStringLiteral("PageHeader"));
        header->height = 8;
        SysData* page = header->addSysData(QStringLiteral("SStrona"), 150, 0, 40, 5, SysData::Data::PageNumber);
        page->prefix = QStringLiteral("Strona ");
        Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
        detail->height = 5;
        detail->addDataText(QStringLiteral("DLp"), 0, 0, 15, 5, QStringLiteral("Lp"))->alignment = Align::Right;
        detail->addDataText(QStringLiteral("DMarka"), 20, 0, 60, 5, QStringLiteral("Marka"));
    }
};

class RecordingProgress final : public IPrintProgress {
public:
    RecordingProgress() { SetPrintProgress(this); }
    ~RecordingProgress() override { SetPrintProgress(nullptr); }
    void begin(const QString& title, const QString& fileName, const QString& printerName, int pages) override
    {
        calls << QStringLiteral("begin %1|%2|%3|%4").arg(title, QDir(fileName).dirName(), printerName).arg(pages);
    }
    void advance(int done) override
    {
        steps.push_back(done);
        if (failAt > 0 && done == failAt)
            throw kal::Exception(QStringLiteral("przerwano"));
    }
    void end() override { calls << QStringLiteral("end"); }
    QStringList calls;
    std::vector<int> steps;
    int failAt = 0;
};

} // namespace

TEST(Pdf, TheTextReadBackIsThePageModelsAndAsThePaintersPdfGivesIt)
{
    if (!HasTool("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    const BothPdfs pdfs;
    const QString layout = PdfText(pdfs.ours, QStringLiteral("-layout"));
    EXPECT_EQ(layout, PdfText(pdfs.painted, QStringLiteral("-layout")));
    EXPECT_TRUE(layout.contains(QStringLiteral("Podkreślony AV Wy To.")));
    EXPECT_TRUE(layout.contains(QStringLiteral("Wyśrodkowany fi fl")));
    EXPECT_TRUE(layout.contains(QStringLiteral("uwaga: duża ilość")));
    EXPECT_EQ(Words(PdfText(pdfs.ours, QStringLiteral("-raw"))), ModelWords(*pdfs.model));
}

TEST(Pdf, FontsAreEmbeddedSubsetsOfTheFacesTheReportUses)
{
    if (!HasTool("pdffonts"))
        GTEST_SKIP() << "pdffonts is not installed";
    const BothPdfs pdfs;
    const QStringList lines = Tool("pdffonts", {pdfs.ours}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // A heading of two lines, then one line a face: plain, bold and italic
    // Liberation Sans (the 8 and 10 point texts share their face), each
    // embedded, a subset, with its text map.
    ASSERT_EQ(lines.size(), 5) << lines.join(QLatin1Char('\n')).toStdString();
    QStringList faces;
    for (const QString& line : lines.mid(2)) {
        const QStringList f = Words(line);
        ASSERT_GE(f.size(), 8);
        faces << f[0].mid(f[0].indexOf(QLatin1Char('+')) + 1);
        EXPECT_EQ(f[0].indexOf(QLatin1Char('+')), 6) << line.toStdString();
        EXPECT_EQ(f.mid(f.size() - 5, 3), (QStringList{QStringLiteral("yes"), QStringLiteral("yes"), QStringLiteral("yes")}))
            << line.toStdString();
    }
    faces.sort();
    EXPECT_EQ(faces, (QStringList{QStringLiteral("LiberationSans"), QStringLiteral("LiberationSans-Bold"),
                                  QStringLiteral("LiberationSans-Italic")}));
}

TEST(Pdf, PagesLookAsThePainterDrawsThem)
{
    if (!HasTool("pdftoppm"))
        GTEST_SKIP() << "pdftoppm is not installed";
    const BothPdfs pdfs;
    for (int page = 1; page <= pdfs.model->pageCount(); ++page) {
        const QImage ours = PageImage(pdfs.ours, page, 100);
        const QImage painted = PageImage(pdfs.painted, page, 100);
        ASSERT_EQ(ours.size(), painted.size());
        int ink = 0, paintedInk = 0;
        // Every dark pixel of one is within a pixel of a dark pixel of the
        // other: texts, underline, frames and the rectangle stand where the
        // painter puts them.
        EXPECT_EQ(UnmatchedInk(ours, painted, &ink), 0) << "page " << page;
        EXPECT_EQ(UnmatchedInk(painted, ours, &paintedInk), 0) << "page " << page;
        EXPECT_GT(ink, 1000);
        EXPECT_NEAR(ink, paintedInk, paintedInk / 20);
    }
}

// The text of the units reads back whole, "⁶" included, and shows as the
// painter draws it, whichever face has the "⁶".
void ExpectUnitsAsThePainterDrawsThem(const UnitPdfs& pdfs)
{
    const QString layout = PdfText(pdfs.ours, QStringLiteral("-layout"));
    EXPECT_TRUE(layout.contains(QStringLiteral("[Mg lub 10⁶ m³]"))) << layout.toStdString();
    EXPECT_TRUE(layout.contains(QStringLiteral("Zużycie paliwa [Mg lub 10⁶ m³]"))) << layout.toStdString();
    EXPECT_TRUE(layout.contains(QStringLiteral("⁶⁶ Wy ⁶"))) << layout.toStdString();
    EXPECT_EQ(Words(PdfText(pdfs.ours, QStringLiteral("-raw"))), ModelWords(*pdfs.model));

    // Drawn where the painter draws it, with its ink, and the rest of each
    // line where the painter puts it (the line stands as low as the taller
    // face needs, and what follows moves by the glyph's own advance).
    // (At 200 dpi: smaller, the outlines' own smoothing tells by a pixel.)
    constexpr int dpi = 200;
    const QImage ours = PageImage(pdfs.ours, 1, dpi);
    const QImage painted = PageImage(pdfs.painted, 1, dpi);
    ASSERT_EQ(ours.size(), painted.size());
    int ink = 0, paintedInk = 0;
    EXPECT_EQ(UnmatchedInk(ours, painted, &ink), 0);
    EXPECT_EQ(UnmatchedInk(painted, ours, &paintedInk), 0);
    EXPECT_NEAR(ink, paintedInk, paintedInk / 20);

    // Without its "⁶" the first text would have less ink than the painter's.
    // The first text's box: 10 mm from the paper's corner, 60 x 6 mm.
    const auto px = [](double mm) { return static_cast<int>(mm / 25.4 * dpi); };
    const QRect first(px(10), px(10), px(60), px(6));
    EXPECT_GT(InkIn(ours, first), 0);
    EXPECT_NEAR(InkIn(ours, first), InkIn(painted, first), InkIn(painted, first) / 20);
}

TEST(Pdf, UnitsReadBackAndShowAsThePainterDrawsThemWhicheverFacesAreInstalled)
{
    if (!HasTool("pdftoppm") || !HasTool("pdftotext"))
        GTEST_SKIP() << "poppler's tools are not installed";
    ExpectUnitsAsThePainterDrawsThem(UnitPdfs());
}

TEST(Pdf, ACharacterTheFaceLacksIsDrawnFromTheFaceQtFallsBackTo)
{
    if (!HasTool("pdftoppm") || !HasTool("pdftotext") || !HasTool("pdffonts"))
        GTEST_SKIP() << "poppler's tools are not installed";
    const QString family = FaceWithoutExponents();
    if (family.isEmpty())
        GTEST_SKIP() << "Arial is drawn with a face that is not TrueType";
    if (!FallsBack(family, QStringLiteral("⁶")) || !FallsBack(family, QStringLiteral("³")))
        GTEST_SKIP() << "no installed face has \"⁶\" and \"³\" for Qt to fall back to";
    const UnitPdfs pdfs(family);
    ExpectUnitsAsThePainterDrawsThem(pdfs);

    // Besides the subsets of the face, a font of the glyphs it lacks,
    // embedded, with its text map.
    const QStringList lines = Tool("pdffonts", {pdfs.ours}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    int others = 0;
    for (const QString& line : lines.mid(2)) {
        if (line.contains(QStringLiteral("KalmoraProba")))
            continue;
        ++others;
        EXPECT_TRUE(line.contains(QStringLiteral("Type 3"))) << line.toStdString();
        const QStringList f = Words(line);
        ASSERT_GE(f.size(), 5);
        EXPECT_EQ(f.mid(f.size() - 5, 3), (QStringList{QStringLiteral("yes"), QStringLiteral("no"), QStringLiteral("yes")}))
            << line.toStdString();
    }
    EXPECT_GE(others, 1) << lines.join(QLatin1Char('\n')).toStdString();
}

// A long text that comes again after many others (more than a thread keeps
// shaped) is drawn with its own glyphs.
TEST(Pdf, ATextComingAgainAfterManyOthersReadsBackWhole)
{
    if (!HasTool("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    kal::test::TestDir dir;
    LongList list(350, [](int i) { return QStringLiteral("Pojazd %1 ").arg(i % 320, 3, 10, QChar(u'0')).repeated(10); });
    const auto model = list.report.prepare();
    ASSERT_LT(model->pageCount(), 8); // one thread builds every page
    WritePdf(*model, dir.file(QStringLiteral("wykaz.pdf")));
    EXPECT_EQ(Words(PdfText(dir.file(QStringLiteral("wykaz.pdf")), QStringLiteral("-raw"))), ModelWords(*model));
}

// Lines of text 12 mm apart, 180 mm wide, in `fonts` in turn.
struct TextLines {
    Report report;
    explicit TextLines(const QStringList& lines, const std::vector<FontDef>& fonts = {FontDef{}})
    {
        report.title = QStringLiteral("Wiersze.");
        Band* title = report.addBand(BandType::Title, QStringLiteral("Title"));
        title->height = 12.0 * static_cast<double>(lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i)
            title->addLabel(QStringLiteral("L%1").arg(i), 0, 12.0 * static_cast<double>(i), 180, 8, lines[i])->font =
                fonts[static_cast<std::size_t>(i) % fonts.size()];
    }
};

TEST(Pdf, MoreThanAHundredGlyphsOfOneFaceReadBackWhole)
{
    if (!HasTool("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    const QStringList lines{QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123456789"),
                            QStringLiteral("ĄĆĘŁŃÓŚŹŻ ąćęłńóśźż ÄÖÜäöüß éèêëàâçñ ÉÈÀÇ"),
                            QStringLiteral("!?()[]{}<>+-=*/\\%&#@$;:,.\"'~^_| §°±µ"),
                            QStringLiteral("Zużycie paliwa [Mg] stawka [zł/Mg] — „cudzysłów” …")};
    const PdfPair<TextLines> pdfs(lines);
    QString all = lines.join(QString());
    all.remove(QLatin1Char(' '));
    std::sort(all.begin(), all.end());
    ASSERT_GT(std::unique(all.begin(), all.end()) - all.begin(), 120);
    EXPECT_EQ(Words(PdfText(pdfs.ours, QStringLiteral("-raw"))), ModelWords(*pdfs.model));
}

// An underline: its centre and thickness in pixels, measured where it runs
// alone under the blanks `blank` (each pixel weighed by its darkness), and
// its ends in `box` on the row of its centre.
struct Underline {
    double centre = 0, thickness = 0;
    int left = 0, right = 0;
};

Underline UnderlineIn(const QImage& image, const QRect& box, const QRect& blank)
{
    const auto darkness = [&image](int x, int y) { return (255 - qGray(image.pixel(x, y))) / 255.0; };
    Underline line{0, 0, box.right(), box.left()};
    double weight = 0;
    for (int y = blank.top(); y <= blank.bottom(); ++y)
        for (int x = blank.left(); x <= blank.right(); ++x) {
            weight += darkness(x, y);
            line.centre += y * darkness(x, y);
        }
    line.centre /= std::max(weight, 1e-9);
    line.thickness = weight / blank.width();
    for (int x = box.left(); x <= box.right(); ++x)
        if (darkness(x, static_cast<int>(std::lround(line.centre))) >= 0.5) {
            line.left = std::min(line.left, x);
            line.right = std::max(line.right, x);
        }
    return line;
}

TEST(Pdf, AnUnderlineStandsWhereThePainterPutsItAt300Dpi)
{
    if (!HasTool("pdftoppm"))
        GTEST_SKIP() << "pdftoppm is not installed";
    const QString word = QStringLiteral("PODKREŚLONY"), blanks(12, QLatin1Char(' '));
    std::vector<FontDef> fonts;
    QStringList lines;
    for (const double size : {7.0, 8.0, 9.0, 10.0, 12.0, 14.0, 18.0})
        for (const bool bold : {false, true}) {
            fonts.push_back(FontDef{QStringLiteral("Arial"), size, bold, !bold && size > 10, true});
            lines << word + blanks + QStringLiteral("%1 pt").arg(size);
        }
    const PdfPair<TextLines> pdfs(lines, fonts);
    constexpr int dpi = 300;
    const QImage ours = PageImage(pdfs.ours, 1, dpi);
    const QImage painted = PageImage(pdfs.painted, 1, dpi);
    ASSERT_EQ(ours.size(), painted.size());
    const auto px = [](double mm) { return static_cast<int>(std::lround(mm / 25.4 * dpi)); };
    int texts = 0;
    for (const auto page = pdfs.model->page(0); const PageItem& item : page->items) {
        if (item.kind != PageItem::Kind::Text)
            continue;
        ++texts;
        // From the top of the text to 10 mm below it (the next is 12 mm
        // below); the blanks but for 1.5 mm either side, where an italic
        // letter may lean into them.
        const FontDef& font = pdfs.model->fontOf(item);
        const double width = TextMetrics::width(font, item.text);
        const QRect box(px(item.x1 - 1), px(item.y1), px(width + 2), px(10));
        const double from = item.x1 + TextMetrics::width(font, word + QLatin1Char(' ')) + 1.5;
        const QRect blank(px(from), box.top(), px(item.x1 + TextMetrics::width(font, word + blanks) - 1.5) - px(from),
                          box.height());
        const Underline a = UnderlineIn(ours, box, blank), b = UnderlineIn(painted, box, blank);
        const std::string what = item.text.simplified().toStdString() + (font.bold ? " bold" : "");
        EXPECT_NEAR(a.centre, b.centre, 0.25) << what;
        EXPECT_NEAR(a.thickness, b.thickness, 0.25) << what;
        EXPECT_NEAR(a.left, b.left, 1) << what;
        EXPECT_NEAR(a.right, b.right, 1) << what;
        EXPECT_GE(a.right - a.left, px(width) - 3) << what;
    }
    EXPECT_EQ(texts, lines.size());
}

TEST(Pdf, AReportOfManyPagesKeepsItsPagesInOrder)
{
    if (!HasTool("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    kal::test::TestDir dir;
    LongList list(3000);
    const auto model = list.report.prepare();
    ASSERT_GT(model->pageCount(), 50);
    RecordingProgress progress;
    WritePdf(*model, dir.file(QStringLiteral("wykaz.pdf")));
    const QString text = PdfText(dir.file(QStringLiteral("wykaz.pdf")), QStringLiteral("-raw"));
    EXPECT_EQ(Words(text), ModelWords(*model));
    const QStringList pages = text.split(QLatin1Char('\f'));
    ASSERT_EQ(pages.size(), model->pageCount() + 1);
    for (int p = 0; p < model->pageCount(); ++p)
        EXPECT_TRUE(pages[p].startsWith(QStringLiteral("Strona %1\n").arg(p + 1))) << pages[p].left(20).toStdString();

    // The progress went page by page to the last one.
    ASSERT_EQ(progress.calls.size(), 2);
    EXPECT_EQ(progress.calls[0], QStringLiteral("begin Wykaz pojazdów.|wykaz.pdf||%1").arg(model->pageCount()));
    EXPECT_EQ(progress.calls[1], QStringLiteral("end"));
    ASSERT_EQ(progress.steps.size(), static_cast<std::size_t>(model->pageCount()));
    for (std::size_t i = 0; i < progress.steps.size(); ++i)
        EXPECT_EQ(progress.steps[i], static_cast<int>(i) + 1);
}

// A list whose pages went to the page file gives the PDF (but for its date)
// and the CSV of the same list held in memory, byte for byte: its pages are
// built by the writer's threads in any order, and characters the face lacks
// first come on late pages and then on pages a thread may build before
// their substitutes are found.
TEST(LongReport, ThePdfAndCsvOfPagesFromThePageFileAreThoseOfPagesInMemory)
{
    kal::test::TestDir dir;
    const QString family = FaceWithoutExponents();
    LongList list(12000, [](int i) {
        return i > 7000 && i % 7 == 0 ? QStringLiteral("Jelcz %1 m³, \"10⁶\"").arg(i % 3) : QStringLiteral("Star 200");
    });
    if (!family.isEmpty())
        for (const auto& control : list.report.band(QStringLiteral("Detail"))->controls())
            control->font.family = family;
    const auto exports = [&list](int inMemory) {
        const auto model = list.report.prepare();
        EXPECT_EQ(model->pagesInMemory(), inMemory < 0 ? model->pageCount() : inMemory);
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(WritePdfDocument(*model, 0, model->pageCount() - 1, model->title, buffer));
        const qsizetype date = pdf.indexOf("/CreationDate (D:");
        EXPECT_GT(date, 0);
        return std::pair(pdf.remove(date, 31), ExportCsv(*model));
    };
    const auto inMemory = exports(-1);
    const kal::test::PageFiles limit(0, dir.path());
    const auto fromFile = exports(0);
    EXPECT_GT(list.report.pages()->pageCount(), 200);
    EXPECT_TRUE(inMemory.first == fromFile.first);
    EXPECT_TRUE(inMemory.second == fromFile.second);
    EXPECT_TRUE(ExportCsv(*list.report.pages()).contains("\"Jelcz 2 m³, \"\"10⁶\"\"\"\r\n"));
}

TEST(Pdf, PrintToFileGoesThroughTheWriterWithTheChosenPages)
{
    if (!HasTool("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    kal::test::TestDir dir;
    LongList list(300);
    list.report.printSettings.outputFileName = dir.file(QStringLiteral("wydruk.pdf"));
    list.report.printSettings.fromPage = 2;
    list.report.printSettings.toPage = 3;
    RecordingProgress progress;
    list.report.print();
    const QString text = PdfText(dir.file(QStringLiteral("wydruk.pdf")), QStringLiteral("-raw"));
    const QStringList pages = text.split(QLatin1Char('\f'));
    ASSERT_EQ(pages.size(), 3);
    EXPECT_TRUE(pages[0].startsWith(QStringLiteral("Strona 2\n")));
    EXPECT_TRUE(pages[1].startsWith(QStringLiteral("Strona 3\n")));
    EXPECT_EQ(progress.calls, (QStringList{QStringLiteral("begin Wykaz pojazdów.|wydruk.pdf||2"), QStringLiteral("end")}));
    // The document carries the report's title.
    if (HasTool("pdfinfo")) {
        EXPECT_TRUE(Tool("pdfinfo", {dir.file(QStringLiteral("wydruk.pdf"))}).contains(QStringLiteral("Wykaz pojazdów.")));
    }
}

TEST(Pdf, AWriteCutShortLeavesTheOlderFileAndNoOther)
{
    kal::test::TestDir dir;
    const QString name = dir.file(QStringLiteral("raport.pdf"));
    {
        QFile older(name);
        ASSERT_TRUE(older.open(QIODevice::WriteOnly));
        older.write("wcześniejszy plik");
    }
    LongList list(1000);
    const auto model = list.report.prepare();
    RecordingProgress progress;
    progress.failAt = 5;
    EXPECT_THROW(WritePdf(*model, name), kal::Exception);
    // The display was closed also when the write broke off.
    EXPECT_EQ(progress.calls.value(1), QStringLiteral("end"));
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("wcześniejszy plik"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("raport.pdf")});

    // A folder that does not exist: the message names the file.
    const QString missing = dir.file(QStringLiteral("brak/raport.pdf"));
    try {
        WritePdf(*model, missing);
        ADD_FAILURE() << "no exception";
    } catch (const kal::Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Nie można zapisać pliku %1.").arg(missing));
    }
}

TEST(PrintProgressWindow, ShowsTheFileAndThePageWhileAPdfIsWritten)
{
    EXPECT_EQ(kal::PrintProgressWindow::Text(QStringLiteral("/home/jan/Wydruki/raport.pdf"), QString(), 120, 1924),
              QStringLiteral("Zapisywanie wydruku do pliku \"raport.pdf\"\nStrona 120 z 1924"));
    EXPECT_EQ(kal::PrintProgressWindow::Text(QString(), QStringLiteral("HP LaserJet"), 1, 2),
              QStringLiteral("Drukowanie na drukarce \"HP LaserJet\"\nStrona 1 z 2"));
    EXPECT_EQ(kal::PrintProgressWindow::Text(QString(), QString(), 0, 3), QStringLiteral("Drukowanie\nStrona 0 z 3"));

    kal::test::TestDir dir;
    LongList list(4000);
    const auto model = list.report.prepare();
    // The progress window, slowed down so that a long write is imitated.
    struct Slow final : IPrintProgress {
        kal::PrintProgressWindow window;
        bool shown = false;
        bool modal = false;
        QString title, label;
        void begin(const QString& t, const QString& f, const QString& p, int pages) override { window.begin(t, f, p, pages); }
        void advance(int done) override
        {
            QThread::msleep(15);
            window.advance(done);
            if (window.window() && window.window()->isVisible() && !shown) {
                shown = true;
                modal = window.window()->windowModality() == Qt::ApplicationModal;
                title = window.window()->windowTitle();
                label = window.window()->labelText();
            }
        }
        void end() override { window.end(); }
    } slow;
    SetPrintProgress(&slow);
    WritePdf(*model, dir.file(QStringLiteral("wykaz.pdf")));
    SetPrintProgress(nullptr);
    EXPECT_TRUE(slow.shown);
    EXPECT_TRUE(slow.modal);
    EXPECT_EQ(slow.title, QStringLiteral("Wykaz pojazdów."));
    EXPECT_TRUE(slow.label.startsWith(QStringLiteral("Zapisywanie wydruku do pliku \"wykaz.pdf\"\nStrona "))) << slow.label.toStdString();
    EXPECT_EQ(slow.window.window(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// While a report is made the other windows wait, but a question asked in the
// middle of it (a message box of a rule) shows and can be answered.
TEST(PrintProgressWindow, AQuestionAskedWhileAReportIsMadeShowsAsUsual)
{
    LongList list(400);
    struct Paints final : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            count += e->type() == QEvent::Paint;
            return false;
        }
    } paints;
    bool asked = false, shown = false;
    struct Slow final : IPrintProgress {
        kal::PrintProgressWindow window;
        std::function<void(int)> atRecord;
        void begin(const QString&, const QString&, const QString&, int) override {}
        void advance(int) override {}
        void end() override {}
        void beginBuild(const QString& t) override { window.beginBuild(t); }
        void advanceBuild(int done, int records, int pages) override
        {
            QThread::msleep(3);
            window.advanceBuild(done, records, pages);
            atRecord(done);
        }
        void endBuild() override { window.endBuild(); }
    } slow;
    slow.atRecord = [&](int done) {
        if (done != 300)
            return;
        shown = slow.window.window() && slow.window.window()->isVisible();
        QMessageBox box(QMessageBox::Question, QStringLiteral("System Kalmora."), QStringLiteral("Czy kontynuować?"),
                        QMessageBox::Yes | QMessageBox::No);
        box.installEventFilter(&paints);
        QTimer::singleShot(300, &box, [&box] { box.done(QMessageBox::Yes); });
        asked = box.exec() == QMessageBox::Yes;
    };
    SetPrintProgress(&slow);
    const auto model = list.report.prepare();
    SetPrintProgress(nullptr);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(asked);
    EXPECT_GT(paints.count, 0);
    // 53 rows a page ((297 - 2 x 10 - 8) / 5 mm): 8 pages.
    EXPECT_EQ(model->pageCount(), 8);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
