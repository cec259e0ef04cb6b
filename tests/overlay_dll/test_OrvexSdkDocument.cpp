// What docs/orvex-sdk.md promises a client about results and limits, checked
// against Orvex.dll the way a client sees it: the header, the import library,
// the overlay window found as the document says, its shape (GetWindowRgn) and
// real mouse input. Each test names the section of the document it checks.
#include "sdk_document.h"

namespace {

using namespace sdk_document;

// ---------------------------------------------------------------- results

// "General information", "Orvex_Clear", "Orvex_Operation" and the creating
// functions: IDs, failure codes and the limits of the arguments.
TEST_F(SdkDocument, ResultsOfTheFunctionsAndTheirLimits) {
    const RECT r{10, 10, 60, 40};
    const POINT at{100, 100};
    const int32_t first = Orvex_Rectangle(r, 0);
    ASSERT_GT(first, 0);
    EXPECT_EQ(Orvex_Ellipse(r, 0), first + 1) << "IDs count up by one";
    // -2: nothing made and no ID used.
    const POINT line[2] = {{0, 0}, {10, 10}};
    EXPECT_EQ(Orvex_Point(at, 0, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Point(at, 4, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Text(at, nullptr, "Arial", 10, 0, 0, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Text(at, "x", nullptr, 10, 0, 0, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_BitmapByFile(at, nullptr, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_BitmapByFile(at, "no such file.bmp", 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_BitmapByResource(at, 0, nullptr, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Polyline(nullptr, 2, 1, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Polyline(line, -1, 1, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Polyline(line, ORVEX_MAX_POLYLINE_POINTS + 1, 1, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Polyline(line, 0, 1, 0), first + 2) << "no points: an empty polyline";
    EXPECT_EQ(Orvex_Point(at, ORVEX_POINT_CROSS, 0), first + 3);
    EXPECT_EQ(Orvex_Line(line[0], line[1], 1, 0), first + 4);
    EXPECT_EQ(Orvex_Text(at, "x", "Arial", 10, 1, 1, 0), first + 5);

    // Orvex_Operation: 1 done, 0 for an unknown ID or code, -1 for a negative
    // paint position; any Value1 other than 0 counts as true.
    for (int32_t code = TRANSPARENTELEMENT_OPERATION_DELETE;
         code <= TRANSPARENTELEMENT_OPERATION_SETMOUSECURSOR; ++code)
        EXPECT_EQ(Orvex_Operation(code, 999999, 1, 0, 0), 0) << code;
    for (int32_t code : {0, 9, -1})
        EXPECT_EQ(Orvex_Operation(code, first, 1, 0, 0), 0) << code;
    receiver.Drain();
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, first, 5, 0, 0), 1);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETAUTOHIDE, first, 2, 0, 0), 1);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETZORDER, first, -1, 0, 0), -1);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETZORDER, first, 1000, 0, 0), 1);
    const std::vector<Note> notes = receiver.Drain();
    EXPECT_EQ(notes,
              (std::vector<Note>{{WM_TRANSPARENTELEMENT_STATUSCHANGED, static_cast<WPARAM>(first),
                                  STATUSCHANGED_SET_VISIBLE_TRUE, 0},
                                 {WM_TRANSPARENTELEMENT_STATUSCHANGED, static_cast<WPARAM>(first),
                                  STATUSCHANGED_SET_AUTOHIDE_TRUE, 0}}));
    // Operations a kind of item ignores still answer 1.
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_ISFILLED, first + 2, 1, 0, 0), 1);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_LINEWIDTH, first + 1, 6, 0, 0), 1);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETMOUSECURSOR, first, 32649, 0, 0), 1);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_DELETE, first + 5, 0, 0, 0), 1);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_DELETE, first + 5, 0, 0, 0), 0);

    // Orvex_Clear: the number removed, each announced; 0 when empty.
    receiver.Drain();
    EXPECT_EQ(Orvex_Clear(), 5);
    EXPECT_EQ(receiver.Drain().size(), 5u);
    EXPECT_EQ(Orvex_Clear(), 0);
    // A handle that names no window is refused; the notifications keep their window.
    EXPECT_EQ(Orvex_SetCallBackWindowHandle(reinterpret_cast<HWND>(0xDEAD)), ORVEX_NOT_MADE);
    const int32_t kept = Orvex_Rectangle(r, 0);
    EXPECT_EQ(receiver.Drain(),
              (std::vector<Note>{{WM_TRANSPARENTELEMENT_STATUSCHANGED, static_cast<WPARAM>(kept),
                                  STATUSCHANGED_INSERT, 0}}));
    // A callback window of 0 stops the notifications.
    EXPECT_EQ(Orvex_SetCallBackWindowHandle(nullptr), 1);
    EXPECT_GT(Orvex_Rectangle(r, 0), 0);
    EXPECT_TRUE(receiver.Drain().empty());
}

