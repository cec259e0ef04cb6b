// The Orvex_ functions in the program's own process, with the static library.
#include "overlay_api/uOrvexTransparent.h"
#include "overlay_window/overlay_test_support.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "screen_objects/uScreenBitmap.h"
#include "screen_objects/uScreenFreehand.h"
#include "screen_objects/uScreenText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace overlay_test;

namespace {

bool SameRect(RECT a, RECT b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(RECT r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

TEST(OrvexEllipseRect, InscribedRectangleOfTheCallersEllipse) {
    struct Case {
        RECT in, out;
    } cases[] = {
        {{0, 0, 100, 50}, {15, 8, 85, 42}},
        {{180, 710, 420, 950}, {216, 746, 384, 914}},
        {{5, 7, 5, 7}, {5, 7, 5, 7}},             // a single point stays one
        {{100, 0, 0, 50}, {85, 8, 15, 42}},       // mirrored horizontally: negative half extent
        {{-101, -51, 0, 0}, {-85, -43, -15, -7}}, // centre truncated toward zero
    };
    for (const Case& c : cases)
        EXPECT_TRUE(SameRect(ConvertEllipseRect(c.in), c.out))
            << Show(c.in) << " -> " << Show(ConvertEllipseRect(c.in));
}

TEST(OrvexHelpers, StylesColoursAndLineFormat) {
    EXPECT_EQ(PointTypeForStyle(ORVEX_POINT_CROSS), 0);
    EXPECT_EQ(PointTypeForStyle(ORVEX_POINT_CIRCLE), 1);
    EXPECT_EQ(PointTypeForStyle(ORVEX_POINT_RECTANGLE), 2);
    EXPECT_EQ(PointTypeForStyle(0), -1);
    EXPECT_EQ(PointTypeForStyle(4), -1);
    EXPECT_EQ(PointTypeForStyle(-2), -1);

    EXPECT_EQ(ColorDebugText(16711680), "16711680 = RGB(0/0/255)");
    EXPECT_EQ(ColorDebugText(RGB(1, 2, 3)), "197121 = RGB(1/2/3)");
    EXPECT_EQ(ColorDebugText(0xFFFFFFFF), "4294967295 = RGB(255/255/255)");

    EXPECT_EQ(FormatDebugLine(4294967295u, "DLL initialized"),
              "Orvex-Transparent.DLL [4294967295] : DLL initialized");
    EXPECT_EQ(DebugLogFileName(L"C:\\Cards\\card.exe"), L"C:\\Cards\\Orvex.log");
    EXPECT_EQ(DebugMarkerFileName(L"C:\\Cards\\card.exe"), L"C:\\Cards\\card.exe.debug");
    EXPECT_EQ(AnsiToWide("Arial"), L"Arial");
    EXPECT_EQ(AnsiToWide(nullptr), L"");
}

TEST(OrvexHelpers, DebugOutputIsCutToItsBuffer) {
    struct {
        char buffer[DebugOutputBufferSize + 1];
        char guard[16];
    } space;
    std::fill(std::begin(space.guard), std::end(space.guard), 'G');
    std::string longLine(3000, 'x');
    EXPECT_EQ(CopyForDebugOutput(longLine, space.buffer), DebugOutputBufferSize);
    EXPECT_EQ(std::string(space.buffer).size(), DebugOutputBufferSize);
    for (char g : space.guard)
        EXPECT_EQ(g, 'G');
    EXPECT_EQ(CopyForDebugOutput("short", space.buffer), 5u);
    EXPECT_STREQ(space.buffer, "short");
}

TEST(OrvexFunctions, ResultsWithoutItemsAndRefusedArguments) {
    Receiver receiver;
    ASSERT_NE(receiver.Handle(), nullptr);
    EXPECT_EQ(Orvex_Clear(), 0);
    ASSERT_TRUE(TransparentFormCreated());
    ASSERT_NE(TransparentForm(), nullptr);
    EXPECT_EQ(Orvex_SetCallBackWindowHandle(receiver.Handle()), 1);
    EXPECT_EQ(TransparentForm()->Store().GetCallbackWindow(), receiver.Handle());

    for (int32_t op : {0, 9, -1, 1000})
        EXPECT_EQ(Orvex_Operation(op, 1, 1, 0, 0), 0) << op;
    for (int32_t op = TRANSPARENTELEMENT_OPERATION_DELETE;
         op <= TRANSPARENTELEMENT_OPERATION_SETMOUSECURSOR; ++op)
        EXPECT_EQ(Orvex_Operation(op, 12345, 1, 0, 0), 0) << op;

    POINT p{10, 10};
    POINT pts[3] = {{0, 0}, {10, 0}, {10, 10}};
    const int32_t lastID = TransparentForm()->Store().LastItemID();
    EXPECT_EQ(Orvex_Text(p, nullptr, "Arial", 10, 0, 0, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Text(p, "Hallo", nullptr, 10, 0, 0, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_BitmapByFile(p, nullptr, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_BitmapByFile(p, "no such file.bmp", 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_BitmapByResource(p, 0, nullptr, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Polyline(nullptr, 3, 1, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Polyline(pts, -1, 1, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Point(p, 0, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Point(p, 4, 0), ORVEX_NOT_MADE);
    // Nothing was added, no ID used, nothing announced.
    EXPECT_EQ(TransparentForm()->Store().LastItemID(), lastID);
    EXPECT_EQ(Orvex_Clear(), 0);
    EXPECT_TRUE(receiver.Drain().empty());
}

TEST(OrvexItems, CreateOperateAndClear) {
    Receiver receiver;
    Orvex_Clear();
    Orvex_SetCallBackWindowHandle(receiver.Handle());
    const COLORREF blue = RGB(0, 0, 255);
    const int32_t rect = Orvex_Rectangle(RECT{10, 10, 20, 20}, blue);
    ASSERT_GT(rect, 0);
    const int32_t ellipse = Orvex_Ellipse(RECT{0, 0, 100, 50}, blue);
    const int32_t point = Orvex_Point(POINT{50, 60}, ORVEX_POINT_CIRCLE, RGB(1, 2, 3));
    const int32_t line = Orvex_Line(POINT{0, 0}, POINT{30, 40}, 3, blue);
    EXPECT_EQ(ellipse, rect + 1);
    EXPECT_EQ(point, rect + 2);
    EXPECT_EQ(line, rect + 3);

    TTransparentForm& form = *TransparentForm();
    TScreenObject& r = *form.Store().FindItem(rect)->ScreenObject;
    EXPECT_EQ(r.TypeCode, TypeCodeRectangle);
    EXPECT_EQ(r.LineWidth, 1);
    EXPECT_FALSE(r.PolygonFilled);
    EXPECT_EQ(r.PointType, -1);
    EXPECT_EQ(r.LineColor, blue);
    // The ellipse item gets the rectangle inscribed in the caller's ellipse.
    TScreenObject& e = *form.Store().FindItem(ellipse)->ScreenObject;
    EXPECT_EQ(e.TypeCode, TypeCodeEllipse);
    EXPECT_EQ(e.Vertex(1).x, 15);
    EXPECT_EQ(e.Vertex(1).y, 8);
    EXPECT_EQ(e.Vertex(2).x, 85);
    EXPECT_EQ(e.Vertex(2).y, 42);
    TScreenObject& p = *form.Store().FindItem(point)->ScreenObject;
    EXPECT_EQ(p.TypeCode, TypeCodeSinglePoint);
    EXPECT_EQ(p.PointType, 1); // style 2, circle
    EXPECT_EQ(p.PointColor, RGB(1, 2, 3));
    EXPECT_EQ(form.Store().FindItem(line)->ScreenObject->LineWidth, 3);

    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, rect, 0, 0, 0), 1);
    EXPECT_FALSE(r.Visible);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, rect, 5, 0, 0), 1);
    EXPECT_TRUE(r.Visible);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETAUTOHIDE, rect, 2, 0, 0), 1);
    EXPECT_TRUE(form.Store().FindItem(rect)->AutoHide);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_ISFILLED, rect, -7, 0, 0), 1);
    EXPECT_TRUE(r.PolygonFilled);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_LINEWIDTH, rect, 4, 0, 0), 1);
    EXPECT_EQ(r.LineWidth, 4);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETCOLOR, rect, 0x00112233, 0, 0), 1);
    EXPECT_EQ(r.LineColor, COLORREF(0x00112233));
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETMOUSECURSOR, rect, crHandPoint, 0, 0),
              1);
    EXPECT_EQ(form.Store().FindItem(rect)->Cursor, crHandPoint);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETZORDER, rect, 1000, 0, 0), 1);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETZORDER, rect, -1, 0, 0), -1);
    EXPECT_EQ(form.Store().ItemIDs(false), (std::vector<int32_t>{ellipse, point, line, rect}));
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_DELETE, point, 0, 0, 0), 1);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_DELETE, point, 0, 0, 0), 0);

    EXPECT_EQ(Orvex_Clear(), 3);
    EXPECT_EQ(Orvex_Clear(), 0);
    EXPECT_EQ(receiver.Drain(),
              (std::vector<Notification>{
                  Status(rect, STATUSCHANGED_INSERT), Status(ellipse, STATUSCHANGED_INSERT),
                  Status(point, STATUSCHANGED_INSERT), Status(line, STATUSCHANGED_INSERT),
                  Status(rect, STATUSCHANGED_SET_VISIBLE_FALSE),
                  Status(rect, STATUSCHANGED_SET_VISIBLE_TRUE),
                  Status(rect, STATUSCHANGED_SET_AUTOHIDE_TRUE),
                  Status(point, STATUSCHANGED_DELETE), Status(ellipse, STATUSCHANGED_DELETE),
                  Status(line, STATUSCHANGED_DELETE), Status(rect, STATUSCHANGED_DELETE)}));
    // After the clear the numbering goes on.
    EXPECT_EQ(Orvex_Rectangle(RECT{0, 0, 5, 5}, blue), line + 1);
    receiver.Drain();

    // 0 stops every notification.
    Orvex_SetCallBackWindowHandle(nullptr);
    Orvex_Rectangle(RECT{0, 0, 5, 5}, blue);
    Orvex_Clear();
    EXPECT_TRUE(receiver.Drain().empty());
}

