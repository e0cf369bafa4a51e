#pragma once
// The banded report engine. A report holds bands; bands hold controls; a run
// walks the data (a data source, or the need-data event), fires the events of
// bands and controls, lays the printed bands out on pages and produces the
// page model. Every length is in millimetres; a control's position is relative
// to the top-left corner of its band.

#include "DataSource.h"
#include "PageModel.h"

#include <QMarginsF>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace kal::report {

class Band;
class Report;

// Sides of a frame; combine with |.
enum FrameSide : unsigned {
    FrameNone = 0,
    FrameTop = 1u << 0,
    FrameBottom = 1u << 1,
    FrameLeft = 1u << 2,
    FrameRight = 1u << 3,
    FrameAll = FrameTop | FrameBottom | FrameLeft | FrameRight,
};

class Control {
public:
    enum class Kind { Label, DataText, SysData, Memo, Shape };
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Kind kind() const { return m_kind; }
    Band* band() const { return m_band; }

    QString name;
    double left = 0, top = 0, width = 20, height = 5;
    FontDef font;             // set from the report's font when created
    Align alignment = Align::Left;
    bool wordWrap = false;     // break lines at the control's width
    bool autoSize = false;     // a one-line text takes the width of its text
    bool stretch = false;      // the control, and so its band, grows to fit its lines
    bool enabled = true;       // a disabled control prints nothing
    unsigned frame = FrameNone;
    double frameWidth = 0.2;
    double padding = 0;        // mm the text keeps from the box's left and right sides
    // The print event: runs before the control is printed with the text it
    // would print; may change the text or set `print` to false.
    std::function<void(Control& control, QString& text, bool& print)> onPrint;

protected:
    Control(Kind kind, Band* band) : m_kind(kind), m_band(band) {}

private:
    Kind m_kind;
    Band* m_band;
};

// A fixed text.
class Label final : public Control {
public:
    explicit Label(Band* band) : Control(Kind::Label, band) {}
    QString caption;
};

// The text of a field of a data source (the report's, unless one is given).
class DataText final : public Control {
public:
    explicit DataText(Band* band) : Control(Kind::DataText, band) {}
    QString field;
    IDataSource* source = nullptr;
};

// Data of the run itself, after an optional fixed prefix.
class SysData final : public Control {
public:
    enum class Data { PageNumber, Date, Time, DateTime, ReportTitle, DetailNumber };
    explicit SysData(Band* band) : Control(Kind::SysData, band) {}
    Data data = Data::PageNumber;
    QString prefix;
};

// Lines of text, usually cleared and filled at run time.
class Memo final : public Control {
public:
    explicit Memo(Band* band) : Control(Kind::Memo, band) {}
    QStringList lines;
};

// A rectangle, or a horizontal or vertical line through the middle of the
// control's box.
class Shape final : public Control {
public:
    enum class Type { Rectangle, HorLine, VertLine };
    explicit Shape(Band* band) : Control(Kind::Shape, band) {}
    Type shape = Type::Rectangle;
    double penWidth = 0.2;
};

enum class BandType { Title, PageHeader, ColumnHeader, Detail, Child, GroupHeader, GroupFooter, SubDetail, Summary, PageFooter };

class Band {
public:
    Band(const Band&) = delete;
    Band& operator=(const Band&) = delete;

    BandType type() const { return m_type; }
    Report* report() const { return m_report; }
    const QString& name() const { return m_name; }

    double height = 10;
    bool enabled = true;       // a disabled band is passed over; its child bands are not
    bool forceNewPage = false; // the band starts a new page (unless the page is still empty)
    unsigned frame = FrameNone;
    double frameWidth = 0.2;

    // Before-print event: may change the band and its controls, or set
    // `printBand` to false.
    std::function<void(Band& band, bool& printBand)> beforePrint;
    std::function<void(Band& band)> afterPrint;

    // Group header: the key of the current record; a new group starts where
    // it changes. The footer printed at the end of each group, if any.
    std::function<QString()> groupKey;
    Band* groupFooter = nullptr;
    // Sub-detail: its rows, printed after each detail record.
    IDataSource* dataSource = nullptr;

    // The child band printed right after this one (created on first call,
    // named `name` or this band's name + "Child").
    Band* child(const QString& name = {});
    Band* childBand() const { return m_child.get(); }

