// The messages the overlay window posts to its callback window, the status
// values of its status notifications and the library's results. The public
// header declares the same numbers for clients; the library checks at
// compile time that they agree.
#pragma once

#include <windows.h>

#include <cstdint>

// Mouse notifications: wParam the item's ID, lParam the pointer's position
// (PackMousePosition). The status notification: wParam the ID, lParam a status.
namespace OrvexMessage {
constexpr UINT Click = WM_USER + 7000;
constexpr UINT DblClick = WM_USER + 7001;
constexpr UINT MouseDown = WM_USER + 7002;
constexpr UINT MouseMove = WM_USER + 7003;
constexpr UINT MouseUp = WM_USER + 7004;
constexpr UINT StatusChanged = WM_USER + 7005;
} // namespace OrvexMessage

// Status values: the high digit names the property, the low digit its new state.
namespace OrvexStatus {
constexpr int32_t SetVisibleTrue = 0x11;
constexpr int32_t SetVisibleFalse = 0x10;
constexpr int32_t AutoShow = 0x21;
constexpr int32_t AutoHide = 0x20;
constexpr int32_t SetAutohideTrue = 0x31;
constexpr int32_t SetAutohideFalse = 0x30;
constexpr int32_t Insert = 0x41;
constexpr int32_t Delete = 0x40;
} // namespace OrvexStatus

// What the store's calls and the Orvex_ functions return.
namespace OrvexResult {
enum : int32_t {
    // The operations on one item (Orvex_Operation).
    Done = 1,             // carried out
    NoSuchItem = 0,       // no item of that ID; also no window, or an unknown operation
    OperationFailed = -1, // a failure, a refused value, or the window was closed
    // The creating functions, which otherwise give the new item's ID (> 0).
    NoWindow = -1, // there is no overlay window (for Orvex_Clear: or it was closed)
    NotMade = -2,  // the item could not be made: a missing file, an invalid argument
    Failed = -3,   // an unexpected failure, or the window was closed; nothing was added
    // Orvex_Clear, which otherwise gives the number of items removed.
    ClearFailed = -2,
    // Orvex_SetCallBackWindowHandle: the handle names no window, or there is
    // no window to notify from; nothing changed.
    CallbackRefused = -2,
};
} // namespace OrvexResult

// lParam of the mouse notifications: x in the low 16 bits, y in the high 16 bits.
inline LPARAM PackMousePosition(POINT p) {
    return static_cast<LPARAM>((static_cast<uint32_t>(p.x) & 0xFFFFu) |
                               ((static_cast<uint32_t>(p.y) & 0xFFFFu) << 16));
}
