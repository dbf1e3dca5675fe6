#include "browser/frmBrowse.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOption.h"
#include "engine/PictureInfo.h"
#include "mainwindow/frmMain.h"
#include "search/frmSearch.h"
#include "tests/dialogs/FakeOptionsHost.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTest>

using namespace tavorin;
using namespace tavorin::test;

namespace {

// The controls of a window whose caption does not fit: the caption's lines
// with the room its style keeps around them, against the control's size.
QStringList ClippedCaptions(QWidget& window) {
    QStringList clipped;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        auto* button = qobject_cast<QAbstractButton*>(control);
        auto* label = qobject_cast<QLabel*>(control);
        auto* group = qobject_cast<QGroupBox*>(control);
        const QString text = button  ? button->text()
                             : label ? label->text()
                             : group ? group->title()
                                     : "";
        if (text.isEmpty() || !control->isVisibleTo(&window))
            continue;
        const QStyle* style = control->style();
        const QFontMetrics metrics = control->fontMetrics();
        QSize room = control->size();
        if (qobject_cast<QPushButton*>(control))
            room -= QSize(1, 1) * (style->pixelMetric(QStyle::PM_ButtonMargin) +
                                   2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth));
        else if (qobject_cast<QCheckBox*>(control))
            room.rwidth() -= style->pixelMetric(QStyle::PM_IndicatorWidth) +
                             style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
        else if (qobject_cast<QRadioButton*>(control))
            room.rwidth() -= style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                             style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
        else if (label)
            room = label->contentsRect().size() - QSize(2, 2) * label->margin();
        else
            room.rwidth() -= 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
        if (button && !button->icon().isNull())
            room.rwidth() -= button->iconSize().width() + 4;
        QString shown = text;
        shown.remove(QLatin1Char('\r')).remove(QRegularExpression("&(?!&)"));
        const int flags = label && label->wordWrap() ? Qt::TextWordWrap : 0;
        const QSize needed =
            metrics
                .boundingRect(QRect(QPoint(), QSize(flags ? room.width() : 32767, 32767)), flags,
                              shown)
                .size();
        if (needed.width() > room.width() || (!group && needed.height() > room.height()))
            clipped << control->metaObject()->className() + QStringLiteral(" \"") + shown + "\"";
    }
    return clipped;
}

class Silent final : public SplashStatus {
    void SetStatus(const QString&) override {}
};

} // namespace

// Every caption of every window fits its control, in the windows' font.
class tst_Captions : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void everyCaptionFits();
};

void tst_Captions::everyCaptionFits() {
    TempProgramFolder folder(true);
    FakePlatform platform(folder.path());
    Module1 module(platform.services);
    Silent splash;
    frmMain main(module, splash);
    main.LoadData();
    // The longest information a picture gives: 12000 x 9000 pixels, 45550 KB.
    main.findChild<QLabel*>("lblInfo")->setText(
        ImageInfoText({12000, 9000}, qint64{45550} * 1024, "/p.jpg"));
    frmSearch search(module, main, {{"/", true}});
    frmBrowse browse(module, main);
    FakeOptionsHost host;
    frmOption options(module, host);
    frmAbout about(module);
    // TAVORIN_CAPTION_SHOTS=<folder>: keep pictures of the windows (not part of the test).
    const QString shots = qEnvironmentVariable("TAVORIN_CAPTION_SHOTS");
    const std::pair<QWidget*, const char*> windows[] = {{&main, "screenshot"},
                                                        {&search, "search"},
                                                        {&browse, "browser"},
                                                        {&options, "options"},
                                                        {&about, "about"}};
    for (const auto& [window, name] : windows) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QStringList clipped = ClippedCaptions(*window);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
        if (!shots.isEmpty())
            window->grab().save(shots + "/" + name + ".png");
    }
}

QTEST_MAIN(tst_Captions)
#include "tst_Captions.moc"
