#pragma once

#include "platform/Services.h"

#include <QString>

#include <optional>

namespace tavorin {

// The program's shared routines: the settings store, registry access and
// opening documents. Every window gets the one Module1 of the run.
class Module1 {
  public:
    explicit Module1(Services& services) : services_(services) {}

    Services& services() const { return services_; }
    IDialogs& dialogs() const { return services_.dialogs; }
    const ProgramFolder& folder() const { return services_.folder; }
    // The program folder, where the delivered data lies.
    QString App_Path() const { return services_.folder.App_Path(); }

    // ---- Settings store: Settings.INI, read and written key by key.
    static constexpr int kReadBuffer = 80; // characters, terminator included

    // The stored text, at most 79 bytes, "" when absent.
    QString GetINIFile(const QString& section, const QString& key) const;
    // True when the value was stored.
    bool WriteINIFile(const QString& section, const QString& key, const QString& value) const;
    QString SettingsFile() const;
    static constexpr const char* kSettingsFileName = "Settings.INI";

    // ---- Registry access.
    static RootKey RootKeyHandle(const QString& name);
    // path is in-out: on return it holds the sub-key path.
    RootKey SplitKeyPath(QString& path) const;
    void WriteRegValue(const QString& keyPath, const QString& valueName, const QString& data) const;
    void DeleteRegValue(const QString& valuePath) const;
    // The log-on entry (kRunValuePath): starts Loader.exe from the program folder.
    void WriteLogOnEntry() const;

    // ---- Opening documents with their associated program.
    void OpenDocument(const QString& path) const;

  private:
    void reportError(int number, const QString& description, const QString& routine) const;

    Services& services_;
};

// A settings value as the number it holds, as a numeric comparison sees
// it ("1", " 1", "1.0" are 1). Nothing for "" and other non-numbers.
std::optional<double> NumericValue(const QString& text);
// True only when the text holds a number equal to n.
bool EqualsNumber(const QString& text, double n);

// The first bytes of text that fit a buffer of `limit` bytes, never
// splitting a character.
QString CutToBytes(const QString& text, int limit);

// The log-on entry: value "Tavorin" of the machine's Run key.
inline const QString kRunKeyPath =
    QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
inline const QString kRunValue = QStringLiteral("Tavorin");
inline const QString kRunValuePath = kRunKeyPath + QLatin1Char('\\') + kRunValue;
// The classic wallpaper's record: value "Wallpaper" of the user's desktop key.
inline const QString kDesktopSubKey = QStringLiteral("Control Panel\\Desktop");
inline const QString kDesktopKeyPath = QStringLiteral("HKEY_CURRENT_USER\\") + kDesktopSubKey;
inline const QString kWallpaperValue = QStringLiteral("Wallpaper");

} // namespace tavorin
