#include "shape_surface.h"
#include "screen_objects/uIniValues.h"
#include "screen_objects/uMeasurementFormat.h"
#include "screen_objects/uScreenLine.h"
#include "screen_objects/uScreenObject.h"

#include <gtest/gtest.h>

#include <numbers>

using testshapes::ScratchIni;

namespace {

// Restores pixel measurements after a test changed the unit.
struct PixelUnit {
    ~PixelUnit() { SetMeasurementUnit(UnitPixels, 0, 0, 0.0); }
};

std::wstring Dec() {
    return LocaleNumberSeparators().Decimal;
}
std::wstring Thou() {
    return LocaleNumberSeparators().Thousands;
}

} // namespace

TEST(ScreenObjectVertices, BoundsCountsAndSizes) {
    TScreenObject o;
    EXPECT_EQ(o.Bounds.left, 0);
    EXPECT_EQ(o.Bounds.right, -10);
    for (POINT p : {POINT{0, 0}, POINT{-5, -5}, POINT{-1, -1}})
        EXPECT_FALSE(o.PointInBounds(p));
    // No room: appending is refused rather than writing past the vertices.
    EXPECT_FALSE(o.AppendPoint(3, 4));
    EXPECT_EQ(o.PointCount, 0);

    o.SetCapacity(3);
    EXPECT_TRUE(o.AppendPoint(100, 100));
    EXPECT_EQ(o.Bounds.left, 70);
    EXPECT_EQ(o.Bounds.top, 70);
    EXPECT_EQ(o.Bounds.right, 130);
    EXPECT_EQ(o.Bounds.bottom, 130);
    EXPECT_FALSE(o.PointInBounds(POINT{70, 100}));
    EXPECT_FALSE(o.PointInBounds(POINT{130, 100}));
    EXPECT_TRUE(o.PointInBounds(POINT{71, 100}));
    EXPECT_TRUE(o.PointInBounds(POINT{129, 129}));

    o.AppendPoint(200, 50);
    o.AppendPoint(150, 300);
    EXPECT_EQ(o.Bounds.left, 70);
    EXPECT_EQ(o.Bounds.top, 20);
    EXPECT_EQ(o.Bounds.right, 230);
    EXPECT_EQ(o.Bounds.bottom, 330);
    // At capacity the last vertex moves.
    EXPECT_TRUE(o.AppendPoint(1, 2));
    EXPECT_EQ(o.PointCount, 3);
    EXPECT_EQ(o.CurrentPoint, 3);
    EXPECT_EQ(o.Vertex(3).x, 1);
    EXPECT_EQ(o.Vertex(2).x, 200);

    o.SetPointCount(0);
    EXPECT_EQ(o.PointCount, 1);
    o.SetPointCount(10);
    EXPECT_EQ(o.PointCount, 3);
    // Shrinking the storage never leaves more vertices in use than exist.
    o.SetCapacity(2);
    EXPECT_EQ(o.PointCount, 2);

    o.SetPointSize(2);
    EXPECT_EQ(o.PointSize, 4);
    o.SetPointSize(21);
    EXPECT_EQ(o.PointSize, 20);
    o.SetPointSize(9);
    EXPECT_EQ(o.PointSize, 9);

    // A current point outside 1..PointCount moves nothing.
    o.CurrentPoint = 0;
    EXPECT_FALSE(o.MoveCurrentPoint(5, 5));
    o.CurrentPoint = 3;
    EXPECT_FALSE(o.MoveCurrentPoint(5, 5));
}

TEST(ScreenObjectVertices, DraggingMovesAVertexOrTheWholeShape) {
    TScreenLine line;
    line.AppendPoint(0, 0);
    line.AppendPoint(10, 0);
    line.BeginDrag(2, 10, 0);
    EXPECT_TRUE(line.Dragging);
    EXPECT_EQ(line.CurrentPoint, 2);
    EXPECT_TRUE(line.MoveCurrentPoint(20, 5));
    EXPECT_EQ(line.Vertex(1).x, 10);
    EXPECT_EQ(line.Vertex(1).y, 5);
    EXPECT_EQ(line.Vertex(2).x, 20);
    EXPECT_EQ(line.Vertex(2).y, 5);
    // Relative to the snapshot, not to the last move.
    EXPECT_TRUE(line.MoveCurrentPoint(12, 1));
    EXPECT_EQ(line.Vertex(1).x, 2);
    EXPECT_EQ(line.Vertex(1).y, 1);
    EXPECT_EQ(line.Bounds.left, 2 - BoundsMargin);
    EXPECT_EQ(line.EndDrag(0, 0), 0);
    EXPECT_FALSE(line.Dragging);
    EXPECT_EQ(line.DragMode, 0);
    EXPECT_TRUE(line.DragSnapshot.empty());

    // Mode 0 moves the grabbed vertex only; unknown modes refuse.
    line.BeginDrag(0, 12, 1);
    EXPECT_TRUE(line.MoveCurrentPoint(50, 50));
    EXPECT_EQ(line.Vertex(1).x, 2);
    EXPECT_EQ(line.Vertex(2).x, 50);
    line.DragMode = 3;
    EXPECT_FALSE(line.MoveCurrentPoint(60, 60));
    EXPECT_EQ(line.Vertex(2).x, 50);
}