TEST(OrvexItems, WindowShapeIsTheUnionOfFilledShapes) {
    Orvex_Clear();
    TTransparentForm& form = *TransparentForm();
    const int32_t a = Orvex_Rectangle(RECT{10, 10, 20, 20}, RGB(255, 0, 0));
    const int32_t b = Orvex_Rectangle(RECT{15, 15, 60, 40}, RGB(0, 255, 0));
    const int32_t c = Orvex_Ellipse(RECT{100, 100, 300, 200}, RGB(0, 0, 255));
    for (int32_t id : {a, b, c})
        ASSERT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_ISFILLED, id, 1, 0, 0), 1);
    const long before = form.Presenter().RebuildCount();
    Pump(80);
    ASSERT_EQ(form.Presenter().RebuildCount(), before + 1);

    ui::Region shape = ui::MakeEmptyRegion();
    ASSERT_NE(::GetWindowRgn(form.Handle(), shape.Get()), ERROR);
    // The filled rectangles cover their corners inclusively.
    ui::Region expected(::CreateRectRgn(10, 10, 21, 21));
    ui::Region second(::CreateRectRgn(15, 15, 61, 41));
    ::CombineRgn(expected.Get(), expected.Get(), second.Get(), RGN_OR);
    ::CombineRgn(expected.Get(), expected.Get(),
                 form.Store().FindItem(c)->ScreenObject->Region.Get(), RGN_OR);
    EXPECT_TRUE(SameArea(shape.Get(), expected.Get()));
    EXPECT_TRUE(::PtInRegion(shape.Get(), 200, 150));
    EXPECT_FALSE(::PtInRegion(shape.Get(), 100, 100)); // outside the ellipse
    EXPECT_FALSE(::PtInRegion(shape.Get(), 80, 80));
    Orvex_Clear();
}

