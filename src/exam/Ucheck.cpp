// The paper records window.
#include "exam/Ucheck.h"
#include "widgets/ThemeGui.h"

#include "widgets/AccessibleGui.h"
#include "widgets/KeyboardGui.h"
#include "widgets/UflatButton.h"
#include "common/CommonRoutines.h"
#include "widgets/ModalGui.h"
#include "platform/Seams.h"
#include "common/ShellState.h"
#include "exam/ExamSettings.h"
#include "exam/PaperGeneration.h"
#include "exam/Uexam.h"
#include "exam/UexamLinks.h"
#include "exam/UexamProgress.h"
#include "store/dm.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLCDNumber>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QLCDNumber *numberPanel(QWidget *parent, const char *name)
{
    auto *n = new QLCDNumber(5, parent);
    n->setObjectName(QLatin1String(name));
    n->setSegmentStyle(QLCDNumber::Flat);
    n->setMinimumSize(90, 34);
    return n;
}

} // namespace

TFrmCheck::TFrmCheck(QWidget *parent) : QDialog(parent), m_dm(*DM1)
{
    ui::keepOpenOnEscape(this);
    setObjectName(QStringLiteral("FrmCheck"));
    setWindowTitle(QStringLiteral("查阅试卷"));

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(14, 12, 14, 12);
    root->setSpacing(8);
    auto *title = new QLabel(QStringLiteral("查阅试卷"), this);
    QFont tf = title->font();
    tf.setPixelSize(20);
    tf.setBold(true);
    title->setFont(tf);
    theme::setRole(title, "heading");
    root->addWidget(title);

    auto *figures = new QHBoxLayout;
    figures->setSpacing(10);
    auto addFigure = [&](const QString &caption, QLCDNumber *panel) {
        auto *l = new QLabel(caption, this);
        theme::setRole(l, "heading");
        a11y::nameAfter(l, panel);
        figures->addWidget(l);
        figures->addWidget(panel);
        figures->addSpacing(12);
    };
    epNumPanel1 = numberPanel(this, "epNumPanel1");
    epNumPanel2 = numberPanel(this, "epNumPanel2");
    epNumPanel3 = numberPanel(this, "epNumPanel3");
    addFigure(QStringLiteral("考试次数"), epNumPanel1);
    addFigure(QStringLiteral("及格次数"), epNumPanel2);
    addFigure(QStringLiteral("平均成绩"), epNumPanel3);
    figures->addStretch(1);
    root->addLayout(figures);

    DBGrid1 = new QTableWidget(0, 3, this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("试卷列表"));
    DBGrid1->setHorizontalHeaderLabels({QStringLiteral("试卷名称"), QStringLiteral("成绩"), QStringLiteral("用时")});
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->setVisible(false);
    DBGrid1->setAlternatingRowColors(true);
    // The columns keep the widths the showing gives them.
    DBGrid1->horizontalHeader()->setStretchLastSection(false);
    root->addWidget(DBGrid1, 1);
    connect(DBGrid1, &QTableWidget::cellDoubleClicked, this, [this](int, int) { epEfTrBtn1Click(); });
    keys::workGridByKeys(DBGrid1, [this] { epEfTrBtn1Click(); });

    Lbtip = new QLabel(this);
    Lbtip->setObjectName(QStringLiteral("Lbtip"));
    theme::setRole(Lbtip, "alert");
    root->addWidget(Lbtip);

    auto *actions = new QHBoxLayout;
    SpeedButton2 = flatButton(this, "SpeedButton2", QStringLiteral("查阅试卷"));
    SpeedButton4 = flatButton(this, "SpeedButton4", QStringLiteral("删除试卷"));
    SpeedButton1 = flatButton(this, "SpeedButton1", QStringLiteral("系统设置"));
    SpeedButton3 = flatButton(this, "SpeedButton3", QStringLiteral("关闭"));
    actions->addStretch(1);
    for (QPushButton *b : {SpeedButton2, SpeedButton4, SpeedButton1, SpeedButton3})
        actions->addWidget(b);
    root->addLayout(actions);

    connect(SpeedButton2, &QPushButton::clicked, this, &TFrmCheck::epEfTrBtn1Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &TFrmCheck::SpeedButton4Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &TFrmCheck::epEfButton3Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TFrmCheck::epEfTrBtn2Click);

    resize(900, 560);
}

