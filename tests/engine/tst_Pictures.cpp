// Applying a wallpaper (every method, the bitmap writer, hostile pictures) and picture facts.
#include "engine/PictureInfo.h"
#include "engine/SetWallpaper.h"
#include "tests/support/Rig.h"
#include "tests/support/Rows.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

using namespace tavorin;
using namespace tavorin::test;

namespace {

const QByteArray kJpeg = Encoded(FourColours(QSize(64, 48)), "JPEG"),
                 kJpeg120 = Encoded(FourColours(QSize(120, 80)), "JPEG");

// Settings "Machine" and "Convert" (null: absent) and a folder of pictures with an awkward name.
struct Program : Rig {
    Program(const QString& machine = "2", const QString& convert = "1") {
        if (!machine.isNull())
            set(ini::kMachine, machine);
        if (!convert.isNull())
            set(ini::kConvert, convert);
    }
    QString picture(const QString& name, const QByteArray& bytes = kJpeg) const {
        return WriteFile(folder.root() + "/My Pictures $;'\u00e9/" + name, bytes);
    }
    QString bitmap() const { return folder.file(QStringLiteral("Temp.bmp")); }
    std::optional<QString> recorded() const {
        return fake.registry.StringValue(RootKey::CurrentUser, "Control Panel\\Desktop",
                                         "Wallpaper");
    }
    QStringList applied() const { // "active", "classic", "classic+image" (with the picture)
        QStringList methods;
        for (const auto& call : fake.wallpaper.calls)
            methods << call.method + (call.image.isNull() ? "" : "+image");
        return methods;
    }
};
QStringList notFound(const QString& path) {
    return {QStringLiteral("Image not found:'") + path + "'"};
}

// The file is a standard 24-bit Windows bitmap of that size, rows bottom up.
void verifyBitmap24(const QString& path, const QSize& size) {
    const QByteArray b = ReadFile(path);
    QVERIFY(b.size() > 54);
    const auto at = [&b](int offset) { return qFromLittleEndian<qint32>(b.constData() + offset); };
    QCOMPARE(b.left(2), QByteArray("BM"));
    QCOMPARE((QList<int>{at(2), at(14), at(18), at(22), at(26), at(30)}),
             (QList<int>{int(b.size()), 40, size.width(), size.height(), 1 + (24 << 16), 0}));
    QCOMPARE(b.size(), at(10) + ((size.width() * 24 + 31) / 32) * 4 * size.height());
}

struct Method {
    const char* name;
    QString machine, convert;
    bool exists, refuse;
    QString call;   // what reaches the desktop, "" nothing
    bool converted; // the path handed on and back is Temp.bmp
    bool recorded, message;
};
struct Picture {
    const char* name;
    QString file;
    QByteArray bytes;
    QSize size, converted; // as read (invalid: not a picture), as converted (invalid: refused)
};

} // namespace