std::vector<std::string> captured;
void __stdcall Capture(const char* text) {
    captured.emplace_back(text);
}

// The text behind the "Orvex-Transparent.DLL [tick] : " prefix.
std::string Message(const std::string& line) {
    size_t at = line.find("] : ");
    return at == std::string::npos ? "?" + line : line.substr(at + 4);
}

TEST(OrvexDebugLines, EachFunctionLogsItsCallAndResult) {
    EnableDebugLog();
    SetDebugOutputSink(&Capture);
    ASSERT_TRUE(DebugMode());
    const std::vector<std::string>& log = *DebugLogLines();
    size_t start = log.size();
    captured.clear();

    int32_t r = Orvex_Rectangle(RECT{10, 20, 110, 70}, 16711680);
    std::vector<std::string> expected{"Orvex_Rectangle", "  Rect(10/20/110/70)",
                                      "  Color = 16711680 = RGB(0/0/255)",
                                      "Orvex_Rectangle [" + std::to_string(r) + "]"};
    r = Orvex_Ellipse(RECT{0, 0, 100, 50}, RGB(1, 2, 3));
    for (std::string s : {"Orvex_Ellipse", "  Rect(0/0/100/50)", "  Color = 197121 = RGB(1/2/3)"})
        expected.push_back(s);
    expected.push_back("Orvex_Ellipse [" + std::to_string(r) + "]");
    r = Orvex_Operation(9, -5, 7, 8, -9);
    for (std::string s : {"Orvex_Operation", "  Operation 9", "  ID -5",
                          "  Value 1/2/3 = 7 / 8 / -9", "Orvex_Operation [0]"})
        expected.push_back(s);
    r = Orvex_BitmapByResource(POINT{3, -4}, 4096, "SNOWFLAKE", 255);
    for (std::string s :
         {"Orvex_BitmapByResource", "  Point(3/-4)", "  Instance = 4096",
          "  ResourceName (Type=BITMAP) = SNOWFLAKE", "  TransparentColor = 255 = RGB(255/0/0)"})
        expected.push_back(s);
    expected.push_back("Orvex_BitmapByResource [" + std::to_string(r) + "]");
    Orvex_SetCallBackWindowHandle(nullptr); // writes nothing
    r = Orvex_Clear();
    expected.push_back("Orvex_Clear");
    expected.push_back("Orvex_Clear [" + std::to_string(r) + "]");

    ASSERT_EQ(log.size() - start, expected.size());
    ASSERT_EQ(captured.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(Message(log[start + i]), expected[i]);
        EXPECT_EQ(Message(captured[i]), expected[i]);
        EXPECT_EQ(log[start + i].rfind("Orvex-Transparent.DLL [", 0), 0u);
    }

    // A line too long for the debugger's buffer reaches it cut; the log keeps it whole.
    WriteDebugLine(std::string(2000, 'y'));
    EXPECT_EQ(captured.back().size(), DebugOutputBufferSize);
    EXPECT_EQ(Message(log.back()), std::string(2000, 'y'));
    SetDebugOutputSink(nullptr);
}