    Label* addLabel(const QString& name, double left, double top, double width, double height, const QString& caption = {});
    DataText* addDataText(const QString& name, double left, double top, double width, double height, const QString& field);
    SysData* addSysData(const QString& name, double left, double top, double width, double height, SysData::Data data);
    Memo* addMemo(const QString& name, double left, double top, double width, double height, const QStringList& lines = {});
    Shape* addShape(const QString& name, double left, double top, double width, double height, Shape::Type shape);

    const std::vector<std::unique_ptr<Control>>& controls() const { return m_controls; }
    Control* control(const QString& name) const;
    template <class T> T* find(const QString& name) const { return dynamic_cast<T*>(control(name)); }

private:
    friend class Report;
    Band(Report* report, BandType type, QString name);
    template <class T> T* add(const QString& name, double left, double top, double width, double height);

    Report* m_report;
    BandType m_type;
    QString m_name;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::unique_ptr<Band> m_child;
};

// Printer settings of a report: chosen in the printer dialog, used by the
// next print. fromPage/toPage 0 mean all pages.
struct PrintSettings {
    QString printerName;
    QString outputFileName; // chosen "print to file": the PDF file
    int copies = 1;
    int fromPage = 0;
    int toPage = 0;
};

// Shows the printer dialog through the dialog seam, preset with `settings`;
// for a print into a file it proposes `title` made a file name. On OK the
// choice is stored in `settings`. True when the user confirmed.
bool PrinterSetup(PrintSettings& settings, const QString& title, Orientation orientation, QWidget* parent = nullptr);

class Report {
public:
    Report();
    virtual ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    QString title;
    Orientation orientation = Orientation::Portrait;
    QMarginsF margins{10, 10, 10, 10}; // mm
    FontDef font;                      // default font of new controls
    bool printIfEmpty = true;           // with no records, still print title, headers, summary
    bool firstPageHeader = true;        // page header on the first page
    bool lastPageFooter = true;         // page footer on the last page
    IDataSource* dataSource = nullptr;
    int tag = 0;
    PrintSettings printSettings;

    // Events of the run.
    std::function<void(bool& printReport)> beforePrint;
    std::function<void(bool& moreData)> onNeedData; // drives the run when there is no data source
    std::function<void()> afterPrint;
    std::function<void(int percent)> onProgress;
    // A page is complete (1-based number); it stays as it is to the end of the run.
    std::function<void(int pageNumber)> onPageFinished;
    // Preview hook: receives the pages of a preview run.
    std::function<void(Report& report, std::shared_ptr<const PageModel> pages)> onPreview;

    Band* addBand(BandType type, const QString& name);
    Band* band(const QString& name) const; // also finds child bands
    const std::vector<std::unique_ptr<Band>>& bands() const { return m_bands; }

    // From a band's event: the next printed band starts a new page.
    void newPage();
    // During a run: the number of the page being filled (1-based) and of the
    // current detail record (1-based; 0 before the first).
    int pageNumber() const { return m_pageNumber; }
    int recordNumber() const { return m_recordNumber; }

    // Runs the report and returns its pages. The pages of its last run go
    // before the run starts.
    std::shared_ptr<const PageModel> prepare();
    // The pages of the last run while they are kept: those of prepare() until
    // the next run; a print's until it is printed, a preview's until the
    // preview closes (and then none).
    std::shared_ptr<const PageModel> pages() const { return m_lastPages; }

    // Shows the printer dialog through the dialog seam; stores the choice in
    // printSettings. Sets tag to 0 when confirmed, to 1 when cancelled.
    bool printerSetup(QWidget* parent = nullptr);
    // Runs the report and prints it with printSettings. The page range
    // applies to this print only.
    void print();
    // Previews the report: without a preview hook of its own, the report
    // goes to the installed previewer (the preview window), which sets the
    // hook and calls preview() again; with a hook, the report runs and the
    // hook receives its pages.
    void preview();

private:
    friend class Band;
    friend class Runner;
    std::vector<std::unique_ptr<Band>> m_bands;
    int m_pageNumber = 0;
    int m_recordNumber = 0;
    bool m_newPageRequested = false;
    std::shared_ptr<const PageModel> m_lastPages;
};

// The preview window as the headless layers see it.
class IPreviewer {
public:
    virtual ~IPreviewer() = default;
    // Shows `report` (captioned with its title) and returns when the preview
    // window has closed.
    virtual void showPreview(Report& report) = 0;
};
IPreviewer* Previewer();
// Installs `previewer` (not owned); nullptr removes it.
void SetPreviewer(IPreviewer* previewer);

// Prints `pages` through the printer seam with `settings` and `title` as the
// job's name.
void PrintPages(const PageModel& pages, const PrintSettings& settings);

} // namespace kal::report
