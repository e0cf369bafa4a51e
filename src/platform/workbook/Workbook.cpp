#include "Workbook.h"

#include "EmptyTexts.h"
#include "Exceptions.h"
#include "SheetRecords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <QElapsedTimer>

#include <freexl.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace kal {

// ---------------------------------------------------------------- Cell

Cell Cell::integer(qint64 value)
{
    Cell c;
    c.m_type = CellType::Integer;
    c.m_number = double(value);
    return c;
}

Cell Cell::number(double value, bool date1904)
{
    Cell c;
    c.m_type = CellType::Float;
    c.m_number = value;
    c.m_date1904 = date1904;
    return c;
}

Cell Cell::text(const QString& value)
{
    Cell c;
    c.m_type = CellType::Text;
    c.m_text = value;
    return c;
}

Cell Cell::date(const QDate& value)
{
    Cell c;
    if (!value.isValid())
        return c;
    c.m_type = CellType::Date;
    c.m_date = value;
    c.m_time = QTime(0, 0);
    return c;
}

Cell Cell::dateTime(const QDateTime& value)
{
    Cell c;
    if (!value.isValid())
        return c;
    c.m_type = CellType::DateTime;
    c.m_date = value.date();
    c.m_time = value.time();
    return c;
}

Cell Cell::time(const QTime& value)
{
    Cell c;
    if (!value.isValid())
        return c;
    c.m_type = CellType::Time;
    c.m_time = value;
    return c;
}

namespace {

QString FloatText(double value)
{
    QString s;
    const double mag = std::fabs(value);
    if (value == 0.0)
        s = QStringLiteral("0");
    else if (mag >= 1e-6 && mag < 1e15)
        s = QString::number(value, 'f', QLocale::FloatingPointShortest);
    else
        s = QString::number(value, 'g', QLocale::FloatingPointShortest);
    s.replace(u'.', u',');
    return s;
}

QString WithoutBlanks(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar ch : text)
        if (!ch.isSpace())
            out.append(ch);
    return out;
}

std::optional<double> ParseNumberText(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^[+-]?(?:[0-9]+(?:[.,][0-9]*)?|[.,][0-9]+)(?:[eE][+-]?[0-9]+)?$"));
    QString s = WithoutBlanks(text);
    if (!pattern.match(s).hasMatch())
        return std::nullopt;
    s.replace(u',', u'.');
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<QDateTime> ParseDateTimeText(const QString& text)
{
    const QString s = text.trimmed();
    static const QRegularExpression pattern(QStringLiteral(
        "^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})(?:[ T]([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?)?$"));
    const auto m = pattern.match(s);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!d.isValid())
        return std::nullopt;
    QTime t(0, 0);
    if (m.capturedLength(4) > 0) {
        t = QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.capturedLength(6) > 0 ? m.captured(6).toInt() : 0);
        if (!t.isValid())
            return std::nullopt;
    }
    return QDateTime(d, t);
}

} // namespace

QString Cell::toText() const
{
    switch (m_type) {
    case CellType::Null:
        return {};
    case CellType::Integer:
        return QString::number(qint64(m_number));
    case CellType::Float:
        return FloatText(m_number);
    case CellType::Text:
        return m_text;
    case CellType::Date:
        return m_date.toString(QStringLiteral("yyyy-MM-dd"));
    case CellType::DateTime:
        if (m_time == QTime(0, 0))
            return m_date.toString(QStringLiteral("yyyy-MM-dd"));
        return m_date.toString(QStringLiteral("yyyy-MM-dd")) + u' ' + m_time.toString(QStringLiteral("hh:mm:ss"));
    case CellType::Time:
        return m_time.toString(QStringLiteral("hh:mm:ss"));
    }
    return {};
}

std::optional<double> Cell::toFloat() const
{
    switch (m_type) {
    case CellType::Integer:
    case CellType::Float:
        return m_number;
    case CellType::Text:
        return ParseNumberText(m_text);
    default:
        return std::nullopt;
    }
}

