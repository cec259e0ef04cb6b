#include "screen_objects/uScreenObject.h"

#include "screen_objects/uGeometry.h"
#include "screen_objects/uIniValues.h"
#include "screen_objects/uMeasurementFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr int32_t MinPointSize = 4;
constexpr int32_t MaxPointSize = 20;
constexpr wchar_t PluginMarker[] = L"<PLUGIN:";
constexpr size_t PluginPrefixLength = 9; // "<PLUGIN:" and the blank after it

std::wstring FileNameOnly(const std::wstring& path) {
    const size_t pos = path.find_last_of(L"\\/:");
    return pos == std::wstring::npos ? path : path.substr(pos + 1);
}

bool IsExistingFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring PointKey(const wchar_t* axis, int32_t i) {
    return axis + std::to_wstring(i);
}

} // namespace

// ---------------------------------------------------------------------------
// TScreenObject

TScreenObject::TScreenObject() {
    UpdateBounds();
}

TScreenObject::~TScreenObject() {
    Points.clear();
    Capacity = 0;
    PointCount = 0;
}

HRGN TScreenObject::Paint(ui::Canvas& canvas, HRGN region, bool /*selected*/) {
    canvas.SetPenWidth(LineWidth);
    return region;
}

bool TScreenObject::HitTest(POINT point, int32_t /*maxDistance*/, int32_t& /*distance*/) {
    return PointInBounds(point);
}

bool TScreenObject::ContainsPoint(POINT point) {
    return PointInBounds(point) && Region && ::PtInRegion(Region.Get(), point.x, point.y);
}

bool TScreenObject::FindHandle(POINT, int32_t, POINT&, int32_t&) {
    return false;
}

int32_t TScreenObject::BeginDrag(uint8_t mode, int32_t, int32_t) {
    CurrentPoint = PointCount;
    Dragging = true;
    DragMode = mode;
    SnapshotPoints();
    return 0;
}

int32_t TScreenObject::EndDrag(int32_t, int32_t) {
    Dragging = false;
    DragMode = 0;
    std::vector<POINT>().swap(DragSnapshot);
    return 0;
}

bool TScreenObject::AppendPoint(int32_t x, int32_t y) {
    SetPointCount(PointCount + 1);
    CurrentPoint = PointCount;
    return MoveCurrentPoint(x, y);
}

bool TScreenObject::MoveCurrentPoint(int32_t x, int32_t y) {
    bool result = false;
    if (CurrentPoint >= 1 && CurrentPoint <= PointCount) {
        if (DragMode == 0 || DragMode == 1) {
            Vertex(CurrentPoint) = POINT{x, y};
            result = true;
        } else if (DragMode == 2) {
            // The whole shape follows the grabbed vertex and keeps its form.
            if (DragSnapshot.size() != Points.size())
                SnapshotPoints();
            const POINT grabbed = DragSnapshot[static_cast<size_t>(CurrentPoint - 1)];
            for (int32_t i = 1; i <= Capacity; ++i) {
                const POINT& s = DragSnapshot[static_cast<size_t>(i - 1)];
                Vertex(i) = i == CurrentPoint ? POINT{x, y}
                                              : POINT{x + s.x - grabbed.x, y + s.y - grabbed.y};
            }
            result = true;
        }
    }
    UpdateBounds();
    return result;
}

void TScreenObject::GetHint(bool english, std::wstring& text) {
    text = AppendUserHint(english ? L"delete" : L"löschen");
}

void TScreenObject::GetMenuCaption(bool english, std::wstring& text) {
    text = english ? L"delete" : L"löschen";
}

void TScreenObject::GetPlacementPrompt(bool, int32_t, std::wstring& text) {
    text.clear();
}

void TScreenObject::GetInfoText(std::wstring& text) {
    text.clear();
}

