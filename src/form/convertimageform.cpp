#include "convertimageform.h"
#include "ui_convertimageform.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QStackedLayout>
#include <QStyle>
#include <QStyleHints>
#include <QTabBar>
#include <QToolButton>
#include <QUrl>

#include <utility>

#include "aboutdialog.h"
#include "cocoacode.h"
#include "resourceimages.h"
#include "targetformats.h"

namespace {

// Icons of the tool buttons by theme; a disabled picture, where given, is shown
// whenever the button is disabled, in both themes.
struct ThemeIcon
{
    const char *button;
    const char *light;
    const char *dark;
    const char *disabled;
};

const ThemeIcon themeIcons[] = {
    {"convertButton", "Convert24.png", "ConvertWhite24.png", "ConvertGray24.png"},
    {"addFilesButton", "AddFile24.png", "AddFileWhite24.png", nullptr},
    {"addFolderButton", "AddFolder24.png", "AddFolderWhite24.png", nullptr},
    {"removeButton", "Delete24.png", "DeleteWhite24.png", "DeleteGray24.png"},
    {"clearButton", "shortcut24.png", "shortcutWhite24.png", "shortcutGray24.png"},
    {"upButton", "ArrowUp24.png", "ArrowUpWhite24.png", "ArrowUpGray24.png"},
    {"downButton", "ArrowDown24.png", "ArrowDownWhite24.png", "ArrowDownGray24.png"},
    {"websiteButton", "websiteIcon24.png", "websiteWhiteIcon24.png", nullptr},
    {"aboutButton", "About24.png", "AboutWhite24.png", nullptr},
    {"outputFolderButton", "folder16.png", "folderWhite16.png", nullptr},
    {"pdfFilenameButton", "folder16.png", "folderWhite16.png", nullptr},
    {"pdfPageOrientationPortraitButton", "Portrait.png", "PortraitWhite.png", nullptr},
    {"pdfPageOrientationLanscapeButton", "Landscape.png", "LandscapeWhite.png", nullptr},
    {"pdfNoMarginButton", "Image.png", "ImageWhite.png", nullptr},
    {"pdfAddMarginButton", "ImageBorder.png", "ImageBorderWhite.png", nullptr},
    {"tabResetButton", "Reset24.png", "ResetWhite24.png", nullptr},
};

const char *const positionNames[] = {
    QT_TRANSLATE_NOOP("ConvertImageForm", "Top - Left"),     QT_TRANSLATE_NOOP("ConvertImageForm", "Top - Center"),
    QT_TRANSLATE_NOOP("ConvertImageForm", "Top - Right"),    QT_TRANSLATE_NOOP("ConvertImageForm", "Center - Left"),
    QT_TRANSLATE_NOOP("ConvertImageForm", "Center - Center"), QT_TRANSLATE_NOOP("ConvertImageForm", "Center - Right"),
    QT_TRANSLATE_NOOP("ConvertImageForm", "Bottom - Left"),  QT_TRANSLATE_NOOP("ConvertImageForm", "Bottom - Center"),
    QT_TRANSLATE_NOOP("ConvertImageForm", "Bottom - Right"),
};

bool isDarkColourScheme()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    return QGuiApplication::styleHints()->colorScheme() == Qt::ColorScheme::Dark;
#else
    // Qt 6.4 has no colour scheme hint; a dark window background means a dark theme.
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
#endif
}

// A label's text as a name: without the closing colon.
QString labelName(const QLabel *label)
{
    QString text = label->text().trimmed();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}

QIcon themeIcon(const ThemeIcon &entry, bool dark)
{
    QIcon icon(resourceImage(QLatin1String(dark ? entry.dark : entry.light)));
    if (entry.disabled)
        icon.addFile(resourceImage(QLatin1String(entry.disabled)), QSize(), QIcon::Disabled);
    return icon;
}

} // namespace

