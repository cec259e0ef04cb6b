#include "picture_files.h"
#include "screen_objects/uIniValues.h"
#include "screen_objects/uScreenBitmap.h"

#include <gtest/gtest.h>

namespace tp = testpics;

namespace {

ui::PixelImage Stripes(int32_t w, int32_t h) {
    return tp::Make(w, h, [](int32_t x, int32_t) { return x % 2 ? 0x00FF0000u : 0x000000FFu; });
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The probe module beside the test program.
std::wstring ProbePath() {
    wchar_t self[MAX_PATH];
    DWORD n = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir(self, n);
    return dir.substr(0, dir.find_last_of(L'\\') + 1) + L"probe_module.exe";
}

std::vector<uint32_t> PixelsOf(const ui::Picture& p) {
    return p.ToPixels().Pixels;
}

} // namespace

TEST(BitmapFiles, LoadsByExtension) {
    TScreenBitmap bitmap;
    const std::wstring bmp = tp::WriteFile(L"stripes.bmp", tp::Bmp24(Stripes(6, 4)));
    ASSERT_TRUE(bitmap.LoadFromFile(bmp));
    EXPECT_EQ(PixelsOf(bitmap.Picture), Stripes(6, 4).Pixels);
    EXPECT_EQ(bitmap.FileName, bmp);
    EXPECT_EQ(bitmap.TransparentColor, RGB(0, 0, 0)) << "a BMP keeps the colour";

    const std::wstring jpg = tp::WriteFile(L"photo.JpG", tp::Jpeg(Stripes(16, 8)));
    ASSERT_TRUE(bitmap.LoadFromFile(jpg));
    EXPECT_EQ(bitmap.Picture.Width(), 16);
    EXPECT_EQ(bitmap.FileName, jpg);

    // An icon is drawn over the icon colour, which becomes the transparent one.
    // Masked-out pixels of an icon are black, so the background shows there.
    ui::PixelImage face =
        tp::Make(32, 32, [](int32_t x, int32_t y) { return x + y ? 0x00336699u : 0u; });
    std::vector<uint8_t> mask(32 * 32, 0);
    mask[0] = 1;
    const std::wstring ico = tp::WriteFile(L"face.ico", tp::Ico({{32, tp::IconDib(face, mask)}}));
    ASSERT_TRUE(bitmap.LoadFromFile(ico));
    EXPECT_EQ(bitmap.TransparentColor, IconBackgroundColor);
    EXPECT_EQ(bitmap.Picture.PixelColor(0, 0), IconBackgroundColor);
    EXPECT_EQ(bitmap.Picture.PixelColor(1, 0), ui::ColorFromPixel(0x00336699u));
    bitmap.SetTransparentColor(RGB(1, 1, 1));
    EXPECT_EQ(bitmap.TransparentColor, RGB(1, 1, 1));

    // Extensions that name no known format give an empty picture and success.
    for (const wchar_t* name : {L"photo.jpeg", L"notes.txt", L"noextension"}) {
        const std::wstring path = tp::WriteFile(name, tp::Jpeg(Stripes(4, 4)));
        ASSERT_TRUE(bitmap.LoadFromFile(path)) << path.c_str();
        EXPECT_TRUE(bitmap.Picture.Empty());
        EXPECT_EQ(bitmap.FileName, path);
    }

    // A missing file changes nothing.
    bitmap.LoadFromFile(bmp);
    EXPECT_FALSE(bitmap.LoadFromFile(tp::ScratchDir() + L"\\missing.bmp"));
    EXPECT_EQ(bitmap.FileName, bmp);
    EXPECT_EQ(bitmap.Picture.Width(), 6);
    EXPECT_FALSE(bitmap.LoadFromFile(tp::ScratchDir()));
}

TEST(BitmapFiles, UndecodableFilesThrowAndKeepTheItem) {
    std::vector<uint8_t> bmp = tp::Bmp24(Stripes(20, 20));
    bmp.resize(bmp.size() / 2);
    std::vector<uint8_t> jpg = tp::Jpeg(Stripes(20, 20));
    jpg[0] = 'X';
    std::vector<uint8_t> ico =
        tp::Ico({{32, tp::IconDib(Stripes(8, 8), std::vector<uint8_t>(64))}});
    ico[6 + 16 + 4 + 3] = 0x7F; // the image claims 2 billion pixels across
    std::vector<uint8_t> hugeBmp = tp::Bmp24(Stripes(2, 2));
    hugeBmp[21] = 0x40; // 1 073 741 826 pixels wide

    const std::wstring good = tp::WriteFile(L"good.bmp", tp::Bmp24(Stripes(3, 3)));
    for (auto [name, bytes] :
         {std::pair{L"cut.bmp", bmp}, std::pair{L"magic.jpg", jpg}, std::pair{L"absurd.ico", ico},
          std::pair{L"huge.bmp", hugeBmp}, std::pair{L"empty.bmp", std::vector<uint8_t>()}}) {
        TScreenBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadFromFile(good));
        bitmap.SetTransparentColor(RGB(7, 7, 7));
        const std::wstring path = tp::WriteFile(name, bytes);
        EXPECT_THROW(bitmap.LoadFromFile(path), ui::PictureError) << name;
        EXPECT_EQ(bitmap.FileName, good);
        EXPECT_EQ(bitmap.TransparentColor, RGB(7, 7, 7));
        EXPECT_EQ(PixelsOf(bitmap.Picture), Stripes(3, 3).Pixels);
    }
}

