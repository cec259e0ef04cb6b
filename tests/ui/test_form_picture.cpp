// A small form built from the toolkit, shown on the screen and photographed:
// the pixels at chosen points show each component where and as it was laid
// out. The photograph is kept as toolkit_form.bmp beside the tests.
#include "UiTestSupport.h"

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Picture.h"
#include "ui/StdControls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr COLORREF kFormColor = RGB(40, 60, 90);
constexpr COLORREF kPanelColor = RGB(220, 110, 85);
constexpr COLORREF kMemoColor = RGB(255, 255, 160);
constexpr COLORREF kButtonText = RGB(128, 0, 0);
constexpr COLORREF kMemoText = RGB(0, 0, 160);
constexpr COLORREF kStampColor = RGB(0, 160, 0);
constexpr COLORREF kStampLine = RGB(255, 255, 255);

struct SampleForm {
    ui::Form form;
    ui::Panel topPanel{form};
    ui::FlatButton saveButton{topPanel, L"Speichern"};
    ui::ListBox languages{form};
    ui::Memo letter{form};
    ui::PictureBox stamp{form};

    SampleForm() {
        form.SetBorderStyle(ui::BorderStyle::None);
        form.SetFormStyle(ui::FormStyle::StayOnTop);
        form.SetColor(kFormColor);
        form.SetBounds(100, 100, 400, 300);
        topPanel.SetHeight(60);
        topPanel.SetAlign(ui::Align::Top);
        topPanel.SetColor(kPanelColor);
        saveButton.SetBounds(10, 10, 120, 40);
        saveButton.SetFont(ui::FontSpec{L"Arial", 16, true, false, kButtonText});
        languages.SetBounds(10, 80, 150, 100);
        languages.SetItems({L"deutsch", L"english"});
        languages.SetItemIndex(1);
        letter.SetBounds(180, 80, 200, 200);
        letter.SetBorder(false);
        letter.SetReadOnly(true);
        letter.SetColor(kMemoColor);
        letter.SetFont(ui::FontSpec{L"Arial", 18, true, false, kMemoText});
        letter.SetText(L"Hallo\r\n\r\nFrohe Weihnachten");
        // A decoded picture: green with a white diagonal.
        ui::Picture green = ui::Picture::Blank(48, 32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 48; ++x)
                green.Bits()[y * 48 + x] = ui::PixelFromColor(x == y ? kStampLine : kStampColor);
        stamp.SetBounds(10, 200, 1, 1);
        stamp.SetAutoSize(true);
        stamp.SetPicture(std::move(green));
    }
};

// The screen's pixels under the form's client area.
ui::Picture Photograph(const ui::Form& form) {
    ui::Picture shot = ui::Picture::Blank(form.Width(), form.Height());
    ui::WindowDC screen(nullptr);
    ui::MemoryDC mem(::CreateCompatibleDC(screen.Get()));
    {
        ui::Selection select(mem.Get(), shot.Handle());
        ::BitBlt(mem.Get(), 0, 0, form.Width(), form.Height(), screen.Get(), form.Left(),
                 form.Top(), SRCCOPY);
    }
    shot.Flush();
    return shot;
}

bool SaveBmp(const ui::Picture& picture, const char* path) {
    const uint32_t rowBytes = static_cast<uint32_t>(picture.Width()) * 4;
    const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(picture.Height());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + dataBytes;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = picture.Width();
    info.biHeight = -picture.Height(); // top-down rows, as the picture holds them
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    // Opaque pixels: some viewers read the fourth byte as alpha.
    std::vector<uint32_t> pixels(picture.Bits(), picture.Bits() + dataBytes / 4);
    for (uint32_t& px : pixels)
        px |= 0xFF000000u;
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 &&
              std::fwrite(&info, sizeof info, 1, f) == 1 &&
              std::fwrite(pixels.data(), 1, dataBytes, f) == dataBytes;
    return std::fclose(f) == 0 && ok;
}

