#pragma once

#include <optional>
#include <variant>

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

class QSettings;
struct ImageFormat;

// The number under which saveConversionSetting writes one key (id 1 writes three).
enum SettingId {
    SettingOutputFolder = 0,
    SettingPdfFile = 1, // "pdfFileName", "resizeImageToPaper", "pdfSmoothEdges"
    SettingPdfPaperSize = 2,
    SettingScaleImage = 3,
    SettingScaleType = 4,
    SettingScalePercentage = 5,
    SettingScaleAbsoluteWidth = 6,
    SettingScaleAbsoluteHeight = 7,
    SettingScaleRelativeTo = 8,
    SettingScaleRelativeWidth = 9,
    SettingScaleRelativeHeight = 10,
    SettingTextContent = 11,
    SettingTextFont = 12,
    SettingTextSize = 13,
    SettingTextColor = 14,
    SettingTextPosition = 15,
    SettingTextOpacity = 16,
    SettingTextMargin = 17,
    SettingImagePath = 18,
    SettingImageSize = 19,
    SettingImagePosition = 20,
    SettingImageOpacity = 21,
    SettingImageMargin = 22,
    SettingQrCodeText = 23,
    SettingQrCodeSize = 24,
    SettingQrCodePosition = 25,
    SettingQrCodeMargin = 26,
    SettingAdjustGrayScale = 27,
    SettingAdjustSepia = 28,
    SettingAdjustContrast = 29,
    SettingAdjustBrightness = 30,
    SettingAdjustGamma = 31,
    SettingAdjustInvertColours = 32,
    SettingBlurRadius = 33,
    SettingTargetFileType = 100,
    SettingTargetFileQuality = 101,
    SettingLastPicturesDir = 102,
    SettingPdfPaperOrientation = 103,
    SettingPdfPaperMargin = 104,
    SettingPdfPaperMarginSize = 105,
    SettingPdfQuality = 108,
    SettingConvertJobs = 110,
    SettingKeepMetadata = 120,
    SettingRemoveLocation = 121,
    SettingKeepFileDates = 122,
    SettingExistingFilePolicy = 130,
    SettingKeepFolderStructure = 131,
    SettingFileNamePattern = 132,
    SettingWebpQuality = 133,
    SettingWebpLossless = 134,
    SettingAvifQuality = 135,
    SettingHeicQuality = 136,
    SettingHeifQuality = 137,
    SettingJxlQuality = 138,
    SettingJxlLossless = 139,
    SettingPngCompressionLevel = 140,
    SettingTiffCompression = 141,
    SettingScaleLongEdge = 142,
    SettingScaleDoNotEnlarge = 143,
    SettingPdfSourceDpi = 144,
    SettingRawPictures = 150,
    SettingPdfKeepJpeg = 157,
    SettingMetadata = 158, // also writes "keepMetadata" and "removeLocation"
    SettingIgnoreOrientation = 159,
    SettingOutputBesideSource = 160,
    SettingColourHandling = 152,
    SettingPagesAndFrames = 151,
    SettingLimitFileSize = 153,
    SettingFileSizeLimitKb = 154,
    SettingFileSizeMinQuality = 155,
    SettingShrinkToFileSize = 156,
    SettingAlsoWrite = 161,
    SettingJpegLossless = 180,
    SettingScaleFit = 170,
    SettingResampling = 171,
    SettingBackgroundColour = 172,
};

// Watermark positions, "Top - Left" (0) to "Bottom - Right" (8).
enum WatermarkPosition {
    PositionTopLeft = 0,
    PositionTopCenter,
    PositionTopRight,
    PositionCenterLeft,
    PositionCenterCenter,
    PositionCenterRight,
    PositionBottomLeft,
    PositionBottomCenter,
    PositionBottomRight,
};

enum PaperSize { PaperLetter = 0, PaperA4, PaperA5, PaperLegal, PaperExecutive };
enum PdfQuality { PdfQuality96 = 0, PdfQuality150, PdfQuality300, PdfQuality400, PdfQuality600, PdfQuality1200 };
enum ScaleType { ScaleByPercentage = 0, ScaleByAbsoluteSize = 1, ScaleByRelativeSize = 2, ScaleByLongEdge = 3 };
enum RelativeTo { RelativeToWidth = 0, RelativeToHeight = 1 };
// How a picture meets an absolute width and height ("Fit"): stretched to
// both, inside both, filling both and cropped (centred or on the part that
// draws the eye), or inside both and padded with the background colour.
enum ScaleFit { FitStretch = 0, FitInside, FitCover, FitCoverSmart, FitPad };
// The filter that scales pictures ("Resampling"): Qt's bilinear smoothing,
// Lanczos 3, or Lanczos 3 followed by a mild sharpening when reduced.
enum Resampling { ResampleSmooth = 0, ResampleLanczos, ResampleSharp };
enum PaperOrientation { OrientationPortrait = 0, OrientationLandscape = 1 };
enum MarginChoice { NoMargin = 0, AddMargin = 1 };
// What a run does with a target that already exists ("If the file exists").
enum ExistingFilePolicy { ExistingAsk = 0, ExistingOverwrite, ExistingSkip, ExistingKeepBoth };
enum TiffCompression { TiffNoCompression = 0, TiffLzwCompression = 1 };
// The resolution PDF sources are rendered at when nothing else asks for a size.
constexpr int defaultPdfSourceDpi = 150;
// How camera RAW sources are developed ("RAW pictures").
enum RawPictures { RawFullQuality = 0, RawHalfSize = 1, RawEmbeddedPreview = 2 };
// What the image targets keep of the source's metadata ("Metadata").
enum MetadataChoice { MetadataKeepAll = 0, MetadataNoLocation = 1, MetadataProfileOnly = 2, MetadataNone = 3 };
// What becomes of a source's colours ("Colours"): its profile kept, or the
// pixels converted to sRGB.
enum ColourHandling { ColoursKeepProfile = 0, ColoursToSrgb = 1 };
// What a run makes of the pages of a document and the frames of an animation
// ("Pages and frames"): the first only, one file for each, or animations
// kept where the target can hold them.
enum PagesAndFrames { PagesFirstOnly = 0, PagesEach = 1, PagesKeepAnimations = 2 };

