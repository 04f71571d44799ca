#pragma once
// Pictures of the dialog without a screen: the --screenshot option and runs without a display.

#include <QImage>
#include <QString>

class QWidget;

namespace zan::host {

// Renders `window` as it would appear, without showing it on any screen (it is shown with
// Qt::WA_DontShowOnScreen for the moment of the rendering, so that it is laid out and polished
// exactly as on screen).
QImage renderOffscreen(QWidget& window);

// Writes `image` as a PNG file, atomically (an existing file stays intact when writing fails).
// Returns false with a one-line reason that names the file.
bool writePng(const QImage& image, const QString& path, QString& error);

}  // namespace zan::host
