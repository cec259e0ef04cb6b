#include "overlay_api/uOrvexTransparent.h"

#include "overlay_window/uOrvexTransparentAbout.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "screen_objects/uScreenFreehand.h"
#include "ui/Handles.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>

// The header's numbers and names for clients are the overlay's own.
static_assert(std::wstring_view(ORVEX_WINDOW_CLASS) == OverlayWindowClass &&
              std::wstring_view(ORVEX_WINDOW_TITLE) == OverlayWindowTitle);
static_assert(ORVEX_MAX_POLYLINE_VERTICES == FreehandCapacity);
static_assert(ORVEX_CURSOR_DEFAULT == crDefault && ORVEX_CURSOR_NONE == crNone &&
              ORVEX_CURSOR_ARROW == crArrow && ORVEX_CURSOR_CROSS == crCross &&
              ORVEX_CURSOR_IBEAM == crIBeam && ORVEX_CURSOR_SIZE == crSize &&
              ORVEX_CURSOR_SIZENESW == crSizeNESW && ORVEX_CURSOR_SIZENS == crSizeNS &&
              ORVEX_CURSOR_SIZENWSE == crSizeNWSE && ORVEX_CURSOR_SIZEWE == crSizeWE &&
              ORVEX_CURSOR_UPARROW == crUpArrow && ORVEX_CURSOR_WAIT == crHourGlass &&
              ORVEX_CURSOR_DRAG == crDrag && ORVEX_CURSOR_NODROP == crNoDrop &&
              ORVEX_CURSOR_HSPLIT == crHSplit && ORVEX_CURSOR_VSPLIT == crVSplit &&
              ORVEX_CURSOR_MULTIDRAG == crMultiDrag && ORVEX_CURSOR_SQLWAIT == crSQLWait &&
              ORVEX_CURSOR_NO == crNo && ORVEX_CURSOR_APPSTARTING == crAppStart &&
              ORVEX_CURSOR_HELP == crHelp && ORVEX_CURSOR_HAND == crHandPoint &&
              ORVEX_CURSOR_SIZEALL == crSizeAll);
static_assert(WM_TRANSPARENTELEMENT_CLICK == OrvexMessage::Click &&
              WM_TRANSPARENTELEMENT_DBLCLK == OrvexMessage::DblClick &&
              WM_TRANSPARENTELEMENT_MOUSEDOWN == OrvexMessage::MouseDown &&
              WM_TRANSPARENTELEMENT_MOUSEMOVE == OrvexMessage::MouseMove &&
              WM_TRANSPARENTELEMENT_MOUSEUP == OrvexMessage::MouseUp &&
              WM_TRANSPARENTELEMENT_STATUSCHANGED == OrvexMessage::StatusChanged);
static_assert(ORVEX_NO_WINDOW == static_cast<int32_t>(OrvexResult::NoWindow) &&
              ORVEX_NOT_MADE == static_cast<int32_t>(OrvexResult::NotMade) &&
              ORVEX_EXCEPTION == static_cast<int32_t>(OrvexResult::Failed));
static_assert(STATUSCHANGED_SET_VISIBLE_TRUE == OrvexStatus::SetVisibleTrue &&
              STATUSCHANGED_SET_VISIBLE_FALSE == OrvexStatus::SetVisibleFalse &&
              STATUSCHANGED_AUTOSHOW == OrvexStatus::AutoShow &&
              STATUSCHANGED_AUTOHIDE == OrvexStatus::AutoHide &&
              STATUSCHANGED_SET_AUTOHIDE_TRUE == OrvexStatus::SetAutohideTrue &&
              STATUSCHANGED_SET_AUTOHIDE_FALSE == OrvexStatus::SetAutohideFalse &&
              STATUSCHANGED_INSERT == OrvexStatus::Insert &&
              STATUSCHANGED_DELETE == OrvexStatus::Delete);

