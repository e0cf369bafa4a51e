#include "Edytor.h"

#include "Obsluga.h"

#include "platform/core/Dialogs.h"
#include "platform/core/Exceptions.h"
#include "platform/ui/Application.h"
#include "platform/ui/Hints.h"
#include "platform/ui/QtDialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QToolButton>
#include <QVBoxLayout>

#include <cctype>
#include <cmath>
#include <vector>

TFormRichEdit* FormRichEdit = nullptr;

std::function<void()> TFormRichEdit::ZakonczProgram = [] { QCoreApplication::quit(); };

namespace {

const QString kBezNazwy = QStringLiteral("Untitled");
// Pixels per point of the ruler, and its gutter.
constexpr double kPikselNaPunkt = 1.3333334;
constexpr int kMargines = 6;
constexpr int kMinRozmiar = 1;
constexpr int kMaxRozmiar = 1638;

QString filtrPlikow()
{
    return QStringLiteral("Rich Text Files (*.RTF *.rtf);;Text Files (*.TXT *.txt)");
}

// ---- rich text ---------------------------------------------------------------

QByteArray rtfTekst(const QString& s)
{
    QByteArray w;
    for (const QChar c : s) {
        const ushort u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            w += '\\';
            w += char(u);
        } else if (u == '\t') {
            w += "\\tab ";
        } else if (u == 0x2028) {
            w += "\\line ";
        } else if (u < 0x80) {
            w += char(u);
        } else {
            w += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return w;
}

QString dekodujCp1250(const QByteArray& b)
{
    QStringDecoder d("windows-1250");
    if (d.isValid())
        return d.decode(b);
    return QString::fromLatin1(b);
}

} // namespace

QByteArray ZapiszRtf(const QTextDocument& dokument)
{
    QStringList czcionki;
    auto indeksCzcionki = [&](const QString& nazwa) {
        qsizetype i = czcionki.indexOf(nazwa);
        if (i < 0) {
            czcionki << nazwa;
            i = czcionki.size() - 1;
        }
        return int(i);
    };
    indeksCzcionki(dokument.defaultFont().family());
    QByteArray tresc;
    for (QTextBlock b = dokument.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        tresc += "\\pard";
        if (f.alignment() & Qt::AlignHCenter)
            tresc += "\\qc";
        else if (f.alignment() & Qt::AlignRight)
            tresc += "\\qr";
        else
            tresc += "\\ql";
        const int lewy = int(std::lround(f.leftMargin() * 15.0));
        const int pierwszy = int(std::lround(f.textIndent() * 15.0));
        const int prawy = int(std::lround(f.rightMargin() * 15.0));
        if (lewy)
            tresc += "\\li" + QByteArray::number(lewy);
        if (pierwszy)
            tresc += "\\fi" + QByteArray::number(pierwszy);
        if (prawy)
            tresc += "\\ri" + QByteArray::number(prawy);
        if (b.textList())
            tresc += "{\\pntext\\'B7\\tab}{\\*\\pn\\pnlvlblt}";
        tresc += ' ';
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            if (!fr.isValid())
                continue;
            const QTextCharFormat cf = fr.charFormat();
            const QFont font = cf.font();
            tresc += "{\\f" + QByteArray::number(indeksCzcionki(font.family()));
            const double pt = font.pointSizeF() > 0 ? font.pointSizeF() : 10.0;
            tresc += "\\fs" + QByteArray::number(int(std::lround(pt * 2)));
            if (font.bold())
                tresc += "\\b";
            if (font.italic())
                tresc += "\\i";
            if (font.underline())
                tresc += "\\ul";
            tresc += ' ' + rtfTekst(fr.text()) + '}';
        }
        if (b.next().isValid())
            tresc += "\\par\n";
    }
    QByteArray w = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (int i = 0; i < czcionki.size(); ++i)
        w += "{\\f" + QByteArray::number(i) + ' ' + rtfTekst(czcionki[i]) + ";}";
    w += "}\n" + tresc + "}\n";
    return w;
}

