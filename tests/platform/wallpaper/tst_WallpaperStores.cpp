// The desktops' own stores on a private bus: GSettings, xfconf, and Plasma's script over D-Bus.
#include "platform/wallpaper/GSettingsWallpaper.h"
#include "platform/wallpaper/KdeWallpaper.h"
#include "platform/wallpaper/XfceWallpaper.h"
#include "tests/support/TestPictures.h"

#include <QDBusContext>
#include <QDBusError>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

#include <gio/gio.h>

using namespace tavorin;

namespace {

const QStringList kPaths = {"/pictures/plain.jpg",
                            "/my pictures/with space.jpg",
                            "/pictures/it's \"quoted\" back\\slash.png",
                            "/bilder/Ünïcödé ß 日本.gif",
                            "/pictures/cost $HOME; rm -rf ~.bmp",
                            "/pictures/100% #1?.jpg"};

// How each family's store names the picture.
struct Family {
    GSettingsFamily family;
    const char* schema;
    const char* pictureKey;
    bool uri; // a file URI, not a path
};
const Family kFamilies[] = {
    {GSettingsFamily::Gnome, "org.gnome.desktop.background", "picture-uri", true},
    {GSettingsFamily::Cinnamon, "org.cinnamon.desktop.background", "picture-uri", true},
    {GSettingsFamily::Mate, "org.mate.background", "picture-filename", false}};

// Keys of test schemas.
const QByteArray kEnum = "<enum id='o'><value nick='none' value='0'/>"
                         "<value nick='stretched' value='4'/></enum>";
const QByteArray kUri = "<key name='picture-uri' type='s'><default>''</default></key>";
const QByteArray kNumberUri = "<key name='picture-uri' type='i'><default>0</default></key>";
const QByteArray kOptions = "<key name='picture-options' enum='o'><default>'none'</default></key>";
const QByteArray kNoStretched =
    "<key name='picture-options' type='s'><choices><choice value='none'/>"
    "</choices><default>'none'</default></key>";

const QString kFirstImage = "/backdrop/screen0/monitor0/workspace0/last-image";

// A tool's output without its last line end.
QString Tool(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    tool.waitForFinished(10000);
    return QString::fromUtf8(tool.readAllStandardOutput()).remove(QRegularExpression("\n$"));
}

// A key as another program sees it: the gsettings tool, its text value
// decoded (and a file URI made a path again).
QString GSetting(const QString& schema, const QString& key, const QString& folder = {}) {
    const QStringList dir = folder.isEmpty() ? QStringList() : QStringList{"--schemadir", folder};
    const QByteArray text = Tool("gsettings", dir + QStringList{"get", schema, key}).toUtf8();
    GVariant* value = g_variant_parse(G_VARIANT_TYPE_STRING, text, nullptr, nullptr, nullptr);
    QString result = value ? QString::fromUtf8(g_variant_get_string(value, nullptr)) : text;
    if (value)
        g_variant_unref(value);
    if (gchar* name = g_filename_from_uri(result.toUtf8(), nullptr, nullptr)) {
        result = QFile::decodeName(name) + " (URI)";
        g_free(name);
    }
    return result;
}

QString Xfconf(const QString& property) {
    return Tool("xfconf-query", {"-c", "xfce4-desktop", "-p", property});
}

bool CreateXfconf(const QString& property, const char* type, const char* value) {
    Tool("xfconf-query", {"-c", "xfce4-desktop", "-p", property, "-n", "-t", type, "-s", value});
    return Xfconf(property) == value;
}

// A double-quoted literal that uses only \", \\ and \uXXXX reads the same in JSON and in a script.
QString DecodeLiteral(const QString& literal) {
    return QJsonDocument::fromJson("[" + literal.toUtf8() + "]").array().at(0).toString("<bad>");
}

// Stands in for plasmashell where the real one cannot show a case: reads the
// picture's literal as the shell does and prints it back, or, by the
// picture's name, fails, prints another picture or nothing.
class PlasmaStandIn : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")

  public Q_SLOTS:
    QString evaluateScript(const QString& script) {
        const QString literal = script.section("var image = ", 1).section(";\n", 0, 0);
        const QString image = DecodeLiteral(literal);
        if (image.endsWith("/fail.jpg") || literal.contains(QRegularExpression("[^ -~]")))
            sendErrorReply(QDBusError::Failed, "Error: script failed");
        if (image.endsWith("/other.jpg"))
            return "file:///usr/share/wallpapers/Next.png\n";
        return image.endsWith("/none.jpg") ? QString() : image + '\n';
    }
};

} // namespace

