#include "engine/SetWallpaper.h"
#include "tests/support/TestPictures.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTest>
#include <QtEndian>

using namespace tavorin;
using namespace tavorin::test;

namespace {

// Records what reaches the desktop, the decoded picture included.
class RecordingWallpaper final : public IDesktopWallpaper {
  public:
    struct Call {
        QString method; // "active", "classic" or "classic+image"
        QString path;
        int style = 0;
        QImage image;
    };
    QList<Call> calls;
    bool refuse = false;

    bool SetActiveDesktopWallpaper(const QString& path, int style, QString*) override {
        calls.push_back({QStringLiteral("active"), path, style, {}});
        return !refuse;
    }
    // As a desktop does, the file must be there once written.
    bool SetClassicWallpaper(const ClassicPicture& p, QString*) override {
        calls.push_back(
            {p.decoded.isNull() ? QStringLiteral("classic") : QStringLiteral("classic+image"),
             p.path, 0, p.decoded});
        return !refuse && (!p.fileWritten || p.fileWritten()) && QFileInfo(p.path).isFile();
    }
};

// A program folder with fakes, settings "Machine" and "Convert", and a
// folder of pictures with awkward names.
struct Rig {
    TempProgramFolder folder;
    FakePlatform fake{folder.path()};
    RecordingWallpaper wallpaper;
    Services services{fake.services.folder, fake.dialogs,  fake.registry, wallpaper,
                      fake.shell,           fake.instance, fake.clock,    fake.tray};
    Module1 m{services};

    Rig(const QString& machine, const QString& convert) {
        if (!machine.isNull())
            m.WriteINIFile(QStringLiteral("Settings"), QStringLiteral("Machine"), machine);
        if (!convert.isNull())
            m.WriteINIFile(QStringLiteral("Settings"), QStringLiteral("Convert"), convert);
        QDir().mkpath(pictures());
    }
    QString pictures() const {
        return folder.root() + QString::fromUtf8("/My Pictures $;'\xC3\xA9");
    }
    QString picture(const QString& name, const QByteArray& bytes) const {
        const QString path = pictures() + QLatin1Char('/') + name;
        WriteFile(path, bytes);
        return path;
    }
    QString tempBmp() const { return folder.file(QStringLiteral("Temp.bmp")); }
    std::optional<QString> registryWallpaper() const {
        return fake.registry.StringValue(RootKey::CurrentUser,
                                         QStringLiteral("Control Panel\\Desktop"),
                                         QStringLiteral("Wallpaper"));
    }
    QStringList messages() const {
        QStringList texts;
        for (const auto& shown : fake.dialogs.messages) {
            texts << shown.text;
            if (shown.icon != MsgIcon::Critical || shown.buttons != MsgButtons::Ok)
                texts << QStringLiteral("(not a critical OK box)");
        }
        return texts;
    }
};

QString notFound(const QString& path) {
    return QStringLiteral("Image not found:'") + path + "'";
}

int le16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
int le32(const QByteArray& b, int at) {
    return qFromLittleEndian<qint32>(b.constData() + at);
}

// Checks that the file is a standard 24-bit Windows bitmap of that size.
void verifyBitmap24(const QString& path, const QSize& size) {
    const QByteArray b = ReadFile(path);
    QVERIFY(b.size() > 54);
    QCOMPARE(b.left(2), QByteArray("BM"));
    QCOMPARE(le32(b, 2), b.size()); // file size
    QCOMPARE(le32(b, 14), 40);      // BITMAPINFOHEADER
    QCOMPARE(le32(b, 18), size.width());
    QCOMPARE(le32(b, 22), size.height()); // bottom-up rows
    QCOMPARE(le16(b, 26), 1);
    QCOMPARE(le16(b, 28), 24);
    QCOMPARE(le32(b, 30), 0); // no compression
    const int row = ((size.width() * 24 + 31) / 32) * 4;
    QCOMPARE(b.size(), le32(b, 10) + row * size.height());
}

} // namespace

