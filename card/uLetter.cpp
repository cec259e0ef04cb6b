#include "card/uLetter.h"

#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "card/CardFile.h"
#include "card/LetterTexts.h"
#include "card/uFvlAbout.h"
#include "card/uTinselscreen.h"
#include "ui/Application.h"
#include "ui/Strings.h"

TLetterForm* LetterForm = nullptr;

namespace {
constexpr int ControlRowHeight = 25;
constexpr int OwnCardRowHeight = 50;

ui::FontSpec RedFont(bool bold) {
    ui::FontSpec f;
    f.color = LetterInkColor;
    f.bold = bold;
    return f;
}
} // namespace

std::wstring RunningProgramFile() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return L"";
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void OpenWithShell(const std::string& address) {
    ::ShellExecuteA(ui::Application::Instance().Handle(), "open", address.c_str(), nullptr, nullptr,
                    SW_SHOWNORMAL);
}

TLetterForm::TLetterForm()
    : BackgroundPanel(*this), ParentPanel(BackgroundPanel), Panel1(ParentPanel), LetterMemo(Panel1),
      ControlPanel(ParentPanel), CreateOwnCardSpeedButton(ControlPanel), InfoLabel(ControlPanel),
      SaveSpeedButton(ControlPanel), HomepageSpeedButton(ControlPanel),
      LanguageListBox(ControlPanel), HelpSpeedButton(ControlPanel, L"?"),
      ExitSpeedButton(ControlPanel, L"X"), ScriptFont(::GetModuleHandleW(nullptr)),
      ProgramFile(RunningProgramFile()), OpenAddress(OpenWithShell) {
    SetBorderStyle(ui::BorderStyle::None);
    SetFormStyle(ui::FormStyle::StayOnTop);
    SetCaption(L"Letter");
    SetClientSize(665, 434);
    SetPosition(ui::FormPosition::ScreenCenter);
    // Sizes below are for 96 DPI; the window takes its monitor's DPI when shown.
    SetDpiScaling(true);

    BackgroundPanel.SetAlign(ui::Align::Client);
    BackgroundPanel.SetColor(LetterFrameColor);
    BackgroundPanel.SetBevel(ui::Bevel::None);

    ParentPanel.SetBounds(8, 8, 649, 417);
    ParentPanel.SetAnchors(ui::AnchorAll);
    ParentPanel.SetBevel(ui::Bevel::None);
    ParentPanel.SetColor(LetterPaperColor);

    ControlPanel.SetAlign(ui::Align::Bottom);
    ControlPanel.SetColor(LetterPaperColor);
    ControlPanel.SetBevel(ui::Bevel::None);
    ControlPanel.SetHeight(ControlRowHeight);

    Panel1.SetAlign(ui::Align::Client);
    Panel1.SetColor(LetterPaperColor);
    Panel1.SetBevel(ui::Bevel::None);

    LetterMemo.SetBounds(8, 8, 629, 347);
    LetterMemo.SetAnchors(ui::AnchorAll);
    LetterMemo.SetBorder(false);
    LetterMemo.SetColor(LetterPaperColor);
    ui::FontSpec script;
    script.face = LetterDesignedFace;
    script.height = 29;
    script.bold = true;
    script.italic = true;
    script.color = LetterInkColor;
    LetterMemo.SetFont(script);
    LetterMemo.SetReadOnly(true);
    // Long texts can be read whole; the default greeting needs no bar.
    LetterMemo.SetAutoVerticalScrollBar(true);
    // The card's block holds at most this many text bytes as stored (CR LF
    // counted), so a zero byte always ends the text.
    LetterMemo.SetMaxBytes(MaxCardTextBytes,
                           [](const std::wstring& text) { return StoredCardTextBytes(text); });
    LetterMemo.SetText(InitialLetterText());
    LetterMemoChange();

    CreateOwnCardSpeedButton.SetBounds(0, 0, 145, ControlRowHeight);
    InfoLabel.SetBounds(128, 4, 0, 0);
    InfoLabel.SetVisible(false);
    SaveSpeedButton.SetBounds(392, 0, 113, 22);
    SaveSpeedButton.SetFont(RedFont(true));
    SaveSpeedButton.SetVisible(false);
    HomepageSpeedButton.SetBounds(120, 24, 521, 22);
    HomepageSpeedButton.SetFont(RedFont(false));
    LanguageListBox.SetBounds(8, 8, 105, 33);
    LanguageListBox.SetItems({L"deutsch", L"english"});
    LanguageListBox.SetVisible(false);
    HelpSpeedButton.SetFont(RedFont(true));
    ExitSpeedButton.SetFont(RedFont(true));

    LanguageListBox.OnClick = [this] { LanguageListBoxClick(); };
    CreateOwnCardSpeedButton.OnClick = [this] { CreateOwnCardSpeedButtonClick(); };
    ExitSpeedButton.OnClick = [this] { ExitSpeedButtonClick(); };
    HomepageSpeedButton.OnClick = [this] { HomepageSpeedButtonClick(); };
    HelpSpeedButton.OnClick = [this] { HelpSpeedButtonClick(); };
    SaveSpeedButton.OnClick = [this] { SaveSpeedButtonClick(); };
    LetterMemo.OnChange = [this] { LetterMemoChange(); };
    LetterMemo.OnLimit = [this](size_t leftOut) { LetterMemoLimit(leftOut); };
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };

    AskSaveFile = [this] { return RunSaveDialog(); };
    ShowMessage = [this](const std::wstring& text, UINT icon) {
        ::MessageBoxW(Handle(), text.c_str(), ui::Application::Instance().Title().c_str(),
                      MB_OK | MB_TOPMOST | icon);
    };
    ShowAboutModal = [] {
        if (FvlAboutForm)
            FvlAboutForm->ShowModal();
    };
    LanguageListBox.SetItemIndex(0);
    LanguageListBoxClick();
}

