#pragma once

#include <QImage>

class QWidget;

// A dialog as the README's screenshots show it: its client area under a plain
// caption with its title, since the offscreen platform draws no frame.
QImage WithCaption(QWidget& dialog);
