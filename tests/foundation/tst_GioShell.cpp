#include "platform/GioShell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavorin;

// GioShell against the real GIO, in a desktop of our own: two recording
// programs, one for HTML files, one for https links, and nothing else.
class tst_GioShell : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void init();

    void associatedDocumentOpensInItsProgram();
    void internetShortcutOpensItsUrl();
    void unassociatedTypeAnswers31();
    void shortcutWithUnknownSchemeAnswers31();
    void missingDocumentAnswersFileNotFound();
    void openWithOffersTheProgramsOfTheType();
    void openWithLaunchesTheChosenProgram();

  private:
    QTemporaryDir root_;
    QString record() const { return root_.path() + "/record"; }
    QString write(const QString& relative, const QByteArray& bytes) const;
    QByteArray waitForRecord();
};

QString tst_GioShell::write(const QString& relative, const QByteArray& bytes) const {
    const QString path = root_.path() + '/' + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QByteArray tst_GioShell::waitForRecord() {
    // Waiting for the launched program to run, not for a clock.
    [&] { QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record()), 10000); }();
    QFile f(record());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void tst_GioShell::initTestCase() {
    if (!QFileInfo::exists("/usr/share/mime/mime.cache"))
        QSKIP("No MIME database (Debian: shared-mime-info)");
    const QString r = root_.path();
    // The MIME database, but none of the system's programs.
    QDir().mkpath(r + "/sys");
    QVERIFY(QFile::link("/usr/share/mime", r + "/sys/mime"));
    const QByteArray script = write("rec.sh", "#!/bin/sh\n"
                                              "printf '%s\\n' \"$@\" > \"$0.tmp\"\n"
                                              "mv \"$0.tmp\" \"$(dirname \"$0\")/record\"\n")
                                  .toUtf8();
    QFile::setPermissions(QString::fromUtf8(script),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    write("data/applications/rec-file.desktop",
          "[Desktop Entry]\nType=Application\nName=Recorder (file)\nExec=\"" + script +
              "\" %f\nMimeType=text/html;\n");
    write("data/applications/rec-url.desktop",
          "[Desktop Entry]\nType=Application\nName=Recorder (link)\nExec=\"" + script +
              "\" %u\nMimeType=x-scheme-handler/https;\n");
    // What update-desktop-database would write: GIO finds the types of
    // programs through this index.
    write("data/applications/mimeinfo.cache", "[MIME Cache]\n"
                                              "text/html=rec-file.desktop;\n"
                                              "x-scheme-handler/https=rec-url.desktop;\n");
    write("config/mimeapps.list", "[Default Applications]\n"
                                  "text/html=rec-file.desktop\n"
                                  "x-scheme-handler/https=rec-url.desktop\n");
    qputenv("XDG_DATA_HOME", QFile::encodeName(r + "/data"));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(r + "/sys"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(r + "/config"));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(r + "/sysconfig"));
    qputenv("HOME", QFile::encodeName(r + "/home"));
    qunsetenv("DISPLAY"); // no session bus started for the launches
    qunsetenv("WAYLAND_DISPLAY");
}

void tst_GioShell::init() {
    QFile::remove(record());
}

void tst_GioShell::associatedDocumentOpensInItsProgram() {
    const QString page = write("docs/main ref.htm", "<html><body>help</body></html>\n");
    GioShell shell;
    QVERIFY(shell.ShellExecuteOpen(page) > 32);
    QCOMPARE(waitForRecord(), page.toUtf8() + '\n');
}

void tst_GioShell::internetShortcutOpensItsUrl() {
    const QString url = "https://github.com/tavorin-app/tavorin/releases?x=1&y=%20";
    const QString shortcut =
        write("docs/Updates.url", "\xEF\xBB\xBF[InternetShortcut]\r\nURL=" + url.toUtf8() + "\r\n");
    GioShell shell;
    QVERIFY(shell.ShellExecuteOpen(shortcut) > 32);
    QCOMPARE(waitForRecord(), url.toUtf8() + '\n');
}

void tst_GioShell::unassociatedTypeAnswers31() {
    const QString blob = write("docs/data.tavorin-unknown", QByteArray("\x00\x01\x02\xff\xfe", 5));
    GioShell shell;
    QCOMPARE(shell.ShellExecuteOpen(blob), IShell::kNoAssociation);
    QVERIFY(!QFile::exists(record()));
}

void tst_GioShell::shortcutWithUnknownSchemeAnswers31() {
    const QString shortcut =
        write("docs/Old.url", "[InternetShortcut]\nURL=gopher://example.org/\n");
    GioShell shell;
    QCOMPARE(shell.ShellExecuteOpen(shortcut), IShell::kNoAssociation);
}

void tst_GioShell::missingDocumentAnswersFileNotFound() {
    GioShell shell;
    QCOMPARE(shell.ShellExecuteOpen(root_.path() + "/docs/none.htm"), IShell::kFileNotFound);
    QCOMPARE(shell.ShellExecuteOpen(root_.path() + "/docs"), IShell::kFileNotFound);
}

void tst_GioShell::openWithOffersTheProgramsOfTheType() {
    const QString page = write("docs/index.htm", "<html></html>\n");
    QStringList ids;
    for (const auto& program : OpenWithPrograms(page))
        ids << program.id;
    QCOMPARE(ids, QStringList{"rec-file.desktop"});

    // Nothing knows the type: every program is offered.
    const QString blob = write("docs/other.tavorin-unknown", QByteArray("\x00\xff", 2));
    ids.clear();
    for (const auto& program : OpenWithPrograms(blob))
        ids << program.id;
    ids.sort();
    QCOMPARE(ids, (QStringList{"rec-file.desktop", "rec-url.desktop"}));
}

void tst_GioShell::openWithLaunchesTheChosenProgram() {
    const QString blob = write("docs/chosen.tavorin-unknown", QByteArray("\x00\xff", 2));
    QVERIFY(!OpenWithProgram(blob, "no-such-program.desktop"));
    QVERIFY(OpenWithProgram(blob, "rec-file.desktop"));
    QCOMPARE(waitForRecord(), blob.toUtf8() + '\n');
}

QTEST_GUILESS_MAIN(tst_GioShell)
#include "tst_GioShell.moc"
