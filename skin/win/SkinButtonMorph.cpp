// TskSkinButton: the morph between its normal and active looks, for skins that ask for it.

#include "skin/core/SkControlLayout.h"
#include "skin/core/SkEffBmp.h"
#include "skin/win/SkinCtrls.h"

void TskSkinButton::StartMorph()
{
    if (!FMorphing || !FHasRecord)
        return;
    if (!FMorphTimer) {
        FMorphTimer = std::make_unique<TTimer>(nullptr);
        FMorphTimer->SetInterval(20);
        FMorphTimer->OnTimer = [this](TObject*) { MorphTick(); };
    }
    FMorphTimer->SetEnabled(true);
}

void TskSkinButton::StopMorph()
{
    if (FMorphTimer)
        FMorphTimer->SetEnabled(false);
}

void TskSkinButton::MorphTick()
{
    const bool toward = FMouseIn || Focused();
    FMorphFactor = ButtonMorphStep(FMorphFactor, toward);
    Invalidate();
    if (FMorphFactor == (toward ? 1.0 : 0.0))
        StopMorph();
}

TSkBitmap TskSkinButton::MorphedPicture() const
{
    if (!FMorphing || !FHasRecord || !Enabled() || !ButtonMorphBlends(FMorphFactor))
        return {};
    TskEffectBmp normal(SkinPicture(FSkinRect));
    const TskEffectBmp active(SkinPicture(FActiveRect));
    normal.MorphBy(FMorphKind, active, FMorphFactor);
    return normal.ToBitmap();
}
