#include "OknoZestawienia.h"

#include "Dane.h"
#include "DrukujRaport.h"
#include "Zalacznik1.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <algorithm>

bool WTrakcieZmian(const kal::TTable* tabela)
{
    return tabela && (tabela->State() == kal::dsEdit || tabela->State() == kal::dsInsert);
}

TOknoZestawienia::TOknoZestawienia(QWidget* parent) : TOknoRejestru(parent)
{
    // Esc closes; Enter moves on to the next control.
    UstawKlawisze(true, true);
}

TOknoZestawienia::~TOknoZestawienia() = default;

QString TOknoZestawienia::TekstOkresu()
{
    if (!DM)
        return QString();
    return DM->TOkresPolrocze->AsString() + QLatin1Char(' ') + DM->TOkresRok->AsString() + QStringLiteral(" roku.");
}

void TOknoZestawienia::UstawZbioryDoZapisu(std::initializer_list<kal::TTable*> zbiory)
{
    m_zbiory.assign(zbiory.begin(), zbiory.end());
}

void TOknoZestawienia::ZapiszOczekujace()
{
    for (kal::TTable* t : m_zbiory)
        if (WTrakcieZmian(t))
            t->Post();
}

void TOknoZestawienia::FormClose(TCloseAction& Action)
{
    // A post that raises keeps the window open (the close guard shows the
    // message); the user can correct the value or cancel it.
    ZapiszOczekujace();
    TOknoRejestru::FormClose(Action);
}

void TOknoZestawienia::KopiujObrazZZalacznika(QAbstractButton* cel, const char* wzor)
{
    if (!cel || !FZalacznik1)
        return;
    FZalacznik1->WczytajObrazy();
    if (auto* zrodlo = FZalacznik1->findChild<QAbstractButton*>(QString::fromLatin1(wzor)))
        cel->setIcon(zrodlo->icon());
}

void TOknoZestawienia::DrukujZestawienie(kal::report::Report* raport, bool podglad, const QString& prefiks)
{
    ZapiszOczekujace();
    DrukujRaport(raport, podglad, prefiks + TekstOkresu(), 1);
}

PrzelacznikTag::PrzelacznikTag(kal::TTable* tabela) : m_tabela(tabela)
{
    if (m_tabela)
        m_tabela->setTag(1);
}

PrzelacznikTag::~PrzelacznikTag()
{
    if (m_tabela)
        m_tabela->setTag(0);
}

void TOknoZestawienia::NaCalyEkran()
{
    if (!(windowState() & Qt::WindowMaximized)) {
        if (const QScreen* ekran = screen())
            setGeometry(ekran->availableGeometry());
    }
    Maksymalizuj();
}

void TOknoZestawienia::showEvent(QShowEvent* event)
{
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const QScreen* ekran = screen() ? screen() : QGuiApplication::primaryScreen();
        if (ekran) {
            const QRect wolne = ekran->availableGeometry();
            // Without a frame yet the frame adds nothing.
            const QRect ramka = frameGeometry();
            const int dx = ramka.width() - width();
            const int dy = ramka.height() - height();
            QSize rozmiar = size().boundedTo(QSize(wolne.width() - dx, wolne.height() - dy));
            if (rozmiar != size())
                resize(rozmiar);
            const int x = wolne.left() + (wolne.width() - rozmiar.width() - dx) / 2;
            const int y = wolne.top() + (wolne.height() - rozmiar.height() - dy) / 2;
            move(std::max(wolne.left(), x), std::max(wolne.top(), y));
        }
    }
    TOknoRejestru::showEvent(event);
    raise();
    activateWindow();
    // Once the window is on the screen the stacking and the focus are asked
    // for again: a window system may not take them before it is mapped.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) {
            raise();
            activateWindow();
        }
    });
}
