#include "tiffpages.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <cstdio>
#include <cstring>
#include <list>

namespace {

// The handlers belong to one file, so decoders on several threads share
// nothing and print nothing.
int noteError(TIFF *, void *report, const char *, const char *, va_list)
{
    static_cast<TiffReport *>(report)->damaged = true;
    return 1;
}

// Warnings are dropped, except the JPEG library's about missing data: it
// fills what it cannot decode with grey and only warns.
int noteWarning(TIFF *, void *report, const char *module, const char *format, va_list arguments)
{
    if (!module || std::strcmp(module, "JPEGLib") != 0)
        return 1;
    char message[256];
    std::vsnprintf(message, sizeof message, format, arguments);
    const QByteArray text = QByteArray(message).toLower();
    if (text.contains("premature end") || text.contains("instead of rst"))
        static_cast<TiffReport *>(report)->damaged = true;
    return 1;
}

// Qt's TIFF reader, which a file list's thumbnail may still reach, reports
// through libtiff's global handlers, naming every file "foo": they print
// nothing. This program's own handles report through their own.
[[maybe_unused]] const bool globalHandlersQuiet = [] {
    TIFFSetWarningHandler(nullptr);
    TIFFSetErrorHandler(nullptr);
    return true;
}();

struct TiffCloser
{
    void operator()(TIFF *tiff) const { TIFFClose(tiff); }
};

// Which file a handle reads: one changed since it was opened is another.
struct Identity
{
    QString path;
    qint64 size = -1;
    QDateTime modified;

    static Identity of(const QString &path)
    {
        const QFileInfo info(path);
        return {path, info.size(), info.lastModified()};
    }
    bool operator==(const Identity &other) const
    {
        return path == other.path && size == other.size && modified == other.modified;
    }
};

} // namespace

struct TiffPage::Open
{
    Identity identity;
    // On the heap: the handlers keep its address.
    std::unique_ptr<TiffReport> report = std::make_unique<TiffReport>();
    std::unique_ptr<TIFF, TiffCloser> file;
    int page = 0;
};

namespace {

// The files lent out and given back, the most recent first. A few stay open:
// enough for the threads that read one file's pages side by side.
class Lender
{
public:
    std::unique_ptr<TiffPage::Open> borrow(const Identity &identity, int page)
    {
        QMutexLocker locker(&m_mutex);
        auto best = m_idle.end();
        for (auto it = m_idle.begin(); it != m_idle.end();) {
            if ((*it)->identity.path == identity.path && !((*it)->identity == identity)) {
                it = m_idle.erase(it);
                continue;
            }
            if ((*it)->identity == identity && (*it)->page <= page && (best == m_idle.end() || (*it)->page > (*best)->page))
                best = it;
            ++it;
        }
        if (best == m_idle.end())
            return nullptr;
        std::unique_ptr<TiffPage::Open> open = std::move(*best);
        m_idle.erase(best);
        return open;
    }

    void giveBack(std::unique_ptr<TiffPage::Open> open)
    {
        QMutexLocker locker(&m_mutex);
        m_idle.push_front(std::move(open));
        if (m_idle.size() > kept)
            m_idle.pop_back();
    }

private:
    static constexpr size_t kept = 6;
    QMutex m_mutex;
    std::list<std::unique_ptr<TiffPage::Open>> m_idle;
};

Lender &lender()
{
    static Lender instance;
    return instance;
}

std::unique_ptr<TiffPage::Open> openFirstPage(const Identity &identity)
{
    auto open = std::make_unique<TiffPage::Open>();
    open->identity = identity;
    TIFFOpenOptions *options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, noteError, open->report.get());
    TIFFOpenOptionsSetWarningHandlerExtR(options, noteWarning, open->report.get());
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tiffAllocationLimitBytes());
    // Read rather than mapped: a file cut short while it is read must not fault.
    open->file.reset(TIFFOpenExt(QFile::encodeName(identity.path).constData(), "rm", options));
    TIFFOpenOptionsFree(options);
    return open->file ? std::move(open) : nullptr;
}

} // namespace

TiffPage::TiffPage(const QString &path, int page)
{
    const Identity identity = Identity::of(path);
    std::unique_ptr<Open> open = lender().borrow(identity, page);
    if (!open)
        open = openFirstPage(identity);
    while (open && open->page < page) {
        if (!TIFFReadDirectory(open->file.get()))
            return;
        ++open->page;
    }
    m_open = std::move(open);
}

TiffPage::~TiffPage()
{
    if (m_open && !TIFFLastDirectory(m_open->file.get()))
        lender().giveBack(std::move(m_open));
}

TiffPage::TiffPage(TiffPage &&) noexcept = default;

bool TiffPage::isOpen() const
{
    return m_open != nullptr;
}

TIFF *TiffPage::tiff() const
{
    return m_open->file.get();
}

TiffReport &TiffPage::report() const
{
    return *m_open->report;
}
