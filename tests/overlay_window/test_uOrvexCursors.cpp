// Cursor numbers: the system's cursors and the program's own resources.
#include "overlay_window/uOrvexCursors.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(TransparentFormCursors, NumbersSelectSystemAndOwnCursors) {
    EXPECT_EQ(CursorSourceFor(crNone).kind, TCursorSource::None);
    auto system = [](int32_t n) { return CursorSourceFor(n).kind == TCursorSource::System; };
    auto id = [](int32_t n) { return CursorSourceFor(n).id; };
    EXPECT_TRUE(system(crDefault));
    EXPECT_EQ(id(crDefault), id(crArrow));
    EXPECT_EQ(id(crCross), int(reinterpret_cast<UINT_PTR>(IDC_CROSS)));
    EXPECT_EQ(id(crHourGlass), int(reinterpret_cast<UINT_PTR>(IDC_WAIT)));
    EXPECT_EQ(id(crSizeAll), int(reinterpret_cast<UINT_PTR>(IDC_SIZEALL)));
    EXPECT_EQ(id(crHelp), int(reinterpret_cast<UINT_PTR>(IDC_HELP)));
    const std::pair<int16_t, int> own[] = {
        {crDrag, 32766},      {crNoDrop, 32767},  {crHSplit, 32765},   {crVSplit, 32764},
        {crMultiDrag, 32763}, {crSQLWait, 32762}, {crHandPoint, 32761}};
    for (auto [number, resource] : own) {
        EXPECT_EQ(CursorSourceFor(number).kind, TCursorSource::Own) << number;
        EXPECT_EQ(id(number), resource) << number;
        // The program's own cursor, not the arrow.
        EXPECT_NE(LoadCursorFor(number), nullptr) << number;
        EXPECT_NE(LoadCursorFor(number), ::LoadCursorW(nullptr, IDC_ARROW)) << number;
    }
    for (int32_t unknown : {1, -23, 32761})
        EXPECT_EQ(id(unknown), id(crArrow)) << unknown;
    EXPECT_EQ(LoadCursorFor(crNone), nullptr);
}

} // namespace
