#include "tests/support/TempProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>

using namespace tavorin;

// The files delivered beside the program, as the build assembles them.
class tst_DeliveredData : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void everyDeliveredFileIsInTheProgramFolder();
    void iconsHoldThreeSizes_data();
    void iconsHoldThreeSizes();
    void disabledIconIsGreyed();
    void skinsArePicturesOfTheWindowSize();
    void helpPagesLinkOnlyToPagesThatExist();
    void shortcutsAreInternetShortcuts();

  private:
    static QString data(const QString& relative) {
        return test::DeliveredDataFolder() + '/' + relative;
    }
};

void tst_DeliveredData::everyDeliveredFileIsInTheProgramFolder() {
    const QString source = test::DeliveredDataFolder();
    const QString program = QStringLiteral(TAVORIN_PROGRAM_DIR);
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    int count = 0;
    while (it.hasNext()) {
        const QString file = it.next();
        const QString copy = program + file.mid(source.size());
        QFile a(file), b(copy);
        QVERIFY2(b.open(QIODevice::ReadOnly), qPrintable(copy));
        QVERIFY(a.open(QIODevice::ReadOnly));
        QVERIFY2(a.readAll() == b.readAll(), qPrintable(copy));
        ++count;
    }
    QVERIFY(count >= 12);
    for (const char* name :
         {"Help/index.htm", "Help/main ref.htm", "Help/sub ref.htm", "readme.txt",
          "URLS/Updates.url", "URLS/Send Feedback.url", "Icon/Tavorin icon.ico",
          "Icon/Tavorin disabled.ico", "Skins/Metalic.jpg"})
        QVERIFY2(QFileInfo(program + '/' + name).isFile(), name);
}

void tst_DeliveredData::iconsHoldThreeSizes_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("icon") << "Icon/Tavorin icon.ico";
    QTest::newRow("disabled") << "Icon/Tavorin disabled.ico";
}

void tst_DeliveredData::iconsHoldThreeSizes() {
    QFETCH(QString, file);
    QImageReader reader(data(file));
    QCOMPARE(reader.format(), QByteArray("ico"));
    QList<int> sizes;
    do {
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.width(), image.height());
        sizes << image.width();
    } while (reader.jumpToNextImage());
    std::sort(sizes.begin(), sizes.end());
    QCOMPARE(sizes, (QList<int>{16, 32, 48}));
}

namespace {
// Mean colour saturation of the opaque part of the largest image.
double meanSaturation(const QString& path) {
    QImageReader reader(path);
    QImage largest;
    do {
        const QImage image = reader.read();
        if (image.width() > largest.width())
            largest = image;
    } while (reader.jumpToNextImage());
    double sum = 0;
    int n = 0;
    for (int y = 0; y < largest.height(); ++y)
        for (int x = 0; x < largest.width(); ++x) {
            const QColor c = largest.pixelColor(x, y);
            if (c.alpha() < 64)
                continue;
            sum += c.hsvSaturationF();
            ++n;
        }
    return n ? sum / n : 0;
}
} // namespace

void tst_DeliveredData::disabledIconIsGreyed() {
    const double normal = meanSaturation(data("Icon/Tavorin icon.ico"));
    const double disabled = meanSaturation(data("Icon/Tavorin disabled.ico"));
    QVERIFY2(normal > 0.3, qPrintable(QString::number(normal)));
    QVERIFY2(disabled < 0.05, qPrintable(QString::number(disabled)));
}

void tst_DeliveredData::skinsArePicturesOfTheWindowSize() {
    const QStringList skins = QDir(data("Skins")).entryList({"*.jpg"}, QDir::Files);
    QVERIFY(skins.contains("Metalic.jpg"));
    QVERIFY(skins.size() >= 3);
    for (const QString& skin : skins) {
        QImageReader reader(data("Skins/" + skin));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QSize size = reader.size();
        QVERIFY2(qAbs(size.width() - 450) <= 10 && qAbs(size.height() - 273) <= 10,
                 qPrintable(skin));
        QVERIFY(!reader.read().isNull());
    }
}

void tst_DeliveredData::helpPagesLinkOnlyToPagesThatExist() {
    static const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)(#[^\"]*)?\""));
    for (const QString page : {"index.htm", "main ref.htm", "sub ref.htm"}) {
        QFile f(data("Help/" + page));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        QVERIFY(html.contains("<title>"));
        for (auto m = link.globalMatch(html); m.hasNext();) {
            const auto match = m.next();
            const QString target = QUrl::fromPercentEncoding(match.captured(1).toUtf8());
            if (target.isEmpty() || target.startsWith("http"))
                continue;
            QVERIFY2(QFileInfo::exists(data("Help/" + target)), qPrintable(page + " -> " + target));
            if (!match.captured(2).isEmpty()) { // the anchor exists on that page
                QFile t(data("Help/" + target));
                QVERIFY(t.open(QIODevice::ReadOnly));
                QVERIFY2(t.readAll().contains("id=\"" + match.captured(2).mid(1).toUtf8() + '"'),
                         qPrintable(match.captured(0)));
            }
        }
    }
}

void tst_DeliveredData::shortcutsAreInternetShortcuts() {
    for (const QString name : {"Updates.url", "Send Feedback.url"}) {
        QFile f(data("URLS/" + name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY2(text.startsWith("[InternetShortcut]\r\nURL=https://"), text.constData());
    }
}

QTEST_GUILESS_MAIN(tst_DeliveredData)
#include "tst_DeliveredData.moc"