TEST(ScreenObjectTexts, BaseTextsAndUserHint) {
    TScreenObject o;
    std::wstring text;
    o.GetHint(true, text);
    EXPECT_EQ(text, L"delete");
    o.UserHint = L"mine";
    o.GetHint(false, text);
    EXPECT_EQ(text, L"löschen\n\rmine");
    EXPECT_EQ(o.AppendUserHint(L""), L"mine");
    o.GetMenuCaption(false, text);
    EXPECT_EQ(text, L"löschen");
    text = L"x";
    o.GetPlacementPrompt(true, 1, text);
    EXPECT_EQ(text, L"");
    text = L"x";
    o.GetInfoText(text);
    EXPECT_EQ(text, L"");
}

TEST(ScreenObjectIni, RoundTripOfTheCommonKeys) {
    ScratchIni ini;
    const std::wstring& f = ini.Path();
    TScreenLine a;
    a.AppendPoint(-12, 34);
    a.AppendPoint(560, 78);
    a.SetPointType(2);
    a.SetPointColor(RGB(1, 2, 3));
    a.SetPointSize(11);
    a.LineWidth = 5;
    a.PolygonFilled = true;
    a.SetLineColor(RGB(200, 100, 50));
    a.UserHint = L"Hinweis";
    a.ShellExApp = L"notes.txt";
    a.RelativePosition = false;
    a.SaveToIni(f, L"Item1", nullptr);
    EXPECT_EQ(ReadIniString(f, L"Item1", L"Type", L""), L"2");
    EXPECT_EQ(ReadIniString(f, L"Item1", L"RelativePosition", L"none"), L"none");
    EXPECT_EQ(ReadIniString(f, L"Item1", L"PointX.1", L""), L"-12");

    TScreenLine b;
    b.RelativePosition = true;
    ASSERT_TRUE(b.LoadFromIni(f, L"Item1"));
    EXPECT_FALSE(b.RelativePosition);
    EXPECT_EQ(b.PointType, 2);
    EXPECT_EQ(b.PointColor, RGB(1, 2, 3));
    EXPECT_EQ(b.PointSize, 11);
    EXPECT_EQ(b.LineWidth, 5);
    EXPECT_TRUE(b.PolygonFilled);
    EXPECT_EQ(b.LineColor, RGB(200, 100, 50));
    EXPECT_EQ(b.UserHint, L"Hinweis");
    EXPECT_EQ(b.ShellExApp, L"notes.txt");
    EXPECT_EQ(b.PointCount, 2);
    EXPECT_EQ(b.Vertex(1).x, -12);
    EXPECT_EQ(b.Vertex(2).y, 78);
    EXPECT_EQ(b.Bounds.left, -12 - BoundsMargin);

    // Relative positions come back on the pixel, whatever the desktop size.
    a.RelativePosition = true;
    const SIZE desktop = DesktopSize();
    a.Vertex(1) = POINT{desktop.cx * 3 / 7, desktop.cy * 5 / 9};
    a.Vertex(2) = POINT{desktop.cx - 1, 1};
    a.SaveToIni(f, L"Item2", nullptr);
    EXPECT_EQ(ReadIniString(f, L"Item2", L"RelativePosition", L""), L"1");
    TScreenLine c;
    ASSERT_TRUE(c.LoadFromIni(f, L"Item2"));
    EXPECT_TRUE(c.RelativePosition);
    EXPECT_EQ(c.Vertex(1).x, a.Vertex(1).x);
    EXPECT_EQ(c.Vertex(1).y, a.Vertex(1).y);
    EXPECT_EQ(c.Vertex(2).x, a.Vertex(2).x);
    EXPECT_EQ(c.Vertex(2).y, 1);

    // Saving with pixels over a relative section drops the stale flag.
    a.RelativePosition = false;
    a.SaveToIni(f, L"Item2", nullptr);
    TScreenLine d;
    ASSERT_TRUE(d.LoadFromIni(f, L"Item2"));
    EXPECT_FALSE(d.RelativePosition);
    EXPECT_EQ(d.Vertex(1).x, a.Vertex(1).x);
}

