#pragma once

#include <QString>

namespace tavorin {

// Every section and key of Settings.INI, spelled as the stored file spells
// them. Names compare without regard to case in the file, but the program
// writes and reads them only through these names.
namespace ini {

// ---- Sections.
inline const QString kSettings = QStringLiteral("Settings");
inline const QString kMemory = QStringLiteral("Memory");

// ---- Section "Settings".
inline const QString kVersion = QStringLiteral("Version");   // "1.2.35"; empty = first run
inline const QString kSystray = QStringLiteral("Systray");   // tray icon shown
inline const QString kSplash = QStringLiteral("Splash");     // splash window at start
inline const QString kStartup = QStringLiteral("Startup");   // start at log-on
inline const QString kMachine = QStringLiteral("Machine");   // "1" active desktop, "2" classic
inline const QString kConvert = QStringLiteral("Convert");   // convert to a bitmap first
inline const QString kChange = QStringLiteral("change");     // the change mode's text
inline const QString kShutdown = QStringLiteral("shutdown"); // end after the log-on change
inline const QString kRandom = QStringLiteral("random");     // random order
inline const QString kMin = QStringLiteral("min");           // interval in minutes
inline const QString kLoader = QStringLiteral("Loader");     // started by the log-on starter
inline const QString kLastChangingDate = QStringLiteral("LastChangingDate");
inline const QString kWallpaper = QStringLiteral("Wallpaper"); // 1-based next list position
inline const QString kListCount = QStringLiteral("ListCount"); // pictures in the automatic list
inline const QString kClick = QStringLiteral("Click");
inline const QString kFirstRun = QStringLiteral("FirstRun");
inline const QString kInfo = QStringLiteral("info"); // hidden-icon notice shown
inline const QString kSkin = QStringLiteral("Skin"); // skin name or "[none]"
inline const QString kInitSaveDir = QStringLiteral("InitSaveDir");
inline const QString kInitDir = QStringLiteral("InitDir");

// ---- Section "Memory": the random order's state.
inline const QString kX = QStringLiteral("X");
inline const QString kY = QStringLiteral("Y");
inline const QString kZ = QStringLiteral("Z");

} // namespace ini

// When the wallpaper changes. Stored under "change" as the text the mode
// box shows; anything else stored there is None (the box shows no text).
enum class ChangeMode { None, Startup, OnceADay, Frequently, Never };

// The stored and shown text of a mode ("" for None).
QString ChangeModeText(ChangeMode mode);
// The mode a stored or shown text names, compared exactly.
ChangeMode ChangeModeFromText(const QString& text);

} // namespace tavorin
