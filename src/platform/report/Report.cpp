#include "Report.h"

#include "Clock.h"
#include "Dialogs.h"
#include "Printer.h"
#include "TextMetrics.h"

#include <QHash>
#include <QPrinter>
#include <QTime>
#include <algorithm>
#include <cmath>

namespace kal::report {

// --- bands ----------------------------------------------------------------

Band::Band(Report* report, BandType type, QString name) : m_report(report), m_type(type), m_name(std::move(name)) {}

Band* Band::child(const QString& name)
{
    if (!m_child)
        m_child.reset(new Band(m_report, BandType::Child, name.isEmpty() ? m_name + QStringLiteral("Child") : name));
    return m_child.get();
}

template <class T> T* Band::add(const QString& name, double left, double top, double width, double height)
{
    auto control = std::make_unique<T>(this);
    control->name = name;
    control->left = left;
    control->top = top;
    control->width = width;
    control->height = height;
    control->font = m_report->font;
    T* raw = control.get();
    m_controls.push_back(std::move(control));
    return raw;
}

Label* Band::addLabel(const QString& name, double left, double top, double width, double height, const QString& caption)
{
    Label* label = add<Label>(name, left, top, width, height);
    label->caption = caption;
    return label;
}

DataText* Band::addDataText(const QString& name, double left, double top, double width, double height, const QString& field)
{
    DataText* text = add<DataText>(name, left, top, width, height);
    text->field = field;
    return text;
}

SysData* Band::addSysData(const QString& name, double left, double top, double width, double height, SysData::Data data)
{
    SysData* sys = add<SysData>(name, left, top, width, height);
    sys->data = data;
    return sys;
}

Memo* Band::addMemo(const QString& name, double left, double top, double width, double height, const QStringList& lines)
{
    Memo* memo = add<Memo>(name, left, top, width, height);
    memo->lines = lines;
    return memo;
}

Shape* Band::addShape(const QString& name, double left, double top, double width, double height, Shape::Type shape)
{
    Shape* s = add<Shape>(name, left, top, width, height);
    s->shape = shape;
    return s;
}

Control* Band::control(const QString& name) const
{
    for (const auto& c : m_controls)
        if (c->name.compare(name, Qt::CaseInsensitive) == 0)
            return c.get();
    return nullptr;
}

// --- the run --------------------------------------------------------------

class Runner {
public:
    Runner(Report& report, IPrintProgress* progress) : r(report), m_progress(progress) {}
    std::shared_ptr<PageModel> run();

private:
    enum class Role { Content, PageBand, Footer };
    struct TextLine {
        double x, y, w, h;
        Align align;
        QString text;
        FontDef font;
    };

    void startPage();
    void finishPage(bool last);
    void printChain(Band* band, Role role, IDataSource* source);
    void printBand(Band& band, Role role, IDataSource* source);
    double contentLimit() const;
    QString sysText(const SysData& sys) const;
    QString dataText(const DataText& text, const Band& band, IDataSource* source) const;
    void layoutText(const Control& c, const QString& text, double& controlHeight, double& boxLeft, double& boxWidth,
                    std::vector<TextLine>& out) const;
    void addLine(double x1, double y1, double x2, double y2, double pen);
    void addFrame(unsigned sides, double x, double y, double w, double h, double pen);

