#include "platform/wallpaper/KdeWallpaper.h"

#include <QDBusContext>
#include <QDBusError>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMutex>
#include <QtTest>

using namespace tavorin;

namespace {

// Stands in for plasmashell where the real one cannot show a case: reads the
// picture's literal as the shell does and prints it back, prints another
// value, nothing, or fails.
class PlasmaStandIn : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")

  public:
    QStringList scripts() const {
        QMutexLocker lock(&mutex_);
        return scripts_;
    }
    void setAnswer(const QString& answer) {
        QMutexLocker lock(&mutex_);
        answer_ = answer;
    }

  public Q_SLOTS:
    QString evaluateScript(const QString& script);

  private:
    mutable QMutex mutex_;
    QStringList scripts_;
    QString answer_; // "", "fail", "other", "none"
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

QString PlasmaStandIn::evaluateScript(const QString& script) {
    QMutexLocker lock(&mutex_);
    scripts_.append(script);
    if (answer_ == QLatin1String("fail"))
        sendErrorReply(QDBusError::Failed, QStringLiteral("Error: script failed"));
    if (answer_ == QLatin1String("other"))
        return QStringLiteral("file:///usr/share/wallpapers/Next.png\n");
    if (!answer_.isEmpty())
        return {};
    return DecodeLiteral(LiteralAfter(script, QStringLiteral("var image = "))) + '\n';
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

    // The real shell shows the ordinary paths (tests/wallpaper-e2e).
    void awkwardPathsReadBack_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("quote and backslash") << "/home/u/it's \"mine\" back\\slash.jpg";
        QTest::newRow("newline") << "/home/u/two\nlines.jpg";
    }

    void awkwardPathsReadBack() {
        QFETCH(QString, path);
        KdeWallpaper kde(QDBusConnection::sessionBus());
        QString error;
        QVERIFY2(kde.Apply(path, &error), qPrintable(error));
        const QString literal =
            LiteralAfter(plasma_->scripts().last(), QStringLiteral("var image = "));
        for (const QChar c : literal)
            QVERIFY2(c.unicode() >= 0x20 && c.unicode() < 0x7f, qPrintable(literal));
        QCOMPARE(QUrl(DecodeLiteral(literal)).toLocalFile(), path);
    }

    void refusals_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("reason");
        QTest::newRow("script error") << "fail"
                                      << "script failed";
        QTest::newRow("value did not take") << "other"
                                            << "Next.png";
        QTest::newRow("no desktop") << "none"
                                    << "no desktop";
        QTest::newRow("no Plasma") << "gone"
                                   << "org.kde.plasmashell";
    }

    void refusals() {
        QFETCH(QString, answer);
        QFETCH(QString, reason);
        plasma_->setAnswer(answer);
        if (answer == QLatin1String("gone"))
            QVERIFY(standInBus_.unregisterService(QStringLiteral("org.kde.plasmashell")));
        KdeWallpaper kde(QDBusConnection::sessionBus(), 5000);
        QString error;
        const bool applied = kde.Apply(QStringLiteral("/a.jpg"), &error);
        plasma_->setAnswer({});
        if (answer == QLatin1String("gone"))
            QVERIFY(standInBus_.registerService(QStringLiteral("org.kde.plasmashell")));
        QVERIFY(!applied);
        QVERIFY2(error.contains(reason), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(tst_KdeWallpaper)
#include "tst_KdeWallpaper.moc"
