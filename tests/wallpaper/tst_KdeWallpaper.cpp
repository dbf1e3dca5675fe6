#include "platform/wallpaper/KdeWallpaper.h"

#include <QDBusContext>
#include <QDBusError>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMutex>
#include <QtTest>

using namespace tavorin;

namespace {

// Stands in for plasmashell: records every script it is given.
class PlasmaStandIn : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")

  public:
    QStringList scripts() const {
        QMutexLocker lock(&mutex_);
        return scripts_;
    }
    void setRefuse(bool refuse) {
        QMutexLocker lock(&mutex_);
        refuse_ = refuse;
    }

  public Q_SLOTS:
    QString evaluateScript(const QString& script) {
        QMutexLocker lock(&mutex_);
        scripts_.append(script);
        if (refuse_)
            sendErrorReply(QDBusError::Failed, QStringLiteral("Error: script failed"));
        return {};
    }

  private:
    mutable QMutex mutex_;
    QStringList scripts_;
    bool refuse_ = false;
};

// The text of the script's string literal that follows prefix.
QString LiteralAfter(const QString& script, const QString& prefix) {
    const qsizetype start = script.indexOf(prefix);
    if (start < 0)
        return QStringLiteral("<no %1>").arg(prefix);
    const qsizetype from = start + prefix.size();
    const qsizetype end = script.indexOf(QStringLiteral(";\n"), from);
    return script.mid(from, end - from);
}

// A double-quoted literal that uses only \", \\ and \uXXXX reads the same
// in JSON and in a script.
QString DecodeLiteral(const QString& literal) {
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray("[") + literal.toUtf8() + QByteArray("]"));
    if (!document.isArray())
        return QStringLiteral("<not a literal: %1>").arg(literal);
    return document.array().at(0).toString();
}

} // namespace

class tst_KdeWallpaper : public QObject {
    Q_OBJECT

  private:
    QThread thread_;
    PlasmaStandIn* plasma_ = nullptr;
    QDBusConnection standInBus_{QStringLiteral("none")};

  private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus");
        // The stand-in answers from its own thread and connection while the
        // test waits for the reply.
        plasma_ = new PlasmaStandIn;
        plasma_->moveToThread(&thread_);
        thread_.start();
        standInBus_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                    QStringLiteral("plasma-stand-in"));
        QVERIFY(standInBus_.isConnected());
        QVERIFY(standInBus_.registerObject(QStringLiteral("/PlasmaShell"), plasma_,
                                           QDBusConnection::ExportAllSlots));
        QVERIFY(standInBus_.registerService(QStringLiteral("org.kde.plasmashell")));
    }

    void cleanupTestCase() {
        standInBus_.unregisterService(QStringLiteral("org.kde.plasmashell"));
        QDBusConnection::disconnectFromBus(QStringLiteral("plasma-stand-in"));
        thread_.quit();
        thread_.wait();
        delete plasma_;
    }

    void writesLiteralsThatReadBackExactly_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("literal");
        QTest::newRow("plain") << "/a/b.jpg"
                               << "\"/a/b.jpg\"";
        QTest::newRow("quote and backslash") << "a\"b\\c"
                                             << "\"a\\\"b\\\\c\"";
        QTest::newRow("single quote") << "it's"
                                      << "\"it's\"";
        QTest::newRow("newline and tab") << "a\nb\tc"
                                         << "\"a\\u000ab\\u0009c\"";
        QTest::newRow("non-ASCII") << "Ü日"
                                   << "\"\\u00dc\\u65e5\"";
        QTest::newRow("outside the basic plane") << "\U0001F600"
                                                 << "\"\\ud83d\\ude00\"";
    }

    void writesLiteralsThatReadBackExactly() {
        QFETCH(QString, text);
        QFETCH(QString, literal);
        QCOMPARE(KdeWallpaper::StringLiteral(text), literal);
        QCOMPARE(DecodeLiteral(literal), text);
    }

    void sendsAScriptForEveryDesktop_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "/home/u/Pictures/beach.jpg";
        QTest::newRow("quote and backslash") << "/home/u/it's \"mine\" back\\slash.jpg";
        QTest::newRow("spaces, dollar, semicolon") << "/home/u/My Pictures/$HOME; rm.png";
        QTest::newRow("non-ASCII") << "/home/u/Bilder/Ünïcödé 日本.gif";
        QTest::newRow("newline") << "/home/u/two\nlines.jpg";
        QTest::newRow("URL characters") << "/home/u/100% #1?.jpg";
    }

    void sendsAScriptForEveryDesktop() {
        QFETCH(QString, path);
        const qsizetype before = plasma_->scripts().size();
        KdeWallpaper kde(QDBusConnection::sessionBus());
        QString error;
        QVERIFY2(kde.Apply(path, &error), qPrintable(error));
        const QStringList scripts = plasma_->scripts();
        QCOMPARE(scripts.size(), before + 1);
        const QString script = scripts.last();

        QVERIFY(script.contains(QLatin1String("desktops()")));
        QVERIFY(script.contains(QLatin1String("d.wallpaperPlugin = \"org.kde.image\";")));
        QVERIFY(script.contains(QLatin1String(
            "d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];")));
        QVERIFY(script.contains(QLatin1String("d.writeConfig(\"Image\", image);")));
        QVERIFY(script.contains(QLatin1String("d.writeConfig(\"FillMode\", 0);")));

        const QString literal = LiteralAfter(script, QStringLiteral("var image = "));
        for (const QChar c : literal)
            QVERIFY2(c.unicode() >= 0x20 && c.unicode() < 0x7f, qPrintable(literal));
        const QString url = DecodeLiteral(literal);
        QVERIFY2(url.startsWith(QLatin1String("file:///")), qPrintable(url));
        QCOMPARE(QUrl(url).toLocalFile(), path);
    }

    void aRefusedScriptIsAnError() {
        plasma_->setRefuse(true);
        KdeWallpaper kde(QDBusConnection::sessionBus());
        QString error;
        const bool applied = kde.Apply(QStringLiteral("/a.jpg"), &error);
        plasma_->setRefuse(false);
        QVERIFY(!applied);
        QVERIFY2(error.contains(QLatin1String("script failed")), qPrintable(error));
    }

    void noPlasmaIsAnError() {
        QVERIFY(standInBus_.unregisterService(QStringLiteral("org.kde.plasmashell")));
        KdeWallpaper kde(QDBusConnection::sessionBus(), 5000);
        QString error;
        const bool applied = kde.Apply(QStringLiteral("/a.jpg"), &error);
        QVERIFY(standInBus_.registerService(QStringLiteral("org.kde.plasmashell")));
        QVERIFY(!applied);
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_KdeWallpaper)
#include "tst_KdeWallpaper.moc"
