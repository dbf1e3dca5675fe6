// apply-wallpaper [--method 1|2] [--decoded] <picture>
//
// Applies a picture on the running desktop so that a person can see the
// wallpaper code at work: method 1 through the desktop's own wallpaper
// service, method 2 as the classic X11 root window background (--decoded:
// the picture is decoded first and handed over decoded, as after a
// conversion).

#include "platform/DesktopWallpaper.h"
#include "platform/wallpaper/Backends.h"
#include "platform/wallpaper/DesktopDetect.h"
#include "platform/wallpaper/X11RootWallpaper.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QTextStream>

using namespace tavorin;

namespace {

int ApplyActive(const QString& path, QTextStream& out) {
    const DesktopSession session = DetectDesktop(QProcessEnvironment::systemEnvironment());
    out << "desktop: " << DesktopName(session.desktop)
        << (session.wayland ? " (Wayland)"
            : session.x11   ? " (X11)"
                            : " (no display)")
        << '\n';
    QString error;
    if (!MakeDesktopWallpaper()->SetActiveDesktopWallpaper(path, 2, &error)) {
        out << "refused: " << error << '\n';
        return 1;
    }
    out << "set: " << QFileInfo(path).absoluteFilePath() << '\n';
    return 0;
}

int ApplyClassic(const QString& path, bool decoded, QTextStream& out) {
    X11RootWallpaper root;
    if (!root.HasDisplay()) {
        out << "no X display: the classic wallpaper does nothing here\n";
        return 1;
    }
    QString error;
    bool applied = false;
    if (decoded) {
        QImageReader reader(path);
        const QImage image = reader.read();
        if (image.isNull()) {
            out << "cannot read " << path << ": " << reader.errorString() << '\n';
            return 1;
        }
        applied = root.ApplyImage(image, &error);
    } else {
        applied = root.Apply(path, &error);
    }
    if (!applied) {
        out << "failed: " << error << '\n';
        return 1;
    }
    out << "root window set: " << path << '\n';
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Applies a picture as the wallpaper of the running desktop."));
    parser.addHelpOption();
    const QCommandLineOption method(QStringLiteral("method"),
                                    QStringLiteral("1 = the desktop's own service (default), "
                                                   "2 = the classic X11 root window."),
                                    QStringLiteral("1|2"), QStringLiteral("1"));
    const QCommandLineOption decoded(QStringLiteral("decoded"),
                                     QStringLiteral("Method 2: decode first, hand over the "
                                                    "decoded picture."));
    parser.addOption(method);
    parser.addOption(decoded);
    parser.addPositionalArgument(QStringLiteral("picture"), QStringLiteral("The picture file."));
    parser.process(app);

    QTextStream out(stdout);
    const QStringList pictures = parser.positionalArguments();
    if (pictures.size() != 1 || (parser.value(method) != QLatin1String("1") &&
                                 parser.value(method) != QLatin1String("2"))) {
        out << parser.helpText();
        return 2;
    }
    if (parser.value(method) == QLatin1String("1"))
        return ApplyActive(pictures.first(), out);
    return ApplyClassic(pictures.first(), parser.isSet(decoded), out);
}
