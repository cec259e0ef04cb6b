// Every Orvex_ function with arguments a foreign program might pass: each
// refused call gives its documented code and leaves the item list, the next
// ID and the callback window as they were; calls that are accepted make an
// item that can be painted and deleted without a leak.
#include "reliability/reliability_support.h"

#include "overlay_window/overlay_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace reliability;
using overlay_test::Receiver;

namespace {

const POINT At{100, 100};

// A fresh overlay with three known items; returns their IDs.
struct Fixture {
    Receiver receiver;
    int32_t rect = 0, text = 0, line = 0;
    Fixture() {
        Orvex_Clear();
        Orvex_SetCallBackWindowHandle(receiver.Handle());
        rect = Orvex_Rectangle(RECT{10, 10, 50, 50}, RGB(255, 0, 0));
        text = Orvex_Text(POINT{200, 200}, "Frohes Fest", "Arial", 12, 0, 0, RGB(0, 0, 255));
        line = Orvex_Line(POINT{0, 0}, POINT{30, 30}, 2, RGB(0, 255, 0));
        receiver.Drain();
    }
    ~Fixture() {
        Orvex_Clear();
        Orvex_SetCallBackWindowHandle(nullptr);
    }
};

// The handles held with an empty overlay that has painted once (its picture
// stays with the window).
long BaselineHandles() {
    Orvex_Clear();
    if (TransparentForm())
        TransparentForm()->RebuildWindowShape();
    return ui::LiveHandleCount();
}

// A repaint of whatever is there, then everything removed: the handles that
// the items and the repaint made are all released again.
void ExpectPaintsWithoutLeak(long handlesBefore) {
    ASSERT_NE(TransparentForm(), nullptr);
    TransparentForm()->RebuildWindowShape();
    TransparentForm()->RebuildWindowShape();
    Orvex_Clear();
    EXPECT_EQ(ui::LiveHandleCount(), handlesBefore);
}

TEST(ApiBadOperations, UnknownCodesAndIdsChangeNothing) {
    Fixture f;
    const OverlayState before = Capture();
    ASSERT_EQ(before.Items.size(), 3u);

    for (int32_t op : {INT_MIN, -1, 0, 9, 10, 255, INT_MAX})
        for (int32_t id : {f.rect, f.text, f.line})
            EXPECT_EQ(Orvex_Operation(op, id, 1, 2, 3), 0) << op;
    const int32_t unknownIds[] = {INT_MIN, -1, 0, before.LastID + 1, INT_MAX};
    for (int32_t op = TRANSPARENTELEMENT_OPERATION_DELETE;
         op <= TRANSPARENTELEMENT_OPERATION_SETMOUSECURSOR; ++op)
        for (int32_t id : unknownIds)
            EXPECT_EQ(Orvex_Operation(op, id, 0, 0, 0), 0) << op << " " << id;

    // A negative paint position is refused and the item keeps its place.
    for (int32_t pos : {-1, INT_MIN})
        EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETZORDER, f.text, pos, 0, 0), -1);

    EXPECT_EQ(Capture(), before) << Describe(Capture());
    EXPECT_TRUE(f.receiver.Drain().empty()) << "nothing announced";
}

TEST(ApiBadOperations, ExtremeValuesAreStoredAndPaintSafely) {
    const long handles = BaselineHandles();
    {
        Fixture f;
        for (int32_t id : {f.rect, f.text, f.line}) {
            for (int32_t v : {INT_MIN, -1, 0, INT_MAX}) {
                EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_LINEWIDTH, id, v, 0, 0), 1);
                EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETCOLOR, id, v, 0, 0), 1);
                EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_ISFILLED, id, v, 0, 0), 1);
                EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETMOUSECURSOR, id, v, 0, 0),
                          1);
                TransparentForm()->RebuildWindowShape();
            }
            // Only the low 16 bits of a cursor number count.
            Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETMOUSECURSOR, id, 0x7FFF0000 | 0xFFEB, 0,
                            0);
            EXPECT_EQ(TransparentForm()->Store().FindItem(id)->Cursor, crHandPoint);
        }
        EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETZORDER, f.line, INT_MAX, 0, 0),
                  1);
        EXPECT_EQ(TransparentForm()->Store().ItemIDs(false).back(), f.line);
        EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETZORDER, f.line, 0, 0, 0), 1);
        EXPECT_EQ(TransparentForm()->Store().ItemIDs(false).front(), f.line);
        ExpectPaintsWithoutLeak(handles);
    }
    EXPECT_EQ(ui::LiveHandleCount(), handles);
}

