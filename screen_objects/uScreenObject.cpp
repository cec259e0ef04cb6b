#include "screen_objects/uScreenObject.h"

#include "screen_objects/uGeometry.h"
#include "screen_objects/uIniValues.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <numbers>

namespace {

constexpr int32_t MinPointSize = 4;
constexpr int32_t MaxPointSize = 20;
constexpr double CentimetresPerInch = 2.539998;
constexpr double SquareCentimetresPerSquareInch = CentimetresPerInch * CentimetresPerInch;
constexpr double PointsPerInch = 72.0;
constexpr double TwipsPerInch = 1440.0;
constexpr double SquarePointsPerSquareInch = PointsPerInch * PointsPerInch;
constexpr int32_t FallbackPixelsPerInch = 96;
constexpr wchar_t PluginMarker[] = L"<PLUGIN:";
constexpr size_t PluginPrefixLength = 9; // "<PLUGIN:" and the blank after it

int64_t TruncToInt64(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 9.2e18)
        return std::numeric_limits<int64_t>::max();
    if (value <= -9.2e18)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}

TMeasurementSettings& Settings() {
    static TMeasurementSettings settings = [] {
        TMeasurementSettings s;
        s.AverageTwipsPerPixel = (TwipsPerPixelX() + TwipsPerPixelY()) / 2.0;
        return s;
    }();
    return settings;
}

int32_t TwipsPerPixel(int capability) {
    ui::WindowDC screen(nullptr);
    int ppi = screen ? ::GetDeviceCaps(screen.Get(), capability) : 0;
    if (ppi <= 0)
        ppi = FallbackPixelsPerInch;
    return static_cast<int32_t>(1440 / ppi);
}

std::wstring GroupThousands(const std::string& digits, const std::wstring& separator) {
    std::wstring out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += static_cast<wchar_t>(digits[i]);
    }
    return out;
}

std::wstring Widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

std::wstring Compose(const std::wstring& label, const std::wstring& number, const wchar_t* suffix) {
    return label + L"=" + number + suffix;
}

std::wstring FileNameOnly(const std::wstring& path) {
    const size_t pos = path.find_last_of(L"\\/:");
    return pos == std::wstring::npos ? path : path.substr(pos + 1);
}

bool IsExistingFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring PointKey(const wchar_t* axis, int32_t i) {
    return axis + std::to_wstring(i);
}

} // namespace

// ---------------------------------------------------------------------------
// TScreenObject

TScreenObject::TScreenObject() {
    UpdateBounds();
}

TScreenObject::~TScreenObject() {
    Points.clear();
    Capacity = 0;
    PointCount = 0;
}

HRGN TScreenObject::Paint(ui::Canvas& canvas, HRGN region, bool /*selected*/) {
    canvas.SetPenWidth(LineWidth);
    return region;
}

bool TScreenObject::HitTest(POINT point, int32_t /*maxDistance*/, int32_t& /*distance*/) {
    return PointInBounds(point);
}

bool TScreenObject::ContainsPoint(POINT point) {
    return PointInBounds(point) && Region && ::PtInRegion(Region.Get(), point.x, point.y);
}

bool TScreenObject::FindHandle(POINT, int32_t, POINT&, int32_t&) {
    return false;
}

int32_t TScreenObject::BeginDrag(uint8_t mode, int32_t, int32_t) {
    CurrentPoint = PointCount;
    Dragging = true;
    DragMode = mode;
    SnapshotPoints();
    return 0;
}

int32_t TScreenObject::EndDrag(int32_t, int32_t) {
    Dragging = false;
    DragMode = 0;
    std::vector<POINT>().swap(DragSnapshot);
    return 0;
}

bool TScreenObject::AppendPoint(int32_t x, int32_t y) {
    SetPointCount(PointCount + 1);
    CurrentPoint = PointCount;
    return MoveCurrentPoint(x, y);
}