std::optional<qint64> Cell::toInteger() const
{
    switch (m_type) {
    case CellType::Integer:
        return qint64(m_number);
    case CellType::Float:
        if (std::isfinite(m_number) && std::trunc(m_number) == m_number && std::fabs(m_number) < 9e15)
            return qint64(m_number);
        return std::nullopt;
    case CellType::Text: {
        static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]+$"));
        const QString s = WithoutBlanks(m_text);
        if (!pattern.match(s).hasMatch())
            return std::nullopt;
        bool ok = false;
        const qint64 v = s.toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        return v;
    }
    default:
        return std::nullopt;
    }
}

std::optional<QDateTime> Cell::toDateTime() const
{
    switch (m_type) {
    case CellType::Date:
    case CellType::DateTime:
        return QDateTime(m_date, m_time);
    case CellType::Integer:
    case CellType::Float:
        return SerialToDateTime(m_number, m_date1904);
    case CellType::Text:
        return ParseDateTimeText(m_text);
    default:
        return std::nullopt;
    }
}

std::optional<QDate> Cell::toDate() const
{
    const auto dt = toDateTime();
    if (!dt)
        return std::nullopt;
    return dt->date();
}

std::optional<QDateTime> SerialToDateTime(double serial, bool date1904)
{
    // 2958465 is 9999-12-31, the last day Excel knows.
    if (!std::isfinite(serial) || serial < 0.0 || serial >= 2958466.0)
        return std::nullopt;
    const double whole = std::floor(serial);
    const qint64 day = qint64(whole);
    qint64 ms = qint64(std::llround((serial - whole) * 86400000.0));
    qint64 dayShift = 0;
    if (ms >= 86400000) {
        ms -= 86400000;
        dayShift = 1;
    }
    QDate date;
    if (date1904) {
        date = QDate(1904, 1, 1).addDays(day + dayShift);
    } else {
        // Excel counts the non-existent 1900-02-29 as day 60.
        if (day == 60)
            return std::nullopt;
        const qint64 d = day + dayShift;
        date = d < 60 ? QDate(1899, 12, 31).addDays(d) : QDate(1899, 12, 30).addDays(d);
    }
    return QDateTime(date, QTime(0, 0).addMSecs(int(ms)));
}

// ---------------------------------------------------------------- Sheet

Sheet::Sheet(QString name, QStringList columns, std::vector<std::vector<Cell>> rows)
    : m_name(std::move(name)), m_columns(std::move(columns)), m_rows(std::move(rows)),
      m_declaredRows(int(m_rows.size())), m_wholeRows(int(m_rows.size()))
{
}

Sheet::Sheet(QString name, QStringList columns, std::vector<std::vector<Cell>> rows, int declaredRows,
             std::optional<int> firstDamagedRow)
    : Sheet(std::move(name), std::move(columns), std::move(rows))
{
    m_declaredRows = std::max(declaredRows, rowCount());
    if (firstDamagedRow) {
        m_whole = false;
        m_wholeRows = std::clamp(*firstDamagedRow, 0, rowCount());
    }
}

namespace {

// A column name without the blanks it ends in.
QStringView withoutTrailingBlanks(const QString& name)
{
    qsizetype n = name.size();
    while (n > 0 && name.at(n - 1) == u' ')
        --n;
    return QStringView(name).left(n);
}

} // namespace

