// The report preview window, offscreen, with the scripted dialog seam and a
// printer that records its jobs.

#include "Reportviewer.h"

#include "Export.h"
#include "Obsluga.h"
#include "PageFile.h"
#include "PageFiles.h"
#include "Printer.h"
#include "QtDialogs.h"
#include "ScriptedDialogs.h"
#include "TestDir.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>

using namespace kal::report;
using kal::test::DialogCall;
using kal::test::ScriptedDialogs;

namespace {

const QString kExtensionText = QStringLiteral("Rozszerzenie nazwy nie odpowiada wybranemu formatowi.");
const QString kExtensionCaption = QStringLiteral("Nieprawidłowe rozszerzenie");

class RecordingPrinter final : public IPrinter {
public:
    RecordingPrinter() { SetPrinter(this); }
    ~RecordingPrinter() override { SetPrinter(nullptr); }
    void print(const PageModel&, const PrintJob& job) override { jobs.push_back(job); }
    std::vector<PrintJob> jobs;
};

// A list of `rows` numbered rows, 10 mm each: 27 rows fill a page.
struct ListReport {
    Report report;
    int counter = 0;
    explicit ListReport(int rows)
    {
        report.title = QStringLiteral("Wydruk pojazdów.");
        report.beforePrint = [this](bool&) { counter = 0; };
        report.onNeedData = [this, rows](bool& more) { more = ++counter <= rows; };
        report.printIfEmpty = false;
        Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
        detail->height = 10;
        Label* label = detail->addLabel(QStringLiteral("L"), 0, 0, 60, 5);
        detail->beforePrint = [this, label](Band&, bool&) { label->caption = QStringLiteral("Pojazd nr %1").arg(counter); };
    }
};

// A list of `rows` rows saved as the page file `name` in `dir`; its path.
QString SavedList(const kal::test::TestDir& dir, const QString& name, int rows)
{
    ListReport list(rows);
    const QString path = dir.file(name);
    SavePageFile(*list.report.prepare(), path);
    return path;
}

QStringList Texts(const PageModel& model)
{
    QStringList out;
    for (int p = 0; p < model.pageCount(); ++p)
        for (const auto page = model.page(p); const PageItem& item : page->items)
            out << item.text;
    return out;
}

} // namespace

TEST(ReportViewer, StartsHiddenWithItsControlsAndHints)
{
    TQuickReportViewer viewer;
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Quick Report Viewer"));
    EXPECT_EQ(viewer.StatusPanel0->text(), QStringLiteral("Strona ? z ?"));
    EXPECT_EQ(viewer.Zoom->minimum(), 10);
    EXPECT_EQ(viewer.Zoom->maximum(), 200);
    EXPECT_EQ(viewer.Zoom->value(), 100);
    EXPECT_EQ(viewer.Zoom->singleStep(), 5);
    EXPECT_EQ(viewer.Zoom->pageStep(), 20);
    EXPECT_EQ(viewer.Zoom_Label->text(), QStringLiteral("100 %"));
    EXPECT_EQ(viewer.SpeedButton1->text(), QStringLiteral("100 %"));
    EXPECT_TRUE(viewer.Exit->isVisibleTo(&viewer));
    EXPECT_FALSE(viewer.SaveReport->isEnabled());
    EXPECT_EQ(viewer.Zoom->toolTip(), QStringLiteral("Powiększenie"));
    EXPECT_EQ(viewer.FitAll->toolTip(), QStringLiteral("Cała strona"));
    EXPECT_EQ(viewer.FitWidth->toolTip(), QStringLiteral("Szerokość strony"));
    EXPECT_EQ(viewer.First->toolTip(), QStringLiteral("Pierwsza strona"));
    EXPECT_EQ(viewer.Previous->toolTip(), QStringLiteral("Poprzednia strona"));
    EXPECT_EQ(viewer.Next->toolTip(), QStringLiteral("Następna strona"));
    EXPECT_EQ(viewer.Last->toolTip(), QStringLiteral("Ostatania strona"));
    EXPECT_EQ(viewer.LoadReport->toolTip(), QStringLiteral("Otwórz wydruk"));
    EXPECT_EQ(viewer.SaveReport->toolTip(), QStringLiteral("Zapisz wydruk"));
    EXPECT_EQ(viewer.Print->toolTip(), QStringLiteral("Drukuj"));
    EXPECT_EQ(viewer.Exit->toolTip(), QStringLiteral("Zamknij wydruk"));
    EXPECT_EQ(QuickReportViewer, &viewer);
}