ConvertImageForm::ConvertImageForm(QWidget *parent) : QWidget(parent), ui(new Ui::ConvertImageForm)
{
    // Flags are cleared by their initialisers; the preview countdown ticks every 75 ms.
    updateTimer.setInterval(75);
    connect(&updateTimer, &QTimer::timeout, this, &ConvertImageForm::on_updateTimer);

    // The generated form, "Adjustments" current while building, slots connected by name.
    ui->setupUi(this);
    // Before any handler can run: the handlers find their settings in it.
    setupControlSettings();
    mainLayout = ui->mainLayout;

    setupSourceList();
    fillFixedLists();
    setupLeftColumn();
    connect(ui->colorWidget, &KXColorWidget::colorUpdated, this, &ConvertImageForm::on_ColorUpdated);
    connect(ui->previewImage, &ConvertImagePreviewLabel::mouseDoubleClick, this,
            &ConvertImageForm::on_PreviewImage_DoubleClick);
    setupPredictedSize();
    setupAlsoWrite();

    // The folder chooser; its dialogs open over the window. It is never shown itself.
    folderChooser = new CocoaCode(this);
    folderChooser->hide();
    connect(folderChooser, &CocoaCode::folderSelected, this, &ConvertImageForm::on_FolderSelected);
    setupPdfTiles();

    // Settings into the record and the controls, with the handlers still off.
    loadSettings();

    ui->tabWidget->setCurrentWidget(ui->outputFolderTab);
    for (QAbstractButton *button :
         {ui->removeButton, ui->clearButton, ui->convertButton, ui->upButton, ui->downButton})
        button->setEnabled(false);
    ui->line4->hide();
    setupColumns();
    setupAccessibleNames();
    setupPdfSummary();
    setupWheelGuard();
    setupShortcuts();
    setupRunSummary();

    updateTheme();
    handlersEnabled = true;
}

void ConvertImageForm::setupSourceList()
{
    model.setHorizontalHeaderLabels({tr("File List"), tr("Path")});
    ui->sourceTreeView->setModel(&model);
    // The output name preview follows the first file of the list.
    connect(&model, &QAbstractItemModel::rowsInserted, this, &ConvertImageForm::updateFileNamePreview);
    connect(&model, &QAbstractItemModel::rowsRemoved, this, &ConvertImageForm::updateFileNamePreview);
    connect(&model, &QAbstractItemModel::rowsMoved, this, &ConvertImageForm::updateFileNamePreview);
    ui->sourceTreeView->setColumnHidden(1, true);
    ui->sourceTreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->sourceTreeView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(ui->sourceTreeView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ConvertImageForm::on_itemSelection_changed);
    ui->sourceTreeView->setIconSize(QSize(64, 64));
    // Drag and drop inside the list.
    ui->sourceTreeView->setAcceptDrops(true);
    ui->sourceTreeView->setDragEnabled(true);
    ui->sourceTreeView->setDragDropMode(QAbstractItemView::InternalMove);
    ui->sourceTreeView->setDefaultDropAction(Qt::MoveAction);
    connect(ui->sourceTreeView, &ConvertImageTreeView::addURLs, this, &ConvertImageForm::on_AddURLs);
}

// Combo boxes with fixed items; a target's row is its stored index. The
// three position lists hold the same entries.
void ConvertImageForm::fillFixedLists()
{
    for (const ImageFormat &format : targetFormats())
        ui->targetComboBox->addItem(format.label);
    ui->relativeToComboBox->addItems({tr("Width"), tr("Height")});
    ui->pdfPaperSizeComboBox->addItems({tr("Letter"), QStringLiteral("A4"), QStringLiteral("A5"), tr("Legal"),
                                        tr("Executive")});
    ui->pdfQualityComboBox->addItems({QStringLiteral("96 dpi"), QStringLiteral("150 dpi"), QStringLiteral("300 dpi"),
                                      QStringLiteral("400 dpi"), QStringLiteral("600 dpi"),
                                      QStringLiteral("1200 dpi")});
    for (const char *name : positionNames)
        ui->positionComboBox->addItem(tr(name));
    for (int i = 0; i < ui->positionComboBox->count(); ++i) {
        ui->imagePositionComboBox->addItem(ui->positionComboBox->itemText(i));
        ui->qrCodePositionComboBox->addItem(ui->positionComboBox->itemText(i));
    }
}

// The left column stacks the list (page 0) over the drop zone (page 1).
void ConvertImageForm::setupLeftColumn()
{
    pageLayout = new QStackedLayout(ui->sourceColumnWidget);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(ui->sourceTreeView);
    pageLayout->addWidget(ui->sourceFrame);
    pageLayout->setCurrentIndex(1);
    ui->sourceFrame->setAcceptDrops(true);
    connect(ui->sourceFrame, &ConvertImageFrame::addURLs, this, &ConvertImageForm::on_AddURLs);
}