    Report& r;
    IPrintProgress* m_progress; // shows the run's progress, or nullptr
    std::shared_ptr<PageModel> model;
    Page page; // the page being filled; the model takes it when it is finished
    double y = 0;
    double pageTop = 0, pageBottom = 0, pageLeft = 0, contentWidth = 0;
    bool pageHasContent = false;
    Band* title = nullptr;
    Band* pageHeader = nullptr;
    Band* columnHeader = nullptr;
    Band* detail = nullptr;
    Band* summary = nullptr;
    Band* pageFooter = nullptr;
    std::vector<Band*> groups;
    std::vector<Band*> subDetails;
    QHash<QString, QString> footerFields; // texts of the last record of a group, for its footer
    bool inFooterOfGroup = false;
};

double Runner::contentLimit() const
{
    double limit = pageBottom;
    if (pageFooter && pageFooter->enabled)
        limit -= pageFooter->height;
    return limit;
}

void Runner::startPage()
{
    page.items.clear();
    ++r.m_pageNumber;
    y = pageTop;
    pageHasContent = false;
    if (pageHeader && (r.m_pageNumber > 1 || r.firstPageHeader))
        printChain(pageHeader, Role::PageBand, r.dataSource);
    if (r.m_pageNumber > 1 && columnHeader)
        printChain(columnHeader, Role::PageBand, r.dataSource);
}

void Runner::finishPage(bool last)
{
    if (pageFooter && (!last || r.lastPageFooter))
        printBand(*pageFooter, Role::Footer, r.dataSource);
    // The next page takes about as many items.
    const std::size_t items = page.items.size();
    model->addPage(std::move(page));
    page = Page();
    page.items.reserve(items);
    if (r.onPageFinished)
        r.onPageFinished(r.m_pageNumber);
}

void Runner::printChain(Band* band, Role role, IDataSource* source)
{
    for (Band* b = band; b; b = b->childBand())
        printBand(*b, role, source);
}

QString Runner::sysText(const SysData& sys) const
{
    QString value;
    switch (sys.data) {
    case SysData::Data::PageNumber: value = QString::number(r.m_pageNumber); break;
    case SysData::Data::Date: value = kal::Today().toString(QStringLiteral("yyyy-MM-dd")); break;
    case SysData::Data::Time: value = QTime::currentTime().toString(QStringLiteral("hh:mm:ss")); break;
    case SysData::Data::DateTime:
        value = kal::Today().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ')
            + QTime::currentTime().toString(QStringLiteral("hh:mm:ss"));
        break;
    case SysData::Data::ReportTitle: value = r.title; break;
    case SysData::Data::DetailNumber: value = QString::number(r.m_recordNumber); break;
    }
    return sys.prefix + value;
}

QString Runner::dataText(const DataText& text, const Band& band, IDataSource* source) const
{
    if (text.source)
        return text.source->eof() ? QString() : text.source->fieldText(text.field);
    if (band.type() == BandType::GroupFooter && inFooterOfGroup) {
        const auto it = footerFields.constFind(text.field);
        if (it != footerFields.constEnd())
            return it.value();
    }
    if (!source || source->eof())
        return {};
    return source->fieldText(text.field);
}

void Runner::layoutText(const Control& c, const QString& text, double& controlHeight, double& boxLeft, double& boxWidth,
                        std::vector<TextLine>& out) const
{
    const double lh = TextMetrics::lineHeight(c.font);
    // The text stays clear of the box's sides; the box (and its frame) keeps
    // its full width.
    const double pad = c.autoSize ? 0.0 : std::clamp(c.padding, 0.0, c.width / 2);
    QStringList lines;
    if (c.wordWrap && c.width > 0)
        lines = TextMetrics::wrap(c.font, text, c.width - 2 * pad);
    else
        lines = text.split(QLatin1Char('\n'));
    double left = c.left;
    double width = c.width;
    if (c.autoSize && !c.wordWrap) {
        double widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, TextMetrics::width(c.font, line));
        if (c.alignment == Align::Right)
            left = c.left + c.width - widest;
        else if (c.alignment == Align::Center)
            left = c.left + (c.width - widest) / 2;
        width = widest;
    }
    boxLeft = left;
    boxWidth = width;
    int count = static_cast<int>(lines.size());
    if (c.stretch) {
        controlHeight = std::max(c.height, count * lh);
    } else {
        controlHeight = c.height;
        // Lines below the box are cut; the first line always shows.
        int fit = 1;
        while (fit < count && (fit + 1) * lh <= c.height + 0.01)
            ++fit;
        count = std::min(count, fit);
    }
    for (int i = 0; i < count; ++i) {
        if (lines[i].isEmpty())
            continue;
        out.push_back(TextLine{left + pad, c.top + i * lh, width - 2 * pad, lh, c.alignment, lines[i], c.font});
    }
}

void Runner::addLine(double x1, double y1, double x2, double y2, double pen)
{
    PageItem item;
    item.kind = PageItem::Kind::Line;
    item.x1 = x1;
    item.y1 = y1;
    item.x2 = x2;
    item.y2 = y2;
    item.penWidth = pen;
    page.items.push_back(std::move(item));
}