// Every option of a conversion. Field names are the settings keys, their
// misspellings included, because the keys are the stored format.
struct ConversionSettings
{
    QString lastPicturesDir;
    int targeFileType = 0;
    int targeFileQuality = 95;
    QString outputFolder;
    QString pdfFileName;
    int pdfPaperSize = PaperLetter;
    bool resizeImageToPaper = false;
    bool pdfSmoothEdges = true;
    int pdfQuality = PdfQuality300;
    int pdfPaperOrientation = OrientationPortrait;
    int pdfPaperMargin = NoMargin;
    int pdfPaperMarginSize = 20;
    int existingFilePolicy = ExistingAsk;
    bool keepFolderStructure = false;
    QString fileNamePattern = QStringLiteral("{name}");
    // The encoders' own defaults, so that outputs stay as they were.
    int webpQuality = 75;
    bool webpLossless = false;
    int avifQuality = 70;
    int heicQuality = 60;
    int heifQuality = 60;
    int jxlQuality = 90;
    bool jxlLossless = false;
    int pngCompressionLevel = 3;
    int tiffCompression = TiffNoCompression;
    int rawPictures = RawFullQuality;
    // Not persisted: true while the current run writes a PDF. In a snapshot it
    // holds the value of the run flag at the time the snapshot was taken.
    bool outputIsPdf = false;
    bool scaleImage = false;
    int scaleType = ScaleByPercentage;
    int scalePercentage = 100;
    int scaleAbsoluteWitdh = 1920;
    int scaleAbsoluteHeight = 1080;
    int scaleRelativeTo = RelativeToWidth;
    int scaleRelativeWidth = 1920;
    int scaleRelativeHeight = 1080;
    int scaleLongEdge = 1600;
    bool scaleDoNotEnlarge = false;
    int scaleFit = FitStretch;
    int resampling = ResampleSmooth;
    // What transparent pixels are laid on where the target holds none, and
    // the colour of a padded picture's border.
    QColor backgroundColour = Qt::white;
    QString textContent;
    QFont textFont;
    int textSize = 12;
    QColor textColor = Qt::black;
    int textPosition = PositionBottomRight;
    int textOpacity = 100;
    int textMargin = 0;
    QString imagePath;
    int imageSize = 100;
    int imagePosition = PositionBottomRight;
    int imageOpacity = 100;
    int imageMargin = 0;
    QString qrCodeText;
    int qrCodeSize = 100;
    int qrCodePosition = PositionBottomRight;
    int qrCodeMargin = 0;
    int adjustGrayScale = 0;
    int adjustSepia = 0;
    int adjustContrast = 0;
    int adjustBrightness = 0;
    int adjustGamma = 0;
    int adjustInvertColours = 0;
    int setBlurRadius = 0;
    // Files converted at once: 0 one per core, 1 one after another, up to 64.
    int convertJobs = 0;
    // Photo metadata and file dates of the image targets.
    bool keepMetadata = true;
    bool removeLocation = false;
    bool keepFileDates = false;
    // The resolution the pages of PDF sources are rendered at ("PDF pages at ... dpi").
    int pdfSourceDpi = defaultPdfSourceDpi;
    // JPEG sources whose pixels nothing changes go into a PDF with their own data.
    bool pdfKeepJpeg = false;
    // A MetadataChoice. keepMetadata and removeLocation above are its older
    // form: loading, saving and setSettingFromText keep the three in step.
    int metadata = MetadataKeepAll;
    // The picture is left as stored, its orientation tag kept with it.
    bool ignoreOrientation = false;
    // Each target goes into its source's folder instead of outputFolder.
    bool outputBesideSource = false;
    int colourHandling = ColoursKeepProfile;
    int pagesAndFrames = PagesFirstOnly;
    // "At most ... KB per file" (1 KB = 1000 bytes) for the lossy targets: the
    // quality is searched, never below the floor, and a picture that does not
    // fit even then is scaled down unless shrinking is off.
    bool limitFileSize = false;
    int fileSizeLimitKb = 300;
    int fileSizeMinQuality = 40;
    bool shrinkToFileSize = true;
    // Presets written as further outputs of the same run ("Also write:"),
    // their names joined by ";".
    QString alsoWrite;
    // JPG from JPEG sources that are only turned upright or stripped of
    // metadata: the JPEG data is kept, turned losslessly, not re-encoded.
    bool jpegLossless = false;
};

