// Colours converted right: CMYK JPEGs of both kinds, and RGB profiles that Qt
// applies or cannot parse, against Little CMS's own conversion of the samples.

#include "imagemagickutil.h"
#include "kxprofiles.h"
#include "kxtest.h"

#include <QColorSpace>

#include <jpeglib.h>
#include <lcms2.h>

#include <cstdio>
#include <vector>

namespace {

// Flat 16-pixel patches, which JPEG at quality 100 keeps all but exact.
constexpr int patch = 16;
constexpr int across = 8;
constexpr int down = 6;

// Device samples of every pixel, patch by patch: values over the whole range,
// full ink and none among them.
QByteArray patchSamples(int components)
{
    QByteArray samples;
    for (int y = 0; y < down * patch; ++y)
        for (int x = 0; x < across * patch; ++x)
            for (int c = 0; c < components; ++c) {
                const int index = y / patch * across + x / patch;
                samples += char(index == 0 ? 0 : index == 1 ? 255 : (index * (c + 3) * 53 + c * 71) % 256);
            }
    return samples;
}

// CMYK samples are stored inverted under Adobe's marker, as its programs write them.
QByteArray jpegOf(const QByteArray &samples, int components, bool adobe, const QByteArray &icc = {})
{
    char *buffer = nullptr;
    size_t size = 0;
    FILE *memory = open_memstream(&buffer, &size);
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, memory);
    info.image_width = across * patch;
    info.image_height = down * patch;
    info.input_components = components;
    info.in_color_space = components == 4 ? JCS_CMYK : components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    // Full-size chroma: upsampled chroma would blend the patches' edges.
    info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    info.write_Adobe_marker = adobe;
    jpeg_start_compress(&info, TRUE);
    if (!icc.isEmpty())
        jpeg_write_icc_profile(&info, reinterpret_cast<const JOCTET *>(icc.constData()), unsigned(icc.size()));
    const int rowBytes = across * patch * components;
    std::vector<JSAMPLE> row(size_t(rowBytes), 0);
    for (int y = 0; y < down * patch; ++y) {
        for (int i = 0; i < rowBytes; ++i) {
            const JSAMPLE value = JSAMPLE(samples[y * rowBytes + i]);
            row[size_t(i)] = adobe && components == 4 ? JSAMPLE(255 - value) : value;
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(memory);
    const QByteArray bytes(buffer, qsizetype(size));
    std::free(buffer);
    return bytes;
}

// A printer's CMYK profile unlike the plain formula: inks that miss their
// ideal colours, a black that is not quite neutral.
QByteArray cmykProfile()
{
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab = cmsCreateTransform(srgb, TYPE_RGB_DBL, lab, TYPE_Lab_16, INTENT_PERCEPTUAL, 0);
    cmsStage *table = cmsStageAllocCLut16bit(nullptr, 9, 4, 3, nullptr);
    cmsStageSampleCLut16bit(table, [](const cmsUInt16Number in[], cmsUInt16Number out[], void *transform) {
        double ink[4];
        for (int c = 0; c < 4; ++c)
            ink[c] = in[c] / 65535.0;
        const double paper[3] = {0.97, 0.96, 0.93};
        double rgb[3];
        for (int c = 0; c < 3; ++c)
            rgb[c] = paper[c] * (1 - 0.9 * ink[c]) * (1 - 0.1 * ink[(c + 1) % 3]) * (1 - 0.88 * ink[3] - 0.02 * c * ink[3]);
        cmsDoTransform(transform, rgb, out, 1);
        return cmsInt32Number(TRUE);
    }, toLab, 0);
    cmsPipeline *pipeline = cmsPipelineAlloc(nullptr, 4, 3);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 4, nullptr));
    cmsPipelineInsertStage(pipeline, cmsAT_END, table);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigOutputClass);
    cmsSetColorSpace(profile, cmsSigCmykData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsWriteTag(profile, cmsSigAToB0Tag, pipeline);
    const QByteArray bytes = kxtest::savedProfile(profile);
    cmsPipelineFree(pipeline);
    cmsDeleteTransform(toLab);
    for (cmsHPROFILE each : {profile, lab, srgb})
        cmsCloseProfile(each);
    return bytes;
}

// Matrix profiles as Little CMS builds them.
QByteArray matrixProfile(const cmsCIExyYTRIPLE &primaries, cmsToneCurve *curve)
{
    cmsCIExyY white;
    cmsWhitePointFromTemp(&white, 6504);
    cmsToneCurve *curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    const QByteArray bytes = kxtest::savedProfile(profile);
    cmsCloseProfile(profile);
    cmsFreeToneCurve(curve);
    return bytes;
}

QByteArray adobeRgb()
{
    return matrixProfile({{0.64, 0.33, 1}, {0.21, 0.71, 1}, {0.15, 0.06, 1}}, cmsBuildGamma(nullptr, 563.0 / 256.0));
}

