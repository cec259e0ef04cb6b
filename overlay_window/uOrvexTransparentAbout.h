// TOrvexTransparentAboutForm: the library's own information window. It
// introduces the library, documents its function interface and has a demo
// page whose buttons put random shapes on the screen. It is a client of the
// item store like any other: the shapes go into the store's demo list, which
// raises no notifications and is the only list painted while this window is
// visible. The overlay window owns it and shows it without a modal loop.
#pragma once

#include "overlay_window/uOrvexItemStore.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Picture.h"
#include "ui/StdControls.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

constexpr int AboutFormClientWidth = 717;
constexpr int AboutFormClientHeight = 417;
constexpr int FootPanelHeight = 41;
constexpr int DemoImageSize = 64;
// Background of the demo picture, shown as transparent on the screen.
constexpr COLORREF DemoImageTransparentColor = RGB(255, 0, 255);
// The file the demo picture is written to, in the current directory.
inline constexpr wchar_t DemoImageFileName[] = L"ruler.bmp";
// Number of demo buttons; they form two columns of four rows.
constexpr int DemoButtonCount = 8;

// Bounds of demo button index (0 .. 7, row by row, left column first) on an
// Example page of width w and height h: w / 2 × h / 4 each.
RECT DemoButtonRect(int index, int w, int h);

// The texts of the About and Documentation pages, lines joined by CR LF.
std::wstring AboutText();
std::wstring InterfaceDokuText();

// The 64 × 64 demo picture: a grey set square with a yellow arc on magenta.
ui::Picture MakeDemoPicture();

// The random source of the demo buttons: Random(n) in 0 .. n - 1 (0 for n of
// 0 or less); Randomize re-seeds from the time of day.
class TDemoRandom {
public:
    virtual ~TDemoRandom() = default;
    virtual void Randomize();
    virtual int32_t Random(int32_t n);

private:
    std::mt19937 engine_{std::random_device{}()};
};

class TOrvexTransparentAboutForm : public ui::Form {
public:
    // The demo buttons add to the store's demo list; the window is owned by
    // owner (it stays above it and goes with it); shownOrHidden is called
    // whenever the window is shown or hidden, however that happens.
    TOrvexTransparentAboutForm(TItemStore& store, HWND owner, std::function<void()> shownOrHidden);

    ui::TabControl PageControl;
    ui::TabPage AboutTabSheet;
    ui::TabPage DokuTabSheet;
    ui::TabPage ExampleTabSheet;
    ui::Memo AboutMemo;
    ui::Memo InterfaceDokuMemo;
    ui::PictureBox DemoImage;
    ui::Button PointButton;
    ui::Button LineButton;
    ui::Button RectangleButton;
    ui::Button PolylineButton;
    ui::Button TextButton;
    ui::Button BitmapButton;
    ui::Button EllipseButton;
    ui::Button ClearButton;
    ui::Panel FootPanel;
    ui::Button HomepageButton;
    ui::Button CloseButton;

    // The demo buttons in grid order (row by row, left column first).
    ui::Button* DemoButtons[DemoButtonCount];

    // Replaceable in tests: the random source and the shell's "open".
    std::unique_ptr<TDemoRandom> Random;
    std::function<void(const std::wstring&)> OpenAddress;

    void FormCreate();
    void FormShow();
    void PointButtonClick();
    void LineButtonClick();
    void RectangleButtonClick();
    void PolylineButtonClick();
    void TextButtonClick();
    void BitmapButtonClick();
    void EllipseButtonClick();
    void ClearButtonClick();
    void CloseButtonClick();
    void HomepageButtonClick();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    POINT RandomPosition();
    COLORREF RandomColor();
    int32_t RandomWidth();
    RECT RandomRect();

    TItemStore& store_;
    std::function<void()> shownOrHidden_;
};

// The dialog, made and created (hidden), as the overlay window's maker of
// its library dialog makes it.
std::unique_ptr<TOrvexTransparentAboutForm> MakeLibraryDialog(TItemStore& store, HWND owner,
                                                              std::function<void()> shownOrHidden);