// A stored key's field of the record, the id that saves it and, for an
// integer, the range its control accepts: what binds a control to its key.
using SettingMember = std::variant<QString ConversionSettings::*, int ConversionSettings::*,
                                   bool ConversionSettings::*, QFont ConversionSettings::*,
                                   QColor ConversionSettings::*>;
struct SettingField
{
    SettingMember member;
    int id = -1;
    int minimum = 0;
    int maximum = 0;
};
// The field stored under key; none for an unknown key.
std::optional<SettingField> settingField(const QString &key);

// The choice the older keys give, and the choice with its older keys set to match.
int metadataChoiceFor(bool keepMetadata, bool removeLocation);
void setMetadataChoice(ConversionSettings &settings, int choice);

// The one process-wide record. Written on the GUI thread only; workers never
// read it directly but work on a snapshotSettings() copy taken for them on the
// GUI thread when they are created.
ConversionSettings &conversionSettings();

// A copy of the record with outputIsPdf set from the run flag. Call on the GUI thread.
ConversionSettings snapshotSettings();

// The run flag written by the conversion worker at the start of every pass and
// read by later snapshots (it decides the scaling mode of later previews).
void setOutputIsPdf(bool isPdf);
bool outputIsPdf();

// The folder or PDF file that the last pass wrote to ("Open Folder").
void setLastOutputLocation(const QString &location);
QString lastOutputLocation();

// Store access: organisation "Kestrix", application "ConvertImage", group "MainApp".
// Loading brings every integer into the range its control accepts (a position
// outside 0..8 becomes 8); a choice outside its list keeps its number.
void loadConversionSettings(ConversionSettings &settings, const QFont &labelFont);
void saveConversionSetting(const ConversionSettings &settings, int id);

// The same, for any store of that layout, such as an exported settings file.
// Keys named in ignoredKeys load as if the store did not hold them.
void loadConversionSettings(QSettings &store, ConversionSettings &settings, const QFont &labelFont,
                            const QStringList &ignoredKeys = {});
void saveConversionSettings(QSettings &store, const ConversionSettings &settings);
// Every key into the program's own store (an imported settings file).
void saveConversionSettings(const ConversionSettings &settings);

enum class SettingType { Text, Integer, Boolean, Font, Colour };

// One stored key as a command line lists it. Integers carry the range their
// control accepts; the font's default (the interface font) has no text.
struct SettingKey
{
    QString name;
    SettingType type;
    int minimum;
    int maximum;
    QString defaultText;
};
QList<SettingKey> settingKeys();

// Sets the field stored under name from its text form, or leaves the record as
// it is and says why, naming the key and what it accepts. Integers must lie in
// their range; booleans are true/false/1/0; colours are names or #RRGGBB.
bool setSettingFromText(ConversionSettings &settings, const QString &name, const QString &text, QString *error);

// A key of a settings file that is unknown or holds a value setSettingFromText
// refuses. line counts from 1; 0 when the key's line could not be found.
struct SettingsFileProblem
{
    int line;
    QString key;
    QString reason;
};

// Checks the [MainApp] group of an INI settings file the way --set checks a
// value, in the order of the file's lines. Other groups are never read.
QList<SettingsFileProblem> settingsFileProblems(const QString &path);

// Restores scaling, watermarks, adjustments, the metadata options and the
// output options added with the existing-file policy to their defaults;
// target format, JPG quality, output folder and PDF setup keep their values.
void resetConversionSettings(ConversionSettings &settings, const QFont &labelFont);
// The keys whose values a reset restores, and writing named keys of the
// record into the program's own store (what a reset changed).
QStringList keysRestoredByReset();
void saveConversionSettings(const ConversionSettings &settings, const QStringList &keys);

// Builds the watermark font from a font description the way the store keeps it:
// the description is taken as a comma-separated family list, so the family is
// kept and size, weight and style stay at their defaults.
QFont fontFromDescription(const QString &description);

// The quality controls of a target format (an index of the target list, or
// its row of the format table): the stored quality and, for WEBP and JPEG XL,
// the lossless flag, each with the id that saves it. Null members for targets
// without them, and for an index outside the list.
struct TargetQuality
{
    int ConversionSettings::*quality = nullptr;
    int qualityId = -1;
    bool ConversionSettings::*lossless = nullptr;
    int losslessId = -1;
    // The range the quality's control accepts.
    int minimum = 0;
    int maximum = 0;
};
TargetQuality targetQualityFor(int targetIndex);
TargetQuality targetQualityFor(const ImageFormat &format);

// A watermark position as loaded: 0..8 unchanged, anything else 8.
int clampedPosition(int position);
