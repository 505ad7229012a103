#pragma once

#include <functional>
#include <variant>

#include <QFont>
#include <QHash>
#include <QItemSelection>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QStandardItemModel>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "conversionsettings.h"

class QLabel;
class QStackedLayout;
class QVBoxLayout;
class CocoaCode;
class ConvertImageAddUrlsThread;
class ConvertProgressForm;
class LoadPreviewImageThread;
class PreviewDialog;
class PredictedSizeLabel;

namespace Ui {
class ConvertImageForm;
}

// The whole working area of the main window: toolbar, source list or drop
// zone, settings tabs and the inline preview. The form is implemented over
// several files, one per concern (construction and theme, settings handlers,
// list, conversion, preview).
class ConvertImageForm : public QWidget
{
    Q_OBJECT

public:
    explicit ConvertImageForm(QWidget *parent = nullptr);
    ~ConvertImageForm() override;

    bool conversionBusy = false;
    bool previewLoading = false;

    void updateTheme();
    void setConverting(bool converting);
    void requestStopForClose();

    // The debounced preview request.
    void loadImage(const QString &path, bool refresh);

    // Settings store access (the record itself is conversionSettings()).
    void loadSettings();
    void saveSetting(int id);
    void updateControlsFromSettings();
    // Settings files in the store's layout, for the command line or another
    // machine. An import loads like the store (numbers clamped), becomes the
    // stored settings and shows in the controls; unknown keys and values of the
    // wrong type are left out and listed in ignored, with their lines. False
    // when the file cannot be written or read.
    bool exportSettings(const QString &path);
    bool importSettings(const QString &path, QStringList *ignored = nullptr);
    // The preset last applied (or saved) in the window, kept across starts:
    // the line under the toolbar names it and marks when the settings differ
    // from it, and "Also write:" leaves it out while they do not.
    void setAppliedPreset(const QString &name);

    // Connected by hand in the constructor. They are plain members, not slots:
    // connect-by-name would otherwise look for objects called "itemSelection"
    // and "PreviewImage" and warn at every start.
    void on_itemSelection_changed(const QItemSelection &selected, const QItemSelection &deselected);
    void on_PreviewImage_DoubleClick();

    // Size fields take free text; anything that is not a decimal integer counts as 0.
    static int decimalOrZero(const QString &text);

    // The width of the settings column beside the list, as the splitter sets it.
    int settingsColumnWidth() const;
    void setSettingsColumnWidth(int width);

    // The source list and the previewed file, for tests.
    QStandardItemModel *fileListModel() { return &model; }
    const QString &previewPath() const { return previewFilePath; }

signals:
    void showToolbarSignal(bool show);
    // The window is closing and the worker that kept it open has reported:
    // the main window closes itself. The form does not close (hide) itself, as
    // the window may still refuse the close for another busy worker.
    void closeApp();
    // A run's progress and end, for the desktop outside the window: files
    // done of the pass's count, the completion message when it is shown, and
    // the end of the run once the form is back at its list.
    void conversionProgress(int done, int total);
    void conversionCompleted(const QString &message);
    void conversionEnded();

public slots:
    void OnShowToolbarSignal(bool show);

    // --- toolbar, list and about (construction / list concerns) ---
    void on_aboutButton_clicked();
    void on_websiteButton_clicked();
    void on_removeButton_clicked();
    void on_clearButton_clicked();
    void on_upButton_clicked();
    void on_downButton_clicked();

    // --- adding files ---
    void on_addFilesButton_clicked();
    void on_addFolderButton_clicked();
    void on_ImageFilesSelected(const QStringList &pathList);
    void on_AddURLs(const QList<QUrl> &urls);
    void onAddUrlsThreadBegin();
    void onAddUrlsThreadEnd();
    void onAddUrlsFinish(const QString &lastPath);
    void onAddUrlsThreadDestroy();
    // The list icon arrives as an image; the pixmap is made here, on the GUI thread.
    void onGetItemIconProcessFinish(const QImage &pixmap, const QString &fileName, const QString &path,
                                    const QString &sizeStr, int index);

    // --- conversion ---
    void on_convertButton_clicked();
    void on_pdfFilenameButton_clicked();
    void handleStartConvertSignal();
    void handleFinishConvertSignal();

    // --- preview ---
    void on_previewDialogClosed();
    void handleUpdatePreviewImage(const QImage &image);
    void on_updateTimer();

