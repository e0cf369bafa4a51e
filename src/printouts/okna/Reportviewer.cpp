#include "Reportviewer.h"

#include "Dialogs.h"
#include "Exceptions.h"
#include "Obsluga.h"
#include "Export.h"
#include "PageFile.h"
#include "Printer.h"
#include "Render.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QShortcut>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

TQuickReportViewer* QuickReportViewer = nullptr;

namespace kal::report {

// --- the page view ----------------------------------------------------------

TQRPreview::TQRPreview(QWidget* parent) : QScrollArea(parent), m_image(new QLabel)
{
    setObjectName(QStringLiteral("QRPreview"));
    setBackgroundRole(QPalette::Dark);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_image->setObjectName(QStringLiteral("QRPreviewPage"));
    m_image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWidget(m_image);
    setWidgetResizable(false);
    render();
}

void TQRPreview::setPages(std::shared_ptr<const PageModel> pages)
{
    m_pages = std::move(pages);
    m_page = 1;
    render();
}

void TQRPreview::setPageNumber(int page)
{
    if (page < 1 || page > pageCount() || page == m_page)
        return;
    m_page = page;
    render();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void TQRPreview::setZoom(int percent)
{
    percent = std::clamp(percent, 1, 400); // a page image stays below 60 MB
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    render();
}

namespace {
// The page in pixels at 100 %, and the room around it.
constexpr double kScreenDpi = 96.0;
constexpr int kBorder = 16;
} // namespace

int TQRPreview::fitPageZoom() const
{
    const QSizeF paper = m_pages ? m_pages->paperSize : QSizeF(210, 297);
    const double w = paper.width() / 25.4 * kScreenDpi, h = paper.height() / 25.4 * kScreenDpi;
    const QSize room = maximumViewportSize() - QSize(kBorder, kBorder);
    return std::max(1, static_cast<int>(std::floor(std::min(room.width() / w, room.height() / h) * 100)));
}

int TQRPreview::fitWidthZoom() const
{
    const QSizeF paper = m_pages ? m_pages->paperSize : QSizeF(210, 297);
    const double w = paper.width() / 25.4 * kScreenDpi;
    const int room = maximumViewportSize().width() - kBorder - verticalScrollBar()->sizeHint().width();
    return std::max(1, static_cast<int>(std::floor(room / w * 100)));
}

void TQRPreview::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    emit resized();
}

void TQRPreview::render()
{
    if (!m_pages) {
        m_image->setPixmap(QPixmap());
        m_image->resize(0, 0);
        return;
    }
    const QImage image = RenderPage(*m_pages, m_page - 1, m_zoom);
    m_image->setPixmap(QPixmap::fromImage(image));
    m_image->resize(image.size());
}

} // namespace kal::report

// --- the window -------------------------------------------------------------

using namespace kal::report;