bool TScreenObject::MoveCurrentPoint(int32_t x, int32_t y) {
    bool result = false;
    if (CurrentPoint >= 1 && CurrentPoint <= PointCount) {
        if (DragMode == 0 || DragMode == 1) {
            Vertex(CurrentPoint) = POINT{x, y};
            result = true;
        } else if (DragMode == 2) {
            // The whole shape follows the grabbed vertex and keeps its form.
            if (DragSnapshot.size() != Points.size())
                SnapshotPoints();
            const POINT grabbed = DragSnapshot[static_cast<size_t>(CurrentPoint - 1)];
            for (int32_t i = 1; i <= Capacity; ++i) {
                const POINT& s = DragSnapshot[static_cast<size_t>(i - 1)];
                Vertex(i) = i == CurrentPoint ? POINT{x, y}
                                              : POINT{x + s.x - grabbed.x, y + s.y - grabbed.y};
            }
            result = true;
        }
    }
    UpdateBounds();
    return result;
}

void TScreenObject::GetHint(bool english, std::wstring& text) {
    text = AppendUserHint(english ? L"delete" : L"löschen");
}

void TScreenObject::GetMenuCaption(bool english, std::wstring& text) {
    text = english ? L"delete" : L"löschen";
}

void TScreenObject::GetPlacementPrompt(bool, int32_t, std::wstring& text) {
    text.clear();
}

void TScreenObject::GetInfoText(std::wstring& text) {
    text.clear();
}

bool TScreenObject::LoadFromIni(const std::wstring& fileName, const std::wstring& section) {
    try {
        int32_t type = 0;
        if (!IniTextToInteger(ReadIniString(fileName, section, L"Type", L"0"), type) ||
            type != TypeCode)
            return false;
        SetPointType(ReadIniInteger(fileName, section, L"PointType", 0));
        SetPointColor(static_cast<COLORREF>(ReadIniInteger(fileName, section, L"PointColor", 0)));
        SetPointSize(ReadIniInteger(fileName, section, L"PointSize", PointSize));
        LineWidth = ReadIniInteger(fileName, section, L"LineWidth", LineWidth);
        PolygonFilled = ReadIniBool(fileName, section, L"PolygonFilled", PolygonFilled);
        SetLineColor(static_cast<COLORREF>(ReadIniInteger(fileName, section, L"LineColor", 0)));
        UserHint = ReadIniString(fileName, section, L"UserHint", UserHint);
        ShellExApp = ReadIniString(fileName, section, L"ShellExApp", ShellExApp);
        SetPointCount(ReadIniInteger(fileName, section, L"PointCount", 0));
        RelativePosition = ReadIniBool(fileName, section, L"RelativePosition", false);
        const SIZE desktop = DesktopSize();
        for (int32_t i = 1; i <= PointCount; ++i) {
            const int32_t x = ReadIniInteger(fileName, section, PointKey(L"PointX.", i), 0);
            const int32_t y = ReadIniInteger(fileName, section, PointKey(L"PointY.", i), 0);
            Vertex(i) = RelativePosition ? POINT{RelativeToPixels(x, desktop.cx),
                                                 RelativeToPixels(y, desktop.cy)}
                                         : POINT{x, y};
        }
        UpdateBounds();
        return true;
    } catch (...) {
        return false;
    }
}

void TScreenObject::SaveToIni(const std::wstring& fileName, const std::wstring& section,
                              std::vector<std::wstring>* fileList) {
    WriteIniInteger(fileName, section, L"Type", TypeCode);
    WriteIniInteger(fileName, section, L"PointType", PointType);
    WriteIniInteger(fileName, section, L"PointColor", static_cast<int32_t>(PointColor));
    WriteIniInteger(fileName, section, L"PointSize", PointSize);
    WriteIniInteger(fileName, section, L"LineWidth", LineWidth);
    WriteIniBool(fileName, section, L"PolygonFilled", PolygonFilled);
    WriteIniInteger(fileName, section, L"LineColor", static_cast<int32_t>(LineColor));
    WriteIniString(fileName, section, L"UserHint", UserHint);
    WriteIniString(fileName, section, L"ShellExApp", ShellExApp);
    if (fileList && !ShellExApp.empty()) {
        std::wstring upper = ShellExApp;
        ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
        if (upper.find(PluginMarker) != std::wstring::npos) {
            // "<PLUGIN: name>": the list gets the name.
            if (ShellExApp.size() > PluginPrefixLength + 1)
                fileList->push_back(ShellExApp.substr(PluginPrefixLength,
                                                      ShellExApp.size() - PluginPrefixLength - 1));
        } else if (IsExistingFile(ShellExApp)) {
            fileList->push_back(ShellExApp);
            WriteIniString(fileName, section, L"ShellExApp", FileNameOnly(ShellExApp));
        }
    }
    WriteIniInteger(fileName, section, L"PointCount", PointCount);
    if (RelativePosition) {
        WriteIniBool(fileName, section, L"RelativePosition", true);
        const SIZE desktop = DesktopSize();
        for (int32_t i = 1; i <= PointCount; ++i) {
            WriteIniInteger(fileName, section, PointKey(L"PointX.", i),
                            PixelsToRelative(Vertex(i).x, desktop.cx));
            WriteIniInteger(fileName, section, PointKey(L"PointY.", i),
                            PixelsToRelative(Vertex(i).y, desktop.cy));
        }
    } else {
        // A key left from an earlier relative save would make the pixel
        // values below read back as fractions of the desktop.
        DeleteIniKey(fileName, section, L"RelativePosition");
        for (int32_t i = 1; i <= PointCount; ++i) {
            WriteIniInteger(fileName, section, PointKey(L"PointX.", i), Vertex(i).x);
            WriteIniInteger(fileName, section, PointKey(L"PointY.", i), Vertex(i).y);
        }
    }
}

