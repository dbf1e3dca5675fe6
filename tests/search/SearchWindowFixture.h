#pragma once

#include "search/frmSearch.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestPictures.h"
#include "viewer/frmFullscreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace tavorin::test {

// The main window's side, recorded.
class RecordingTarget final : public PictureTarget {
  public:
    QStringList appended;
    QStringList wallpapers;
    void Append_Picture(const QString& path) override { appended << path; }
    void Set_Wallpaper(QString& path) override {
        wallpapers << path;
        path = QStringLiteral("/converted/Temp.bmp"); // what a conversion does to it
    }
};

// Runs f at the next point where the search lets events run.
inline void AtNextEventPoint(std::function<void()> f) {
    QTimer::singleShot(0, qApp, std::move(f));
}

inline QList<frmFullscreen*> Viewers() {
    QList<frmFullscreen*> viewers;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* v = qobject_cast<frmFullscreen*>(w); v && v->isVisible())
            viewers << v;
    }
    return viewers;
}

// The search window on fakes, with a temporary folder for pictures.
class SearchWindowFixture {
  protected:
    void setUp();
    void tearDown();
    frmSearch* open(const std::vector<search::Volume>& volumes = {{"/", true}});
    void search(const QString& folder, bool subfolders = true);
    void clickItem(int row, Qt::MouseButton button = Qt::LeftButton);
    QStringList resultNames() const;

    std::unique_ptr<TempProgramFolder> folder_;
    std::unique_ptr<FakePlatform> platform_;
    std::unique_ptr<Module1> m_;
    RecordingTarget target_;
    QPointer<frmSearch> window_;
    std::unique_ptr<QTemporaryDir> pictures_;
};

inline void SearchWindowFixture::setUp() {
    folder_ = std::make_unique<TempProgramFolder>();
    platform_ = std::make_unique<FakePlatform>(folder_->path());
    m_ = std::make_unique<Module1>(platform_->services);
    target_ = RecordingTarget();
    pictures_ = std::make_unique<QTemporaryDir>();
}

inline void SearchWindowFixture::tearDown() {
    delete window_;
    for (frmFullscreen* viewer : Viewers())
        delete viewer;
    m_.reset();
    platform_.reset();
    folder_.reset();
}

inline frmSearch* SearchWindowFixture::open(const std::vector<search::Volume>& volumes) {
    window_ = new frmSearch(*m_, target_, volumes);
    window_->show();
    return window_;
}

inline void SearchWindowFixture::search(const QString& folder, bool subfolders) {
    window_->cboBrowse->setEditText(folder);
    window_->chkSubfolders->setChecked(subfolders);
    window_->cmdOK_Click();
}

inline void SearchWindowFixture::clickItem(int row, Qt::MouseButton button) {
    QListWidget* list = window_->lstResult;
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mousePress(list->viewport(), button, {}, at);
    QTest::mouseRelease(list->viewport(), button, {}, at);
}

inline QStringList SearchWindowFixture::resultNames() const {
    QStringList names;
    for (int i = 0; i < window_->lstResult->count(); ++i)
        names << search::Get_FileName(window_->ResultKey(i));
    return names;
}

} // namespace tavorin::test
