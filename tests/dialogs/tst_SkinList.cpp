#include "dialogs/SkinList.h"
#include "tests/support/TempProgramFolder.h"

#include <QDir>
#include <QTest>

using namespace tavorin;
using tavorin::test::TempProgramFolder;

class tst_SkinList : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void noneFirstThenBaseNamesInFileListOrder();
    void onlyVisibleJpgFiles();
    void atMostOneThousandAndOneSkins();
    void missingOrUnreadableFolder();
};

void tst_SkinList::noneFirstThenBaseNamesInFileListOrder() {
    TempProgramFolder folder;
    for (const char* name : {"Metalic.jpg", "blue sky.jpg", "Aqua.jpg", "Zebra.v2.jpg"})
        folder.write(QStringLiteral("Skins/") + QLatin1String(name), "x");
    QCOMPARE(SkinFiles(folder.file(QStringLiteral("Skins"))),
             (QStringList{QStringLiteral("Aqua.jpg"), QStringLiteral("blue sky.jpg"),
                          QStringLiteral("Metalic.jpg"), QStringLiteral("Zebra.v2.jpg")}));
    QCOMPARE(
        SkinListEntries(folder.file(QStringLiteral("Skins"))),
        (QStringList{QStringLiteral("[none]"), QStringLiteral("Aqua"), QStringLiteral("blue sky"),
                     QStringLiteral("Metalic"), QStringLiteral("Zebra.v2")}));
}

void tst_SkinList::onlyVisibleJpgFiles() {
    TempProgramFolder folder;
    for (const char* name :
         {"Blue.jpg", "Shout.JPG", "Photo.jpeg", "Notes.txt", ".Hidden.jpg", "jpg", "Plain.bmp"})
        folder.write(QStringLiteral("Skins/") + QLatin1String(name), "x");
    QDir().mkpath(folder.file(QStringLiteral("Skins/Folder.jpg")));
    // Only names the skin routine can open as "Skins/<name>.jpg".
    QCOMPARE(SkinListEntries(folder.file(QStringLiteral("Skins"))),
             (QStringList{QStringLiteral("[none]"), QStringLiteral("Blue")}));
}

void tst_SkinList::atMostOneThousandAndOneSkins() {
    TempProgramFolder folder;
    for (int i = 0; i < 1005; ++i)
        folder.write(QStringLiteral("Skins/s%1.jpg").arg(i, 4, 10, QLatin1Char('0')), "");
    const QStringList entries = SkinListEntries(folder.file(QStringLiteral("Skins")));
    QCOMPARE(entries.size(), 1 + 1001);
    QCOMPARE(entries[1], QStringLiteral("s0000"));
    QCOMPARE(entries.last(), QStringLiteral("s1000"));
}

void tst_SkinList::missingOrUnreadableFolder() {
    TempProgramFolder folder;
    QCOMPARE(SkinListEntries(folder.file(QStringLiteral("Skins"))),
             QStringList{QStringLiteral("[none]")});
    // A file where the folder should be.
    folder.write(QStringLiteral("Skins"), "not a folder");
    QCOMPARE(SkinListEntries(folder.file(QStringLiteral("Skins"))),
             QStringList{QStringLiteral("[none]")});
    // No folder at all is not the current folder.
    folder.write(QStringLiteral("Here/Stray.jpg"), "x");
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder.file(QStringLiteral("Here")));
    const QStringList none = SkinFiles(QString());
    QDir::setCurrent(before);
    QVERIFY(none.isEmpty());
}

QTEST_APPLESS_MAIN(tst_SkinList)
#include "tst_SkinList.moc"
