#pragma once

// The skin of the main window: the background picture behind every
// control and the colours of the labels that sit on it.
//
// How frmMain uses it: implement SkinTarget (Image1, Label2, Label3,
// lblListCount, lblHelp) and call ApplySkin(m_, *this, size()) for the
// Skins routine; lblHelp_MouseMove / lblHelp_Layout apply
// HelpHoverLook / HelpRestLook of the "Skin" setting read afresh.

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <future>
#include <optional>

namespace tavorin {

class Module1;

inline const QString kNoSkin = QStringLiteral("[none]");
inline const QString kDefaultSkin = QStringLiteral("Metalic");

inline const QColor kSkinLabelColour{128, 255, 128}; // light green
inline const QColor kHelpRestColour{0, 255, 255};    // cyan
inline const QColor kHelpHoverColour{192, 255, 255}; // light cyan
inline const QColor kPlainColour{0, 0, 0};           // black, without a skin

enum class SkinKind {
    None,    // "[none]": no picture, black labels
    Default, // absent or empty: Skins/Metalic.jpg, colours left as they are
    Named,   // any other value v: Skins/v.jpg
};

struct SkinChoice {
    SkinKind kind = SkinKind::Default;
    QString name; // "Metalic" for the default, the value for a named skin
    QString file; // relative to the program folder; empty for none
};

// What the value of the "Skin" setting names.
SkinChoice SkinFromSetting(const QString& setting);

// The colours a skin gives; nothing where the colour is left as it is.
struct SkinColours {
    std::optional<QColor> labels; // Label2, Label3, lblListCount
    std::optional<QColor> help;   // lblHelp
};
SkinColours ColoursFor(SkinKind kind);

struct HelpLook {
    QColor colour;
    bool underline = false;
};
// lblHelp under the pointer, and at rest, for the value of "Skin".
HelpLook HelpHoverLook(const QString& setting);
HelpLook HelpRestLook(const QString& setting);

// Largest picture a skin may claim in its header; a larger one is refused
// before anything is decoded.
inline constexpr qint64 kLargestSkinPixels = 64LL * 1024 * 1024;

// Loads a skin picture without trusting the file: the size in its header
// is read first, and a file that is not a picture, claims no size or a
// size beyond kLargestSkinPixels, or fails to decode gives nothing.
// With a non-empty `fitTo`, a larger picture is decoded scaled down to
// that size (stretching to the window loses nothing).
std::optional<QImage> LoadSkinPicture(const QString& path, QSize fitTo = {});

// Our message for a skin picture that cannot be used.
QString MissingSkinMessage(const QString& name, const QString& path);

// The widgets the skin is applied to.
class SkinTarget {
  public:
    virtual ~SkinTarget() = default;
    // Image1, stretched behind every control; a null image empties it.
    virtual void SetSkinPicture(const QImage& picture) = 0;
    // Label2, Label3 and lblListCount.
    virtual void SetLabelColour(const QColor& colour) = 0;
    virtual void SetHelpColour(const QColor& colour) = 0;
};

// The picture file the "Skin" setting names; empty for no skin.
QString SkinPictureFile(const Module1& module);

// A skin picture decoded on another thread, so that the window being
// built meanwhile does not wait for it.
class SkinPreload {
  public:
    // Starts decoding `path` fitted to `fitTo`; an empty path starts nothing.
    void Start(const QString& path, QSize fitTo);
    // The picture for `path` and `fitTo`: the one decoded meanwhile when it
    // was started for them (once only), otherwise LoadSkinPicture's.
    std::optional<QImage> Take(const QString& path, QSize fitTo);

  private:
    QString path_;
    QSize fitTo_;
    std::future<std::optional<QImage>> picture_;
};

// The Skins routine: reads "Skin", shows the picture and colours it
// names; a missing or unreadable picture gives one critical message,
// stores "Skin" = "[none]" and applies no skin. The picture comes from
// `preload` when one is given.
void ApplySkin(const Module1& module, SkinTarget& target, QSize windowSize = {},
               SkinPreload* preload = nullptr);

} // namespace tavorin
