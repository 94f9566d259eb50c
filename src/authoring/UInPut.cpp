// The question entry window.
#include "authoring/UInPut.h"
#include "widgets/ThemeGui.h"

#include "authoring/QuestionEntry.h"
#include "authoring/QuestionExport.h"
#include "authoring/QuestionImport.h"
#include "authoring/UImportPreview.h"
#include "authoring/QuestionFormWidget.h"
#include "common/ShellState.h"
#include "keypoints/UselectFg.h"
#include "platform/RichText.h"
#include "platform/Seams.h"
#include "store/DbError.h"
#include "store/dm.h"
#include "widgets/ModalGui.h"
#include "widgets/Ubackdrop.h"
#include "widgets/Uconfig.h"
#include "widgets/Uprogress.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace authoring;

namespace {

// Question files are kept in the user's documents folder; the home folder
// where there is none.
QString startFolder()
{
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(docs).isDir() ? docs : QDir::homePath();
}

} // namespace

TFrmInPut::TFrmInPut(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmInPut"));
    setWindowTitle(QStringLiteral("试题录入"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    new backdrop::StripDragger(this);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(14, backdrop::StripHeight + 10, 14, 12);
    root->setSpacing(10);
    Lb_cap = new QLabel(this);
    Lb_cap->setObjectName(QStringLiteral("Lb_cap"));
    Lb_cap->hide();

    form = new QuestionFormWidget(QuestionFormOptions{}, this);
    root->addWidget(form, 1);
    Re1 = form->bodyEdit;
    Re2 = form->explanationEdit;
    SE_Num = form->SE_Num;
    Edit1 = form->Edit1;
    ComboBox1 = form->ComboBox1;
    ListBox1 = form->ListBox1;
    BtnAddFg = form->BtnAddFg;

    auto *hot = new QHBoxLayout;
    hot->setSpacing(10);
    auto area = [this, hot](QPushButton *&b, const char *name, const QString &text) {
        b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setCursor(Qt::PointingHandCursor);
        theme::setRole(b, "hotarea");
        b->setMinimumHeight(34);
        hot->addWidget(b);
    };
    area(SpeedButton4, "SpeedButton4", QStringLiteral("保存"));
    area(SpeedButton3, "SpeedButton3", QStringLiteral("清除"));
    area(SpeedButton2, "SpeedButton2", QStringLiteral("使用说明"));
    area(SpeedButton1, "SpeedButton1", QStringLiteral("设置"));
    // Import and export sit with the entry's own buttons: both work on the
    // chapter this window was opened for, and imported questions are saved
    // exactly as the "保存" beside them saves one.  Export writes the
    // chapter's user questions; the format follows the name the user gives
    // (.gift or .xml), so one button serves both.
    area(BtnImport, "BtnImport", QStringLiteral("导入..."));
    area(BtnExport, "BtnExport", QStringLiteral("导出..."));
    hot->addStretch(1);
    area(SpeedButton6, "SpeedButton6", QString());
    SpeedButton6->setEnabled(false);
    SpeedButton6->hide();
    area(SpeedButton7, "SpeedButton7", QStringLiteral("关闭"));
    root->addLayout(hot);

    auto hidden = [this](QPushButton *&b, const char *name, const QString &text) {
        b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->hide();
    };
    hidden(epBtn_Save, "epBtn_Save", QStringLiteral("保存"));
    hidden(epBtn_Clear, "epBtn_Clear", QStringLiteral("清除"));
    hidden(epBtn_help, "epBtn_help", QStringLiteral("使用说明"));
    hidden(epBtn_Config, "epBtn_Config", QStringLiteral("设置"));
    hidden(epBtn_Close, "epBtn_Close", QStringLiteral("关闭"));

    for (QPushButton *b : {SpeedButton4, epBtn_Save})
        connect(b, &QPushButton::clicked, this, &TFrmInPut::epBtn_SaveClick);
    for (QPushButton *b : {SpeedButton3, epBtn_Clear})
        connect(b, &QPushButton::clicked, this, &TFrmInPut::epBtn_ClearClick);
    for (QPushButton *b : {SpeedButton2, epBtn_help})
        connect(b, &QPushButton::clicked, this, &TFrmInPut::epBtn_helpClick);
    for (QPushButton *b : {SpeedButton1, epBtn_Config})
        connect(b, &QPushButton::clicked, this, &TFrmInPut::epBtn_ConfigClick);
    for (QPushButton *b : {SpeedButton7, epBtn_Close})
        connect(b, &QPushButton::clicked, this, &TFrmInPut::SpeedButton6Click);
    connect(BtnImport, &QPushButton::clicked, this, &TFrmInPut::BtnImportClick);
    connect(BtnExport, &QPushButton::clicked, this, &TFrmInPut::BtnExportClick);

    // FormCreate: the type box from the current subject's type table.
    AddedCount = 0;
    SE_Num->setValue(5);
    try {
        form->loadTypes();
    } catch (const store::DbError &e) {
        ui::showError(e.text());
    }
}

void TFrmInPut::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFrmInPut::FormShow()
{
    const bool compact = shell().compactScreen();
    setFont(backdrop::windowFont(compact));
    if (!m_background.load(seams::appDir() + QStringLiteral("pic/bg_input_") + (compact ? QStringLiteral("800") : QStringLiteral("1024"))
                           + QStringLiteral(".png")))
        m_background = QPixmap();
    setFixedSize(compact ? QSize(762, 480) : QSize(931, 611));
    form->keyPointLabel->show();
    BtnAddFg->show();
    ListBox1->show();
}

void TFrmInPut::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_background.isNull())
        backdrop::paint(this, p, windowTitle());
    else
        backdrop::paint(this, p, windowTitle(), m_background, backdrop::StripHeight);
}

