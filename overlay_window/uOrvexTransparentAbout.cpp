#include "overlay_window/uOrvexTransparentAbout.h"

#include "overlay_window/uOrvexHomepage.h"
#include "ui/Application.h"
#include "ui/Canvas.h"
#include "ui/PictureEncode.h"

#include <shellapi.h>

#include <array>

namespace {

constexpr wchar_t ContactAddress[] = L"orvex-sdk@frostvale.example";

// Colours of the demo picture.
constexpr COLORREF SetSquareColor = RGB(160, 160, 160);
constexpr COLORREF SetSquareEdgeColor = RGB(64, 64, 64);
constexpr COLORREF ArcColor = RGB(255, 255, 0);

// "\n" line ends as CR LF, the memo's line breaks.
std::wstring WithCrLf(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size() + text.size() / 32);
    for (wchar_t c : text) {
        if (c == L'\n')
            out += L'\r';
        out += c;
    }
    return out;
}

void OpenWithShell(const std::wstring& address) {
    ::ShellExecuteW(ui::Application::Instance().Handle(), L"open", address.c_str(), nullptr,
                    nullptr, SW_SHOWNORMAL);
}

} // namespace

RECT DemoButtonRect(int index, int w, int h) {
    const int column = index % 2;
    const int row = index / 2;
    const int left = column * (w / 2);
    const int top = row * h / 4;
    return RECT{left, top, left + w / 2, top + h / 4};
}

std::wstring AboutText() {
    std::wstring text = L"Orvex SDK (Orvex.dll)\n"
                        L"\n"
                        L"Orvex SDK offers an SDK interface to draw objects on top of the screen.\n"
                        L"\n"
                        L"The available objects are:\n"
                        L"  - points (cross / circles / squares)\n"
                        L"  - lines\n"
                        L"  - rectangles\n"
                        L"  - ellipse\n"
                        L"  - polylines\n"
                        L"  - texts\n"
                        L"  - bitmaps\n"
                        L"\n"
                        L"The first application built on the Orvex SDK is the greeting card "
                        L"Frostvale-Karte, which lets snow fall over the desktop and builds a "
                        L"snowman in its corner while every other window stays usable.\n"
                        L"\n"
                        L"If you have questions, suggestions, feedback or if you want to use the "
                        L"Orvex SDK in your own application, please send an e-mail to ";
    text += ContactAddress;
    text += L".\n\nHomepage: ";
    text += OrvexHomepageAddress;
    text += L"\n\nRegards\nThe Orvex SDK team\n";
    return WithCrLf(text);
}

std::wstring InterfaceDokuText() {
    // Taken by the build from docs/orvex-sdk.md, the programmers' description.
    static const wchar_t text[] =
#include "OrvexInterfaceDoku.inc"
        ;
    return WithCrLf(text);
}

ui::Picture MakeDemoPicture() {
    ui::Picture picture = ui::Picture::Blank(DemoImageSize, DemoImageSize);
    if (picture.Empty())
        return picture;
    ui::MemoryDC dc(::CreateCompatibleDC(nullptr));
    if (!dc)
        return ui::Picture();
    ui::Selection bitmap(dc.Get(), picture.Handle());
    {
        ui::Canvas canvas(dc.Get());
        canvas.FillRect(RECT{0, 0, DemoImageSize, DemoImageSize}, DemoImageTransparentColor);
        // A set square: a right triangle with a triangular opening.
        const POINT outer[] = {{4, 4}, {4, 59}, {59, 59}};
        const POINT inner[] = {{14, 26}, {14, 49}, {37, 49}};
        canvas.SetPenColor(SetSquareEdgeColor);
        canvas.SetBrushColor(SetSquareColor);
        canvas.Polygon(outer, 3);
        canvas.SetBrushColor(DemoImageTransparentColor);
        canvas.Polygon(inner, 3);
        // The yellow arc of a protractor scale around the right angle.
        canvas.SetPenColor(ArcColor);
        canvas.SetPenWidth(3);
        canvas.Realize();
        ::Arc(dc.Get(), -40, 14, 50, 104, 44, 59, 4, 19);
    }
    ::GdiFlush();
    return picture;
}

// ---------------------------------------------------------------- random source

void TDemoRandom::Randomize() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const uint32_t msOfDay =
        ((now.wHour * 60u + now.wMinute) * 60u + now.wSecond) * 1000u + now.wMilliseconds;
    engine_.seed(msOfDay);
}

int32_t TDemoRandom::Random(int32_t n) {
    if (n <= 0)
        return 0;
    return std::uniform_int_distribution<int32_t>(0, n - 1)(engine_);
}

// ---------------------------------------------------------------- the dialog

