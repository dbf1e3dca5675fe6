#include "platform/Mounts.h"
#include "search/SearchCriteria.h"

#include <QTest>

using namespace tavorin;
using namespace tavorin::search;

class tst_SearchCriteria : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void patternOfEachFileType_data();
    void patternOfEachFileType();
    void namesMatchRegardlessOfCase_data();
    void namesMatchRegardlessOfCase();
    void sizeTestIsStrictOnBothDimensions_data();
    void sizeTestIsStrictOnBothDimensions();
    void sizeBoxesAMeasuringSearchRefuses_data();
    void sizeBoxesAMeasuringSearchRefuses();
    void digitsOnly_data();
    void digitsOnly();
    void pathsJoinWithOneSeparator();
    void drivesAreWhatAUserCallsDrives_data();
    void drivesAreWhatAUserCallsDrives();
};

void tst_SearchCriteria::patternOfEachFileType_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("bmp") << "Bitmap Files(*.bmp)"
                         << "*.bmp";
    QTest::newRow("jpg") << "JPEG Files(*.jpg)"
                         << "*.jpg";
    QTest::newRow("gif") << "CompuServe Graphics Interchange(*.gif)"
                         << "*.gif";
    QTest::newRow("bmp+jpg") << "Bitmap Files(*.bmp) and JPEG Files(*.jpg)"
                             << "*.bmp;*.jpg";
    QTest::newRow("all") << "Background Files (*.bmp; *.jpg; *.gif)"
                         << "*.bmp;*.jpg;*.gif";
    QTest::newRow("texts compare exactly") << "jpeg files(*.jpg)"
                                           << "";
}

void tst_SearchCriteria::patternOfEachFileType() {
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QCOMPARE(PatternForFileType(text), pattern);
}

void tst_SearchCriteria::namesMatchRegardlessOfCase_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");
    QTest::newRow("upper case") << "*.bmp;*.jpg;*.gif"
                                << "SKY.JPG" << true;
    QTest::newRow("mixed case") << "*.bmp;*.jpg;*.gif"
                                << "Sky.Gif" << true;
    QTest::newRow("second mask") << "*.bmp;*.jpg"
                                 << "a.jpg" << true;
    QTest::newRow("not the type") << "*.bmp;*.jpg"
                                  << "a.gif" << false;
    QTest::newRow("jpeg is not jpg") << "*.jpg"
                                     << "a.jpeg" << false;
    QTest::newRow("ending inside the name") << "*.jpg"
                                            << "a.jpg.bak" << false;
    QTest::newRow("only the ending") << "*.jpg"
                                     << ".jpg" << true;
    QTest::newRow("non-ASCII name") << "*.jpg" << QString::fromUtf8("Ärger über.JPG") << true;
    QTest::newRow("question mark takes one letter")
        << "?.jpg" << QString::fromUtf8("ä.jpg") << true;
    QTest::newRow("question mark takes exactly one") << "?.jpg"
                                                     << "ab.jpg" << false;
    QTest::newRow("star then more") << "a*b*.gif"
                                    << "aXXbYY.GIF" << true;
    QTest::newRow("empty pattern") << ""
                                   << "a.jpg" << false;
}

void tst_SearchCriteria::namesMatchRegardlessOfCase() {
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(NamePattern(pattern).Matches(name.toUtf8().toStdString()), matches);
}

void tst_SearchCriteria::sizeTestIsStrictOnBothDimensions_data() {
    QTest::addColumn<QString>("comparison");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<float>("wantedWidth");
    QTest::addColumn<float>("wantedHeight");
    QTest::addColumn<bool>("hit");
    QTest::newRow("any") << "Any" << 1 << 1 << 640.f << 480.f << true;
    QTest::newRow("equal") << "Equal To" << 1024 << 768 << 1024.f << 768.f << true;
    QTest::newRow("equal, one off") << "Equal To" << 1024 << 769 << 1024.f << 768.f << false;
    QTest::newRow("less, both below") << "Less Than" << 639 << 479 << 640.f << 480.f << true;
    QTest::newRow("less, width equal") << "Less Than" << 640 << 479 << 640.f << 480.f << false;
    QTest::newRow("less, height equal") << "Less Than" << 639 << 480 << 640.f << 480.f << false;
    QTest::newRow("greater, height equal")
        << "Greater Than" << 1280 << 768 << 1024.f << 768.f << false;
    QTest::newRow("greater, both above")
        << "Greater Than" << 1280 << 769 << 1024.f << 768.f << true;
    QTest::newRow("greater than zero") << "Greater Than" << 1 << 1 << 0.f << 0.f << true;
}

void tst_SearchCriteria::sizeTestIsStrictOnBothDimensions() {
    QFETCH(QString, comparison);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(float, wantedWidth);
    QFETCH(float, wantedHeight);
    QFETCH(bool, hit);
    QCOMPARE(
        PassesSizeTest(ComparisonFromText(comparison), width, height, wantedWidth, wantedHeight),
        hit);
}