// "Version": Orvex.dll carries its version record.
TEST(SdkDocumentFiles, TheDllCarriesItsVersion) {
    HMODULE dll = ::GetModuleHandleW(L"Orvex.dll");
    ASSERT_NE(dll, nullptr);
    wchar_t path[MAX_PATH];
    ASSERT_GT(::GetModuleFileNameW(dll, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path, 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT n = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &n));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(1, 1));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    wchar_t* text = nullptr;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\StringFileInfo\\040904E4\\ProductVersion",
                                 reinterpret_cast<void**>(&text), &n));
    EXPECT_EQ(std::wstring(text), L"1.0.1.1");
}

// ---------------------------------------------------------------- drawing

// "Orvex_Operation": which kinds each operation changes, and that LINEWIDTH
// and ISFILLED wait for a repaint that something else causes.
TEST_F(SdkDocument, LineWidthAndFillingApplyToTheirKindsOnlyAtTheNextRepaint) {
    Rgn before, after;
    // A rectangle: wider, then filled.
    const int32_t rect = Orvex_Rectangle(RECT{100, 100, 200, 160}, RGB(0, 0, 255));
    ShapeNow(before);
    ASSERT_TRUE(before.Has(100, 130));
    EXPECT_FALSE(before.Has(102, 130));
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_LINEWIDTH, rect, 6, 0, 0), 1);
    ShapeNow(after);
    EXPECT_TRUE(::EqualRgn(before.Get(), after.Get())) << "no repaint of its own";
    Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, rect, 1, 0, 0);
    ShapeNow(after);
    EXPECT_TRUE(after.Has(102, 130)) << "6 px wide after the next repaint";
    EXPECT_FALSE(after.Has(150, 130));
    Orvex_Operation(TRANSPARENTELEMENT_OPERATION_ISFILLED, rect, 1, 0, 0);
    Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, rect, 1, 0, 0);
    ShapeNow(after);
    EXPECT_TRUE(after.Has(150, 130)) << "filled";

    // An ellipse stays 1 px wide; a line gets wider.
    Orvex_Clear();
    const int32_t ellipse = Orvex_Ellipse(RECT{300, 100, 400, 160}, RGB(0, 0, 255));
    ShapeNow(before);
    Orvex_Operation(TRANSPARENTELEMENT_OPERATION_LINEWIDTH, ellipse, 6, 0, 0);
    Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, ellipse, 1, 0, 0);
    ShapeNow(after);
    EXPECT_TRUE(::EqualRgn(before.Get(), after.Get())) << "ellipses are always 1 px wide";
    Orvex_Operation(TRANSPARENTELEMENT_OPERATION_ISFILLED, ellipse, 1, 0, 0);
    Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, ellipse, 1, 0, 0);
    ShapeNow(after);
    EXPECT_TRUE(after.Has(350, 130)) << "ellipses are filled";

    Orvex_Clear();
    const int32_t line = Orvex_Line(POINT{100, 300}, POINT{300, 300}, 1, RGB(0, 0, 255));
    Orvex_Operation(TRANSPARENTELEMENT_OPERATION_LINEWIDTH, line, 6, 0, 0);
    Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, line, 1, 0, 0);
    ShapeNow(after);
    EXPECT_TRUE(after.Has(200, 302));

    // A polyline is never filled, though ISFILLED answers 1.
    Orvex_Clear();
    const POINT square[5] = {{500, 300}, {600, 300}, {600, 400}, {500, 400}, {500, 300}};
    const int32_t poly = Orvex_Polyline(square, 5, 1, RGB(0, 0, 255));
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_ISFILLED, poly, 1, 0, 0), 1);
    Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, poly, 1, 0, 0);
    ShapeNow(after);
    EXPECT_TRUE(after.Has(550, 300));
    EXPECT_FALSE(after.Has(550, 350));
}