void TScreenObject::SetFillColor(COLORREF color) {
    FillColor = color;
}

void TScreenObject::SetPointSize(int32_t size) {
    PointSize = std::clamp(size, MinPointSize, MaxPointSize);
}

void TScreenObject::SetCapacity(int32_t n) {
    n = std::max(n, 0);
    Points.assign(static_cast<size_t>(n), POINT{0, 0});
    Capacity = n;
    // Never more vertices in use than allocated.
    PointCount = std::min(PointCount, Capacity);
}

void TScreenObject::SetPointCount(int32_t n) {
    PointCount = std::min(n > 0 ? n : 1, Capacity);
}

void TScreenObject::UpdateBounds() {
    Bounds = RECT{0, 0, -10, -10};
    if (PointCount <= 0)
        return;
    RECT b{Vertex(1).x, Vertex(1).y, Vertex(1).x, Vertex(1).y};
    for (int32_t i = 2; i <= PointCount; ++i) {
        b.left = std::min(b.left, Vertex(i).x);
        b.top = std::min(b.top, Vertex(i).y);
        b.right = std::max(b.right, Vertex(i).x);
        b.bottom = std::max(b.bottom, Vertex(i).y);
    }
    // Kept inside 32 bits for vertices near the ends of the range.
    Bounds = RECT{ClampToInt32(int64_t{b.left} - BoundsMargin),
                  ClampToInt32(int64_t{b.top} - BoundsMargin),
                  ClampToInt32(int64_t{b.right} + BoundsMargin),
                  ClampToInt32(int64_t{b.bottom} + BoundsMargin)};
}

bool TScreenObject::PointInBounds(POINT point) const {
    return Bounds.left < point.x && point.x < Bounds.right && Bounds.top < point.y &&
           point.y < Bounds.bottom;
}

HRGN TScreenObject::ResetRegion(HRGN source) {
    Region = ui::MakeEmptyRegion();
    if (source && Region)
        ::CombineRgn(Region.Get(), Region.Get(), source, RGN_OR);
    return Region.Get();
}

void TScreenObject::SnapshotPoints() {
    DragSnapshot = Points;
}

std::wstring TScreenObject::AppendUserHint(const std::wstring& text) const {
    if (UserHint.empty())
        return text;
    return text.empty() ? UserHint : text + LineBreak + UserHint;
}

std::wstring TScreenObject::ComposeHint(std::initializer_list<const wchar_t*> mouseLines) {
    std::wstring text;
    if (ShowMouseHelp)
        for (const wchar_t* line : mouseLines)
            text += std::wstring(line) + LineBreak;
    std::wstring info;
    GetInfoText(info);
    return AppendUserHint(text + info);
}

std::wstring TScreenObject::FormatLength(const std::wstring& label, double value) const {
    return ::FormatLength(label, value);
}

// ---------------------------------------------------------------------------
// Relative positions

