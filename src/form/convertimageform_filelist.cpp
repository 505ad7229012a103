#include "convertimageform.h"
#include "ui_convertimageform.h"

void ConvertImageForm::on_removeButton_clicked() {}
void ConvertImageForm::on_clearButton_clicked() {}
void ConvertImageForm::on_upButton_clicked() {}
void ConvertImageForm::on_downButton_clicked() {}
void ConvertImageForm::on_itemSelection_changed(const QItemSelection &, const QItemSelection &) {}
void ConvertImageForm::on_addFilesButton_clicked() {}
void ConvertImageForm::on_ImageFilesSelected(const QStringList &) {}
void ConvertImageForm::on_AddURLs(const QList<QUrl> &) {}
void ConvertImageForm::onAddUrlsThreadBegin() {}
void ConvertImageForm::onAddUrlsThreadEnd() {}
void ConvertImageForm::onAddUrlsFinish(const QString &) {}
void ConvertImageForm::onAddUrlsThreadDestroy() {}
void ConvertImageForm::onGetItemIconProcessFinish(const QPixmap &, const QString &, const QString &,
                                                  const QString &, int) {}
void ConvertImageForm::startAddUrls(const QList<QUrl> &) {}
void ConvertImageForm::shutdownAddUrlsWorker() {}
