#include "aboutdialog.h"
#include "ui_aboutdialog.h"

const int kxVersionMajor = 4;
const int kxVersionMinor = 1;
const int kxVersionBuild = 2;

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent), ui(new Ui::AboutDialog)
{
    ui->setupUi(this);
    ui->versionLabel->setText(tr("Version: %1.%2.%3").arg(kxVersionMajor).arg(kxVersionMinor).arg(kxVersionBuild));
    ui->versionLabel->adjustSize();
    ui->webLabel->setText(QStringLiteral("<a href=\"%1\">kestrix.example</a>").arg(websiteAddress()));
    // The address follows its title after a space, whatever the font.
    ui->websiteTitleLabel->adjustSize();
    const int space = fontMetrics().horizontalAdvance(QLatin1Char(' '));
    ui->webLabel->move(ui->websiteTitleLabel->geometry().right() + 1 + space, ui->webLabel->y());
}

AboutDialog::~AboutDialog()
{
    delete ui;
}

QString AboutDialog::websiteAddress()
{
    return QStringLiteral("https://kestrix.example/picturist");
}

void AboutDialog::on_closeButton_clicked()
{
    deleteLater();
}
