#include "convertimageframe.h"

ConvertImageFrame::ConvertImageFrame(QWidget *parent) : QFrame(parent) {}

ConvertImageFrame::~ConvertImageFrame() = default;