void WczytajRtf(const QByteArray& rtf, QTextDocument& dokument)
{
    struct Stan {
        bool pomin = false;
        bool tabelaCzcionek = false;
        int czcionka = 0;
        double rozmiar = 10.0;
        bool b = false, i = false, ul = false;
        int uc = 1;
    };
    dokument.clear();
    QTextCursor kursor(&dokument);
    std::vector<Stan> stos{Stan{}};
    QMap<int, QString> czcionki;
    int numerCzcionki = 0;
    QString nazwaCzcionki;
    Qt::Alignment wyrownanie = Qt::AlignLeft;
    bool lista = false;
    int doPominiecia = 0;
    bool pierwszyAkapit = true;

    auto formatZnaku = [&]() {
        const Stan& s = stos.back();
        QTextCharFormat f;
        if (czcionki.contains(s.czcionka))
            f.setFontFamilies({czcionki.value(s.czcionka)});
        f.setFontPointSize(s.rozmiar);
        f.setFontWeight(s.b ? QFont::Bold : QFont::Normal);
        f.setFontItalic(s.i);
        f.setFontUnderline(s.ul);
        return f;
    };
    auto ustawAkapit = [&]() {
        QTextBlockFormat bf = kursor.blockFormat();
        bf.setAlignment(wyrownanie);
        kursor.setBlockFormat(bf);
        if (lista && !kursor.currentList())
            kursor.createList(QTextListFormat::ListDisc);
    };
    auto wstaw = [&](const QString& t) {
        if (t.isEmpty())
            return;
        if (doPominiecia > 0) {
            const int n = std::min<int>(doPominiecia, int(t.size()));
            doPominiecia -= n;
            if (n == t.size())
                return;
            kursor.insertText(t.mid(n), formatZnaku());
            return;
        }
        if (stos.back().pomin)
            return;
        if (stos.back().tabelaCzcionek) {
            nazwaCzcionki += t;
            return;
        }
        if (pierwszyAkapit) {
            ustawAkapit();
            pierwszyAkapit = false;
        }
        kursor.insertText(t, formatZnaku());
    };

    QByteArray bajty;
    auto oproznij = [&]() {
        if (!bajty.isEmpty()) {
            wstaw(dekodujCp1250(bajty));
            bajty.clear();
        }
    };

    const qsizetype n = rtf.size();
    for (qsizetype p = 0; p < n;) {
        const char c = rtf[p];
        if (c == '{') {
            oproznij();
            stos.push_back(stos.back());
            ++p;
            if (p + 1 < n && rtf[p] == '\\' && rtf[p + 1] == '*')
                stos.back().pomin = true;
        } else if (c == '}') {
            oproznij();
            if (stos.back().tabelaCzcionek && !nazwaCzcionki.isEmpty()) {
                QString nazwa = nazwaCzcionki.trimmed();
                if (nazwa.endsWith(u';'))
                    nazwa.chop(1);
                czcionki[numerCzcionki] = nazwa;
                nazwaCzcionki.clear();
            }
            if (stos.size() > 1)
                stos.pop_back();
            ++p;
        } else if (c == '\\') {
            ++p;
            if (p >= n)
                break;
            const char d = rtf[p];
            if (d == '\\' || d == '{' || d == '}') {
                bajty += d;
                ++p;
                continue;
            }
            if (d == '\'') {
                bool ok = false;
                const int v = rtf.mid(p + 1, 2).toInt(&ok, 16);
                if (ok && !stos.back().pomin) {
                    if (doPominiecia > 0)
                        --doPominiecia;
                    else
                        bajty += char(v);
                }
                p += 3;
                continue;
            }
            if (!std::isalpha(static_cast<unsigned char>(d))) {
                ++p;
                continue;
            }
            oproznij();
            qsizetype k = p;
            while (k < n && std::isalpha(static_cast<unsigned char>(rtf[k])))
                ++k;
            const QByteArray slowo = rtf.mid(p, k - p);
            qsizetype m = k;
            if (m < n && (rtf[m] == '-' || std::isdigit(static_cast<unsigned char>(rtf[m])))) {
                ++m;
                while (m < n && std::isdigit(static_cast<unsigned char>(rtf[m])))
                    ++m;
            }
            const bool maParametr = m > k;
            const int parametr = maParametr ? rtf.mid(k, m - k).toInt() : 1;
            p = m;
            if (p < n && rtf[p] == ' ')
                ++p;
            Stan& s = stos.back();
            if (slowo == "fonttbl") {
                s.tabelaCzcionek = true;
            } else if (slowo == "colortbl" || slowo == "stylesheet" || slowo == "info" || slowo == "pict" ||
                       slowo == "pntext" || slowo == "header" || slowo == "footer") {
                s.pomin = true;
            } else if (slowo == "f") {
                if (s.tabelaCzcionek)
                    numerCzcionki = parametr;
                else
                    s.czcionka = parametr;
            } else if (slowo == "fs") {
                s.rozmiar = parametr / 2.0;
            } else if (slowo == "b") {
                s.b = parametr != 0;
            } else if (slowo == "i") {
                s.i = parametr != 0;
            } else if (slowo == "ul") {
                s.ul = parametr != 0;
            } else if (slowo == "ulnone") {
                s.ul = false;
            } else if (slowo == "plain") {
                s.b = s.i = s.ul = false;
                s.rozmiar = 10.0;
                s.czcionka = 0;
            } else if (slowo == "pard") {
                wyrownanie = Qt::AlignLeft;
                lista = false;
            } else if (slowo == "ql") {
                wyrownanie = Qt::AlignLeft;
            } else if (slowo == "qr") {
                wyrownanie = Qt::AlignRight;
            } else if (slowo == "qc") {
                wyrownanie = Qt::AlignHCenter;
            } else if (slowo == "qj") {
                wyrownanie = Qt::AlignJustify;
            } else if (slowo == "pnlvlblt") {
                lista = true;
            } else if (slowo == "par") {
                if (!s.pomin) {
                    if (pierwszyAkapit)
                        ustawAkapit();
                    kursor.insertBlock();
                    if (!lista && kursor.currentList())
                        kursor.currentList()->remove(kursor.block());
                    QTextBlockFormat bf;
                    kursor.setBlockFormat(bf);
                    pierwszyAkapit = true;
                }
            } else if (slowo == "line") {
                wstaw(QString(QChar(0x2028)));
            } else if (slowo == "tab") {
                wstaw(QStringLiteral("\t"));
            } else if (slowo == "uc") {
                s.uc = parametr;
            } else if (slowo == "u") {
                wstaw(QString(QChar(ushort(qint16(parametr)))));
                doPominiecia = s.uc;
            }
        } else if (c == '\r' || c == '\n') {
            ++p;
        } else {
            bajty += c;
            ++p;
        }
    }
    oproznij();
    if (pierwszyAkapit)
        ustawAkapit();
}

