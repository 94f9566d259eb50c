// The key-point practice window TFrmRuleLxxt: the practice window over the
// questions that cite one key point, opened from the key-point directory.
// It is the chapter practice window with a handful of options set; the
// opener puts the key point's title on the hint board (Lb_hint) before
// showing it.
#pragma once

#include "practice/Ulxxt.h"

class TFrmRuleLxxt : public TFrmLxxt {
    Q_OBJECT
public:
    explicit TFrmRuleLxxt(QWidget *parent = nullptr);

    // The options that make chapter practice key-point practice.
    static PracticeOptions keyPointOptions();
    // Height of the comparison panel, which keeps its own size here.
    static constexpr int PanelHeight = 220;
};