void Runner::addFrame(unsigned sides, double x, double yy, double w, double h, double pen)
{
    if (sides & FrameTop)
        addLine(x, yy, x + w, yy, pen);
    if (sides & FrameBottom)
        addLine(x, yy + h, x + w, yy + h, pen);
    if (sides & FrameLeft)
        addLine(x, yy, x, yy + h, pen);
    if (sides & FrameRight)
        addLine(x + w, yy, x + w, yy + h, pen);
}

void Runner::printBand(Band& band, Role role, IDataSource* source)
{
    if (!band.enabled)
        return;
    bool print = true;
    if (band.beforePrint)
        band.beforePrint(band, print);
    if (!print)
        return;

    struct Laid {
        Control* control;
        double height;
        double left;
        double width;
        std::vector<TextLine> lines;
    };
    std::vector<Laid> laid;
    laid.reserve(band.controls().size());
    double bandHeight = std::max(0.0, band.height);
    std::vector<SysData*> deferred;
    for (const auto& owned : band.controls()) {
        Control* c = owned.get();
        if (!c->enabled)
            continue;
        if (c->kind() == Control::Kind::SysData) {
            deferred.push_back(static_cast<SysData*>(c));
            continue;
        }
        Laid entry{c, c->height, c->left, c->width, {}};
        if (c->kind() != Control::Kind::Shape) {
            QString text;
            switch (c->kind()) {
            case Control::Kind::Label: text = static_cast<Label*>(c)->caption; break;
            case Control::Kind::DataText: text = dataText(*static_cast<DataText*>(c), band, source); break;
            case Control::Kind::Memo: text = static_cast<Memo*>(c)->lines.join(QLatin1Char('\n')); break;
            default: break;
            }
            bool printControl = true;
            if (c->onPrint)
                c->onPrint(*c, text, printControl);
            if (!printControl)
                continue;
            layoutText(*c, text, entry.height, entry.left, entry.width, entry.lines);
            if (c->stretch)
                bandHeight = std::max(bandHeight, c->top + entry.height);
        }
        laid.push_back(std::move(entry));
    }

    // Framed stretching controls that start at the same height are the cells
    // of one ruled row: each reaches down to the row's tallest one.
    for (Laid& entry : laid) {
        const Control& c = *entry.control;
        if (!c.stretch || c.frame == FrameNone)
            continue;
        for (const Laid& other : laid)
            if (other.control->stretch && std::abs(other.control->top - c.top) < 1e-6)
                entry.height = std::max(entry.height, other.height);
    }

    if (role == Role::Content) {
        if ((r.m_newPageRequested || band.forceNewPage) && pageHasContent) {
            finishPage(false);
            startPage();
        }
        r.m_newPageRequested = false;
        if (y + bandHeight > contentLimit() + 1e-6 && pageHasContent) {
            finishPage(false);
            startPage();
        }
    } else if (role == Role::Footer) {
        y = pageBottom - bandHeight;
    }

    // System data shows the page that the band lands on.
    for (SysData* sys : deferred) {
        QString text = sysText(*sys);
        bool printControl = true;
        if (sys->onPrint)
            sys->onPrint(*sys, text, printControl);
        if (!printControl)
            continue;
        Laid entry{sys, sys->height, sys->left, sys->width, {}};
        layoutText(*sys, text, entry.height, entry.left, entry.width, entry.lines);
        laid.push_back(std::move(entry));
    }

    const double x0 = pageLeft;
    const double y0 = y;
    for (const Laid& entry : laid) {
        const Control& c = *entry.control;
        if (c.kind() == Control::Kind::Shape) {
            const auto& s = static_cast<const Shape&>(c);
            const double x = x0 + s.left, top = y0 + s.top;
            switch (s.shape) {
            case Shape::Type::Rectangle: {
                PageItem item;
                item.kind = PageItem::Kind::Rect;
                item.x1 = x;
                item.y1 = top;
                item.x2 = x + s.width;
                item.y2 = top + s.height;
                item.penWidth = s.penWidth;
                page.items.push_back(std::move(item));
                break;
            }
            case Shape::Type::HorLine: addLine(x, top + s.height / 2, x + s.width, top + s.height / 2, s.penWidth); break;
            case Shape::Type::VertLine: addLine(x + s.width / 2, top, x + s.width / 2, top + s.height, s.penWidth); break;
            }
        } else {
            for (const TextLine& line : entry.lines) {
                PageItem item;
                item.kind = PageItem::Kind::Text;
                item.align = line.align;
                item.font = model->fontIndex(line.font);
                item.x1 = x0 + line.x;
                item.y1 = y0 + line.y;
                item.x2 = item.x1 + line.w;
                item.y2 = item.y1 + line.h;
                item.text = line.text;
                page.items.push_back(std::move(item));
            }
        }
        if (c.frame != FrameNone)
            addFrame(c.frame, x0 + entry.left, y0 + c.top, entry.width, entry.height, c.frameWidth);
    }
    if (band.frame != FrameNone)
        addFrame(band.frame, x0, y0, contentWidth, bandHeight, band.frameWidth);

    y += bandHeight;
    if (role == Role::Content)
        pageHasContent = true;
    if (band.afterPrint)
        band.afterPrint(band);
}