class tst_SetWallpaper : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void methods_data();
    void methods();
    void conversionWritesA24BitBitmapOfTheNaturalSize();
    void conversionKeepsTheColours();
    void hostilePictures_data();
    void hostilePictures();
    void picturesPastQtsDefaultLimitConvert();
    void failedBitmapWriteIsAnError();
    void undecodablePictureLeavesTheOldBitmapUnused();
};

void tst_SetWallpaper::methods_data() {
    QTest::addColumn<QString>("machine");
    QTest::addColumn<QString>("convert");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("refuse");
    // What reaches the desktop: "active", "classic", "classic+image" or "".
    QTest::addColumn<QString>("call");
    QTest::addColumn<bool>("converted"); // the path handed on and back is Temp.bmp
    QTest::addColumn<bool>("registry");
    QTest::addColumn<bool>("message");

    QTest::newRow("1") << "1"
                       << "1" << true << false << "active" << false << false << false;
    QTest::newRow("1, numeric text") << " 1.0"
                                     << "0" << true << false << "active" << false << false << false;
    QTest::newRow("1, missing file") << "1"
                                     << "1" << false << false << "" << false << false << true;
    QTest::newRow("1, refused") << "1"
                                << "1" << true << true << "active" << false << false << true;
    QTest::newRow("2, convert") << "2"
                                << "1" << true << false << "classic+image" << true << true << false;
    QTest::newRow("2, no conversion")
        << "2"
        << "0" << true << false << "classic" << false << true << false;
    QTest::newRow("2, no conversion, missing file")
        << "2"
        << "0" << false << false << "classic" << false << false << true;
    QTest::newRow("2, no conversion, refused")
        << "2"
        << "0" << true << true << "classic" << false << false << true;
    QTest::newRow("2, convert, refused")
        << "2"
        << "1" << true << true << "classic+image" << true << false << true;
    QTest::newRow("2, convert, missing file")
        << "2"
        << "1" << false << false << "" << false << false << true;
    QTest::newRow("2, Convert absent")
        << "2" << QString() << true << false << "classic+image" << true << true << false;
    QTest::newRow("2, Convert garbled")
        << "2"
        << "yes" << true << false << "classic+image" << true << true << false;
    QTest::newRow("2, Convert 0.0")
        << "2"
        << "0.0" << true << false << "classic" << false << true << false;
    QTest::newRow("0") << "0"
                       << "1" << true << false << "" << false << false << false;
    QTest::newRow("3") << "3"
                       << "1" << true << false << "" << false << false << false;
    QTest::newRow("absent") << QString() << "1" << true << false << "" << false << false << false;
    QTest::newRow("garbled") << "two"
                             << "1" << true << false << "" << false << false << false;
}

void tst_SetWallpaper::methods() {
    QFETCH(QString, machine);
    QFETCH(QString, convert);
    QFETCH(bool, exists);
    QFETCH(bool, refuse);
    QFETCH(QString, call);
    QFETCH(bool, converted);
    QFETCH(bool, registry);
    QFETCH(bool, message);

    Rig rig(machine, convert);
    rig.wallpaper.refuse = refuse;
    const QString original = rig.pictures() + QStringLiteral("/sea \"view\".jpg");
    if (exists)
        QVERIFY(!WriteFile(original, Encoded(FourColours(QSize(64, 48)), "JPEG")).isEmpty());
    QString path = original;
    Set_Wallpaper(rig.m, path);

    const QString handed = converted ? rig.tempBmp() : original;
    QCOMPARE(path, handed);
    if (call.isEmpty()) {
        QVERIFY(rig.wallpaper.calls.isEmpty());
    } else {
        QCOMPARE(rig.wallpaper.calls.size(), 1);
        const auto& c = rig.wallpaper.calls.front();
        QCOMPARE(c.method, call);
        QCOMPARE(c.path, handed);
        if (call == QLatin1String("active"))
            QCOMPARE(c.style, 2);
        if (call == QLatin1String("classic+image"))
            QCOMPARE(c.image.size(), QSize(64, 48));
    }
    QCOMPARE(rig.registryWallpaper(), registry ? std::optional<QString>(handed) : std::nullopt);
    QCOMPARE(rig.messages(), message ? QStringList{notFound(handed)} : QStringList{});
    QCOMPARE(QFileInfo::exists(rig.tempBmp()), converted);
}

