#pragma once
// Look and feel of the skinned controls: which painter draws them. A look and feel that has
// not been given a value of its own takes it from its master, and by default every one's
// master is the root look and feel of the library (Kind lfUltraFlat, NativeStyle False), so
// changing the root restyles every control that has not chosen for itself.
//
// Threading: user-interface thread only.

#include "buttons/cxLookAndFeelPainters.h"
#include "framework/Classes.h"

#include <functional>
#include <vector>

enum TcxLookAndFeelKind { lfFlat, lfStandard, lfUltraFlat };

enum TcxLookAndFeelValue { lfvKind, lfvNativeStyle };

// Whether the platform draws controls with visual themes. System colours resolve to one
// fixed classic scheme here, so they never are.
bool cxThemesInUse();

// The painter for a look and feel: the theme painter when themes are in use and either the
// native style is asked for or a system-painted control is standard; otherwise by Kind.
const TcxCustomLookAndFeelPainter& cxChoosePainter(TcxLookAndFeelKind Kind, bool NativeStyle,
                                                   bool UseSystemPaint, bool ThemesInUse);

class TcxLookAndFeel : public TPersistent {
public:
    // Master null means the root look and feel.
    explicit TcxLookAndFeel(TcxLookAndFeel* Master = nullptr);
    ~TcxLookAndFeel() override;

    // The library's root look and feel, master of all others.
    static TcxLookAndFeel& Root();

    TcxLookAndFeelKind Kind() const;
    void SetKind(TcxLookAndFeelKind Value);
    bool NativeStyle() const;
    void SetNativeStyle(bool Value);
    bool IsAssigned(TcxLookAndFeelValue Value) const;
    // Forgets the own values: everything comes from the master again.
    void Reset();
    void Assign(const TcxLookAndFeel& Source);

    // The painter that Kind and NativeStyle choose for a control that paints itself.
    const TcxCustomLookAndFeelPainter& Painter() const;

    // Called whenever Kind or NativeStyle changes, also through the master.
    TNotifyEvent OnChanged;

private:
    struct TRootTag {};
    explicit TcxLookAndFeel(TRootTag);
    void Changed(bool KindChanged, bool NativeStyleChanged);

    TcxLookAndFeel* FMaster;
    std::vector<TcxLookAndFeel*> FFollowers;
    TcxLookAndFeelKind FKind = lfUltraFlat;
    bool FNativeStyle = false;
    bool FKindAssigned = false;
    bool FNativeStyleAssigned = false;
};