bool TScreenObject::LoadFromIni(const std::wstring& fileName, const std::wstring& section) {
    try {
        int32_t type = 0;
        if (!IniTextToInteger(ReadIniString(fileName, section, L"Type", L"0"), type) ||
            type != TypeCode)
            return false;
        SetPointType(ReadIniInteger(fileName, section, L"PointType", 0));
        SetPointColor(static_cast<COLORREF>(ReadIniInteger(fileName, section, L"PointColor", 0)));
        SetPointSize(ReadIniInteger(fileName, section, L"PointSize", PointSize));
        LineWidth = ReadIniInteger(fileName, section, L"LineWidth", LineWidth);
        PolygonFilled = ReadIniBool(fileName, section, L"PolygonFilled", PolygonFilled);
        SetLineColor(static_cast<COLORREF>(ReadIniInteger(fileName, section, L"LineColor", 0)));
        UserHint = ReadIniString(fileName, section, L"UserHint", UserHint);
        ShellExApp = ReadIniString(fileName, section, L"ShellExApp", ShellExApp);
        SetPointCount(ReadIniInteger(fileName, section, L"PointCount", 0));
        RelativePosition = ReadIniBool(fileName, section, L"RelativePosition", false);
        const SIZE desktop = DesktopSize();
        for (int32_t i = 1; i <= PointCount; ++i) {
            const int32_t x = ReadIniInteger(fileName, section, PointKey(L"PointX.", i), 0);
            const int32_t y = ReadIniInteger(fileName, section, PointKey(L"PointY.", i), 0);
            Vertex(i) = RelativePosition ? POINT{RelativeToPixels(x, desktop.cx),
                                                 RelativeToPixels(y, desktop.cy)}
                                         : POINT{x, y};
        }
        UpdateBounds();
        return true;
    } catch (...) {
        return false;
    }
}

void TScreenObject::SaveToIni(const std::wstring& fileName, const std::wstring& section,
                              std::vector<std::wstring>* fileList) {
    WriteIniInteger(fileName, section, L"Type", TypeCode);
    WriteIniInteger(fileName, section, L"PointType", PointType);
    WriteIniInteger(fileName, section, L"PointColor", static_cast<int32_t>(PointColor));
    WriteIniInteger(fileName, section, L"PointSize", PointSize);
    WriteIniInteger(fileName, section, L"LineWidth", LineWidth);
    WriteIniBool(fileName, section, L"PolygonFilled", PolygonFilled);
    WriteIniInteger(fileName, section, L"LineColor", static_cast<int32_t>(LineColor));
    WriteIniString(fileName, section, L"UserHint", UserHint);
    WriteIniString(fileName, section, L"ShellExApp", ShellExApp);
    if (fileList && !ShellExApp.empty()) {
        std::wstring upper = ShellExApp;
        ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
        if (upper.find(PluginMarker) != std::wstring::npos) {
            // "<PLUGIN: name>": the list gets the name.
            if (ShellExApp.size() > PluginPrefixLength + 1)
                fileList->push_back(ShellExApp.substr(PluginPrefixLength,
                                                      ShellExApp.size() - PluginPrefixLength - 1));
        } else if (IsExistingFile(ShellExApp)) {
            fileList->push_back(ShellExApp);
            WriteIniString(fileName, section, L"ShellExApp", FileNameOnly(ShellExApp));
        }
    }
    WriteIniInteger(fileName, section, L"PointCount", PointCount);
    if (RelativePosition) {
        WriteIniBool(fileName, section, L"RelativePosition", true);
        const SIZE desktop = DesktopSize();
        for (int32_t i = 1; i <= PointCount; ++i) {
            WriteIniInteger(fileName, section, PointKey(L"PointX.", i),
                            PixelsToRelative(Vertex(i).x, desktop.cx));
            WriteIniInteger(fileName, section, PointKey(L"PointY.", i),
                            PixelsToRelative(Vertex(i).y, desktop.cy));
        }
    } else {
        // A key left from an earlier relative save would make the pixel
        // values below read back as fractions of the desktop.
        DeleteIniKey(fileName, section, L"RelativePosition");
        for (int32_t i = 1; i <= PointCount; ++i) {
            WriteIniInteger(fileName, section, PointKey(L"PointX.", i), Vertex(i).x);
            WriteIniInteger(fileName, section, PointKey(L"PointY.", i), Vertex(i).y);
        }
    }
}

void TScreenObject::SetFillColor(COLORREF color) {
    FillColor = color;
}

void TScreenObject::SetPointSize(int32_t size) {
    PointSize = std::clamp(size, MinPointSize, MaxPointSize);
}

