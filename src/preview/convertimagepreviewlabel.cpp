#include "convertimagepreviewlabel.h"

ConvertImagePreviewLabel::ConvertImagePreviewLabel(QWidget *parent) : QLabel(parent) {}
