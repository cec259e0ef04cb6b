// The library's about and demo dialog: its frame and demo grid, its texts, the
// demo buttons (demo items only, no notifications), "ruler.bmp", and how the
// overlay window opens, reuses and releases it.
#include "overlay_test_support.h"
#include "overlay_window/uOrvexTransparentAbout.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "screen_objects/uScreenBitmap.h"
#include "screen_objects/uScreenEllipse.h"
#include "screen_objects/uScreenFreehand.h"
#include "screen_objects/uScreenRectangle.h"
#include "screen_objects/uScreenSinglePoint.h"
#include "screen_objects/uScreenText.h"

#include <gtest/gtest.h>

#include <typeinfo>

using namespace overlay_test;

namespace {

// Answers Random(n) from a script (modulo n), or n - 1 / 0 once the script
// is used up; counts the re-seeds.
class ScriptedRandom : public TDemoRandom {
public:
    enum class Rest { Highest, Lowest } rest = Rest::Highest;
    int randomizes = 0;

    void Play(std::vector<int32_t> values) {
        script = std::move(values);
        next_ = 0;
    }

    void Randomize() override { ++randomizes; }
    int32_t Random(int32_t n) override {
        if (n <= 0)
            return 0;
        if (next_ < script.size())
            return script[next_++] % n;
        return rest == Rest::Highest ? n - 1 : 0;
    }

private:
    std::vector<int32_t> script;
    size_t next_ = 0;
};

// Opens the overlay window's library dialog, made as the library makes it,
// and returns it.
TOrvexTransparentAboutForm* OpenLibraryDialog(TTransparentForm& form) {
    form.SetLibraryDialogMaker([&form] {
        return MakeLibraryDialog(form.Store(), form.Handle(),
                                 [&form] { form.LibraryDialogShownOrHidden(); });
    });
    form.InformationaboutOrvexSDK1Click();
    // The maker above makes nothing else.
    return static_cast<TOrvexTransparentAboutForm*>(form.LibraryDialog());
}

class OrvexAboutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(form.CreateForm());
        form.FrontTimer.SetEnabled(false);
        form.Store().SetCallbackWindow(receiver.Handle());
        dialog = OpenLibraryDialog(form);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(form.LibraryDialog(), dialog);
        auto scripted = std::make_unique<ScriptedRandom>();
        random = scripted.get();
        dialog->Random = std::move(scripted);
        dialog->OpenAddress = [this](const std::wstring& a) { opened.push_back(a); };
    }

    // The screen object of the newest demo item.
    TScreenObject& NewestDemo() {
        std::vector<int32_t> ids = form.Store().ItemIDs(true);
        return *form.Store().FindItem(ids.back())->ScreenObject;
    }

    TTransparentForm form;
    Receiver receiver;
    TOrvexTransparentAboutForm* dialog = nullptr;
    ScriptedRandom* random = nullptr;
    std::vector<std::wstring> opened;
};

TEST(OrvexAboutGrid, ButtonsSplitThePageIntoTwoColumnsOfFourRows) {
    // 701 × 335: halves and quarters round towards zero; rows at k·H / 4.
    const RECT expected[DemoButtonCount] = {
        {0, 0, 350, 83},    {350, 0, 700, 83},    {0, 83, 350, 166},  {350, 83, 700, 166},
        {0, 167, 350, 250}, {350, 167, 700, 250}, {0, 251, 350, 334}, {350, 251, 700, 334}};
    for (int i = 0; i < DemoButtonCount; ++i) {
        const RECT r = DemoButtonRect(i, 701, 335);
        EXPECT_TRUE(::EqualRect(&r, &expected[i])) << i;
    }
    const RECT tiny = DemoButtonRect(7, 1, 3);
    EXPECT_EQ(tiny.right - tiny.left, 0);
    EXPECT_EQ(tiny.bottom - tiny.top, 0);
}