namespace {

const QString kExtensionText = QStringLiteral("Rozszerzenie nazwy nie odpowiada wybranemu formatowi.");
const QString kExtensionCaption = QStringLiteral("Nieprawidłowe rozszerzenie");
// Extensions of the save dialog's entries, in the order of SaveFilters().
const QStringList kSaveExtensions{QStringLiteral("QRP"), QStringLiteral("HTM"), QStringLiteral("CSV"), QStringLiteral("TXT")};

// A hint "short|long": the tooltip shows the short part, the status tip the
// long one (the short one when there is no long part).
void SetHint(QWidget* widget, const QString& hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    widget->setToolTip(bar < 0 ? hint : hint.left(bar));
    widget->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

QToolButton* MakeButton(QWidget* parent, const QString& name, const QString& text, const QString& hint, QStyle::StandardPixmap icon = QStyle::SP_CustomBase)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    if (icon != QStyle::SP_CustomBase) {
        button->setIcon(parent->style()->standardIcon(icon));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    SetHint(button, hint);
    button->setAutoRaise(true);
    return button;
}

class OverrideCursor {
public:
    OverrideCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~OverrideCursor() { QApplication::restoreOverrideCursor(); }
    OverrideCursor(const OverrideCursor&) = delete;
    OverrideCursor& operator=(const OverrideCursor&) = delete;
};

} // namespace

TQuickReportViewer::TQuickReportViewer(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("QuickReportViewer"));
    setWindowTitle(QStringLiteral("Quick Report Viewer"));
    setWindowFlags(Qt::Tool | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    resize(900, 700);

    auto* bar = new QWidget(this);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(2, 2, 2, 2);
    Zoom = new QSlider(Qt::Horizontal, bar);
    Zoom->setObjectName(QStringLiteral("Zoom"));
    Zoom->setRange(10, 200);
    Zoom->setValue(100);
    Zoom->setSingleStep(5);
    Zoom->setPageStep(20);
    Zoom->setFixedWidth(160);
    SetHint(Zoom, QStringLiteral("Powiększenie"));
    Zoom_Label = new QLabel(QStringLiteral("100 %"), bar);
    Zoom_Label->setObjectName(QStringLiteral("Zoom_Label"));
    Zoom_Label->setMinimumWidth(48);
    SpeedButton1 = MakeButton(bar, QStringLiteral("SpeedButton1"), QStringLiteral("100 %"), QStringLiteral("100 %"));
    FitAll = MakeButton(bar, QStringLiteral("FitAll"), QStringLiteral("Cała"), QStringLiteral("Cała strona"));
    FitWidth = MakeButton(bar, QStringLiteral("FitWidth"), QStringLiteral("Szerokość"), QStringLiteral("Szerokość strony"));
    FitAll->setCheckable(true);
    FitWidth->setCheckable(true);
    First = MakeButton(bar, QStringLiteral("First"), QStringLiteral("|<"), QStringLiteral("Pierwsza strona"), QStyle::SP_MediaSkipBackward);
    Previous = MakeButton(bar, QStringLiteral("Previous"), QStringLiteral("<"), QStringLiteral("Poprzednia strona"), QStyle::SP_MediaSeekBackward);
    Next = MakeButton(bar, QStringLiteral("Next"), QStringLiteral(">"), QStringLiteral("Następna strona"), QStyle::SP_MediaSeekForward);
    Last = MakeButton(bar, QStringLiteral("Last"), QStringLiteral(">|"), QStringLiteral("Ostatania strona"), QStyle::SP_MediaSkipForward);
    LoadReport = MakeButton(bar, QStringLiteral("LoadReport"), QStringLiteral("Otwórz"), QStringLiteral("Otwórz wydruk"), QStyle::SP_DialogOpenButton);
    SaveReport = MakeButton(bar, QStringLiteral("SaveReport"), QStringLiteral("Zapisz"), QStringLiteral("Zapisz wydruk"), QStyle::SP_DialogSaveButton);
    Print = MakeButton(bar, QStringLiteral("Print"), QStringLiteral("Drukuj"), QStringLiteral("Drukuj"));
    Print->setIcon(ObrazDrukarki());
    Print->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto* divider = new QFrame(bar);
    divider->setObjectName(QStringLiteral("ToolButton4"));
    divider->setFrameShape(QFrame::VLine);
    Exit = MakeButton(bar, QStringLiteral("Exit"), QStringLiteral("Zamknij"), QStringLiteral("Zamknij wydruk"), QStyle::SP_DialogCloseButton);
    for (QWidget* w : std::initializer_list<QWidget*>{Zoom, Zoom_Label, SpeedButton1, FitAll, FitWidth, First, Previous, Next, Last,
                                                      LoadReport, SaveReport, Print, divider, Exit})
        barLayout->addWidget(w);
    barLayout->addStretch(1);

    QRPreview = new TQRPreview(this);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusPanel0 = new QLabel(QStringLiteral("Strona ? z ?"), StatusBar);
    StatusPanel0->setMinimumWidth(80);
    StatusPanel1 = new QLabel(StatusBar);
    StatusPanel1->setMinimumWidth(50);
    StatusBar->addWidget(StatusPanel0);
    StatusBar->addWidget(StatusPanel1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(QRPreview, 1);
    layout->addWidget(StatusBar);

    connect(Zoom, &QSlider::valueChanged, this, [this] { ZoomChange(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    // Check buttons in a group that allows all of them up.
    connect(FitAll, &QToolButton::clicked, this, [this] {
        if (FitAll->isChecked())
            FitWidth->setChecked(false);
        FitClick(FitAll);
    });
    connect(FitWidth, &QToolButton::clicked, this, [this] {
        if (FitWidth->isChecked())
            FitAll->setChecked(false);
        FitClick(FitWidth);
    });
    connect(First, &QToolButton::clicked, this, [this] { FirstClick(); });
    connect(Previous, &QToolButton::clicked, this, [this] { PreviousClick(); });
    connect(Next, &QToolButton::clicked, this, [this] { NextClick(); });
    connect(Last, &QToolButton::clicked, this, [this] { LastClick(); });
    connect(Print, &QToolButton::clicked, this, [this] { Guarded([this] { PrintClick(); }); });
    connect(LoadReport, &QToolButton::clicked, this, [this] { Guarded([this] { LoadReportClick(); }); });
    connect(SaveReport, &QToolButton::clicked, this, [this] { Guarded([this] { SaveReportClick(); }); });
    connect(Exit, &QToolButton::clicked, this, [this] { ExitClick(); });
    connect(QRPreview, &TQRPreview::resized, this, [this] { FitClick(nullptr); });
    // Paging from the keyboard, whichever control of the window has the focus.
    const std::pair<QKeySequence, void (TQuickReportViewer::*)()> keys[] = {
        {QKeySequence(Qt::Key_PageDown), &TQuickReportViewer::PageDownKey},
        {QKeySequence(Qt::Key_PageUp), &TQuickReportViewer::PageUpKey},
        {QKeySequence(Qt::CTRL | Qt::Key_Home), &TQuickReportViewer::FirstKey},
        {QKeySequence(Qt::CTRL | Qt::Key_End), &TQuickReportViewer::LastKey},
    };
    for (const auto& [key, action] : keys) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    }

    SaveReport->setEnabled(false);
    PokazNumerStrony(1);
    StatusPanel0->setText(QStringLiteral("Strona ? z ?"));
    FitClick(nullptr);
    if (!QuickReportViewer) {
        QuickReportViewer = this;
        SetPreviewer(this);
    }
}

TQuickReportViewer::~TQuickReportViewer()
{
    if (QuickReportViewer == this) {
        QuickReportViewer = nullptr;
        if (Previewer() == this)
            SetPreviewer(nullptr);
    }
}

void TQuickReportViewer::showPreview(Report& report)
{
    setWindowTitle(report.title);
    PokazRaport(&report);
}

template <class F> void TQuickReportViewer::Guarded(F&& action)
{
    // No exception crosses the event loop: a refused operation shows its
    // message in the error box.
    try {
        action();
    } catch (const kal::EAbort&) {
    } catch (const kal::Exception& e) {
        kal::ShowErrorBox(e.message());
    }
}

QStringList TQuickReportViewer::SaveFilters()
{
    return {QStringLiteral("QuickReport file (*.QRP *.qrp)"), QStringLiteral("Dokument HTML (*.HTM *.htm)"),
            QStringLiteral("Plik CSV, wartości rozdzielone przecinkami (*.CSV *.csv)"),
            QStringLiteral("Plik tekstowy (*.TXT *.txt)")};
}

QString TQuickReportViewer::OpenFilter()
{
    return QStringLiteral("QuickReport file (*.QRP *.qrp)");
}

void TQuickReportViewer::PokazRaport(Report* report)
{
    if (!report)
        return;
    if (!(windowState() & Qt::WindowMaximized))
        setWindowState(windowState() | Qt::WindowMaximized);
    ZamknijPodglad();
    StatusPanel0->setText(QStringLiteral("strona 1"));
    StatusPanel1->clear();

    auto previousHook = std::move(report->onPreview);
    auto previousProgress = report->onProgress;
    report->onProgress = [this, previousProgress](int percent) {
        if (previousProgress)
            previousProgress(percent);
        StatusPanel1->setText(QStringLiteral(" (%1% wykonano)").arg(percent));
    };
    report->onPreview = [this](Report& live, std::shared_ptr<const PageModel> pages) {
        PrepareViewer(std::move(pages));
        m_live = &live;
        m_waiting = true;
        // Shown modally, so that the window is application-modal; a visible
        // window would not take the modality, so it is hidden first. It stays
        // modal whatever it shows until it closes (a saved file opened
        // meanwhile included): the caller's wait ends only then.
        if (isVisible())
            hide();
        setWindowModality(Qt::ApplicationModal);
        kal::Dialogs().execModal(this);
        m_waiting = false;
        m_live = nullptr;
        if (isVisible())
            hide();
        setWindowModality(Qt::NonModal);
        // The report's caller goes on: nothing stays on show.
        QRPreview->setPages(nullptr);
        SaveReport->setEnabled(false);
    };
    struct Restore {
        Report* report;
        std::function<void(Report&, std::shared_ptr<const PageModel>)> hook;
        std::function<void(int)> progress;
        ~Restore()
        {
            report->onPreview = std::move(hook);
            report->onProgress = std::move(progress);
        }
    } restore{report, std::move(previousHook), std::move(previousProgress)};
    report->preview();
}

void TQuickReportViewer::PrepareViewer(std::shared_ptr<const PageModel> pages)
{
    SaveReport->setEnabled(true);
    QRPreview->setPages(std::move(pages));
    // A new report opens fitted to the page width at once.
    FitAll->setChecked(false);
    FitWidth->setChecked(true);
    FitClick(nullptr);
    QRPreviewProgressUpdate(100);
}

void TQuickReportViewer::EndLiveWait()
{
    if (m_waiting) {
        m_waiting = false;
        m_live = nullptr;
        done(QDialog::Rejected);
    }
}

void TQuickReportViewer::ZamknijPodglad()
{
    QRPreview->setPages(nullptr);
    m_live = nullptr;
    EndLiveWait();
    SaveReport->setEnabled(false);
}

void TQuickReportViewer::FormClose()
{
    QRPreview->setPageNumber(1);
    ZamknijPodglad();
}

void TQuickReportViewer::closeEvent(QCloseEvent* event)
{
    FormClose();
    QDialog::closeEvent(event);
}

void TQuickReportViewer::ExitClick()
{
    QRPreview->setPageNumber(1);
    close();
    ZamknijPodglad();
}

void TQuickReportViewer::FitClick(QObject* sender)
{
    if (FitAll->isChecked())
        QRPreview->setZoom(QRPreview->fitPageZoom());
    else if (FitWidth->isChecked())
        QRPreview->setZoom(QRPreview->fitWidthZoom());
    else if (sender)
        QRPreview->setZoom(100);
    Zoom_Label->setText(QStringLiteral("%1 %").arg(QRPreview->zoom()));
    // The track bar follows, clamped to its range; moving it must not undo a
    // fit that lies beyond that range.
    m_settingZoom = true;
    Zoom->setValue(QRPreview->zoom());
    m_settingZoom = false;
}

void TQuickReportViewer::ZoomChange()
{
    if (!m_settingZoom && Zoom->value() != QRPreview->zoom()) {
        FitAll->setChecked(false);
        FitWidth->setChecked(false);
        QRPreview->setZoom(Zoom->value());
    }
    Zoom_Label->setText(QStringLiteral("%1 %").arg(QRPreview->zoom()));
}

void TQuickReportViewer::SpeedButton1Click()
{
    if (Zoom->value() == 100 && QRPreview->zoom() != 100) {
        // The track bar already stands at 100 while a fit beyond its range
        // shows: the button still asks for 100 %.
        FitAll->setChecked(false);
        FitWidth->setChecked(false);
        QRPreview->setZoom(100);
        Zoom_Label->setText(QStringLiteral("100 %"));
        return;
    }
    Zoom->setValue(100);
}

void TQuickReportViewer::FirstClick()
{
    QRPreview->setPageNumber(1);
    PokazNumerStrony(QRPreview->pageNumber());
}

void TQuickReportViewer::PreviousClick()
{
    QRPreview->setPageNumber(QRPreview->pageNumber() - 1);
    PokazNumerStrony(QRPreview->pageNumber());
}

void TQuickReportViewer::NextClick()
{
    QRPreview->setPageNumber(QRPreview->pageNumber() + 1);
    PokazNumerStrony(QRPreview->pageNumber());
}

void TQuickReportViewer::LastClick()
{
    QRPreview->setPageNumber(QRPreview->pageCount());
    PokazNumerStrony(QRPreview->pageNumber());
}

void TQuickReportViewer::PageDownKey()
{
    // Down the page a screenful at a time, then on to the top of the next.
    QScrollBar* bar = QRPreview->verticalScrollBar();
    if (bar->value() < bar->maximum())
        bar->setValue(bar->value() + bar->pageStep());
    else
        NextClick();
}

void TQuickReportViewer::PageUpKey()
{
    // Up the page a screenful at a time, then on to the bottom of the one before.
    QScrollBar* bar = QRPreview->verticalScrollBar();
    if (bar->value() > bar->minimum()) {
        bar->setValue(bar->value() - bar->pageStep());
        return;
    }
    const int page = QRPreview->pageNumber();
    PreviousClick();
    if (QRPreview->pageNumber() != page)
        bar->setValue(bar->maximum());
}

void TQuickReportViewer::FirstKey()
{
    FirstClick();
    QRPreview->verticalScrollBar()->setValue(0);
    QRPreview->horizontalScrollBar()->setValue(0);
}

void TQuickReportViewer::LastKey()
{
    LastClick();
    QRPreview->verticalScrollBar()->setValue(QRPreview->verticalScrollBar()->maximum());
}

void TQuickReportViewer::PokazNumerStrony(int page)
{
    const int count = std::max(1, QRPreview->pageCount());
    StatusPanel0->setText(QStringLiteral("Strona %1 z %2").arg(page).arg(count));
    First->setEnabled(page > 1);
    Previous->setEnabled(page > 1);
    Next->setEnabled(count > page);
    Last->setEnabled(count > page);
}

void TQuickReportViewer::QRPreviewProgressUpdate(int percent)
{
    PokazNumerStrony(QRPreview->pageNumber());
    StatusPanel1->setText(QStringLiteral(" (%1% wykonano)").arg(percent));
}

std::function<bool()> TQuickReportViewer::PrinterInstalled = [] {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
};

void TQuickReportViewer::PrintClick()
{
    if (!QRPreview->hasPages())
        return;
    const PageModel& pages = *QRPreview->pages();
    // The printer chosen for the live report, or for the opened file.
    PrintSettings& settings = m_live ? m_live->printSettings : m_fileSettings;
    // Without a printer there is nothing to print on at once: the printer
    // dialog offers printing into a PDF file under the report's own name.
    if (!PrinterInstalled() && !PrinterSetup(settings, pages.title, pages.orientation, this))
        return;
    const PrintSettings used = settings;
    // A page range serves the one print it was chosen for.
    settings.fromPage = settings.toPage = 0;
    PrintPages(pages, used);
}

void TQuickReportViewer::LoadReportClick()
{
    kal::FileDialogRequest request;
    request.caption = QStringLiteral("Otwórz wydruk");
    request.filter = OpenFilter();
    request.selectedFilter = request.filter;
    const QString fileName = kal::Dialogs().openFileName(request);
    if (fileName.isEmpty())
        return;
    WczytajRaport(fileName);
}

void TQuickReportViewer::WczytajRaport(const QString& fileName)
{
    OverrideCursor hourglass;
    // Read first: a file that cannot be read changes nothing on show.
    auto pages = std::make_shared<const PageModel>(LoadPageFile(fileName));
    // A live report shown until now is no longer shown; its caller waits on
    // until the window closes.
    m_live = nullptr;
    QRPreview->setPages(std::move(pages));
    QRPreview->setPageNumber(1);
    SaveReport->setEnabled(false);
    PokazNumerStrony(QRPreview->pageNumber());
    FitAll->setChecked(false);
    FitWidth->setChecked(true);
    FitClick(FitWidth);
    if (!isVisible())
        show();
}

void TQuickReportViewer::SaveReportClick()
{
    const QStringList filters = SaveFilters();
    kal::FileDialogRequest request;
    request.caption = QStringLiteral("Zapisz wydruk");
    request.filter = filters.join(QStringLiteral(";;"));
    request.selectedFilter = filters.value(std::clamp(saveFilterIndex, 1, static_cast<int>(filters.size())) - 1);
    QString fileName = kal::Dialogs().saveFileName(request);
    if (fileName.isEmpty())
        return;
    const int chosen = static_cast<int>(filters.indexOf(request.selectedFilter));
    if (chosen >= 0)
        saveFilterIndex = chosen + 1;
    // A bare name takes the extension of the chosen format.
    if (QFileInfo(fileName).suffix().isEmpty() && !QFileInfo(fileName).fileName().isEmpty())
        fileName += QLatin1Char('.') + kSaveExtensions.value(saveFilterIndex - 1);
    ZapiszRaport(fileName, saveFilterIndex - 1);
}

void TQuickReportViewer::ZapiszRaport(const QString& fileName, int filterIndex)
{
    if (!QRPreview->hasPages()) {
        QApplication::beep();
        return;
    }
    if (fileName.isEmpty() || filterIndex < 0 || filterIndex >= kSaveExtensions.size())
        return;
    // The file's own extension: a dot in a folder name does not count.
    const QString extension = QFileInfo(fileName).suffix().toUpper();
    if (extension != kSaveExtensions[filterIndex]) {
        kal::Dialogs().messageBox(kExtensionText, kExtensionCaption, kal::MbOk, kal::MsgIcon::None);
        return;
    }
    const PageModel& pages = *QRPreview->pages();
    // A long report shows its progress while it is saved.
    const PrintProgressScope progress(pages.title, fileName, QString(), pages.pageCount());
    const auto pageDone = [&progress](int done) { progress.advance(done); };
    if (filterIndex == 0)
        SavePageFile(pages, fileName, pageDone);
    else
        ExportToFile(pages,
                     extension == QLatin1String("TXT")   ? ExportFormat::Text
                     : extension == QLatin1String("HTM") ? ExportFormat::Html
                                                         : ExportFormat::Csv,
                     fileName, pageDone);
}