namespace {

// The data sources a report reads, told of the run from its start to its
// end (also when a rule stops it).
class RunOfSources {
public:
    explicit RunOfSources(const Report& r, const std::vector<Band*>& bands)
    {
        add(r.dataSource);
        for (Band* band : bands)
            for (Band* b = band; b; b = b->childBand()) {
                add(b->dataSource);
                for (const auto& c : b->controls())
                    if (c->kind() == Control::Kind::DataText)
                        add(static_cast<const DataText*>(c.get())->source);
            }
        for (IDataSource* s : m_sources)
            s->runStarts();
    }
    ~RunOfSources()
    {
        for (auto s = m_sources.rbegin(); s != m_sources.rend(); ++s)
            (*s)->runEnds();
    }
    RunOfSources(const RunOfSources&) = delete;
    RunOfSources& operator=(const RunOfSources&) = delete;

private:
    void add(IDataSource* s)
    {
        if (s && std::find(m_sources.begin(), m_sources.end(), s) == m_sources.end())
            m_sources.push_back(s);
    }
    std::vector<IDataSource*> m_sources;
};

} // namespace

std::shared_ptr<PageModel> Runner::run()
{
    model = std::make_shared<PageModel>();
    model->title = r.title;
    model->orientation = r.orientation;
    model->paperSize = A4Size(r.orientation);
    pageTop = r.margins.top();
    pageBottom = model->paperSize.height() - r.margins.bottom();
    pageLeft = r.margins.left();
    contentWidth = model->paperSize.width() - r.margins.left() - r.margins.right();
    r.m_pageNumber = 0;
    r.m_recordNumber = 0;
    r.m_newPageRequested = false;

    for (const auto& b : r.m_bands) {
        Band* band = b.get();
        switch (band->type()) {
        case BandType::Title: if (!title) title = band; break;
        case BandType::PageHeader: if (!pageHeader) pageHeader = band; break;
        case BandType::ColumnHeader: if (!columnHeader) columnHeader = band; break;
        case BandType::Detail: if (!detail) detail = band; break;
        case BandType::Summary: if (!summary) summary = band; break;
        case BandType::PageFooter: if (!pageFooter) pageFooter = band; break;
        case BandType::GroupHeader: groups.push_back(band); break;
        case BandType::SubDetail: subDetails.push_back(band); break;
        case BandType::GroupFooter:
        case BandType::Child: break;
        }
    }

    std::vector<Band*> bands;
    for (const auto& b : r.m_bands)
        bands.push_back(b.get());
    const RunOfSources sources(r, bands);

    bool printReport = true;
    if (r.beforePrint)
        r.beforePrint(printReport);
    if (!printReport)
        return model;

    IDataSource* source = r.dataSource;
    bool more = false;
    if (source) {
        source->first();
        more = !source->eof();
    } else if (r.onNeedData) {
        r.onNeedData(more);
    } else {
        more = detail != nullptr; // no data at all: the detail prints once
    }
    if (!more && !r.printIfEmpty) {
        if (r.onProgress)
            r.onProgress(100);
        return model;
    }

    startPage();
    printChain(title, Role::Content, source);
    printChain(columnHeader, Role::PageBand, source);

    // Fields that group footers print, kept from the last record of a group.
    QStringList footerFieldNames;
    for (Band* g : groups)
        if (g->groupFooter)
            for (const auto& c : g->groupFooter->controls())
                if (c->kind() == Control::Kind::DataText && !static_cast<DataText*>(c.get())->source)
                    footerFieldNames << static_cast<DataText*>(c.get())->field;

    const int total = source ? source->recordCount() : -1;
    int lastPercent = -1;
    std::vector<QString> keys(groups.size());
    bool firstRecord = true;
    while (more) {
        ++r.m_recordNumber;
        std::size_t level = groups.size();
        for (std::size_t i = 0; i < groups.size(); ++i) {
            const QString key = groups[i]->groupKey ? groups[i]->groupKey() : QString();
            if (firstRecord || key != keys[i])
                level = std::min(level, i);
            keys[i] = key;
        }
        if (firstRecord)
            level = 0;
        if (!firstRecord) {
            inFooterOfGroup = true;
            for (std::size_t i = groups.size(); i-- > level;)
                if (groups[i]->groupFooter)
                    printChain(groups[i]->groupFooter, Role::Content, source);
            inFooterOfGroup = false;
        }
        for (std::size_t i = level; i < groups.size(); ++i)
            printChain(groups[i], Role::Content, source);
        printChain(detail, Role::Content, source);
        for (Band* sub : subDetails) {
            if (!sub->dataSource)
                continue;
            for (sub->dataSource->first(); !sub->dataSource->eof(); sub->dataSource->next())
                printChain(sub, Role::Content, sub->dataSource);
        }
        firstRecord = false;

        if (source) {
            if (!footerFieldNames.isEmpty()) {
                footerFields.clear();
                for (const QString& f : footerFieldNames)
                    footerFields.insert(f, source->fieldText(f));
            }
            source->next();
            more = !source->eof();
        } else if (r.onNeedData) {
            more = false;
            r.onNeedData(more);
        } else {
            more = false;
        }
        if (m_progress)
            m_progress->advanceBuild(r.m_recordNumber, std::max(0, total), r.m_pageNumber);
        if (total > 0 && r.onProgress) {
            const int percent = static_cast<int>(qint64(r.m_recordNumber) * 100 / total);
            if (percent != lastPercent && percent < 100) {
                lastPercent = percent;
                r.onProgress(percent);
            }
        }
    }
    if (!firstRecord) {
        inFooterOfGroup = true;
        for (std::size_t i = groups.size(); i-- > 0;)
            if (groups[i]->groupFooter)
                printChain(groups[i]->groupFooter, Role::Content, source);
        inFooterOfGroup = false;
    }
    printChain(summary, Role::Content, source);
    finishPage(true);
    if (r.afterPrint)
        r.afterPrint();
    if (r.onProgress)
        r.onProgress(100);
    return model;
}

