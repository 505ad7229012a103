#include "convertimageform.h"
#include "ui_convertimageform.h"

void ConvertImageForm::on_convertButton_clicked() {}
void ConvertImageForm::on_pdfFilenameButton_clicked() {}
void ConvertImageForm::handleStartConvertSignal() {}
void ConvertImageForm::handleFinishConvertSignal() {}
QString ConvertImageForm::choosePdfFile() { return {}; }
void ConvertImageForm::startConversion(const QStringList &, const QString &, const QString &, const QString &, bool) {}
void ConvertImageForm::stopConversionForClose() {}
