#pragma once
// Reading a PDF file back with poppler's tools, for the tests: its text, its
// fonts and its pages as images, and comparing the ink of two images.

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace kal::test {

inline bool HasTool(const char* name)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

// The standard output of `tool` run with `arguments`.
inline QString Tool(const char* tool, const QStringList& arguments)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(QString::fromLatin1(tool)), arguments);
    process.waitForFinished(120000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of `pdf` as pdftotext reads it in `mode` ("-layout", "-raw").
inline QString PdfText(const QString& pdf, const QString& mode)
{
    return Tool("pdftotext", {mode, pdf, QStringLiteral("-")});
}

// Page `page` (1-based) of a PDF as a grey image at `dpi`.
inline QImage PageImage(const QString& pdf, int page, int dpi)
{
    const QString prefix = pdf + QStringLiteral(".strona");
    Tool("pdftoppm", {QStringLiteral("-gray"), QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                     QString::number(page), QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"), pdf,
                     prefix});
    return QImage(prefix + QStringLiteral(".pgm"));
}

// Dark pixels of `a` with no dark pixel of `b` within one pixel of them;
// `ink` gets the number of dark pixels of `a`.
inline int UnmatchedInk(const QImage& a, const QImage& b, int* ink)
{
    int unmatched = 0;
    *ink = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (qGray(a.pixel(x, y)) >= 128)
                continue;
            ++*ink;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx)
                    found = b.valid(x + dx, y + dy) && qGray(b.pixel(x + dx, y + dy)) < 128;
            unmatched += !found;
        }
    return unmatched;
}

// Dark pixels of `image` within `box`.
inline int InkIn(const QImage& image, const QRect& box)
{
    int n = 0;
    for (int y = std::max(0, box.top()); y <= box.bottom() && y < image.height(); ++y)
        for (int x = std::max(0, box.left()); x <= box.right() && x < image.width(); ++x)
            n += qGray(image.pixel(x, y)) < 128;
    return n;
}

} // namespace kal::test
