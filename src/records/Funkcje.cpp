#include "Funkcje.h"

#include "Clock.h"
#include "Dialogs.h"
#include "NumberText.h"
#include "Table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <locale.h>
#include <optional>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr double kZeroTolerance = 1e-07;
constexpr double kErrorValue = 1.657;
constexpr double kAlreadyFailedValue = 1.232323232343;

double Fail(int& error, int code)
{
    error = code;
    return kErrorValue;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The C library's decimal conversion in the C locale (the program's own
// locale may use a decimal comma).
double ToDouble(const std::string& text)
{
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(text.c_str(), nullptr, cLocale);
}

// A whole text that is a decimal number: leading white space, an optional
// sign, digits with an optional "." fraction (at least one digit), an optional
// exponent. Infinities, NaN and hexadecimal forms are not numbers here.
bool IsNumber(const std::string& s)
{
    size_t i = 0;
    while (i < s.size() && IsSpace(s[i]))
        ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    bool digits = false;
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
        digits = true;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j]))
                ++j;
            i = j;
        }
    }
    return i == s.size();
}

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

double Evaluate(std::string& text, int& error);

double EvaluatePart(const std::string& part, int& error)
{
    std::string copy = part;
    return Evaluate(copy, error);
}

// The arguments of a call "(a,b,...)": split at the commas at depth 1.
// False when the text is not enclosed in parentheses.
bool SplitArguments(const std::string& call, std::vector<std::string>& args)
{
    if (call.size() < 2 || call.front() != '(' || call.back() != ')')
        return false;
    const std::string inside = call.substr(1, call.size() - 2);
    args.clear();
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i < inside.size(); ++i) {
        if (inside[i] == '(')
            ++depth;
        else if (inside[i] == ')')
            --depth;
        else if (inside[i] == ',' && depth == 0) {
            args.push_back(inside.substr(start, i - start));
            start = i + 1;
        }
    }
    args.push_back(inside.substr(start));
    return true;
}

double EvaluateFunction(const std::string& text, int& error)
{
    static const char* const names[] = {"IF",  "max",  "min", "round", "cosh", "sinh", "tanh", "sin",
                                        "cos", "tan",  "log10", "log", "exp",  "abs",  "ctan", "acos",
                                        "asin", "atan", "ceil", "floor", "sqrt", "pow",  "mod"};
    const char* name = nullptr;
    for (const char* candidate : names) {
        if (StartsWith(text, candidate)) {
            name = candidate;
            break;
        }
    }
    if (!name)
        return Fail(error, 8);
    const std::string rest = text.substr(std::char_traits<char>::length(name));
    const std::string fn = name;

    if (fn == "IF" || fn == "max" || fn == "min" || fn == "round" || fn == "pow" || fn == "mod") {
        std::vector<std::string> args;
        if (!SplitArguments(rest, args))
            return Fail(error, 5);
        const size_t wanted = fn == "IF" ? 3 : 2;
        if (args.size() < wanted)
            return Fail(error, 6);
        if (args.size() > wanted)
            return Fail(error, 7);
        if (fn == "IF") {
            const double c = EvaluatePart(args[0], error);
            if (std::fabs(c) <= kZeroTolerance)
                return EvaluatePart(args[2], error);
            return EvaluatePart(args[1], error);
        }
        const double b = EvaluatePart(args[1], error);
        const double a = EvaluatePart(args[0], error);
        if (fn == "max")
            return std::max(a, b);
        if (fn == "min")
            return std::min(a, b);
        if (fn == "pow")
            return std::pow(a, b);
        if (fn == "mod")
            return std::fmod(a, b);
        // round: the places cut to a whole number.
        const double k = std::isnan(b) ? 0.0 : std::clamp(std::trunc(b), -400.0, 400.0);
        return Zaokraglij(a, static_cast<int>(k));
    }

    const double x = EvaluatePart(rest, error);
    if (fn == "cosh") return std::cosh(x);
    if (fn == "sinh") return std::sinh(x);
    if (fn == "tanh") return std::tanh(x);
    if (fn == "sin") return std::sin(x);
    if (fn == "cos") return std::cos(x);
    if (fn == "tan") return std::tan(x);
    if (fn == "log10") return std::log10(x);
    if (fn == "log") return std::log(x);
    if (fn == "exp") return std::exp(x);
    if (fn == "abs") return std::fabs(x);
    if (fn == "ctan") {
        const double t = std::tan(x);
        if (t == 0)
            return Fail(error, 9);
        return 1.0 / t;
    }
    if (fn == "acos") return std::acos(x);
    if (fn == "asin") return std::asin(x);
    if (fn == "atan") return std::atan(x);
    if (fn == "ceil") return std::ceil(x);
    if (fn == "floor") return std::floor(x);
    return std::sqrt(x); // "sqrt", the last one-argument name
}