// Each pair of PDF tiles is one choice, whatever checks a tile: a click,
// assistive technology or code. A tile checked without a click counts as its click.
void ConvertImageForm::setupPdfTiles()
{
    for (const auto &pair : {std::pair(ui->pdfPageOrientationPortraitButton, ui->pdfPageOrientationLanscapeButton),
                             std::pair(ui->pdfNoMarginButton, ui->pdfAddMarginButton)}) {
        auto *group = new QButtonGroup(this);
        group->addButton(pair.first);
        group->addButton(pair.second);
    }
    const std::pair<QAbstractButton *, void (ConvertImageForm::*)()> tiles[] = {
        {ui->pdfPageOrientationPortraitButton, &ConvertImageForm::on_pdfPageOrientationPortraitButton_clicked},
        {ui->pdfPageOrientationLanscapeButton, &ConvertImageForm::on_pdfPageOrientationLanscapeButton_clicked},
        {ui->pdfNoMarginButton, &ConvertImageForm::on_pdfNoMarginButton_clicked},
        {ui->pdfAddMarginButton, &ConvertImageForm::on_pdfAddMarginButton_clicked},
    };
    for (const auto &[tile, choose] : tiles) {
        connect(tile, &QAbstractButton::toggled, this, [this, choose = choose](bool checked) {
            if (checked)
                (this->*choose)();
        });
    }
}

void ConvertImageForm::setupColumns()
{
    // A control reached with the keyboard inside the scroll area is scrolled
    // into view, also when the focus comes into it from outside.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && ui->outputScrollArea->widget()->isAncestorOf(now))
            ui->outputScrollArea->ensureWidgetVisible(now);
    });
    // The settings column keeps its width when the window is resized; the
    // splitter between the columns widens it.
    ui->columnsSplitter->setStretchFactor(0, 1);
    ui->columnsSplitter->setStretchFactor(1, 0);
    // At first as wide as every tab label needs.
    const int frame = ui->tabWidget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, ui->tabWidget);
    setSettingsColumnWidth(
        qMax(ui->tabWidget->minimumWidth(), ui->tabWidget->tabBar()->sizeHint().width() + 2 * frame));
}

// Names for assistive technology. Fields are named by their labels, as
// buddies, so a label that changes its text renames its field.
void ConvertImageForm::setupAccessibleNames()
{
    ui->tabResetButton->setToolTip(tr("Reset Settings"));
    for (QToolButton *button : ui->toolbarWidget->findChildren<QToolButton *>())
        button->setAccessibleName(button->toolTip());
    ui->tabResetButton->setAccessibleName(ui->tabResetButton->toolTip());
    ui->outputFolderButton->setAccessibleName(tr("Choose the output folder"));
    ui->pdfFilenameButton->setAccessibleName(tr("Choose the PDF file"));
    ui->textClearButton->setAccessibleName(tr("Clear the text"));
    ui->imageClearButton->setAccessibleName(tr("Clear the image"));
    ui->qrCodeTextClearButton->setAccessibleName(tr("Clear the QR code text"));
    ui->colorButton->setAccessibleName(tr("Change the colour"));
    ui->sourceTreeView->setAccessibleName(tr("Files to convert"));
    ui->fileSizeLimitSpinBox->setAccessibleName(tr("Largest file size"));
    const std::pair<QLabel *, QWidget *> labelled[] = {
        {ui->targetLabel, ui->targetComboBox},
        {ui->qualityLabel, ui->qualitySpinBox},
        {ui->outputFolderLabel, ui->outputFolderLineEdit},
        {ui->pdfFilenameLabel, ui->pdfFilenameLineEdit},
        {ui->existingFileLabel, ui->existingFileComboBox},
        {ui->fileNamePatternLabel, ui->fileNamePatternLineEdit},
        {ui->pngLevelLabel, ui->pngLevelSpinBox},
        {ui->tiffCompressionLabel, ui->tiffCompressionComboBox},
        {ui->rawPicturesLabel, ui->rawPicturesComboBox},
        {ui->pdfSourceDpiLabel, ui->pdfSourceDpiSpinBox},
        {ui->metadataLabel, ui->metadataComboBox},
        {ui->colourHandlingLabel, ui->colourHandlingComboBox},
        {ui->pagesAndFramesLabel, ui->pagesAndFramesComboBox},
        {ui->fileSizeMinQualityLabel, ui->fileSizeMinQualitySpinBox},
        {ui->pdfPaperSizeLabel, ui->pdfPaperSizeComboBox},
        {ui->pdfQualityLabel, ui->pdfQualityComboBox},
        {ui->pdfMarginSizeLabel, ui->pdfMarginSizeSpinBox},
        {ui->absoluteWidthLabel, ui->absoluteWidthLineEdit},
        {ui->absoluteHeightLabel, ui->absoluteHeightLineEdit},
        {ui->fitLabel, ui->scaleFitComboBox},
        {ui->resamplingLabel, ui->resamplingComboBox},
        {ui->backgroundLabel, ui->backgroundColourButton},
        {ui->relativeToLabel, ui->relativeToComboBox},
        {ui->relativeValueLabel, ui->relativeValueLineEdit},
        {ui->textLabel, ui->textLineEdit},
        {ui->fontLabel, ui->fontComboBox},
        {ui->sizeLabel, ui->sizeSpinBox},
        {ui->colorLabel, ui->colorWidget},
        {ui->positionLabel, ui->positionComboBox},
        {ui->opacityLabel, ui->opacitySpinBox},
        {ui->marginLabel, ui->marginSpinBox},
        {ui->imageSizeLabel, ui->imageSizeSpinBox},
        {ui->imagePositionLabel, ui->imagePositionComboBox},
        {ui->imageOpacityLabel, ui->imageOpacitySpinBox},
        {ui->imageMarginLabel, ui->imageMarginSpinBox},
        {ui->qrCodeTextLabel, ui->qrCodeTextEdit},
        {ui->qrCodeSizeLabel, ui->qrCodeSizeSpinBox},
        {ui->qrCodePositionLabel, ui->qrCodePositionComboBox},
        {ui->qrCodeMarginLabel, ui->qrCodeMarginSpinBox},
        {ui->contrastLabel, ui->contrastSlider},
        {ui->brightnessLabel, ui->brightnessSlider},
        {ui->gammaLabel, ui->gammaSlider},
        {ui->invertColorsLabel, ui->invertColorsSlider},
        {ui->gaussianBlurLabel, ui->gaussianBlurSlider},
    };
    for (const auto &[label, field] : labelled)
        label->setBuddy(field);
    // A label has one buddy: the number beside each slider gets its name.
    const std::pair<QLabel *, QWidget *> besideSliders[] = {
        {ui->contrastLabel, ui->contrastSpinBox},
        {ui->brightnessLabel, ui->brightnessSpinBox},
        {ui->gammaLabel, ui->gammaSpinBox},
        {ui->invertColorsLabel, ui->invertColorsSpinBox},
        {ui->gaussianBlurLabel, ui->gaussianBlurSpinBox},
    };
    for (const auto &[label, field] : besideSliders)
        field->setAccessibleName(labelName(label));
    ui->percentageSpinBox->setAccessibleName(tr("Percentage"));
    ui->longEdgeLineEdit->setAccessibleName(tr("Long edge"));
    ui->fontComboBox->lineEdit()->setAccessibleName(labelName(ui->fontLabel));
    ui->tabWidget->setAccessibleName(labelName(ui->tabTileLabel));
}