// Whether some pixel of the rectangle satisfies the test.
bool AnyPixel(const ui::Picture& p, RECT r, const std::function<bool(COLORREF)>& test) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (test(p.PixelColor(x, y)))
                return true;
    return false;
}

bool Reddish(COLORREF c) {
    return GetRValue(c) > 90 && GetGValue(c) < 60 && GetBValue(c) < 60;
}
bool Bluish(COLORREF c) {
    return GetBValue(c) > 100 && GetRValue(c) < 80 && GetGValue(c) < 80;
}

TEST(FormPicture, SampleFormShowsAsLaidOut) {
    SampleForm s;
    s.form.Show();
    ::UpdateWindow(s.form.Handle());
    uitest::Pump(300);
    ui::Picture shot = Photograph(s.form);
    EXPECT_TRUE(SaveBmp(shot, "toolkit_form.bmp"));

    EXPECT_EQ(shot.PixelColor(5, 295), kFormColor) << "form background";
    EXPECT_EQ(shot.PixelColor(300, 30), kPanelColor) << "panel along the top";
    EXPECT_EQ(shot.PixelColor(395, 59), kPanelColor);
    EXPECT_EQ(shot.PixelColor(395, 61), kFormColor) << "the panel is 60 pixels high";
    // The flat button lies on the panel's colour with its caption in dark red.
    EXPECT_EQ(shot.PixelColor(12, 12), kPanelColor);
    EXPECT_TRUE(AnyPixel(shot, RECT{10, 10, 130, 50}, Reddish)) << "button caption";
    EXPECT_FALSE(AnyPixel(shot, RECT{140, 10, 390, 50}, Reddish));
    // The text box: yellow, without a border, its text in blue.
    EXPECT_EQ(shot.PixelColor(180, 279), kMemoColor) << "text box corner, no border";
    EXPECT_EQ(shot.PixelColor(379, 279), kMemoColor);
    EXPECT_EQ(shot.PixelColor(178, 279), kFormColor);
    EXPECT_TRUE(AnyPixel(shot, RECT{180, 80, 380, 110}, Bluish)) << "first line of text";
    EXPECT_FALSE(AnyPixel(shot, RECT{180, 200, 380, 280}, Bluish)) << "below the last line";
    // The list box: its second item selected.
    RECT item;
    ::SendMessageW(s.languages.Handle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    POINT selected{item.right - 3, (item.top + item.bottom) / 2};
    ::MapWindowPoints(s.languages.Handle(), s.form.Handle(), &selected, 1);
    EXPECT_EQ(shot.PixelColor(selected.x, selected.y), ::GetSysColor(COLOR_HIGHLIGHT));
    ::SendMessageW(s.languages.Handle(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    POINT unselected{item.right - 3, (item.top + item.bottom) / 2};
    ::MapWindowPoints(s.languages.Handle(), s.form.Handle(), &unselected, 1);
    EXPECT_EQ(shot.PixelColor(unselected.x, unselected.y), ::GetSysColor(COLOR_WINDOW));

    // The picture at (10, 200), sized to its 48 x 32 pixels.
    EXPECT_EQ(s.stamp.Width(), 48);
    EXPECT_EQ(shot.PixelColor(10 + 47, 200), kStampColor);
    EXPECT_EQ(shot.PixelColor(10 + 20, 200 + 20), kStampLine);
    EXPECT_EQ(shot.PixelColor(10 + 21, 200 + 20), kStampColor);
    EXPECT_EQ(shot.PixelColor(10 + 48, 200), kFormColor);
    EXPECT_EQ(shot.PixelColor(10, 200 + 32), kFormColor);

    // Pointing at the flat button raises its edge.
    ::SendMessageW(s.saveButton.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    ::UpdateWindow(s.saveButton.Handle());
    uitest::Pump(50);
    ui::Picture hot = Photograph(s.form);
    EXPECT_EQ(hot.PixelColor(10, 10), ::GetSysColor(COLOR_BTNHIGHLIGHT)) << "hover look";
    EXPECT_EQ(hot.PixelColor(12, 12), kPanelColor);
    s.form.Hide();
}

} // namespace