double Evaluate(std::string& text, int& error)
{
    if (error != 0)
        return kAlreadyFailedValue;

    // Every "--" becomes "+", one character shorter each time.
    if (text.find("--") != std::string::npos) {
        std::string merged;
        merged.reserve(text.size());
        for (char c : text) {
            if (c == '-' && !merged.empty() && merged.back() == '-')
                merged.back() = '+';
            else
                merged.push_back(c);
        }
        text.swap(merged);
    }

    if (text.empty())
        return 0.0;
    if (IsNumber(text))
        return ToDouble(text);

    if (text.size() == 1) {
        switch (text[0]) {
        case '=':
            return 1.0;
        case '#':
        case '*':
        case '+':
        case '-':
        case '<':
        case '>':
            return 0.0;
        case '/':
            return Fail(error, 9);
        default:
            return Fail(error, 2);
        }
    }

    // One scan at depth 0 for the last operator of each kind.
    const size_t none = std::string::npos;
    size_t orAt = none, andAt = none, cmpAt = none, mulAt = none, addAt = none;
    size_t cmpLength = 1;
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth < 0)
                return Fail(error, 3);
        } else if (depth == 0) {
            switch (c) {
            case '|':
                orAt = i;
                break;
            case '&':
                andAt = i;
                break;
            case '<':
            case '>':
                cmpAt = i;
                cmpLength = 1;
                if (i + 1 < text.size() && text[i + 1] == '=') {
                    cmpLength = 2;
                    ++i; // "<=" and ">=" are one operator
                }
                break;
            case '=':
            case '#':
                cmpAt = i;
                cmpLength = 1;
                break;
            case '*':
            case '/':
                mulAt = i;
                break;
            case '+':
            case '-':
                if (i == 0 || (text[i - 1] != '*' && text[i - 1] != '/'))
                    addAt = i;
                break;
            default:
                break;
            }
        }
    }
    if (depth != 0)
        return Fail(error, 4);

    if (orAt != none) {
        const std::string left = text.substr(0, orAt);
        const std::string right = text.substr(orAt + 1);
        if (std::fabs(EvaluatePart(left, error)) > kZeroTolerance)
            return 1.0;
        return std::fabs(EvaluatePart(right, error)) > kZeroTolerance ? 1.0 : 0.0;
    }
    if (andAt != none) {
        const std::string left = text.substr(0, andAt);
        const std::string right = text.substr(andAt + 1);
        if (std::fabs(EvaluatePart(left, error)) >= kZeroTolerance
            && std::fabs(EvaluatePart(right, error)) >= kZeroTolerance)
            return 1.0;
        return 0.0;
    }
    if (cmpAt != none) {
        const char op = text[cmpAt];
        const std::string left = text.substr(0, cmpAt);
        const std::string right = text.substr(cmpAt + cmpLength);
        if (op == '=' || op == '#') {
            const bool quoted = (cmpAt > 0 && text[cmpAt - 1] == '"')
                                || (cmpAt + 1 < text.size() && text[cmpAt + 1] == '"');
            if (quoted) {
                const bool same = left == right;
                return (op == '=') == same ? 1.0 : 0.0;
            }
        }
        const double l = EvaluatePart(left, error);
        const double r = EvaluatePart(right, error);
        switch (op) {
        case '=':
            return l == r ? 1.0 : 0.0;
        case '#':
            return l != r ? 1.0 : 0.0;
        case '<':
            if (cmpLength == 2)
                return l - r < kZeroTolerance ? 1.0 : 0.0;
            return l < r ? 1.0 : 0.0;
        default: // '>'
            if (cmpLength == 2)
                return l - r > -kZeroTolerance ? 1.0 : 0.0;
            return l > r ? 1.0 : 0.0;
        }
    }
    if (addAt == 0) {
        // A leading sign with no later "+" or "-": the value of the rest.
        const double v = EvaluatePart(text.substr(1), error);
        return text[0] == '-' ? -v : v;
    }
    if (addAt != none) {
        const double l = EvaluatePart(text.substr(0, addAt), error);
        const double r = EvaluatePart(text.substr(addAt + 1), error);
        return text[addAt] == '+' ? l + r : l - r;
    }
    if (mulAt != none) {
        const std::string left = text.substr(0, mulAt);
        const std::string right = text.substr(mulAt + 1);
        if (text[mulAt] == '/') {
            const double r = EvaluatePart(right, error);
            if (r == 0)
                return Fail(error, 9);
            return EvaluatePart(left, error) / r;
        }
        const double l = EvaluatePart(left, error);
        return l * EvaluatePart(right, error);
    }

    if (text[0] == '(') {
        if (text.back() != ')')
            return Fail(error, 5);
        return EvaluatePart(text.substr(1, text.size() - 2), error);
    }
    return EvaluateFunction(text, error);
}

} // namespace