void tst_SetWallpaper::conversionWritesA24BitBitmapOfTheNaturalSize() {
    Rig rig(QStringLiteral("2"), QStringLiteral("1"));
    QString path =
        rig.picture(QStringLiteral("wide.jpg"), Encoded(FourColours(QSize(301, 97)), "JPEG"));
    Set_Wallpaper(rig.m, path);
    QCOMPARE(path, rig.tempBmp());
    verifyBitmap24(rig.tempBmp(), QSize(301, 97));

    // The next conversion overwrites it, and names it anew for the desktop.
    path = rig.picture(QStringLiteral("small.gif"), TinyGif());
    Set_Wallpaper(rig.m, path);
    QCOMPARE(path, rig.folder.path() + QStringLiteral("/.Temp.bmp"));
    QCOMPARE(QFileInfo(path).symLinkTarget(), rig.tempBmp());
    QCOMPARE(rig.registryWallpaper(), path);
    verifyBitmap24(rig.tempBmp(), QSize(1, 1));
    QCOMPARE(rig.wallpaper.calls.size(), 2);
    QVERIFY(rig.messages().isEmpty());
    QCOMPARE(QDir(rig.folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{".Temp.bmp"}
                                                                                << "Settings.INI"
                                                                                << "Temp.bmp");
}

void tst_SetWallpaper::conversionKeepsTheColours() {
    Rig rig(QStringLiteral("2"), QStringLiteral("1"));
    QString path = rig.picture(QStringLiteral("b16.bmp"), Bitmap16());
    Set_Wallpaper(rig.m, path);
    verifyBitmap24(rig.tempBmp(), QSize(2, 2));
    const QImage written(rig.tempBmp());
    const QImage source(rig.pictures() + QStringLiteral("/b16.bmp"));
    // 5-bit channels widen to 248 (0xF8) in Qt's reader.
    QCOMPARE(written.pixel(0, 0), qRgb(248, 0, 0));
    QCOMPARE(written.pixel(1, 0), qRgb(0, 248, 0));
    QCOMPARE(written.pixel(0, 1), qRgb(0, 0, 248));
    QCOMPARE(written.pixel(1, 1), qRgb(248, 248, 248));
    QCOMPARE(written.convertToFormat(QImage::Format_RGB32),
             source.convertToFormat(QImage::Format_RGB32));
    // The screen gets the very same picture.
    QCOMPARE(rig.wallpaper.calls.size(), 1);
    QCOMPARE(rig.wallpaper.calls.front().image.convertToFormat(QImage::Format_RGB32),
             written.convertToFormat(QImage::Format_RGB32));
}

void tst_SetWallpaper::hostilePictures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("converted"); // empty: the message instead
    QTest::newRow("jpeg named gif")
        << "photo.gif" << Encoded(FourColours(QSize(40, 30)), "JPEG") << QSize(40, 30);
    QTest::newRow("1x1 gif") << "dot.gif" << TinyGif() << QSize(1, 1);
    QTest::newRow("16-bit bmp") << "b16.bmp" << Bitmap16() << QSize(2, 2);
    QTest::newRow("truncated jpeg")
        << "cut.jpg" << TruncatedJpeg(QSize(120, 80), 0.6) << QSize(120, 80);
    QTest::newRow("jpeg cut before its picture data")
        << "head.jpg" << TruncatedJpeg(QSize(120, 80), 0.1) << QSize();
    QTest::newRow("30000x20000 jpeg header") << "huge.jpg" << JpegClaiming(30000, 20000) << QSize();
    QTest::newRow("30000x20000 bmp header")
        << "huge.bmp" << BitmapHeaderOnly(30000, 20000) << QSize();
    QTest::newRow("20000x10000 bmp header")
        << "big.bmp" << BitmapHeaderOnly(20000, 10000) << QSize();
    QTest::newRow("text named jpg") << "notes.jpg" << QByteArray("hello\n") << QSize();
    QTest::newRow("empty file") << "empty.bmp" << QByteArray() << QSize();
}

