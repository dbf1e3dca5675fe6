// The search criteria: file types, name patterns and resolutions.
#include "search/SearchCriteria.h"

#include <algorithm>

namespace tavorin::search {

namespace {

struct FileType {
    const char* text;
    const char* pattern;
};

constexpr FileType kFileTypes[] = {
    {"Bitmap Files(*.bmp)", "*.bmp"},
    {"JPEG Files(*.jpg)", "*.jpg"},
    {"CompuServe Graphics Interchange(*.gif)", "*.gif"},
    {"Bitmap Files(*.bmp) and JPEG Files(*.jpg)", "*.bmp;*.jpg"},
    {"Background Files (*.bmp; *.jpg; *.gif)", "*.bmp;*.jpg;*.gif"},
};

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// One mask against one name; "*" backtracks to the last star only, which is
// enough for wildcard masks.
bool MaskMatches(std::string_view mask, std::string_view name) {
    size_t m = 0, n = 0;
    size_t starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = ++m;
            starName = n;
        } else if (m < mask.size() && mask[m] == '?') {
            ++m;
            ++n;
            while (n < name.size() && IsContinuationByte(name[n]))
                ++n;
        } else if (m < mask.size() && mask[m] == LowerAscii(name[n])) {
            ++m;
            ++n;
        } else if (starMask != std::string_view::npos) {
            m = starMask;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

} // namespace

QStringList FileTypeEntries() {
    QStringList entries;
    for (const FileType& type : kFileTypes)
        entries << QString::fromLatin1(type.text);
    return entries;
}

QString PatternForFileType(const QString& fileTypeText) {
    for (const FileType& type : kFileTypes) {
        if (fileTypeText == QLatin1String(type.text))
            return QString::fromLatin1(type.pattern);
    }
    return {};
}

NamePattern::NamePattern(const QString& pattern) {
    for (const QString& mask : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = mask.trimmed();
        if (trimmed.isEmpty())
            continue;
        std::string bytes = trimmed.toUtf8().toStdString();
        std::transform(bytes.begin(), bytes.end(), bytes.begin(), LowerAscii);
        masks_.push_back(std::move(bytes));
    }
}

bool NamePattern::Matches(std::string_view name) const {
    return std::any_of(masks_.begin(), masks_.end(),
                       [name](const std::string& mask) { return MaskMatches(mask, name); });
}

QStringList ComparisonEntries() {
    return {QStringLiteral("Any"), QStringLiteral("Less Than"), QStringLiteral("Equal To"),
            QStringLiteral("Greater Than")};
}

QStringList WidthEntries() {
    return {QStringLiteral("640"), QStringLiteral("800"), QStringLiteral("1024"),
            QStringLiteral("1152"), QStringLiteral("1280")};
}

QStringList HeightEntries() {
    return {QStringLiteral("480"), QStringLiteral("600"), QStringLiteral("768"),
            QStringLiteral("864"), QStringLiteral("960")};
}

Comparison ComparisonFromText(const QString& text) {
    if (text == QLatin1String("Less Than"))
        return Comparison::LessThan;
    if (text == QLatin1String("Equal To"))
        return Comparison::EqualTo;
    if (text == QLatin1String("Greater Than"))
        return Comparison::GreaterThan;
    return Comparison::Any;
}

bool PassesSizeTest(Comparison comparison, int width, int height, float wantedWidth,
                    float wantedHeight) {
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    switch (comparison) {
    case Comparison::Any:
        return true;
    case Comparison::LessThan:
        return w < wantedWidth && h < wantedHeight;
    case Comparison::EqualTo:
        return w == wantedWidth && h == wantedHeight;
    case Comparison::GreaterThan:
        return w > wantedWidth && h > wantedHeight;
    }
    return false;
}

DimensionValue ReadDimension(const QString& boxText) {
    const QString digits = DigitsOnly(boxText);
    if (digits.isEmpty())
        return {DimensionValue::State::Empty, 0};
    // Leading zeros carry no value; more than 8 significant digits is beyond the limit.
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits[first] == QLatin1Char('0'))
        ++first;
    const QString significant = digits.mid(first);
    if (significant.size() > 8)
        return {DimensionValue::State::TooLarge, 0};
    const long value = significant.toLong();
    if (value > static_cast<long>(kLargestDimension))
        return {DimensionValue::State::TooLarge, 0};
    return {DimensionValue::State::Ok, static_cast<float>(value)};
}

std::optional<QString> SizeBoxProblem(Comparison comparison, const QString& widthText,
                                      const QString& heightText) {
    if (comparison == Comparison::Any)
        return std::nullopt;
    const DimensionValue width = ReadDimension(widthText);
    const DimensionValue height = ReadDimension(heightText);
    if (width.state == DimensionValue::State::Empty || height.state == DimensionValue::State::Empty)
        return QStringLiteral("Type a width and a height in pixels to compare with");
    if (width.state == DimensionValue::State::TooLarge ||
        height.state == DimensionValue::State::TooLarge)
        return QStringLiteral("Width and height must be at most 16777216 pixels");
    return std::nullopt;
}

QString DigitsOnly(const QString& text) {
    QString digits;
    digits.reserve(text.size());
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.append(c);
    }
    return digits;
}

QString JoinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

std::string JoinPath(const std::string& folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + name.size() + 1);
    path = folder;
    if (path.empty() || path.back() != '/')
        path.push_back('/');
    path.append(name);
    return path;
}

QString ResultItemText(const QString& path, int width, int height) {
    return ThumbnailText(path, QSize(width, height));
}

QStringList DriveEntries(const std::vector<Volume>& volumes) {
    QStringList entries;
    const auto add = [&entries](const QString& root) {
        if (entries.size() < 31 && !root.isEmpty() && !entries.contains(root))
            entries << root;
    };
    for (const Volume& volume : volumes) {
        if (volume.ready && volume.rootPath == QLatin1String("/"))
            add(volume.rootPath);
    }
    for (const Volume& volume : volumes) {
        if (volume.ready)
            add(volume.rootPath);
    }
    return entries;
}

} // namespace tavorin::search