int32_t PixelsToRelative(int32_t pixels, int32_t extent) {
    if (extent <= 0)
        return 0;
    return TruncToInt32(static_cast<double>(pixels) / extent * RelativeScale);
}

int32_t RelativeToPixels(int32_t relative, int32_t extent) {
    if (extent <= 0)
        return 0;
    // Rounded, not cut: the stored value was cut on writing, and cutting again
    // would move the vertex by a pixel on every save and load.
    return TruncToInt32(std::round(static_cast<double>(relative) / RelativeScale * extent));
}

SIZE DesktopSize() {
    return SIZE{::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// ---------------------------------------------------------------------------
// Measurements

const TMeasurementSettings& MeasurementSettings() {
    return Settings();
}

void SetMeasurementUnit(int32_t unit, int32_t pixelsPerInch, int32_t scale,
                        double pixelsPerUserUnit) {
    TMeasurementSettings& s = Settings();
    s.MeasureUnit = unit;
    s.PixelsPerInch = pixelsPerInch;
    s.Scale = scale;
    s.PixelsPerUserUnit = pixelsPerUserUnit;
}

TNumberSeparators LocaleNumberSeparators() {
    TNumberSeparators separators;
    wchar_t buffer[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 1)
        separators.Decimal = buffer;
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer, 8) > 0)
        separators.Thousands = buffer;
    return separators;
}

std::wstring FormatNumber(double value, int precision, int digits,
                          const TNumberSeparators& separators) {
    if (std::isnan(value))
        return L"NAN";
    if (std::isinf(value))
        return value < 0 ? L"-INF" : L"INF";
    precision = std::clamp(precision, 1, 18);
    digits = std::clamp(digits, 0, 18);
    const double magnitude = std::fabs(value);

    // The value rounded to `precision` significant digits tells its integer digits.
    char text[512];
    std::snprintf(text, sizeof text, "%.*e", precision - 1, magnitude);
    const char* e = std::strchr(text, 'e');
    const int exponent = e ? std::atoi(e + 1) : 0;
    std::wstring number;
    if (magnitude != 0.0 && exponent + 1 > precision) {
        // Too many integer digits: mantissa without trailing zeros, then the exponent.
        std::string mantissa(text, e ? static_cast<size_t>(e - text) : std::strlen(text));
        if (mantissa.find('.') != std::string::npos) {
            mantissa.erase(mantissa.find_last_not_of('0') + 1);
            if (mantissa.back() == '.')
                mantissa.pop_back();
        }
        const size_t dot = mantissa.find('.');
        number = Widen(mantissa.substr(0, dot));
        if (dot != std::string::npos)
            number += separators.Decimal + Widen(mantissa.substr(dot + 1));
        number += L"E" + std::to_wstring(exponent);
    } else {
        const int integerDigits = magnitude == 0.0 ? 1 : exponent + 1;
        const int decimals = std::max(0, std::min(digits, precision - integerDigits));
        std::snprintf(text, sizeof text, "%.*f", decimals, magnitude);
        std::string fixed = text;
        const size_t dot = fixed.find('.');
        std::string whole = fixed.substr(0, dot);
        std::string fraction = dot == std::string::npos ? "" : fixed.substr(dot + 1);
        fraction.resize(static_cast<size_t>(digits), '0');
        number = GroupThousands(whole, separators.Thousands);
        if (digits > 0)
            number += separators.Decimal + Widen(fraction);
    }
    // No "-0.0": the sign only where a digit other than zero is shown.
    if (value < 0 && number.find_first_of(L"123456789") != std::wstring::npos)
        number = L"-" + number;
    return number;
}

