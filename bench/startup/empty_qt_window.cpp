// The smallest Qt Widgets program with a window: the yardstick the main
// program's start-up time and memory are compared with.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("empty-qt-window"));
    window.resize(445, 271);
    window.show();
    return app.exec();
}