TEST(ScreenObjectIni, RelativeScaleAndBadSections) {
    EXPECT_EQ(PixelsToRelative(800, 1600), 50000);
    EXPECT_EQ(PixelsToRelative(300, 1200), 25000);
    EXPECT_EQ(RelativeToPixels(50000, 1600), 800);
    EXPECT_EQ(RelativeToPixels(25000, 1200), 300);
    EXPECT_EQ(PixelsToRelative(299, 768), 38932); // cut on writing
    EXPECT_EQ(RelativeToPixels(38932, 768), 299);
    EXPECT_EQ(PixelsToRelative(5, 0), 0);
    EXPECT_EQ(PixelsToRelative(2000000000, 1), 2147483647);

    ScratchIni ini;
    const std::wstring& f = ini.Path();
    TScreenLine line;
    line.AppendPoint(1, 2);
    line.AppendPoint(3, 4);
    line.LineWidth = 7;
    WriteIniString(f, L"Bad", L"Type", L"two");
    WriteIniString(f, L"Bad", L"LineWidth", L"1");
    WriteIniString(f, L"Bad", L"InfiniteLine", L"1");
    EXPECT_FALSE(line.LoadFromIni(f, L"Bad"));
    WriteIniString(f, L"Other", L"Type", L"3");
    WriteIniString(f, L"Other", L"InfiniteLine", L"1");
    EXPECT_FALSE(line.LoadFromIni(f, L"Other"));
    EXPECT_EQ(line.LineWidth, 7);
    EXPECT_FALSE(line.InfiniteLine);
    EXPECT_EQ(line.Vertex(2).x, 3);

    // A hexadecimal type is a number too; a missing point count gives one vertex.
    WriteIniString(f, L"Hex", L"Type", L"$2");
    EXPECT_TRUE(line.LoadFromIni(f, L"Hex"));
    EXPECT_EQ(line.PointCount, 1);
    EXPECT_EQ(line.Vertex(1).x, 0);
    // The section's own values; defaults keep what the item had.
    EXPECT_EQ(line.LineWidth, 7);
}

TEST(ScreenObjectIni, AttachedFilesGoToTheFileList) {
    ScratchIni ini;
    const std::wstring& f = ini.Path();
    TScreenObject o;
    o.SetCapacity(1);
    o.AppendPoint(5, 5);
    o.RelativePosition = false;
    std::vector<std::wstring> files;

    o.ShellExApp = L"<PLUGIN: abc>";
    o.SaveToIni(f, L"P", &files);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], L"abc");
    EXPECT_EQ(ReadIniString(f, L"P", L"ShellExApp", L""), L"<PLUGIN: abc>");
    o.ShellExApp = L"<plugin:>"; // nothing named: nothing listed
    o.SaveToIni(f, L"P", &files);
    EXPECT_EQ(files.size(), 1u);

    // An existing file: the list has the path, the section the bare name.
    ScratchIni attached;
    o.ShellExApp = attached.Path();
    o.SaveToIni(f, L"F", &files);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[1], attached.Path());
    const std::wstring stored = ReadIniString(f, L"F", L"ShellExApp", L"");
    EXPECT_EQ(stored, attached.Path().substr(attached.Path().find_last_of(L'\\') + 1));
    // Without a list the full path stays.
    o.SaveToIni(f, L"G", nullptr);
    EXPECT_EQ(ReadIniString(f, L"G", L"ShellExApp", L""), attached.Path());
    // A file that does not exist is stored as it is and not listed.
    o.ShellExApp = L"C:\\no\\such\\file.exe";
    o.SaveToIni(f, L"H", &files);
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(ReadIniString(f, L"H", L"ShellExApp", L""), L"C:\\no\\such\\file.exe");
}

TEST(Measurement, NumberFormat) {
    const TNumberSeparators s{L",", L"."};
    EXPECT_EQ(FormatNumber(12.34, 4, 1, s), L"12,3");
    EXPECT_EQ(FormatNumber(0.0, 4, 1, s), L"0,0");
    EXPECT_EQ(FormatNumber(1234.56, 4, 1, s), L"1.235,0");
    EXPECT_EQ(FormatNumber(999.96, 4, 1, s), L"1.000,0");
    EXPECT_EQ(FormatNumber(1234567.891, 8, 2, s), L"1.234.567,90");
    EXPECT_EQ(FormatNumber(-5.25, 3, 2, s), L"-5,25");
    EXPECT_EQ(FormatNumber(-0.001, 4, 1, s), L"0,0");
    EXPECT_EQ(FormatNumber(0.000123, 4, 2, s), L"0,00");
    EXPECT_EQ(FormatNumber(12346.0, 4, 1, s), L"1,235E4");
    EXPECT_EQ(FormatNumber(100000.0, 4, 1, s), L"1E5");
}