TEST(ReportViewer, LiveReportIsModalPagedAndFittedToWidth)
{
    ScriptedDialogs dialogs;
    TQuickReportViewer viewer;
    ListReport list(60); // 27 + 27 + 6 rows: 3 pages
    bool seen = false;
    dialogs.onModal = [&](QWidget* window) {
        seen = true;
        EXPECT_EQ(window, &viewer);
        EXPECT_EQ(viewer.windowModality(), Qt::ApplicationModal);
        EXPECT_TRUE(viewer.showsLiveReport());
        EXPECT_TRUE(viewer.SaveReport->isEnabled());
        EXPECT_EQ(viewer.StatusPanel0->text(), QStringLiteral("Strona 1 z 3"));
        EXPECT_EQ(viewer.StatusPanel1->text(), QStringLiteral(" (100% wykonano)"));
        EXPECT_FALSE(viewer.First->isEnabled());
        EXPECT_FALSE(viewer.Previous->isEnabled());
        EXPECT_TRUE(viewer.Next->isEnabled());
        EXPECT_TRUE(viewer.Last->isEnabled());
        // Fit-width is down and already applied.
        EXPECT_TRUE(viewer.FitWidth->isChecked());
        EXPECT_EQ(viewer.QRPreview->zoom(), viewer.QRPreview->fitWidthZoom());
        EXPECT_EQ(viewer.Zoom_Label->text(), QStringLiteral("%1 %").arg(viewer.QRPreview->zoom()));

        viewer.Next->click();
        EXPECT_EQ(viewer.StatusPanel0->text(), QStringLiteral("Strona 2 z 3"));
        EXPECT_TRUE(viewer.First->isEnabled());
        EXPECT_TRUE(viewer.Next->isEnabled());
        viewer.Last->click();
        EXPECT_EQ(viewer.StatusPanel0->text(), QStringLiteral("Strona 3 z 3"));
        EXPECT_FALSE(viewer.Next->isEnabled());
        EXPECT_FALSE(viewer.Last->isEnabled());
        viewer.NextClick(); // beyond the last page: stays
        EXPECT_EQ(viewer.QRPreview->pageNumber(), 3);
        viewer.Previous->click();
        EXPECT_EQ(viewer.StatusPanel0->text(), QStringLiteral("Strona 2 z 3"));
        viewer.First->click();
        EXPECT_EQ(viewer.StatusPanel0->text(), QStringLiteral("Strona 1 z 3"));
        return 0;
    };
    viewer.PokazRaport(&list.report);
    EXPECT_TRUE(seen);
    EXPECT_EQ(viewer.windowModality(), Qt::NonModal);
    EXPECT_FALSE(viewer.showsLiveReport());
    EXPECT_FALSE(viewer.SaveReport->isEnabled());
    EXPECT_FALSE(list.report.onPreview); // the hook is cleared again
}

TEST(ReportViewer, OnePageAndEmptyReportsShowOneOfOne)
{
    ScriptedDialogs dialogs;
    TQuickReportViewer viewer;
    QStringList status;
    dialogs.onModal = [&](QWidget*) {
        status << viewer.StatusPanel0->text();
        EXPECT_FALSE(viewer.First->isEnabled());
        EXPECT_FALSE(viewer.Previous->isEnabled());
        EXPECT_FALSE(viewer.Next->isEnabled());
        EXPECT_FALSE(viewer.Last->isEnabled());
        return 0;
    };
    ListReport one(3);
    viewer.PokazRaport(&one.report);
    ListReport none(0);
    viewer.PokazRaport(&none.report);
    EXPECT_EQ(status, (QStringList{QStringLiteral("Strona 1 z 1"), QStringLiteral("Strona 1 z 1")}));
}

