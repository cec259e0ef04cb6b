#include "overlay_window/uOrvexCursors.h"

#include "ui/Window.h"

TCursorSource CursorSourceFor(int32_t cursor) {
    auto system = [](LPCWSTR idc) {
        return TCursorSource{TCursorSource::System,
                             static_cast<int>(reinterpret_cast<UINT_PTR>(idc))};
    };
    auto own = [](int id) { return TCursorSource{TCursorSource::Own, id}; };
    switch (cursor) {
    case crNone:
        return TCursorSource{TCursorSource::None, 0};
    case crArrow:
        return system(IDC_ARROW);
    case crCross:
        return system(IDC_CROSS);
    case crIBeam:
        return system(IDC_IBEAM);
    case crSize:
        return system(IDC_SIZE);
    case crSizeNESW:
        return system(IDC_SIZENESW);
    case crSizeNS:
        return system(IDC_SIZENS);
    case crSizeNWSE:
        return system(IDC_SIZENWSE);
    case crSizeWE:
        return system(IDC_SIZEWE);
    case crUpArrow:
        return system(IDC_UPARROW);
    case crHourGlass:
        return system(IDC_WAIT);
    case crDrag:
        return own(OwnCursorDrag);
    case crNoDrop:
        return own(OwnCursorNoDrop);
    case crHSplit:
        return own(OwnCursorHSplit);
    case crVSplit:
        return own(OwnCursorVSplit);
    case crMultiDrag:
        return own(OwnCursorMultiDrag);
    case crSQLWait:
        return own(OwnCursorSQLWait);
    case crNo:
        return system(IDC_NO);
    case crAppStart:
        return system(IDC_APPSTARTING);
    case crHelp:
        return system(IDC_HELP);
    case crHandPoint:
        return own(OwnCursorHandPoint);
    case crSizeAll:
        return system(IDC_SIZEALL);
    default:
        return system(IDC_ARROW); // crDefault and every unknown number
    }
}

HCURSOR LoadCursorFor(int32_t cursor) {
    TCursorSource source = CursorSourceFor(cursor);
    HCURSOR h = nullptr;
    switch (source.kind) {
    case TCursorSource::None:
        return nullptr;
    case TCursorSource::System:
        h = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(source.id));
        break;
    case TCursorSource::Own:
        h = ::LoadCursorW(ui::Window::Instance(), MAKEINTRESOURCEW(source.id));
        break;
    }
    // Shared cursors from LoadCursor are never destroyed.
    return h ? h : ::LoadCursorW(nullptr, IDC_ARROW);
}
