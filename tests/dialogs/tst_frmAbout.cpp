#include "Version.h"
#include "dialogs/frmAbout.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace tavorin;
using namespace tavorin::test;

namespace {

struct Program {
    TempProgramFolder folder;
    FakePlatform platform{folder.path()};
    Module1 module{platform.services};
};

} // namespace

class tst_frmAbout : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void captionAndVersion();
    void versionTextHasNoLeadingZeros_data();
    void versionTextHasNoLeadingZeros();
    void textsAndPictures();
    void titleInASerifFace();
    void linksShowAndOpenTheShortcutFiles();
    void missingShortcutsStillGiveLabels();
    void okCloses();
};

void tst_frmAbout::captionAndVersion() {
    Program program;
    frmAbout dialog(program.module);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About Tavorin"));
    QCOMPARE(dialog.lblVersion->text(), QStringLiteral("Version 1.2.35"));
    QCOMPARE(dialog.lblVersion->text(), QStringLiteral("Version ") + version::text);
}

void tst_frmAbout::versionTextHasNoLeadingZeros_data() {
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("text");
    QTest::newRow("1.2.35") << 1 << 2 << 35 << "Version 1.2.35";
    QTest::newRow("10.0.7") << 10 << 0 << 7 << "Version 10.0.7";
    QTest::newRow("0.0.0") << 0 << 0 << 0 << "Version 0.0.0";
}

void tst_frmAbout::versionTextHasNoLeadingZeros() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, text);
    QCOMPARE(VersionText(major, minor, revision), text);
}

void tst_frmAbout::textsAndPictures() {
    Program program;
    frmAbout dialog(program.module);
    QCOMPARE(dialog.lblTitle->text(), QStringLiteral("Tavorin"));
    QCOMPARE(dialog.lblDescription->text(),
             QStringLiteral("This program is a freeware. If you have any trouble, any ideas to "
                            "improve it, please drop a mail to"));
    QCOMPARE(dialog.Label1->text(), QStringLiteral("Tavorin Homepage:"));
    QCOMPARE(dialog.cmdOK->text(), QStringLiteral("OK"));
    QVERIFY(!dialog.Label2->text().isEmpty());
    QVERIFY(!dialog.lblDisclaimer->text().isEmpty());
    QVERIFY(!dialog.Image1->pixmap().isNull());
    QVERIFY(!dialog.Image2->pixmap().isNull());
    // The picture is drawn, not blank.
    const QImage picture = dialog.Image1->pixmap().toImage();
    QVERIFY(picture.pixelColor(picture.width() / 2, picture.height() / 3) !=
            picture.pixelColor(0, 0));
    QCOMPARE(dialog.lblHomepage->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(dialog.lblContact->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

void tst_frmAbout::titleInASerifFace() {
    Program program;
    frmAbout dialog(program.module);
    const QFont font = dialog.lblTitle->font();
    QCOMPARE(font.family(), QStringLiteral("Times New Roman"));
    QCOMPARE(font.styleHint(), QFont::Serif);
    QVERIFY(font.pointSize() >= 18);
    QVERIFY(font.pointSize() > dialog.lblVersion->font().pointSize());
}

void tst_frmAbout::linksShowAndOpenTheShortcutFiles() {
    Program program;
    program.folder.write(QStringLiteral("URLS/Updates.url"),
                         "[InternetShortcut]\r\nURL=https://example.org/tavorin\r\n");
    program.folder.write(QStringLiteral("URLS/Send Feedback.url"),
                         "[InternetShortcut]\nURL=mailto:tavorin@example.org?subject=Tavorin\n");
    frmAbout dialog(program.module);
    QCOMPARE(dialog.lblHomepage->text(), QStringLiteral("https://example.org/tavorin"));
    QCOMPARE(dialog.lblHomepage->toolTip(), QStringLiteral("https://example.org/tavorin"));
    QCOMPARE(dialog.lblContact->text(), QStringLiteral("tavorin@example.org"));
    QCOMPARE(dialog.lblContact->toolTip(),
             QStringLiteral("mailto:tavorin@example.org?subject=Tavorin"));
    dialog.show();
    QTest::mouseClick(dialog.lblHomepage, Qt::LeftButton);
    QTest::mouseClick(dialog.lblContact, Qt::LeftButton);
    QCOMPARE(program.platform.shell.opened,
             (QStringList{program.folder.path() + QStringLiteral("/URLS/Updates.url"),
                          program.folder.path() + QStringLiteral("/URLS/Send Feedback.url")}));
    QVERIFY(dialog.isVisible());
}

void tst_frmAbout::missingShortcutsStillGiveLabels() {
    Program program;
    frmAbout dialog(program.module);
    QVERIFY(!dialog.lblHomepage->text().isEmpty());
    QVERIFY(!dialog.lblContact->text().isEmpty());
    dialog.show();
    QTest::mouseClick(dialog.lblHomepage, Qt::LeftButton);
    // The missing file is OpenDocument's to report; the dialog says nothing.
    QCOMPARE(program.platform.shell.opened.size(), 1);
    QVERIFY(program.platform.dialogs.messages.isEmpty());
}

void tst_frmAbout::okCloses() {
    Program program;
    frmAbout dialog(program.module);
    dialog.show();
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
