#include "platform/wallpaper/GSettingsWallpaper.h"

#include "tests/support/TempProgramFolder.h"

#include <QtTest>

#include <gio/gio.h>

using namespace tavorin;

Q_DECLARE_METATYPE(tavorin::GSettingsFamily)

namespace {

// A key as another program sees it: the gsettings tool, reading the same
// key file.
QString ReadWithTool(const QString& schema, const QString& key, const QString& schemaFolder = {}) {
    QStringList arguments;
    if (!schemaFolder.isEmpty())
        arguments << QStringLiteral("--schemadir") << schemaFolder;
    arguments << QStringLiteral("get") << schema << key;
    QProcess tool;
    tool.start(QStringLiteral("gsettings"), arguments);
    if (!tool.waitForFinished(10000) || tool.exitCode() != 0)
        return QStringLiteral("<gsettings failed: %1>")
            .arg(QString::fromLocal8Bit(tool.readAllStandardError()));
    const QByteArray text = tool.readAllStandardOutput().trimmed();
    GVariant* value =
        g_variant_parse(G_VARIANT_TYPE_STRING, text.constData(), nullptr, nullptr, nullptr);
    if (!value)
        return QStringLiteral("<not a text: %1>").arg(QString::fromUtf8(text));
    const QString result = QString::fromUtf8(g_variant_get_string(value, nullptr));
    g_variant_unref(value);
    return result;
}

QString PathOfUri(const QString& uri) {
    gchar* name = g_filename_from_uri(uri.toUtf8().constData(), nullptr, nullptr);
    const QString path = name ? QFile::decodeName(name) : QStringLiteral("<not a file URI>");
    g_free(name);
    return path;
}

// Compiles one schema file into folder.
bool CompileSchema(const QString& folder, const QByteArray& xml) {
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/test.gschema.xml"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(xml);
    file.close();
    return QProcess::execute(QStringLiteral("glib-compile-schemas"), {folder}) == 0;
}

const QByteArray kBackgroundEnum =
    "  <enum id='test.options'>\n"
    "    <value nick='none' value='0'/><value nick='wallpaper' value='1'/>\n"
    "    <value nick='stretched' value='4'/>\n"
    "  </enum>\n";

QByteArray BackgroundSchema(const QByteArray& keys) {
    return "<schemalist>\n" + kBackgroundEnum +
           "  <schema id='org.gnome.desktop.background' path='/org/gnome/desktop/background/'>\n" +
           keys + "  </schema>\n</schemalist>\n";
}

} // namespace

class tst_GSettingsWallpaper : public QObject {
    Q_OBJECT

  private:
    // Points XDG_CONFIG_HOME at a temporary folder; GLib reads it once.
    test::TempProgramFolder folder_;

  private Q_SLOTS:
    void initTestCase() {
        qputenv("GSETTINGS_BACKEND", "keyfile");
        qunsetenv("GSETTINGS_SCHEMA_DIR");
    }

    void writesTheDesktopsKeys_data() {
        QTest::addColumn<GSettingsFamily>("family");
        QTest::addColumn<QString>("path");

        const QStringList paths = {
            QStringLiteral("/pictures/plain.jpg"),
            QStringLiteral("/my pictures/with space.jpg"),
            QStringLiteral("/pictures/it's \"quoted\".png"),
            QStringLiteral("/bilder/Ünïcödé ß 日本.gif"),
            QStringLiteral("/pictures/cost $HOME; rm -rf ~.bmp"),
            QStringLiteral("/pictures/100% #1?.jpg"),
        };
        const struct {
            const char* name;
            GSettingsFamily family;
        } families[] = {{"GNOME", GSettingsFamily::Gnome},
                        {"Cinnamon", GSettingsFamily::Cinnamon},
                        {"MATE", GSettingsFamily::Mate}};
        for (const auto& family : families) {
            for (const QString& path : paths)
                QTest::addRow("%s %s", family.name, qPrintable(path)) << family.family << path;
        }
    }