class tst_Pictures : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void methods_data() {
        // clang-format off
        AddRows<Method>(
            {{"1", "1", "1", true, false, "active", false, false, false},
             {"1, numeric text", " 1.0", "0", true, false, "active", false, false, false},
             {"1, missing file", "1", "1", false, false, "", false, false, true},
             {"1, refused", "1", "1", true, true, "active", false, false, true},
             {"2, convert", "2", "1", true, false, "classic+image", true, true, false},
             {"2, no conversion", "2", "0", true, false, "classic", false, true, false},
             {"2, no conversion, missing", "2", "0", false, false, "classic", false, false, true},
             {"2, no conversion, refused", "2", "0", true, true, "classic", false, false, true},
             {"2, convert, refused", "2", "1", true, true, "classic+image", true, false, true},
             {"2, convert, missing", "2", "1", false, false, "", false, false, true},
             {"2, Convert absent", "2", QString(), true, false, "classic+image", true, true, false},
             {"2, Convert garbled", "2", "yes", true, false, "classic+image", true, true, false},
             {"2, Convert 0.0", "2", "0.0", true, false, "classic", false, true, false},
             {"0", "0", "1", true, false, "", false, false, false},
             {"3", "3", "1", true, false, "", false, false, false},
             {"absent", QString(), "1", true, false, "", false, false, false},
             {"garbled", "two", "1", true, false, "", false, false, false}});
        // clang-format on
    }
    void methods() {
        QFETCH(Method, row);
        Program p(row.machine, row.convert);
        p.fake.wallpaper.refuse = row.refuse;
        const QString original = p.picture("sea \"view\".jpg");
        if (!row.exists)
            QVERIFY(QFile::remove(original));
        QString path = original;
        Set_Wallpaper(p.m, path);
        const QString handed = row.converted ? p.bitmap() : original;
        QCOMPARE(path, handed);
        QCOMPARE(p.applied(), row.call.isEmpty() ? QStringList() : QStringList{row.call});
        for (const auto& call : p.fake.wallpaper.calls)
            QCOMPARE(call.path, handed);
        QCOMPARE(p.recorded(), row.recorded ? std::optional(handed) : std::nullopt);
        QCOMPARE(p.messages(), row.message ? notFound(handed) : QStringList());
        QCOMPARE(QFileInfo::exists(p.bitmap()), row.converted);
    }
    void bitmapWriter() {
        Program p;
        QString path = p.picture("wide.jpg", Encoded(FourColours(QSize(301, 97)), "JPEG"));
        Set_Wallpaper(p.m, path);
        verifyBitmap24(path, QSize(301, 97));
        // The next conversion overwrites it, and names it anew (a link) for the desktop.
        path = p.picture("b16.bmp", Bitmap16());
        Set_Wallpaper(p.m, path);
        QCOMPARE(path, p.folder.file(".Temp.bmp"));
        QCOMPARE(QFileInfo(path).symLinkTarget(), p.bitmap());
        QCOMPARE(p.recorded(), path);
        verifyBitmap24(p.bitmap(), QSize(2, 2));
        // The colours kept (5-bit channels widen to 248), and the screen gets the same picture.
        const QImage written = QImage(p.bitmap()).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(
            (QList<QRgb>{written.pixel(0, 0), written.pixel(1, 0), written.pixel(0, 1),
                         written.pixel(1, 1)}),
            (QList<QRgb>{qRgb(248, 0, 0), qRgb(0, 248, 0), qRgb(0, 0, 248), qRgb(248, 248, 248)}));
        QCOMPARE(p.fake.wallpaper.calls.last().image, written);
        // A bitmap that cannot be written is an error.
        Program q;
        QVERIFY(QDir().mkpath(q.bitmap()));
        const QString original = path = q.picture("a.jpg");
        Set_Wallpaper(q.m, path);
        QCOMPARE(q.messages(), notFound(original));
        QVERIFY(!q.recorded());
    }
    void pictures_data() {
        const QSize none, huge(30000, 20000), big(20000, 10000);
        const QByteArray camera = Encoded(Solid({6200, 5500}, Qt::cyan), "JPEG", 50);
        // clang-format off
        AddRows<Picture>(
            {{"jpeg named gif", "photo.gif", kJpeg, {64, 48}, {64, 48}},
             {"1x1 gif", "a.gif", GifBytes({1, 1}, {1, 1}), {1, 1}, {1, 1}},
             {"16-bit bmp", "b16.bmp", Bitmap16(), {2, 2}, {2, 2}},
             {"truncated jpeg", "cut.jpg", kJpeg120.left(kJpeg120.size() * 6 / 10), {120, 80}, {120, 80}},
             {"jpeg cut before its pixels", "head.jpg", kJpeg120.left(kJpeg120.size() / 10), none, none},
             // Read from the header alone: decoding would need 800 MB and more.
             {"jpeg header 30000x20000", "huge.jpg", JpegClaiming(30000, 20000), huge, none},
             {"bmp header 20000x10000", "big.bmp", BitmapHeaderOnly(20000, 10000), big, none},
             {"bmp header 30000x20000", "huge.bmp", BitmapHeaderOnly(30000, 20000), none, none},
             {"text named jpg", "notes.jpg", "just some words\n", none, none},
             {"empty file", "empty.bmp", {}, none, none},
             {"folder", "folder.jpg", {}, none, none},
             // 34 megapixels: past Qt's own 128 MB limit, as today's camera photos are.
             {"camera photo", "camera.jpg", camera, {6200, 5500}, {6200, 5500}}});
        // clang-format on
    }
    void pictures() {
        QFETCH(Picture, row);
        Program p;
        const QString original = p.picture(row.file, row.bytes);
        QVERIFY(row.file != "folder.jpg" || (QFile::remove(original) && QDir().mkpath(original)));
        QCOMPARE(PictureSize(original).value_or(QSize()), row.size);
        QCOMPARE(Image_Info(original).value_or(""),
                 row.size.isValid() ? ImageInfoText(row.size, row.bytes.size(), original) : "");
        QString path = original;
        Set_Wallpaper(p.m, path);
        const bool converted = row.converted.isValid();
        QCOMPARE(path, converted ? p.bitmap() : original);
        QCOMPARE(p.messages(), converted ? QStringList() : notFound(original));
        if (converted)
            verifyBitmap24(p.bitmap(), row.converted);
        QCOMPARE(QImageReader::allocationLimit(), 128); // Qt's own limit is put back
    }
    void sizeInKBRoundsHalfToEven() {
        // clang-format off
        for (const auto& [bytes, kb] : QList<std::pair<qint64, qint64>>{
                 {511, 0}, {512, 0}, {513, 1}, {1536, 2}, {2560, 2}, {(5ll << 30) + 512, 5 << 20}})
            // clang-format on
            QCOMPARE(SizeInKB(bytes), kb);
        QCOMPARE(ImageInfoText({1024, 768}, 600, "/Pictures/a.jpg"),
                 "Resolution: 1024x768 Pixels     Size: 1KB\r\nFolder: /Pictures");
        QCOMPARE(ImageInfoText({30000, 20000}, 123456789, "/b.bmp"),
                 "Resolution: 30000x20000 Pixels     Size: 120563KB\r\nFolder: /");
    }
};

QTEST_MAIN(tst_Pictures)
#include "tst_Pictures.moc"