std::wstring FormatLength(const std::wstring& label, double value) {
    const TMeasurementSettings& s = Settings();
    const TNumberSeparators separators = LocaleNumberSeparators();
    auto tiered = [&](double v, const wchar_t* suffix) {
        const int precision = v < 10 ? 3 : v < 100 ? 4 : 5;
        return Compose(label, FormatNumber(v, precision, 2, separators), suffix);
    };
    const bool inchBased = s.MeasureUnit >= UnitCentimetres && s.MeasureUnit <= UnitTwips;
    if (inchBased && s.PixelsPerInch <= 0)
        return L"";
    const double inches = inchBased ? value / s.PixelsPerInch * s.Scale : 0.0;
    switch (s.MeasureUnit) {
    case UnitPixels:
        return Compose(label, FormatNumber(value, 4, 1, separators), L"");
    case UnitCentimetres:
        return tiered(inches * CentimetresPerInch, L" cm");
    case UnitInches:
        return tiered(inches, L"''");
    case UnitPoints:
        return Compose(label, std::to_wstring(TruncToInt64(inches * PointsPerInch)), L" pt");
    case UnitTwips:
        return Compose(label, std::to_wstring(TruncToInt64(inches * TwipsPerInch)), L" tw");
    case UnitScreenTwips:
        return Compose(label, std::to_wstring(TruncToInt64(value * s.AverageTwipsPerPixel)),
                       L" tw");
    case UnitUser: {
        const double v = s.PixelsPerUserUnit == 0.0 ? value : value / s.PixelsPerUserUnit;
        return Compose(label, FormatNumber(v, 5, 2, separators), L"u");
    }
    default:
        return L"";
    }
}

std::wstring FormatArea(const std::wstring& label, double value) {
    const TMeasurementSettings& s = Settings();
    const TNumberSeparators separators = LocaleNumberSeparators();
    const bool inchBased = s.MeasureUnit >= UnitCentimetres && s.MeasureUnit <= UnitPoints;
    if (inchBased && s.PixelsPerInch <= 0)
        return L"";
    const double ppi = s.PixelsPerInch;
    const double scale = s.Scale;
    const double squareInches = inchBased ? value / (ppi * ppi) * scale * scale : 0.0;
    auto tiered = [&](double tierValue, double v, const wchar_t* suffix) {
        const int precision = tierValue < 100 ? 6 : v < 100 ? 8 : 10;
        return Compose(label, FormatNumber(v, precision, 2, separators), suffix);
    };
    switch (s.MeasureUnit) {
    case UnitPixels:
        return Compose(label, FormatNumber(value, 8, 2, separators), L"");
    case UnitCentimetres:
        // The first tier is judged with Scale once, not squared.
        return tiered(value / (ppi * ppi) * scale * SquareCentimetresPerSquareInch,
                      squareInches * SquareCentimetresPerSquareInch, L" cm^2");
    case UnitInches:
        return tiered(value / ppi * scale, squareInches, L"''^2");
    case UnitPoints:
        return Compose(label,
                       std::to_wstring(TruncToInt64(squareInches * SquarePointsPerSquareInch)),
                       L" pt^2");
    case UnitTwips:
    case UnitScreenTwips:
        return Compose(label,
                       std::to_wstring(
                           TruncToInt64(s.AverageTwipsPerPixel * (value * s.AverageTwipsPerPixel))),
                       L" tw^2");
    case UnitUser: {
        const double u = s.PixelsPerUserUnit;
        return Compose(label, FormatNumber(u == 0.0 ? value : value / (u * u), 10, 2, separators),
                       L"u^2");
    }
    default:
        return L"";
    }
}

int32_t PolygonArea(int32_t count, const POINT* vertices) {
    if (count <= 0 || !vertices)
        return 0;
    const POINT& first = vertices[0];
    const POINT& last = vertices[count - 1];
    int64_t s = (int64_t{first.x} - last.x) * (int64_t{last.y} + first.y);
    for (int32_t i = 1; i < count; ++i) {
        const POINT& p = vertices[i];
        const POINT& q = vertices[i - 1];
        s += (int64_t{p.x} - q.x) * (int64_t{p.y} + q.y);
    }
    return static_cast<int32_t>(std::clamp<int64_t>(s / 2, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

double DirectionAngle(double dx, double dy) {
    constexpr double pi = std::numbers::pi;
    if (dy > 0) {
        if (dx < 0)
            return -std::atan(dy / dx);
        if (dx > 0)
            return pi - std::atan(dy / dx);
        return pi / 2;
    }
    if (dx < 0)
        return 2 * pi - std::atan(dy / dx);
    if (dx > 0)
        return pi - std::atan(dy / dx);
    return 3 * pi / 2;
}

int32_t TwipsPerPixelX() {
    return TwipsPerPixel(LOGPIXELSX);
}
int32_t TwipsPerPixelY() {
    return TwipsPerPixel(LOGPIXELSY);
}
