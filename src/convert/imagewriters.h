#pragma once

#include <QIODevice>
#include <QImage>
#include <QSaveFile>
#include <QString>

#include "conversionsettings.h"
#include "formattable.h"
#include "photometadata.h"

// What the encoder of one target format is told.
struct WriteOptions
{
    int quality = -1;     // lossy targets; -1: the encoder's default
    bool lossless = false; // WEBP and JPEG XL
    int pngLevel = 3;      // zlib level 0 to 9
    int tiffCompression = TiffNoCompression;
    double qualityFraction = 0; // added to quality by an encoder that takes fractions (JPG, WEBP)
};

// The options the settings give a target of the given format.
WriteOptions writeOptionsFor(const ConversionSettings &settings, const ImageFormat &format);

// The general writer: every image target, through the encoder its format's
// row names. A failure returns false, leaves no file behind and describes
// itself in *error. The metadata goes into every target that can hold it
// (the row's metadata route).
bool writeImageFile(const QImage &image, const QString &targetPath, const ImageFormat &format,
                    const WriteOptions &options, QString *error = nullptr, const PhotoMetadata &metadata = {});

// The general writer's encoding into memory, metadata included, for a target
// of the given format. False with the reason in *error.
bool encodeImage(const QImage &image, const ImageFormat &format, const WriteOptions &options,
                 const PhotoMetadata &metadata, QByteArray *bytes, QString *error);

// Writes encoded bytes as the target through a TargetFile; false, nothing
// left behind, with the reason in *error.
bool writeEncodedFile(const QByteArray &bytes, const QString &targetPath, QString *error);

// The WEBP writer: libwebp fed with the picture's own pixels, its colour
// profile in an ICCP chunk (unappliedProfile when its colour space is not
// valid: a profile Qt could not parse); lossless when asked or at quality 100.
bool encodeWebp(const QImage &image, const WriteOptions &options, QIODevice *device, QString *error,
                const QByteArray &unappliedProfile = {});

// The JPEG writer: libjpeg with optimised Huffman tables, progressive scans,
// the picture's density and, for colour, its profile, as Qt's writer stores
// them, so that a whole quality gives Qt's file; a fraction of a point scales
// the quantisation tables in between.
bool encodeJpeg(const QImage &image, const WriteOptions &options, QIODevice *device, QString *error);

// The GIF writer: one GIF89a frame through giflib.
bool writeGif(const QImage &image, const QString &targetPath, QString *error = nullptr);

// The device an encoder writes a target through. It replaces the target only
// once every byte reached the disk: a QSaveFile alone forgets a failed write
// (its error is cleared by the next write that succeeds) and can commit a
// truncated file after a short write on a full disk. So every write is
// checked here and the first failure kept, with the system's reason.
class TargetFile : public QIODevice
{
public:
    explicit TargetFile(const QString &targetPath);

    // Opens the temporary file and this device for writing.
    bool open();
    bool failed() const { return !failure.isEmpty(); }
    // The first failure's reason, or the file's own error text.
    QString failureReason() const;
    // Replaces the target, or leaves nothing behind and gives the reason in *error.
    bool commit(QString *error);
    void cancel();

    bool isSequential() const override { return false; }
    bool seek(qint64 pos) override;
    qint64 size() const override { return file.size(); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override;

private:
    void noteFailure();

    QSaveFile file;
    QString failure;
};