// ================================================================== window

TFormRichEdit::TFormRichEdit(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FormRichEdit"));
    setWindowTitle(QStringLiteral("Edytor"));
    resize(760, 520);
    m_katalogDialogow = QDir::currentPath();

    auto* uklad = new QVBoxLayout(this);
    uklad->setContentsMargins(0, 0, 0, 0);
    uklad->setSpacing(0);

    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    uklad->setMenuBar(MainMenu);

    // The tool bar in two rows, so that the window fits a small screen: the
    // file and editing commands with "Zamknij" at the right, then the font
    // and paragraph ones.
    SpeedBar = new QWidget(this);
    SpeedBar->setObjectName(QStringLiteral("SpeedBar"));
    auto* wiersze = new QVBoxLayout(SpeedBar);
    wiersze->setContentsMargins(4, 2, 4, 2);
    wiersze->setSpacing(2);
    auto* polecenia = new QHBoxLayout;
    polecenia->setSpacing(2);
    auto* formaty = new QHBoxLayout;
    formaty->setSpacing(2);
    wiersze->addLayout(polecenia);
    wiersze->addLayout(formaty);
    QHBoxLayout* pasek = polecenia;
    auto przycisk = [&](const char* nazwa, const QString& napis, bool przelacznik = false) {
        auto* b = new QToolButton(SpeedBar);
        b->setObjectName(QString::fromLatin1(nazwa));
        b->setText(napis);
        b->setCheckable(przelacznik);
        b->setFocusPolicy(Qt::NoFocus);
        pasek->addWidget(b);
        return b;
    };
    OpenButton = przycisk("OpenButton", QStringLiteral("Otwórz"));
    SaveButton = przycisk("SaveButton", QStringLiteral("Zapisz"));
    PrintButton = przycisk("PrintButton", QStringLiteral("Drukuj"));
    pasek->addSpacing(8);
    UndoButton = przycisk("UndoButton", QStringLiteral("Cofnij"));
    CutButton = przycisk("CutButton", QStringLiteral("Wytnij"));
    CopyButton = przycisk("CopyButton", QStringLiteral("Kopiuj"));
    PasteButton = przycisk("PasteButton", QStringLiteral("Wklej"));
    SpeedButton4 = przycisk("SpeedButton4", QStringLiteral("Wszystko"));
    pasek->addStretch(1);
    BitBtn1 = new QPushButton(QStringLiteral("Zamknij"), SpeedBar);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    kal::SetHint(BitBtn1, QStringLiteral("Zamknij edytor."));
    pasek->addWidget(BitBtn1);

    pasek = formaty;
    FontName = new QComboBox(SpeedBar);
    FontName->setObjectName(QStringLiteral("FontName"));
    FontName->setFocusPolicy(Qt::ClickFocus);
    // A long family name does not widen the bar; the open list shows it whole.
    FontName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    FontName->setMinimumContentsLength(24);
    QStringList rodziny = QFontDatabase::families();
    rodziny.sort(Qt::CaseInsensitive);
    FontName->addItems(rodziny);
    pasek->addWidget(FontName);
    FontSize = new QLineEdit(QStringLiteral("10"), SpeedBar);
    FontSize->setObjectName(QStringLiteral("FontSize"));
    FontSize->setFixedWidth(48);
    pasek->addWidget(FontSize);
    UpDown1Up = przycisk("UpDown1Up", QStringLiteral("▲"));
    UpDown1Down = przycisk("UpDown1Down", QStringLiteral("▼"));
    pasek->addSpacing(8);
    BoldButton = przycisk("BoldButton", QStringLiteral("B"), true);
    ItalicButton = przycisk("ItalicButton", QStringLiteral("I"), true);
    UnderlineButton = przycisk("UnderlineButton", QStringLiteral("U"), true);
    pasek->addSpacing(8);
    LeftAlign = przycisk("LeftAlign", QStringLiteral("L"), true);
    CenterAlign = przycisk("CenterAlign", QStringLiteral("C"), true);
    RightAlign = przycisk("RightAlign", QStringLiteral("R"), true);
    LeftAlign->setProperty("Tag", 0);
    RightAlign->setProperty("Tag", 1);
    CenterAlign->setProperty("Tag", 2);
    BulletsButton = przycisk("BulletsButton", QStringLiteral("•"), true);
    SpeedButton1 = przycisk("SpeedButton1", QStringLiteral("Zawijaj"), true);
    SpeedButton1->setChecked(true);
    pasek->addStretch(1);
    uklad->addWidget(SpeedBar);

    Ruler = new QWidget(this);
    Ruler->setObjectName(QStringLiteral("Ruler"));
    Ruler->setFixedHeight(26);
    auto marker = [&](const char* nazwa, const QString& znak, int y) {
        auto* m = new QLabel(znak, Ruler);
        m->setObjectName(QString::fromLatin1(nazwa));
        m->setFixedSize(10, 10);
        m->move(0, y);
        m->installEventFilter(this);
        return m;
    };
    FirstInd = marker("FirstInd", QStringLiteral("▼"), 2);
    LeftInd = marker("LeftInd", QStringLiteral("▲"), 14);
    RightInd = marker("RightInd", QStringLiteral("▲"), 14);
    RulerLine = new QFrame(Ruler);
    RulerLine->setObjectName(QStringLiteral("RulerLine"));
    RulerLine->setFrameShape(QFrame::HLine);
    RulerLine->setGeometry(kMargines, 12, 100, 2);
    QString podzialka;
    for (int i = 0; i < 40; ++i)
        podzialka += QStringLiteral("\t|");
    Ruler->setToolTip({});
    Ruler->setProperty("Caption", podzialka);
    uklad->addWidget(Ruler);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAcceptRichText(true);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
    RichEdit1->document()->setDocumentMargin(kMargines);
    uklad->addWidget(RichEdit1, 1);

    auto* dol = new QWidget(this);
    auto* dolUklad = new QHBoxLayout(dol);
    dolUklad->setContentsMargins(6, 4, 6, 4);
    dolUklad->addWidget(new QLabel(QStringLiteral("Przykładowe znaki:"), dol));
    Edit1 = new QLineEdit(dol);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    QByteArray znaki;
    for (int c = 1; c <= 254; ++c)
        znaki += char(c);
    Edit1->setText(dekodujCp1250(znaki));
    dolUklad->addWidget(Edit1, 1);
    uklad->addWidget(dol);

    // Menu.
    auto polecenie = [this](QMenu* menu, const QString& napis, std::function<void()> f) {
        QAction* a = menu->addAction(napis);
        connect(a, &QAction::triggered, this, [f = std::move(f)] { kal::RunGuarded(f); });
        return a;
    };
    QMenu* plik = MainMenu->addMenu(QStringLiteral("&Plik"));
    polecenie(plik, QStringLiteral("&Nowy"), [this] { FileNew(); });
    polecenie(plik, QStringLiteral("&Otwórz..."), [this] { FileOpen(); });
    polecenie(plik, QStringLiteral("&Zapisz"), [this] { FileSave(); });
    polecenie(plik, QStringLiteral("Zapisz jako."), [this] { FileSaveAs(); });
    plik->addSeparator();
    polecenie(plik, QStringLiteral("&Drukuj"), [this] { FilePrint(); });
    plik->addSeparator();
    polecenie(plik, QStringLiteral("E&xit"), [this] { FileExit(); });
    QMenu* edycja = MainMenu->addMenu(QStringLiteral("&Edycja"));
    polecenie(edycja, QStringLiteral("&Cofnij"), [this] { EditUndo(); });
    edycja->addSeparator();
    polecenie(edycja, QStringLiteral("Wytnij"), [this] { EditCut(); });
    polecenie(edycja, QStringLiteral("&Kopiuj"), [this] { EditCopy(); });
    polecenie(edycja, QStringLiteral("&Wklej"), [this] { EditPaste(); });
    polecenie(edycja, QStringLiteral("Zaznacz wszystko."), [this] { SelectAll(); });
    QMenu* znak = MainMenu->addMenu(QStringLiteral("&Format"));
    polecenie(znak, QStringLiteral("&Czcionka..."), [this] { SelectFont(); });

    // Tool bar.
    polaczPolecenie(OpenButton, QStringLiteral("Otwórz|"), [this] { FileOpen(); });
    polaczPolecenie(SaveButton, QStringLiteral("Zapisz"), [this] { FileSave(); });
    polaczPolecenie(PrintButton, QStringLiteral("Drukuj|"), [this] { FilePrint(); });
    polaczPolecenie(UndoButton, QStringLiteral("Cofnij|"), [this] { EditUndo(); });
    polaczPolecenie(CutButton, QStringLiteral("Wytnij|"), [this] { EditCut(); });
    polaczPolecenie(CopyButton, QStringLiteral("Kopiuj|"), [this] { EditCopy(); });
    polaczPolecenie(PasteButton, QStringLiteral("Wklej"), [this] { EditPaste(); });
    polaczPolecenie(SpeedButton4, QStringLiteral("Zaznacz wszystko"), [this] { SelectAll(); });
    polaczPolecenie(BoldButton, QStringLiteral("Pogrubiony"), [this] { BoldButtonClick(); });
    polaczPolecenie(ItalicButton, QStringLiteral("Kursywa"), [this] { ItalicButtonClick(); });
    polaczPolecenie(UnderlineButton, QStringLiteral("Podkreślenie."), [this] { UnderlineButtonClick(); });
    polaczPolecenie(LeftAlign, QStringLiteral("Wyrównaj do lewej."), [this] { AlignButtonClick(0); });
    polaczPolecenie(CenterAlign, QStringLiteral("Centruj"), [this] { AlignButtonClick(2); });
    polaczPolecenie(RightAlign, QStringLiteral("Wyrównaj do prawej."), [this] { AlignButtonClick(1); });
    polaczPolecenie(BulletsButton, QString(), [this] { BulletsButtonClick(); });
    polaczPolecenie(SpeedButton1, QStringLiteral("Zawijaj tekst."), [this] { SpeedButton1Click(); });
    polaczPolecenie(UpDown1Up, QString(), [this] {
        FontSize->setText(QString::number(FontSize->text().toInt() + 1));
        FontSizeChange();
    });
    polaczPolecenie(UpDown1Down, QString(), [this] {
        FontSize->setText(QString::number(FontSize->text().toInt() - 1));
        FontSizeChange();
    });
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        kal::SetModalResult(this, mrOk);
        close();
    });
    connect(FontName, &QComboBox::textActivated, this, [this] { kal::RunGuarded([this] { FontNameChange(); }); });
    connect(FontSize, &QLineEdit::editingFinished, this, [this] { kal::RunGuarded([this] { FontSizeChange(); }); });
    connect(RichEdit1, &QTextEdit::cursorPositionChanged, this, [this] { SelectionChange(); });
    connect(RichEdit1, &QTextEdit::selectionChanged, this, [this] { SelectionChange(); });

    SetFileName(kBezNazwy);
    SelectionChange();
    RichEdit1->document()->setModified(false);
    if (!FormRichEdit)
        FormRichEdit = this;
}