TEST_F(OrvexAboutTest, FrameFootPanelAndGridFollowTheLayout) {
    EXPECT_EQ(dialog->Caption(), L"About Orvex SDK (Orvex.dll)");
    EXPECT_EQ(dialog->ClientWidth(), AboutFormClientWidth);
    EXPECT_EQ(dialog->ClientHeight(), AboutFormClientHeight);
    const auto ex = static_cast<DWORD>(::GetWindowLongPtrW(dialog->Handle(), GWL_EXSTYLE));
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_EQ(::GetWindow(dialog->Handle(), GW_OWNER), form.Handle());
    // Centred on the screen.
    const POINT centre{dialog->Left() + dialog->Width() / 2, dialog->Top() + dialog->Height() / 2};
    EXPECT_NEAR(centre.x, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR(centre.y, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    EXPECT_EQ(dialog->FootPanel.Height(), FootPanelHeight);
    EXPECT_EQ(dialog->FootPanel.Top() + FootPanelHeight, AboutFormClientHeight);
    EXPECT_EQ(dialog->HomepageButton.Caption(), L"Orvex SDK Homepage");
    EXPECT_EQ(dialog->CloseButton.Caption(), L"&Close");
    const RECT home = dialog->HomepageButton.BoundsRect(), close = dialog->CloseButton.BoundsRect();
    const RECT homeExpected{8, 8, 241, 33}, closeExpected{632, 8, 707, 33};
    EXPECT_TRUE(::EqualRect(&home, &homeExpected));
    EXPECT_TRUE(::EqualRect(&close, &closeExpected));
    EXPECT_EQ(dialog->PageControl.Top() + dialog->PageControl.Height(), dialog->FootPanel.Top());

    ASSERT_EQ(dialog->PageControl.PageCount(), 3);
    EXPECT_EQ(dialog->PageControl.Page(0).Caption(), L"About");
    EXPECT_EQ(dialog->PageControl.Page(1).Caption(), L"Documentation");
    EXPECT_EQ(dialog->PageControl.Page(2).Caption(), L"Example");
    EXPECT_EQ(dialog->InterfaceDokuMemo.GetFont().face, L"Courier New");
    EXPECT_EQ(dialog->InterfaceDokuMemo.GetFont().height, 11);
    EXPECT_TRUE(dialog->AboutMemo.ReadOnly() && dialog->InterfaceDokuMemo.ReadOnly());
    EXPECT_FALSE(dialog->DemoImage.Visible());

    // The pages fill the tab control's page area; the Example page is
    // hidden (without size of its own) until it is chosen.
    const RECT page = dialog->PageControl.ClientArea();
    const int w = page.right - page.left, h = page.bottom - page.top;
    dialog->PageControl.SetActivePage(dialog->ExampleTabSheet);
    EXPECT_EQ(dialog->ExampleTabSheet.Width(), w);
    EXPECT_EQ(dialog->ExampleTabSheet.Height(), h);
    ASSERT_GT(w, 400);
    ASSERT_GT(h, 200);
    const wchar_t* captions[DemoButtonCount] = {
        L"create point", L"create line",   L"create rectangle", L"create polyline",
        L"create text",  L"create bitmap", L"create ellipse",   L"clear all objects"};
    for (int i = 0; i < DemoButtonCount; ++i) {
        SCOPED_TRACE(i);
        ui::Button& button = *dialog->DemoButtons[i];
        EXPECT_EQ(button.Caption(), captions[i]);
        const RECT bounds = button.BoundsRect(), expected = DemoButtonRect(i, w, h);
        EXPECT_TRUE(::EqualRect(&bounds, &expected));
        EXPECT_EQ(button.GetFont().face, L"Arial");
        EXPECT_EQ(button.GetFont().height, 16);
        EXPECT_TRUE(button.GetFont().bold);
    }
}

TEST_F(OrvexAboutTest, TextsIntroduceTheLibraryAndDocumentTheInterfaceInOrder) {
    const std::vector<std::wstring> lines = dialog->AboutMemo.Lines();
    const std::vector<std::wstring> head{L"Orvex SDK (Orvex.dll)",
                                         L"",
                                         L"Orvex SDK offers an SDK interface to draw objects on "
                                         L"top of the screen.",
                                         L"",
                                         L"The available objects are:",
                                         L"  - points (cross / circles / squares)",
                                         L"  - lines",
                                         L"  - rectangles",
                                         L"  - ellipse",
                                         L"  - polylines",
                                         L"  - texts",
                                         L"  - bitmaps",
                                         L""};
    ASSERT_GT(lines.size(), head.size());
    EXPECT_EQ(std::vector<std::wstring>(lines.begin(), lines.begin() + 13), head);
    const std::wstring about = dialog->AboutMemo.Text();
    EXPECT_NE(about.find(L"If you have questions, suggestions, feedback or if you want to use the "
                         L"Orvex SDK in your own application, please send an "),
              std::wstring::npos);
    EXPECT_NE(about.find(std::wstring(L"\r\nHomepage: ") + OrvexHomepageAddress + L"\r\n"),
              std::wstring::npos);
    EXPECT_NE(about.find(L"\r\nRegards\r\n"), std::wstring::npos);

    const std::wstring doku = dialog->InterfaceDokuMemo.Text();
    EXPECT_EQ(doku, InterfaceDokuText());
    EXPECT_EQ(doku.rfind(L"Orvex.dll - description of the DLL interface methods\r\n", 0), 0u);
    EXPECT_EQ(doku.find(L'\n'), doku.find(L"\r\n") + 1); // CR LF line breaks
    // Everything in its place: general part, debug files, then the functions,
    // each section opened by a line of hyphens.
    const wchar_t* order[] = {L"stdcall",
                              L"LONGINT is a 32-bit signed integer",
                              L"PCHAR",
                              L"TPoint equals the Windows POINT",
                              L"\"<APPLICATIONNAME>.debug\"",
                              L"\"Orvex.log\"",
                              L"---\r\nfunction Orvex_Clear",
                              L"---\r\nfunction Orvex_SetCallBackWindowHandle",
                              L"WM_TRANSPARENTELEMENT_CLICK ",
                              L"WM_TRANSPARENTELEMENT_DBLCLK ",
                              L"WM_TRANSPARENTELEMENT_MOUSEDOWN ",
                              L"WM_TRANSPARENTELEMENT_MOUSEMOVE ",
                              L"WM_TRANSPARENTELEMENT_MOUSEUP ",
                              L"WM_TRANSPARENTELEMENT_STATUSCHANGED ",
                              L"STATUSCHANGED_SET_VISIBLE_TRUE   = $11",
                              L"STATUSCHANGED_SET_VISIBLE_FALSE  = $10",
                              L"STATUSCHANGED_AUTOSHOW           = $21",
                              L"STATUSCHANGED_AUTOHIDE           = $20",
                              L"STATUSCHANGED_SET_AUTOHIDE_TRUE  = $31",
                              L"STATUSCHANGED_SET_AUTOHIDE_FALSE = $30",
                              L"STATUSCHANGED_INSERT             = $41",
                              L"STATUSCHANGED_DELETE             = $40",
                              L"---\r\nfunction Orvex_Operation",
                              L"OPERATION_DELETE         = 1",
                              L"OPERATION_SHOW           = 2",
                              L"OPERATION_LINEWIDTH      = 3",
                              L"OPERATION_ISFILLED       = 4",
                              L"OPERATION_SETCOLOR       = 5",
                              L"OPERATION_SETAUTOHIDE    = 6",
                              L"OPERATION_SETZORDER      = 7",
                              L"OPERATION_SETMOUSECURSOR = 8",
                              L"Result:  1",
                              L"           0  no item",
                              L"          -1  failure",
                              L"---\r\nfunction Orvex_Point",
                              L"---\r\nfunction Orvex_Line",
                              L"---\r\nfunction Orvex_Polyline",
                              L"---\r\nfunction Orvex_Rectangle(Rect: TRect; Color: COLORREF)",
                              L"---\r\nfunction Orvex_Ellipse(Rect: TRect; Color: COLORREF)",
                              L"---\r\nfunction Orvex_Text",
                              L"---\r\nfunction Orvex_BitmapByFile",
                              L"---\r\nfunction Orvex_BitmapByResource"};
    size_t at = 0;
    for (const wchar_t* part : order) {
        const size_t found = doku.find(part, at);
        ASSERT_NE(found, std::wstring::npos)
            << "missing or out of order: " << ::testing::PrintToString(std::wstring(part));
        at = found;
    }
    // Every function section names its parameters' meaning and its result.
    EXPECT_EQ(doku.find(L"Filled"), std::wstring::npos);
}

TEST_F(OrvexAboutTest, DemoButtonsAddDemoItemsOnlyAndClearRemovesThemOnly) {
    random->rest = ScriptedRandom::Rest::Lowest;
    const int32_t a =
        form.Store().AddRectangleItem(RECT{10, 10, 50, 50}, true, 1, RGB(1, 2, 3), false);
    const int32_t b = form.Store().AddLineItem(POINT{0, 0}, POINT{9, 9}, 1, RGB(1, 2, 3), false);
    receiver.Drain();
    const std::vector<int32_t> ordinary{a, b};

    struct Case {
        ui::Button* button;
        const std::type_info& type;
    };
    const Case cases[] = {{&dialog->PointButton, typeid(TScreenSinglePoint)},
                          {&dialog->LineButton, typeid(TScreenLine)},
                          {&dialog->RectangleButton, typeid(TScreenRectangle)},
                          {&dialog->PolylineButton, typeid(TScreenFreehand)},
                          {&dialog->TextButton, typeid(TScreenText)},
                          {&dialog->BitmapButton, typeid(TScreenBitmap)},
                          {&dialog->EllipseButton, typeid(TScreenEllipse)}};
    size_t demos = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.button->Caption()));
        c.button->Click();
        ASSERT_EQ(form.Store().ItemIDs(true).size(), ++demos);
        TScreenObject& made = NewestDemo();
        EXPECT_EQ(typeid(made), c.type);
        EXPECT_EQ(form.Store().ItemIDs(false), ordinary);
        EXPECT_TRUE(receiver.Drain().empty());
    }
    // Each button but "create bitmap" re-seeds first.
    EXPECT_EQ(random->randomizes, 6);
    // Demo items are out of reach of the ordinary item operations.
    EXPECT_EQ(form.Store().SetItemColor(form.Store().ItemIDs(true).front(), RGB(9, 9, 9)), 0);

    dialog->ClearButton.Click();
    EXPECT_TRUE(form.Store().ItemIDs(true).empty());
    EXPECT_EQ(form.Store().ItemIDs(false), ordinary);
    EXPECT_TRUE(receiver.Drain().empty());
    EXPECT_TRUE(form.RepaintPending());

    // "&Close" clears the demo items too and hides the dialog.
    dialog->LineButton.Click();
    ASSERT_EQ(form.Store().ItemIDs(true).size(), 1u);
    dialog->CloseButton.Click();
    EXPECT_TRUE(form.Store().ItemIDs(true).empty());
    EXPECT_EQ(form.Store().ItemIDs(false), ordinary);
    EXPECT_FALSE(form.IsDialogVisible());
    EXPECT_TRUE(receiver.Drain().empty());
    ::DeleteFileW(DemoImageFileName);
}

