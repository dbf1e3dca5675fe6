// The skin rules without a window: which file a setting names, which
// pictures are refused, the fallback, and the picture decoded ahead.
#include "mainwindow/Skins.h"
#include "tests/support/Rig.h"
#include "tests/support/TestPictures.h"

#include <QImageReader>
#include <QTest>

using namespace tavorin;
using namespace tavorin::test;

namespace {
QByteArray jpeg(int width, int height) {
    return PictureBytes("JPEG", QSize(width, height), QColor(30, 60, 90));
}
struct RecordingTarget final : SkinTarget {
    QImage picture{4, 4, QImage::Format_RGB32};
    bool pictureSet = false;
    std::optional<QColor> labels, help;
    void SetSkinPicture(const QImage& p) override { picture = p, pictureSet = true; }
    void SetLabelColour(const QColor& c) override { labels = c; }
    void SetHelpColour(const QColor& c) override { help = c; }
};
} // namespace

class tst_Skins : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void settingNamesTheFile() {
        struct Row {
            const char* setting;
            SkinKind kind;
            const char* file;
        };
        const Row rows[] = {{"", SkinKind::Default, "Skins/Metalic.jpg"},
                            {"[none]", SkinKind::None, ""},
                            {"Blue", SkinKind::Named, "Skins/Blue.jpg"},
                            {"Deep Sea", SkinKind::Named, "Skins/Deep Sea.jpg"},
                            {"[None]", SkinKind::Named, "Skins/[None].jpg"}};
        for (const Row& r : rows) {
            const SkinChoice choice = SkinFromSetting(r.setting);
            QVERIFY2(choice.kind == r.kind && choice.file == r.file, r.setting);
        }
    }

    void picturesLoadScaledDownOrAreRefused() {
        Rig rig;
        const QString small = rig.folder.write("Skins/Blue.jpg", jpeg(120, 80));
        QCOMPARE(LoadSkinPicture(small, {445, 271})->size(), QSize(120, 80)); // smaller: as it is
        const QString big = rig.folder.write("Skins/Big.jpg", jpeg(3000, 2000));
        QCOMPARE(LoadSkinPicture(big, {445, 271})->size(), QSize(445, 271));
        const QString huge = rig.folder.write("Skins/Huge.jpg", JpegClaiming(40000, 40000));
        QCOMPARE(QImageReader(huge).size(), QSize(40000, 40000)); // refused for its claimed size
        for (const QByteArray& bytes :
             {QByteArray("this is not a picture\n"), QByteArray(), JpegClaiming(40000, 40000),
              JpegClaiming(9000, 9000), jpeg(64, 64).left(200)}) {
            const QString path = rig.folder.write("Skins/Bad.jpg", bytes);
            QVERIFY(!LoadSkinPicture(path) && !LoadSkinPicture(path, {445, 271}));
        }
        QVERIFY(!LoadSkinPicture(rig.folder.file("Skins/Missing.jpg")));
    }

    void applyNamedDefaultAndNoSkin() {
        struct Row {
            const char* setting;
            QSize picture;
            std::optional<QColor> labels, help;
        };
        const Row rows[] = {
            {"Blue", {60, 40}, kSkinLabelColour, kHelpRestColour},
            {"", {50, 30}, std::nullopt, std::nullopt}, // the default leaves the colours
            {"[none]", {0, 0}, kPlainColour, kPlainColour}};
        for (const Row& r : rows) {
            Rig rig;
            rig.folder.write("Skins/Blue.jpg", jpeg(60, 40));
            rig.folder.write("Skins/Metalic.jpg", jpeg(50, 30));
            rig.set(ini::kSkin, r.setting);
            RecordingTarget target;
            ApplySkin(rig.m, target);
            QVERIFY(target.pictureSet && target.picture.size() == r.picture);
            QVERIFY(target.labels == r.labels && target.help == r.help);
            QVERIFY(rig.fake.dialogs.messages.isEmpty());
        }
    }

    void aMissingSkinFallsBackOnce() {
        struct Row {
            const char* setting;
            QByteArray bytes; // written as the skin file; empty: no file
        };
        const Row rows[] = {{"Gone", {}}, {"", {}}, {"Text", "hello"}};
        for (const Row& r : rows) {
            Rig rig;
            const SkinChoice choice = SkinFromSetting(r.setting);
            if (!r.bytes.isEmpty())
                rig.folder.write(choice.file, r.bytes);
            rig.set(ini::kSkin, r.setting);
            RecordingTarget target;
            ApplySkin(rig.m, target);
            ApplySkin(rig.m, target); // the next time nothing more is said
            QCOMPARE(rig.fake.dialogs.messages.size(), 1);
            const auto& message = rig.fake.dialogs.messages.first();
            QVERIFY(message.icon == MsgIcon::Critical && message.buttons == MsgButtons::Ok &&
                    message.title == "Tavorin");
            QVERIFY(message.text.contains(choice.name) &&
                    message.text.contains(rig.folder.file(choice.file)));
            QCOMPARE(rig.get(ini::kSkin), kNoSkin);
            QVERIFY(target.picture.isNull() && target.labels == kPlainColour &&
                    target.help == kPlainColour);
        }
    }

    void aBadPictureDecodedAheadFallsBack() {
        Rig rig;
        const QSize window(445, 271);
        // A bad picture decoded ahead still falls back.
        rig.folder.write("Skins/Bad.jpg", "not a picture");
        rig.set(ini::kSkin, "Bad");
        QCOMPARE(SkinPictureFile(rig.m), rig.folder.file("Skins/Bad.jpg"));
        SkinPreload bad;
        bad.Start(SkinPictureFile(rig.m), window);
        RecordingTarget target;
        ApplySkin(rig.m, target, window, &bad);
        QVERIFY(rig.fake.dialogs.messages.size() == 1 && rig.get(ini::kSkin) == kNoSkin);
        QVERIFY(target.pictureSet && target.picture.isNull() && SkinPictureFile(rig.m).isEmpty());
    }
};

QTEST_MAIN(tst_Skins)
#include "tst_Skins.moc"