// "Orvex_Polyline": the points a polyline keeps.
TEST_F(SdkDocument, PolylinesKeepOnlyTheFilteredVertices) {
    Rgn shape;
    // A straight run: the fourth point continues the direction 30 px on and is dropped.
    const POINT straight[4] = {{100, 200}, {130, 200}, {160, 200}, {190, 200}};
    ASSERT_GT(Orvex_Polyline(straight, 4, 3, 0), 0);
    ShapeNow(shape);
    EXPECT_TRUE(shape.Has(155, 200));
    EXPECT_FALSE(shape.Has(180, 200));
    Orvex_Clear();

    // A point 4 px from the last kept one is dropped.
    const POINT crowded[3] = {{300, 300}, {304, 300}, {300, 360}};
    ASSERT_GT(Orvex_Polyline(crowded, 3, 1, 0), 0);
    ShapeNow(shape);
    EXPECT_TRUE(shape.Has(300, 330));
    EXPECT_FALSE(shape.Has(303, 300));
    Orvex_Clear();

    // A zigzag of 150 points keeps its first ORVEX_MAX_POLYLINE_VERTICES.
    std::vector<POINT> zigzag;
    for (int i = 0; i < 150; ++i)
        zigzag.push_back(POINT{50 + 6 * i, 500 + (i % 2) * 40});
    ASSERT_GT(Orvex_Polyline(zigzag.data(), 150, 3, 0), 0);
    ShapeNow(shape);
    auto middle = [&](int i) {
        return shape.Has((zigzag[i].x + zigzag[i + 1].x) / 2, (zigzag[i].y + zigzag[i + 1].y) / 2);
    };
    EXPECT_TRUE(middle(ORVEX_MAX_POLYLINE_VERTICES - 2));
    EXPECT_FALSE(middle(ORVEX_MAX_POLYLINE_VERTICES));
    EXPECT_LE(shape.Box().right, zigzag[ORVEX_MAX_POLYLINE_VERTICES - 1].x + 3);
}

// "Orvex_Text": one line; LF CR does not break it.
TEST_F(SdkDocument, TextsAreOneLine) {
    Rgn one, two;
    ASSERT_GT(Orvex_Text(POINT{300, 300}, "Ag", "Arial", 20, 0, 0, RGB(0, 0, 255)), 0);
    ShapeNow(one);
    Orvex_Clear();
    ASSERT_GT(Orvex_Text(POINT{300, 300}, "Ag\n\rAg", "Arial", 20, 0, 0, RGB(0, 0, 255)), 0);
    ShapeNow(two);
    const RECT a = one.Box(), b = two.Box();
    ASSERT_GT(a.bottom, a.top);
    EXPECT_LE(b.bottom - b.top, a.bottom - a.top + 2) << "no second line";
    EXPECT_GT(b.right - b.left, a.right - a.left);
}