TEST(ReportViewer, SaveChecksTheExtensionOfTheChosenFormat)
{
    kal::test::TestDir dir;
    QDir().mkdir(QStringLiteral("dane.2009"));
    ScriptedDialogs dialogs;
    TQuickReportViewer viewer;
    ListReport list(30);
    std::shared_ptr<const PageModel> shown;
    dialogs.onModal = [&](QWidget*) {
        shown = viewer.QRPreview->pages();
        viewer.ZapiszRaport(dir.file(QStringLiteral("raport.qrp")), 0);
        viewer.ZapiszRaport(dir.file(QStringLiteral("RAPORT2.QRP")), 0);
        viewer.ZapiszRaport(dir.file(QStringLiteral("dane.2009/raport.qrp")), 0);
        viewer.ZapiszRaport(dir.file(QStringLiteral("raport.txt")), 0);   // refused
        viewer.ZapiszRaport(dir.file(QStringLiteral("wynik.txt")), 3);    // text export
        viewer.ZapiszRaport(dir.file(QStringLiteral("wynik.htm")), 3);    // refused
        viewer.ZapiszRaport(dir.file(QStringLiteral("dane.2009/wynik")), 2); // no extension: refused
        viewer.ZapiszRaport(dir.file(QStringLiteral("wynik.csv")), 2);
        viewer.ZapiszRaport(dir.file(QStringLiteral("wynik.HTM")), 1);
        return 0;
    };
    viewer.PokazRaport(&list.report);
    ASSERT_TRUE(shown);
    EXPECT_EQ(LoadPageFile(dir.file(QStringLiteral("raport.qrp"))), *shown);
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("RAPORT2.QRP"))));
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("dane.2009/raport.qrp"))));
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("raport.txt"))));
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("wynik.htm"))));
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("dane.2009/wynik"))));
    QFile text(dir.file(QStringLiteral("wynik.txt")));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(text.readAll());
    EXPECT_TRUE(written.startsWith(QStringLiteral("     Pojazd nr 1\n     Pojazd nr 2\n")));
    EXPECT_TRUE(written.contains(QStringLiteral("\f     Pojazd nr 28\n")));
    QFile csv(dir.file(QStringLiteral("wynik.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_TRUE(csv.readAll().startsWith("Pojazd nr 1\r\nPojazd nr 2\r\n"));
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("wynik.HTM"))));

    const auto boxes = dialogs.boxes();
    ASSERT_EQ(boxes.size(), 3u);
    for (const DialogCall& box : boxes) {
        EXPECT_EQ(box.text, kExtensionText);
        EXPECT_EQ(box.caption, kExtensionCaption);
        EXPECT_EQ(box.buttons, unsigned(kal::MbOk));
        EXPECT_EQ(box.icon, kal::MsgIcon::None);
    }
}

TEST(ReportViewer, SaveButtonOffersTheFormatsAndKeepsTheChosenOne)
{
    kal::test::TestDir dir;
    ScriptedDialogs dialogs;
    TQuickReportViewer viewer;
    ListReport list(2);
    dialogs.onModal = [&](QWidget*) {
        dialogs.answerFile(dir.file(QStringLiteral("zapis")));      // bare name, native format
        viewer.SaveReport->click();
        viewer.saveFilterIndex = 4;                                 // the text format
        dialogs.answerFile(dir.file(QStringLiteral("lista.txt")));
        viewer.SaveReport->click();
        viewer.SaveReport->click();                                 // cancelled: nothing
        return 0;
    };
    viewer.PokazRaport(&list.report);
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("zapis.QRP"))));
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("lista.txt"))));
    std::vector<DialogCall> saves;
    for (const DialogCall& call : dialogs.calls())
        if (call.kind == DialogCall::SaveFile)
            saves.push_back(call);
    ASSERT_EQ(saves.size(), 3u);
    EXPECT_EQ(saves[0].caption, QStringLiteral("Zapisz wydruk"));
    EXPECT_EQ(saves[0].filter, QStringLiteral("QuickReport file (*.QRP *.qrp);;Dokument HTML (*.HTM *.htm);;"
                                              "Plik CSV, wartości rozdzielone przecinkami (*.CSV *.csv);;"
                                              "Plik tekstowy (*.TXT *.txt)"));
    EXPECT_TRUE(dialogs.boxes().empty());
}

