#pragma once

#include "settings/Module1.h"
#include "settings/SettingsKeys.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

namespace tavorin::test {

// A temporary program folder with the fakes and the program's Module1 over
// them: what most tests of a window or a rule with settings start from.
struct Rig {
    explicit Rig(bool withData = false) : folder(withData) {}

    TempProgramFolder folder;
    FakePlatform fake{folder.path()};
    Module1 m{fake.services};

    void set(const QString& key, const QString& value,
             const QString& section = ini::kSettings) const {
        m.WriteINIFile(section, key, value);
    }
    QString get(const QString& key, const QString& section = ini::kSettings) const {
        return m.GetINIFile(section, key);
    }
    QStringList messages() const { // the message boxes' texts, in order
        QStringList texts;
        for (const auto& box : fake.dialogs.messages)
            texts << box.text;
        return texts;
    }
    QStringList applied() const { // the paths handed to the wallpaper, in order
        QStringList paths;
        for (const auto& call : fake.wallpaper.calls)
            paths << call.path;
        return paths;
    }
};

} // namespace tavorin::test