TOrvexTransparentAboutForm::TOrvexTransparentAboutForm(TItemStore& store, HWND owner,
                                                       std::function<void()> shownOrHidden)
    : PageControl(*this), AboutTabSheet(PageControl, L"About"),
      DokuTabSheet(PageControl, L"Documentation"), ExampleTabSheet(PageControl, L"Example"),
      AboutMemo(AboutTabSheet), InterfaceDokuMemo(DokuTabSheet), DemoImage(ExampleTabSheet),
      PointButton(ExampleTabSheet, L"create point"), LineButton(ExampleTabSheet, L"create line"),
      RectangleButton(ExampleTabSheet, L"create rectangle"),
      PolylineButton(ExampleTabSheet, L"create polyline"),
      TextButton(ExampleTabSheet, L"create text"), BitmapButton(ExampleTabSheet, L"create bitmap"),
      EllipseButton(ExampleTabSheet, L"create ellipse"),
      ClearButton(ExampleTabSheet, L"clear all objects"), FootPanel(*this),
      HomepageButton(FootPanel, L"Orvex SDK Homepage"),
      CloseButton(FootPanel, L"&Close"), DemoButtons{&PointButton,    &LineButton, &RectangleButton,
                                                     &PolylineButton, &TextButton, &BitmapButton,
                                                     &EllipseButton,  &ClearButton},
      Random(std::make_unique<TDemoRandom>()), OpenAddress(OpenWithShell), store_(store),
      shownOrHidden_(std::move(shownOrHidden)) {
    SetBorderStyle(ui::BorderStyle::ToolWindow);
    SetCaption(L"About Orvex SDK (Orvex.dll)");
    SetClientSize(AboutFormClientWidth, AboutFormClientHeight);
    SetFormStyle(ui::FormStyle::StayOnTop);
    SetPosition(ui::FormPosition::ScreenCenter);
    // Owned by the overlay window: it stays above it and goes with it.
    if (Handle() && owner)
        ::SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));

    FootPanel.SetHeight(FootPanelHeight);
    FootPanel.SetAlign(ui::Align::Bottom);
    HomepageButton.SetBounds(8, 8, 233, 25);
    CloseButton.SetBounds(632, 8, 75, 25);
    CloseButton.SetAnchors(ui::AnchorTop | ui::AnchorRight);
    PageControl.SetAlign(ui::Align::Client);

    const RECT about = AboutTabSheet.ClientArea();
    AboutMemo.SetBounds(8, 8, about.right - 16, about.bottom - 16);
    AboutMemo.SetAnchors(ui::AnchorAll);
    AboutMemo.SetReadOnly(true);
    AboutMemo.SetVerticalScrollBar(true);
    AboutMemo.SetText(AboutText());

    ui::FontSpec courier;
    courier.face = L"Courier New";
    courier.height = 11;
    InterfaceDokuMemo.SetFont(courier);
    InterfaceDokuMemo.SetAlign(ui::Align::Client);
    InterfaceDokuMemo.SetReadOnly(true);
    InterfaceDokuMemo.SetVerticalScrollBar(true);
    InterfaceDokuMemo.SetText(InterfaceDokuText());

    DemoImage.SetBounds(0, 0, DemoImageSize, DemoImageSize);
    DemoImage.SetPicture(MakeDemoPicture());
    DemoImage.SetVisible(false);

    ui::FontSpec arial;
    arial.face = L"Arial";
    arial.height = 16;
    arial.bold = true;
    for (ui::Button* button : DemoButtons)
        button->SetFont(arial);

    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
    PointButton.OnClick = [this] { PointButtonClick(); };
    LineButton.OnClick = [this] { LineButtonClick(); };
    RectangleButton.OnClick = [this] { RectangleButtonClick(); };
    PolylineButton.OnClick = [this] { PolylineButtonClick(); };
    TextButton.OnClick = [this] { TextButtonClick(); };
    BitmapButton.OnClick = [this] { BitmapButtonClick(); };
    EllipseButton.OnClick = [this] { EllipseButtonClick(); };
    ClearButton.OnClick = [this] { ClearButtonClick(); };
    CloseButton.OnClick = [this] { CloseButtonClick(); };
    HomepageButton.OnClick = [this] { HomepageButtonClick(); };
}

std::unique_ptr<TOrvexTransparentAboutForm> MakeLibraryDialog(TItemStore& store, HWND owner,
                                                              std::function<void()> shownOrHidden) {
    auto dialog =
        std::make_unique<TOrvexTransparentAboutForm>(store, owner, std::move(shownOrHidden));
    dialog->DoCreate();
    return dialog;
}