TEST(ReportViewer, SaveWithNothingShownWritesNothing)
{
    kal::test::TestDir dir;
    ScriptedDialogs dialogs;
    TQuickReportViewer viewer;
    viewer.ZapiszRaport(dir.file(QStringLiteral("raport.QRP")), 0);
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("raport.QRP"))));
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST(ReportViewer, OpeningASavedFileShowsItWithSaveDisabled)
{
    kal::test::TestDir dir;
    ScriptedDialogs dialogs;
    ListReport list(40);
    SavePageFile(*list.report.prepare(), dir.file(QStringLiteral("raport.QRP")));

    TQuickReportViewer viewer;
    dialogs.answerFile(dir.file(QStringLiteral("raport.QRP")));
    viewer.LoadReport->click();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, DialogCall::OpenFile);
    EXPECT_EQ(dialogs.calls()[0].caption, QStringLiteral("Otwórz wydruk"));
    EXPECT_EQ(dialogs.calls()[0].filter, QStringLiteral("QuickReport file (*.QRP *.qrp)"));
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.windowModality(), Qt::NonModal);
    EXPECT_FALSE(viewer.SaveReport->isEnabled());
    EXPECT_EQ(viewer.StatusPanel0->text(), QStringLiteral("Strona 1 z 2"));
    EXPECT_TRUE(viewer.FitWidth->isChecked());
    EXPECT_EQ(Texts(*viewer.QRPreview->pages()).first(), QStringLiteral("Pojazd nr 1"));

    // The next live preview enables the save button again.
    dialogs.onModal = [&](QWidget*) {
        EXPECT_TRUE(viewer.SaveReport->isEnabled());
        return 0;
    };
    viewer.PokazRaport(&list.report);
    viewer.close();
}