int Sheet::columnIndex(const QString& name) const
{
    const QStringView wanted = withoutTrailingBlanks(name);
    for (int i = 0; i < m_columns.size(); ++i)
        if (withoutTrailingBlanks(m_columns[i]).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const Cell& Sheet::cell(int row, int column) const
{
    static const Cell empty;
    if (row < 0 || row >= int(m_rows.size()))
        return empty;
    const auto& r = m_rows[size_t(row)];
    if (column < 0 || column >= int(r.size()))
        return empty;
    return r[size_t(column)];
}

const Cell& Sheet::cell(int row, const QString& column) const
{
    const int index = columnIndex(column);
    if (index < 0)
        throw Exception(QStringLiteral("Brak kolumny \"%1\" w arkuszu \"%2\".").arg(column, m_name));
    return cell(row, index);
}

// ---------------------------------------------------------------- Workbook
//
// The child process opens the file with FreeXL, reads every sheet and sends
// the result through a pipe:
//   i32 status (0, or the failure code; nothing follows a failure)
//   u8 1904 date system, u32 sheet count, then for every sheet:
//   str name, u32 rows, u32 columns, rows*columns cells (u8 type, then an
//   i32 for an integer, an f64 for a float, a str for texts, dates and times),
//   u32 rows the sheet declares, u32 its first row not read whole (0-based,
//   the header row being 0; all ones when every row was read whole)
// where str is u32 length + UTF-8 bytes. Empty rows and columns at the end of
// a sheet are not sent.

namespace {

constexpr int kPasswordProtected = -1000;
constexpr int kTooBig = -1001;
constexpr int kDamaged = -1002;
constexpr int kCannotStart = -1003;
constexpr quint64 kMaxCells = 20'000'000;
constexpr int kReadTimeoutMs = 120'000;

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

[[noreturn]] void Fail(int code, const QString& path)
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
    case kCannotStart:
        throw Exception(QStringLiteral("Nie można odczytać pliku \"%1\".").arg(Shown(path)));
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        throw Exception(QStringLiteral("Plik \"%1\" nie jest skoroszytem programu Excel 97.").arg(Shown(path)));
    case kPasswordProtected:
        throw Exception(QStringLiteral("Skoroszyt \"%1\" jest chroniony hasłem.").arg(Shown(path)));
    case kTooBig:
    case FREEXL_INSUFFICIENT_MEMORY:
        throw Exception(QStringLiteral("Skoroszyt \"%1\" jest za duży.").arg(Shown(path)));
    default:
        throw Exception(QStringLiteral("Skoroszyt \"%1\" jest uszkodzony.").arg(Shown(path)));
    }
}

// ---- child side: plain C++ only, no Qt.

class Out {
public:
    void u8(unsigned v) { buf.push_back(char(v)); }
    void u32(quint32 v)
    {
        for (int i = 0; i < 4; ++i)
            buf.push_back(char((v >> (8 * i)) & 0xFF));
    }
    void i32(qint32 v) { u32(quint32(v)); }
    void f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(quint32(bits & 0xFFFFFFFFu));
        u32(quint32(bits >> 32));
    }
    void str(const char* s)
    {
        const size_t n = s ? std::strlen(s) : 0;
        u32(quint32(n));
        buf.append(s ? s : "", n);
    }
    std::string buf;
};