namespace {

// Process-wide state. The form is owned here and released only by the
// library end, never by static destruction (a dying process keeps it).
TTransparentForm* FormInstance = nullptr;
OverlayCoverage Coverage = OverlayCoverage::VirtualDesktop;
bool FormCreated = false;
int StartCount = 0;
bool Ended = false;

std::string Num(long long v) {
    return std::to_string(v);
}

std::string PointText(POINT p) {
    return "(" + Num(p.x) + "/" + Num(p.y) + ")";
}

std::string TextOrNull(const char* s) {
    return s ? std::string(s) : std::string("(null)");
}

// A resource name, which may also be a number given as MAKEINTRESOURCE.
std::string ResourceNameText(const char* name) {
    if (name && IS_INTRESOURCE(name))
        return "#" + std::to_string(reinterpret_cast<UINT_PTR>(name));
    return TextOrNull(name);
}

void ReleaseForm(bool destroyWindow) {
    TTransparentForm* form = FormInstance;
    FormInstance = nullptr;
    FormCreated = false;
    if (form && destroyWindow) {
        form->Close();
        delete form;
    }
}

// The frame every logged function shares: the call's lines, the guarded body
// (made sure the window exists first), the result line.
using ArgumentLines = std::vector<std::string>;

template <typename Lines, typename Body>
int32_t Guarded(const char* name, Lines argumentLines, int32_t noWindow, int32_t onException,
                Body body) {
    if (DebugMode()) {
        try {
            WriteDebugLine(name);
            for (const std::string& line : argumentLines())
                WriteDebugLine(line);
        } catch (...) {
        }
    }
    int32_t result;
    try {
        if (!FormCreated)
            EnsureTransparentForm();
        result = FormInstance ? body(*FormInstance) : noWindow;
    } catch (...) {
        result = onException;
    }
    if (DebugMode()) {
        try {
            WriteDebugLine(std::string(name) + " [" + Num(result) + "]");
        } catch (...) {
        }
    }
    return result;
}

template <typename Lines, typename Body>
int32_t GuardedCreate(const char* name, Lines argumentLines, Body body) {
    return Guarded(name, argumentLines, OrvexResult::NoWindow, OrvexResult::Failed, body);
}

} // namespace

// ---------------------------------------------------------------- state

TTransparentForm* TransparentForm() {
    return FormInstance;
}

void OrvexCloseOverlay() {
    if (FormInstance)
        FormInstance->Close();
}

int32_t OrvexAddScreenObject(const char* name, std::unique_ptr<TScreenObject> object) {
    auto lines = [] { return ArgumentLines{"  (a screen object of the program)"}; };
    return GuardedCreate(name, lines, [&](TTransparentForm& form) {
        if (!object)
            return static_cast<int32_t>(OrvexResult::NotMade);
        return form.Store().AddScreenObject(std::move(object), false);
    });
}

void SetOverlayCoverage(OverlayCoverage coverage) {
    Coverage = coverage;
    if (FormInstance)
        FormInstance->Presenter().SetCoverage(coverage);
}
bool TransparentFormCreated() {
    return FormCreated;
}

void EnsureTransparentForm() {
    if (FormCreated)
        return;
    auto* form = new TTransparentForm();
    form->Presenter().SetCoverage(Coverage);
    if (!form->CreateForm()) {
        delete form;
        return;
    }
    // The menu's library dialog, a client of the store like the program.
    form->SetLibraryDialogMaker([form] {
        return MakeLibraryDialog(form->Store(), form->Handle(),
                                 [form] { form->LibraryDialogShownOrHidden(); });
    });
    FormInstance = form;
    FormCreated = true;
}

void OrvexLibraryStart(bool makeWindow) {
    if (StartCount++ > 0)
        return;
    DisableDebugLog();
    try {
        if (::GetFileAttributesW(DebugMarkerFileName(ProgramFileName()).c_str()) !=
            INVALID_FILE_ATTRIBUTES)
            EnableDebugLog();
    } catch (...) {
    }
    WriteDebugLine("DLL initialized");
    if (makeWindow) {
        try {
            EnsureTransparentForm();
        } catch (...) {
        }
    }
}

void OrvexLibraryEnd(bool processExiting) {
    if (Ended)
        return;
    Ended = true;
    try {
        if (FormCreated)
            ReleaseForm(!processExiting);
    } catch (...) {
    }
    WriteDebugLine("DLL finalized");
    if (const std::vector<std::string>* lines = DebugLogLines()) {
        try {
            SaveDebugLog(*lines, DebugLogFileName(ProgramFileName()));
        } catch (...) {
        }
        DisableDebugLog();
    }
}

// ---------------------------------------------------------------- helpers