class tst_WallpaperStores : public QObject {
    Q_OBJECT

    QThread thread_;
    PlasmaStandIn* plasma_ = nullptr;
    QDBusConnection standInBus_{QStringLiteral("none")};

  private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a private session bus");
        qputenv("GSETTINGS_BACKEND", "keyfile");
        qunsetenv("GSETTINGS_SCHEMA_DIR");
        // The stand-in answers from its own thread and connection while the test waits.
        plasma_ = new PlasmaStandIn;
        plasma_->moveToThread(&thread_);
        thread_.start();
        standInBus_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "plasma");
        QVERIFY(
            standInBus_.registerObject("/PlasmaShell", plasma_, QDBusConnection::ExportAllSlots));
        QVERIFY(standInBus_.registerService("org.kde.plasmashell"));
    }

    void cleanupTestCase() {
        QDBusConnection::disconnectFromBus("plasma");
        thread_.quit();
        thread_.wait();
        delete plasma_;
    }

    void gsettingsTakeThePicture_data() {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("path");
        for (const QString& path : kPaths)
            for (int family = 0; family < 3; ++family)
                QTest::addRow("%s %s", kFamilies[family].schema, qPrintable(path))
                    << family << path;
    }

    void gsettingsTakeThePicture() {
        QFETCH(int, family);
        QFETCH(QString, path);
        const Family& f = kFamilies[family];
        QString error;
        QVERIFY2(GSettingsWallpaper(f.family).Apply(path, &error), qPrintable(error));
        QCOMPARE(GSetting(f.schema, f.pictureKey), f.uri ? path + " (URI)" : path);
        QCOMPARE(GSetting(f.schema, "picture-options"), QStringLiteral("stretched"));
        if (f.family == GSettingsFamily::Gnome)
            QCOMPARE(GSetting(f.schema, "picture-uri-dark"), path + " (URI)");
    }

    // Older or odd schemas: optional keys may be missing, the others must take a text.
    void gsettingsCheckTheSchema_data() {
        QTest::addColumn<QByteArray>("keys"); // empty: only another schema is installed
        QTest::addColumn<QString>("error");   // empty: the picture is taken
        QTest::newRow("no schema") << QByteArray() << "org.gnome.desktop.background";
        QTest::newRow("no dark key") << kUri + kOptions << "";
        QTest::newRow("no picture key") << kOptions << "picture-uri";
        QTest::newRow("picture key is a number") << kNumberUri + kOptions << "picture-uri";
        QTest::newRow("no stretched option") << kUri + kNoStretched << "picture-options";
    }

    void gsettingsCheckTheSchema() {
        QFETCH(QByteArray, keys);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QByteArray id = keys.isEmpty() ? "org.example.other" : "org.gnome.desktop.background";
        QVERIFY(!test::WriteFile(dir.filePath("test.gschema.xml"),
                                 "<schemalist>" + kEnum + "<schema id='" + id + "' path='/a/'>" +
                                     keys + "</schema></schemalist>")
                     .isEmpty());
        QCOMPARE(QProcess::execute("glib-compile-schemas", {dir.path()}), 0);
        QString failure;
        const QString path = "/old gnome/picture.jpg";
        QCOMPARE(GSettingsWallpaper(GSettingsFamily::Gnome, dir.path()).Apply(path, &failure),
                 error.isEmpty());
        QVERIFY2(failure.contains(error), qPrintable(failure));
        if (error.isEmpty()) {
            QCOMPARE(GSetting(id, "picture-uri", dir.path()), path + " (URI)");
            QCOMPARE(GSetting(id, "picture-options", dir.path()), QStringLiteral("stretched"));
        }
    }

    void xfconfFindsTheImageProperties() {
        const QString b = "/backdrop/screen0/monitor";
        QCOMPARE(
            XfceWallpaper::ImageProperties({b + "HDMI-1/workspace1/last-image", "/other/last-image",
                                            b + "HDMI-1/workspace1/image-style",
                                            b + "DP-2/workspace0/last-image-x",
                                            b + "DP-2/workspace0/last-image"}),
            QStringList({b + "DP-2/workspace0/last-image", b + "HDMI-1/workspace1/last-image"}));
    }

    // Every monitor's and workspace's picture, stretched; the first monitor's when there is none.
    void xfconfTakesThePicture_data() {
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QString>("path");
        const QString b = "/backdrop/screen0/monitor";
        QTest::newRow("none yet") << QStringList() << kPaths[0];
        QTest::newRow("three") << QStringList{b + "DP-2/workspace0/last-image",
                                              b + "HDMI-1/workspace0/last-image",
                                              b + "HDMI-1/workspace1/last-image"}
                               << kPaths[2];
    }

    void xfconfTakesThePicture() {
        QFETCH(QStringList, images);
        QFETCH(QString, path);
        Tool("xfconf-query", {"-c", "xfce4-desktop", "-p", "/backdrop", "-r", "-R"});
        for (const QString& image : images) {
            QVERIFY(CreateXfconf(image, "string", "/old.jpg"));
            QVERIFY(CreateXfconf(XfceWallpaper::StyleProperty(image), "int", "5"));
        }
        const QString colour = "/backdrop/screen0/monitorDP-2/workspace0/color-style";
        QVERIFY(images.isEmpty() || CreateXfconf(colour, "int", "1"));
        const auto list = [] { return Tool("xfconf-query", {"-c", "xfce4-desktop", "-l"}); };
        const qsizetype before = list().split('\n', Qt::SkipEmptyParts).size();
        QString error;
        QVERIFY2(XfceWallpaper(QDBusConnection::sessionBus()).Apply(path, &error),
                 qPrintable(error));
        for (const QString& image : images.isEmpty() ? QStringList{kFirstImage} : images) {
            QCOMPARE(Xfconf(image), path);
            QCOMPARE(Xfconf(image.chopped(10) + "image-style"), QStringLiteral("3"));
        }
        QVERIFY(images.isEmpty() || Xfconf(colour) == "1");
        QCOMPARE(list().split('\n', Qt::SkipEmptyParts).size(),
                 before + (images.isEmpty() ? 2 : 0)); // none made up
        QVERIFY(!XfceWallpaper(QDBusConnection("not connected")).Apply(path, &error));
        QVERIFY(!error.isEmpty());
    }

    void plasmaReadsLiteralsBackExactly() {
        const std::pair<QString, QString> cases[] = {
            {"/a/b.jpg", "\"/a/b.jpg\""},  {"a\"b\\c", "\"a\\\"b\\\\c\""},
            {"it's", "\"it's\""},          {"a\nb\tc", "\"a\\u000ab\\u0009c\""},
            {"Ü日", "\"\\u00dc\\u65e5\""}, {"\U0001F600", "\"\\ud83d\\ude00\""}};
        for (const auto& [text, literal] : cases) {
            QCOMPARE(KdeWallpaper::StringLiteral(text), literal);
            QCOMPARE(DecodeLiteral(literal), text);
        }
    }

    // The real shell shows the ordinary paths (the desktop scenarios).
    void plasmaTakesThePictureOrSaysWhy_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("error"); // empty: taken
        for (const QString& path : kPaths + QStringList{"/home/u/two\nlines.jpg"})
            QTest::newRow(qPrintable(path)) << path << "";
        QTest::newRow("script error") << "/a/fail.jpg"
                                      << "script failed";
        QTest::newRow("value did not take") << "/a/other.jpg"
                                            << "Next.png";
        QTest::newRow("no desktop") << "/a/none.jpg"
                                    << "no desktop";
        QTest::newRow("no Plasma") << "/a/gone.jpg"
                                   << "org.kde.plasmashell";
    }

    void plasmaTakesThePictureOrSaysWhy() {
        QFETCH(QString, path);
        QFETCH(QString, error);
        const bool gone = path.endsWith("gone.jpg");
        QVERIFY(!gone || standInBus_.unregisterService("org.kde.plasmashell"));
        QString failure;
        const bool taken = KdeWallpaper(QDBusConnection::sessionBus(), 5000).Apply(path, &failure);
        QVERIFY(!gone || standInBus_.registerService("org.kde.plasmashell"));
        QCOMPARE(taken, error.isEmpty());
        QVERIFY2(failure.contains(error), qPrintable(failure));
    }
};

QTEST_GUILESS_MAIN(tst_WallpaperStores)
#include "tst_WallpaperStores.moc"