TEST(ReportViewer, ADamagedFileIsRefusedAndTheShownReportStays)
{
    kal::test::TestDir dir;
    QFile bad(dir.file(QStringLiteral("zepsuty.QRP")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("KALMORA-QRP\x1a garbage");
    bad.close();
    ScriptedDialogs dialogs;
    TQuickReportViewer viewer;
    ListReport list(3);
    dialogs.onModal = [&](QWidget*) {
        dialogs.answerFile(dir.file(QStringLiteral("zepsuty.QRP")));
        viewer.LoadReport->click();
        EXPECT_TRUE(viewer.showsLiveReport());
        EXPECT_TRUE(viewer.SaveReport->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the hourglass is gone
        return 0;
    };
    viewer.PokazRaport(&list.report);
    const auto boxes = dialogs.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, DialogCall::Error);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Plik nie jest zapisanym raportem lub jest uszkodzony."));
}

// Runs the window's real modal loop; `inside` acts from within it. A loop
// that does not end within 20 s is ended here and marked as hung.
struct RealModal {
    explicit RealModal(ScriptedDialogs& dialogs)
    {
        dialogs.onModal = [this](QWidget* window) {
            auto* dialog = static_cast<QDialog*>(window);
            QTimer::singleShot(0, dialog, [this] { inside(); });
            QTimer guard;
            guard.setSingleShot(true);
            QObject::connect(&guard, &QTimer::timeout, dialog, [this, dialog] {
                hung = true;
                dialog->done(0);
            });
            guard.start(20000);
            return dialog->exec();
        };
    }
    std::function<void()> inside;
    bool hung = false;
};

TEST(ReportViewer, ClosingTheWindowEndsTheCallersWaitAndResetsThePage)
{
    ScriptedDialogs dialogs;
    TQuickReportViewer viewer;
    ListReport list(60);
    int pageBeforeExit = 0;
    RealModal modal(dialogs);
    modal.inside = [&] {
        viewer.Next->click();
        pageBeforeExit = viewer.QRPreview->pageNumber();
        viewer.Exit->click();
    };
    viewer.PokazRaport(&list.report);
    EXPECT_FALSE(modal.hung);
    EXPECT_EQ(pageBeforeExit, 2);
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_FALSE(viewer.showsLiveReport());

    // The next preview opens on page 1; the window's close box ends the wait too.
    int firstPage = 0;
    modal.inside = [&] {
        firstPage = viewer.QRPreview->pageNumber();
        viewer.close();
    };
    viewer.PokazRaport(&list.report);
    EXPECT_FALSE(modal.hung);
    EXPECT_EQ(firstPage, 1);
}

TEST(ReportViewer, OpeningAFileDuringALivePreviewKeepsTheWindowModalUntilItCloses)
{
    kal::test::TestDir dir;
    const QString saved = SavedList(dir, QStringLiteral("inny.QRP"), 5);
    ScriptedDialogs dialogs;
    TQuickReportViewer viewer;
    ListReport list(60);
    RealModal modal(dialogs);
    bool stillWaiting = false;
    Qt::WindowModality modality = Qt::NonModal;
    int shownTexts = 0;
    modal.inside = [&] {
        dialogs.answerFile(saved);
        viewer.LoadReport->click();
        // The file is shown in the same modal window; the caller still waits.
        stillWaiting = viewer.callerWaits();
        modality = viewer.windowModality();
        shownTexts = int(Texts(*viewer.QRPreview->pages()).size());
        EXPECT_TRUE(viewer.isVisible());
        EXPECT_FALSE(viewer.showsLiveReport());
        EXPECT_FALSE(viewer.SaveReport->isEnabled());
        EXPECT_EQ(viewer.StatusPanel0->text(), QStringLiteral("Strona 1 z 1"));
        viewer.close();
    };
    viewer.PokazRaport(&list.report);
    EXPECT_FALSE(modal.hung);
    EXPECT_TRUE(stillWaiting);
    EXPECT_EQ(modality, Qt::ApplicationModal);
    EXPECT_EQ(shownTexts, 5);
    // Closed, nothing is left on show and nothing is modal.
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_FALSE(viewer.callerWaits());
    EXPECT_EQ(viewer.windowModality(), Qt::NonModal);
    EXPECT_FALSE(viewer.QRPreview->hasPages());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

namespace {

// The real modal shows of the Qt seam, with the open dialog answered from a
// queue and every box recorded.
class ModalDialogs final : public kal::IDialogs {
public:
    ModalDialogs() { kal::SetDialogs(this); }
    ~ModalDialogs() override { kal::SetDialogs(nullptr); }
    kal::MsgButton messageBox(const QString& text, const QString&, unsigned, kal::MsgIcon) override
    {
        boxes << text;
        return kal::MbOk;
    }
    void errorBox(const QString& text) override { boxes << text; }
    QString openFileName(kal::FileDialogRequest&) override { return files.isEmpty() ? QString() : files.takeFirst(); }
    QString saveFileName(kal::FileDialogRequest&) override { return {}; }
    bool printerDialog(QPrinter*, QWidget*) override { return false; }
    int execModal(QWidget* window) override { return m_qt.execModal(window); }

    QStringList files;
    QStringList boxes;

private:
    kal::QtDialogs m_qt;
};

// A window that calls the preview from its own modal show (as "Edycja Tabeli
// A" does); Esc closes it.
class CallingWindow final : public QWidget {
public:
    CallingWindow() : QWidget(nullptr, Qt::Window) { resize(300, 200); }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape)
            close();
        else
            QWidget::keyPressEvent(event);
    }
};

QPoint CentreIn(const QWidget* widget, const QWidget* window)
{
    return widget->mapTo(window, widget->rect().center());
}

} // namespace

// Live preview from a modal window, a saved file opened in the preview, then
// the preview closed by Esc, by its close box or by its "Zamknij wydruk"
// button: each time the preview closes, the calling window takes input again
// and, once it is closed, so does the main window.
TEST(ReportViewer, AfterASavedFileIsOpenedEveryWayOfClosingGivesTheCallerItsInputBack)
{
    kal::test::TestDir dir;
    const QString saved = SavedList(dir, QStringLiteral("zapisany.QRP"), 5);
    ModalDialogs dialogs;
    TQuickReportViewer viewer;
    QWidget mainWindow;
    auto* edit = new QLineEdit(&mainWindow);
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));

    enum class Route { Escape, CloseBox, ExitButton };
    for (Route route : {Route::Escape, Route::CloseBox, Route::ExitButton}) {
        SCOPED_TRACE(int(route));
        CallingWindow caller;
        ListReport live(60);
        bool previewReturned = false, fileShown = false, hung = false;
        bool visibleAfterPreview = true, callerClosedByKey = false;
        // Everything is ended from here when a window stops taking input.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            hung = true;
            viewer.hide();
            caller.hide();
        });
        guard.start(15000);
        QTimer::singleShot(0, &caller, [&] {
            QTimer::singleShot(0, &viewer, [&] {
                dialogs.files << saved;
                viewer.LoadReport->click();
                fileShown = viewer.QRPreview->hasPages() && viewer.QRPreview->pageCount() == 1;
                // The user closes the window the way the route says, through
                // the window system (where a blocked window takes nothing).
                QTimer::singleShot(20, &viewer, [&] {
                    QWindow* window = viewer.windowHandle();
                    switch (route) {
                    case Route::Escape: QTest::keyClick(window, Qt::Key_Escape); break;
                    case Route::CloseBox: window->close(); break;
                    case Route::ExitButton:
                        QTest::mouseClick(window, Qt::LeftButton, {}, CentreIn(viewer.Exit, &viewer));
                        break;
                    }
                });
            });
            live.report.preview();
            previewReturned = true;
            visibleAfterPreview = viewer.isVisible();
            QTimer::singleShot(20, &caller, [&] {
                QTest::keyClick(caller.windowHandle(), Qt::Key_Escape);
                callerClosedByKey = !caller.isVisible();
            });
        });
        dialogs.execModal(&caller);
        guard.stop();
        EXPECT_FALSE(hung);
        EXPECT_TRUE(fileShown);
        EXPECT_TRUE(previewReturned);
        EXPECT_FALSE(visibleAfterPreview);
        EXPECT_TRUE(callerClosedByKey);
        EXPECT_FALSE(viewer.isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    EXPECT_TRUE(dialogs.boxes.isEmpty());

    // The main window takes what is typed.
    mainWindow.activateWindow();
    edit->setFocus();
    for (char c : {'a', 'b', 'c'})
        QTest::keyClick(mainWindow.windowHandle(), c);
    EXPECT_EQ(edit->text(), QStringLiteral("abc"));
}