// --- the report -----------------------------------------------------------

Report::Report() = default;
Report::~Report() = default;

Band* Report::addBand(BandType type, const QString& name)
{
    m_bands.emplace_back(new Band(this, type, name));
    return m_bands.back().get();
}

Band* Report::band(const QString& name) const
{
    for (const auto& b : m_bands)
        for (Band* c = b.get(); c; c = c->childBand())
            if (c->name().compare(name, Qt::CaseInsensitive) == 0)
                return c;
    return nullptr;
}

void Report::newPage()
{
    m_newPageRequested = true;
}

namespace {

// The installed progress display while the outermost run of a report makes
// its pages (a report run from another's events shows none of its own).
class BuildProgress {
public:
    explicit BuildProgress(const QString& title) : m_display(t_depth++ == 0 ? PrintProgress() : nullptr)
    {
        if (m_display)
            m_display->beginBuild(title);
    }
    ~BuildProgress()
    {
        --t_depth;
        if (m_display)
            m_display->endBuild();
    }
    BuildProgress(const BuildProgress&) = delete;
    BuildProgress& operator=(const BuildProgress&) = delete;
    IPrintProgress* display() const { return m_display; }

private:
    static inline int t_depth = 0;
    IPrintProgress* m_display;
};

} // namespace

std::shared_ptr<const PageModel> Report::prepare()
{
    // The pages of the last run go before this one writes its own: a long
    // list made again needs the room they took in the temporary directory.
    m_lastPages.reset();
    const BuildProgress progress(title);
    Runner runner(*this, progress.display());
    m_lastPages = runner.run();
    return m_lastPages;
}

