#include "screen_objects/uMeasurementFormat.h"

#include "ui/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr double CentimetresPerInch = 2.539998;
constexpr double SquareCentimetresPerSquareInch = CentimetresPerInch * CentimetresPerInch;
constexpr double PointsPerInch = 72.0;
constexpr double TwipsPerInch = 1440.0;
constexpr double SquarePointsPerSquareInch = PointsPerInch * PointsPerInch;
constexpr int32_t FallbackPixelsPerInch = 96;

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

} // namespace

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

int32_t TwipsPerPixelX() {
    return TwipsPerPixel(LOGPIXELSX);
}
int32_t TwipsPerPixelY() {
    return TwipsPerPixel(LOGPIXELSY);
}