    // --- settings handlers ---
    // Most controls are bound by the control table (controlSettings); the
    // handlers named here connect by name and store through the same table.
    void on_tabResetButton_clicked();
    void on_outputFolderButton_clicked();
    void on_FolderSelected(const QString &path);
    void on_outputFolderLineEdit_textChanged(const QString &text);
    void on_percentageRadioButton_toggled(bool checked);
    void on_absoluteRadioButton_toggled(bool checked);
    void on_relativeRadioButton_toggled(bool checked);
    void on_percentageSpinBox_valueChanged(int value);
    void on_absoluteWidthLineEdit_textChanged(const QString &text);
    void on_absoluteHeightLineEdit_textChanged(const QString &text);
    void on_relativeToComboBox_currentIndexChanged(int index);
    void on_relativeValueLineEdit_textChanged(const QString &text);
    void on_textLineEdit_textChanged(const QString &text);
    void on_fontComboBox_currentFontChanged(const QFont &font);
    void on_sizeSpinBox_valueChanged(int value);
    void on_colorButton_clicked();
    void on_ColorUpdated(const QColor &color);
    void on_positionComboBox_currentIndexChanged(int index);
    void on_opacitySpinBox_valueChanged(int value);
    void on_marginSpinBox_valueChanged(int value);
    void on_textClearButton_clicked();
    void on_imageSelectButton_clicked();
    void on_imageClearButton_clicked();
    void on_imageSizeSpinBox_valueChanged(int value);
    void on_imagePositionComboBox_currentIndexChanged(int index);
    void on_imageOpacitySpinBox_valueChanged(int value);
    void on_imageMarginSpinBox_valueChanged(int value);
    void on_qrCodeTextEdit_textChanged();
    void on_qrCodeTextClearButton_clicked();
    void on_qrCodeSizeSpinBox_valueChanged(int value);
    void on_qrCodePositionComboBox_currentIndexChanged(int index);
    void on_qrCodeMarginSpinBox_valueChanged(int value);
    void on_pdfFilenameLineEdit_textChanged(const QString &text);
    void on_pdfPaperSizeComboBox_currentIndexChanged(int index);
    void on_pdfQualityComboBox_currentIndexChanged(int index);
    void on_pdfPageOrientationPortraitButton_clicked();
    void on_pdfPageOrientationLanscapeButton_clicked();
    void on_pdfNoMarginButton_clicked();
    void on_pdfAddMarginButton_clicked();
    void on_pdfMarginSizeSpinBox_valueChanged(int value);
    void on_targetComboBox_currentIndexChanged(int index);
    void on_qualitySpinBox_valueChanged(int value);
    void on_losslessCheckBox_toggled(bool checked);
    void on_longEdgeRadioButton_toggled(bool checked);
    void on_grayscaleCheckBox_toggled(bool checked);
    void on_sepiaCheckBox_toggled(bool checked);
    void on_contrastSlider_valueChanged(int value);
    void on_contrastSpinBox_valueChanged(int value);
    void on_brightnessSlider_valueChanged(int value);
    void on_brightnessSpinBox_valueChanged(int value);
    void on_gammaSlider_valueChanged(int value);
    void on_gammaSpinBox_valueChanged(int value);
    void on_invertColorsSlider_valueChanged(int value);
    void on_invertColorsSpinBox_valueChanged(int value);
    void on_gaussianBlurSlider_valueChanged(int value);
    void on_gaussianBlurSpinBox_valueChanged(int value);
    void on_resetButton_clicked();

private slots:
    // The change signal of a bound control without a handler of its own.
    void storeChangedControl();

protected:
    // Keeps the wheel from unfocused value controls (installed on each of them).
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // --- construction and theme (the constructor's steps, in their order) ---
    void setupSourceList();
    void fillFixedLists();
    void setupLeftColumn();
    void setupPdfTiles();
    void setupColumns();
    void setupAccessibleNames();
    void setupPdfSummary();
    void setupWheelGuard();
    void setupShortcuts();
    void setupRunSummary();
    void showPdfSummary();

    // --- the control table and the record (convertimageform_controls.cpp) ---
    enum PreviewRefresh { KeepPreview, RefreshPreview };
    // One row of the control table: the control shows the field stored under
    // key, and a change of it stores that field, refreshes the preview if asked
    // and then runs `after` (what follows the field elsewhere in the form).
    // The table connects the control's change signal by its type, unless a
    // handler of the form is connected to it by name, and gives number
    // controls the range of their key. Controls showing the same key (a slider
    // and its spin box) follow each other.
    struct ControlSetting
    {
        QWidget *control;
        const char *key;
        PreviewRefresh preview;
        std::function<void()> after = {};
        SettingField field = {};
    };
    void setupControlSettings();
    void bindControlSettings();
    const ControlSetting &controlSetting(const QWidget *control) const;
    // Stores what a control of the table shows, with the handlers off.
    void storeControl(QWidget *control);
    // The common body of the other handlers: applies `change` unless a handler
    // is already running, saves setting `id` and, for what shows in it, refreshes the preview.
    void changeSetting(int id, PreviewRefresh preview, const std::function<void(ConversionSettings &)> &change);

