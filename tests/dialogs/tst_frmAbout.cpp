#include "dialogs/frmAbout.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

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
    void linksShowAndOpenTheShortcutFiles();
    void missingShortcutsStillGiveLabels();
    void okCloses();
};

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
