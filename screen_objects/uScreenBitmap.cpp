#include "screen_objects/uScreenBitmap.h"

#include "screen_objects/uIniValues.h"

#include <cwctype>

namespace {

bool FileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

size_t NameStart(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/:");
    return slash == std::wstring::npos ? 0 : slash + 1;
}

std::wstring BareFileName(const std::wstring& path) {
    return path.substr(NameStart(path));
}

// The extension with its dot, upper-cased; empty when the name has none.
std::wstring UpperExtension(const std::wstring& path) {
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || dot < NameStart(path))
        return std::wstring();
    std::wstring ext = path.substr(dot);
    for (wchar_t& c : ext)
        c = static_cast<wchar_t>(std::towupper(c));
    return ext;
}

bool Contains(const std::wstring& text, const wchar_t* part) {
    return text.find(part) != std::wstring::npos;
}

// The main icon of a program file drawn over the icon background; empty for a
// program without icons. The file is mapped as data only, so none of its code
// runs and its imports are not loaded. A file the system cannot map as a
// program is undecodable like a broken picture.
ui::Picture ProgramFileIcon(const std::wstring& path) {
    ui::Module module(::LoadLibraryExW(path.c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module)
        module.Reset(::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module)
        throw ui::PictureError("not a program file");
    ui::Icon icon = LoadMainIcon(module.Get());
    if (!icon)
        return ui::Picture();
    return ui::Picture::FromIcon(icon.Get(), IconBackgroundColor);
}

} // namespace

ui::Icon LoadMainIcon(HMODULE module) {
    auto tryName = [module](const wchar_t* name) -> ui::Icon {
        if (!::FindResourceW(module, name, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */))
            return ui::Icon();
        return ui::Icon(
            static_cast<HICON>(::LoadImageW(module, name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    };
    if (!module)
        return ui::Icon();
    for (const wchar_t* name : {L"MAINICON", L"APPICON"})
        if (ui::Icon icon = tryName(name))
            return icon;
    for (int32_t i = 1; i <= MainIconLastNumber; ++i)
        if (ui::Icon icon = tryName(MAKEINTRESOURCEW(i)))
            return icon;
    return ui::Icon();
}

TScreenBitmap::TScreenBitmap() {
    TypeCode = TypeCodeBitmap;
}

bool TScreenBitmap::LoadFromFile(const std::wstring& fileName) {
    if (!FileExists(fileName))
        return false;
    const std::wstring ext = UpperExtension(fileName);
    ui::Picture working;
    bool iconPicture = false;
    if (Contains(ext, L"ICO")) {
        working = ui::Picture::LoadIcoFile(fileName, IconBackgroundColor);
        iconPicture = true;
    } else if (Contains(ext, L"JPG")) {
        working = ui::Picture::LoadJpegFile(fileName);
    } else if (Contains(ext, L"EXE")) {
        working = ProgramFileIcon(fileName);
        iconPicture = !working.Empty();
    } else if (Contains(ext, L"BMP")) {
        working = ui::Picture::LoadBmpFile(fileName);
    }
    // Only a decoded picture changes the item.
    if (iconPicture)
        TransparentColor = IconBackgroundColor;
    SetPicture(std::move(working));
    FileName = fileName;
    return true;
}

void TScreenBitmap::LoadFromResource(HMODULE instance, const wchar_t* resourceName) {
    ui::Picture picture;
    try {
        picture = ui::Picture::LoadBitmapResource(instance, resourceName);
    } catch (const ui::PictureError&) {
        // An unreadable resource leaves the picture empty.
    }
    SetPicture(std::move(picture));
    FileName = ResourceFileName;
}

void TScreenBitmap::LoadFromResource(HMODULE instance, const char* resourceName) {
    if (IS_INTRESOURCE(resourceName)) {
        LoadFromResource(instance, reinterpret_cast<const wchar_t*>(resourceName));
        return;
    }
    std::wstring wide;
    if (resourceName) {
        const int n = ::MultiByteToWideChar(CP_ACP, 0, resourceName, -1, nullptr, 0);
        if (n > 0) {
            wide.resize(static_cast<size_t>(n));
            ::MultiByteToWideChar(CP_ACP, 0, resourceName, -1, wide.data(), n);
            wide.resize(static_cast<size_t>(n - 1));
        }
    }
    LoadFromResource(instance, wide.c_str());
}

void TScreenBitmap::GetHint(bool english, std::wstring& text) {
    text = RasterHint(english, L"Right mouse button to delete bitmap.",
                      L"Click mit der rechten Maustaste um das Bitmap zu löschen.");
}

void TScreenBitmap::GetMenuCaption(bool english, std::wstring& text) {
    text = english ? L"delete bitmap" : L"Bitmap löschen";
}

void TScreenBitmap::GetPlacementPrompt(bool english, int32_t step, std::wstring& text) {
    text = RasterPlacementPrompt(
        english, step, L"Click on the position, where you want to place your bitmap.",
        L"Klicken Sie auf die Stelle, an die Sie das Bitmap setzen wollen.");
}

void TScreenBitmap::GetInfoText(std::wstring& text) {
    text.clear();
}

bool TScreenBitmap::LoadFromIni(const std::wstring& fileName, const std::wstring& section) {
    if (!TScreenImage::LoadFromIni(fileName, section))
        return false;
    FileName = ReadIniString(fileName, section, L"FileName", L"");
    if (FileName.empty())
        return false;
    try {
        return LoadFromFile(FileName);
    } catch (const ui::PictureError&) {
        return false;
    }
}

void TScreenBitmap::SaveToIni(const std::wstring& fileName, const std::wstring& section,
                              std::vector<std::wstring>* fileList) {
    if (FileName == ResourceFileName)
        return;
    TScreenImage::SaveToIni(fileName, section, fileList);
    if (!fileList) {
        WriteIniString(fileName, section, L"FileName", FileName);
        return;
    }
    WriteIniString(fileName, section, L"FileName", BareFileName(FileName));
    if (!FileName.empty())
        fileList->push_back(FileName);
}
