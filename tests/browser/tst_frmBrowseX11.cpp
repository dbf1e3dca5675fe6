#include "tests/support/TestPictures.h"
#include "browser/DirListBox.h"
#include "browser/ThumbList.h"
#include "browser/frmBrowse.h"
#include "engine/PictureTarget.h"
#include "settings/Module1.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

#include <QDir>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

using namespace tavorin;

namespace {

class NoTarget final : public PictureTarget {
  public:
    void Append_Picture(const QString&) override {}
    void Set_Wallpaper(QString&) override {}
};

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

// The title a window manager reads now (_NET_WM_NAME), through its own connection.
QString titleOnServer(xcb_connection_t* connection, xcb_window_t window) {
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, window, atom(connection, "_NET_WM_NAME"),
                         XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    if (!reply)
        return {};
    const QString title = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply)),
                                            xcb_get_property_value_length(reply));
    std::free(reply);
    return title;
}

} // namespace

// On a real X server the scan's progress reaches the server while the scan
// runs, without returning to the event loop.
class tst_frmBrowseX11 : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void progressReachesServerDuringScan();
};

void tst_frmBrowseX11::progressReachesServerDuringScan() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server");
    test::TempProgramFolder program;
    test::FakePlatform platform(program.path());
    Module1 module(platform.services);
    NoTarget target;
    const QString folder = program.root() + "/pictures";
    QDir().mkpath(folder);
    for (int i = 0; i < 4; ++i)
        test::WritePicture(folder + QStringLiteral("/p%1.bmp").arg(i), QSize(64, 48), Qt::red,
                           "BMP");

    frmBrowse w(module, target);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    xcb_connection_t* observer = xcb_connect(nullptr, nullptr);
    QVERIFY(observer && !xcb_connection_has_error(observer));
    const auto window = xcb_window_t(w.winId());

    QStringList shown; // titles as the window set them
    connect(&w, &QWidget::windowTitleChanged, &w, [&](const QString& title) { shown << title; });
    // When the next thumbnail arrives, the server must already hold the
    // caption set for the one before: the scan never returned to the loop.
    QStringList onServer;
    connect(w.flb->model(), &QAbstractItemModel::rowsInserted, &w,
            [&] { onServer << titleOnServer(observer, window); });
    QVERIFY(w.dlb->setPath(folder));
    onServer << titleOnServer(observer, window); // before any event is processed
    xcb_disconnect(observer);

    QCOMPARE(shown, QStringList({"GENERATING PREVIEWS  25.00%", "GENERATING PREVIEWS  50.00%",
                                 "GENERATING PREVIEWS  75.00%", "GENERATING PREVIEWS  100.00%",
                                 "Image Browser"}));
    QCOMPARE(onServer.mid(1),
             QStringList({"GENERATING PREVIEWS  25.00%", "GENERATING PREVIEWS  50.00%",
                          "GENERATING PREVIEWS  75.00%", "Image Browser"}));
}

QTEST_MAIN(tst_frmBrowseX11)
#include "tst_frmBrowseX11.moc"
