#pragma once
// The top-level exception guard. No exception ever crosses Qt's event loop:
// every event is delivered under the guard, and start-up code outside the
// loop runs under the same guard through RunGuarded.
//
//   kal::EAbort     - shows nothing;
//   kal::Exception  - its message in the error box (application title as
//                     caption, stop icon, OK, the "." rule of ErrorBoxText);
//   anything else   - the error box with an empty message.

#include <QApplication>
#include <QTranslator>
#include <functional>
#include <memory>

namespace kal {

class QtDialogs;

// Runs `fn`; true when it returned normally, false when an exception was
// caught (and shown as above).
bool RunGuarded(const std::function<void()>& fn);

// Shows the exception that is being handled (call it from a catch block).
void ShowCurrentException() noexcept;

// Loads Qt's own Polish texts (the buttons and labels of its standard
// dialogs, the edit menus of text fields) into the translator; false when the
// Qt installation has none.
bool LoadQtPolishTexts(QTranslator& translator);

class Application : public QApplication {
    Q_OBJECT
public:
    // Installs the Qt dialog seam and Qt's Polish texts for the life of the
    // application.
    Application(int& argc, char** argv);
    ~Application() override;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::unique_ptr<QtDialogs> m_dialogs;
    QTranslator m_qtTexts;
};

} // namespace kal