TFormRichEdit::~TFormRichEdit()
{
    if (FormRichEdit == this)
        FormRichEdit = nullptr;
}

void TFormRichEdit::polaczPolecenie(QToolButton* przycisk, const QString& podpowiedz, std::function<void()> polecenie)
{
    if (!podpowiedz.isEmpty())
        kal::SetHint(przycisk, podpowiedz);
    connect(przycisk, &QToolButton::clicked, this, [polecenie = std::move(polecenie)] { kal::RunGuarded(polecenie); });
}

// ------------------------------------------------------------------ show

int TFormRichEdit::Pokaz(bool nowy)
{
    const QString katalog = QDir::currentPath();
    RichEdit1->document()->setModified(false);
    SelectionChange();
    if (nowy) {
        FileNew();
    } else {
        SetFileName(kBezNazwy);
        RichEdit1->document()->clearUndoRedoStacks();
        RichEdit1->document()->setModified(false);
    }
    if (FormObslugi && FormObslugi->Zamknij)
        BitBtn1->setIcon(FormObslugi->Zamknij->icon());
    kal::SetModalResult(this, 0);
    const int wynik = kal::Dialogs().execModal(this);

    // The tables are opened by bare name: the data directory must be current again.
    QDir::setCurrent(katalog);
    const QString biezacy = QDir::currentPath();
    if (biezacy != katalog || !QFileInfo(katalog).isDir()) {
        kal::Dialogs().messageBox(QStringLiteral("Nastąpiło uszkodzenie dostępu do zbiorów. Zamykam program !!!"),
                                  katalog + QStringLiteral(" != ") + biezacy, kal::MbOk, kal::MsgIcon::None);
        if (ZakonczProgram)
            ZakonczProgram();
    }
    return wynik;
}

