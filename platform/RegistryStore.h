#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace tavorin {

// The predefined root keys, with the platform's handle values.
enum class RootKey : std::uint32_t {
    None = 0,
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
    PerformanceData = 0x80000004u,
    CurrentConfig = 0x80000005u,
    DynData = 0x80000006u,
};

// The few registry keys the program touches. A key that does not exist
// is never created: writing under it does nothing and answers false.
class IRegistryStore {
  public:
    virtual ~IRegistryStore() = default;

    virtual bool SetStringValue(RootKey root, const QString& subKey, const QString& name,
                                const QString& data) = 0;
    virtual bool DeleteValue(RootKey root, const QString& subKey, const QString& name) = 0;
    virtual std::optional<QString> StringValue(RootKey root, const QString& subKey,
                                               const QString& name) const = 0;
};

// Linux: the log-on Run key is the XDG autostart folder (one NAME.desktop
// entry per value); the user's desktop key is a small record of the
// classic wallpaper, $XDG_CONFIG_HOME/Tavorin/Desktop.INI. Nothing else
// exists.
class XdgRegistryStore final : public IRegistryStore {
  public:
    // configHome: empty means $XDG_CONFIG_HOME (or ~/.config).
    explicit XdgRegistryStore(QString configHome = {});

    bool SetStringValue(RootKey root, const QString& subKey, const QString& name,
                        const QString& data) override;
    bool DeleteValue(RootKey root, const QString& subKey, const QString& name) override;
    std::optional<QString> StringValue(RootKey root, const QString& subKey,
                                       const QString& name) const override;

    QString AutostartFolder() const;
    QString DesktopRecordFile() const;

  private:
    enum class Key { None, Run, Desktop };
    static Key keyOf(RootKey root, const QString& subKey);

    QString configHome_;
};

// The Exec= value of a desktop entry that runs `program` with no
// arguments, quoted and escaped by the freedesktop.org desktop entry rules. A
// path with "%" is handed to /bin/sh -c 'exec "$0"' as its argument,
// because GIO looks for the program before it undoes "%%".
QString DesktopEntryExec(const QString& program);
// The desktop entry file text for a log-on entry.
QString AutostartEntryText(const QString& name, const QString& program);

} // namespace tavorin