TEST(ReportViewer, PageKeysPageThroughTheReport)
{
    ScriptedDialogs dialogs;
    TQuickReportViewer viewer;
    ListReport list(60); // 3 pages
    RealModal modal(dialogs);
    QStringList seen;
    modal.inside = [&] {
        QWindow* window = viewer.windowHandle();
        const auto status = [&] { seen << viewer.StatusPanel0->text(); };
        // Each page of the list is taller than the view: PageDown first goes
        // down the page, and from its bottom on to the next page.
        viewer.setWindowState(Qt::WindowNoState);
        viewer.resize(700, 500);
        QApplication::processEvents();
        QScrollBar* bar = viewer.QRPreview->verticalScrollBar();
        EXPECT_GT(bar->maximum(), 0);
        QTest::keyClick(window, Qt::Key_PageDown);
        EXPECT_GT(bar->value(), 0);
        status();
        QTest::keyClick(window, Qt::Key_Home, Qt::ControlModifier); // back to the top of the same page
        EXPECT_EQ(bar->value(), 0);
        QTest::keyClick(window, Qt::Key_PageDown);
        while (bar->value() < bar->maximum())
            QTest::keyClick(window, Qt::Key_PageDown);
        QTest::keyClick(window, Qt::Key_PageDown);
        status();
        EXPECT_EQ(bar->value(), 0); // the next page from its top
        QTest::keyClick(window, Qt::Key_End, Qt::ControlModifier);
        status();
        EXPECT_EQ(bar->value(), bar->maximum());
        QTest::keyClick(window, Qt::Key_PageDown); // nothing after the end
        status();
        QTest::keyClick(window, Qt::Key_Home, Qt::ControlModifier);
        status();
        EXPECT_EQ(bar->value(), 0);
        QTest::keyClick(window, Qt::Key_PageUp); // nothing before the start
        status();
        viewer.LastClick();
        QTest::keyClick(window, Qt::Key_PageUp); // from the top of page 3 to the bottom of page 2
        status();
        EXPECT_EQ(bar->value(), bar->maximum());
        // The keys page also while the zoom track bar has the focus.
        viewer.Zoom->setFocus();
        const int zoom = viewer.Zoom->value();
        QTest::keyClick(window, Qt::Key_Home, Qt::ControlModifier);
        status();
        EXPECT_EQ(viewer.Zoom->value(), zoom);
        viewer.close();
    };
    viewer.PokazRaport(&list.report);
    EXPECT_FALSE(modal.hung);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Strona 1 z 3"), QStringLiteral("Strona 2 z 3"),
                                 QStringLiteral("Strona 3 z 3"), QStringLiteral("Strona 3 z 3"),
                                 QStringLiteral("Strona 1 z 3"), QStringLiteral("Strona 1 z 3"),
                                 QStringLiteral("Strona 2 z 3"), QStringLiteral("Strona 1 z 3")}));
}

// While it lives, tests see a machine with (or without) a printer.
struct InstalledPrinter {
    explicit InstalledPrinter(bool installed) : m_saved(TQuickReportViewer::PrinterInstalled)
    {
        TQuickReportViewer::PrinterInstalled = [installed] { return installed; };
    }
    ~InstalledPrinter() { TQuickReportViewer::PrinterInstalled = m_saved; }
    InstalledPrinter(const InstalledPrinter&) = delete;
    InstalledPrinter& operator=(const InstalledPrinter&) = delete;

private:
    std::function<bool()> m_saved;
};

