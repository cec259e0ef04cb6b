#include "card/SceneBitmaps.h"

#include "screen_objects/uScreenBitmap.h"
#include "ui/DpiScaling.h"
#include "ui/PictureScaling.h"

std::unique_ptr<TScreenBitmap> MakeScaledSceneBitmap(POINT position, HMODULE module,
                                                     const std::string& name, COLORREF key,
                                                     int dpi) {
    auto bitmap = std::make_unique<TScreenBitmap>();
    bitmap->LoadFromResource(module, name.c_str());
    if (bitmap->Picture.Empty())
        return nullptr;
    const ui::PixelImage designed = bitmap->Picture.ToPixels();
    bitmap->SetPicture(ui::Picture::FromPixels(ui::ScaleNearest(
        designed, ui::ScaleToDpi(designed.Width, dpi), ui::ScaleToDpi(designed.Height, dpi))));
    bitmap->AppendPoint(position.x, position.y);
    bitmap->SetTransparentColor(key);
    return bitmap;
}