// The PDF page in one line of text, kept by the controls it sums up.
void ConvertImageForm::setupPdfSummary()
{
    pdfSummaryLabel = new QLabel(ui->pdfGroupBox);
    pdfSummaryLabel->setObjectName(QStringLiteral("pdfSummaryLabel"));
    ui->pdfGroupLayout->insertWidget(0, pdfSummaryLabel);
    connect(ui->pdfPaperSizeComboBox, &QComboBox::currentIndexChanged, this, &ConvertImageForm::showPdfSummary);
    connect(ui->pdfPageOrientationLanscapeButton, &QAbstractButton::toggled, this, &ConvertImageForm::showPdfSummary);
    showPdfSummary();
}

// The wheel scrolls the settings: a value control takes it only when it
// has the focus, and the wheel does not give the focus.
void ConvertImageForm::setupWheelGuard()
{
    for (QWidget *control : findChildren<QWidget *>()) {
        if (qobject_cast<QComboBox *>(control) || qobject_cast<QAbstractSpinBox *>(control)
            || qobject_cast<QSlider *>(control)) {
            control->setFocusPolicy(Qt::StrongFocus);
            control->installEventFilter(this);
        }
    }
}

// Keyboard shortcuts for the toolbar's commands; the tooltips name them.
void ConvertImageForm::setupShortcuts()
{
    const std::pair<QAbstractButton *, QKeySequence> shortcuts[] = {
        {ui->addFilesButton, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {ui->addFolderButton, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)},
        {ui->removeButton, QKeySequence(Qt::Key_Delete)},
        {ui->convertButton, QKeySequence(Qt::CTRL | Qt::Key_Return)},
    };
    for (const auto &[button, keys] : shortcuts) {
        // A disabled button ignores its click, so the shortcut follows its state.
        connect(new QShortcut(keys, this), &QShortcut::activated, button, &QAbstractButton::click);
        button->setToolTip(button->toolTip() + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText)
                           + QLatin1Char(')'));
    }
}

