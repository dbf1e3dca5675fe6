#include "viewer/frmFullscreen.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace tavorin {

frmFullscreen::frmFullscreen(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowState(Qt::WindowMaximized);
    setStyleSheet(QStringLiteral("background: black;"));
}

frmFullscreen::~frmFullscreen() = default;

void frmFullscreen::Preview_Picture(const QPixmap& picture) {
    auto* label = new QLabel(this);
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(picture.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    label->setGeometry(rect());
    label->show();
}

} // namespace tavorin