    void writesTheDesktopsKeys() {
        QFETCH(GSettingsFamily, family);
        QFETCH(QString, path);
        GSettingsWallpaper wallpaper(family);
        QString error;
        QVERIFY2(wallpaper.Apply(path, &error), qPrintable(error));

        switch (family) {
        case GSettingsFamily::Gnome: {
            const QString schema = QStringLiteral("org.gnome.desktop.background");
            const QString uri = ReadWithTool(schema, QStringLiteral("picture-uri"));
            QVERIFY2(uri.startsWith(QLatin1String("file:///")), qPrintable(uri));
            QVERIFY2(!uri.contains(QLatin1Char(' ')) && !uri.contains(QLatin1Char('"')),
                     qPrintable(uri));
            QCOMPARE(PathOfUri(uri), path);
            QCOMPARE(ReadWithTool(schema, QStringLiteral("picture-uri-dark")), uri);
            QCOMPARE(ReadWithTool(schema, QStringLiteral("picture-options")),
                     QStringLiteral("stretched"));
            break;
        }
        case GSettingsFamily::Cinnamon: {
            const QString schema = QStringLiteral("org.cinnamon.desktop.background");
            QCOMPARE(PathOfUri(ReadWithTool(schema, QStringLiteral("picture-uri"))), path);
            QCOMPARE(ReadWithTool(schema, QStringLiteral("picture-options")),
                     QStringLiteral("stretched"));
            break;
        }
        case GSettingsFamily::Mate: {
            const QString schema = QStringLiteral("org.mate.background");
            QCOMPARE(ReadWithTool(schema, QStringLiteral("picture-filename")), path);
            QCOMPARE(ReadWithTool(schema, QStringLiteral("picture-options")),
                     QStringLiteral("stretched"));
            break;
        }
        }
    }

    void aMissingSchemaIsAnError() {
        QTemporaryDir empty;
        GSettingsWallpaper noSchemas(GSettingsFamily::Gnome, empty.path());
        QString error;
        QVERIFY(!noSchemas.Apply(QStringLiteral("/a.jpg"), &error));
        QVERIFY2(error.contains(QLatin1String("org.gnome.desktop.background")), qPrintable(error));

        QTemporaryDir other;
        QVERIFY(CompileSchema(other.path(),
                              "<schemalist><schema id='org.example.other' path='/org/example/'>"
                              "<key name='a' type='s'><default>''</default></key>"
                              "</schema></schemalist>"));
        GSettingsWallpaper otherSchemas(GSettingsFamily::Mate, other.path());
        error.clear();
        QVERIFY(!otherSchemas.Apply(QStringLiteral("/a.jpg"), &error));
        QVERIFY2(error.contains(QLatin1String("org.mate.background")), qPrintable(error));
    }

    void withoutADarkKeyOnlyTheOthersAreWritten() {
        QTemporaryDir schemas;
        QVERIFY(CompileSchema(schemas.path(),
                              BackgroundSchema("<key name='picture-uri' type='s'>"
                                               "<default>''</default></key>\n"
                                               "<key name='picture-options' enum='test.options'>"
                                               "<default>'none'</default></key>\n")));
        GSettingsWallpaper wallpaper(GSettingsFamily::Gnome, schemas.path());
        QString error;
        const QString path = QStringLiteral("/old gnome/picture.jpg");
        QVERIFY2(wallpaper.Apply(path, &error), qPrintable(error));
        const QString schema = QStringLiteral("org.gnome.desktop.background");
        QCOMPARE(PathOfUri(ReadWithTool(schema, QStringLiteral("picture-uri"), schemas.path())),
                 path);
        QCOMPARE(ReadWithTool(schema, QStringLiteral("picture-options"), schemas.path()),
                 QStringLiteral("stretched"));
    }

    void keysOfAnotherKindAreAnError_data() {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QString>("key");

        QTest::newRow("no picture key")
            << QByteArray("<key name='picture-options' enum='test.options'>"
                          "<default>'none'</default></key>\n")
            << "picture-uri";
        QTest::newRow("picture key is a number")
            << QByteArray("<key name='picture-uri' type='i'><default>0</default></key>\n"
                          "<key name='picture-options' enum='test.options'>"
                          "<default>'none'</default></key>\n")
            << "picture-uri";
        QTest::newRow("no stretched option")
            << QByteArray("<key name='picture-uri' type='s'><default>''</default></key>\n"
                          "<key name='picture-options' type='s'>"
                          "<choices><choice value='none'/></choices>"
                          "<default>'none'</default></key>\n")
            << "picture-options";
    }

    void keysOfAnotherKindAreAnError() {
        QFETCH(QByteArray, keys);
        QFETCH(QString, key);
        QTemporaryDir schemas;
        QVERIFY(CompileSchema(schemas.path(), BackgroundSchema(keys)));
        GSettingsWallpaper wallpaper(GSettingsFamily::Gnome, schemas.path());
        QString error;
        QVERIFY(!wallpaper.Apply(QStringLiteral("/a.jpg"), &error));
        QVERIFY2(error.contains(key), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(tst_GSettingsWallpaper)
#include "tst_GSettingsWallpaper.moc"