// ------------------------------------------------------------------ text

QStringList TFormRichEdit::Linie() const
{
    QStringList w;
    for (QTextBlock b = RichEdit1->document()->begin(); b.isValid(); b = b.next())
        w << b.text();
    if (w.size() == 1 && w[0].isEmpty())
        w.clear();
    return w;
}

void TFormRichEdit::DopiszLinie(const QString& linia)
{
    QTextCursor c(RichEdit1->document());
    c.movePosition(QTextCursor::End);
    bool pierwsza = RichEdit1->document()->isEmpty();
    for (const QString& l : linia.split(u'\n')) {
        if (!pierwsza)
            c.insertBlock();
        pierwsza = false;
        c.insertText(l);
    }
}

void TFormRichEdit::WyczyscLinie()
{
    RichEdit1->clear();
}

void TFormRichEdit::SetFileName(const QString& nazwa)
{
    FFileName = nazwa;
    setWindowTitle(QStringLiteral("%1 - %2").arg(QFileInfo(nazwa).fileName(), kal::ApplicationTitle()));
}

bool TFormRichEdit::Zmieniony() const
{
    return RichEdit1->document()->isModified();
}

// ------------------------------------------------------------------ files

bool TFormRichEdit::CheckFileSave()
{
    if (!Zmieniony())
        return true;
    const kal::MsgButton odp = kal::Dialogs().messageBox(
        QStringLiteral("Zapisać zmiany?"), QStringLiteral("Confimation"), kal::MbYes | kal::MbNo | kal::MbCancel,
        kal::MsgIcon::Question);
    if (odp == kal::MbYes) {
        FileSave();
        // A save given up in its dialog keeps the changes and the window.
        return !Zmieniony();
    }
    return odp == kal::MbNo;
}