// "Orvex_BitmapByFile" and "Orvex_BitmapByResource": what is decoded, and
// that a file or resource that gives no picture still gives an item.
TEST_F(SdkDocument, BitmapsByFileExtensionAndByResourceNameOrNumber) {
    Rgn shape;
    const std::string bmp = Directory() + "sdk-document-red.bmp";
    const std::string dat = Directory() + "sdk-document-red.dat";
    const std::string exe = Directory() + "sdk-document-red.exe";
    WriteRedBmp(bmp);
    WriteRedBmp(dat);
    WriteRedBmp(exe);
    auto area = [&](int32_t id) {
        EXPECT_GT(id, 0);
        ShapeNow(shape);
        const RECT box = shape.Box();
        Orvex_Clear();
        return (box.right - box.left) * (box.bottom - box.top);
    };
    EXPECT_EQ(area(Orvex_BitmapByFile(POINT{200, 200}, bmp.c_str(), RGB(0, 0, 0))), 16 * 16);
    EXPECT_EQ(area(Orvex_BitmapByFile(POINT{200, 200}, dat.c_str(), RGB(0, 0, 0))), 0);
    EXPECT_EQ(Orvex_BitmapByFile(POINT{200, 200}, exe.c_str(), 0), ORVEX_EXCEPTION)
        << "a \".exe\" that is no program";
    EXPECT_GT(area(Orvex_BitmapByFile(POINT{300, 300}, ORVEX_RESOURCE_DIR "/screenview.jpg", 0)),
              0);
    EXPECT_GT(area(Orvex_BitmapByFile(POINT{300, 300}, ORVEX_RESOURCE_DIR "/frostvale.ico", 0)), 0);
    ::DeleteFileA(bmp.c_str());
    ::DeleteFileA(dat.c_str());
    ::DeleteFileA(exe.c_str());

    // This program's module handle, as wide as a pointer in 64-bit programs.
    const auto self = reinterpret_cast<intptr_t>(::GetModuleHandleW(nullptr));
    EXPECT_GT(area(Orvex_BitmapByResource(POINT{200, 200}, self, "SNOWFLAKE", 0)), 0);
    EXPECT_GT(area(Orvex_BitmapByResource(POINT{200, 200}, self, MAKEINTRESOURCEA(7), 0)), 0);
    EXPECT_EQ(area(Orvex_BitmapByResource(POINT{200, 200}, self, "NO SUCH BITMAP", 0)), 0);
    EXPECT_GT(area(Orvex_BitmapByResource(POINT{200, 200}, 0, "SNOWFLAKE", 0)), 0)
        << "Instance 0: the program's own module";
}

// "Where the pixels lie": edges, stroke widths and markers; and the items
// that get an ID and draw nothing.
TEST_F(SdkDocument, WhereThePixelsLieAndWhatDrawsNothing) {
    Rgn shape;
    auto box = [&](int32_t id, int32_t width) {
        EXPECT_GT(id, 0);
        Orvex_Operation(TRANSPARENTELEMENT_OPERATION_LINEWIDTH, id, width, 0, 0);
        ShapeNow(shape);
        Orvex_Clear();
        const RECT b = shape.Box();
        return std::vector<LONG>{b.left, b.top, b.right, b.bottom};
    };
    using Box = std::vector<LONG>;
    // Width 1: both corners of a rectangle are drawn, a line stops before its end.
    EXPECT_EQ(box(Orvex_Rectangle(RECT{100, 100, 250, 200}, 0), 1), (Box{100, 100, 251, 201}));
    EXPECT_EQ(box(Orvex_Line(POINT{100, 300}, POINT{300, 300}, 1, 0), 1),
              (Box{100, 300, 300, 301}));
    // Wider strokes cover w/2 pixels before their course and w/2 - 1 after it.
    const POINT bend[3] = {{100, 300}, {300, 300}, {300, 500}};
    for (int32_t w : {2, 3, 4, 5, 15}) {
        const LONG h = w / 2;
        const Box line = box(Orvex_Line(POINT{100, 300}, POINT{300, 300}, w, 0), w);
        EXPECT_EQ(line[1], 300 - h) << w;
        EXPECT_EQ(line[3], 300 + h) << w;
        const Box upright = box(Orvex_Line(POINT{400, 100}, POINT{400, 300}, w, 0), w);
        EXPECT_EQ(upright[0], 400 - h) << w;
        EXPECT_EQ(upright[2], 400 + h) << w;
        EXPECT_EQ(box(Orvex_Polyline(bend, 3, w, 0), w)[1], 300 - h) << w;
        EXPECT_EQ(box(Orvex_Rectangle(RECT{100, 100, 250, 200}, 0), w),
                  (Box{100 - h, 100 - h, 250 + h, 200 + h}))
            << w;
        // Markers: a cross of strokes, a circle and a square that keep their size.
        EXPECT_EQ(box(Orvex_Point(POINT{500, 500}, ORVEX_POINT_CROSS, 0), w)[0], 496 - h) << w;
        EXPECT_EQ(box(Orvex_Point(POINT{500, 500}, ORVEX_POINT_CIRCLE, 0), w),
                  (Box{496, 496, 505, 505}));
        EXPECT_EQ(box(Orvex_Point(POINT{500, 500}, ORVEX_POINT_RECTANGLE, 0), w),
                  (Box{495, 495, 505, 505}));
    }
    // An ID, and nothing drawn: an empty text, polylines of 0 or 1 point.
    const Box nothing{0, 0, 0, 0};
    EXPECT_EQ(box(Orvex_Text(POINT{300, 300}, "", "Arial", 20, 0, 0, 0), 1), nothing);
    EXPECT_EQ(box(Orvex_Polyline(bend, 1, 5, 0), 5), nothing);
    EXPECT_EQ(box(Orvex_Polyline(bend, 0, 5, 0), 5), nothing);
    // A font the system does not know is replaced by one it has.
    EXPECT_NE(box(Orvex_Text(POINT{300, 300}, "Ag", "No Such Font", 20, 0, 0, 0), 1), nothing);
}