TEST(Measurement, LengthsAndAreasPerUnit) {
    PixelUnit restore;
    const std::wstring d = Dec();
    const std::wstring t = Thou();
    SetMeasurementUnit(UnitPixels, 0, 0, 0.0);
    EXPECT_EQ(FormatLength(L"d", 12.34), L"d=12" + d + L"3");
    EXPECT_EQ(FormatArea(L"A", 5000), L"A=5" + t + L"000" + d + L"00");

    SetMeasurementUnit(UnitCentimetres, 100, 1, 0.0);
    EXPECT_EQ(FormatLength(L"d", 100), L"d=2" + d + L"54 cm");
    EXPECT_EQ(FormatLength(L"d", 1000), L"d=25" + d + L"40 cm");
    EXPECT_EQ(FormatArea(L"A", 10000), L"A=6" + d + L"45 cm^2");
    SetMeasurementUnit(UnitInches, 100, 2, 0.0);
    EXPECT_EQ(FormatLength(L"d", 100), L"d=2" + d + L"00''");
    EXPECT_EQ(FormatArea(L"A", 10000), L"A=4" + d + L"00''^2");
    SetMeasurementUnit(UnitPoints, 100, 1, 0.0);
    EXPECT_EQ(FormatLength(L"d", 100), L"d=72 pt");
    EXPECT_EQ(FormatArea(L"A", 10000), L"A=5184 pt^2");
    SetMeasurementUnit(UnitTwips, 100, 1, 0.0);
    EXPECT_EQ(FormatLength(L"d", 50), L"d=720 tw");

    const double twips = MeasurementSettings().AverageTwipsPerPixel;
    EXPECT_EQ(twips, (TwipsPerPixelX() + TwipsPerPixelY()) / 2.0);
    EXPECT_GT(twips, 0);
    SetMeasurementUnit(UnitScreenTwips, 0, 0, 0.0);
    EXPECT_EQ(FormatLength(L"d", 10), L"d=" + std::to_wstring(int64_t(10 * twips)) + L" tw");
    EXPECT_EQ(FormatArea(L"A", 10),
              L"A=" + std::to_wstring(int64_t(twips * (10 * twips))) + L" tw^2");

    SetMeasurementUnit(UnitUser, 0, 0, 2.0);
    EXPECT_EQ(FormatLength(L"d", 10), L"d=5" + d + L"00u");
    EXPECT_EQ(FormatArea(L"A", 100), L"A=25" + d + L"00u^2");
    SetMeasurementUnit(UnitUser, 0, 0, 0.0);
    EXPECT_EQ(FormatLength(L"d", 10), L"d=10" + d + L"00u");

    // Unknown units, and inch units without a resolution, give no text.
    SetMeasurementUnit(7, 100, 1, 0.0);
    EXPECT_EQ(FormatLength(L"d", 10), L"");
    EXPECT_EQ(FormatArea(L"A", 10), L"");
    SetMeasurementUnit(UnitCentimetres, 0, 1, 0.0);
    EXPECT_EQ(FormatLength(L"d", 10), L"");
    EXPECT_EQ(FormatArea(L"A", 10), L"");
}

TEST(Measurement, PolygonAreaAndDirectionAngle) {
    const POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_EQ(PolygonArea(4, square), -100);
    const POINT reversed[] = {{0, 10}, {10, 10}, {10, 0}, {0, 0}};
    EXPECT_EQ(PolygonArea(4, reversed), 100);
    const POINT triangle[] = {{0, 0}, {30, 0}, {0, 40}};
    EXPECT_EQ(std::abs(PolygonArea(3, triangle)), 600);
    const POINT odd[] = {{0, 0}, {3, 0}, {0, 3}};
    EXPECT_EQ(std::abs(PolygonArea(3, odd)), 4); // 4.5 cut
    EXPECT_EQ(PolygonArea(0, square), 0);
    const POINT huge[] = {{-40000, -40000}, {40000, -40000}, {40000, 40000}, {-40000, 40000}};
    EXPECT_EQ(PolygonArea(4, huge), -2147483647 - 1); // clamped, not wrapped

    constexpr double pi = std::numbers::pi;
    EXPECT_DOUBLE_EQ(DirectionAngle(-1, 0), 2 * pi);
    EXPECT_DOUBLE_EQ(DirectionAngle(1, 0), pi);
    EXPECT_DOUBLE_EQ(DirectionAngle(0, 1), pi / 2);
    EXPECT_DOUBLE_EQ(DirectionAngle(0, -1), 3 * pi / 2);
    EXPECT_DOUBLE_EQ(DirectionAngle(0, 0), 3 * pi / 2);
    EXPECT_DOUBLE_EQ(DirectionAngle(-1, 1), pi / 4);
    EXPECT_DOUBLE_EQ(DirectionAngle(1, 1), 3 * pi / 4);
    EXPECT_DOUBLE_EQ(DirectionAngle(1, -1), 5 * pi / 4);
    EXPECT_DOUBLE_EQ(DirectionAngle(-1, -1), 7 * pi / 4);
}