void TOrvexTransparentAboutForm::FormCreate() {
    // The pages fill the tab control's page area (a hidden page has no size
    // of its own yet).
    const RECT page = PageControl.ClientArea();
    const int w = page.right - page.left;
    const int h = page.bottom - page.top;
    for (int i = 0; i < DemoButtonCount; ++i) {
        const RECT r = DemoButtonRect(i, w, h);
        DemoButtons[i]->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
}

void TOrvexTransparentAboutForm::FormShow() {
    PageControl.SetActivePageIndex(0);
}

POINT TOrvexTransparentAboutForm::RandomPosition() {
    const int32_t x = Random->Random(::GetSystemMetrics(SM_CXSCREEN));
    const int32_t y = Random->Random(::GetSystemMetrics(SM_CYSCREEN));
    return POINT{x, y};
}

COLORREF TOrvexTransparentAboutForm::RandomColor() {
    const int32_t r = Random->Random(255);
    const int32_t g = Random->Random(255);
    const int32_t b = Random->Random(255);
    return RGB(r, g, b);
}

int32_t TOrvexTransparentAboutForm::RandomWidth() {
    return Random->Random(6) + 1;
}

RECT TOrvexTransparentAboutForm::RandomRect() {
    // Each corner on its own, so they may come in any order.
    const int32_t left = Random->Random(::GetSystemMetrics(SM_CXSCREEN));
    const int32_t top = Random->Random(::GetSystemMetrics(SM_CYSCREEN));
    const int32_t right = Random->Random(::GetSystemMetrics(SM_CXSCREEN));
    const int32_t bottom = Random->Random(::GetSystemMetrics(SM_CYSCREEN));
    return RECT{left, top, right, bottom};
}

// The demo buttons add to the demo list only; their results are of no use
// to anyone and are dropped.

void TOrvexTransparentAboutForm::PointButtonClick() {
    Random->Randomize();
    const POINT position = RandomPosition();
    const int32_t style = Random->Random(4);
    const COLORREF color = RandomColor();
    store_.AddPointItem(position, style, color, true);
}

void TOrvexTransparentAboutForm::LineButtonClick() {
    Random->Randomize();
    const POINT start = RandomPosition();
    const POINT end = RandomPosition();
    const int32_t width = RandomWidth();
    const COLORREF color = RandomColor();
    store_.AddLineItem(start, end, width, color, true);
}

void TOrvexTransparentAboutForm::RectangleButtonClick() {
    Random->Randomize();
    const RECT rect = RandomRect();
    const int32_t width = RandomWidth();
    const COLORREF color = RandomColor();
    store_.AddRectangleItem(rect, false, width, color, true);
}

void TOrvexTransparentAboutForm::PolylineButtonClick() {
    Random->Randomize();
    std::array<POINT, 5> points;
    for (POINT& p : points)
        p = RandomPosition();
    const int32_t width = RandomWidth();
    const COLORREF color = RandomColor();
    store_.AddPolylineItem(points.data(), static_cast<int32_t>(points.size()), false, width, color,
                           true);
}

void TOrvexTransparentAboutForm::TextButtonClick() {
    Random->Randomize();
    const POINT position = RandomPosition();
    const int32_t size = Random->Random(30) + 8;
    const bool bold = Random->Random(10) % 4 == 0;
    const bool italic = Random->Random(10) % 3 == 0;
    const COLORREF color = RandomColor();
    store_.AddTextItem(position, L"Test", L"Arial", size, bold, italic, color, true);
}

void TOrvexTransparentAboutForm::BitmapButtonClick() {
    // A picture that cannot be written makes the item fail: nothing is shown.
    ui::Picture picture = ui::Picture::FromBitmap(DemoImage.BitmapHandle());
    ui::SaveBmpFile(picture.ToPixels(), DemoImageFileName);
    const POINT position = RandomPosition();
    store_.AddBitmapItemByFile(position, DemoImageFileName, DemoImageTransparentColor, true);
}

void TOrvexTransparentAboutForm::EllipseButtonClick() {
    Random->Randomize();
    const RECT rect = RandomRect();
    const int32_t width = RandomWidth();
    const COLORREF color = RandomColor();
    store_.AddEllipseItem(rect, false, width, color, true);
}

void TOrvexTransparentAboutForm::ClearButtonClick() {
    store_.ClearItems(true);
}

LRESULT TOrvexTransparentAboutForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // However the dialog comes or goes (its buttons, the frame's close box,
    // Escape, its owner), the overlay shows or hides the client's items with
    // the next repaint.
    if (msg == WM_SHOWWINDOW && shownOrHidden_)
        shownOrHidden_();
    return ui::Form::HandleMessage(msg, wParam, lParam);
}

void TOrvexTransparentAboutForm::CloseButtonClick() {
    store_.ClearItems(true);
    Close();
}

void TOrvexTransparentAboutForm::HomepageButtonClick() {
    if (OpenAddress)
        OpenAddress(OrvexHomepageAddress);
}
