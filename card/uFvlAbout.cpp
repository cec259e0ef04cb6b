#include "card/uFvlAbout.h"

#include "card/LetterTexts.h"
#include "card/uLetter.h"
#include "ui/Picture.h"

TFvlAboutForm* FvlAboutForm = nullptr;

namespace {
// The scene's picture from the program's resources, decoded from its JPEG.
ui::Bitmap ScreenViewBitmap() {
    try {
        ui::Picture picture =
            ui::Picture::LoadJpegResource(::GetModuleHandleW(nullptr), L"SCREENVIEW");
        return ui::Bitmap(static_cast<HBITMAP>(
            ::CopyImage(picture.Handle(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    } catch (const ui::PictureError&) {
        return ui::Bitmap();
    }
}
} // namespace

TFvlAboutForm::TFvlAboutForm()
    : ScreenViewImage(*this), InfoMemo(*this), SDKMemo(*this), OKButton(*this, L"&OK"),
      OpenAddress(OpenWithShell) {
    SetBorderStyle(ui::BorderStyle::ToolWindow);
    // Above the scene, which stays above every other program, and in front
    // of the Letter window that opens it.
    SetFormStyle(ui::FormStyle::StayOnTop);
    SetCaption(L"Über ...");
    SetClientSize(825, 457);
    SetColor(RGB(0, 0, 0));
    ui::FontSpec arial;
    arial.face = L"Arial";
    SetFont(arial);
    SetPosition(ui::FormPosition::ScreenCenter);
    // Sizes below are for 96 DPI; the window takes its monitor's DPI when
    // shown, and shrinks where the screen is too small for it.
    SetDpiScaling(true);

    ScreenViewImage.SetBounds(8, 8, 512, 384);
    ScreenViewImage.SetAutoSize(true);
    ScreenViewImage.SetBitmap(ScreenViewBitmap());

    InfoMemo.SetBounds(528, 8, 289, 345);
    InfoMemo.SetReadOnly(true);
    ui::FontSpec info = arial;
    info.height = 13;
    InfoMemo.SetFont(info);

    SDKMemo.SetBounds(8, 408, 809, 41);
    SDKMemo.SetReadOnly(true);

    OKButton.SetBounds(728, 360, 91, 33);
    OKButton.SetDefault(true);
    OKButton.SetCancel(true);

    OKButton.OnClick = [this] { OKButtonClick(); };
    SDKMemo.OnClick = [this] { SDKMemoClick(); };
    OnCreate = [this] { FormCreate(); };
}

void TFvlAboutForm::FormCreate() {
    SetActiveControl(&OKButton);
}

void TFvlAboutForm::OKButtonClick() {
    Close();
}

void TFvlAboutForm::SDKMemoClick() {
    int language = LetterForm ? LetterForm->Language() : 0;
    if (OpenAddress)
        OpenAddress(LibraryHomepage(language));
}
