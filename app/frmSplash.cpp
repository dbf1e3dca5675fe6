// The splash window: the version and the progress of the start.
#include "app/frmSplash.h"

#include "Version.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QWindow>

namespace tavorin {

namespace {
constexpr int kWidth = 400;
constexpr int kHeight = 240;
constexpr qint64 kLongestMapWait = 500; // ms
} // namespace

QPixmap SplashPicture(const QSize& size) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0.0, QColor(18, 38, 78));
    sky.setColorAt(0.6, QColor(64, 110, 170));
    sky.setColorAt(1.0, QColor(236, 170, 92));
    p.fillRect(pixmap.rect(), sky);
    // Three overlapping frames: pictures taking turns on the desktop.
    const QColor frames[] = {QColor(250, 246, 232), QColor(232, 240, 250), QColor(255, 255, 255)};
    for (int i = 0; i < 3; ++i) {
        const QRect r(40 + i * 26, 46 + i * 18, 120, 84);
        p.setPen(QPen(QColor(30, 30, 40), 2));
        p.setBrush(frames[i]);
        p.drawRect(r);
        p.fillRect(r.adjusted(8, 8, -8, -8), QColor(90 + i * 50, 140, 200 - i * 40));
    }
    QFont title(QStringLiteral("Serif"), 30, QFont::Bold);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(200, 60, size.width() - 210, 60), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Tavorin"));
    QFont sub(QStringLiteral("Sans"), 10);
    p.setFont(sub);
    p.drawText(QRect(202, 112, size.width() - 210, 40), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Your pictures, your desktop."));
    return pixmap;
}

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setFixedSize(kWidth, kHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Image1.setParent(this);
    Image1.setGeometry(0, 0, kWidth, kHeight);
    Image1.setPixmap(SplashPicture(size()));
    lblStatus.setParent(this);
    lblStatus.setGeometry(12, kHeight - 30, kWidth - 150, 20);
    lblStatus.setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    lblStatus.setText(QStringLiteral("Loading..."));
    lblVersion.setParent(this);
    lblVersion.setGeometry(kWidth - 130, kHeight - 30, 120, 20);
    lblVersion.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblVersion.setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    lblVersion.setText(QStringLiteral("Version:%1.%2.%3")
                           .arg(version::major)
                           .arg(version::minor)
                           .arg(version::revision));
    Timer1.setInterval(200);
    Timer1.setSingleShot(false);
    connect(&Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
}

void frmSplash::ShowAtOnce() {
    show();
    // The window system maps the window in its own time; the start that
    // follows runs without yielding, so wait (briefly) until the splash can
    // be painted. Only the window system's events are handled meanwhile.
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < kLongestMapWait) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(5);
    }
    repaint();
}

void frmSplash::SetStatus(const QString& text) {
    lblStatus.setText(text);
    if (isVisible())
        repaint();
}

void frmSplash::Timer1_Timer() {
    Timer1.stop();
    if (mainWindow_)
        mainWindow_->show();
    close();
    Q_EMIT Unloaded();
}

} // namespace tavorin
