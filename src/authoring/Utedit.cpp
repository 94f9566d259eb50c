// The question edit window.
#include "authoring/Utedit.h"

#include "authoring/QuestionFormWidget.h"
#include "common/ShellState.h"
#include "keypoints/UselectFg.h"
#include "platform/RichText.h"
#include "platform/Seams.h"
#include "store/DbError.h"
#include "store/dm.h"
#include "widgets/ModalGui.h"
#include "widgets/Ubackdrop.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace authoring;

TfrmTedit::TfrmTedit(const QString &questionId, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTedit"));
    setWindowTitle(QStringLiteral("试题修改"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(10, 10, 10, 10);
    QuestionFormOptions options;
    options.editing = true;
    options.bodyName = "RxDBRichEdit1";
    options.explanationName = "RxDBRichEdit2";
    options.materialName = "RxDBRichEdit3";
    form = new QuestionFormWidget(options, this);
    root->addWidget(form, 1);
    RxDBRichEdit3 = form->materialEdit;
    RxDBRichEdit1 = form->bodyEdit;
    RxDBRichEdit2 = form->explanationEdit;
    SE_Num = form->SE_Num;
    Edit1 = form->Edit1;
    ComboBox1 = form->ComboBox1;
    ListBox1 = form->ListBox1;
    BtnAddFg = form->BtnAddFg;

    auto *bar = new QHBoxLayout;
    auto button = [this, bar](QPushButton *&b, const char *name, const QString &text) {
        b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setMinimumWidth(90);
        bar->addWidget(b);
    };
    button(SpeedButton2, "SpeedButton2", QStringLiteral("使用说明"));
    bar->addStretch(1);
    button(SpeedButton4, "SpeedButton4", QStringLiteral("保存"));
    button(SpeedButton3, "SpeedButton3", QStringLiteral("取消"));
    root->addLayout(bar);
    connect(SpeedButton2, &QPushButton::clicked, this, &TfrmTedit::SpeedButton2Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TfrmTedit::SpeedButton3Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &TfrmTedit::SpeedButton4Click);

    if (DM1) {
        try {
            m_loaded = loadEditedQuestion(*DM1, questionId, m_question);
            if (m_loaded) {
                form->keyPoints = listedKeyPoints(*DM1, m_question.keyPoints);
                m_before = m_question.keyPoints;
            }
        } catch (const store::DbError &e) {
            ui::showError(e.text());
        }
    }
}

void TfrmTedit::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TfrmTedit::FormShow()
{
    const bool compact = shell().compactScreen();
    setFont(backdrop::windowFont(compact));
    resize(compact ? QSize(780, 490) : QSize(944, 623));
    form->keyPointLabel->show();
    BtnAddFg->show();
    ListBox1->show();

    richtext::readInto(*RxDBRichEdit1->document(), m_question.body);
    if (m_question.hasExplanation)
        richtext::readInto(*RxDBRichEdit2->document(), m_question.explanation);
    SE_Num->setValue(m_question.optionCount);
    Edit1->setText(m_question.answer);
    // A question of its own shows its body where the material would be.
    form->setMaterialShown(m_question.isSubQuestion);
    if (m_question.isSubQuestion)
        richtext::readInto(*RxDBRichEdit3->document(), m_question.material);

    try {
        form->loadTypes();
    } catch (const store::DbError &e) {
        ui::showError(e.text());
    }
    // A type the current subject's table lacks is offered as it is stored,
    // so a save that changes something else keeps it.
    if (!form->selectTypeCode(QString::number(m_question.type)) && DM1) {
        try {
            form->offerType(storedType(*DM1, m_question.type));
        } catch (const store::DbError &e) {
            ui::showError(e.text());
        }
    }
    form->enableAnswerInputs();
    form->applySubjectiveLock();
    form->showKeyPoints();
}

void TfrmTedit::SpeedButton2Click()
{
    TFrmSelectFG help(this);
    help.selectPage(1);
    ui::execModal(&help);
}

void TfrmTedit::SpeedButton3Click() { QDialog::reject(); }

void TfrmTedit::SpeedButton4Click()
{
    if (!m_loaded || !DM1)
        return;
    if (shell().CurSubject == 0)
        shell().CurSubject = 1;
    if (ComboBox1->currentIndex() < 0) {
        seams::messageBox(QStringLiteral("提示"), QStringLiteral("请选择题型！"), seams::Prompt::Information);
        ComboBox1->setFocus();
        return;
    }
    const QString badKey = answerRefusal(Edit1->text(), SE_Num->value(), form->selectedTypeCode().toInt(),
                                         isSubjectiveType(ComboBox1->currentText()));
    if (!badKey.isEmpty()) {
        seams::messageBox(QStringLiteral("提示"), badKey, seams::Prompt::Information);
        Edit1->setFocus();
        return;
    }
    EditedQuestion q = m_question;
    // The editors' rich text is stored whole: formatting and pictures stay.
    q.body = richtext::toRtf(*RxDBRichEdit1->document());
    q.hasExplanation = !QuestionFormWidget::plainTrimmed(RxDBRichEdit2).isEmpty();
    q.explanation = q.hasExplanation ? richtext::toRtf(*RxDBRichEdit2->document()) : QByteArray();
    if (q.isSubQuestion)
        q.material = richtext::toRtf(*RxDBRichEdit3->document());
    q.optionCount = SE_Num->value();
    q.answer = Edit1->text();
    q.type = form->selectedTypeCode().toInt();
    q.keyPoints = form->keyPoints.ids;
    try {
        q.editCount = saveEditedQuestion(*DM1, q, m_before);
    } catch (const store::DbError &e) {
        // Nothing was stored; the window stays for another try.
        ui::showError(e.text());
        return;
    }
    m_question = q;
    m_before = q.keyPoints;
    accept();
}

// The title bar's close (and Alt+F4) takes the road of "取消".
void TfrmTedit::reject() { SpeedButton3Click(); }

void TfrmTedit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
