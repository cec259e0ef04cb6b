// The library's homepage, opened from the overlay window's menu and from the
// library dialog.
#pragma once

inline constexpr wchar_t OrvexHomepageAddress[] = L"https://orvex.frostvale.example/";
