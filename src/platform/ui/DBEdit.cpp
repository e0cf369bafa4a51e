#include "DBEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QValidator>

namespace kal {
namespace {

// Turns what is typed into upper or lower case.
class CaseValidator final : public QValidator {
public:
    CaseValidator(TEditCharCase charCase, QObject* parent) : QValidator(parent), m_case(charCase) {}
    State validate(QString& input, int&) const override
    {
        input = m_case == ecUpperCase ? input.toUpper() : input.toLower();
        return Acceptable;
    }
    void fixup(QString& input) const override { input = m_case == ecUpperCase ? input.toUpper() : input.toLower(); }

private:
    TEditCharCase m_case;
};

bool IsQtMaskMeta(QChar c)
{
    return QStringLiteral("AaNnXx90Dd#HhBb><!{}[]\\;").contains(c);
}

} // namespace

TEditMaskInfo TranslateEditMask(const QString& editMask)
{
    TEditMaskInfo info;
    if (editMask.isEmpty())
        return info;
    // The sections are split at the last two unescaped ";".
    QString mask = editMask;
    QStringList sections;
    {
        QString current;
        for (qsizetype i = 0; i < mask.size(); ++i) {
            const QChar c = mask[i];
            if (c == u'\\' && i + 1 < mask.size()) {
                current += c;
                current += mask[++i];
            } else if (c == u';') {
                sections << current;
                current.clear();
            } else {
                current += c;
            }
        }
        sections << current;
    }
    if (sections.size() > 3) {
        // A ";" inside the mask itself: keep the last two as options.
        const QString blank = sections.takeLast();
        const QString save = sections.takeLast();
        sections = QStringList{sections.join(u';'), save, blank};
    }
    const QString body = sections.value(0);
    if (sections.size() > 1)
        info.saveLiterals = sections[1].trimmed() != QStringLiteral("0");
    if (sections.size() > 2 && !sections[2].isEmpty())
        info.blank = sections[2][0];

    // Free text: only case marks and optional "any character" positions.
    bool freeText = true;
    int positions = 0;
    TEditCharCase freeCase = ecNormal;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        if (c == u'c') {
            ++positions;
        } else if (c == u'>') {
            freeCase = ecUpperCase;
        } else if (c == u'<') {
            if (i + 1 < body.size() && body[i + 1] == u'>') {
                freeCase = ecNormal;
                ++i;
            } else {
                freeCase = ecLowerCase;
            }
        } else if (c == u'!') {
        } else {
            freeText = false;
            break;
        }
    }
    if (freeText) {
        info.charCase = freeCase;
        info.maxLength = positions;
        return info;
    }

    QString qt;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        switch (c.unicode()) {
        case '!':
            break; // blanks of optional positions: nothing to do in Qt
        case '>':
            qt += u'>';
            break;
        case '<':
            if (i + 1 < body.size() && body[i + 1] == u'>') {
                qt += u'!';
                ++i;
            } else {
                qt += u'<';
            }
            break;
        case 'L': qt += u'A'; break;
        case 'l': qt += u'a'; break;
        case 'A': qt += u'N'; break;
        case 'a': qt += u'n'; break;
        case 'C': qt += u'X'; break;
        case 'c': qt += u'x'; break;
        case '0': qt += u'9'; break;
        case '9': qt += u'0'; break;
        case '#': qt += u'#'; break;
        case '/':
            qt += u'-';
            info.literals += u'-';
            break;
        case ':':
            qt += u':';
            info.literals += u':';
            break;
        case '\\':
            if (i + 1 < body.size()) {
                const QChar lit = body[++i];
                if (IsQtMaskMeta(lit))
                    qt += u'\\';
                qt += lit;
                info.literals += lit;
            }
            break;
        default:
            if (IsQtMaskMeta(c))
                qt += u'\\';
            qt += c;
            info.literals += c;
            break;
        }
    }
    info.inputMask = qt + u';' + info.blank;
    return info;
}

void ShapeByEditMask(QLineEdit& edit, const TEditMaskInfo& mask, TEditCharCase charCase)
{
    edit.setInputMask(mask.inputMask);
    if (charCase == ecNormal)
        charCase = mask.charCase;
    delete edit.validator();
    edit.setValidator(charCase == ecNormal ? nullptr : new CaseValidator(charCase, &edit));
}

QString TextForField(const TEditMaskInfo& mask, const QString& text)
{
    if (mask.inputMask.isEmpty())
        return text;
    QString typed;
    for (const QChar c : text)
        if (!mask.literals.contains(c))
            typed += c;
    if (typed.trimmed().isEmpty())
        return {}; // nothing typed into the mask: the field becomes empty
    return mask.saveLiterals ? text : typed;
}

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, [this] { typed(); });
    showField();
}

void TDBEdit::setMaxLength(int length)
{
    m_maxLength = std::max(0, length);
    applyShape(Field());
}

void TDBEdit::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    applyShape(Field());
}

void TDBEdit::setCharCase(TEditCharCase charCase)
{
    m_charCase = charCase;
    m_maskSource = QStringLiteral("\x01"); // shape again
    applyShape(Field());
}

void TDBEdit::applyShape(TField* field)
{
    const QString maskSource = field ? field->EditMask() : QString();
    if (maskSource != m_maskSource) {
        m_maskSource = maskSource;
        m_mask = TranslateEditMask(maskSource);
        const bool wasLoading = m_loading;
        m_loading = true;
        ShapeByEditMask(*this, m_mask, m_charCase);
        m_loading = wasLoading;
    }
    int length = m_maxLength;
    if (length == 0)
        length = m_mask.maxLength;
    if (length == 0 && field && field->DataType() == ftString && field->Size() > 0)
        length = field->Size();
    QLineEdit::setMaxLength(length > 0 ? length : 32767);
    QLineEdit::setReadOnly(m_readOnly || !m_link.CanModify());
}

void TDBEdit::showField()
{
    TField* f = Field();
    applyShape(f);
    const QString t = SafeFieldText(f, !m_focused || isReadOnly());
    m_loading = true;
    setText(t);
    setModified(false);
    m_loading = false;
    m_modified = false;
}

QString TDBEdit::textForField() const
{
    return TextForField(m_mask, text());
}

void TDBEdit::UpdateRecord()
{
    if (handOverTyped(textForField()))
        showField();
}

void TDBEdit::Reset()
{
    showField();
}

void TDBEdit::focusInEvent(QFocusEvent* event)
{
    m_focused = true;
    if (!m_modified)
        showField();
    QLineEdit::focusInEvent(event);
    toFirstBlank();
}

void TDBEdit::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        toFirstBlank();
}

void TDBEdit::toFirstBlank()
{
    // In an empty mask the cursor stands where typing begins, wherever the
    // click landed: a digit typed behind the mask would be lost.
    if (m_mask.inputMask.isEmpty() || !textForField().isEmpty() || hasSelectedText())
        return;
    const qsizetype blank = displayText().indexOf(m_mask.blank);
    if (blank >= 0)
        setCursorPosition(int(blank));
}

void TDBEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A menu, another application or a message box over the window does not
    // take the edit's place: the focus comes back to it.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    m_focused = false;
    if (m_modified)
        handOverOnLeaving(event->reason());
    else
        showField();
}

void TDBEdit::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_modified) {
        if (handOverGuarded())
            selectAll();
    } else if (event->key() == Qt::Key_Escape && m_modified) {
        Reset();
        selectAll();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace kal
