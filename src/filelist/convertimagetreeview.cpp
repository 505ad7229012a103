#include "convertimagetreeview.h"

ConvertImageTreeView::ConvertImageTreeView(QWidget *parent) : QTreeView(parent) {}

ConvertImageTreeView::~ConvertImageTreeView() = default;
