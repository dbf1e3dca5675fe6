#include "mainwindow/Skins.h"
#include "settings/Module1.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

#include <QBuffer>
#include <QImageReader>
#include <QTest>

using namespace tavorin;
using tavorin::test::FakePlatform;
using tavorin::test::TempProgramFolder;

Q_DECLARE_METATYPE(tavorin::SkinKind)

namespace {

QByteArray jpeg(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(30, 60, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

// A small JPEG whose header claims width x height.
QByteArray jpegClaiming(int width, int height) {
    QByteArray bytes = jpeg(16, 16);
    for (qsizetype i = 0; i + 8 < bytes.size(); ++i) {
        const auto marker = static_cast<unsigned char>(bytes[i + 1]);
        if (static_cast<unsigned char>(bytes[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            bytes[i + 5] = char(height >> 8);
            bytes[i + 6] = char(height & 0xFF);
            bytes[i + 7] = char(width >> 8);
            bytes[i + 8] = char(width & 0xFF);
            return bytes;
        }
    }
    return {};
}

struct RecordingTarget final : SkinTarget {
    QImage picture;
    bool pictureSet = false;
    std::optional<QColor> labels;
    std::optional<QColor> help;
    void SetSkinPicture(const QImage& p) override {
        picture = p;
        pictureSet = true;
    }
    void SetLabelColour(const QColor& c) override { labels = c; }
    void SetHelpColour(const QColor& c) override { help = c; }
};

} // namespace

class tst_Skins : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void settingNamesTheFile_data();
    void settingNamesTheFile();
    void loadsAPicture();
    void largePictureDecodedScaledDown();
    void hugeHeaderIsWhatTheReaderSees();
    void refusesWhatIsNotAPicture_data();
    void refusesWhatIsNotAPicture();
    void applyNamedSkin();
    void applyDefaultSkinLeavesColours();
    void applyNoSkin();
    void missingSkinFallsBackOnce_data();
    void missingSkinFallsBackOnce();
    void preloadGivesThePictureItWasStartedFor();
    void preloadOfABadPictureStillFallsBack();
};

void tst_Skins::settingNamesTheFile_data() {
    QTest::addColumn<QString>("setting");
    QTest::addColumn<SkinKind>("kind");
    QTest::addColumn<QString>("file");
    QTest::newRow("absent") << "" << SkinKind::Default << "Skins/Metalic.jpg";
    QTest::newRow("none") << "[none]" << SkinKind::None << "";
    QTest::newRow("named") << "Blue" << SkinKind::Named << "Skins/Blue.jpg";
    QTest::newRow("named Metalic") << "Metalic" << SkinKind::Named << "Skins/Metalic.jpg";
    QTest::newRow("name with a space") << "Deep Sea" << SkinKind::Named << "Skins/Deep Sea.jpg";
    QTest::newRow("none in other case is a name")
        << "[None]" << SkinKind::Named << "Skins/[None].jpg";
}

void tst_Skins::settingNamesTheFile() {
    QFETCH(QString, setting);
    QFETCH(SkinKind, kind);
    QFETCH(QString, file);
    const SkinChoice choice = SkinFromSetting(setting);
    QCOMPARE(choice.kind, kind);
    QCOMPARE(choice.file, file);
}

void tst_Skins::loadsAPicture() {
    TempProgramFolder folder;
    const QString path = folder.write(QStringLiteral("Skins/Blue.jpg"), jpeg(120, 80));
    const auto picture = LoadSkinPicture(path);
    QVERIFY(picture);
    QCOMPARE(picture->size(), QSize(120, 80));
    // Smaller than the window: decoded as it is.
    QCOMPARE(LoadSkinPicture(path, QSize(445, 271))->size(), QSize(120, 80));
}

void tst_Skins::largePictureDecodedScaledDown() {
    TempProgramFolder folder;
    const QString path = folder.write(QStringLiteral("Skins/Big.jpg"), jpeg(3000, 2000));
    const auto picture = LoadSkinPicture(path, QSize(445, 271));
    QVERIFY(picture);
    QCOMPARE(picture->size(), QSize(445, 271));
}

void tst_Skins::hugeHeaderIsWhatTheReaderSees() {
    // The refusal below must come from the claimed size, not a broken file.
    TempProgramFolder folder;
    const QString path = folder.write(QStringLiteral("Skins/Huge.jpg"), jpegClaiming(40000, 40000));
    QCOMPARE(QImageReader(path).size(), QSize(40000, 40000));
}

void tst_Skins::refusesWhatIsNotAPicture_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("text") << QByteArray("this is not a picture\n");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("header of 40000 x 40000") << jpegClaiming(40000, 40000);
    QTest::newRow("header of 9000 x 9000") << jpegClaiming(9000, 9000);
    QTest::newRow("cut off after the header") << jpeg(64, 64).left(200);
}

void tst_Skins::refusesWhatIsNotAPicture() {
    QFETCH(QByteArray, bytes);
    TempProgramFolder folder;
    const QString path = folder.write(QStringLiteral("Skins/Bad.jpg"), bytes);
    QVERIFY(!LoadSkinPicture(path));
    QVERIFY(!LoadSkinPicture(path, QSize(445, 271)));
    QVERIFY(!LoadSkinPicture(folder.file(QStringLiteral("Skins/Missing.jpg"))));
}

void tst_Skins::applyNamedSkin() {
    TempProgramFolder folder;
    folder.write(QStringLiteral("Skins/Blue.jpg"), jpeg(60, 40));
    FakePlatform platform(folder.path());
    Module1 module(platform.services);
    module.WriteINIFile(QStringLiteral("Settings"), QStringLiteral("Skin"), QStringLiteral("Blue"));
    RecordingTarget target;
    ApplySkin(module, target);
    QCOMPARE(target.picture.size(), QSize(60, 40));
    QCOMPARE(target.labels, std::optional<QColor>(kSkinLabelColour));
    QCOMPARE(target.help, std::optional<QColor>(kHelpRestColour));
    QVERIFY(platform.dialogs.messages.isEmpty());
}

void tst_Skins::applyDefaultSkinLeavesColours() {
    TempProgramFolder folder;
    folder.write(QStringLiteral("Skins/Metalic.jpg"), jpeg(50, 30));
    FakePlatform platform(folder.path());
    Module1 module(platform.services);
    RecordingTarget target;
    ApplySkin(module, target);
    QCOMPARE(target.picture.size(), QSize(50, 30));
    QVERIFY(!target.labels);
    QVERIFY(!target.help);
}

void tst_Skins::applyNoSkin() {
    TempProgramFolder folder;
    folder.write(QStringLiteral("Skins/Metalic.jpg"), jpeg(50, 30));
    FakePlatform platform(folder.path());
    Module1 module(platform.services);
    module.WriteINIFile(QStringLiteral("Settings"), QStringLiteral("Skin"), kNoSkin);
    RecordingTarget target;
    ApplySkin(module, target);
    QVERIFY(target.pictureSet);
    QVERIFY(target.picture.isNull());
    QCOMPARE(target.labels, std::optional<QColor>(kPlainColour));
    QCOMPARE(target.help, std::optional<QColor>(kPlainColour));
}

void tst_Skins::missingSkinFallsBackOnce_data() {
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QByteArray>("bytes"); // written as the skin file; empty: no file
    QTest::newRow("deleted skin") << "Gone" << QByteArray();
    QTest::newRow("default skin missing") << "" << QByteArray();
    QTest::newRow("not a picture") << "Text" << QByteArray("hello");
    QTest::newRow("40000 x 40000 header") << "Huge" << jpegClaiming(40000, 40000);
}

void tst_Skins::missingSkinFallsBackOnce() {
    QFETCH(QString, setting);
    QFETCH(QByteArray, bytes);
    TempProgramFolder folder;
    const SkinChoice choice = SkinFromSetting(setting);
    if (!bytes.isEmpty())
        folder.write(choice.file, bytes);
    FakePlatform platform(folder.path());
    Module1 module(platform.services);
    if (!setting.isEmpty())
        module.WriteINIFile(QStringLiteral("Settings"), QStringLiteral("Skin"), setting);

    RecordingTarget target;
    target.picture = QImage(4, 4, QImage::Format_RGB32);
    ApplySkin(module, target);
    QCOMPARE(platform.dialogs.messages.size(), 1);
    const auto& message = platform.dialogs.messages.first();
    QCOMPARE(message.icon, MsgIcon::Critical);
    QCOMPARE(message.buttons, MsgButtons::Ok);
    QCOMPARE(message.title, QStringLiteral("Tavorin"));
    QVERIFY(message.text.contains(choice.name));
    QVERIFY(message.text.contains(folder.file(choice.file)));
    QCOMPARE(module.GetINIFile(QStringLiteral("Settings"), QStringLiteral("Skin")), kNoSkin);
    QVERIFY(target.picture.isNull());
    QCOMPARE(target.labels, std::optional<QColor>(kPlainColour));
    QCOMPARE(target.help, std::optional<QColor>(kPlainColour));

    // The next time the skin is applied, nothing more is said.
    ApplySkin(module, target);
    QCOMPARE(platform.dialogs.messages.size(), 1);
}

void tst_Skins::preloadGivesThePictureItWasStartedFor() {
    TempProgramFolder folder;
    const QString blue = folder.write(QStringLiteral("Skins/Blue.jpg"), jpeg(60, 40));
    const QString green = folder.write(QStringLiteral("Skins/Green.jpg"), jpeg(90, 30));
    const QSize window(445, 271);

    SkinPreload preload;
    preload.Start(blue, window);
    // Another picture, or the same at another size, is decoded on the spot.
    QCOMPARE(preload.Take(green, window)->size(), QSize(90, 30));
    QCOMPARE(preload.Take(blue, QSize(30, 20))->size(), QSize(30, 20));
    // The one decoded meanwhile: taken once, read afresh after that.
    QCOMPARE(preload.Take(blue, window)->size(), QSize(60, 40));
    folder.write(QStringLiteral("Skins/Blue.jpg"), jpeg(70, 50));
    QCOMPARE(preload.Take(blue, window)->size(), QSize(70, 50));

    SkinPreload none;
    none.Start({}, window); // no skin: nothing to decode
    QCOMPARE(none.Take(blue, window)->size(), QSize(70, 50));
}

void tst_Skins::preloadOfABadPictureStillFallsBack() {
    TempProgramFolder folder;
    folder.write(QStringLiteral("Skins/Bad.jpg"), QByteArray("not a picture"));
    FakePlatform platform(folder.path());
    Module1 module(platform.services);
    module.WriteINIFile(QStringLiteral("Settings"), QStringLiteral("Skin"), QStringLiteral("Bad"));
    QCOMPARE(SkinPictureFile(module), folder.file(QStringLiteral("Skins/Bad.jpg")));

    SkinPreload preload;
    preload.Start(SkinPictureFile(module), QSize(445, 271));
    RecordingTarget target;
    ApplySkin(module, target, QSize(445, 271), &preload);
    QCOMPARE(platform.dialogs.messages.size(), 1);
    QCOMPARE(module.GetINIFile(QStringLiteral("Settings"), QStringLiteral("Skin")), kNoSkin);
    QVERIFY(target.pictureSet && target.picture.isNull());
    QCOMPARE(SkinPictureFile(module), QString()); // "[none]" names no file
}

QTEST_MAIN(tst_Skins)
#include "tst_Skins.moc"