// A 24-bit BMP file of width x 2 pixels: the left half red, the right half magenta.
void WriteHalfRedBitmap(const char* name, int width) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = 2;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + rowBytes * 2;
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    for (int row = 0; row < 2; ++row) {
        std::string bytes(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            const bool red = x < width / 2; // stored blue, green, red
            bytes[x * 3 + 0] = red ? 0 : char(255);
            bytes[x * 3 + 1] = 0;
            bytes[x * 3 + 2] = char(255);
        }
        out.write(bytes.data(), rowBytes);
    }
}

TEST(OrvexRasterTextPolyline, TextsBitmapsAndPolylinesBecomeItems) {
    Receiver receiver;
    Orvex_Clear();
    Orvex_SetCallBackWindowHandle(receiver.Handle());
    TTransparentForm& form = *TransparentForm();

    const int32_t text =
        Orvex_Text(POINT{200, 100}, "Frohe Weihnachten", "Arial", 12, 1, 0, RGB(200, 0, 0));
    ASSERT_GT(text, 0);
    auto& t = static_cast<TScreenText&>(*form.Store().FindItem(text)->ScreenObject);
    EXPECT_EQ(t.TypeCode, TypeCodeText);
    EXPECT_EQ(t.Caption, L"Frohe Weihnachten");
    ASSERT_NE(t.Font, nullptr);
    EXPECT_EQ(t.Font->Name, L"Arial");
    EXPECT_EQ(t.Font->Size, 12);
    EXPECT_TRUE(t.Font->Bold);
    EXPECT_FALSE(t.Font->Italic);
    EXPECT_EQ(t.Font->Color, RGB(200, 0, 0));
    const int32_t italic = Orvex_Text(POINT{200, 150}, "x", "Arial", 10, 0, 1, 0);
    auto& i = static_cast<TScreenText&>(*form.Store().FindItem(italic)->ScreenObject);
    EXPECT_FALSE(i.Font->Bold);
    EXPECT_TRUE(i.Font->Italic);

    const POINT corners[3] = {{10, 300}, {200, 300}, {200, 500}};
    const int32_t polyline = Orvex_Polyline(corners, 3, 2, RGB(0, 128, 0));
    ASSERT_GT(polyline, 0);
    TScreenObject& p = *form.Store().FindItem(polyline)->ScreenObject;
    EXPECT_EQ(p.TypeCode, TypeCodeFreehand);
    EXPECT_EQ(p.PointCount, 3);
    EXPECT_EQ(p.Vertex(3).y, 500);
    EXPECT_EQ(p.LineWidth, 2);
    EXPECT_EQ(p.LineColor, RGB(0, 128, 0));
    EXPECT_FALSE(p.PolygonFilled);
    EXPECT_GT(Orvex_Polyline(corners, 0, 1, 0), 0); // an empty polyline is allowed

    WriteHalfRedBitmap("orvex_test_half_red.bmp", 8);
    const int32_t bitmap =
        Orvex_BitmapByFile(POINT{400, 400}, "orvex_test_half_red.bmp", RGB(255, 0, 255));
    ASSERT_GT(bitmap, 0);
    auto& b = static_cast<TScreenBitmap&>(*form.Store().FindItem(bitmap)->ScreenObject);
    EXPECT_EQ(b.TypeCode, TypeCodeBitmap);
    EXPECT_EQ(b.TransparentColor, RGB(255, 0, 255));
    // A missing resource leaves the item without a picture; the add succeeds.
    const HMODULE self = ::GetModuleHandleW(nullptr);
    const auto instance = reinterpret_cast<intptr_t>(self);
    EXPECT_GT(Orvex_BitmapByResource(POINT{0, 0}, instance, "NO SUCH BITMAP", 0), 0);
    EXPECT_GT(Orvex_BitmapByResource(POINT{0, 0}, instance, MAKEINTRESOURCEA(4711), 0), 0);

    form.RebuildWindowShape();
    // Only the opaque half of the bitmap belongs to the window.
    const RECT r = b.PictureRect();
    EXPECT_EQ(r.left, 396);
    EXPECT_EQ(r.top, 399);
    ui::Region expected(::CreateRectRgn(r.left, r.top, r.left + 4, r.top + 2));
    ui::Region shape = ui::MakeEmptyRegion();
    ::GetWindowRgn(form.Handle(), shape.Get());
    ui::Region bitmapPart(::CreateRectRgn(r.left - 1, r.top - 1, r.left + 9, r.top + 3));
    ::CombineRgn(bitmapPart.Get(), bitmapPart.Get(), shape.Get(), RGN_AND);
    EXPECT_TRUE(SameArea(bitmapPart.Get(), expected.Get()));
    EXPECT_TRUE(::PtInRegion(shape.Get(), 150, 300)); // on the polyline's first segment
    ::DeleteFileA("orvex_test_half_red.bmp");

    const int32_t count = static_cast<int32_t>(form.Store().ItemIDs(false).size());
    EXPECT_EQ(Orvex_Clear(), count);
}

} // namespace
