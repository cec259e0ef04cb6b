// The card's help and about window: a picture of the scene, the help text and
// a note on the overlay technology that opens the library's homepage.
#pragma once

#include <functional>
#include <string>

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/StdControls.h"

class TFvlAboutForm : public ui::Form {
public:
    TFvlAboutForm();

    ui::PictureBox ScreenViewImage;
    ui::Memo InfoMemo;
    ui::Memo SDKMemo;
    ui::Button OKButton;

    // Opens an address with the shell; replaceable in tests.
    std::function<void(const std::string&)> OpenAddress;

    void FormCreate();
    void OKButtonClick();
    void SDKMemoClick();
};

extern TFvlAboutForm* FvlAboutForm;
