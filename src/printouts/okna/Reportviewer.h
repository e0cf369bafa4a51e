#pragma once
// The report preview window: pages through a report, zooms, prints it
// without a dialog, saves it as a page file or exports it, and opens a saved
// page file. While it shows a live report it is application-modal and the
// caller waits; closing it always ends that wait.

#include "PageModel.h"
#include "Report.h"

#include <QDialog>
#include <QScrollArea>
#include <functional>
#include <memory>

class QLabel;
class QSlider;
class QStatusBar;
class QToolButton;

namespace kal::report {

// The page view: one page of a page model at a zoom, scrollable.
class TQRPreview final : public QScrollArea {
    Q_OBJECT
public:
    explicit TQRPreview(QWidget* parent = nullptr);

    void setPages(std::shared_ptr<const PageModel> pages);
    const std::shared_ptr<const PageModel>& pages() const { return m_pages; }
    bool hasPages() const { return m_pages != nullptr; }
    int pageCount() const { return m_pages ? m_pages->pageCount() : 0; }

    int pageNumber() const { return m_page; }
    // A number outside 1 to the page count is ignored; a change scrolls back
    // to the top left of the page.
    void setPageNumber(int page);
    int zoom() const { return m_zoom; }
    void setZoom(int percent);
    // The zoom at which the whole page, or the page width, fits the view.
    int fitPageZoom() const;
    int fitWidthZoom() const;

signals:
    void resized();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void render();

    std::shared_ptr<const PageModel> m_pages;
    QLabel* m_image;
    int m_page = 1;
    int m_zoom = 100;
};

} // namespace kal::report

class TQuickReportViewer final : public QDialog, public kal::report::IPreviewer {
    Q_OBJECT
public:
    // The first viewer created becomes `QuickReportViewer` and the
    // previewer of every report.
    explicit TQuickReportViewer(QWidget* parent = nullptr);
    ~TQuickReportViewer() override;

    // Captions the window with the report's title and previews it.
    void showPreview(kal::report::Report& report) override;

    // Previews `report`: runs it, shows its pages, and returns when the
    // window closes (also when a saved file was opened meanwhile).
    void PokazRaport(kal::report::Report* report);
    // The report's preview hook: attaches the pages of a live run.
    void PrepareViewer(std::shared_ptr<const kal::report::PageModel> pages);
    // Shows a saved page file. Throws kal::Exception when it cannot be read.
    void WczytajRaport(const QString& fileName);
    // Saves (index 0: page file) or exports (1 HTML, 2 CSV, 3 text) the shown
    // pages. An extension that does not match the format is refused with a
    // message. Throws kal::Exception when the file cannot be written.
    void ZapiszRaport(const QString& fileName, int filterIndex);
    void PokazNumerStrony(int page);
    // Detaches what is shown and ends the caller's wait.
    void ZamknijPodglad();

    void FitClick(QObject* sender);
    void ZoomChange();
    void SpeedButton1Click();
    void FirstClick();
    void PreviousClick();
    void NextClick();
    void LastClick();
    // PageDown and PageUp move a screenful within the page and then on to
    // the next (previous) page; Ctrl+Home goes to the top of the first page,
    // Ctrl+End to the end of the last.
    void PageDownKey();
    void PageUpKey();
    void FirstKey();
    void LastKey();
    // Prints the shown pages on the printer chosen for them, with no dialog.
    // When no printer is installed the printer dialog comes first, offering
    // a print into a PDF file; a cancelled dialog prints nothing.
    void PrintClick();
    void LoadReportClick();
    void SaveReportClick();
    void ExitClick();
    void QRPreviewProgressUpdate(int percent);

    // The save dialog's list, native page file first, then HTML, CSV, text;
    // and its filter index (1-based, kept from one save to the next).
    static QStringList SaveFilters();
    static QString OpenFilter();
    int saveFilterIndex = 1;

    // True while the window shows the pages of a live report.
    bool showsLiveReport() const { return m_live != nullptr; }
    // True while a live report's caller waits for the window to close.
    bool callerWaits() const { return m_waiting; }

    // Whether a printer is installed (tests replace it).
    static std::function<bool()> PrinterInstalled;

    kal::report::TQRPreview* QRPreview;
    QStatusBar* StatusBar;
    QLabel* StatusPanel0;
    QLabel* StatusPanel1;
    QSlider* Zoom;
    QLabel* Zoom_Label;
    QToolButton* SpeedButton1;
    QToolButton* FitAll;
    QToolButton* FitWidth;
    QToolButton* First;
    QToolButton* Previous;
    QToolButton* Next;
    QToolButton* Last;
    QToolButton* LoadReport;
    QToolButton* SaveReport;
    QToolButton* Print;
    QToolButton* Exit;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormClose();
    void EndLiveWait();
    template <class F> void Guarded(F&& action);

    kal::report::Report* m_live = nullptr; // the live report shown
    bool m_waiting = false;                // its caller waits for the window
    kal::report::PrintSettings m_fileSettings; // the printer chosen for opened files
    bool m_settingZoom = false;
};

// The one preview window of the program.
extern TQuickReportViewer* QuickReportViewer;
