#include "convertimageform.h"
#include "ui_convertimageform.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QIcon>
#include <QPalette>
#include <QStackedLayout>
#include <QStyleHints>
#include <QUrl>

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
    "Top - Left",    "Top - Center",    "Top - Right",    "Center - Left",  "Center - Center",
    "Center - Right", "Bottom - Left", "Bottom - Center", "Bottom - Right",
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
    // 1. Flags are cleared by their initialisers; the preview countdown ticks every 75 ms.
    updateTimer.setInterval(75);
    connect(&updateTimer, &QTimer::timeout, this, &ConvertImageForm::on_updateTimer);

    // 2. The generated form, "Adjustments" current while building, slots connected by name.
    ui->setupUi(this);
    mainLayout = ui->mainLayout;

    // 3. The source list.
    model.setHorizontalHeaderLabels({QStringLiteral("File List"), QStringLiteral("Path")});
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

    // 4. Combo boxes with fixed items; the target rows record their indexes.
    int *const targetIndexes[] = {&avifIndex, &gifIndex,  &heicIndex, &heifIndex, &jpgIndex,
                                  &jxlIndex,  &pngIndex,  &tiffIndex, &webpIndex, &pdfIndex};
    const QList<TargetFormat> &formats = targetFormats();
    for (int i = 0; i < formats.size(); ++i) {
        ui->targetComboBox->addItem(formats.at(i).label);
        *targetIndexes[i] = ui->targetComboBox->count() - 1;
    }
    ui->relativeToComboBox->addItems({QStringLiteral("Width"), QStringLiteral("Height")});
    ui->pdfPaperSizeComboBox->addItems({QStringLiteral("Letter"), QStringLiteral("A4"), QStringLiteral("A5"),
                                        QStringLiteral("Legal"), QStringLiteral("Executive")});
    ui->pdfQualityComboBox->addItems({QStringLiteral("96 dpi"), QStringLiteral("150 dpi"), QStringLiteral("300 dpi"),
                                      QStringLiteral("400 dpi"), QStringLiteral("600 dpi"),
                                      QStringLiteral("1200 dpi")});

    // 5. The left column stacks the list (page 0) over the drop zone (page 1).
    pageLayout = new QStackedLayout(ui->sourceColumnWidget);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(ui->sourceTreeView);
    pageLayout->addWidget(ui->sourceFrame);
    pageLayout->setCurrentIndex(1);

    // 6. Drag and drop inside the list, and the widgets' own signals.
    ui->sourceTreeView->setAcceptDrops(true);
    ui->sourceTreeView->setDragEnabled(true);
    ui->sourceTreeView->setDragDropMode(QAbstractItemView::InternalMove);
    ui->sourceTreeView->setDefaultDropAction(Qt::MoveAction);
    connect(ui->sourceTreeView, &ConvertImageTreeView::addURLs, this, &ConvertImageForm::on_AddURLs);
    connect(ui->colorWidget, &KXColorWidget::colorUpdated, this, &ConvertImageForm::on_ColorUpdated);
    connect(ui->previewImage, &ConvertImagePreviewLabel::mouseDoubleClick, this,
            &ConvertImageForm::on_PreviewImage_DoubleClick);

    // 7. The three position lists hold the same entries.
    for (const char *name : positionNames)
        ui->positionComboBox->addItem(QLatin1String(name));
    for (int i = 0; i < ui->positionComboBox->count(); ++i) {
        ui->imagePositionComboBox->addItem(ui->positionComboBox->itemText(i));
        ui->qrCodePositionComboBox->addItem(ui->positionComboBox->itemText(i));
    }

    // 8. The output folder chooser.
    folderChooser = new CocoaCode();
    connect(folderChooser, &CocoaCode::folderSelected, this, &ConvertImageForm::on_FolderSelected);

    // 9. Settings into the record and the controls, with the handlers still off.
    loadSettings();

    // 10.-13.
    ui->tabWidget->setCurrentWidget(ui->outputFolderTab);
    ui->removeButton->setEnabled(false);
    ui->clearButton->setEnabled(false);
    ui->convertButton->setEnabled(false);
    ui->upButton->setEnabled(false);
    ui->downButton->setEnabled(false);
    ui->sourceFrame->setAcceptDrops(true);
    connect(ui->sourceFrame, &ConvertImageFrame::addURLs, this, &ConvertImageForm::on_AddURLs);
    ui->line4->hide();
    ui->sourceTreeView->setIconSize(QSize(64, 64));

    // 14.-15.
    updateTheme();
    handlersEnabled = true;
}

ConvertImageForm::~ConvertImageForm()
{
    shutdownAddUrlsWorker();
    shutdownPreviewWorkers();
    delete folderChooser;
    delete ui;
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
}

void ConvertImageForm::setConverting(bool converting)
{
    ui->addFilesButton->setEnabled(!converting);
    ui->clearButton->setEnabled(!converting);
    ui->targetComboBox->setEnabled(!converting);
    ui->convertButton->setEnabled(!converting);
    ui->sourceTreeView->setEnabled(!converting);
    ui->sourceFrame->setEnabled(!converting);
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