TEST(ReportViewer, PrintSendsTheShownPagesWithoutADialogAndARangeOnce)
{
    ScriptedDialogs dialogs;
    InstalledPrinter installed(true);
    RecordingPrinter printer;
    TQuickReportViewer viewer;
    ListReport list(60);
    list.report.printSettings.fromPage = 2;
    list.report.printSettings.toPage = 2;
    list.report.printSettings.copies = 2;
    int runs = 0;
    list.report.afterPrint = [&] { ++runs; };
    dialogs.onModal = [&](QWidget*) {
        viewer.Print->click();
        viewer.Print->click();
        return 0;
    };
    viewer.PokazRaport(&list.report);
    EXPECT_EQ(runs, 1); // printing did not run the report again
    ASSERT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(printer.jobs[0].fromPage, 2);
    EXPECT_EQ(printer.jobs[0].toPage, 2);
    EXPECT_EQ(printer.jobs[0].copies, 2);
    EXPECT_EQ(printer.jobs[1].fromPage, 1);
    EXPECT_EQ(printer.jobs[1].toPage, 3);
    EXPECT_EQ(printer.jobs[1].title, QStringLiteral("Wydruk pojazdów."));
    for (const DialogCall& call : dialogs.calls())
        EXPECT_NE(call.kind, DialogCall::Printer);
    // With nothing shown, print does nothing.
    viewer.Print->click();
    EXPECT_EQ(printer.jobs.size(), 2u);
}

// A long report's pages take room in the temporary directory while it is
// shown, saved and printed from the preview; once the preview closes (or a
// print is done) the room is free for the next run, of this report or of
// another.
TEST(ReportViewer, AClosedPreviewGivesTheRoomOfItsPagesBack)
{
    kal::test::TestDir dir;
    ScriptedDialogs dialogs;
    InstalledPrinter installed(true);
    RecordingPrinter printer;
    TQuickReportViewer viewer;
    ListReport list(600), other(600);
    qint64 shown = 0;
    dialogs.onModal = [&](QWidget*) {
        shown = kal::test::HeldPageFileBytes();
        viewer.Print->click();
        viewer.ZapiszRaport(dir.file(QStringLiteral("raport.QRP")), 0);
        return 0;
    };
    {
        const kal::test::PageFiles pages(0, dir.path());
        viewer.PokazRaport(&list.report);
    }
    ASSERT_GT(shown, 0);
    EXPECT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(LoadPageFile(dir.file(QStringLiteral("raport.QRP"))).pageCount(), 23);
    EXPECT_EQ(kal::test::HeldPageFileBytes(), 0);
    EXPECT_FALSE(list.report.pages());

    // Room for one run and a half.
    const kal::test::PageFiles pages(0, dir.path(), shown + shown / 2);
    dialogs.onModal = [](QWidget*) { return 0; };
    for (ListReport* run : {&list, &list, &other}) {
        EXPECT_NO_THROW(viewer.PokazRaport(&run->report));
        EXPECT_EQ(kal::test::HeldPageFileBytes(), 0);
    }
    EXPECT_NO_THROW(list.report.print());
    EXPECT_NO_THROW(other.report.print());
    EXPECT_EQ(kal::test::HeldPageFileBytes(), 0);
    EXPECT_EQ(printer.jobs.size(), 3u);
}