void TFormRichEdit::FileNew()
{
    if (!CheckFileSave())
        return;
    SetFileName(kBezNazwy);
    RichEdit1->clear();
    RichEdit1->document()->clearUndoRedoStacks();
    RichEdit1->document()->setModified(false);
}

void TFormRichEdit::FileOpen()
{
    if (!CheckFileSave())
        return;
    kal::FileDialogRequest r;
    r.directory = m_katalogDialogow;
    r.filter = filtrPlikow();
    const QString plik = kal::Dialogs().openFileName(r);
    if (plik.isEmpty())
        return;
    wczytaj(plik);
    SetFileName(plik);
    RichEdit1->setFocus();
    RichEdit1->document()->clearUndoRedoStacks();
    RichEdit1->document()->setModified(false);
    RichEdit1->setReadOnly(false);
}

void TFormRichEdit::FileSave()
{
    if (FFileName == kBezNazwy) {
        FileSaveAs();
        return;
    }
    zapiszDo(FFileName);
    RichEdit1->document()->setModified(false);
}

void TFormRichEdit::FileSaveAs()
{
    kal::FileDialogRequest r;
    r.directory = m_katalogDialogow;
    r.filter = filtrPlikow();
    r.fileName = FFileName == kBezNazwy ? QString() : FFileName;
    QString plik = kal::Dialogs().saveFileName(r);
    if (plik.isEmpty())
        return;
    if (QFileInfo(plik).suffix().isEmpty())
        plik += QStringLiteral(".rtf");
    zapiszDo(plik);
    SetFileName(plik);
    RichEdit1->document()->setModified(false);
}

void TFormRichEdit::zapiszDo(const QString& plik)
{
    QFile f(plik);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw kal::Exception(QStringLiteral("Nie można zapisać pliku %1.").arg(QDir::toNativeSeparators(plik)));
    const bool tekst = QFileInfo(plik).suffix().compare(QStringLiteral("txt"), Qt::CaseInsensitive) == 0;
    const QByteArray dane = tekst ? RichEdit1->toPlainText().toUtf8() : ZapiszRtf(*RichEdit1->document());
    if (f.write(dane) != dane.size())
        throw kal::Exception(QStringLiteral("Nie można zapisać pliku %1.").arg(QDir::toNativeSeparators(plik)));
}

