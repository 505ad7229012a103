#pragma once

#include <QLabel>
#include <QPixmap>

// The inline preview picture (objectName previewImage). While it shows a
// picture it draws the fit icon in its top-right corner; a click on the icon
// or a double-click anywhere asks for the full preview.
class ConvertImagePreviewLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ConvertImagePreviewLabel(QWidget *parent = nullptr);

    // Shows a picture; a null one only drops the icon and keeps the old picture.
    void setPreviewPixmap(const QPixmap &pixmap);
    // Shows the placeholder text.
    void setText(const QString &text);
    // The pages or frames of the source shown: more than one adds "1 of N".
    void setPageCount(int count);

    bool hasImage = false;

signals:
    void mouseDoubleClick();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap fitIcon;
    int pageCount = 1;
};