RECT ConvertEllipseRect(RECT r) {
    // In 64 bits, so rectangles near the ends of the 32-bit range neither
    // overflow nor wrap; the corners are kept inside that range.
    const long double root2 = std::sqrt(2.0L);
    const int64_t cx = (int64_t{r.left} + r.right) / 2;
    const int64_t cy = (int64_t{r.top} + r.bottom) / 2;
    const auto hx =
        static_cast<int64_t>(std::trunc((static_cast<long double>(r.right) - r.left) / 2 / root2));
    const auto hy =
        static_cast<int64_t>(std::trunc((static_cast<long double>(r.bottom) - r.top) / 2 / root2));
    auto fit = [](int64_t v) {
        return static_cast<LONG>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return RECT{fit(cx - hx), fit(cy - hy), fit(cx + hx), fit(cy + hy)};
}

int32_t PointTypeForStyle(int32_t style) {
    return style >= ORVEX_POINT_CROSS && style <= ORVEX_POINT_RECTANGLE ? style - ORVEX_POINT_CROSS
                                                                        : -1;
}

std::string ColorDebugText(COLORREF color) {
    return std::to_string(static_cast<unsigned long>(color)) + " = RGB(" + Num(GetRValue(color)) +
           "/" + Num(GetGValue(color)) + "/" + Num(GetBValue(color)) + ")";
}

std::wstring AnsiToWide(const char* text) {
    if (!text || !*text)
        return std::wstring();
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), n);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

// ---------------------------------------------------------------- the Orvex_ functions