    // --- the Output tab and the target (convertimageform_output.cpp) ---
    void setPdfMargin(int margin);
    // The quality, lossless, PNG and TIFF controls of the target format.
    void showTargetOptions(int index);
    // The background colour's row: shown while the colour can reach the output.
    void showBackgroundChoice();
    // The size limit's controls: usable for a lossy target, otherwise
    // disabled with the reason as their tooltip.
    void showSizeLimitOptions(int index);
    void updateFileNamePreview();
    // The output folder's controls, unused while outputs go beside their sources.
    void showOutputFolderChoice();
    // "Also write:": the presets written as further outputs of a run.
    void setupAlsoWrite();
    void showAlsoWrite();
    // The preset and its settings as the settings file holds them; none when it is gone.
    void loadAppliedPreset(const QString &name);
    // The applied preset, unless the settings differ from it.
    QString unchangedPreset() const;
    void showRunSummary();

    // --- scale, watermarks and adjustments (convertimageform_settings.cpp) ---
    void setScaleControlsEnabled(bool enabled);
    void updateRelativeValueField(int relativeTo);
    void showWatermarkThumbnail(const QString &path);

    // --- adding files ---
    void startAddUrls(const QList<QUrl> &urls);
    // Where the add choosers open: the folder files were last added from.
    QString addStartFolder() const;
    // Stops a running add worker and waits for it (window closing).
    void shutdownAddUrlsWorker();
    // The source path of a list row by the entry-path rule.
    QString entryPathOfRow(int row) const;
    bool isListed(const QString &path) const;

    // --- conversion ---
    QString choosePdfFile();
    // Offers to make an output folder that was typed but does not exist.
    void offerToCreateOutputFolder();
    void startConversion(const QStringList &files, const QString &outputLocation, const QString &formatLabel,
                         const QString &extension, bool overwriteExisting);
    // Asks a running conversion to stop (part of requestStopForClose).
    void stopConversionForClose();
    // Takes a chosen PDF path as output folder and PDF file name: fields, record and store.
    void applyPdfPath(const QString &path);
    // The sources of the run, one per list row in row order.
    QStringList conversionSources() const;

    // --- preview ---
    void _loadImage(const QString &path, bool refresh);
    // The preview shows nothing and follows no file.
    void clearPreview();
    // Asks the running preview worker to stop (part of requestStopForClose).
    void stopPreviewForClose();
    // Stops and waits for every preview worker (form destruction).
    void shutdownPreviewWorkers();
    // The predicted output's line, under the preview picture.
    void setupPredictedSize();

public:
    Ui::ConvertImageForm *ui = nullptr;

private:
    QStandardItemModel model;
    bool convertAfterFolderChosen = false;
    bool listHasSelection = false;
    bool canMoveUp = false;
    bool canMoveDown = false;
    bool isPreviewDialogShown = false;
    bool convertImageAddUrlsThreadStat = false;
    LoadPreviewImageThread *previewThread = nullptr;
    ConvertImageAddUrlsThread *convertImageAddUrlsThread = nullptr;
    ConvertProgressForm *progressForm = nullptr;
    QVBoxLayout *mainLayout = nullptr;
    QStackedLayout *pageLayout = nullptr;
    bool handlersEnabled = false;
    bool closeRequested = false;
    // The file the preview shows or is about to show: a listed file or empty.
    QString previewFilePath;
    // The previewed file whose picture could not be made.
    QString unreadablePreviewPath;
    PreviewDialog *previewDialog = nullptr;
    PredictedSizeLabel *predictedSize = nullptr;
    int updateCountdown = 0;
    QTimer updateTimer;
    QString pendingPreviewPath;
    // Files handed to the window during a run, added when it ends.
    QList<QUrl> urlsAfterRun;
    bool pendingPreviewRefresh = false;
    // Every preview worker that has not reported yet, previewThread included.
    QList<LoadPreviewImageThread *> previewWorkers;
    // The pages or frames of the sources previewed so far, by path.
    QHash<QString, int> previewPageCounts;
    CocoaCode *folderChooser = nullptr;
    // The simple controls, in the order they are filled from the record.
    QList<ControlSetting> controlSettings;
    QLabel *pdfSummaryLabel = nullptr;
    QLabel *runSummaryLabel = nullptr;
    QString appliedPreset;
    ConversionSettings appliedPresetSettings;
};
