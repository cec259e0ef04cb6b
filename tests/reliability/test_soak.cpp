// A shortened soak: thousands of items of every kind made, painted and
// deleted, and hundreds of clears; the handles the program holds come back
// exactly to where they were, the system's GDI count (where it keeps one) and
// the memory to within what heaps keep for reuse. bench/soak_bench runs the
// full counts.
#include "bench/soak_run.h"

#include "reliability/reliability_support.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(SoakItems, EveryKindMadeAndDeletedLeavesNothingBehind) {
    const std::wstring dir = reliability::ScratchFolder(L"reliability_soak");
    const std::wstring bmp = dir + L"\\soak.bmp";
    ASSERT_TRUE(soak::WriteSoakBitmap(bmp));
    const std::string bmpAnsi = reliability::Narrow(bmp);
    Orvex_Clear();
    Orvex_SetCallBackWindowHandle(nullptr);

    // A first round fills the caches that stay (fonts, the window's picture).
    soak::Run(50, 20, 16, bmpAnsi);
    const soak::Usage before = soak::Measure();
    const int32_t firstID = TransparentForm()->Store().LastItemID();
    const soak::Result r = soak::Run(2000, 300, 256, bmpAnsi);
    const soak::Usage after = soak::Measure();
    std::printf("soak: %ld items made, %ld clears; handles %ld -> %ld, GDI objects %lu -> %lu, "
                "private bytes %lu -> %lu\n",
                r.made, r.clears, before.handles, after.handles,
                static_cast<unsigned long>(before.gdiObjects),
                static_cast<unsigned long>(after.gdiObjects),
                static_cast<unsigned long>(before.privateBytes),
                static_cast<unsigned long>(after.privateBytes));

    EXPECT_EQ(r.failed, 0);
    EXPECT_EQ(r.deleteFailed, 0);
    EXPECT_EQ(r.made, 2000L * soak::Kinds);
    EXPECT_EQ(r.clears, 300);
    EXPECT_EQ(r.clearedItems, 900);
    EXPECT_EQ(TransparentForm()->Store().LastItemID(), firstID + r.made + r.clearedItems)
        << "every item got its own ID";
    EXPECT_TRUE(TransparentForm()->Store().ItemIDs(false).empty());
    EXPECT_EQ(after.handles, before.handles);
    if (before.gdiObjects > 0) {
        EXPECT_LE(after.gdiObjects, before.gdiObjects + 2);
    }
    EXPECT_LT(after.privateBytes, before.privateBytes + 2 * 1024 * 1024)
        << "memory grows with the number of items made";
}

} // namespace
