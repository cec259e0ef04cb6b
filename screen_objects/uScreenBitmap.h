// TScreenBitmap: a raster item whose picture comes from a file (BMP, ICO, JPG,
// or the main icon of a program file) or from a BITMAP resource of a module.
// The file name is stored with the item; pictures from resources are marked
// "::RES::" and are never written to a settings file.
#pragma once

#include "screen_objects/uScreenImage.h"
#include "ui/Handles.h"

#include <windows.h>

#include <string>

// The FileName of a picture that came from a resource.
inline constexpr wchar_t ResourceFileName[] = L"::RES::";
// Background and transparent colour of pictures made from icons.
constexpr COLORREF IconBackgroundColor = RGB(254, 5, 254);
// Numbered icon resources LoadMainIcon tries after the named ones.
constexpr int32_t MainIconLastNumber = 1000;

// The module's icon "MAINICON", else "APPICON", else the first of the
// numbered icons 1 .. 1000; none when it has no icon. The caller owns it.
ui::Icon LoadMainIcon(HMODULE module);

class TScreenBitmap : public TScreenImage {
public:
    TScreenBitmap();

    // False (nothing changed) when no such file exists. The extension chooses
    // the decoder: ".ICO", ".JPG", ".EXE" (the icon of a program file, read as
    // data: none of its code runs) and ".BMP"; any other extension gives an
    // empty picture, and so does a program file without icons. A file that
    // exists but cannot be decoded (for ".EXE": is no program file) throws
    // ui::PictureError and leaves picture, colour and FileName as they were.
    bool LoadFromFile(const std::wstring& fileName);
    // A missing or unreadable resource gives an empty picture; never throws.
    void LoadFromResource(HMODULE instance, const wchar_t* resourceName);
    // The same for an 8-bit (ANSI) name or a numbered resource (MAKEINTRESOURCEA).
    void LoadFromResource(HMODULE instance, const char* resourceName);

    void GetHint(bool english, std::wstring& text) override;
    void GetMenuCaption(bool english, std::wstring& text) override;
    void GetPlacementPrompt(bool english, int32_t step, std::wstring& text) override;
    void GetInfoText(std::wstring& text) override;
    // False also when the stored file is missing or cannot be decoded.
    bool LoadFromIni(const std::wstring& fileName, const std::wstring& section) override;
    void SaveToIni(const std::wstring& fileName, const std::wstring& section,
                   std::vector<std::wstring>* fileList) override;

    std::wstring FileName;
};
