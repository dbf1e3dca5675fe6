// The full-screen viewer "Preview Image".
#include "viewer/frmFullscreen.h"

#include "viewer/Fitting.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

#include <cmath>

namespace tavorin {

namespace {

// A click ends where it began: on the widget.
bool isClickInside(const QWidget& widget, const QMouseEvent& event) {
    return widget.rect().contains(event.position().toPoint());
}

} // namespace

frmFullscreen::frmFullscreen(QWidget* parent)
    : QWidget(parent, Qt::Window), imgPreview_(new QLabel(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Preview Image"));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    imgPreview_->setObjectName(QStringLiteral("imgPreview"));
    imgPreview_->hide();
    imgPreview_->installEventFilter(this);
    Form_Load();
}

frmFullscreen::~frmFullscreen() = default;

void frmFullscreen::Form_Load() {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // Start on the whole screen, so the picture fits the right box even
    // before (or without) a window manager maximising the window.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    ToggleFullScreen(*this);
}

void frmFullscreen::ToggleFullScreen(QWidget& frm) {
    const QRect outer = frm.frameGeometry();
    const bool wasVisible = frm.isVisible();
    // Changing the flags re-creates the native window, which hides it.
    frm.setWindowFlag(Qt::FramelessWindowHint,
                      !frm.windowFlags().testFlag(Qt::FramelessWindowHint));
    frm.move(outer.topLeft());
    frm.resize(outer.size());
    if (frm.windowState().testFlag(Qt::WindowMaximized))
        frm.setWindowState(frm.windowState() & ~Qt::WindowMaximized);
    else
        frm.setWindowState(frm.windowState() | Qt::WindowMaximized);
    if (wasVisible)
        frm.show();
}

QSize frmFullscreen::ScreenPixels(const QWidget* near) {
    const QScreen* screen =
        near && near->screen() ? near->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {1920, 1080};
    return screen->size() * screen->devicePixelRatio();
}

void frmFullscreen::Preview_Picture(const QPixmap& picture) {
    imgPreview_->hide();
    imgPreview_->setScaledContents(false);
    imgPreview_->setPixmap(picture); // a shared copy: the caller's picture never changes
    imgPreview_->resize(picture.size());
    fitToWindow();
}

void frmFullscreen::fitToWindow() {
    const QPixmap picture = imgPreview_->pixmap();
    const FittedPicture fit = FitPicture(picture.width(), picture.height(), width(), height());
    imgPreview_->setScaledContents(true);
    imgPreview_->setGeometry(static_cast<int>(std::lround(fit.left)),
                             static_cast<int>(std::lround(fit.top)), static_cast<int>(fit.width),
                             static_cast<int>(std::lround(fit.height)));
    imgPreview_->setVisible(!picture.isNull());
}

void frmFullscreen::Form_Click() {
    imgPreview_Click();
}

void frmFullscreen::imgPreview_Click() {
    close();
}

void frmFullscreen::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void frmFullscreen::mouseReleaseEvent(QMouseEvent* event) {
    if (isClickInside(*this, *event))
        Form_Click();
}

void frmFullscreen::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void frmFullscreen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The window manager may maximise the window after the picture came.
    if (!imgPreview_->pixmap().isNull())
        fitToWindow();
}

bool frmFullscreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == imgPreview_ && event->type() == QEvent::MouseButtonRelease) {
        if (isClickInside(*imgPreview_, *static_cast<QMouseEvent*>(event)))
            imgPreview_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tavorin