TEST(BitmapModules, ReadsTheIconOfAProgramFileWithoutRunningIt) {
    const std::wstring probe = ProbePath();
    const std::wstring mark = probe + L".ran";
    ASSERT_TRUE(Exists(probe));
    // The probe does leave its mark when loaded as code ...
    ::DeleteFileW(mark.c_str());
    {
        ui::Module code(::LoadLibraryW(probe.c_str()));
        ASSERT_TRUE(code);
    }
    ASSERT_TRUE(Exists(mark));
    ::DeleteFileW(mark.c_str());

    // ... but not when a bitmap item reads its icon.
    TScreenBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadFromFile(probe));
    EXPECT_FALSE(Exists(mark));
    EXPECT_EQ(bitmap.Picture.Width(), ::GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(bitmap.TransparentColor, IconBackgroundColor);
    int opaque = 0;
    for (uint32_t p : PixelsOf(bitmap.Picture))
        opaque += ui::ColorFromPixel(p) != IconBackgroundColor;
    EXPECT_GT(opaque, 0);

    // A file named .exe that is no program cannot be decoded, like a broken
    // picture: the item keeps what it had.
    TScreenBitmap text;
    text.SetTransparentColor(RGB(3, 3, 3));
    EXPECT_THROW(text.LoadFromFile(tp::WriteFile(L"plain.exe", {'h', 'i'})), ui::PictureError);
    EXPECT_TRUE(text.Picture.Empty());
    EXPECT_TRUE(text.FileName.empty());
    EXPECT_EQ(text.TransparentColor, RGB(3, 3, 3));

    ui::Module data(::LoadLibraryExW(probe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    EXPECT_TRUE(LoadMainIcon(data.Get()));
    EXPECT_FALSE(LoadMainIcon(::GetModuleHandleW(nullptr))) << "the test program has no icon";
    EXPECT_FALSE(LoadMainIcon(nullptr));
}

TEST(BitmapModules, ResourcesMatchTheSystemsDecoding) {
    const long handlesBefore = ui::LiveHandleCount();
    {
        ui::Module module(::LoadLibraryExW(ProbePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module);
        for (const wchar_t* name : {L"SNOWFLAKE", L"LETTER"}) {
            TScreenBitmap bitmap;
            bitmap.LoadFromResource(module.Get(), name);
            EXPECT_EQ(bitmap.FileName, ResourceFileName);
            ui::Bitmap system(static_cast<HBITMAP>(
                ::LoadImageW(module.Get(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
            ASSERT_TRUE(system);
            EXPECT_EQ(PixelsOf(bitmap.Picture), PixelsOf(ui::Picture::FromBitmap(system.Get())))
                << name;
        }
        TScreenBitmap ansi;
        ansi.LoadFromResource(module.Get(), "SNOWFLAKE");
        EXPECT_EQ(ansi.Picture.Width(), 26);

        TScreenBitmap missing;
        missing.LoadFromFile(tp::WriteFile(L"some.bmp", tp::Bmp24(Stripes(2, 2))));
        missing.LoadFromResource(module.Get(), L"NOSUCHBITMAP");
        EXPECT_TRUE(missing.Picture.Empty());
        EXPECT_EQ(missing.FileName, ResourceFileName);
        ui::Region acc = ui::MakeEmptyRegion();
        tp::Surface s(10, 10, RGB(0, 0, 0));
        missing.AppendPoint(5, 5);
        missing.Paint(s.canvas, acc.Get(), false);
        RECT box{};
        EXPECT_EQ(::GetRgnBox(acc.Get(), &box), NULLREGION);
        int32_t distance = 0;
        EXPECT_FALSE(missing.HitTest({5, 5}, 100, distance));
    }
    EXPECT_EQ(ui::LiveHandleCount(), handlesBefore);
}

TEST(BitmapPersistence, StoresTheFileNameNotResources) {
    const std::wstring ini = tp::IniPath(L"bitmap");
    ::DeleteFileW(ini.c_str());
    ui::Module module(::LoadLibraryExW(ProbePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    TScreenBitmap fromResource;
    fromResource.LoadFromResource(module.Get(), L"SNOWFLAKE");
    fromResource.AppendPoint(50, 50);
    std::vector<std::wstring> files;
    fromResource.SaveToIni(ini, L"Res", &files);
    EXPECT_EQ(ReadIniString(ini, L"Res", L"Type", L"none"), L"none");
    EXPECT_TRUE(files.empty());

    const std::wstring bmp = tp::WriteFile(L"stored.bmp", tp::Bmp24(Stripes(4, 2)));
    TScreenBitmap fromFile;
    ASSERT_TRUE(fromFile.LoadFromFile(bmp));
    fromFile.AppendPoint(60, 40);
    fromFile.SetTransparentColor(RGB(0, 0, 255));
    fromFile.SaveToIni(ini, L"Full", nullptr);
    EXPECT_EQ(ReadIniString(ini, L"Full", L"FileName", L""), bmp);
    EXPECT_EQ(ReadIniInteger(ini, L"Full", L"Type", 0), 8);
    fromFile.SaveToIni(ini, L"Listed", &files);
    EXPECT_EQ(ReadIniString(ini, L"Listed", L"FileName", L""), L"stored.bmp");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], bmp);

    TScreenBitmap loaded;
    ASSERT_TRUE(loaded.LoadFromIni(ini, L"Full"));
    EXPECT_EQ(loaded.FileName, bmp);
    EXPECT_EQ(loaded.TransparentColor, RGB(0, 0, 255));
    EXPECT_EQ(PixelsOf(loaded.Picture), Stripes(4, 2).Pixels);

    // No file name, a missing file and a broken file all load as failures.
    WriteIniString(ini, L"Full", L"FileName", L"");
    EXPECT_FALSE(loaded.LoadFromIni(ini, L"Full"));
    WriteIniString(ini, L"Full", L"FileName", tp::ScratchDir() + L"\\gone.bmp");
    EXPECT_FALSE(loaded.LoadFromIni(ini, L"Full"));
    WriteIniString(ini, L"Full", L"FileName", tp::WriteFile(L"broken.bmp", {'B', 'M', 1}));
    EXPECT_FALSE(loaded.LoadFromIni(ini, L"Full"));
    ::DeleteFileW(ini.c_str());
}

TEST(BitmapTexts, HintsCaptionsAndPrompts) {
    TScreenBitmap bitmap;
    std::wstring text;
    bitmap.GetHint(true, text);
    EXPECT_EQ(text, L"Right mouse button to delete bitmap.\n\rLeft mouse button (keep pressed) to "
                    L"change position");
    bitmap.UserHint = L"mine";
    bitmap.GetHint(false, text);
    EXPECT_EQ(text, L"Click mit der rechten Maustaste um das Bitmap zu löschen.\n\rClick mit der "
                    L"linken Maustaste (gedrückt halten) um die Position zu verändern.\n\rmine");
    bitmap.ShowMouseHelp = false;
    bitmap.GetHint(true, text);
    EXPECT_EQ(text, L"mine");
    bitmap.GetMenuCaption(false, text);
    EXPECT_EQ(text, L"Bitmap löschen");
    bitmap.GetPlacementPrompt(true, 2, text);
    EXPECT_EQ(text, L"Click on the position, where you want to place your bitmap.\n\rRight mouse "
                    L"button to cancel.");
    bitmap.GetPlacementPrompt(true, 3, text);
    EXPECT_TRUE(text.empty());
    bitmap.GetInfoText(text);
    EXPECT_TRUE(text.empty());
}
