#pragma once
// The small rich-text editor in which the fleet-card import shows its error
// log. The user may read, edit, save and print the log. The window's show
// keeps the data directory the current directory: it is remembered before the
// show and set again afterwards; when that fails the program ends, since no
// table could be found any more.

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QTextEdit;
class QToolButton;

class TFormRichEdit : public QWidget {
    Q_OBJECT
public:
    static constexpr int mrOk = 1;

    explicit TFormRichEdit(QWidget* parent = nullptr);
    ~TFormRichEdit() override;

    // Shows the editor modally; with `nowy` it starts a new text (after the
    // save check), else it keeps what the caller put into RichEdit1 under the
    // name "Untitled". Returns the modal result.
    int Pokaz(bool nowy);

    // The lines of the text, and appending one (a "\n" inside starts a new line).
    QStringList Linie() const;
    void DopiszLinie(const QString& linia);
    void WyczyscLinie();

    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& nazwa);
    bool Zmieniony() const;

    // Ends the program after the current directory could not be restored; tests replace it.
    static std::function<void()> ZakonczProgram;

    // ---- commands ---------------------------------------------------------
    void FileNew();
    void FileOpen();
    void FileSave();
    void FileSaveAs();
    void FilePrint();
    void FileExit();
    void EditUndo();
    void EditCut();
    void EditCopy();
    void EditPaste();
    void SelectAll();
    void SelectFont();
    void BoldButtonClick();
    void ItalicButtonClick();
    void UnderlineButtonClick();
    void AlignButtonClick(int tag);
    void BulletsButtonClick();
    void SpeedButton1Click();
    void FontNameChange();
    void FontSizeChange();
    // The save check: asks "Zapisać zmiany?" when the text is modified; false
    // when the action is to stop.
    bool CheckFileSave();
    // Brings the tool bar and the ruler into line with the selection.
    void SelectionChange();

    // ---- controls -----------------------------------------------------------
    QWidget* SpeedBar = nullptr;
    QWidget* Ruler = nullptr;
    QLabel* FirstInd = nullptr;
    QLabel* LeftInd = nullptr;
    QLabel* RightInd = nullptr;
    QFrame* RulerLine = nullptr;
    QTextEdit* RichEdit1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QMenuBar* MainMenu = nullptr;
    QToolButton* OpenButton = nullptr;
    QToolButton* SaveButton = nullptr;
    QToolButton* PrintButton = nullptr;
    QToolButton* UndoButton = nullptr;
    QToolButton* CutButton = nullptr;
    QToolButton* CopyButton = nullptr;
    QToolButton* PasteButton = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* BoldButton = nullptr;
    QToolButton* ItalicButton = nullptr;
    QToolButton* UnderlineButton = nullptr;
    QToolButton* LeftAlign = nullptr;
    QToolButton* CenterAlign = nullptr;
    QToolButton* RightAlign = nullptr;
    QToolButton* BulletsButton = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QComboBox* FontName = nullptr;
    QLineEdit* FontSize = nullptr;
    QToolButton* UpDown1Up = nullptr;
    QToolButton* UpDown1Down = nullptr;
    QPushButton* BitBtn1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void zapiszDo(const QString& plik);
    void wczytaj(const QString& plik);
    void ustawMarkery();
    void zastosujMarker(QLabel* marker);
    void polaczPolecenie(QToolButton* przycisk, const QString& podpowiedz, std::function<void()> polecenie);

    QString FFileName;
    bool FUpdating = false;
    int FDragOfs = 0;
    bool FDragging = false;
    QString m_katalogDialogow;
};

extern TFormRichEdit* FormRichEdit;

// Rich text as the editor saves it and reads it back: the paragraphs with
// their alignment, bullets, and the font, size, bold, italic and underline of
// each run.
QByteArray ZapiszRtf(const class QTextDocument& dokument);
// Fills `dokument` from a rich-text file's contents.
void WczytajRtf(const QByteArray& rtf, class QTextDocument& dokument);
