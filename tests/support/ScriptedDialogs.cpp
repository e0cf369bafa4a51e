#include "ScriptedDialogs.h"

#include <QPrinter>

namespace kal::test {

ScriptedDialogs::ScriptedDialogs() { SetDialogs(this); }

ScriptedDialogs::~ScriptedDialogs() { SetDialogs(nullptr); }

std::vector<DialogCall> ScriptedDialogs::boxes() const
{
    std::vector<DialogCall> out;
    for (const auto& c : m_calls)
        if (c.kind == DialogCall::Message || c.kind == DialogCall::Error)
            out.push_back(c);
    return out;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const auto& c : boxes())
        out << c.text;
    return out;
}

MsgButton ScriptedDialogs::messageBox(const QString& text, const QString& caption, unsigned buttons, MsgIcon icon)
{
    m_calls.push_back({DialogCall::Message, text, caption, icon, buttons, {}, nullptr});
    if (!m_answers.empty()) {
        MsgButton b = m_answers.front();
        m_answers.pop_front();
        return b;
    }
    for (unsigned bit = 1; bit <= MbIgnore; bit <<= 1)
        if (buttons & bit)
            return static_cast<MsgButton>(bit);
    return MbOk;
}

void ScriptedDialogs::errorBox(const QString& text)
{
    m_calls.push_back({DialogCall::Error, text, ApplicationTitle(), MsgIcon::Stop, MbOk, {}, nullptr});
}

QString ScriptedDialogs::openFileName(FileDialogRequest& request)
{
    m_calls.push_back({DialogCall::OpenFile, {}, request.caption, MsgIcon::None, 0, request.filter, nullptr});
    if (m_files.empty())
        return {};
    QString f = m_files.front();
    m_files.pop_front();
    return f;
}

QString ScriptedDialogs::saveFileName(FileDialogRequest& request)
{
    m_calls.push_back({DialogCall::SaveFile, {}, request.caption, MsgIcon::None, 0, request.filter, nullptr});
    if (m_files.empty())
        return {};
    QString f = m_files.front();
    m_files.pop_front();
    return f;
}

bool ScriptedDialogs::printerDialog(QPrinter* printer, QWidget*)
{
    m_calls.push_back({DialogCall::Printer, {}, {}, MsgIcon::None, 0, printer ? printer->docName() : QString(), nullptr});
    if (m_printer.empty())
        return false;
    const PrinterAnswer answer = m_printer.front();
    m_printer.pop_front();
    if (answer.accepted && printer && !answer.pdfFile.isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(answer.pdfFile);
    }
    return answer.accepted;
}

int ScriptedDialogs::execModal(QWidget* window)
{
    m_calls.push_back({DialogCall::Modal, {}, {}, MsgIcon::None, 0, {}, window});
    return onModal ? onModal(window) : 0;
}

} // namespace kal::test
