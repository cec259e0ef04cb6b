#include "card/LetterTexts.h"

namespace {
bool German(int language) {
    return language == 0;
}
} // namespace

LetterCaptions CaptionsFor(int language) {
    if (German(language))
        return {L"Eigene Karte schreiben ...",
                L"Bearbeiten Sie einfach den Text und drücken Sie dann", L"Speichern",
                L"Homepage von Frostvale-Card"};
    return {L"Write your own card ...", L"Please edit the text in the textbox above and then press",
            L"Save", L"Homepage of Frostvale Card"};
}

std::wstring InitialLetterText() {
    return L"Hallo\r\n"
           L"\r\n"
           L"ich wünsche Ihnen ein frohes Weihnachtsfest \r\n"
           L"und einen guten Rutsch ins Neue Jahr\r\n"
           L"...\r\n"
           L"\r\n"
           L"Passen Sie die Grußkarte an und schicken Sie sie \r\n"
           L"dann Ihren Verwandten und Freunden";
}

std::vector<std::wstring> HelpInfoLines(int language) {
    if (German(language))
        return {
            L"Die Frostvale Karte zaubert eine verschneite Winterlandschaft auf dem "
            L"Computerbildschirm - zusammen mit einer Grußkarte deren Text Sie anpassen können.",
            L"",
            L"Hierzu drücken Sie einfach auf den Knopf \"Eigene Karte schreiben ...\" auf dem "
            L"vorherigen Fenster.",
            L"Dann können Sie den Nachrichtentext bearbeiten und die Karte danach unter einem "
            L"neuen Namen speichern.",
            L"",
            L"Das Programm kann nach dem Lesen der Karte über das schwarze Kästchen in der rechten "
            L"oberen Bildschirmecke beendet werden.",
            L"",
            L"Das komplette Bild ist nach ca 2 Minuten dargestellt - der Schneemann kommt zum "
            L"Schluß.",
        };
    return {
        L"The Frostvale Karte creates a wintere scenery on your computer desktop - including a "
        L"greeting card.",
        L"You can modify the content of the greeting card for a personal message to your friends.",
        L"",
        L"Just press the button \"Create own card ...\" in the previous dialog.",
        L"Then you can edit the text. When finished, press \"Save\" and chosse a filename.",
        L"",
        L"You can exit this application by clicking the black square in the right top corner of "
        L"your screen.",
        L"",
        L"The winter scenery will be complete after 2 minutes - the snowman will appear at the "
        L"end.",
    };
}

std::vector<std::wstring> HelpSdkLines(int language) {
    if (German(language))
        return {
            L"Die Frostvale-Karte verwendet die Orvex Technologie, um Schneeflocken, Schneemann, "
            L"etc auf den Bildschirm zu zeichnen.",
            L"Sie können diese ebenfalls in Ihren Programmen einsetzen. Klicken Sie einfach auf "
            L"diesen Text um zur Hompage des Orvex SDKs zu gelangen.",
        };
    return {
        L"The frostvale card uses the Orvex technology to draw the snow and the snowman.",
        L"You can also use this technology in your application.Click here to visit the homepage "
        L"of the Orvex SDK.",
    };
}

std::string CardHomepage(int language) {
    return German(language) ? "https://frostvale-karte.example/de/?Cardversion=1.0.1.1"
                            : "https://frostvale-karte.example/en/?Cardversion=1.0.1.1";
}

std::string LibraryHomepage(int language) {
    return German(language) ? "https://orvex.example/de/" : "https://orvex.example/en/";
}

const wchar_t* CardSavedMessage(int language) {
    return German(language) ? L"Die Karte wurde gespeichert! Sie können Sie nun verschicken."
                            : L"The new card was saved. You can sent it now to your friends.";
}

const wchar_t* CardNotSavedMessage(int language) {
    return German(language)
               ? L"Die Karte konnte nicht gespeichert werden. Bitte wählen Sie einen anderen "
                 L"Namen oder Ordner."
               : L"The card could not be saved. Please choose another name or folder.";
}

const wchar_t* CardTextNotExactMessage(int language) {
    return German(language)
               ? L"Die Karte wurde gespeichert, aber ihr Text ließ sich nicht genau so speichern, "
                 L"wie er hier steht. Bitte prüfen Sie den Text und speichern Sie noch einmal."
               : L"The card was saved, but its text could not be stored exactly as it stands "
                 L"here. Please check the text and save again.";
}

const wchar_t* CardTextEmptyMessage(int language) {
    return German(language) ? L"Die Karte hat noch keinen Text. Bitte schreiben Sie zuerst Ihren "
                              L"Gruß."
                            : L"The card has no text yet. Please write your greeting first.";
}

const wchar_t* CardFullMessage(int language) {
    return German(language) ? L"Die Karte ist voll: Mehr Text passt nicht hinein."
                            : L"The card is full: no more text fits.";
}

std::wstring PasteCutMessage(int language, size_t leftOut) {
    const std::wstring n = std::to_wstring(leftOut);
    if (German(language))
        return leftOut == 1 ? L"Der eingefügte Text passte nicht ganz auf die Karte: Das letzte "
                              L"Zeichen wurde weggelassen."
                            : L"Der eingefügte Text passte nicht ganz auf die Karte: Die letzten " +
                                  n + L" Zeichen wurden weggelassen.";
    return leftOut == 1 ? L"The pasted text did not fit on the card: its last character was left "
                          L"out."
                        : L"The pasted text did not fit on the card: its last " + n +
                              L" characters were left out.";
}

const wchar_t* CardTextTooLongMessage(int language) {
    return German(language) ? L"Der Text ist zu lang für die Karte. Bitte kürzen Sie ihn."
                            : L"The text is too long for the card. Please shorten it.";
}
