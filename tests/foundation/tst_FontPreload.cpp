// The start-up's font helper thread: it must never hold up the end of a run,
// and text must come out the same whether the helper or the interface
// thread fills Qt's font list.
#include "platform/FontPreload.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QTest>

#include <memory>

using namespace tavorin;

class tst_FontPreload : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void endsAtOnceWithoutTheQtPart();
    void endsAtOnceWhenTheQtPartGoesAtOnce();
    void textIsLaidOutWhileTheListFills();
};

void tst_FontPreload::endsAtOnceWithoutTheQtPart() {
    // A start that stops before it has an application object (a second
    // copy) lets the helper go without touching Qt.
    for (int i = 0; i < 20; ++i)
        FontPreload preload;
}

void tst_FontPreload::endsAtOnceWhenTheQtPartGoesAtOnce() {
    for (int i = 0; i < 5; ++i) {
        FontPreload preload;
        const FontPreload::QtPart qtPart(preload);
    }
    QVERIFY(!QFontDatabase::families().isEmpty());
}

namespace {
const QString kCaption = QStringLiteral("Change Wallpaper:");
int widthWhileFilling = -1;

int captionWidth() {
    QLabel label(kCaption);
    QFont font = label.font();
    font.setPixelSize(10);
    label.setFont(font);
    return label.sizeHint().width();
}
} // namespace

void tst_FontPreload::textIsLaidOutWhileTheListFills() {
    // Measured at the start, while the helper may still have been filling
    // the font list: the interface thread waited for it, and got the same.
    QVERIFY(widthWhileFilling > 0);
    QCOMPARE(widthWhileFilling, captionWidth());
}

int main(int argc, char** argv) {
    // As the program does: the helper starts before the application object.
    auto preload = std::make_unique<FontPreload>();
    QApplication app(argc, argv);
    {
        const FontPreload::QtPart qtPart(*preload);
        widthWhileFilling = captionWidth();
    }
    preload.reset();
    tst_FontPreload test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_FontPreload.moc"
