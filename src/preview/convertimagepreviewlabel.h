#pragma once

#include <QLabel>

// The inline preview picture (objectName previewImage).
class ConvertImagePreviewLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ConvertImagePreviewLabel(QWidget *parent = nullptr);

    bool hasImage = false;

signals:
    void mouseDoubleClick();
};