void tst_SearchCriteria::sizeBoxesAMeasuringSearchRefuses_data() {
    QTest::addColumn<QString>("comparison");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("problem");
    const QString empty = "Type a width and a height in pixels to compare with";
    const QString huge = "Width and height must be at most 16777216 pixels";
    QTest::newRow("any ignores the boxes") << "Any"
                                           << ""
                                           << ""
                                           << "";
    QTest::newRow("fine") << "Equal To"
                          << "1024"
                          << "768"
                          << "";
    QTest::newRow("zero is a value") << "Greater Than"
                                     << "0"
                                     << "0"
                                     << "";
    QTest::newRow("empty width") << "Equal To"
                                 << ""
                                 << "768" << empty;
    QTest::newRow("empty height") << "Less Than"
                                  << "640"
                                  << "" << empty;
    QTest::newRow("largest") << "Equal To"
                             << "16777216"
                             << "1"
                             << "";
    QTest::newRow("one above the largest") << "Equal To"
                                           << "16777217"
                                           << "1" << huge;
    QTest::newRow("beyond single precision") << "Greater Than"
                                             << "1" << QString(60, QLatin1Char('9')) << huge;
    QTest::newRow("leading zeros") << "Equal To"
                                   << "0000000000000640"
                                   << "480"
                                   << "";
}

void tst_SearchCriteria::sizeBoxesAMeasuringSearchRefuses() {
    QFETCH(QString, comparison);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, problem);
    const auto found = SizeBoxProblem(ComparisonFromText(comparison), width, height);
    QCOMPARE(found.value_or(QString()), problem);
    if (problem.isEmpty() && comparison != "Any") {
        QCOMPARE(ReadDimension(width).value, width.toFloat());
        QCOMPARE(ReadDimension(height).value, height.toFloat());
    }
}

void tst_SearchCriteria::digitsOnly_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("typed 1o24") << "1o24"
                                << "124";
    QTest::newRow("pasted 800x600") << "800x600"
                                    << "800600";
    QTest::newRow("letters only") << "abc"
                                  << "";
    QTest::newRow("signs and spaces") << "-1 0.5"
                                      << "105";
    QTest::newRow("other scripts' digits") << QString::fromUtf8("١٢3") << "3";
}

void tst_SearchCriteria::digitsOnly() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QCOMPARE(DigitsOnly(typed), kept);
}

void tst_SearchCriteria::pathsJoinWithOneSeparator() {
    QCOMPARE(JoinPath(QString("/"), QString("sky.jpg")), QString("/sky.jpg"));
    QCOMPARE(JoinPath(QString("/home/a"), QString("sky.jpg")), QString("/home/a/sky.jpg"));
    QCOMPARE(JoinPath(QString("/home/a/"), QString("sky.jpg")), QString("/home/a/sky.jpg"));
    QCOMPARE(JoinPath(std::string("/"), "b"), std::string("/b"));
    QCOMPARE(Get_FileName("/home/a/sky.jpg"), QString("sky.jpg"));
    QCOMPARE(Get_FileName("/sky.jpg"), QString("sky.jpg"));
}

// One mount a row, as /proc/self/mountinfo lists it, and whether it is a drive.
void tst_SearchCriteria::drivesAreWhatAUserCallsDrives_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("drive");
    QTest::newRow("root") << QByteArray("26 1 254:0 / / rw - ext4 /dev/vda rw") << "/";
    QTest::newRow("home") << QByteArray("27 26 8:2 / /home rw - ext4 /dev/sda2 rw") << "/home";
    QTest::newRow("stick") << QByteArray(
                                  "28 26 8:17 / /media/ann/STICK\\040ONE rw - vfat /dev/sdb1 rw")
                           << "/media/ann/STICK ONE";
    QTest::newRow("share") << QByteArray("30 26 0:50 / /mnt/nas rw shared:5 - nfs4 nas:/ rw")
                           << "/mnt/nas";
    QTest::newRow("sshfs") << QByteArray("31 26 0:51 / /mnt/box rw - fuse.sshfs a@b:/ rw")
                           << "/mnt/box";
    QTest::newRow("proc") << QByteArray("21 26 0:20 / /proc rw - proc proc rw") << "";
    QTest::newRow("run user") << QByteArray("32 26 0:40 / /run/user/1000 rw - tmpfs tmpfs rw")
                              << "";
    QTest::newRow("tmpfs under mnt")
        << QByteArray("33 26 0:41 / /mnt/ram rw - tmpfs tmpfs rw") << "";
    QTest::newRow("snap") << QByteArray("34 26 7:1 / /snap/core/1 ro - squashfs /dev/loop1 ro")
                          << "";
    QTest::newRow("efi") << QByteArray("35 26 8:1 / /boot/efi rw - vfat /dev/sda1 rw") << "";
    QTest::newRow("mnt itself") << QByteArray("37 26 8:49 / /mnt rw - ext4 /dev/sdd1 rw") << "";
    QTest::newRow("not a line") << QByteArray("rubbish") << "";
}

void tst_SearchCriteria::drivesAreWhatAUserCallsDrives() {
    QFETCH(QByteArray, line);
    QFETCH(QString, drive);
    const std::vector<Mount> mounts = ParseMountInfo(line + "\n");
    QCOMPARE(mounts.size() == 1 && IsUserDrive(mounts[0]) ? mounts[0].point : QString(), drive);
    // "/" first, each drive once; at most 31 in the search's folder box.
    const auto listed = UserDrives(ParseMountInfo(line + "\n" + line));
    const QStringList expected =
        drive.isEmpty() || drive == "/" ? QStringList{"/"} : QStringList{"/", drive};
    QCOMPARE(listed, expected);
    std::vector<Volume> many(40, Volume{drive, true});
    for (int i = 0; i < 40; ++i)
        many[i].rootPath += QString::number(i);
    QCOMPARE(DriveEntries(many).size(), 31);
}

QTEST_GUILESS_MAIN(tst_SearchCriteria)
#include "tst_SearchCriteria.moc"
