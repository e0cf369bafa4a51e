#include "PageModel.h"

#include "Exceptions.h"
#include "PageCoding.h"

#include <QDir>
#include <QFile>
#include <array>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <mutex>
#include <unistd.h>

namespace kal::report {

QFont ToQFont(const FontDef& wanted)
{
    QString family = wanted.family;
    if (family.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0 || family.isEmpty())
        family = QStringLiteral("Liberation Sans");
    else if (family.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0)
        family = QStringLiteral("Liberation Serif");
    else if (family.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0)
        family = QStringLiteral("Liberation Mono");
    QFont font(family);
    font.setPointSizeF(wanted.pointSize > 0 ? wanted.pointSize : 9.0);
    font.setBold(wanted.bold);
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

// ---- where the pages are kept ------------------------------------------------

namespace {

std::atomic<std::size_t> g_memoryLimit{std::size_t{16} << 20};
std::atomic<qint64> g_fileLimit{std::numeric_limits<qint64>::max()};
std::atomic<qint64> g_fileBytes{0}; // the bytes of all page files there are

// The memory a page takes, near enough: its items and the characters of
// their texts.
std::size_t BytesOf(const Page& page)
{
    std::size_t bytes = sizeof(Page) + page.items.capacity() * sizeof(PageItem);
    for (const PageItem& item : page.items)
        if (!item.text.isNull())
            bytes += 32 + 2 * static_cast<std::size_t>(item.text.capacity());
    return bytes;
}

// The system's temporary directory. Where the one set does not exist Qt
// names none: then it goes by the name set, so that the page file is not
// made in the root and a message names the directory.
QString TempDir()
{
    QString dir = QDir::tempPath();
    if (dir.isEmpty())
        dir = QDir::cleanPath(qEnvironmentVariable("TMPDIR"));
    return dir.isEmpty() ? QStringLiteral("/tmp") : dir;
}

QString TempDirName()
{
    return QDir::toNativeSeparators(TempDir());
}

[[noreturn]] void CannotWrite(int err)
{
    if (err == ENOSPC || err == EDQUOT)
        throw kal::Exception(QStringLiteral("Brak miejsca na dysku: nie można zapisać stron wydruku w katalogu plików "
                                            "tymczasowych %1. Wydruk przerwano; zwolnij miejsce na dysku i uruchom go ponownie")
                                 .arg(TempDirName()));
    throw kal::Exception(QStringLiteral("Nie można zapisać stron wydruku w katalogu plików tymczasowych %1: %2. "
                                        "Wydruk przerwano")
                             .arg(TempDirName(), kal::FileErrorReason(err)));
}

[[noreturn]] void CannotRead(int err)
{
    throw kal::Exception(QStringLiteral("Nie można odczytać stron wydruku z pliku tymczasowego w katalogu %1: %2")
                             .arg(TempDirName(), kal::FileErrorReason(err)));
}

} // namespace

// The pages of a model: the first ones in memory, the rest in an unnamed file
// (made in the temporary directory and unlinked at once, so that nothing is
// left behind whatever ends the program) with an index of where each page
// lies. Pages read back are kept in a small cache.
class PageStore {
public:
    PageStore() = default;
    ~PageStore()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        g_fileBytes -= m_end;
    }
    PageStore(const PageStore&) = delete;
    PageStore& operator=(const PageStore&) = delete;

    int count() const { return static_cast<int>(m_entries.size()); }
    int inMemory() const { return m_held; }

    void add(Page page)
    {
        const std::size_t bytes = m_held == count() ? BytesOf(page) : 0;
        if (m_held == count() && m_heldBytes + bytes <= g_memoryLimit.load()) {
            m_heldBytes += bytes;
            ++m_held;
            m_entries.push_back({std::make_shared<const Page>(std::move(page)), 0, 0});
            return;
        }
        const QByteArray data = coding::PackPage(page);
        write(data);
        m_entries.push_back({nullptr, m_end, data.size()});
        m_end += data.size();
    }

    std::shared_ptr<const Page> page(int index) const
    {
        static const auto empty = std::make_shared<const Page>();
        if (index < 0 || index >= count())
            return empty;
        const Entry& entry = m_entries[static_cast<std::size_t>(index)];
        if (entry.held)
            return entry.held;
        {
            const std::lock_guard lock(m_mutex);
            for (const auto& [at, cached] : m_cache)
                if (cached && at == index)
                    return cached;
        }
        QByteArray data(static_cast<qsizetype>(entry.size), Qt::Uninitialized);
        read(data.data(), data.size(), entry.offset);
        auto loaded = std::make_shared<const Page>(coding::UnpackPage(data.constData(), data.size()));
        const std::lock_guard lock(m_mutex);
        m_cache[m_nextSlot] = {index, loaded};
        m_nextSlot = (m_nextSlot + 1) % m_cache.size();
        return loaded;
    }

private:
    struct Entry {
        std::shared_ptr<const Page> held; // a page in memory, or
        qint64 offset;                    // where it lies in the file
        qint64 size;
    };

    void open()
    {
        QByteArray name = QFile::encodeName(TempDir() + QStringLiteral("/kalmora-strony-XXXXXX"));
        m_fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (m_fd < 0)
            CannotWrite(errno);
        ::unlink(name.constData());
    }

    void write(const QByteArray& data)
    {
        if (m_fd < 0)
            open();
        if (g_fileBytes.load() + data.size() > g_fileLimit.load())
            CannotWrite(ENOSPC);
        const int err = Whole(data.size(), m_end, [&](qint64 done, qint64 size, qint64 at) {
            return ::pwrite(m_fd, data.constData() + done, static_cast<std::size_t>(size), static_cast<off_t>(at));
        });
        if (err)
            CannotWrite(err < 0 ? ENOSPC : err);
        g_fileBytes += data.size();
    }

    void read(char* to, qint64 size, qint64 offset) const
    {
        const int err = Whole(size, offset, [&](qint64 done, qint64 part, qint64 at) {
            return ::pread(m_fd, to + done, static_cast<std::size_t>(part), static_cast<off_t>(at));
        });
        if (err)
            CannotRead(err < 0 ? EIO : err);
    }

    // Moves `size` bytes from `offset` on through `io` (::pread or ::pwrite
    // of the part from `done` on), part by part: 0 when all are moved, the
    // error number, or -1 when the file takes or gives no more.
    template <class Io> static int Whole(qint64 size, qint64 offset, const Io& io)
    {
        for (qint64 done = 0; done < size;) {
            const ssize_t n = io(done, size - done, offset + done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return n < 0 ? errno : -1;
            done += n;
        }
        return 0;
    }

    std::vector<Entry> m_entries;
    int m_held = 0;
    std::size_t m_heldBytes = 0;
    int m_fd = -1;
    qint64 m_end = 0;
    mutable std::mutex m_mutex;
    mutable std::array<std::pair<int, std::shared_ptr<const Page>>, 8> m_cache;
    mutable std::size_t m_nextSlot = 0;
};

std::size_t PageMemoryLimit()
{
    return g_memoryLimit.load();
}

void SetPageMemoryLimit(std::size_t bytes)
{
    g_memoryLimit.store(bytes);
}

void SetPageFileLimitForTests(qint64 bytes)
{
    g_fileLimit.store(bytes < 0 ? std::numeric_limits<qint64>::max() : bytes);
}

// ---- the model ---------------------------------------------------------------

PageModel::PageModel() : m_store(std::make_unique<PageStore>()) {}
PageModel::~PageModel() = default;

PageModel::PageModel(PageModel&& other) noexcept
    : title(std::move(other.title)), paperSize(other.paperSize), orientation(other.orientation),
      fonts(std::move(other.fonts)), m_store(std::exchange(other.m_store, std::make_unique<PageStore>())),
      m_lastFont(other.m_lastFont)
{
}

PageModel& PageModel::operator=(PageModel&& other) noexcept
{
    title = std::move(other.title);
    paperSize = other.paperSize;
    orientation = other.orientation;
    fonts = std::move(other.fonts);
    std::swap(m_store, other.m_store);
    m_lastFont = other.m_lastFont;
    return *this;
}

PageModel::PageModel(const PageModel& other)
    : title(other.title), paperSize(other.paperSize), orientation(other.orientation), fonts(other.fonts),
      m_store(std::make_unique<PageStore>()), m_lastFont(other.m_lastFont)
{
    for (int p = 0; p < other.pageCount(); ++p)
        addPage(*other.page(p));
}

PageModel& PageModel::operator=(const PageModel& other)
{
    if (this != &other)
        *this = PageModel(other);
    return *this;
}

int PageModel::pageCount() const
{
    return m_store->count();
}

std::shared_ptr<const Page> PageModel::page(int index) const
{
    return m_store->page(index);
}

void PageModel::addPage(Page page)
{
    m_store->add(std::move(page));
}

int PageModel::pagesInMemory() const
{
    return m_store->inMemory();
}

std::uint16_t PageModel::fontIndex(const FontDef& font)
{
    if (m_lastFont >= 0 && m_lastFont < static_cast<int>(fonts.size()) && fonts[m_lastFont] == font)
        return static_cast<std::uint16_t>(m_lastFont);
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        if (fonts[i] == font) {
            m_lastFont = static_cast<int>(i);
            return static_cast<std::uint16_t>(i);
        }
    }
    fonts.push_back(font);
    m_lastFont = static_cast<int>(fonts.size() - 1);
    return static_cast<std::uint16_t>(m_lastFont);
}

const FontDef& PageModel::fontOf(const PageItem& item) const
{
    static const FontDef fallback;
    return item.font < fonts.size() ? fonts[item.font] : fallback;
}

bool PageModel::operator==(const PageModel& other) const
{
    if (title != other.title || paperSize != other.paperSize || orientation != other.orientation
        || fonts != other.fonts || pageCount() != other.pageCount())
        return false;
    for (int p = 0; p < pageCount(); ++p)
        if (*page(p) != *other.page(p))
            return false;
    return true;
}

QSizeF A4Size(Orientation orientation)
{
    return orientation == Orientation::Landscape ? QSizeF(297.0, 210.0) : QSizeF(210.0, 297.0);
}

} // namespace kal::report