void TScreenObject::SetCapacity(int32_t n) {
    n = std::max(n, 0);
    Points.assign(static_cast<size_t>(n), POINT{0, 0});
    Capacity = n;
    // Never more vertices in use than allocated.
    PointCount = std::min(PointCount, Capacity);
}

void TScreenObject::SetPointCount(int32_t n) {
    PointCount = std::min(n > 0 ? n : 1, Capacity);
}

void TScreenObject::UpdateBounds() {
    Bounds = RECT{0, 0, -10, -10};
    if (PointCount <= 0)
        return;
    RECT b{Vertex(1).x, Vertex(1).y, Vertex(1).x, Vertex(1).y};
    for (int32_t i = 2; i <= PointCount; ++i) {
        b.left = std::min(b.left, Vertex(i).x);
        b.top = std::min(b.top, Vertex(i).y);
        b.right = std::max(b.right, Vertex(i).x);
        b.bottom = std::max(b.bottom, Vertex(i).y);
    }
    // Kept inside 32 bits for vertices near the ends of the range.
    Bounds = RECT{ClampToInt32(int64_t{b.left} - BoundsMargin),
                  ClampToInt32(int64_t{b.top} - BoundsMargin),
                  ClampToInt32(int64_t{b.right} + BoundsMargin),
                  ClampToInt32(int64_t{b.bottom} + BoundsMargin)};
}

bool TScreenObject::PointInBounds(POINT point) const {
    return Bounds.left < point.x && point.x < Bounds.right && Bounds.top < point.y &&
           point.y < Bounds.bottom;
}

HRGN TScreenObject::ResetRegion(HRGN source) {
    Region = ui::MakeEmptyRegion();
    if (source && Region)
        ::CombineRgn(Region.Get(), Region.Get(), source, RGN_OR);
    return Region.Get();
}

void TScreenObject::SnapshotPoints() {
    DragSnapshot = Points;
}

std::wstring TScreenObject::AppendUserHint(const std::wstring& text) const {
    if (UserHint.empty())
        return text;
    return text.empty() ? UserHint : text + LineBreak + UserHint;
}

std::wstring TScreenObject::ComposeHint(std::initializer_list<const wchar_t*> mouseLines) {
    std::wstring text;
    if (ShowMouseHelp)
        for (const wchar_t* line : mouseLines)
            text += std::wstring(line) + LineBreak;
    std::wstring info;
    GetInfoText(info);
    return AppendUserHint(text + info);
}

std::wstring TScreenObject::FormatLength(const std::wstring& label, double value) const {
    return ::FormatLength(label, value);
}

// ---------------------------------------------------------------------------
// Relative positions

int32_t PixelsToRelative(int32_t pixels, int32_t extent) {
    if (extent <= 0)
        return 0;
    return TruncToInt32(static_cast<double>(pixels) / extent * RelativeScale);
}

int32_t RelativeToPixels(int32_t relative, int32_t extent) {
    if (extent <= 0)
        return 0;
    // Rounded, not cut: the stored value was cut on writing, and cutting again
    // would move the vertex by a pixel on every save and load.
    return TruncToInt32(std::round(static_cast<double>(relative) / RelativeScale * extent));
}

SIZE DesktopSize() {
    return SIZE{::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// ---------------------------------------------------------------------------
// Polygon area and direction

int32_t PolygonArea(int32_t count, const POINT* vertices) {
    if (count <= 0 || !vertices)
        return 0;
    const POINT& first = vertices[0];
    const POINT& last = vertices[count - 1];
    int64_t s = (int64_t{first.x} - last.x) * (int64_t{last.y} + first.y);
    for (int32_t i = 1; i < count; ++i) {
        const POINT& p = vertices[i];
        const POINT& q = vertices[i - 1];
        s += (int64_t{p.x} - q.x) * (int64_t{p.y} + q.y);
    }
    return static_cast<int32_t>(std::clamp<int64_t>(s / 2, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

double DirectionAngle(double dx, double dy) {
    constexpr double pi = std::numbers::pi;
    if (dy > 0) {
        if (dx < 0)
            return -std::atan(dy / dx);
        if (dx > 0)
            return pi - std::atan(dy / dx);
        return pi / 2;
    }
    if (dx < 0)
        return 2 * pi - std::atan(dy / dx);
    if (dx > 0)
        return pi - std::atan(dy / dx);
    return 3 * pi / 2;
}
