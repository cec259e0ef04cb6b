// The artwork inside the built program file: the scene's bitmaps with their
// sizes, colour depths and transparent-colour roles, the icon, the cursors,
// the about picture and the version record.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/Handles.h"
#include "ui/Picture.h"

namespace {

std::wstring ProgramDir() {
    wchar_t path[MAX_PATH];
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L"\\/") + 1);
}

ui::Module LoadCardAsData() {
    std::wstring exe = ProgramDir() + L"Frostvale-Karte.exe";
    return ui::Module(::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

// The raw BITMAPINFOHEADER of a BITMAP resource: the depth the file was saved with.
const BITMAPINFOHEADER* RawHeader(HMODULE m, const wchar_t* name) {
    HRSRC r = ::FindResourceW(m, name, MAKEINTRESOURCEW(2)); // RT_BITMAP
    if (!r)
        return nullptr;
    HGLOBAL g = ::LoadResource(m, r);
    return g ? static_cast<const BITMAPINFOHEADER*>(::LockResource(g)) : nullptr;
}

// The bitmap as 32-bit pixels, top row first.
std::vector<COLORREF> Pixels(HBITMAP bmp, int w, int h) {
    std::vector<COLORREF> out;
    ui::MemoryDC dc(::CreateCompatibleDC(nullptr));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<DWORD> raw(size_t(w) * h);
    if (::GetDIBits(dc.Get(), bmp, 0, h, raw.data(), &bi, DIB_RGB_COLORS) != h)
        return out;
    for (DWORD p : raw)
        out.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    return out;
}

struct BitmapCase {
    const wchar_t* name;
    int width, height, bits;
};

TEST(CardResources, BitmapsHaveTheirSizesDepthsAndColourRoles) {
    ui::Module m = LoadCardAsData();
    ASSERT_TRUE(m) << "Frostvale-Karte.exe not found beside the test";
    const BitmapCase cases[] = {{L"FVLCLOSEBUTTON", 40, 40, 4},
                                {L"LETTER", 104, 68, 8},
                                {L"SNOWFLAKE", 26, 26, 4},
                                {L"SNOWMANFACE", 78, 63, 4}};
    for (const BitmapCase& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
        const BITMAPINFOHEADER* h = RawHeader(m.Get(), c.name);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(h->biWidth, c.width);
        EXPECT_EQ(h->biHeight, c.height);
        EXPECT_EQ(h->biBitCount, c.bits);

        ui::Bitmap bmp(static_cast<HBITMAP>(
            ::LoadImageW(m.Get(), c.name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ASSERT_TRUE(bmp);
        BITMAP info{};
        ASSERT_EQ(::GetObjectW(bmp.Get(), sizeof info, &info), int(sizeof info));
        EXPECT_EQ(info.bmWidth, c.width);
        EXPECT_EQ(info.bmHeight, c.height);
    }

    auto load = [&](const wchar_t* name, int w, int h) {
        ui::Bitmap b(static_cast<HBITMAP>(
            ::LoadImageW(m.Get(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        return Pixels(b.Get(), w, h);
    };
    auto count = [](const std::vector<COLORREF>& px, COLORREF c) {
        size_t n = 0;
        for (COLORREF p : px)
            n += p == c;
        return n;
    };

    // The close box and the letter are drawn opaque with the key RGB(1,1,1):
    // they must not contain that colour.
    std::vector<COLORREF> box = load(L"FVLCLOSEBUTTON", 40, 40);
    ASSERT_EQ(box.size(), 1600u);
    EXPECT_EQ(count(box, RGB(1, 1, 1)), 0u);
    EXPECT_EQ(box[0], RGB(192, 192, 192)) << "the frame is light grey";
    EXPECT_EQ(box[5 * 40 + 5], RGB(0, 0, 0)) << "the square is black";
    EXPECT_GT(count(box, RGB(255, 255, 255)), 20u) << "a white flake in the middle";

    std::vector<COLORREF> letter = load(L"LETTER", 104, 68);
    ASSERT_EQ(letter.size(), 104u * 68u);
    EXPECT_EQ(count(letter, RGB(1, 1, 1)), 0u);

    // The flake's background is black (its transparent colour), with white in it.
    std::vector<COLORREF> flake = load(L"SNOWFLAKE", 26, 26);
    ASSERT_EQ(flake.size(), 676u);
    EXPECT_EQ(flake[0], RGB(0, 0, 0));
    EXPECT_EQ(flake[25 * 26 + 25], RGB(0, 0, 0));
    EXPECT_EQ(flake[12 * 26 + 12], RGB(255, 255, 255));

    // The face lies on magenta (its transparent colour); the features are not magenta.
    std::vector<COLORREF> face = load(L"SNOWMANFACE", 78, 63);
    ASSERT_EQ(face.size(), 78u * 63u);
    EXPECT_EQ(face[0], RGB(255, 0, 255));
    EXPECT_EQ(face[62 * 78 + 77], RGB(255, 0, 255));
    size_t magenta = count(face, RGB(255, 0, 255));
    EXPECT_GT(magenta, face.size() / 2);
    EXPECT_LT(magenta, face.size() - 200) << "eyes, nose and smile are missing";
}

TEST(CardResources, IconCursorsPictureAndVersionArePresent) {
    ui::Module m = LoadCardAsData();
    ASSERT_TRUE(m);
    EXPECT_NE(::FindResourceW(m.Get(), L"MAINICON", MAKEINTRESOURCEW(14)),
              nullptr); // RT_GROUP_ICON
    for (int id = 32761; id <= 32767; ++id) {
        SCOPED_TRACE(id);
        EXPECT_NE(::FindResourceW(m.Get(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(12)), nullptr);
    }
    HRSRC pic = ::FindResourceW(m.Get(), L"SCREENVIEW", MAKEINTRESOURCEW(10)); // RT_RCDATA
    ASSERT_NE(pic, nullptr);
    auto* jpg = static_cast<const unsigned char*>(::LockResource(::LoadResource(m.Get(), pic)));
    ASSERT_NE(jpg, nullptr);
    DWORD jpgSize = ::SizeofResource(m.Get(), pic);
    ASSERT_GT(jpgSize, 4u);
    EXPECT_EQ(jpg[0], 0xFF);
    EXPECT_EQ(jpg[1], 0xD8);
    // A baseline JPEG: its frame header is SOF0, never a progressive SOF2.
    bool sof0 = false, sof2 = false;
    for (DWORD i = 2; i + 1 < jpgSize; ++i) {
        sof0 |= jpg[i] == 0xFF && jpg[i + 1] == 0xC0;
        sof2 |= jpg[i] == 0xFF && jpg[i + 1] == 0xC2;
    }
    EXPECT_TRUE(sof0);
    EXPECT_FALSE(sof2);
    ui::Picture view = ui::Picture::LoadJpegMemory(jpg, jpgSize);
    EXPECT_EQ(view.Width(), 512);
    EXPECT_EQ(view.Height(), 384);

    // The cursors load as cursors from the running card too.
    std::wstring exe = ProgramDir() + L"Frostvale-Karte.exe";
    ui::Module live(::LoadLibraryW(exe.c_str()));
    ASSERT_TRUE(live);
    for (int id = 32761; id <= 32767; ++id) {
        HCURSOR c = ::LoadCursorW(live.Get(), MAKEINTRESOURCEW(id));
        EXPECT_NE(c, nullptr) << id;
    }

    // Version record: "Frostvale-Karte", file and product version 1.0.1.1.
    DWORD dummy = 0;
    DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &dummy);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00010001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00010001u);
    wchar_t* product = nullptr;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\StringFileInfo\\040704E4\\ProductName",
                                 reinterpret_cast<void**>(&product), &len));
    EXPECT_STREQ(product, L"Frostvale-Karte");
}

} // namespace
