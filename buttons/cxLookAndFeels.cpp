#include "buttons/cxLookAndFeels.h"

#include <algorithm>

bool cxThemesInUse() { return false; }

const TcxCustomLookAndFeelPainter& cxChoosePainter(TcxLookAndFeelKind Kind, bool NativeStyle,
                                                   bool UseSystemPaint, bool ThemesInUse)
{
    static const TcxWinXPLookAndFeelPainter theme;
    static const TcxFlatLookAndFeelPainter flat;
    static const TcxStandardLookAndFeelPainter standard;
    static const TcxUltraFlatLookAndFeelPainter ultraFlat;
    if (ThemesInUse && (NativeStyle || (UseSystemPaint && Kind == lfStandard)))
        return theme;
    switch (Kind) {
    case lfFlat: return flat;
    case lfStandard: return standard;
    case lfUltraFlat: break;
    }
    return ultraFlat;
}

TcxLookAndFeel::TcxLookAndFeel(TRootTag) : FMaster(nullptr), FKindAssigned(true),
    FNativeStyleAssigned(true)
{
}

TcxLookAndFeel::TcxLookAndFeel(TcxLookAndFeel* Master) : FMaster(Master ? Master : &Root())
{
    FMaster->FFollowers.push_back(this);
}

TcxLookAndFeel::~TcxLookAndFeel()
{
    // Followers keep what they inherited so far.
    for (TcxLookAndFeel* follower : FFollowers) {
        follower->FKind = follower->Kind();
        follower->FNativeStyle = follower->NativeStyle();
        follower->FMaster = nullptr;
    }
    if (FMaster) {
        auto& list = FMaster->FFollowers;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

TcxLookAndFeel& TcxLookAndFeel::Root()
{
    static TcxLookAndFeel root{TRootTag{}};
    return root;
}

TcxLookAndFeelKind TcxLookAndFeel::Kind() const
{
    return FKindAssigned || !FMaster ? FKind : FMaster->Kind();
}

void TcxLookAndFeel::SetKind(TcxLookAndFeelKind Value)
{
    const TcxLookAndFeelKind old = Kind();
    FKind = Value;
    FKindAssigned = true;
    Changed(Value != old, false);
}

bool TcxLookAndFeel::NativeStyle() const
{
    return FNativeStyleAssigned || !FMaster ? FNativeStyle : FMaster->NativeStyle();
}

void TcxLookAndFeel::SetNativeStyle(bool Value)
{
    const bool old = NativeStyle();
    FNativeStyle = Value;
    FNativeStyleAssigned = true;
    Changed(false, Value != old);
}

bool TcxLookAndFeel::IsAssigned(TcxLookAndFeelValue Value) const
{
    return Value == lfvKind ? FKindAssigned : FNativeStyleAssigned;
}

void TcxLookAndFeel::Reset()
{
    if (!FMaster)
        return; // the root has nothing to inherit from
    const TcxLookAndFeelKind oldKind = Kind();
    const bool oldNative = NativeStyle();
    FKindAssigned = false;
    FNativeStyleAssigned = false;
    Changed(Kind() != oldKind, NativeStyle() != oldNative);
}

void TcxLookAndFeel::Assign(const TcxLookAndFeel& Source)
{
    const TcxLookAndFeelKind oldKind = Kind();
    const bool oldNative = NativeStyle();
    FKind = Source.Kind();
    FNativeStyle = Source.NativeStyle();
    FKindAssigned = Source.FKindAssigned || !FMaster;
    FNativeStyleAssigned = Source.FNativeStyleAssigned || !FMaster;
    Changed(Kind() != oldKind, NativeStyle() != oldNative);
}

const TcxCustomLookAndFeelPainter& TcxLookAndFeel::Painter() const
{
    return cxChoosePainter(Kind(), NativeStyle(), false, cxThemesInUse());
}

void TcxLookAndFeel::Changed(bool KindChanged, bool NativeStyleChanged)
{
    if (!KindChanged && !NativeStyleChanged)
        return;
    if (OnChanged)
        OnChanged(this);
    // Followers see the change of each value that they inherit.
    const auto followers = FFollowers;
    for (TcxLookAndFeel* follower : followers)
        follower->Changed(KindChanged && !follower->FKindAssigned,
                          NativeStyleChanged && !follower->FNativeStyleAssigned);
}