extern "C" {

int32_t __stdcall Orvex_Clear(void) {
    return Guarded(
        "Orvex_Clear", [] { return ArgumentLines{}; }, OrvexResult::NoWindow,
        OrvexResult::ClearFailed,
        [](TTransparentForm& form) { return form.Store().ClearItems(false); });
}

int32_t __stdcall Orvex_SetCallBackWindowHandle(HWND Handle) {
    try {
        if (!FormCreated)
            EnsureTransparentForm();
        // No overlay window, or one that was closed: nothing would be notified.
        if (!FormInstance || !FormInstance->Store().ListsExist())
            return OrvexResult::CallbackRefused;
        // A handle that names no window is refused; the window set before
        // keeps receiving the notifications.
        if (Handle && !::IsWindow(Handle))
            return OrvexResult::CallbackRefused;
        FormInstance->Store().SetCallbackWindow(Handle);
        return OrvexResult::Done;
    } catch (...) {
        return OrvexResult::CallbackRefused;
    }
}

int32_t __stdcall Orvex_Operation(int32_t Operation, int32_t ID, int32_t Value1, int32_t Value2,
                                  int32_t Value3) {
    auto lines = [&] {
        return ArgumentLines{"  Operation " + Num(Operation), "  ID " + Num(ID),
                             "  Value 1/2/3 = " + Num(Value1) + " / " + Num(Value2) + " / " +
                                 Num(Value3)};
    };
    return Guarded("Orvex_Operation", lines, OrvexResult::NoSuchItem, OrvexResult::OperationFailed,
                   [&](TTransparentForm& form) -> int32_t {
                       switch (Operation) {
                       case TRANSPARENTELEMENT_OPERATION_DELETE:
                           return form.Store().DeleteItem(ID);
                       case TRANSPARENTELEMENT_OPERATION_SHOW:
                           return form.Store().ShowItem(ID, Value1 != 0);
                       case TRANSPARENTELEMENT_OPERATION_LINEWIDTH:
                           return form.Store().SetItemLineWidth(ID, Value1);
                       case TRANSPARENTELEMENT_OPERATION_ISFILLED:
                           return form.Store().SetItemFilled(ID, Value1 != 0);
                       case TRANSPARENTELEMENT_OPERATION_SETCOLOR:
                           return form.Store().SetItemColor(ID, static_cast<COLORREF>(Value1));
                       case TRANSPARENTELEMENT_OPERATION_SETAUTOHIDE:
                           return form.Store().SetItemAutohide(ID, Value1 != 0);
                       case TRANSPARENTELEMENT_OPERATION_SETZORDER:
                           return form.Store().SetItemZOrder(ID, Value1);
                       case TRANSPARENTELEMENT_OPERATION_SETMOUSECURSOR:
                           return form.Store().SetItemCursor(ID, Value1);
                       default:
                           return OrvexResult::NoSuchItem;
                       }
                   });
}

static ArgumentLines RectLines(RECT r, COLORREF color) {
    return {"  Rect(" + Num(r.left) + "/" + Num(r.top) + "/" + Num(r.right) + "/" + Num(r.bottom) +
                ")",
            "  Color = " + ColorDebugText(color)};
}

int32_t __stdcall Orvex_Rectangle(RECT Rect, COLORREF Color) {
    return GuardedCreate(
        "Orvex_Rectangle", [&] { return RectLines(Rect, Color); },
        [&](TTransparentForm& form) {
            return form.Store().AddRectangleItem(Rect, false, 1, Color, false);
        });
}

int32_t __stdcall Orvex_Ellipse(RECT Rect, COLORREF Color) {
    return GuardedCreate(
        "Orvex_Ellipse", [&] { return RectLines(Rect, Color); },
        [&](TTransparentForm& form) {
            return form.Store().AddEllipseItem(ConvertEllipseRect(Rect), false, 1, Color, false);
        });
}

int32_t __stdcall Orvex_BitmapByResource(POINT Position, intptr_t Instance,
                                         const char* ResourceName, COLORREF TransparentColor) {
    auto lines = [&] {
        return ArgumentLines{"  Point" + PointText(Position), "  Instance = " + Num(Instance),
                             "  ResourceName (Type=BITMAP) = " + ResourceNameText(ResourceName),
                             "  TransparentColor = " + ColorDebugText(TransparentColor)};
    };
    return GuardedCreate("Orvex_BitmapByResource", lines, [&](TTransparentForm& form) {
        if (!ResourceName)
            return static_cast<int32_t>(OrvexResult::NotMade);
        HMODULE module = reinterpret_cast<HMODULE>(Instance);
        return form.Store().AddBitmapItemByResource(
            Position, module, AnsiToWide(ResourceNameText(ResourceName).c_str()), TransparentColor,
            false);
    });
}

int32_t __stdcall Orvex_Point(POINT Position, int32_t Style, COLORREF Color) {
    auto lines = [&] {
        return ArgumentLines{"  Point" + PointText(Position), "  Style = " + Num(Style),
                             "  Color = " + ColorDebugText(Color)};
    };
    return GuardedCreate("Orvex_Point", lines, [&](TTransparentForm& form) {
        int32_t type = PointTypeForStyle(Style);
        if (type < 0)
            return static_cast<int32_t>(OrvexResult::NotMade);
        return form.Store().AddPointItem(Position, type, Color, false);
    });
}

int32_t __stdcall Orvex_Line(POINT StartPoint, POINT EndPoint, int32_t Width, COLORREF Color) {
    auto lines = [&] {
        return ArgumentLines{"  StartPoint" + PointText(StartPoint),
                             "  EndPoint" + PointText(EndPoint), "  Width = " + Num(Width),
                             "  Color = " + ColorDebugText(Color)};
    };
    return GuardedCreate("Orvex_Line", lines, [&](TTransparentForm& form) {
        return form.Store().AddLineItem(StartPoint, EndPoint, Width, Color, false);
    });
}

int32_t __stdcall Orvex_Polyline(const POINT* Points, int32_t NumPoint, int32_t Width,
                                 COLORREF Color) {
    auto lines = [&] {
        return ArgumentLines{std::string("  Points = ") + (Points ? "array" : "(null)"),
                             "  NumPoint = " + Num(NumPoint), "  Width = " + Num(Width),
                             "  Color = " + ColorDebugText(Color)};
    };
    return GuardedCreate("Orvex_Polyline", lines, [&](TTransparentForm& form) {
        if (!Points || NumPoint < 0 || NumPoint > ORVEX_MAX_POLYLINE_POINTS)
            return static_cast<int32_t>(OrvexResult::NotMade);
        return form.Store().AddPolylineItem(Points, NumPoint, false, Width, Color, false);
    });
}

int32_t __stdcall Orvex_Text(POINT Position, const char* Text, const char* FontName, int32_t Size,
                             int32_t Bold, int32_t Italic, COLORREF Color) {
    auto lines = [&] {
        return ArgumentLines{"  Point" + PointText(Position),
                             "  Text = " + TextOrNull(Text),
                             "  FontName = " + TextOrNull(FontName),
                             "  Size = " + Num(Size),
                             "  Bold/Italic = " + Num(Bold) + " / " + Num(Italic),
                             "  Color = " + ColorDebugText(Color)};
    };
    return GuardedCreate("Orvex_Text", lines, [&](TTransparentForm& form) {
        if (!Text || !FontName)
            return static_cast<int32_t>(OrvexResult::NotMade);
        return form.Store().AddTextItem(Position, AnsiToWide(Text), AnsiToWide(FontName), Size,
                                        Bold != 0, Italic != 0, Color, false);
    });
}

int32_t __stdcall Orvex_BitmapByFile(POINT Position, const char* FileName,
                                     COLORREF TransparentColor) {
    auto lines = [&] {
        return ArgumentLines{"  Point" + PointText(Position),
                             "  FileName = " + TextOrNull(FileName),
                             "  TransparentColor = " + ColorDebugText(TransparentColor)};
    };
    return GuardedCreate("Orvex_BitmapByFile", lines, [&](TTransparentForm& form) {
        if (!FileName)
            return static_cast<int32_t>(OrvexResult::NotMade);
        return form.Store().AddBitmapItemByFile(Position, AnsiToWide(FileName), TransparentColor,
                                                false);
    });
}

} // extern "C"
