#include "PageModel.h"

namespace kal::report {

QFont ToQFont(const FontDef& wanted)
{
    QString family = wanted.family;
    if (family.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0 || family.isEmpty())
        family = QStringLiteral("Liberation Sans");
    else if (family.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0)
        family = QStringLiteral("Liberation Serif");
    else if (family.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0)
        family = QStringLiteral("Liberation Mono");
    QFont font(family);
    font.setPointSizeF(wanted.pointSize > 0 ? wanted.pointSize : 9.0);
    font.setBold(wanted.bold);
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

std::uint16_t PageModel::fontIndex(const FontDef& font)
{
    if (m_lastFont >= 0 && m_lastFont < static_cast<int>(fonts.size()) && fonts[m_lastFont] == font)
        return static_cast<std::uint16_t>(m_lastFont);
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        if (fonts[i] == font) {
            m_lastFont = static_cast<int>(i);
            return static_cast<std::uint16_t>(i);
        }
    }
    fonts.push_back(font);
    m_lastFont = static_cast<int>(fonts.size() - 1);
    return static_cast<std::uint16_t>(m_lastFont);
}

const FontDef& PageModel::fontOf(const PageItem& item) const
{
    static const FontDef fallback;
    return item.font < fonts.size() ? fonts[item.font] : fallback;
}

bool PageModel::operator==(const PageModel& other) const
{
    return title == other.title && paperSize == other.paperSize && orientation == other.orientation
        && fonts == other.fonts && pages == other.pages;
}

QSizeF A4Size(Orientation orientation)
{
    return orientation == Orientation::Landscape ? QSizeF(297.0, 210.0) : QSizeF(210.0, 297.0);
}

} // namespace kal::report