QByteArray displayP3()
{
    const double srgbCurve[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    return matrixProfile({{0.680, 0.320, 1}, {0.265, 0.690, 1}, {0.150, 0.060, 1}},
                         cmsBuildParametricToneCurve(nullptr, 4, srgbCurve));
}

// The samples in sRGB by Little CMS alone.
QImage referenceOf(const QByteArray &samples, int components, const QByteArray &icc)
{
    cmsHPROFILE source = cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size()));
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    const cmsUInt32Number type = components == 4 ? TYPE_CMYK_8 : components == 3 ? TYPE_RGB_8 : TYPE_GRAY_8;
    cmsHTRANSFORM transform = cmsCreateTransform(source, type, srgb, TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
    QImage image(across * patch, down * patch, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
        cmsDoTransform(transform, samples.constData() + y * image.width() * components, image.scanLine(y),
                       cmsUInt32Number(image.width()));
    cmsDeleteTransform(transform);
    cmsCloseProfile(srgb);
    cmsCloseProfile(source);
    return image;
}

// The mean CIEDE2000 difference of two sRGB pictures.
double meanDeltaE(const QImage &a, const QImage &b)
{
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab = cmsCreateTransform(srgb, TYPE_RGBA_16, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
    const QImage deepA = a.convertToFormat(QImage::Format_RGBX64);
    const QImage deepB = b.convertToFormat(QImage::Format_RGBX64);
    std::vector<cmsCIELab> labA(size_t(a.width()));
    std::vector<cmsCIELab> labB(size_t(a.width()));
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        cmsDoTransform(toLab, deepA.constScanLine(y), labA.data(), cmsUInt32Number(a.width()));
        cmsDoTransform(toLab, deepB.constScanLine(y), labB.data(), cmsUInt32Number(a.width()));
        for (int x = 0; x < a.width(); ++x)
            sum += cmsCIE2000DeltaE(&labA[size_t(x)], &labB[size_t(x)], 1, 1, 1);
    }
    cmsDeleteTransform(toLab);
    cmsCloseProfile(lab);
    cmsCloseProfile(srgb);
    return sum / (double(a.width()) * a.height());
}

} // namespace

class TestColours : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    // CMYK is converted whatever the setting; other profiles when sRGB is asked for.
    void convertsToSrgb_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("colours");
        QTest::addColumn<QImage>("reference");
        QTest::addColumn<int>("depth");
        const QByteArray cmyk = patchSamples(4);
        const QByteArray rgb = patchSamples(3);
        const QByteArray printer = cmykProfile();
        // Qt's reader takes every CMYK JPEG for Adobe's kind and applies no profile:
        // right for that kind alone.
        const QByteArray adobe = jpegOf(cmyk, 4, true);
        const QImage plainInks = QImage::fromData(adobe);
        QTest::newRow("cmyk adobe") << "a.jpg" << adobe << int(ColoursKeepProfile) << plainInks << 32;
        QTest::newRow("cmyk plain") << "p.jpg" << jpegOf(cmyk, 4, false) << int(ColoursKeepProfile) << plainInks << 32;
        const QImage printed = referenceOf(cmyk, 4, printer);
        QTest::newRow("cmyk adobe, profile") << "ap.jpg" << jpegOf(cmyk, 4, true, printer) << int(ColoursKeepProfile)
                                             << printed << 32;
        QTest::newRow("cmyk plain, profile, to sRGB") << "pp.jpg" << jpegOf(cmyk, 4, false, printer)
                                                      << int(ColoursToSrgb) << printed << 32;

        cmsHPROFILE wide = cmsOpenProfileFromMem(adobeRgb().constData(), cmsUInt32Number(adobeRgb().size()));
        const QByteArray lut = kxtest::lutProfileOf(wide, 17);
        cmsCloseProfile(wide);
        for (const auto &[name, icc] : {std::pair{"adobe rgb", adobeRgb()}, {"display p3", displayP3()}, {"lookup table", lut}})
            QTest::newRow(name) << QString(name) + ".jpg" << jpegOf(rgb, 3, false, icc) << int(ColoursToSrgb)
                                << referenceOf(rgb, 3, icc) << 32;
        // Linear grey stays grey.
        cmsToneCurve *linear = cmsBuildGamma(nullptr, 1.0);
        cmsHPROFILE greyProfile = cmsCreateGrayProfile(cmsD50_xyY(), linear);
        const QByteArray linearGrey = kxtest::savedProfile(greyProfile);
        cmsCloseProfile(greyProfile);
        cmsFreeToneCurve(linear);
        const QByteArray grey = patchSamples(1);
        QTest::newRow("linear grey") << "grey.jpg" << jpegOf(grey, 1, false, linearGrey) << int(ColoursToSrgb)
                                     << referenceOf(grey, 1, linearGrey) << 8;
        // 16-bit samples stay 16-bit.
        QImage deep(across * patch, down * patch, QImage::Format_RGBX64);
        for (int y = 0; y < deep.height(); ++y)
            for (int x = 0; x < deep.width(); ++x) {
                const uchar *sample = reinterpret_cast<const uchar *>(rgb.constData()) + (y * deep.width() + x) * 3;
                deep.setPixelColor(x, y, QColor(sample[0], sample[1], sample[2]));
            }
        deep.setColorSpace(QColorSpace::fromIccProfile(adobeRgb()));
        QByteArray png;
        QBuffer buffer(&png);
        QVERIFY(buffer.open(QIODevice::WriteOnly) && deep.save(&buffer, "png"));
        QTest::newRow("adobe rgb 16 bits") << "deep.png" << png << int(ColoursToSrgb) << referenceOf(rgb, 3, adobeRgb()) << 64;
    }

    void convertsToSrgb()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(int, colours);
        QFETCH(QImage, reference);
        QFETCH(int, depth);
        Rendering rendering;
        rendering.colours = colours;
        QImage loaded;
        QString reason;
        QVERIFY2(ImageMagickUtil().loadImage(kxtest::writeFile(m_dir.filePath(fileName), bytes), loaded, &reason, nullptr,
                                             rendering),
                 qPrintable(reason));
        QVERIFY(!loaded.colorSpace().isValid() || loaded.colorSpace() == QColorSpace::SRgb);
        QCOMPARE(loaded.depth(), depth);
        QCOMPARE(loaded.size(), reference.size());
        const double difference = meanDeltaE(loaded, reference);
        QVERIFY2(difference <= 1.0, qPrintable(QString::number(difference)));
    }
};

QTEST_MAIN(TestColours)
#include "tst_colours.moc"
