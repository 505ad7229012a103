#include "convertimageform.h"
#include "ui_convertimageform.h"

void ConvertImageForm::loadImage(const QString &, bool) {}
void ConvertImageForm::_loadImage(const QString &, bool) {}
void ConvertImageForm::on_PreviewImage_DoubleClick() {}
void ConvertImageForm::on_previewDialogClosed() {}
void ConvertImageForm::handleUpdatePreviewImage(const QImage &) {}
void ConvertImageForm::on_updateTimer() {}
void ConvertImageForm::stopPreviewForClose() {}
void ConvertImageForm::shutdownPreviewWorkers() {}
