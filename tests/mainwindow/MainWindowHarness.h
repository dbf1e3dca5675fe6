#pragma once
// The main window's test harness: a window over the fakes in a temporary
// program folder (Rig), its controls found by their object names.

#include "engine/ListFile.h"
#include "mainwindow/frmMain.h"
#include "tests/support/Rig.h"
#include "tests/support/TestPictures.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace tavorin::test {

struct MainWindowHarness : Rig {
    struct : SplashStatus {
        void SetStatus(const QString&) override {}
    } splash;
    std::unique_ptr<frmMain> w;
    QStringList list; // the pictures of withList()

    MainWindowHarness() {
        set(ini::kMachine, "1");
        set(ini::kStartup, "1");
        set(ini::kSkin, "[none]"); // the temporary folder holds no skins
    }
    // `count` small pictures stored as the automatic list; mode and interval as given.
    MainWindowHarness& withList(int count, ChangeMode mode = ChangeMode::Never,
                                const QString& min = "1") {
        for (int i = 1; i <= count; ++i)
            list << picture(QStringLiteral("p%1.jpg").arg(i));
        SaveAutomaticList(m, list);
        set(ini::kChange, ChangeModeText(mode));
        set(ini::kMin, min);
        set(ini::kRandom, "0");
        return *this;
    }
    QString picture(const QString& name) const {
        return WritePicture(folder.root() + "/pictures/" + name, {32, 24},
                            QColor::fromHsv(int(qHash(name) % 360), 200, 200), "JPG");
    }
    // Creates the window and runs its initialisation.
    frmMain& start() {
        w = std::make_unique<frmMain>(m, splash);
        w->LoadData();
        return *w;
    }
    frmMain& startShown() {
        start().show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qFatal("the window was not shown");
        return *w;
    }

    template <typename T = QWidget> T* find(const char* name) const {
        T* found = w->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QAction* action(const char* name) const { return find<QAction>(name); }
    QTimer* timer(const char* name) const { return find<QTimer>(name); }
    QListWidget* lst() const { return find<QListWidget>("lstWallpaper"); }
    QString text(const char* label) const { return find<QLabel>(label)->text(); }
    // "1" or "0" for each control (enabled) or menu entry (shown) named.
    QString on(const char* names) const {
        QString states;
        for (const QString& name : QString(names).split(' ')) {
            QObject* found = find<QObject>(name.toLatin1().constData());
            const auto* entry = qobject_cast<QAction*>(found);
            states += (entry ? entry->isVisible() : qobject_cast<QWidget*>(found)->isEnabled())
                          ? '1'
                          : '0';
        }
        return states;
    }
    // Clicks a button or triggers a menu entry.
    void click(const char* name) const {
        if (auto* entry = qobject_cast<QAction*>(find<QObject>(name)))
            entry->trigger();
        else
            find<QPushButton>(name)->click();
    }
    bool previewShown() const { return !find<QLabel>("imgPreview")->pixmap().isNull(); }
    void select(int row) const { lst()->setCurrentRow(row); } // as a click or arrow key does
    QStringList names() const {                               // the list as shown
        QStringList result;
        for (int i = 0; i < lst()->count(); ++i)
            result << lst()->item(i)->text();
        return result;
    }
    QStringList pictureEntries() const { // what the tray submenu shows
        QStringList texts;
        for (const QAction* entry : find<QMenu>("mChangeMenu")->actions())
            if (entry->isVisible() && !entry->isSeparator())
                texts << entry->text();
        return texts;
    }
};

} // namespace tavorin::test