// ---------------------------------------------------------------- the mouse

// "Mouse notifications": their order for a click and a double click, the
// position in lParam, and which of overlapping items a click goes to.
TEST_F(SdkDocument, MouseNotificationsTheirOrderAndTheItemTheyGoTo) {
    const int32_t lower = FilledBox(RECT{100, 100, 300, 300});
    const int32_t upper = FilledBox(RECT{150, 150, 400, 400});
    Pump(300); // the overlay comes to the front and takes its shape
    receiver.Drain();

    const auto id = [](int32_t v) { return static_cast<WPARAM>(v); };
    LeftClickAt(160, 170); // nearest corner: the upper box's (150, 150)
    EXPECT_EQ(receiver.Drain(),
              (std::vector<Note>{{WM_TRANSPARENTELEMENT_MOUSEDOWN, id(upper), 160, 170},
                                 {WM_TRANSPARENTELEMENT_CLICK, id(upper), 160, 170},
                                 {WM_TRANSPARENTELEMENT_MOUSEUP, id(upper), 160, 170}}));
    LeftClickAt(290, 280); // under the upper box, but nearest the lower box's (300, 300)
    std::vector<Note> notes = receiver.Drain();
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes[0].id, id(lower));

    // A double click (after the double-click time of the clicks before).
    ::SetCursorPos(160, 170);
    Pump(600);
    receiver.Drain();
    MouseButtons(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    MouseButtons(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    Pump(150);
    std::vector<UINT> order;
    for (const Note& n : receiver.Drain())
        order.push_back(n.message);
    EXPECT_EQ(order,
              (std::vector<UINT>{WM_TRANSPARENTELEMENT_MOUSEDOWN, WM_TRANSPARENTELEMENT_CLICK,
                                 WM_TRANSPARENTELEMENT_MOUSEUP, WM_TRANSPARENTELEMENT_DBLCLK,
                                 WM_TRANSPARENTELEMENT_MOUSEDOWN, WM_TRANSPARENTELEMENT_MOUSEUP}));

    // Between the items a click reaches what lies below: no notification.
    LeftClickAt(600, 600);
    EXPECT_TRUE(receiver.Drain().empty());
}

// "Which item a mouse event goes to": a click on drawn pixels that no item
// takes ends at the overlay; the window below sees it only once they are gone.
int presses = 0;
LRESULT CALLBACK CountPresses(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_LBUTTONDOWN)
        ++presses;
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

TEST_F(SdkDocument, AClickThatNoItemTakesIsSwallowed) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountPresses;
    wc.lpszClassName = L"OrvexSdkDocumentBelow";
    ::RegisterClassW(&wc);
    const HWND below = ::CreateWindowExW(0, wc.lpszClassName, L"below", WS_POPUP | WS_VISIBLE, 400,
                                         380, 200, 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(below, nullptr);
    // Both ends lie more than 1000 px from the click.
    const int32_t line = Orvex_Line(POINT{-1500, 400}, POINT{2500, 400}, 9, RGB(0, 0, 255));
    Rgn shape;
    ShapeNow(shape);
    Pump(300);
    ASSERT_TRUE(shape.Has(500, 400));
    receiver.Drain();
    presses = 0;
    LeftClickAt(500, 400);
    EXPECT_TRUE(receiver.Drain().empty());
    EXPECT_EQ(presses, 0);
    Orvex_Operation(TRANSPARENTELEMENT_OPERATION_DELETE, line, 0, 0, 0);
    Pump(300);
    LeftClickAt(500, 400);
    EXPECT_EQ(presses, 1);
    ::DestroyWindow(below);
}

// "Cursor numbers": an ORVEX_CURSOR_ number shows its cursor; any other
// number, an IDC_ value among them, shows the arrow.
TEST_F(SdkDocument, CursorNumbersAndTheArrowForAnyOtherNumber) {
    const int32_t cross = FilledBox(RECT{100, 100, 200, 200});
    const int32_t other = FilledBox(RECT{300, 100, 400, 200});
    ASSERT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETMOUSECURSOR, cross,
                              ORVEX_CURSOR_CROSS, 0, 0),
              1);
    ASSERT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETMOUSECURSOR, other,
                              static_cast<int32_t>(reinterpret_cast<intptr_t>(IDC_HAND)), 0, 0),
              1);
    Pump(300);
    LeftClickAt(110, 110);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_CROSS));
    LeftClickAt(310, 110);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));

    // The hand is the library's own, its hotspot at the fingertip (5, 0).
    Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETMOUSECURSOR, other, ORVEX_CURSOR_HAND, 0, 0);
    LeftClickAt(310, 110);
    ICONINFO hand{};
    ASSERT_TRUE(::GetIconInfo(::GetCursor(), &hand));
    ::DeleteObject(hand.hbmMask);
    ::DeleteObject(hand.hbmColor);
    EXPECT_EQ(hand.xHotspot, 5u);
    EXPECT_EQ(hand.yHotspot, 0u);
}