TEST(ApiBadStrings, NullEmptyAndOverlongTexts) {
    const long handles = BaselineHandles();
    Fixture f;
    const long withFixture = ui::LiveHandleCount();
    const OverlayState before = Capture();

    EXPECT_EQ(Orvex_Text(At, nullptr, "Arial", 12, 0, 0, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Text(At, "x", nullptr, 12, 0, 0, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Text(At, nullptr, nullptr, 12, 0, 0, 0), ORVEX_NOT_MADE);
    // A text too wide for any picture is refused as a failure, no item made.
    const std::string huge(200000, 'W');
    EXPECT_EQ(Orvex_Text(At, huge.c_str(), "Arial", 12, 0, 0, 0), ORVEX_EXCEPTION);
    EXPECT_EQ(Capture(), before) << "refused texts add nothing and use no ID";
    EXPECT_TRUE(f.receiver.Drain().empty());
    EXPECT_EQ(ui::LiveHandleCount(), withFixture);

    // Accepted: an empty text, an empty or over-long font name (cut to what
    // the system takes), odd sizes and flags. Each is an ordinary item.
    const std::string longFont(5000, 'F');
    const std::string longText(1000, 'a');
    int32_t next = before.LastID;
    int n = 0;
    for (auto call : {+[] { return Orvex_Text(At, "", "Arial", 12, 0, 0, 0); },
                      +[] { return Orvex_Text(At, "x", "", 12, 0, 0, 0); },
                      +[] { return Orvex_Text(At, "x", "Arial", 0, 0, 0, 0); },
                      +[] { return Orvex_Text(At, "x", "Arial", -40, 0, 0, 0); },
                      +[] { return Orvex_Text(At, "x", "Arial", INT_MAX, 0, 0, 0); },
                      +[] { return Orvex_Text(At, "x", "Arial", INT_MIN, 0, 0, 0); },
                      +[] { return Orvex_Text(At, "x", "Arial", 12, -7, 99, 0); }})
        EXPECT_EQ(call(), ++next) << "call " << n++;
    EXPECT_EQ(Orvex_Text(At, "x", longFont.c_str(), 12, 0, 0, 0), ++next);
    EXPECT_EQ(Orvex_Text(At, longText.c_str(), "Arial", 8, 0, 0, 0), ++next);
    EXPECT_EQ(Capture().Items.size(), before.Items.size() + 9);
    ExpectPaintsWithoutLeak(handles);
}

TEST(ApiBadStrings, MissingCorruptAndOddBitmapFiles) {
    const long baseline = BaselineHandles();
    Fixture f;
    const std::wstring dir = ScratchFolder(L"reliability_files");
    const std::string d = Narrow(dir) + "\\";
    WriteBytes(dir + L"\\garbage.bmp", std::string(500, '\x5A'));
    WriteBytes(dir + L"\\header_only.bmp", std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0\0", 14));
    // A BMP header that claims 30000 x 30000 pixels.
    std::string giant("BM\0\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0", 18);
    giant += std::string("\x30\x75\0\0\x30\x75\0\0\x01\0\x18\0", 12) + std::string(24, '\0');
    WriteBytes(dir + L"\\giant.bmp", giant);
    WriteBytes(dir + L"\\broken.jpg", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10));
    WriteBytes(dir + L"\\empty.bmp", "");
    WriteBytes(dir + L"\\fake.ico", std::string(64, '\x01'));
    WriteBytes(dir + L"\\picture.jpeg", "not looked at");
    ::CreateDirectoryW((dir + L"\\folder.bmp").c_str(), nullptr);

    const long handles = ui::LiveHandleCount();
    const OverlayState before = Capture();
    auto file = [&](const std::string& name) {
        return Orvex_BitmapByFile(At, (d + name).c_str(), 0);
    };
    EXPECT_EQ(Orvex_BitmapByFile(At, nullptr, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_BitmapByFile(At, "", 0), ORVEX_NOT_MADE);
    EXPECT_EQ(file("missing.bmp"), ORVEX_NOT_MADE);
    EXPECT_EQ(file("folder.bmp"), ORVEX_NOT_MADE);
    EXPECT_EQ(file("a<b>|c.bmp"), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_BitmapByFile(At, (d + std::string(70000, 'p') + ".bmp").c_str(), 0),
              ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_BitmapByFile(At, "Q:\\no\\such\\drive.bmp", 0), ORVEX_NOT_MADE);
    // Files that exist but do not decode: a failure, nothing added, no ID used.
    for (const char* name :
         {"garbage.bmp", "header_only.bmp", "giant.bmp", "broken.jpg", "empty.bmp", "fake.ico"})
        EXPECT_EQ(file(name), ORVEX_EXCEPTION) << name;
    EXPECT_EQ(Capture(), before) << Describe(Capture());
    EXPECT_TRUE(f.receiver.Drain().empty());
    EXPECT_EQ(ui::LiveHandleCount(), handles) << "no handle of a failed load stays";

    // An extension the loader does not read gives an empty, harmless item.
    EXPECT_EQ(file("picture.jpeg"), before.LastID + 1);
    ExpectPaintsWithoutLeak(baseline);
}

TEST(ApiBadStrings, ResourceNamesAndInvalidModuleHandles) {
    const long handles = BaselineHandles();
    Fixture f;
    const OverlayState before = Capture();
    EXPECT_EQ(Orvex_BitmapByResource(At, 0, nullptr, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Capture(), before);

    // A resource that cannot be read, whatever the reason, gives an item with
    // an empty picture: it draws nothing and is never hit.
    static int someData[64];
    const std::string longName(100000, 'R');
    const int32_t badModules[] = {12345, -1, INT_MIN, 0x10000,
                                  static_cast<int32_t>(reinterpret_cast<intptr_t>(someData))};
    int32_t next = before.LastID;
    for (int32_t module : badModules)
        EXPECT_EQ(Orvex_BitmapByResource(At, module, "SNOWFLAKE", 0), ++next) << module;
    for (const char* name : {"", "NO SUCH BITMAP", longName.c_str(), "#", "#99999999999"})
        EXPECT_EQ(Orvex_BitmapByResource(At, 0, name, 0), ++next);
    EXPECT_EQ(Orvex_BitmapByResource(At, 0, MAKEINTRESOURCEA(65535), 0), ++next);
    for (int32_t id = before.LastID + 1; id <= next; ++id) {
        const auto* item = TransparentForm()->Store().FindItem(id);
        ASSERT_NE(item, nullptr);
        int32_t distance = 0;
        TransparentForm()->RebuildWindowShape();
        EXPECT_FALSE(item->ScreenObject->HitTest(At, 1000, distance));
    }
    ExpectPaintsWithoutLeak(handles);
}

TEST(ApiBadGeometry, PolylineArraysAndCounts) {
    const long handles = BaselineHandles();
    Fixture f;
    const OverlayState before = Capture();
    POINT pts[3] = {{0, 0}, {50, 0}, {50, 50}};
    EXPECT_EQ(Orvex_Polyline(nullptr, 3, 1, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Polyline(nullptr, 0, 1, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Polyline(pts, -1, 1, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Polyline(pts, INT_MIN, 1, 0), ORVEX_NOT_MADE);
    // A count no screen could show is refused before the array is read.
    EXPECT_EQ(Orvex_Polyline(pts, INT_MAX, 1, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Polyline(pts, ORVEX_MAX_POLYLINE_POINTS + 1, 1, 0), ORVEX_NOT_MADE);
    EXPECT_EQ(Capture(), before);
    EXPECT_TRUE(f.receiver.Drain().empty());

    EXPECT_EQ(Orvex_Polyline(pts, 0, 1, 0), before.LastID + 1);
    EXPECT_EQ(Orvex_Polyline(pts, 3, INT_MAX, 0), before.LastID + 2);
    EXPECT_EQ(Orvex_Polyline(pts, 3, -5, 0), before.LastID + 3);
    std::vector<POINT> many(5000);
    for (size_t i = 0; i < many.size(); ++i)
        many[i] = POINT{static_cast<LONG>(i % 800), static_cast<LONG>((i * 37) % 600)};
    EXPECT_EQ(Orvex_Polyline(many.data(), static_cast<int32_t>(many.size()), 1, 0),
              before.LastID + 4);
    ExpectPaintsWithoutLeak(handles);
}

TEST(ApiBadGeometry, ExtremeCoordinatesAndWidths) {
    const long handles = BaselineHandles();
    Fixture f;
    const RECT rects[] = {{INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                          {INT_MAX, INT_MAX, INT_MIN, INT_MIN},
                          {INT_MIN, INT_MIN, INT_MIN, INT_MIN},
                          {-100000, -100000, 100000, 100000},
                          {5, 5, 5, 5}};
    int32_t next = Capture().LastID;
    for (const RECT& r : rects) {
        EXPECT_EQ(Orvex_Rectangle(r, 0), ++next);
        EXPECT_EQ(Orvex_Ellipse(r, 0), ++next);
        Orvex_Operation(TRANSPARENTELEMENT_OPERATION_ISFILLED, next, 1, 0, 0);
    }
    const POINT distant[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}};
    for (const POINT& p : distant) {
        EXPECT_EQ(Orvex_Point(p, ORVEX_POINT_CIRCLE, 0), ++next);
        EXPECT_EQ(Orvex_Line(p, POINT{0, 0}, 3, 0), ++next);
        EXPECT_EQ(Orvex_Text(p, "x", "Arial", 10, 0, 0, 0), ++next);
    }
    for (int32_t width : {INT_MIN, -1, 0, 100000, INT_MAX})
        EXPECT_EQ(Orvex_Line(POINT{10, 10}, POINT{300, 200}, width, 0), ++next);
    ExpectPaintsWithoutLeak(handles);
}

TEST(ApiBadGeometry, EllipseCentreOfExtremeRectangles) {
    // The centre and the half extents are computed without overflow and the
    // result is kept inside the 32-bit range.
    RECT r = ConvertEllipseRect(RECT{INT_MIN, INT_MIN, INT_MIN, INT_MIN});
    EXPECT_EQ(r.left, INT_MIN);
    EXPECT_EQ(r.right, INT_MIN);
    r = ConvertEllipseRect(RECT{INT_MAX - 10, 0, INT_MAX, 0});
    EXPECT_EQ(r.left, INT_MAX - 5 - 3);
    EXPECT_EQ(r.right, INT_MAX - 5 + 3);
    r = ConvertEllipseRect(RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    EXPECT_EQ(r.left, -1518500249);
    EXPECT_EQ(r.right, 1518500249);
    r = ConvertEllipseRect(RECT{INT_MAX, 0, INT_MIN, 0});
    EXPECT_EQ(r.left, 1518500249);
    EXPECT_EQ(r.right, -1518500249);
}

TEST(ApiCallbackWindow, DestroyedAndInvalidWindowsAreHarmless) {
    const long handles = BaselineHandles();
    HWND gone = nullptr;
    {
        Receiver doomed;
        gone = doomed.Handle();
        EXPECT_EQ(Orvex_SetCallBackWindowHandle(gone), 1);
    }
    ASSERT_FALSE(::IsWindow(gone));
    // Every kind of call still works; the notifications go nowhere.
    const int32_t a = Orvex_Rectangle(RECT{10, 10, 40, 40}, 0);
    EXPECT_GT(a, 0);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, a, 0, 0, 0), 1);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETAUTOHIDE, a, 1, 0, 0), 1);
    TransparentForm()->FrontTimerTimer();
    TransparentForm()->DispatchMouseEvent(WM_TRANSPARENTELEMENT_CLICK);
    // Handles that name no window are refused.
    EXPECT_EQ(Orvex_SetCallBackWindowHandle(gone), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_SetCallBackWindowHandle(reinterpret_cast<HWND>(0xDEAD)), ORVEX_NOT_MADE);
    EXPECT_EQ(Orvex_Operation(TRANSPARENTELEMENT_OPERATION_DELETE, a, 0, 0, 0), 1);
    EXPECT_EQ(Orvex_Ellipse(RECT{0, 0, 9, 9}, 0), a + 1);
    EXPECT_EQ(Orvex_Clear(), 1);

    // A live window registered again receives everything from then on.
    Receiver receiver;
    EXPECT_EQ(Orvex_SetCallBackWindowHandle(receiver.Handle()), 1);
    const int32_t b = Orvex_Rectangle(RECT{10, 10, 40, 40}, 0);
    EXPECT_EQ(b, a + 2);
    EXPECT_EQ(Orvex_Clear(), 1);
    std::vector<overlay_test::Notification> expected{overlay_test::Status(b, STATUSCHANGED_INSERT),
                                                     overlay_test::Status(b, STATUSCHANGED_DELETE)};
    EXPECT_EQ(receiver.Drain(), expected);
    Orvex_SetCallBackWindowHandle(nullptr);
    EXPECT_EQ(ui::LiveHandleCount(), handles);
}

} // namespace