double Zaokraglij(double x, int n) { return kal::RoundHalfAway(x, n); }

double ObliczWyrazenie(std::string& text, int& error) { return Evaluate(text, error); }

double TekstNaLiczbe(const QString& text) { return kal::ParseDecimal(text).value_or(0.0); }

double PoleNaLiczbe(kal::TField* pole) { return pole ? TekstNaLiczbe(pole->AsString()) : 0.0; }

int PoleNaCalkowita(kal::TField* pole) { return pole ? TekstNaCalkowita(pole->AsString()) : 0; }

int TekstNaCalkowita(const QString& text)
{
    const auto value = kal::ParseWhole(text);
    if (!value || *value < INT_MIN || *value > INT_MAX)
        return 0;
    return static_cast<int>(*value);
}

QString UsunSpacje(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= ' ')
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= ' ')
        --end;
    QString out = text.mid(begin, end - begin);
    out.remove(QLatin1Char(' '));
    return out;
}

bool PorownajBezSpacji(const QString& a, const QString& b)
{
    return UsunSpacje(a.toUpper()) == UsunSpacje(b.toUpper());
}

namespace {

// Takes the name `path` by making its file, exclusively: a name that another
// copy of the program takes at the same moment is refused here, and the
// caller goes on to the next. The file is locked until the next name is
// taken (or the run ends), so that the start of another copy, which removes
// the work tables that no running process holds, leaves it alone while the
// table is made in its place. True when the name was taken before; a file
// that cannot be made for another cause is left to the table's creation,
// which tells why.
bool NazwaZajeta(const QString& path)
{
    static int held = -1;
    const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST;
    ::flock(fd, LOCK_EX);
    if (held >= 0)
        ::close(held);
    held = fd;
    return false;
}

} // namespace

QString NazwaZbioruTymczasowego(const QString& prefix, const QString& extension)
{
    return NazwaZbioruTymczasowego(prefix, extension, NazwaZajeta);
}

namespace {

// The directory of the temporary tables, ending in "/"; empty for the
// working directory.
QString KatalogZbiorowTymczasowych()
{
    QString directory;
    if (qEnvironmentVariableIsSet("TEMP"))
        directory = qEnvironmentVariable("TEMP");
    else if (qEnvironmentVariableIsSet("TMP"))
        directory = qEnvironmentVariable("TMP");
    if (!directory.isEmpty() && !QFileInfo(directory).isDir())
        directory.clear();
    if (!directory.isEmpty() && !directory.endsWith(QLatin1Char('/')))
        directory += QLatin1Char('/');
    return directory;
}

// The inode numbers of the files that some running process holds a lock on
// (a table file open in the engine holds one while it is open), as the
// kernel lists them; nothing when the list cannot be read. The device is
// not compared: a lock on another file of the same number only keeps a file.
std::optional<std::set<quint64>> ZablokowanePliki()
{
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    static const QRegularExpression plik(QStringLiteral("^[0-9a-fA-F]+:[0-9a-fA-F]+:(\\d+)$"));
    std::set<quint64> inody;
    for (const QByteArray& linia : locks.readAll().split('\n')) {
        for (const QByteArray& pole : linia.simplified().split(' ')) {
            const QRegularExpressionMatch m = plik.match(QString::fromLatin1(pole));
            if (m.hasMatch())
                inody.insert(m.captured(1).toULongLong());
        }
    }
    return inody;
}

} // namespace

