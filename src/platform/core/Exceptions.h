#pragma once
// Exceptions shared by every layer.
//
// Exception     - a rule of the program refused an operation; the top-level
//                 guard shows its message in the error box.
// EAbort        - a silent abort: the operation stops and nothing is shown.
// EDatabaseError- the dataset engine refused an operation (missing file,
//                 key violation, wrong state ...); its kind tells the causes
//                 a handler answers in its own way.
// EConvertError - a text that does not convert to the field's type.

#include <QString>
#include <exception>

namespace kal {

class Exception : public std::exception {
public:
    explicit Exception(QString message = {}) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

class EAbort : public Exception {
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
};

class EDatabaseError : public Exception {
public:
    enum class Kind {
        Other,
        KeyViolation, // a unique key of the table holds the record's key already
        NoTable,      // the file is an empty database of one page: it holds nothing
    };
    explicit EDatabaseError(QString message = {}, Kind kind = Kind::Other)
        : Exception(std::move(message)), m_kind(kind)
    {
    }
    Kind kind() const noexcept { return m_kind; }

private:
    Kind m_kind;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Raises the silent abort.
[[noreturn]] inline void Abort() { throw EAbort(); }

// The text that the error box shows for a message: a "." is appended when the
// text ends in a character above "."; an empty text stays empty.
QString ErrorBoxText(const QString& message);

// Why a file could not be written or read, in the words of a message (an
// errno value: "brak uprawnień do zapisu", "brak miejsca na dysku", ...).
// A missing file or directory is told as a missing directory; given the
// file's path, as what is missing: the file, or the directory it lies in.
QString FileErrorReason(int err);
QString FileErrorReason(int err, const QString& path);

} // namespace kal
