#include "Application.h"

#include "Dialogs.h"
#include "Exceptions.h"
#include "QtDialogs.h"

#include <QLibraryInfo>
#include <QLocale>

#include <exception>

namespace kal {

void ShowCurrentException() noexcept
{
    QString message;
    try {
        throw;
    } catch (const EAbort&) {
        return;
    } catch (const Exception& e) {
        message = e.message();
    } catch (...) {
        // Not one of ours: shown with an empty message.
    }
    // The box runs its own event loop, whose events pass the guard again; a
    // failure of the box itself must not escape from here.
    try {
        ShowErrorBox(message);
    } catch (...) {
    }
}

bool RunGuarded(const std::function<void()>& fn)
{
    try {
        fn();
        return true;
    } catch (...) {
        ShowCurrentException();
    }
    return false;
}

bool LoadQtPolishTexts(QTranslator& translator)
{
    // The program speaks Polish whatever the user's locale is.
    return translator.load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv), m_dialogs(std::make_unique<QtDialogs>())
{
    SetDialogs(m_dialogs.get());
    if (LoadQtPolishTexts(m_qtTexts))
        installTranslator(&m_qtTexts);
}

Application::~Application()
{
    if (&Dialogs() == m_dialogs.get())
        SetDialogs(nullptr);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentException();
    }
    return false;
}

} // namespace kal