ConvertImageForm::~ConvertImageForm()
{
    shutdownAddUrlsWorker();
    shutdownPreviewWorkers();
    delete folderChooser;
    delete ui;
}

bool ConvertImageForm::eventFilter(QObject *watched, QEvent *event)
{
    // Ignored, the wheel goes on to the control's parents: the scroll area.
    if (event->type() == QEvent::Wheel && !static_cast<QWidget *>(watched)->hasFocus()) {
        event->ignore();
        return true;
    }
    // Alt+letter is a menu's or a label's mnemonic; one that names none must
    // not pick the list entry of that letter.
    if (event->type() == QEvent::KeyPress && qobject_cast<QComboBox *>(watched)
        && (static_cast<QKeyEvent *>(event)->modifiers() & Qt::AltModifier)
        && !static_cast<QKeyEvent *>(event)->text().isEmpty())
        return true;
    return QWidget::eventFilter(watched, event);
}

int ConvertImageForm::settingsColumnWidth() const
{
    return ui->columnsSplitter->sizes().value(1);
}

void ConvertImageForm::setSettingsColumnWidth(int width)
{
    // The list takes what is left; the splitter keeps each side's minimum.
    const QList<int> sizes = ui->columnsSplitter->sizes();
    const int total = qMax(sizes.value(0) + sizes.value(1), ui->sourceColumnWidget->minimumWidth() + width);
    ui->columnsSplitter->setSizes({total - width, width});
}

void ConvertImageForm::showPdfSummary()
{
    const QString orientation =
        ui->pdfPageOrientationLanscapeButton->isChecked() ? tr("landscape") : tr("portrait");
    pdfSummaryLabel->setText(tr("Page: %1, %2").arg(ui->pdfPaperSizeComboBox->currentText(), orientation));
}

void ConvertImageForm::OnShowToolbarSignal(bool show)
{
    emit showToolbarSignal(show);
}

void ConvertImageForm::updateTheme()
{
    const bool dark = isDarkColourScheme();
    ui->previewImage->update();
    ui->tabToolbarWidget->setStyleSheet(dark ? QStringLiteral("background-color:#3F3F3F;")
                                             : QStringLiteral("background-color:#E2E2E2;"));
    for (const ThemeIcon &entry : themeIcons) {
        if (auto *button = findChild<QAbstractButton *>(QLatin1String(entry.button)))
            button->setIcon(themeIcon(entry, dark));
    }
    ui->label_2->setPixmap(QPixmap(resourceImage(dark ? QStringLiteral("DropLogoWhite.png")
                                                      : QStringLiteral("DropLogo.png"))));
    // The dark style barely shades a checked tool button: the chosen
    // orientation gets a clear frame and fill there.
    const QString checkedMark = dark ? QStringLiteral("QToolButton:checked { background-color: #2D5F8F;"
                                                      " border: 2px solid #8AB8E6; border-radius: 3px; }")
                                     : QString();
    ui->pdfPageOrientationPortraitButton->setStyleSheet(checkedMark);
    ui->pdfPageOrientationLanscapeButton->setStyleSheet(checkedMark);
}

void ConvertImageForm::setConverting(bool converting)
{
    ui->addFilesButton->setEnabled(!converting);
    ui->addFolderButton->setEnabled(!converting);
    ui->clearButton->setEnabled(!converting);
    ui->targetComboBox->setEnabled(!converting);
    ui->convertButton->setEnabled(!converting);
    ui->sourceTreeView->setEnabled(!converting);
    ui->sourceFrame->setEnabled(!converting);
    runSummaryLabel->setVisible(!converting && !runSummaryLabel->text().isEmpty());
    if (converting || !listHasSelection) {
        ui->removeButton->setEnabled(false);
        ui->upButton->setEnabled(false);
        ui->downButton->setEnabled(false);
    } else {
        ui->removeButton->setEnabled(true);
        ui->upButton->setEnabled(canMoveUp);
        ui->downButton->setEnabled(canMoveDown);
    }
    updateTheme();
}

void ConvertImageForm::requestStopForClose()
{
    closeRequested = true;
    stopPreviewForClose();
    if (conversionBusy)
        stopConversionForClose();
}

void ConvertImageForm::on_aboutButton_clicked()
{
    // The dialog deletes itself when closed, by its Close button or otherwise.
    auto *about = new AboutDialog(this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->exec();
}

void ConvertImageForm::on_websiteButton_clicked()
{
    QDesktopServices::openUrl(QUrl(AboutDialog::websiteAddress()));
}
