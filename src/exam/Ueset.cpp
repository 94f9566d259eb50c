// The exam settings window.
#include "exam/Ueset.h"
#include "widgets/ThemeGui.h"
#include "widgets/AccessibleGui.h"
#include "widgets/AccessibleGui.h"

#include "widgets/UsmallWindow.h"
#include "common/CommonRoutines.h"
#include "widgets/ModalGui.h"
#include "widgets/NumberBoxWidget.h"
#include "platform/Seams.h"
#include "exam/ExamSettings.h"
#include "store/dm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QShowEvent>

namespace {

// Digits only; anything else typed stays on view (rather than being
// dropped, which turned "2,5" into 25) and is refused in words on saving.
class TypedDigits : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        for (QChar c : input)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Intermediate;
        return Acceptable;
    }
};

QLineEdit *numberEdit(QWidget *parent, const char *name, const QString &hint)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(3);
    e->setToolTip(hint);
    e->setValidator(new TypedDigits(e));
    e->setAlignment(Qt::AlignRight);
    e->setFixedWidth(64);
    return e;
}

} // namespace

TFrmEset::TFrmEset(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_dm(*DM1)
{
    ui::keepOpenOnEscape(this);
    setObjectName(QStringLiteral("FrmEset"));
    setWindowTitle(QStringLiteral("考试设置"));
    setFixedSize(360, 159);

    auto *title = new QLabel(QStringLiteral("模拟考试设置"), this);
    title->setObjectName(QStringLiteral("title"));
    theme::setRole(title, "title");
    title->setGeometry(12, 3, 300, 20);

    auto *grid = new QGridLayout;
    suiCheckBox1 = new QCheckBox(QStringLiteral("保留试卷最低分数"), this);
    suiCheckBox1->setObjectName(QStringLiteral("suiCheckBox1"));
    suiCheckBox2 = new QCheckBox(QStringLiteral("模拟考试答题时间"), this);
    suiCheckBox2->setObjectName(QStringLiteral("suiCheckBox2"));
    suiNumberEdit1 = numberEdit(this, "suiNumberEdit1", QStringLiteral("与试卷总分数相关"));
    suiNumberEdit2 = numberEdit(this, "suiNumberEdit2", QStringLiteral("（单位：分钟）"));
    suiNumberEdit1->setAccessibleName(a11y::labelWords(suiCheckBox1->text()));
    suiNumberEdit1->setAccessibleDescription(QStringLiteral("分"));
    suiNumberEdit2->setAccessibleName(a11y::labelWords(suiCheckBox2->text()));
    suiNumberEdit2->setAccessibleDescription(QStringLiteral("分钟"));
    grid->addWidget(suiCheckBox1, 0, 0);
    grid->addWidget(suiNumberEdit1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("分"), this), 0, 2);
    grid->addWidget(suiCheckBox2, 1, 0);
    grid->addWidget(suiNumberEdit2, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("分钟"), this), 1, 2);

    suiButton1 = new QPushButton(QStringLiteral("默认"), this);
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    suiButton1->setToolTip(QStringLiteral("先选择要恢复默认值的项"));
    suiButton1->setAutoDefault(false);
    suiButton1->setEnabled(false);
    suiButton2 = new QPushButton(QStringLiteral("关闭"), this);
    suiButton2->setObjectName(QStringLiteral("suiButton2"));
    suiButton2->setToolTip(QStringLiteral("保存后退出本界面"));
    suiButton2->setAutoDefault(false);

    auto *outer = new QGridLayout(this);
    outer->setContentsMargins(24, 34, 24, 12);
    outer->addLayout(grid, 0, 0, 1, 3);
    outer->setColumnStretch(0, 1);
    outer->addWidget(suiButton1, 1, 1);
    outer->addWidget(suiButton2, 1, 2);

    connect(suiNumberEdit1, &QLineEdit::textChanged, this, &TFrmEset::suiNumberEdit1Change);
    connect(suiCheckBox1, &QCheckBox::clicked, this, &TFrmEset::suiCheckBox1Click);
    connect(suiCheckBox2, &QCheckBox::clicked, this, &TFrmEset::suiCheckBox1Click);
    connect(suiButton1, &QPushButton::clicked, this, &TFrmEset::suiButton1Click);
    connect(suiButton2, &QPushButton::clicked, this, &TFrmEset::suiButton2Click);
}

void TFrmEset::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    smallwindow::centreOnScreen(this);
    FormShow();
}

void TFrmEset::paintEvent(QPaintEvent *) { smallwindow::paintFace(this); }

int TFrmEset::totalScore() { return PaperTotalScore(m_dm); }

void TFrmEset::FormShow()
{
    try {
        const exam::ExamSettings s = exam::readExamSettings(m_dm);
        suiNumberEdit1->setText(QString::number(s.leastMark));
        suiNumberEdit2->setText(QString::number(exam::examMinutes(s.examTime)));
    } catch (const std::exception &e) {
        ui::showError(QString::fromUtf8(e.what()));
    }
}

void TFrmEset::suiNumberEdit1Change()
{
    if (m_checking)
        return;
    int total = 0;
    try {
        total = totalScore();
    } catch (const std::exception &e) {
        ui::showError(QString::fromUtf8(e.what()));
        return;
    }
    const exam::LeastMarkCheck c = exam::checkLeastMark(suiNumberEdit1->text(), total);
    m_checking = true;
    if (c.refused)
        seams::messageBox(QStringLiteral("提示"), exam::leastMarkRefusal(), seams::Prompt::Information);
    if (c.text != suiNumberEdit1->text())
        suiNumberEdit1->setText(c.text);
    m_checking = false;
    if (c.refused)
        suiNumberEdit1->setFocus();
}

void TFrmEset::suiCheckBox1Click() { suiButton1->setEnabled(suiCheckBox1->isChecked() || suiCheckBox2->isChecked()); }

void TFrmEset::suiButton1Click()
{
    if (suiCheckBox1->isChecked()) {
        try {
            suiNumberEdit1->setText(QString::number(exam::defaultLeastMark(totalScore())));
        } catch (const std::exception &e) {
            ui::showError(QString::fromUtf8(e.what()));
        }
    }
    if (suiCheckBox2->isChecked())
        suiNumberEdit2->setText(QString::number(exam::DefaultExamMinutes));
}

void TFrmEset::suiButton2Click()
{
    for (QLineEdit *e : {suiNumberEdit1, suiNumberEdit2})
        if (!e->hasAcceptableInput()) {
            seams::messageBox(QStringLiteral("提示"), numberbox::wholeRangeText(0, 999), seams::Prompt::Information);
            e->setFocus();
            return;
        }
    if (!exam::saveExamSettings(m_dm, suiNumberEdit1->text(), suiNumberEdit2->text()))
        seams::messageBox(QStringLiteral("警告"), QStringLiteral("保存设置失败！"), seams::Prompt::Critical);
    close();
}
