#include "mainwindow/frmMain.h"

#include <QIcon>

namespace tavorin {

frmMain::frmMain(Module1& module, SplashStatus& splash, QWidget* parent)
    : QWidget(parent), m_(module), splash_(splash) {
    setWindowTitle(QStringLiteral("Tavorin"));
    setWindowIcon(QIcon(m_.folder().DataFile(QStringLiteral("Icon/Tavorin icon.ico"))));
    setFixedSize(445, 271);
}

frmMain::~frmMain() = default;

void frmMain::setSplashStatus(const QString& text) { splash_.SetStatus(text); }

void frmMain::LoadData() {
    setSplashStatus(QStringLiteral("Loading Settings......"));
    setSplashStatus(QStringLiteral("Loading Wallpaper List......"));
    setSplashStatus(QStringLiteral("Setting up interface......"));
}

} // namespace tavorin
