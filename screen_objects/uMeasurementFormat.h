// Lengths and areas as the shapes' info texts write them: the program's
// measurement unit, numbers with the user's separators, and the screen's
// twips per pixel.
#pragma once

#include <cstdint>
#include <string>

// Measurement units of FormatLength and FormatArea.
constexpr int32_t UnitPixels = 0;
constexpr int32_t UnitCentimetres = 1;
constexpr int32_t UnitInches = 2;
constexpr int32_t UnitPoints = 3;
constexpr int32_t UnitTwips = 4;
constexpr int32_t UnitScreenTwips = 5;
constexpr int32_t UnitUser = 6;

// Measurement settings used by FormatLength and FormatArea (one set per program).
struct TMeasurementSettings {
    int32_t MeasureUnit = UnitPixels;
    int32_t PixelsPerInch = 0;
    int32_t Scale = 0;
    double PixelsPerUserUnit = 0.0;
    double AverageTwipsPerPixel = 0.0; // of the screen, computed once at start
};
const TMeasurementSettings& MeasurementSettings();
void SetMeasurementUnit(int32_t unit, int32_t pixelsPerInch, int32_t scale,
                        double pixelsPerUserUnit);

// The separators a number is written with (the user's locale by default).
struct TNumberSeparators {
    std::wstring Decimal = L".";
    std::wstring Thousands = L",";
};
TNumberSeparators LocaleNumberSeparators();
// value with grouping separators, at most `precision` significant digits and
// exactly `digits` decimals; more than `precision` integer digits switch to
// exponent notation (mantissa, "E", exponent).
std::wstring FormatNumber(double value, int precision, int digits,
                          const TNumberSeparators& separators);
// label + "=" + number + unit suffix; empty for an unknown unit and for the
// inch-based units while PixelsPerInch is not positive.
std::wstring FormatLength(const std::wstring& label, double value);
std::wstring FormatArea(const std::wstring& label, double value);
int32_t TwipsPerPixelX();
int32_t TwipsPerPixelY();