void tst_SetWallpaper::hostilePictures() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, converted);
    Rig rig(QStringLiteral("2"), QStringLiteral("1"));
    const QString original = rig.picture(name, bytes);
    QString path = original;
    Set_Wallpaper(rig.m, path);
    if (converted.isValid()) {
        QVERIFY(rig.messages().isEmpty());
        QCOMPARE(path, rig.tempBmp());
        verifyBitmap24(rig.tempBmp(), converted);
        QCOMPARE(rig.wallpaper.calls.size(), 1);
        QCOMPARE(rig.wallpaper.calls.front().image.size(), converted);
    } else {
        QCOMPARE(rig.messages(), QStringList{notFound(original)});
        QCOMPARE(path, original);
        QVERIFY(rig.wallpaper.calls.isEmpty());
        QVERIFY(!rig.registryWallpaper().has_value());
        QVERIFY(!QFileInfo::exists(rig.tempBmp()));
    }
    QCOMPARE(QImageReader::allocationLimit(), 128); // Qt's own limit is put back
}

void tst_SetWallpaper::picturesPastQtsDefaultLimitConvert() {
    // 34 megapixels: more than Qt decodes under its own 128 MB limit, as
    // photos of today's cameras are.
    const QSize size(6200, 5500);
    QImage plain(size, QImage::Format_RGB32);
    plain.fill(qRgb(10, 120, 200));
    Rig rig(QStringLiteral("2"), QStringLiteral("1"));
    QString path = rig.picture(QStringLiteral("camera.jpg"), Encoded(plain, "JPEG", 50));
    Set_Wallpaper(rig.m, path);
    QVERIFY(rig.messages().isEmpty());
    QCOMPARE(path, rig.tempBmp());
    verifyBitmap24(rig.tempBmp(), size);
    QCOMPARE(QImageReader::allocationLimit(), 128);
}

void tst_SetWallpaper::failedBitmapWriteIsAnError() {
    Rig rig(QStringLiteral("2"), QStringLiteral("1"));
    QVERIFY(QDir().mkpath(rig.tempBmp())); // a folder where the bitmap belongs
    const QString original =
        rig.picture(QStringLiteral("a.jpg"), Encoded(FourColours(QSize(20, 10)), "JPEG"));
    QString path = original;
    Set_Wallpaper(rig.m, path);
    QCOMPARE(path, original);
    QCOMPARE(rig.messages(), QStringList{notFound(original)});
    QVERIFY(!rig.registryWallpaper().has_value());
}

void tst_SetWallpaper::undecodablePictureLeavesTheOldBitmapUnused() {
    Rig rig(QStringLiteral("2"), QStringLiteral("1"));
    QString first = rig.picture(QStringLiteral("a.bmp"), Encoded(FourColours(QSize(8, 8)), "BMP"));
    Set_Wallpaper(rig.m, first);
    QCOMPARE(first, rig.tempBmp());
    const QByteArray oldBitmap = ReadFile(rig.tempBmp());

    const QString broken = rig.picture(QStringLiteral("b.jpg"), QByteArray("\xFF\xD8\xFF garbage"));
    QString path = broken;
    Set_Wallpaper(rig.m, path);
    QCOMPARE(path, broken);
    QCOMPARE(rig.messages(), QStringList{notFound(broken)});
    QCOMPARE(rig.wallpaper.calls.size(), 1); // only the first picture reached the desktop
    QCOMPARE(ReadFile(rig.tempBmp()), oldBitmap);
}

QTEST_MAIN(tst_SetWallpaper)
#include "tst_SetWallpaper.moc"