TEST_F(OrvexAboutTest, RandomShapesTakeTheirValuesFromTheirRanges) {
    const int32_t W = ::GetSystemMetrics(SM_CXSCREEN), H = ::GetSystemMetrics(SM_CYSCREEN);
    // Highest values: colour components 254, width 6, style 3, size 37.
    dialog->PointButton.Click();
    TScreenObject& point = NewestDemo();
    EXPECT_EQ(point.Points.at(0).x, W - 1);
    EXPECT_EQ(point.Points.at(0).y, H - 1);
    EXPECT_EQ(point.PointType, 3);
    EXPECT_EQ(point.PointColor, RGB(254, 254, 254));

    dialog->LineButton.Click();
    EXPECT_EQ(NewestDemo().LineWidth, 6);
    EXPECT_EQ(NewestDemo().LineColor, RGB(254, 254, 254));

    dialog->TextButton.Click();
    auto* text = dynamic_cast<TScreenText*>(&NewestDemo());
    ASSERT_TRUE(text && text->Font);
    EXPECT_EQ(text->Caption, L"Test");
    EXPECT_EQ(text->Font->Name, L"Arial");
    EXPECT_EQ(text->Font->Size, 37);
    EXPECT_FALSE(text->Font->Bold);  // 9 is no multiple of 4
    EXPECT_TRUE(text->Font->Italic); // 9 is a multiple of 3

    // Lowest values: width 1, size 8, bold and italic (0 is a multiple of both).
    random->rest = ScriptedRandom::Rest::Lowest;
    random->Play({10, 10, 200, 10, 200, 200, 10, 200, 100, 100});
    dialog->PolylineButton.Click();
    EXPECT_EQ(NewestDemo().PointCount, 5);
    EXPECT_EQ(NewestDemo().LineWidth, 1);
    EXPECT_FALSE(NewestDemo().PolygonFilled);
    dialog->TextButton.Click();
    text = dynamic_cast<TScreenText*>(&NewestDemo());
    ASSERT_TRUE(text && text->Font);
    EXPECT_EQ(text->Font->Size, 8);
    EXPECT_TRUE(text->Font->Bold);
    EXPECT_TRUE(text->Font->Italic);
    EXPECT_EQ(text->Font->Color, RGB(0, 0, 0));

    // Corners in any order still make the shapes, with the corners as drawn.
    for (ui::Button* button : {&dialog->RectangleButton, &dialog->EllipseButton}) {
        random->Play({500, 400, 100, 50, 2, 10, 20, 30});
        const size_t before = form.Store().ItemIDs(true).size();
        button->Click();
        ASSERT_EQ(form.Store().ItemIDs(true).size(), before + 1);
        TScreenObject& shape = NewestDemo();
        ASSERT_EQ(shape.PointCount, 2);
        EXPECT_EQ(shape.Points[0].x, 500);
        EXPECT_EQ(shape.Points[0].y, 400);
        EXPECT_EQ(shape.Points[1].x, 100);
        EXPECT_EQ(shape.Points[1].y, 50);
        EXPECT_EQ(shape.LineWidth, 3);
        EXPECT_EQ(shape.LineColor, RGB(10, 20, 30));
        EXPECT_FALSE(shape.PolygonFilled);
    }
    form.Store().ClearItems(true);
}