void TFrmInPut::epBtn_SaveClick()
{
    form->enableAnswerInputs();
    auto refuse = [](const QString &text, QWidget *focus) {
        seams::messageBox(QStringLiteral("提示"), text, seams::Prompt::Information);
        focus->setFocus();
    };
    if (QuestionFormWidget::plainTrimmed(Re1).isEmpty())
        return refuse(QStringLiteral("请填写试题内容！"), Re1);
    if (Edit1->text().trimmed().isEmpty())
        return refuse(QStringLiteral("请填写试题答案！"), Edit1);
    if (ComboBox1->currentIndex() < 0)
        return refuse(QStringLiteral("请选择题型！"), ComboBox1);
    const QString badKey = answerRefusal(Edit1->text(), SE_Num->value(), form->selectedTypeCode().toInt(),
                                         isSubjectiveType(ComboBox1->currentText()));
    if (!badKey.isEmpty())
        return refuse(badKey, Edit1);

    NewQuestion q;
    q.chapter = TargetChapter;
    q.optionText = SE_Num->text().trimmed();
    q.optionCount = SE_Num->value();
    q.typeCode = form->selectedTypeCode();
    q.answer = Edit1->text().trimmed();
    q.body = richtext::toRtf(*Re1->document());
    q.hasExplanation = !QuestionFormWidget::plainTrimmed(Re2).isEmpty();
    if (q.hasExplanation)
        q.explanation = richtext::toRtf(*Re2->document());
    q.keyPoints = form->keyPoints.ids;
    if (!DM1)
        return;
    const EntryOutcome out = saveNewQuestion(*DM1, q);
    switch (out.result) {
    case EntryOutcome::TooMany:
        seams::messageBox(QStringLiteral("提示"), QStringLiteral("最多只能录入9999道题！"), seams::Prompt::Warning);
        return;
    case EntryOutcome::Failed:
        // Every input stays for another try.
        seams::messageBox(QStringLiteral("提示"), QStringLiteral("保存试题出现错误！"), seams::Prompt::Information);
        return;
    case EntryOutcome::Saved:
        break;
    }
    epBtn_ClearClick();
    ++AddedCount;
}

void TFrmInPut::epBtn_ClearClick()
{
    Re1->clear();
    Re2->clear();
    Edit1->clear();
    form->keyPoints.clear();
    form->showKeyPoints();
    if (ComboBox1->count() > 0)
        ComboBox1->setCurrentIndex(0);
}

void TFrmInPut::epBtn_helpClick()
{
    TFrmSelectFG help(this);
    help.selectPage(1);
    ui::execModal(&help);
}

void TFrmInPut::epBtn_ConfigClick() { openSettings(this, 0); }

void TFrmInPut::SpeedButton6Click()
{
    form->enableAnswerInputs();
    QDialog::reject();
}

// Every way out (title bar, Alt+F4) takes the road of "关闭".
void TFrmInPut::reject() { SpeedButton6Click(); }

void TFrmInPut::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrmInPut::BtnImportClick()
{
    const QString path = seams::openFileName(
        {QStringLiteral("导入试题"), startFolder(),
         QStringLiteral("试题文件(*.gift;*.txt;*.xml;*.csv)|*.gift;*.txt;*.xml;*.csv|所有文件(*.*)|*.*")});
    if (path.isEmpty() || !DM1)
        return;
    ImportPreview preview;
    FrmProgress()->showStage(QStringLiteral("正在读取试题文件，请稍候……"));
    try {
        preview = previewImport(*DM1, readQuestionFile(path), TargetChapter,
                                importTypes(loadTypeTable(*DM1, shell().CurSubject)));
    } catch (const store::DbError &e) {
        preview.refusal = e.text();
    }
    FrmProgress()->hide();
    TFrmImportPreview look(path, preview, this);
    if (ui::execModal(&look) != QDialog::Accepted || !preview.canSave())
        return;
    const ImportOutcome out = saveImport(*DM1, preview, [](int done, int total) {
        FrmProgress()->showStage(QStringLiteral("正在导入试题（%1/%2），请稍候……").arg(done).arg(total));
        return true;
    });
    FrmProgress()->hide();
    AddedCount += out.saved;
    seams::messageBox(QStringLiteral("提示"), importDoneText(out, preview),
                      out.result == ImportOutcome::Saved ? seams::Prompt::Information : seams::Prompt::Warning);
}

void TFrmInPut::BtnExportClick()
{
    if (!DM1)
        return;
    QString error;
    try {
        if (loadUserQuestions(*DM1, TargetChapter).isEmpty()) {
            seams::messageBox(QStringLiteral("提示"), QStringLiteral("本章还没有您自己录入的试题，无法导出。"),
                              seams::Prompt::Information);
            return;
        }
    } catch (const store::DbError &e) {
        return ui::showError(e.text());
    }
    QString path = seams::saveFileName(
        {QStringLiteral("导出试题"), startFolder(),
         QStringLiteral("GIFT 文件(*.gift)|*.gift|Moodle XML 文件(*.xml)|*.xml")});
    if (path.isEmpty())
        return;
    const bool xml = QFileInfo(path).suffix().compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0;
    if (!xml && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".gift");
    int written = -1;
    try {
        written = exportUserQuestions(*DM1, TargetChapter, xml ? ImportFormat::MoodleXml : ImportFormat::Gift, path, error);
    } catch (const store::DbError &e) {
        error = e.text();
    }
    if (written < 0)
        seams::messageBox(QStringLiteral("提示"), QStringLiteral("导出试题出现错误！\r") + error, seams::Prompt::Warning);
    else
        seams::messageBox(QStringLiteral("提示"), QStringLiteral("已导出%1道题到：\r").arg(written) + path,
                          seams::Prompt::Information);
}
