#pragma once

#include "engine/Thumbnail.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavorin::search {

// ---- File types and their name patterns.

// The file types of the "File Type:" box, in list order; the last is the default.
QStringList FileTypeEntries();
// "*.bmp;*.jpg" for "Bitmap Files(*.bmp) and JPEG Files(*.jpg)"; "" for an unknown text.
QString PatternForFileType(const QString& fileTypeText);

// A ";"-separated list of wildcard masks ("*" any run, "?" one character),
// matched against a file name regardless of letter case.
class NamePattern {
  public:
    explicit NamePattern(const QString& pattern);
    bool Matches(std::string_view name) const;
    bool IsEmpty() const { return masks_.empty(); }

  private:
    std::vector<std::string> masks_; // lower-cased UTF-8
};

// ---- The size test.

enum class Comparison { Any, LessThan, EqualTo, GreaterThan };

QStringList ComparisonEntries(); // "Any", "Less Than", "Equal To", "Greater Than"
QStringList WidthEntries();      // "640" ... "1280"
QStringList HeightEntries();     // "480" ... "960"
Comparison ComparisonFromText(const QString& text); // unknown texts count as "Any"

// Both dimensions must pass, each strictly.
bool PassesSizeTest(Comparison comparison, int width, int height, float wantedWidth,
                    float wantedHeight);

// The largest box value a measuring search takes: single precision holds every
// whole number up to here exactly, and no picture comes near it.
inline constexpr float kLargestDimension = 16777216.0f;

// A width or height box read for a measuring search.
struct DimensionValue {
    enum class State { Ok, Empty, TooLarge } state = State::Empty;
    float value = 0;
};
DimensionValue ReadDimension(const QString& boxText);

// Why a measuring search cannot start with these box texts; nothing when it can.
std::optional<QString> SizeBoxProblem(Comparison comparison, const QString& widthText,
                                      const QString& heightText);

// The box text with every character that is not a decimal digit removed.
QString DigitsOnly(const QString& text);

// ---- Paths and result texts.

// folder and name joined by exactly one "/" ("/" + "sky.jpg" -> "/sky.jpg").
QString JoinPath(const QString& folder, const QString& name);
std::string JoinPath(const std::string& folder, std::string_view name);
// The text after the last "/" (shared with the image browser).
using tavorin::Get_FileName;
// "sky.jpg \r\n1024 * 768"
QString ResultItemText(const QString& path, int width, int height);

// ---- Folder box.

struct Volume {
    QString rootPath;
    bool ready = true;
};
// The ready volumes, "/" first, then the others in the order given; at most 31.
QStringList DriveEntries(const std::vector<Volume>& volumes);

} // namespace tavorin::search
