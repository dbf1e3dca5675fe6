#include "platform/GioShell.h"
#include "settings/Module1.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

#include <QTest>

using namespace tavorin;

// OpenDocument's choice between the associated program and "Open with",
// and how an internet shortcut gives its URL.
class tst_OpenDocument : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();

    void opensWithTheShellResult_data();
    void opensWithTheShellResult();
    void deliveredDocumentsOpenFromTheProgramFolder();
    void internetShortcutUrl_data();
    void internetShortcutUrl();
    void deliveredShortcutsNameTheProjectPages();

  private:
    std::unique_ptr<test::TempProgramFolder> folder_;
    std::unique_ptr<test::FakePlatform> platform_;
    std::unique_ptr<Module1> m_;
};

void tst_OpenDocument::init() {
    folder_ = std::make_unique<test::TempProgramFolder>(true);
    platform_ = std::make_unique<test::FakePlatform>(folder_->path());
    m_ = std::make_unique<Module1>(platform_->services);
}

void tst_OpenDocument::cleanup() {
    m_.reset();
    platform_.reset();
    folder_.reset();
}

void tst_OpenDocument::opensWithTheShellResult_data() {
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("openWith");
    QTest::newRow("associated") << IShell::kOpened << false;
    QTest::newRow("no association") << IShell::kNoAssociation << true;
    QTest::newRow("file not found") << IShell::kFileNotFound << false;
    QTest::newRow("other failure") << 5 << false;
    QTest::newRow("zero") << 0 << false;
    QTest::newRow("32") << 32 << false;
}

void tst_OpenDocument::opensWithTheShellResult() {
    QFETCH(int, result);
    QFETCH(bool, openWith);
    const QString path = folder_->file("Help/main ref.htm");
    platform_->shell.results[path] = result;
    m_->OpenDocument(path);
    QCOMPARE(platform_->shell.opened, QStringList{path});
    QCOMPARE(platform_->shell.openedWith, openWith ? QStringList{path} : QStringList());
    // Every failure is silent.
    QVERIFY(platform_->dialogs.messages.isEmpty());
}

void tst_OpenDocument::deliveredDocumentsOpenFromTheProgramFolder() {
    const QStringList documents{"Help/index.htm", "Help/main ref.htm", "Help/sub ref.htm",
                                "readme.txt",     "URLS/Updates.url",  "URLS/Send Feedback.url"};
    for (const QString& document : documents) {
        const QString path = m_->App_Path() + '/' + document;
        m_->OpenDocument(path);
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    }
    // All found (the fake answers "file not found" for a missing one), so
    // none needed the chooser.
    QCOMPARE(platform_->shell.opened.size(), documents.size());
    QVERIFY(platform_->shell.openedWith.isEmpty());
}

void tst_OpenDocument::internetShortcutUrl_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("url");
    QTest::newRow("plain") << QByteArray("[InternetShortcut]\nURL=https://example.org/a\n")
                           << "https://example.org/a";
    QTest::newRow("crlf") << QByteArray("[InternetShortcut]\r\nURL=https://example.org/\r\n")
                          << "https://example.org/";
    QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF[InternetShortcut]\nURL=https://a.b/\n")
                         << "https://a.b/";
    QTest::newRow("section case") << QByteArray("[internetshortcut]\nurl=https://a.b/c\n")
                                  << "https://a.b/c";
    QTest::newRow("verbatim") << QByteArray(
                                     "[InternetShortcut]\nURL=https://a.b/?q=1;x=\"2\"&%41#f\n")
                              << "https://a.b/?q=1;x=\"2\"&%41#f";
    QTest::newRow("spaces around =")
        << QByteArray("[InternetShortcut]\n URL = https://a.b/\n") << "https://a.b/";
    QTest::newRow("other keys first")
        << QByteArray("[InternetShortcut]\nIconIndex=0\nURLX=no\nURL=https://a.b/\n")
        << "https://a.b/";
    QTest::newRow("other section")
        << QByteArray("[Other]\nURL=https://no/\n[InternetShortcut]\nURL=https://yes/\n")
        << "https://yes/";
    QTest::newRow("only other section") << QByteArray("[Other]\nURL=https://no/\n") << "";
    QTest::newRow("before any section") << QByteArray("URL=https://no/\n") << "";
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe[", 4) << "";
}

void tst_OpenDocument::internetShortcutUrl() {
    QFETCH(QByteArray, text);
    QFETCH(QString, url);
    QCOMPARE(InternetShortcutUrl(text), url);
}

void tst_OpenDocument::deliveredShortcutsNameTheProjectPages() {
    QCOMPARE(InternetShortcutUrl(folder_->read("URLS/Updates.url")),
             QStringLiteral("https://github.com/tavorin-app/tavorin/releases"));
    QCOMPARE(InternetShortcutUrl(folder_->read("URLS/Send Feedback.url")),
             QStringLiteral("https://github.com/tavorin-app/tavorin/issues"));
}

QTEST_GUILESS_MAIN(tst_OpenDocument)
#include "tst_OpenDocument.moc"
