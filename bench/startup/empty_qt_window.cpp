// The smallest Qt Widgets program with a window: the yardstick the main
// program's start-up time and memory are compared with.
// With "--text" the window also shows one line of text, so that the cost
// every program with text pays (fonts, text shaping) can be told apart.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool withText = argc > 1 && qstrcmp(argv[1], "--text") == 0;
    QWidget window;
    window.setWindowTitle(withText ? QStringLiteral("empty-qt-window-text")
                                   : QStringLiteral("empty-qt-window"));
    window.resize(445, 271);
    if (withText)
        (new QLabel(QStringLiteral("Wallpaper List:"), &window))->move(48, 8);
    window.show();
    return app.exec();
}