void TLetterForm::FormCreate() {
    ControlPanel.SetHeight(Scaled(ControlRowHeight));
    const int h = ControlPanel.Height();
    const int w = ControlPanel.Width();
    ExitSpeedButton.SetBounds(w - h, 0, h, h);
    HelpSpeedButton.SetBounds(w - ExitSpeedButton.Width() - h, 0, h, h);
    CreateOwnCardSpeedButton.SetBounds(0, 0, CreateOwnCardSpeedButton.Width(), h);
}

void TLetterForm::FormShow() {
    LanguageListBox.SetItemIndex(0);
    IsPersonalCard = false;
    CardBlockRead block = ReadCardFileBlock(ProgramFile);
    if (block.personal) {
        IsPersonalCard = true;
        if (block.language)
            LanguageListBox.SetItemIndex(*block.language);
        if (block.text)
            LetterMemo.SetText(ShownCardText(*block.text));
        LetterMemoChange();
    }
    LanguageListBoxClick();
    if (Handle())
        ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TLetterForm::LetterMemoChange() {
    if (CardFullSaid && StoredCardTextBytes(LetterMemo.Text()) + 4 <= MaxCardTextBytes)
        CardFullSaid = false;
    ui::FontSpec font = LetterMemo.GetFont();
    const std::wstring face = ScriptFont.Face();
    if (font.face != face) {
        font.face = face;
        LetterMemo.SetFont(font);
    }
}

void TLetterForm::LetterMemoLimit(size_t leftOut) {
    // Room for any one more character (four bytes) lets the next stop speak again.
    const bool full = StoredCardTextBytes(LetterMemo.Text()) + 4 > MaxCardTextBytes;
    if (leftOut == 1 && full) {
        if (!CardFullSaid && ShowMessage)
            ShowMessage(CardFullMessage(Language()), MB_ICONINFORMATION);
        CardFullSaid = true;
        return;
    }
    if (ShowMessage)
        ShowMessage(PasteCutMessage(Language(), leftOut), MB_ICONWARNING);
}

void TLetterForm::LanguageListBoxClick() {
    LetterCaptions c = CaptionsFor(Language());
    CreateOwnCardSpeedButton.SetCaption(c.createOwnCard);
    InfoLabel.SetCaption(c.info);
    SaveSpeedButton.SetCaption(c.save);
    HomepageSpeedButton.SetCaption(c.homepage);
}

void TLetterForm::CreateOwnCardSpeedButtonClick() {
    if (FrostvaleForm) {
        FrostvaleForm->SnowFallTimer.SetEnabled(false);
        FrostvaleForm->SnowGroundTimer.SetEnabled(false);
    }
    CreateOwnCardSpeedButton.SetVisible(false);
    ControlPanel.SetHeight(Scaled(OwnCardRowHeight));
    LetterMemo.SetReadOnly(false);
    InfoLabel.SetVisible(true);
    SaveSpeedButton.SetVisible(true);
    LanguageListBox.SetVisible(true);
}

void TLetterForm::ExitSpeedButtonClick() {
    Close();
}

void TLetterForm::HomepageSpeedButtonClick() {
    if (OpenAddress)
        OpenAddress(CardHomepage(Language()));
}

void TLetterForm::HelpSpeedButtonClick() {
    // The Letter window stays above the scene; the about window, itself
    // stay-on-top, comes in front of it.
    const int language = LanguageListBox.ItemIndex();
    if (FvlAboutForm) {
        FvlAboutForm->InfoMemo.Clear();
        for (const std::wstring& line : HelpInfoLines(language))
            FvlAboutForm->InfoMemo.AddLine(line);
        FvlAboutForm->SDKMemo.Clear();
        for (const std::wstring& line : HelpSdkLines(language))
            FvlAboutForm->SDKMemo.AddLine(line);
    }
    if (ShowAboutModal)
        ShowAboutModal();
    LanguageListBox.SetItemIndex(language);
    LanguageListBoxClick();
}

std::optional<std::wstring> TLetterForm::RunSaveDialog() {
    std::vector<wchar_t> file(32768, L'\0');
    static const wchar_t filter[] = L"Programme\0*.exe\0";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = L"exe";
    ofn.Flags = OFN_EXPLORER;
    if (!::GetSaveFileNameW(&ofn))
        return std::nullopt;
    return std::wstring(file.data());
}

void TLetterForm::SaveSpeedButtonClick() {
    // The save dialog and the message boxes are owned by the Letter window,
    // which stays on top: they show above it and above the scene.
    const std::wstring text = LetterMemo.Text();
    const int language = LanguageListBox.ItemIndex();
    // A card without text would show the recipient an empty sheet.
    if (text.empty()) {
        ShowMessage(CardTextEmptyMessage(language), MB_ICONWARNING);
        return;
    }
    std::optional<std::wstring> target = AskSaveFile ? AskSaveFile() : std::nullopt;
    if (target) {
        switch (
            SaveCardFile(ProgramFile, IsPersonalCard, StoredCardText(text), language, *target)) {
        case CardSaveResult::Saved: {
            // Success only when the saved card shows exactly the text of the
            // window (every line break as CR LF, as the card reads them).
            const CardBlockRead back = ReadCardFileBlock(*target);
            const bool exact = back.text && ShownCardText(*back.text) == NormalizeLineBreaks(text);
            ShowMessage(exact ? CardSavedMessage(language) : CardTextNotExactMessage(language),
                        exact ? MB_ICONINFORMATION : MB_ICONERROR);
            break;
        }
        case CardSaveResult::TextTooLong:
            ShowMessage(CardTextTooLongMessage(language), MB_ICONWARNING);
            break;
        case CardSaveResult::Failed:
            ShowMessage(CardNotSavedMessage(language), MB_ICONERROR);
            break;
        }
    }

    LetterMemo.SetText(text);
    LetterMemoChange();
    LanguageListBox.SetItemIndex(language);
    LanguageListBoxClick();
}