bool WriteAll(int fd, const std::string& data)
{
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

// The whole file; empty when it cannot be read or is larger than any
// workbook worth mending.
std::string ReadWholeFile(const char* path)
{
    std::string data;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return data;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 && st.st_size <= (off_t(1) << 30)) {
        data.resize(size_t(st.st_size));
        size_t done = 0;
        while (done < data.size()) {
            const ssize_t n = ::read(fd, data.data() + done, data.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += size_t(n);
        }
        data.resize(done == data.size() ? done : 0);
    }
    ::close(fd);
    return data;
}

// What the parsing library is given: the path of the file to read, and the
// workbook stream it finds there (as far as it goes), whose records are
// followed to learn what each sheet declares.
struct ToParse {
    std::string path;
    std::optional<std::string> stream;
};

// The parsing library refuses a workbook holding an empty text cell. Such a
// workbook is handed over as a copy in memory with those cells made blank;
// the path to read is then that of the copy. Any other workbook is read as
// it is.
ToParse WhatToParse(const char* path)
{
    const std::string file = ReadWholeFile(path);
    ToParse parse{path, detail::WorkbookStreamAsFarAsItGoes(file)};
    const auto stream = detail::WorkbookStream(file);
    if (!stream)
        return parse;
    auto mended = detail::WithoutEmptyTexts(*stream);
    if (!mended)
        return parse;
    const std::string copy = detail::CompoundFile(*mended);
    if (copy.empty())
        return parse;
    // The copy lives only as long as this process.
    const int fd = ::memfd_create("kalmora-workbook", MFD_CLOEXEC);
    if (fd < 0 || !WriteAll(fd, copy))
        return parse;
    parse.path = "/proc/self/fd/" + std::to_string(fd);
    parse.stream = std::move(mended);
    return parse;
}

// Reads the workbook into `out`; the failure code, or 0.
int ReadInChild(const char* path, Out& out)
{
    const ToParse parse = WhatToParse(path);
    const void* h = nullptr;
    int rc = freexl_open(parse.path.c_str(), &h);
    struct Closer {
        const void* h;
        ~Closer()
        {
            if (h)
                freexl_close(h);
        }
    } closer{h};
    if (rc != FREEXL_OK)
        return rc;
    // The library may give up on a file and still answer "done".
    if (h == nullptr)
        return kDamaged;
    unsigned int value = 0;
    if (freexl_get_info(h, FREEXL_BIFF_PASSWORD, &value) == FREEXL_OK && value == FREEXL_BIFF_OBFUSCATED)
        return kPasswordProtected;
    bool date1904 = false;
    if (freexl_get_info(h, FREEXL_BIFF_DATEMODE, &value) == FREEXL_OK)
        date1904 = value == FREEXL_BIFF_DATEMODE_1904;
    unsigned int count = 0;
    if ((rc = freexl_get_info(h, FREEXL_BIFF_SHEET_COUNT, &count)) != FREEXL_OK)
        return rc;
    if (count > 0xFFFFu)
        return kDamaged;
    const std::vector<detail::SheetRecords> followed =
        parse.stream ? detail::FollowSheets(*parse.stream) : std::vector<detail::SheetRecords>();
    out.i32(0);
    out.u8(date1904 ? 1 : 0);
    out.u32(count);
    for (unsigned int i = 0; i < count; ++i) {
        const char* name = nullptr;
        if ((rc = freexl_get_worksheet_name(h, static_cast<unsigned short>(i), &name)) != FREEXL_OK)
            return rc;
        out.str(name);
        if ((rc = freexl_select_active_worksheet(h, static_cast<unsigned short>(i))) != FREEXL_OK)
            return rc;
        unsigned int rows = 0;
        unsigned short columns = 0;
        if ((rc = freexl_worksheet_dimensions(h, &rows, &columns)) != FREEXL_OK)
            return rc;
        // The used range: up to the last cell that holds something.
        unsigned int usedRows = 0;
        unsigned int usedColumns = 0;
        FreeXL_CellValue v;
        for (unsigned int r = 0; r < rows; ++r)
            for (unsigned short c = 0; c < columns; ++c) {
                if ((rc = freexl_get_cell_value(h, r, c, &v)) != FREEXL_OK)
                    return rc;
                if (v.type != FREEXL_CELL_NULL) {
                    usedRows = std::max(usedRows, r + 1);
                    usedColumns = std::max(usedColumns, unsigned(c) + 1);
                }
            }
        if (quint64(usedRows) * usedColumns > kMaxCells)
            return kTooBig;
        out.u32(usedRows);
        out.u32(usedColumns);
        for (unsigned int r = 0; r < usedRows; ++r)
            for (unsigned int c = 0; c < usedColumns; ++c) {
                if ((rc = freexl_get_cell_value(h, r, static_cast<unsigned short>(c), &v)) != FREEXL_OK)
                    return rc;
                out.u8(v.type);
                switch (v.type) {
                case FREEXL_CELL_INT:
                    out.i32(v.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    out.f64(v.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    out.str(v.value.text_value);
                    break;
                default:
                    break;
                }
            }
        // What the sheet declares against what was read. A sheet whose
        // records cannot be followed at all is not known to be whole.
        detail::SheetRecords declared;
        if (i < followed.size()) {
            declared = followed[i];
        } else {
            declared.declaredRows = rows;
            declared.firstDamagedRow = usedRows;
        }
        for (const auto& [r, c] : declared.values) {
            if (r >= declared.firstDamagedRow)
                continue;
            if (r >= rows || c >= columns || freexl_get_cell_value(h, r, static_cast<unsigned short>(c), &v) != FREEXL_OK ||
                v.type == FREEXL_CELL_NULL)
                declared.firstDamagedRow = r;
        }
        out.u32(std::max(declared.declaredRows, usedRows));
        out.u32(declared.firstDamagedRow);
    }
    return 0;
}

[[noreturn]] void ChildMain(const char* path, int fd)
{
    // A crash here must not leave a core file behind.
    struct rlimit noCore {0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
#if defined(__SANITIZE_ADDRESS__)
    // In a sanitizer build a damaged file that upsets the parsing library
    // ends this process with a sanitizer report. That is the expected way out
    // for such a file (the parent reports a damaged workbook), so the report
    // goes nowhere instead of into the log that fails a test run.
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (devNull >= 0) {
        ::dup2(devNull, STDERR_FILENO);
        ::close(devNull);
    }
    __sanitizer_set_report_path("stderr");
#endif
    int code = kDamaged;
    Out out;
    try {
        code = ReadInChild(path, out);
    } catch (...) {
        code = FREEXL_INSUFFICIENT_MEMORY;
    }
    if (code != 0) {
        out.buf.clear();
        out.i32(code);
    }
    const bool ok = WriteAll(fd, out.buf);
    ::close(fd);
    ::_exit(ok ? 0 : 1);
}

// ---- parent side.

// Runs the child and collects what it sends; nullopt when it did not end
// normally (a crash, a timeout) or could not be started.
std::optional<QByteArray> RunChild(const QByteArray& path, int& startError)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        startError = kCannotStart;
        return std::nullopt;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        startError = kCannotStart;
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(fds[0]);
        ChildMain(path.constData(), fds[1]);
    }
    ::close(fds[1]);

    QByteArray data;
    QElapsedTimer timer;
    timer.start();
    bool timedOut = false;
    char chunk[65536];
    for (;;) {
        const qint64 left = kReadTimeoutMs - timer.elapsed();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        const int pr = ::poll(&p, 1, int(std::min<qint64>(left, 1000)));
        if (pr < 0 && errno == EINTR)
            continue;
        if (pr < 0)
            break;
        if (pr == 0)
            continue;
        const ssize_t n = ::read(fds[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        data.append(chunk, n);
    }
    ::close(fds[0]);
    if (timedOut)
        ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return data;
}

class In {
public:
    explicit In(const QByteArray& d) : data(d) {}
    bool ok() const { return good; }
    bool atEnd() const { return pos == data.size(); }
    quint32 u32()
    {
        if (!need(4))
            return 0;
        quint32 v = 0;
        for (int i = 0; i < 4; ++i)
            v |= quint32(quint8(data[pos + i])) << (8 * i);
        pos += 4;
        return v;
    }
    unsigned u8()
    {
        if (!need(1))
            return 0;
        return quint8(data[pos++]);
    }
    qint32 i32() { return qint32(u32()); }
    double f64()
    {
        const quint64 lo = u32();
        const quint64 hi = u32();
        const quint64 bits = lo | (hi << 32);
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    QString str()
    {
        const quint32 n = u32();
        if (!need(qsizetype(n)))
            return {};
        const QString s = QString::fromUtf8(data.constData() + pos, qsizetype(n));
        pos += n;
        return s;
    }

private:
    bool need(qsizetype n)
    {
        if (!good || n < 0 || data.size() - pos < n) {
            good = false;
            return false;
        }
        return true;
    }
    const QByteArray& data;
    qsizetype pos = 0;
    bool good = true;
};

Cell ToCell(In& in, unsigned type, bool date1904)
{
    switch (type) {
    case FREEXL_CELL_INT:
        return Cell::integer(in.i32());
    case FREEXL_CELL_DOUBLE:
        return Cell::number(in.f64(), date1904);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        return Cell::text(in.str());
    case FREEXL_CELL_DATE:
        return Cell::date(QDate::fromString(in.str(), QStringLiteral("yyyy-MM-dd")));
    case FREEXL_CELL_DATETIME:
        return Cell::dateTime(QDateTime::fromString(in.str(), QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    case FREEXL_CELL_TIME:
        return Cell::time(QTime::fromString(in.str(), QStringLiteral("HH:mm:ss")));
    default:
        return Cell();
    }
}

} // namespace

Workbook::Workbook(const QString& path) : m_path(path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw Exception(QStringLiteral("Brak pliku \"%1\".").arg(Shown(path)));
    // Only a regular file: a directory, a pipe or a device is no workbook
    // (and a pipe would block the reader).
    if (!info.isFile())
        Fail(FREEXL_INVALID_CFBF_HEADER, path);
    {
        QFile probe(path);
        if (!probe.open(QIODevice::ReadOnly))
            Fail(FREEXL_FILE_NOT_FOUND, path);
        static const char magic[8] = {'\xD0', '\xCF', '\x11', '\xE0', '\xA1', '\xB1', '\x1A', '\xE1'};
        const QByteArray head = probe.read(512);
        if (head.size() < 512 || !head.startsWith(QByteArray(magic, 8)))
            Fail(FREEXL_INVALID_CFBF_HEADER, path);
    }

    int startError = kDamaged;
    const auto data = RunChild(QFile::encodeName(info.absoluteFilePath()), startError);
    if (!data)
        Fail(startError, path);

    In in(*data);
    const qint32 status = in.i32();
    if (!in.ok())
        Fail(kDamaged, path);
    if (status != 0)
        Fail(status, path);
    const bool date1904 = in.u8() != 0;
    const quint32 count = in.u32();
    for (quint32 i = 0; i < count && in.ok(); ++i) {
        QString name = in.str();
        const quint32 rows = in.u32();
        const quint32 columns = in.u32();
        if (!in.ok() || quint64(rows) * columns > kMaxCells)
            Fail(kDamaged, path);
        QStringList titles;
        std::vector<std::vector<Cell>> body;
        size_t lastUsed = 0;
        for (quint32 r = 0; r < rows && in.ok(); ++r) {
            std::vector<Cell> cells(columns);
            bool used = false;
            for (quint32 c = 0; c < columns && in.ok(); ++c) {
                cells[c] = ToCell(in, in.u8(), date1904);
                used = used || !cells[c].isNull();
            }
            if (r == 0) {
                for (quint32 c = 0; c < columns; ++c) {
                    QString title = cells[c].toText();
                    if (title.isEmpty())
                        title = QStringLiteral("F%1").arg(c + 1);
                    titles << title;
                }
                continue;
            }
            body.push_back(std::move(cells));
            if (used)
                lastUsed = body.size();
        }
        body.resize(lastUsed);
        // Counted from the header row; the sheet counts the rows below it.
        const quint32 declaredRows = in.u32();
        const quint32 firstDamagedRow = in.u32();
        std::optional<int> firstDamaged;
        if (firstDamagedRow != detail::kNoDamage)
            firstDamaged = int(std::min<quint32>(firstDamagedRow, kMaxCells)) - 1;
        m_sheets.emplace_back(std::move(name), std::move(titles), std::move(body),
                              int(std::min<quint32>(declaredRows, kMaxCells)) - 1, firstDamaged);
    }
    if (!in.ok() || !in.atEnd())
        Fail(kDamaged, path);
}

QStringList Workbook::sheetNames() const
{
    QStringList names;
    for (const Sheet& s : m_sheets)
        names << s.name();
    return names;
}

int Workbook::sheetIndex(const QString& name) const
{
    for (int i = 0; i < int(m_sheets.size()); ++i)
        if (m_sheets[size_t(i)].name().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    if (name.endsWith(u'$')) {
        const QString bare = name.chopped(1);
        for (int i = 0; i < int(m_sheets.size()); ++i)
            if (m_sheets[size_t(i)].name().compare(bare, Qt::CaseInsensitive) == 0)
                return i;
    }
    return -1;
}

const Sheet& Workbook::sheet(const QString& name) const
{
    const int index = sheetIndex(name);
    if (index < 0)
        throw Exception(QStringLiteral("Brak arkusza \"%1\" w skoroszycie \"%2\".")
                            .arg(name, QFileInfo(m_path).fileName()));
    return m_sheets[size_t(index)];
}

const Sheet& Workbook::sheet(int index) const
{
    if (index < 0 || index >= int(m_sheets.size()))
        throw Exception(QStringLiteral("Brak arkusza nr %1 w skoroszycie \"%2\".")
                            .arg(index + 1)
                            .arg(QFileInfo(m_path).fileName()));
    return m_sheets[size_t(index)];
}

} // namespace kal