TEST_F(OrvexAboutTest, BitmapButtonWritesRulerBmpShownWithMagentaTransparent) {
    ::DeleteFileW(DemoImageFileName);
    random->Play({300, 300});
    form.RebuildWindowShape(); // the overlay's own picture exists from here on
    const auto handles = ui::LiveHandleCount();
    dialog->BitmapButton.Click();
    EXPECT_EQ(random->randomizes, 0);
    ASSERT_NE(::GetFileAttributesW(DemoImageFileName), INVALID_FILE_ATTRIBUTES);

    // The file holds the hidden picture, pixel for pixel.
    ui::Picture saved = ui::Picture::LoadBmpFile(DemoImageFileName);
    ui::Picture shown = ui::Picture::FromBitmap(dialog->DemoImage.BitmapHandle());
    ASSERT_EQ(saved.Width(), DemoImageSize);
    ASSERT_EQ(saved.Height(), DemoImageSize);
    EXPECT_EQ(saved.ToPixels().Pixels, shown.ToPixels().Pixels);
    EXPECT_EQ(saved.PixelColor(62, 1), DemoImageTransparentColor);
    EXPECT_EQ(saved.PixelColor(6, 50), RGB(160, 160, 160));
    bool yellow = false;
    for (int y = 0; y < DemoImageSize; ++y)
        for (int x = 0; x < DemoImageSize; ++x)
            yellow = yellow || saved.PixelColor(x, y) == RGB(255, 255, 0);
    EXPECT_TRUE(yellow);

    // On the screen: centred on (300, 300), magenta left out of the shape.
    ASSERT_EQ(form.Store().ItemIDs(true).size(), 1u);
    auto* bitmap = dynamic_cast<TScreenBitmap*>(&NewestDemo());
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->TransparentColor, DemoImageTransparentColor);
    form.RebuildWindowShape();
    ui::Region shape = ui::MakeEmptyRegion();
    ASSERT_NE(::GetWindowRgn(form.Handle(), shape.Get()), ERROR);
    const int left = 300 - DemoImageSize / 2, top = 300 - DemoImageSize / 2;
    EXPECT_TRUE(::PtInRegion(shape.Get(), left + 6, top + 50));
    EXPECT_FALSE(::PtInRegion(shape.Get(), left + 62, top + 1));
    EXPECT_FALSE(::PtInRegion(shape.Get(), left + 20, top + 45)); // the set square's opening

    // Where the file cannot be written, the item fails and nothing is added.
    form.Store().ClearItems(true);
    ::DeleteFileW(DemoImageFileName);
    ASSERT_TRUE(::CreateDirectoryW(DemoImageFileName, nullptr));
    dialog->BitmapButton.Click();
    EXPECT_TRUE(form.Store().ItemIDs(true).empty());
    ::RemoveDirectoryW(DemoImageFileName);
    EXPECT_EQ(::GetFileAttributesW(DemoImageFileName), INVALID_FILE_ATTRIBUTES);
    // Every temporary picture and device context is gone with the items.
    saved = ui::Picture();
    shown = ui::Picture();
    shape.Reset();
    form.RebuildWindowShape();
    EXPECT_EQ(ui::LiveHandleCount(), handles);
}

