// The key-point practice window.
#include "practice/uRulelxxt.h"

TFrmRuleLxxt::TFrmRuleLxxt(QWidget *parent) : TFrmLxxt(parent, keyPointOptions())
{
    setObjectName(QStringLiteral("FrmRuleLxxt"));
}

PracticeOptions TFrmRuleLxxt::keyPointOptions()
{
    PracticeOptions o;
    o.caption.clear();
    o.hintFromChapter = false;
    o.voidCaption = QStringLiteral("本题作废");
    o.statusNeedsRows = true;
    o.editedMark = false;
    o.editButton = false;
    o.explanationButton = false;
    o.noAnswerText = QStringLiteral("题还没做呢！");
    o.matchingLabel = QStringLiteral("不\r\n定\r\n项");
    o.subjectiveLabel = QStringLiteral("主\r\n观");
    o.panelHeight = PanelHeight;
    return o;
}
