// The Letter window: the greeting card proper, a yellow sheet in a red-brown
// frame with the greeting in a script font. In own-card mode the user edits
// the text, chooses the language and saves a personalised copy of the card.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "card/LetterFont.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/StdControls.h"

// Colours of the Letter window.
constexpr COLORREF LetterFrameColor = RGB(220, 110, 85);
constexpr COLORREF LetterPaperColor = RGB(255, 255, 0);
constexpr COLORREF LetterInkColor = RGB(255, 0, 0);

class TLetterForm : public ui::Form {
public:
    TLetterForm();

    ui::Panel BackgroundPanel;
    ui::Panel ParentPanel;
    ui::Panel Panel1;
    ui::Memo LetterMemo;
    ui::Panel ControlPanel;
    ui::FlatButton CreateOwnCardSpeedButton;
    ui::Label InfoLabel;
    ui::FlatButton SaveSpeedButton;
    ui::FlatButton HomepageSpeedButton;
    ui::ListBox LanguageListBox;
    ui::FlatButton HelpSpeedButton;
    ui::FlatButton ExitSpeedButton;

    bool IsPersonalCard = false;
    // The greeting's script font: the designed face or the one the program carries.
    TLetterFont ScriptFont;

    // The program file whose block is read and which is copied by a save;
    // the running program unless a test sets another.
    std::wstring ProgramFile;
    // The outside world, replaceable in tests: the shell opening an address,
    // the save dialog (the chosen file, or nothing when cancelled), and the
    // message box after a save.
    std::function<void(const std::string&)> OpenAddress;
    std::function<std::optional<std::wstring>()> AskSaveFile;
    std::function<void(const std::wstring& text, UINT icon)> ShowMessage;
    // Shows the card's about window modally.
    std::function<void()> ShowAboutModal;

    // 0 German, any other value English.
    int Language() const { return LanguageListBox.ItemIndex(); }

    void FormCreate();
    void FormShow();
    void LanguageListBoxClick();
    void CreateOwnCardSpeedButtonClick();
    void ExitSpeedButtonClick();
    void HomepageSpeedButtonClick();
    void HelpSpeedButtonClick();
    void SaveSpeedButtonClick();
    // Shows the text in the script font that has all its characters.
    void LetterMemoChange();
    // An edit cut at the card's limit: says how much of a paste was left out,
    // and that the card is full when typing meets the limit (once, until
    // there is room again).
    void LetterMemoLimit(size_t leftOut);

private:
    std::optional<std::wstring> RunSaveDialog();
    bool CardFullSaid = false;
};

extern TLetterForm* LetterForm;

// The full path of the running program file.
std::wstring RunningProgramFile();
// Opens an address with the shell ("open", shown normally), ignoring the result.
void OpenWithShell(const std::string& address);
