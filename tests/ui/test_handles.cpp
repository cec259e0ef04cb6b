#include "ui/Handles.h"

#include <gtest/gtest.h>

namespace {

// A handle kind whose closes are counted, to see each handle released once.
struct CountingTraits {
    using type = int;
    static int closes;
    static int lastClosed;
    static type Invalid() { return 0; }
    static void Close(type h) {
        ++closes;
        lastClosed = h;
    }
};
int CountingTraits::closes = 0;
int CountingTraits::lastClosed = 0;
using Counted = ui::UniqueHandle<CountingTraits>;

class HandleTest : public ::testing::Test {
protected:
    void SetUp() override {
        CountingTraits::closes = 0;
        CountingTraits::lastClosed = 0;
    }
};

Counted MakeOrFail(bool fail) {
    Counted h(7);
    if (fail)
        throw std::runtime_error("failed after making the handle");
    return h;
}

TEST_F(HandleTest, ReleasedExactlyOnceOnEveryPath) {
    long before = ui::LiveHandleCount();
    {
        Counted a(1);
        EXPECT_EQ(ui::LiveHandleCount(), before + 1);
    }
    EXPECT_EQ(CountingTraits::closes, 1);
    EXPECT_EQ(ui::LiveHandleCount(), before);

    // An exception after making the handle still closes it, once.
    EXPECT_THROW(MakeOrFail(true), std::runtime_error);
    EXPECT_EQ(CountingTraits::closes, 2);
    EXPECT_EQ(CountingTraits::lastClosed, 7);

    // Reset closes the old handle and takes the new one; resetting to the
    // same handle keeps it.
    Counted b(2);
    b.Reset(3);
    EXPECT_EQ(CountingTraits::closes, 3);
    EXPECT_EQ(CountingTraits::lastClosed, 2);
    b.Reset(3);
    EXPECT_EQ(CountingTraits::closes, 3);
    b.Reset();
    EXPECT_EQ(CountingTraits::closes, 4);
    EXPECT_FALSE(b);
    EXPECT_EQ(ui::LiveHandleCount(), before);
}

TEST_F(HandleTest, MovesLeaveNoDoubleRelease) {
    long before = ui::LiveHandleCount();
    {
        Counted a(5);
        Counted b(std::move(a));
        EXPECT_FALSE(a.Valid());
        EXPECT_EQ(b.Get(), 5);
        Counted c(6);
        c = std::move(b); // closes 6, takes 5
        EXPECT_EQ(CountingTraits::closes, 1);
        EXPECT_EQ(CountingTraits::lastClosed, 6);
        c = std::move(c); // self-move keeps the handle
        EXPECT_EQ(c.Get(), 5);
        EXPECT_EQ(ui::LiveHandleCount(), before + 1);
    }
    EXPECT_EQ(CountingTraits::closes, 2);
    EXPECT_EQ(CountingTraits::lastClosed, 5);

    // Release hands the handle over without closing it.
    Counted d(9);
    EXPECT_EQ(d.Release(), 9);
    EXPECT_EQ(CountingTraits::closes, 2);
    EXPECT_EQ(ui::LiveHandleCount(), before);
}

TEST(GdiHandles, RegionsBitmapsAndDCsAreDeleted) {
    HRGN raw;
    {
        ui::Region r(::CreateRectRgn(0, 0, 10, 10));
        raw = r.Get();
        ASSERT_NE(raw, nullptr);
        EXPECT_EQ(::GetObjectType(raw), static_cast<DWORD>(OBJ_REGION));
    }
    EXPECT_EQ(::GetObjectType(raw), 0u) << "the region must be deleted with its owner";

    HBITMAP rawBitmap;
    HDC rawDC;
    {
        ui::MemoryDC dc(::CreateCompatibleDC(nullptr));
        ui::Bitmap bmp(::CreateCompatibleBitmap(dc.Get(), 4, 4));
        rawBitmap = bmp.Get();
        rawDC = dc.Get();
        ui::Selection sel(dc.Get(), bmp.Get());
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), rawBitmap);
    } // the selection is undone first, then the bitmap and the DC are deleted
    EXPECT_EQ(::GetObjectType(rawBitmap), 0u);
    EXPECT_EQ(::GetObjectType(rawDC), 0u);
}

TEST(GdiHandles, ModuleIsFreedWithItsOwner) {
    HMODULE before = ::GetModuleHandleW(L"version.dll");
    if (before)
        GTEST_SKIP() << "version.dll is already loaded by someone else";
    {
        ui::Module m(::LoadLibraryW(L"version.dll"));
        ASSERT_TRUE(m);
        EXPECT_NE(::GetModuleHandleW(L"version.dll"), nullptr);
    }
    EXPECT_EQ(::GetModuleHandleW(L"version.dll"), nullptr);
}

} // namespace
