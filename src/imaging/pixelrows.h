#pragma once

#include <QImage>

#include <vector>

// Rows of red, green, blue and alpha on 0..1, four doubles a pixel, grey in
// red alone, as the decoders of this library produce them.

// Clipped to 0..1; not-a-number is 0.
quint8 unitTo8(double value);
quint16 unitTo16(double value);

// Stores one row in the image's format: grey, 32 or 64 bits a pixel, with the
// colours associated with alpha where the format keeps them so.
void storeRgbaRow(QImage &image, int y, const double *rgba);

// Averages the rows of a picture into one factor times smaller each way (the
// sides rounded up), so that only the output and a row of blocks are held:
// each pixel is the mean of its block, the colours weighted by their alpha
// unless they already are (associated alpha).
class RowReducer
{
public:
    RowReducer(QImage *reduced, int sourceWidth, int factor, bool associated);

    // The next source row, top to bottom.
    void add(const double *rgba);
    // Stores the last, partial row of blocks.
    void finish();

private:
    QImage *m_image;
    int m_sourceWidth;
    int m_factor;
    bool m_associated;
    int m_rows = 0; // source rows in the pending blocks
    int m_y = 0; // the next output row
    std::vector<double> m_sums; // alpha-weighted red, green, blue, then alpha
    std::vector<double> m_row;
};