TEST(ReportViewer, WithoutAPrinterPrintOffersAPdfFileUnderTheReportsName)
{
    kal::test::TestDir dir;
    ScriptedDialogs dialogs;
    InstalledPrinter installed(false);
    RecordingPrinter printer;
    TQuickReportViewer viewer;
    ListReport list(60);
    list.report.title = QStringLiteral("Wydruk Tabeli C za półrocze: 2 2009 roku.");
    dialogs.onModal = [&](QWidget*) {
        viewer.Print->click(); // cancelled: nothing printed
        dialogs.answerPrinter(true, dir.file(QStringLiteral("Tabela C.pdf")));
        viewer.Print->click();
        dialogs.answerPrinter(true); // the same file again, preset
        viewer.Print->click();
        return 0;
    };
    viewer.PokazRaport(&list.report);
    std::vector<DialogCall> asked;
    for (const DialogCall& call : dialogs.calls())
        if (call.kind == DialogCall::Printer)
            asked.push_back(call);
    ASSERT_EQ(asked.size(), 3u);
    for (const DialogCall& call : asked)
        EXPECT_EQ(call.filter, QStringLiteral("Wydruk Tabeli C za półrocze 2 2009 roku"));
    ASSERT_EQ(printer.jobs.size(), 2u);
    for (const PrintJob& job : printer.jobs) {
        EXPECT_EQ(job.outputFileName, dir.file(QStringLiteral("Tabela C.pdf")));
        EXPECT_EQ(job.fromPage, 1);
        EXPECT_EQ(job.toPage, 3);
    }
    EXPECT_TRUE(dialogs.boxes().empty());

    // An opened file is printed the same way, under its own title.
    kal::test::TestDir files;
    viewer.WczytajRaport(SavedList(files, QStringLiteral("zapis.QRP"), 60));
    dialogs.answerPrinter(true, files.file(QStringLiteral("z pliku.pdf")));
    viewer.Print->click();
    ASSERT_EQ(printer.jobs.size(), 3u);
    EXPECT_EQ(printer.jobs[2].outputFileName, files.file(QStringLiteral("z pliku.pdf")));
    EXPECT_EQ(dialogs.calls().back().filter, QStringLiteral("Wydruk pojazdów"));
    viewer.close();
}

TEST(ReportViewer, ThePrintButtonShowsAPrinter)
{
    TQuickReportViewer viewer;
    EXPECT_EQ(viewer.Print->icon().pixmap(20).toImage(), ObrazDrukarki().pixmap(20).toImage());
}

TEST(ReportViewer, AFitBeyondTheTrackBarKeepsTheFit)
{
    ScriptedDialogs dialogs;
    TQuickReportViewer viewer;
    ListReport list(3);
    dialogs.onModal = [&](QWidget*) {
        viewer.setWindowState(Qt::WindowNoState);
        viewer.show();
        viewer.resize(2400, 1800);
        QApplication::processEvents();
        viewer.FitWidth->click(); // up: no fit, zoom 100
        EXPECT_EQ(viewer.QRPreview->zoom(), 100);
        viewer.FitWidth->click(); // down again
        const int fitted = viewer.QRPreview->fitWidthZoom();
        EXPECT_GT(fitted, 200);
        EXPECT_EQ(viewer.QRPreview->zoom(), fitted);
        EXPECT_TRUE(viewer.FitWidth->isChecked());
        EXPECT_EQ(viewer.Zoom->value(), 200);
        EXPECT_EQ(viewer.Zoom_Label->text(), QStringLiteral("%1 %").arg(fitted));

        // Moving the track bar releases the fit.
        viewer.Zoom->setValue(150);
        EXPECT_FALSE(viewer.FitWidth->isChecked());
        EXPECT_FALSE(viewer.FitAll->isChecked());
        EXPECT_EQ(viewer.QRPreview->zoom(), 150);
        EXPECT_EQ(viewer.Zoom_Label->text(), QStringLiteral("150 %"));
        viewer.SpeedButton1->click();
        EXPECT_EQ(viewer.QRPreview->zoom(), 100);
        EXPECT_EQ(viewer.Zoom_Label->text(), QStringLiteral("100 %"));

        // The whole page, then the width: one button releases the other.
        viewer.FitAll->click();
        EXPECT_TRUE(viewer.FitAll->isChecked());
        EXPECT_EQ(viewer.QRPreview->zoom(), viewer.QRPreview->fitPageZoom());
        viewer.FitWidth->click();
        EXPECT_FALSE(viewer.FitAll->isChecked());
        viewer.hide();
        return 0;
    };
    viewer.PokazRaport(&list.report);
}

TEST(ReportViewer, APreviewFromAnyLayerGoesToTheWindowCaptionedWithTheTitle)
{
    ScriptedDialogs dialogs;
    TQuickReportViewer viewer;
    ListReport list(3);
    list.report.title = QStringLiteral("Wydruk Tabeli D za półrocze: 1 2009 roku.");
    QString caption;
    int shows = 0;
    dialogs.onModal = [&](QWidget*) {
        ++shows;
        caption = viewer.windowTitle();
        EXPECT_EQ(viewer.StatusPanel0->text(), QStringLiteral("Strona 1 z 1"));
        return 0;
    };
    list.report.preview();
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(caption, QStringLiteral("Wydruk Tabeli D za półrocze: 1 2009 roku."));
}