void UsunPozostawioneZbioryTymczasowe(const QString& prefix, const QString& extension)
{
    const std::optional<std::set<quint64>> zablokowane = ZablokowanePliki();
    if (!zablokowane)
        return; // what a running copy holds cannot be told: nothing goes
    const QRegularExpression wzor(QStringLiteral("^%1\\d{6,8}[a-z]{4}\\.%2$")
                                      .arg(QRegularExpression::escape(prefix), QRegularExpression::escape(extension)));
    const QString katalog = KatalogZbiorowTymczasowych();
    const QDir dir(katalog.isEmpty() ? QStringLiteral(".") : katalog);
    for (const QString& nazwa : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (!wzor.match(nazwa).hasMatch())
            continue;
        // The table file with the journal files beside it; all of them plain
        // files of this user that no process holds, or none goes.
        QList<QByteArray> grupa;
        for (const char* dopisek : {"", "-wal", "-shm", "-journal"}) {
            const QByteArray sciezka = QFile::encodeName(dir.filePath(nazwa + QLatin1String(dopisek)));
            struct stat st;
            if (::lstat(sciezka.constData(), &st) != 0)
                continue;
            if (!S_ISREG(st.st_mode) || st.st_uid != ::getuid() || zablokowane->count(quint64(st.st_ino))) {
                grupa.clear();
                break;
            }
            grupa << sciezka;
        }
        for (const QByteArray& sciezka : grupa)
            ::unlink(sciezka.constData());
    }
}

QString NazwaZbioruTymczasowego(const QString& prefix, const QString& extension,
                                const std::function<bool(const QString&)>& taken)
{
    const QString directory = KatalogZbiorowTymczasowych();
    const QDate today = kal::Today();
    const QString base = directory + prefix + QString::number(today.year()) + QString::number(today.month())
                         + QString::number(today.day());

    QString letters(4, QLatin1Char('a'));
    for (char c1 = 'a'; c1 <= 'z'; ++c1) {
        letters[0] = QLatin1Char(c1);
        for (char c2 = 'a'; c2 <= 'z'; ++c2) {
            letters[1] = QLatin1Char(c2);
            for (char c3 = 'a'; c3 <= 'z'; ++c3) {
                letters[2] = QLatin1Char(c3);
                for (char c4 = 'a'; c4 <= 'z'; ++c4) {
                    letters[3] = QLatin1Char(c4);
                    const QString candidate = base + letters + QLatin1Char('.') + extension;
                    if (!taken(candidate))
                        return candidate;
                }
            }
        }
    }
    kal::Dialogs().messageBox(QStringLiteral("Błąd generowania zbioru tymczsowego !!!"),
                              QStringLiteral("Tymczasowa nazwa zbioru"), kal::MbOk, kal::MsgIcon::None);
    return {};
}

void ZapytajOZapis(const QString& pytanieZmiana, const QString& pytanieDopisanie, const QString& naglowek,
                   TCloseAction& akcja, kal::TTable* zbior)
{
    if (!zbior)
        return;
    const kal::TDataSetState state = zbior->State();
    if (state != kal::dsEdit && state != kal::dsInsert)
        return;
    const QString& question = state == kal::dsEdit ? pytanieZmiana : pytanieDopisanie;
    const kal::MsgButton answer = kal::Dialogs().messageBox(question, naglowek, kal::MbYes | kal::MbNo | kal::MbCancel,
                                                            kal::MsgIcon::Question);
    if (answer == kal::MbYes) {
        const TCloseAction closing = akcja;
        akcja = caNone; // a refused post keeps the window open
        zbior->Post();
        akcja = closing;
    } else if (answer == kal::MbNo) {
        zbior->Cancel();
    } else {
        akcja = caNone;
    }
}

bool ZnajdzRekord(kal::TField* pole, int wartosc)
{
    if (!pole || !pole->DataSet())
        return false;
    kal::TTable& zbior = *pole->DataSet();
    if (pole->AsInteger() == wartosc)
        return true;
    zbior.Locate(pole->FieldName(), QVariant(wartosc));
    if (pole->AsInteger() == wartosc)
        return true;
    for (zbior.First(); !zbior.Eof(); zbior.Next())
        if (pole->AsInteger() == wartosc)
            return true;
    return false;
}

void ZapiszBufory(kal::TTable* zbior)
{
    if (zbior)
        zbior->FlushBuffers();
}

double ProgZera = 1e-07;

QString NumerRzymski(int n)
{
    switch (n) {
    case 1:
        return QStringLiteral("I");
    case 2:
        return QStringLiteral("II");
    case 3:
        return QStringLiteral("III");
    case 4:
        return QStringLiteral("IV");
    default:
        return {};
    }
}
