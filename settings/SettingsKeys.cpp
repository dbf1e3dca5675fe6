// The change modes' texts, as the mode box shows them and Settings.INI stores them.
#include "settings/SettingsKeys.h"

#include <array>
#include <utility>

namespace tavorin {

namespace {
const std::array<std::pair<ChangeMode, QString>, 4> kModeTexts{{
    {ChangeMode::Startup, QStringLiteral("Startup")},
    {ChangeMode::OnceADay, QStringLiteral("Once a day")},
    {ChangeMode::Frequently, QStringLiteral("Frequently")},
    {ChangeMode::Never, QStringLiteral("Never (manually only)")},
}};
} // namespace

QString ChangeModeText(ChangeMode mode) {
    for (const auto& [m, text] : kModeTexts)
        if (m == mode)
            return text;
    return {};
}

ChangeMode ChangeModeFromText(const QString& text) {
    for (const auto& [m, modeText] : kModeTexts)
        if (modeText == text)
            return m;
    return ChangeMode::None;
}

} // namespace tavorin
