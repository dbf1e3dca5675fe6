// Wallpaper on KDE Plasma: a desktop script run by plasmashell over D-Bus.
#include "platform/wallpaper/KdeWallpaper.h"

#include <QDBusMessage>
#include <QUrl>

namespace tavorin {

QString KdeWallpaper::StringLiteral(const QString& text) {
    QString literal = QStringLiteral("\"");
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            literal += QLatin1Char('\\');
            literal += c;
        } else if (u >= 0x20 && u < 0x7f) {
            literal += c;
        } else {
            literal += QStringLiteral("\\u%1").arg(unsigned(u), 4, 16, QLatin1Char('0'));
        }
    }
    literal += QLatin1Char('"');
    return literal;
}

QString KdeWallpaper::Script(const QString& path) {
    const QString url = QUrl::fromLocalFile(path).toString();
    return QStringLiteral("var image = %1;\n"
                          "var all = desktops();\n"
                          "for (var i = 0; i < all.length; i++) {\n"
                          "    var d = all[i];\n"
                          "    d.wallpaperPlugin = \"org.kde.image\";\n"
                          "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", "
                          "\"General\"];\n"
                          "    d.writeConfig(\"Image\", image);\n"
                          "    d.writeConfig(\"FillMode\", 0);\n"
                          "    print(d.readConfig(\"Image\"));\n"
                          "}\n")
        .arg(StringLiteral(url));
}

bool KdeWallpaper::Apply(const QString& path, QString* error) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
        QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"));
    call << Script(path);
    const QDBusMessage reply = bus_.call(call, QDBus::Block, timeoutMs_);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return Fail(error, QStringLiteral("Plasma refused the wallpaper: %1 %2")
                               .arg(reply.errorName(), reply.errorMessage()));
    // The script printed every desktop's Image as it now reads.
    const QString url = QUrl::fromLocalFile(path).toString();
    const QString printed = reply.arguments().value(0).toString();
    const QStringList images = printed.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (images.isEmpty())
        return Fail(error, QStringLiteral("Plasma has no desktop to show the wallpaper on"));
    for (const QString& image : images) {
        if (image != url)
            return Fail(error, QStringLiteral("Plasma's wallpaper is %1, not %2").arg(image, url));
    }
    return true;
}

} // namespace tavorin
