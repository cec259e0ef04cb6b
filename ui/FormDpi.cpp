// Forms on screens of any DPI: scaling a form and its components, fitting it
// to the monitor it opens on and to its work area, and following a move to a
// monitor of another DPI.
#include "ui/Form.h"

#include "ui/MonitorDpi.h"

namespace ui {

void Form::ScaleTo(int dpi) {
    if (dpi <= 0 || dpi == Dpi())
        return;
    std::vector<Font> retired;
    ScaleTree(Dpi(), dpi, retired);
    ResizeClient(ScaleToDpi(designClient_.cx, dpi), ScaleToDpi(designClient_.cy, dpi));
    ApplyScaleTree();
}

int Form::FittingDpiOn(HMONITOR monitor, int wanted) const {
    const RECT work = WorkAreaOf(monitor);
    const SIZE frame{Width() - ClientWidth(), Height() - ClientHeight()};
    return FittingDpi(designClient_, frame, SIZE{work.right - work.left, work.bottom - work.top},
                      wanted);
}

void Form::MoveIntoWorkArea(HMONITOR monitor) {
    const RECT inside = MoveIntoArea(bounds_, WorkAreaOf(monitor));
    if (!EqualRect(&inside, &bounds_)) {
        bounds_ = inside;
        ApplyBounds();
    }
}

void Form::ScaleToFit(HMONITOR monitor, int wanted) {
    ScaleTo(FittingDpiOn(monitor, wanted));
    // The frame may have grown with the DPI (the system scales it for
    // per-monitor v2 windows): measured again, it may ask for a smaller scale.
    ScaleTo(FittingDpiOn(monitor, wanted));
}

void Form::FitToMonitor() {
    // A centred form opens on the primary monitor, any other where it is.
    HMONITOR monitor = position_ == FormPosition::ScreenCenter
                           ? PrimaryMonitor()
                           : ::MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST);
    ScaleToFit(monitor, MonitorDpi(monitor));
    if (position_ == FormPosition::ScreenCenter)
        Center();
    MoveIntoWorkArea(monitor);
}

void Form::DpiChanged(int dpi, const RECT& suggested) {
    HMONITOR monitor = ::MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST);
    ScaleToFit(monitor, dpi);
    bounds_ =
        RECT{suggested.left, suggested.top, suggested.left + Width(), suggested.top + Height()};
    ApplyBounds();
    MoveIntoWorkArea(monitor);
}

} // namespace ui