// ---------------------------------------------------------------- lifetime

// "Lifetime": WM_CLOSE to the overlay window removes every item and ends the
// overlay for the rest of the process. Last, since nothing works after it.
TEST(SdkDocumentLifetime, CloseMessageEndsTheOverlayForTheProcess) {
    Receiver receiver;
    ASSERT_GE(Orvex_Clear(), 0);
    Orvex_SetCallBackWindowHandle(receiver.Handle());
    const HWND overlay = OverlayWindow();
    ASSERT_NE(overlay, nullptr) << "made by the first call, on this thread";
    const int32_t a = Orvex_Rectangle(RECT{10, 10, 50, 50}, 0);
    const int32_t b = Orvex_Rectangle(RECT{60, 10, 90, 50}, 0);
    Pump(300);
    EXPECT_TRUE(::IsWindowVisible(overlay)) << "shown once the thread handles its messages";
    receiver.Drain();

    ::SendMessageW(overlay, WM_CLOSE, 0, 0);
    EXPECT_EQ(receiver.Drain(),
              (std::vector<Note>{{WM_TRANSPARENTELEMENT_STATUSCHANGED, static_cast<WPARAM>(a),
                                  STATUSCHANGED_DELETE, 0},
                                 {WM_TRANSPARENTELEMENT_STATUSCHANGED, static_cast<WPARAM>(b),
                                  STATUSCHANGED_DELETE, 0}}));
    Pump(300);
    EXPECT_FALSE(::IsWindowVisible(overlay));
    EXPECT_EQ(Orvex_Rectangle(RECT{10, 10, 50, 50}, 0), ORVEX_EXCEPTION);
    EXPECT_EQ(Orvex_Clear(), ORVEX_NO_WINDOW);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, a, 1, 0, 0), -1);
    EXPECT_EQ(Orvex_SetCallBackWindowHandle(receiver.Handle()), ORVEX_NOT_MADE);
}

} // namespace