TEST_F(OrvexAboutTest, OverlayOpensOneDialogShowingAboutFirstAndOnlyDemoItemsWhileVisible) {
    EXPECT_TRUE(dialog->Visible());
    EXPECT_EQ(dialog->PageControl.ActivePageIndex(), 0);
    const int32_t item =
        form.Store().AddRectangleItem(RECT{100, 100, 150, 150}, true, 1, RGB(0, 0, 255), false);
    random->Play({400, 100, 0}); // a cross
    dialog->PointButton.Click();
    form.RebuildWindowShape();
    ui::Region shape = ui::MakeEmptyRegion();
    ::GetWindowRgn(form.Handle(), shape.Get());
    EXPECT_FALSE(::PtInRegion(shape.Get(), 125, 125));
    EXPECT_TRUE(::PtInRegion(shape.Get(), 400, 100));

    // The frame's close box hides the dialog and leaves the demo items; the
    // client's items come back with the repaint it brings at once.
    dialog->PageControl.SetActivePageIndex(2);
    Pump(60);
    ASSERT_FALSE(form.RepaintPending());
    ::SendMessageW(dialog->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.IsDialogVisible());
    EXPECT_EQ(form.Store().ItemIDs(true).size(), 1u);
    Pump(60);
    ::GetWindowRgn(form.Handle(), shape.Get());
    EXPECT_TRUE(::PtInRegion(shape.Get(), 125, 125));
    EXPECT_TRUE(::PtInRegion(shape.Get(), 400, 100));

    // The notification icon's left click brings the same dialog back, on "About".
    form.WMNotifyIcon(MAKELPARAM(WM_LBUTTONDOWN, 0));
    EXPECT_EQ(form.LibraryDialog(), dialog);
    EXPECT_TRUE(form.IsDialogVisible());
    EXPECT_EQ(dialog->PageControl.ActivePageIndex(), 0);
    EXPECT_TRUE(dialog->AboutTabSheet.Visible());
    EXPECT_FALSE(dialog->ExampleTabSheet.Visible());
    EXPECT_TRUE(form.RepaintPending());

    dialog->HomepageButton.Click();
    EXPECT_EQ(opened, (std::vector<std::wstring>{OrvexHomepageAddress}));

    // Closing the overlay window releases the dialog with it.
    const HWND window = dialog->Handle();
    form.Close();
    EXPECT_EQ(form.LibraryDialog(), nullptr);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(form.Store().FindItem(item), nullptr);
}

TEST(OrvexAboutLifetime, DialogAndItsDemoItemsLeaveNoHandleBehind) {
    const auto handles = ui::LiveHandleCount();
    {
        TTransparentForm form;
        ASSERT_TRUE(form.CreateForm());
        form.FrontTimer.SetEnabled(false);
        TOrvexTransparentAboutForm* dialog = OpenLibraryDialog(form);
        ASSERT_NE(dialog, nullptr);
        for (ui::Button* button : dialog->DemoButtons)
            if (button != &dialog->ClearButton)
                button->Click();
        form.RebuildWindowShape();
        EXPECT_EQ(form.Store().ItemIDs(true).size(), 7u);
        // Destroying the overlay window takes the dialog and the demo items with it.
    }
    EXPECT_EQ(ui::LiveHandleCount(), handles);
    ::DeleteFileW(DemoImageFileName);
}

} // namespace