void TFrmCheck::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFrmCheck::FormShow()
{
    const bool small = shell().compactScreen();
    if (small)
        resize(760, 479);
    ui::busyCursor();
    epNumPanel1->display(0);
    epNumPanel2->display(0);
    epNumPanel3->display(0);
    try {
        Lbtip->setText(exam::leastMarkNotice(exam::readExamSettings(m_dm).leastMark));
        fillGrid();
        m_reviewEnabled = !m_records.isEmpty();
        SpeedButton2->setEnabled(m_reviewEnabled);
        const exam::RecordFigures f = exam::recordFigures(m_dm, PaperTotalScore(m_dm));
        epNumPanel1->display(f.exams);
        epNumPanel2->display(f.passed);
        epNumPanel3->display(f.average);
    } catch (const std::exception &e) {
        ui::normalCursor();
        ui::showError(QString::fromUtf8(e.what()));
        return;
    }
    const bool wide = shell().ScreenMode == QLatin1String("1024");
    DBGrid1->setColumnWidth(0, wide ? 388 : 310);
    DBGrid1->setColumnWidth(1, wide ? 80 : 65);
    DBGrid1->setColumnWidth(2, wide ? 80 : 65);
    ui::normalCursor();
}

void TFrmCheck::fillGrid()
{
    m_records = exam::listPaperRecords(m_dm);
    DBGrid1->setRowCount(int(m_records.size()));
    for (int i = 0; i < m_records.size(); ++i) {
        const exam::PaperRecord &r = m_records.at(i);
        auto *title = new QTableWidgetItem(r.title);
        auto *score = new QTableWidgetItem(r.score.isNull() ? QString() : exam::generalNumber(r.score.toDouble()));
        score->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *used = new QTableWidgetItem(r.timeUsed);
        used->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        DBGrid1->setItem(i, 0, title);
        DBGrid1->setItem(i, 1, score);
        DBGrid1->setItem(i, 2, used);
    }
    if (!m_records.isEmpty())
        DBGrid1->selectRow(0);
}

int TFrmCheck::selectedRow() const
{
    const int r = DBGrid1->currentRow();
    return r >= 0 && r < m_records.size() ? r : -1;
}

void TFrmCheck::epEfTrBtn1Click()
{
    const int i = selectedRow();
    if (i < 0 || !m_reviewEnabled || m_reviewing)
        return;
    m_reviewing = true;
    // The records window stays open under the exam window: a modal window
    // that hid itself would end its own modal run.
    exam::showProgress(QStringLiteral("正在初始化数据..."));
    const exam::PaperRecord r = m_records.at(i);
    exam::showProgress(QStringLiteral("正在提取数据..."));
    {
        TFrmExam exam(this);
        if (!exam.resourcesLoaded()) {
            exam::hideProgress();
            m_reviewing = false;
            return;
        }
        // A paper never marked has no score: it is reviewed with 0.
        exam.OpenPaper(r.tableName, r.title, QStringLiteral("old"), r.score.isNull() ? 0.0 : r.score.toDouble(), r.timeUsed);
        if (exam.LoadPaper([](const QString &text) { exam::showProgress(text); }) != 1) {
            m_reviewing = false;
            return;   // the program is ending
        }
        exam::hideProgress();
        ui::execModal(&exam);
    }
    exam::hideProgress();
    m_reviewing = false;
    // Back in the records: everything is read again.
    FormShow();
}

void TFrmCheck::SpeedButton4Click()
{
    const int i = selectedRow();
    if (i < 0)
        return;
    if (seams::messageBox(QStringLiteral("提示"), QStringLiteral("即将删除试卷，要继续么？"), seams::Prompt::Question,
                          seams::Prompt::Ok | seams::Prompt::Cancel)
        != seams::Prompt::Ok)
        return;
    try {
        exam::deletePaper(m_dm, m_records.at(i).tableName);
        // The list loses the paper at once; the figures wait for the next
        // showing of the window.
        fillGrid();
    } catch (const std::exception &e) {
        ui::showError(QString::fromUtf8(e.what()));
    }
}

void TFrmCheck::epEfButton3Click() { examlinks::showSettings(this); }

void TFrmCheck::epEfTrBtn2Click() { close(); }

bool TFrmCheck::FormCloseQuery() { return true; }

void TFrmCheck::closeEvent(QCloseEvent *event)
{
    FormCloseQuery();
    QDialog::closeEvent(event);
}