void TFormRichEdit::wczytaj(const QString& plik)
{
    QFile f(plik);
    if (!f.open(QIODevice::ReadOnly))
        throw kal::Exception(QStringLiteral("Nie można otworzyć pliku %1.").arg(QDir::toNativeSeparators(plik)));
    const QByteArray dane = f.readAll();
    if (dane.startsWith("{\\rtf")) {
        WczytajRtf(dane, *RichEdit1->document());
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString t = utf8.decode(dane);
        if (utf8.hasError())
            t = dekodujCp1250(dane);
        RichEdit1->setPlainText(t);
    }
}

void TFormRichEdit::FilePrint()
{
    QPrinter drukarka;
    if (!kal::Dialogs().printerDialog(&drukarka, this))
        return;
    drukarka.setDocName(FFileName);
    RichEdit1->document()->print(&drukarka);
}

void TFormRichEdit::FileExit()
{
    close();
}

// ------------------------------------------------------------------ editing

void TFormRichEdit::EditUndo()
{
    RichEdit1->undo();
}

void TFormRichEdit::EditCut()
{
    RichEdit1->cut();
}

void TFormRichEdit::EditCopy()
{
    RichEdit1->copy();
}

void TFormRichEdit::EditPaste()
{
    RichEdit1->paste();
}

void TFormRichEdit::SelectAll()
{
    RichEdit1->selectAll();
}

void TFormRichEdit::SelectFont()
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, RichEdit1->currentFont(), this);
    if (ok)
        RichEdit1->setCurrentFont(f);
    RichEdit1->setFocus();
}

void TFormRichEdit::BoldButtonClick()
{
    if (FUpdating)
        return;
    RichEdit1->setFontWeight(BoldButton->isChecked() ? QFont::Bold : QFont::Normal);
}

void TFormRichEdit::ItalicButtonClick()
{
    if (FUpdating)
        return;
    RichEdit1->setFontItalic(ItalicButton->isChecked());
}

void TFormRichEdit::UnderlineButtonClick()
{
    if (FUpdating)
        return;
    RichEdit1->setFontUnderline(UnderlineButton->isChecked());
}

void TFormRichEdit::AlignButtonClick(int tag)
{
    LeftAlign->setChecked(tag == 0);
    RightAlign->setChecked(tag == 1);
    CenterAlign->setChecked(tag == 2);
    if (FUpdating)
        return;
    RichEdit1->setAlignment(tag == 1 ? Qt::AlignRight : tag == 2 ? Qt::AlignHCenter : Qt::AlignLeft);
}

void TFormRichEdit::BulletsButtonClick()
{
    if (FUpdating)
        return;
    QTextCursor c = RichEdit1->textCursor();
    if (BulletsButton->isChecked()) {
        if (!c.currentList())
            c.createList(QTextListFormat::ListDisc);
    } else if (QTextList* l = c.currentList()) {
        l->remove(c.block());
        QTextBlockFormat bf = c.blockFormat();
        bf.setIndent(0);
        c.setBlockFormat(bf);
    }
}

