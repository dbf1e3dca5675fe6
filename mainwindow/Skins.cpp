// The main window's skin: the background picture and the help label's looks.
#include "mainwindow/Skins.h"

#include "settings/Module1.h"
#include "settings/SettingsKeys.h"

#include <QImageReader>

namespace tavorin {

SkinChoice SkinFromSetting(const QString& setting) {
    if (setting == kNoSkin)
        return {SkinKind::None, kNoSkin, {}};
    if (setting.isEmpty())
        return {SkinKind::Default, kDefaultSkin,
                QStringLiteral("Skins/") + kDefaultSkin + QStringLiteral(".jpg")};
    return {SkinKind::Named, setting, QStringLiteral("Skins/") + setting + QStringLiteral(".jpg")};
}

SkinColours ColoursFor(SkinKind kind) {
    switch (kind) {
    case SkinKind::None:
        return {kPlainColour, kPlainColour};
    case SkinKind::Named:
        return {kSkinLabelColour, kHelpRestColour};
    case SkinKind::Default:
        return {};
    }
    return {};
}

HelpLook HelpHoverLook(const QString& setting) {
    return {setting == kNoSkin ? kPlainColour : kHelpHoverColour, true};
}

HelpLook HelpRestLook(const QString& setting) {
    return {setting == kNoSkin ? kPlainColour : kHelpRestColour, false};
}

std::optional<QImage> LoadSkinPicture(const QString& path, QSize fitTo) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QSize size = reader.size(); // from the header only
    if (!size.isValid() || size.isEmpty())
        return std::nullopt;
    if (qint64(size.width()) * size.height() > kLargestSkinPixels)
        return std::nullopt;
    if (fitTo.isValid() && !fitTo.isEmpty() &&
        (size.width() > fitTo.width() || size.height() > fitTo.height()))
        reader.setScaledSize(size.boundedTo(fitTo));
    QImage picture = reader.read();
    if (picture.isNull())
        return std::nullopt;
    return picture;
}

QString MissingSkinMessage(const QString& name, const QString& path) {
    return QStringLiteral("The picture of the skin \"") + name +
           QStringLiteral("\" cannot be found or is not a picture:'") + path +
           QStringLiteral("'\nTavorin continues without a skin.");
}

QString SkinPictureFile(const Module1& module) {
    const SkinChoice skin = SkinFromSetting(module.GetINIFile(ini::kSettings, ini::kSkin));
    return skin.kind == SkinKind::None ? QString() : module.folder().DataFile(skin.file);
}

void SkinPreload::Start(const QString& path, QSize fitTo) {
    if (path.isEmpty())
        return;
    path_ = path;
    fitTo_ = fitTo;
    picture_ = std::async(std::launch::async, LoadSkinPicture, path, fitTo);
}

std::optional<QImage> SkinPreload::Take(const QString& path, QSize fitTo) {
    if (picture_.valid() && path == path_ && fitTo == fitTo_)
        return picture_.get();
    return LoadSkinPicture(path, fitTo);
}

void ApplySkin(const Module1& module, SkinTarget& target, QSize windowSize, SkinPreload* preload) {
    const QString setting = module.GetINIFile(ini::kSettings, ini::kSkin);
    const SkinChoice skin = SkinFromSetting(setting);
    if (skin.kind != SkinKind::None) {
        const QString path = module.folder().DataFile(skin.file);
        const auto picture =
            preload ? preload->Take(path, windowSize) : LoadSkinPicture(path, windowSize);
        if (!picture) {
            module.dialogs().MsgBox(MissingSkinMessage(skin.name, path), MsgButtons::Ok,
                                    MsgIcon::Critical);
            module.WriteINIFile(ini::kSettings, ini::kSkin, kNoSkin);
            // Applied directly, so a settings file that cannot be written
            // never brings the message back in a loop.
            const SkinColours plain = ColoursFor(SkinKind::None);
            target.SetSkinPicture({});
            target.SetLabelColour(*plain.labels);
            target.SetHelpColour(*plain.help);
            return;
        }
        target.SetSkinPicture(*picture);
    } else {
        target.SetSkinPicture({});
    }
    const SkinColours colours = ColoursFor(skin.kind);
    if (colours.labels)
        target.SetLabelColour(*colours.labels);
    if (colours.help)
        target.SetHelpColour(*colours.help);
}

} // namespace tavorin
