#include "removethumbnailsdialog.h"
#include "ui_removethumbnailsdialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QVBoxLayout>

#include "thumbnailcache.h"

namespace {
// Events are handled at most this often, so thousands of files go quickly.
constexpr int eventIntervalMilliseconds = 25;
}

RemoveThumbnailsDialog::RemoveThumbnailsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::RemoveThumbnailsDialog)
{
    ui->setupUi(this);
    auto *layout = new QVBoxLayout;
    layout->addWidget(ui->label);
    layout->addWidget(ui->cancelButton);
    setLayout(layout);
    // The clean-up handles events while it runs: keep the window behind from
    // taking input meanwhile.
    setWindowModality(Qt::ApplicationModal);
}

RemoveThumbnailsDialog::~RemoveThumbnailsDialog()
{
    delete ui;
}

void RemoveThumbnailsDialog::on_cancelButton_clicked()
{
    cancelled = true;
}

void RemoveThumbnailsDialog::removeThumbnails()
{
    if (running)
        return;
    running = true;
    const QString folder = thumbnailFolder();
    // Only pictures of the cache's kind: a file of another kind that someone
    // put into a folder of this name is not ours to delete.
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.webp")}, QDir::Files, QDir::Unsorted);
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    QCoreApplication::processEvents();
    for (const QString &name : names) {
        if (sinceEvents.elapsed() >= eventIntervalMilliseconds) {
            QCoreApplication::processEvents();
            sinceEvents.restart();
        }
        if (cancelled)
            break;
        QFile::remove(folder + name);
    }
    setThumbnailCleanupPending(false);
    running = false;
    emit closeApp();
}