void TFormRichEdit::SpeedButton1Click()
{
    const bool zawijaj = SpeedButton1->isChecked();
    RichEdit1->setLineWrapMode(zawijaj ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    CenterAlign->setEnabled(zawijaj);
    RightAlign->setEnabled(zawijaj);
}

void TFormRichEdit::FontNameChange()
{
    QFont f = Edit1->font();
    f.setFamily(FontName->currentText());
    Edit1->setFont(f);
    if (FUpdating)
        return;
    RichEdit1->setFontFamily(FontName->currentText());
}

void TFormRichEdit::FontSizeChange()
{
    bool ok = false;
    int rozmiar = FontSize->text().trimmed().toInt(&ok);
    if (!ok)
        rozmiar = 0;
    if (rozmiar < kMinRozmiar || rozmiar > kMaxRozmiar) {
        kal::Dialogs().messageBox(QStringLiteral("Rozmiar fontu jest z zakresu 1 do 1638."), kal::ApplicationTitle(),
                                  kal::MbOk, kal::MsgIcon::None);
        rozmiar = rozmiar < kMinRozmiar ? kMinRozmiar : kMaxRozmiar;
        FontSize->setText(QString::number(rozmiar));
    }
    if (FUpdating)
        return;
    RichEdit1->setFontPointSize(rozmiar);
}

// ------------------------------------------------------------------ tool bar and ruler

void TFormRichEdit::SelectionChange()
{
    FUpdating = true;
    try {
        ustawMarkery();
        const QTextCharFormat f = RichEdit1->currentCharFormat();
        const QFont font = f.font();
        BoldButton->setChecked(font.bold());
        ItalicButton->setChecked(font.italic());
        UnderlineButton->setChecked(font.underline());
        BulletsButton->setChecked(RichEdit1->textCursor().currentList() != nullptr);
        const double pt = font.pointSizeF() > 0 ? font.pointSizeF() : 10.0;
        FontSize->setText(QString::number(int(std::lround(pt))));
        const int i = FontName->findText(font.family());
        if (i >= 0)
            FontName->setCurrentIndex(i);
        const Qt::Alignment a = RichEdit1->alignment();
        LeftAlign->setChecked(!(a & (Qt::AlignRight | Qt::AlignHCenter)));
        RightAlign->setChecked(bool(a & Qt::AlignRight));
        CenterAlign->setChecked(bool(a & Qt::AlignHCenter));
    } catch (...) {
    }
    FUpdating = false;
}

void TFormRichEdit::ustawMarkery()
{
    const QTextBlockFormat bf = RichEdit1->textCursor().blockFormat();
    // Indents in points: the first line's from the margin, the others' from
    // the first line's, the right one from the right margin.
    const double pierwszy = (bf.leftMargin() + bf.textIndent()) * 0.75;
    const double lewy = -bf.textIndent() * 0.75;
    const double prawy = bf.rightMargin() * 0.75;
    FirstInd->move(int(pierwszy * kPikselNaPunkt) + 2, FirstInd->y());
    LeftInd->move(int((lewy + pierwszy) * kPikselNaPunkt) + 2, LeftInd->y());
    RightInd->move(Ruler->contentsRect().width() - kMargines - int((prawy + kMargines) * kPikselNaPunkt),
                   RightInd->y());
}

void TFormRichEdit::zastosujMarker(QLabel* marker)
{
    QTextCursor c = RichEdit1->textCursor();
    QTextBlockFormat bf = c.blockFormat();
    double pierwszy = (bf.leftMargin() + bf.textIndent()) * 0.75;
    double lewy = -bf.textIndent() * 0.75;
    double prawy = bf.rightMargin() * 0.75;
    const int x = marker->x() + FDragOfs;
    if (marker == FirstInd) {
        const double nowyPierwszy = std::trunc((x - kMargines) / kPikselNaPunkt);
        lewy = std::trunc(lewy + pierwszy - nowyPierwszy);
        pierwszy = nowyPierwszy;
    } else if (marker == LeftInd) {
        lewy = std::trunc((x - kMargines) / kPikselNaPunkt - pierwszy);
    } else {
        prawy = std::trunc((Ruler->contentsRect().width() - marker->x() + FDragOfs - 2) / kPikselNaPunkt - 12);
    }
    if (prawy < 0)
        prawy = 0;
    // Back to the text's terms (pixels): every line starts at the left
    // indent, the first line moves by the difference.
    double lewyMargines = (pierwszy + lewy) / 0.75;
    if (lewyMargines < 0)
        lewyMargines = 0;
    bf.setLeftMargin(lewyMargines);
    bf.setTextIndent(-lewy / 0.75);
    bf.setRightMargin(prawy / 0.75);
    c.setBlockFormat(bf);
    SelectionChange();
}

bool TFormRichEdit::eventFilter(QObject* watched, QEvent* event)
{
    auto* marker = qobject_cast<QLabel*>(watched);
    if (marker && (marker == FirstInd || marker == LeftInd || marker == RightInd)) {
        if (event->type() == QEvent::MouseButtonPress) {
            FDragOfs = static_cast<QMouseEvent*>(event)->position().toPoint().x();
            FDragging = true;
            return true;
        }
        if (event->type() == QEvent::MouseMove && FDragging) {
            const int x = marker->mapToParent(static_cast<QMouseEvent*>(event)->position().toPoint()).x() - FDragOfs;
            marker->move(x, marker->y());
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease && FDragging) {
            FDragging = false;
            kal::RunGuarded([&] { zastosujMarker(marker); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFormRichEdit::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RulerLine->setGeometry(kMargines, 12, std::max(0, Ruler->width() - 2 * kMargines), 2);
    SelectionChange();
}

void TFormRichEdit::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    RichEdit1->setFocus();
}

void TFormRichEdit::closeEvent(QCloseEvent* event)
{
    bool dalej = false;
    kal::RunGuarded([&] { dalej = CheckFileSave(); });
    if (!dalej) {
        kal::SetModalResult(this, 0);
        event->ignore();
        return;
    }
    if (kal::ModalResult(this) == 0)
        kal::SetModalResult(this, 2);
    event->accept();
}
