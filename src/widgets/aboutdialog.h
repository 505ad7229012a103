#pragma once

#include <QDialog>

namespace Ui {
class AboutDialog;
}

// The application version, major.minor.build.
extern const int kxVersionMajor;
extern const int kxVersionMinor;
extern const int kxVersionBuild;

// "About" box: name, version and the maker's web site.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
    ~AboutDialog() override;

    // The address behind the web link and the toolbar's website button.
    static QString websiteAddress();

public slots:
    void on_closeButton_clicked();

private:
    Ui::AboutDialog *ui;
};
