#include "TextMetrics.h"

#include <QFontMetricsF>
#include <QImage>
#include <QHash>
#include <memory>

namespace kal::report {
namespace {

constexpr double kLayoutDpi = 1200.0;
constexpr double kMmPerUnit = 25.4 / kLayoutDpi;

// A paint device at the layout resolution; fonts in points scale to it.
const QImage& LayoutDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        const int dotsPerMeter = qRound(kLayoutDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

QString KeyOf(const FontDef& f)
{
    return f.family + QLatin1Char('|') + QString::number(f.pointSize) + QLatin1Char('|')
        + QLatin1Char(f.bold ? 'b' : '-') + QLatin1Char(f.italic ? 'i' : '-') + QLatin1Char(f.underline ? 'u' : '-');
}

// The metrics of a font, with the widths of the texts measured in it: a
// report measures the same texts (names, headings, numbers) over and over.
class Metrics {
public:
    explicit Metrics(const FontDef& font) : m_fm(ToQFont(font), &LayoutDevice()) {}
    const QFontMetricsF& fm() const { return m_fm; }
    // Width of `text` in layout units.
    qreal advance(const QString& text)
    {
        const auto it = m_widths.constFind(text);
        if (it != m_widths.constEnd())
            return it.value();
        if (m_widths.size() >= kKeptWidths)
            m_widths.clear(); // a long list of unique texts: start over
        const qreal w = m_fm.horizontalAdvance(text);
        m_widths.insert(text, w);
        return w;
    }

private:
    static constexpr qsizetype kKeptWidths = 50000;
    QFontMetricsF m_fm;
    QHash<QString, qreal> m_widths;
};

Metrics& MetricsOf(const FontDef& font)
{
    static QHash<QString, std::shared_ptr<Metrics>> cache;
    static FontDef lastFont;
    static Metrics* last = nullptr;
    if (last && lastFont == font)
        return *last;
    const QString key = KeyOf(font);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, std::make_shared<Metrics>(font));
    lastFont = font;
    last = it.value().get();
    return *last;
}

} // namespace

double TextMetrics::width(const FontDef& font, const QString& text)
{
    return MetricsOf(font).advance(text) * kMmPerUnit;
}

double TextMetrics::lineHeight(const FontDef& font)
{
    return MetricsOf(font).fm().lineSpacing() * kMmPerUnit;
}

QStringList TextMetrics::wrap(const FontDef& font, const QString& text, double widthMm)
{
    QStringList out;
    Metrics& fm = MetricsOf(font);
    const double limit = widthMm / kMmPerUnit + 1e-6;
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (QString para : paragraphs) {
        if (para.endsWith(QLatin1Char('\r')))
            para.chop(1);
        if (fm.advance(para) <= limit) {
            out << para;
            continue;
        }
        QString line;
        const QStringList words = para.split(QLatin1Char(' '));
        for (int w = 0; w < words.size(); ++w) {
            QString word = words[w];
            const QString candidate = line.isEmpty() && w == 0 ? word : line + QLatin1Char(' ') + word;
            if (fm.advance(candidate) <= limit) {
                line = candidate;
                continue;
            }
            if (!line.isEmpty() || w > 0) {
                if (!line.isEmpty())
                    out << line;
                line.clear();
            }
            // The word alone: cut it when it is wider than the line.
            while (fm.advance(word) > limit && word.size() > 1) {
                int n = 1;
                while (n < word.size() && fm.advance(word.left(n + 1)) <= limit)
                    ++n;
                out << word.left(n);
                word = word.mid(n);
            }
            line = word;
        }
        out << line;
    }
    return out;
}

} // namespace kal::report
