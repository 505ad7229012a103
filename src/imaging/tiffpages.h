#pragma once

#include <QString>

#include <memory>

#include <tiffio.h>

#include "tiffsamples.h"

// The pages of a TIFF file in one pass. libtiff finds a page only by walking
// the chain of directories from the first; files opened for one page are
// therefore kept and lent out again, each only ever going forward, so that
// the pages of a file asked for in order, on any number of threads, cost one
// walk through its directories rather than one for each page.
class TiffPage
{
public:
    // The file at page (0 the first), its messages going to report(); not
    // open when the file cannot be read or has no such page.
    TiffPage(const QString &path, int page);
    // The file goes back to be lent out again, unless its last page was read.
    ~TiffPage();
    TiffPage(TiffPage &&) noexcept;
    TiffPage(const TiffPage &) = delete;
    TiffPage &operator=(const TiffPage &) = delete;

    struct Open;

    bool isOpen() const;
    TIFF *tiff() const;
    TiffReport &report() const;

private:
    std::unique_ptr<Open> m_open;
};
