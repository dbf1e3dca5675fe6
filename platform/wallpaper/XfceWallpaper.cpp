// Wallpaper on XFCE: every monitor's and workspace's key through xfconf.
#include "platform/wallpaper/XfceWallpaper.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusVariant>

namespace tavorin {

namespace {

const QString kChannel = QStringLiteral("xfce4-desktop");
const QString kImageName = QStringLiteral("/last-image");
constexpr int kStretched = 3;

QString DBusFailure(const QDBusMessage& reply) {
    return reply.errorName() + QLatin1Char(' ') + reply.errorMessage();
}

} // namespace

QStringList XfceWallpaper::ImageProperties(const QStringList& backdropProperties) {
    QStringList images;
    for (const QString& property : backdropProperties) {
        if (property.startsWith(QLatin1String("/backdrop/")) && property.endsWith(kImageName))
            images.append(property);
    }
    images.sort();
    if (images.isEmpty())
        images.append(QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image"));
    return images;
}

QString XfceWallpaper::StyleProperty(const QString& imageProperty) {
    return imageProperty.chopped(kImageName.size()) + QStringLiteral("/image-style");
}

QDBusMessage XfceWallpaper::Call(const QString& method, const QVariantList& arguments) const {
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.xfce.Xfconf"),
                                                       QStringLiteral("/org/xfce/Xfconf"),
                                                       QStringLiteral("org.xfce.Xfconf"), method);
    call.setArguments(arguments);
    return bus_.call(call, QDBus::Block, timeoutMs_);
}

bool XfceWallpaper::ListBackdrop(QStringList* properties, QString* error) const {
    const QDBusMessage reply =
        Call(QStringLiteral("GetAllProperties"), {kChannel, QStringLiteral("/backdrop")});
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        *properties = qdbus_cast<QVariantMap>(reply.arguments().constFirst()).keys();
        return true;
    }
    // An empty channel is reported as an error by xfconfd; the bus's own
    // errors mean there is no xfconfd to talk to.
    if (reply.errorName().startsWith(QLatin1String("org.freedesktop.DBus.Error.")))
        return Fail(error, QStringLiteral("xfconf is not reachable: %1").arg(DBusFailure(reply)));
    properties->clear();
    return true;
}

bool XfceWallpaper::Set(const QString& property, const QVariant& value, QString* error) const {
    const QDBusMessage reply = Call(QStringLiteral("SetProperty"),
                                    {kChannel, property, QVariant::fromValue(QDBusVariant(value))});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return Fail(error,
                    QStringLiteral("xfconf refused %1: %2").arg(property, DBusFailure(reply)));
    return true;
}

bool XfceWallpaper::Get(const QString& property, QVariant* value, QString* error) const {
    const QDBusMessage reply = Call(QStringLiteral("GetProperty"), {kChannel, property});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return Fail(error,
                    QStringLiteral("xfconf cannot read %1: %2").arg(property, DBusFailure(reply)));
    *value = reply.arguments().constFirst();
    if (value->canConvert<QDBusVariant>() && value->userType() == qMetaTypeId<QDBusVariant>())
        *value = value->value<QDBusVariant>().variant();
    return true;
}

bool XfceWallpaper::Apply(const QString& path, QString* error) {
    QStringList backdrop;
    if (!ListBackdrop(&backdrop, error))
        return false;
    const QStringList images = ImageProperties(backdrop);
    for (const QString& image : images) {
        if (!Set(image, path, error) || !Set(StyleProperty(image), kStretched, error))
            return false;
    }
    for (const QString& image : images) {
        QVariant shown;
        QVariant style;
        if (!Get(image, &shown, error) || !Get(StyleProperty(image), &style, error))
            return false;
        if (shown.toString() != path || style.toInt() != kStretched)
            return Fail(error,
                        QStringLiteral("xfconf did not take the wallpaper at %1").arg(image));
    }
    return true;
}

} // namespace tavorin
