#include "convertimageform.h"
#include "ui_convertimageform.h"

ConvertImageForm::ConvertImageForm(QWidget *parent) : QWidget(parent), ui(new Ui::ConvertImageForm)
{
    ui->setupUi(this);
    handlersEnabled = true;
}

ConvertImageForm::~ConvertImageForm()
{
    delete ui;
}

void ConvertImageForm::OnShowToolbarSignal(bool show)
{
    emit showToolbarSignal(show);
}

void ConvertImageForm::updateTheme() {}
void ConvertImageForm::setConverting(bool) {}
void ConvertImageForm::requestStopForClose() {}
void ConvertImageForm::on_aboutButton_clicked() {}
void ConvertImageForm::on_websiteButton_clicked() {}