bool PrinterSetup(PrintSettings& settings, const QString& title, Orientation orientation, QWidget* parent)
{
    QPrinter printer;
    if (!settings.printerName.isEmpty())
        printer.setPrinterName(settings.printerName);
    // The dialog proposes the document's name for a file to print into.
    printer.setDocName(DocumentFileName(title));
    if (!settings.outputFileName.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(settings.outputFileName);
    }
    printer.setCopyCount(std::max(1, settings.copies));
    printer.setPageOrientation(orientation == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (settings.fromPage > 0) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(settings.fromPage, std::max(settings.fromPage, settings.toPage));
    }
    const bool accepted = kal::Dialogs().printerDialog(&printer, parent);
    if (accepted) {
        const bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
        settings.printerName = toFile ? QString() : printer.printerName();
        settings.outputFileName = toFile ? printer.outputFileName() : QString();
        settings.copies = std::max(1, printer.copyCount());
        if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
            settings.fromPage = printer.fromPage();
            settings.toPage = std::max(printer.fromPage(), printer.toPage());
        } else {
            settings.fromPage = settings.toPage = 0;
        }
    }
    return accepted;
}

bool Report::printerSetup(QWidget* parent)
{
    const bool accepted = PrinterSetup(printSettings, title, orientation, parent);
    tag = accepted ? 0 : 1;
    return accepted;
}

namespace {

// Lets the pages of a report's run go when the print or the preview that
// took them is over, however it ends.
class PagesOfTheRun {
public:
    explicit PagesOfTheRun(std::shared_ptr<const PageModel>& pages) : m_pages(pages) {}
    ~PagesOfTheRun() { m_pages.reset(); }
    PagesOfTheRun(const PagesOfTheRun&) = delete;
    PagesOfTheRun& operator=(const PagesOfTheRun&) = delete;

private:
    std::shared_ptr<const PageModel>& m_pages;
};

} // namespace

void Report::print()
{
    const PagesOfTheRun printed(m_lastPages);
    const auto model = prepare();
    const PrintSettings settings = printSettings;
    // A page range serves the one print it was chosen for.
    printSettings.fromPage = printSettings.toPage = 0;
    PrintPages(*model, settings);
}

namespace {
IPreviewer* g_previewer = nullptr;
}

IPreviewer* Previewer()
{
    return g_previewer;
}

void SetPreviewer(IPreviewer* previewer)
{
    g_previewer = previewer;
}

void Report::preview()
{
    if (!onPreview && g_previewer) {
        g_previewer->showPreview(*this);
        return;
    }
    if (!onPreview) {
        prepare();
        return;
    }
    // The preview holds the pages while it shows them; once it closes,
    // nothing keeps them (nor their page file) any more.
    const PagesOfTheRun shown(m_lastPages);
    onPreview(*this, prepare());
}

void PrintPages(const PageModel& pages, const PrintSettings& settings)
{
    PrintJob job;
    job.title = pages.title;
    job.printerName = settings.printerName;
    job.outputFileName = settings.outputFileName;
    job.copies = std::max(1, settings.copies);
    job.orientation = pages.orientation;
    const int count = pages.pageCount();
    if (settings.fromPage > 0) {
        job.fromPage = std::clamp(settings.fromPage, 1, std::max(1, count));
        job.toPage = std::clamp(std::max(settings.fromPage, settings.toPage), job.fromPage, std::max(1, count));
    } else {
        job.fromPage = 1;
        job.toPage = count;
    }
    Printer().print(pages, job);
}

} // namespace kal::report
