// The study log window.
#include "records/Urz.h"
#include "widgets/ThemeGui.h"

#include "widgets/AccessibleGui.h"
#include "widgets/KeyboardGui.h"
#include "widgets/UflatButton.h"
#include "common/ShellState.h"
#include "platform/Seams.h"
#include "records/StudyRecords.h"
#include "store/dm.h"
#include "widgets/ModalGui.h"
#include "widgets/Ubackdrop.h"
#include "widgets/Uconfig.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int BackgroundStrip = 52;

// The grid's columns: heading and whether the figure is right-aligned (all
// figures are, the day is not).
struct LogColumn {
    const char *heading;
    bool right;
};
const LogColumn Columns[] = {{"日期", false},  {"做过题数", true}, {"做错题数", true}, {"做过道次", true},
                             {"做错道次", true}, {"总用时", true},   {"平均成绩", true}};
// The figures' width in the 800 x 600 window: all seven columns fit beside
// the 198-pixel day, "平均成绩" included, without scrolling.
constexpr int CompactFigureWidth = 84;

// A read-only model that aligns the time and score columns to the right.
class LogModel : public QSqlQueryModel {
public:
    using QSqlQueryModel::QSqlQueryModel;
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::TextAlignmentRole && index.column() >= 0 && index.column() < int(std::size(Columns)))
            return QVariant(int((Columns[index.column()].right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
        return QSqlQueryModel::data(index, role);
    }
};

} // namespace

TFrmRz::TFrmRz(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmRz"));
    setWindowTitle(QStringLiteral("日志"));
    new backdrop::StripDragger(this);

    auto *root = new QVBoxLayout(this);
    auto *figures = new QHBoxLayout;
    figures->setSpacing(10);
    auto addFigure = [&](const QString &caption, const char *name) {
        auto *l = new QLabel(caption, this);
        theme::setRole(l, "heading");
        auto *value = new QLabel(QStringLiteral("0"), this);
        value->setObjectName(QLatin1String(name));
        l->setBuddy(value);
        a11y::speakValue(value, [words = a11y::labelWords(caption)](const QString &shown) { return words + QLatin1Char(' ') + shown; });
        value->setMinimumSize(90, 34);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        theme::setRole(value, "value");
        QFont big = value->font();
        big.setPixelSize(20);
        value->setFont(big);
        figures->addWidget(l);
        figures->addWidget(value);
        figures->addSpacing(16);
        return value;
    };
    countGiven = addFigure(QStringLiteral("已做习题\n（道次）"), "countGiven");
    countWrong = addFigure(QStringLiteral("做错习题\n（道次）"), "countWrong");
    overallScore = addFigure(QStringLiteral("综合成绩"), "overallScore");
    figures->addStretch(1);
    root->addLayout(figures);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("学习日志"));
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->setVisible(false);
    DBGrid1->setAlternatingRowColors(true);
    keys::workGridByKeys(DBGrid1);
    root->addWidget(DBGrid1, 1);

    auto *actions = new QHBoxLayout;
    SpeedButton1 = flatButton(this, "SpeedButton1", QStringLiteral("设置"));
    SpeedButton2 = flatButton(this, "SpeedButton2", QStringLiteral("关闭"));
    SpeedButton3 = flatButton(this, "SpeedButton3", QStringLiteral("关闭"));
    SpeedButton2->setEnabled(false);
    SpeedButton2->hide();
    actions->addStretch(1);
    actions->addWidget(SpeedButton1);
    actions->addWidget(SpeedButton3);
    root->addLayout(actions);
    connect(SpeedButton1, &QPushButton::clicked, this, &TFrmRz::SpeedButton1Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TFrmRz::SpeedButton3Click);

    m_model = new LogModel(this);
    QSqlQuery q(DM1->db());
    if (!q.exec(records::logGridSql()))
        throw store::DbError(q.lastError().text());
    m_model->setQuery(std::move(q));
    while (m_model->canFetchMore())
        m_model->fetchMore();
    for (int c = 0; c < int(std::size(Columns)); ++c)
        m_model->setHeaderData(c, Qt::Horizontal, QString::fromUtf8(Columns[c].heading));
    DBGrid1->setModel(m_model);
    if (!shell().compactScreen()) {
        DBGrid1->setColumnWidth(0, 192);
        for (int c = 1; c < int(std::size(Columns)); ++c)
            DBGrid1->setColumnWidth(c, 80);
    }
}

void TFrmRz::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFrmRz::FormShow()
{
    try {
        const records::LogTotals t = records::readLogTotals(*DM1);
        countGiven->setText(QString::number(t.given));
        countWrong->setText(QString::number(t.wrong));
        overallScore->setText(t.score);
    } catch (const std::exception &e) {
        ui::showError(QString::fromUtf8(e.what()));
    }
    const bool small = shell().compactScreen();
    if (!m_background.load(seams::appDir() + QStringLiteral("pic/bg_rz_") + (small ? QStringLiteral("800") : QStringLiteral("1024"))
                           + QStringLiteral(".png")))
        m_background = QPixmap();
    const int strip = m_background.isNull() ? backdrop::StripHeight : BackgroundStrip;
    layout()->setContentsMargins(small ? 10 : 16, strip + 10, small ? 10 : 16, small ? 10 : 16);
    DBGrid1->setColumnWidth(0, small ? 198 : 252);
    if (small)
        for (int c = 1; c < int(std::size(Columns)); ++c)
            DBGrid1->setColumnWidth(c, CompactFigureWidth);
    setFixedSize(small ? QSize(760, 480) : QSize(934, 611));
}

void TFrmRz::SpeedButton1Click() { openSettings(this, 0); }

void TFrmRz::SpeedButton3Click() { close(); }

void TFrmRz::closeEvent(QCloseEvent *event)
{
    m_model->clear();   // the log's rows are let go with the window
    QDialog::closeEvent(event);
}

void TFrmRz::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void TFrmRz::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_background.isNull())
        backdrop::paint(this, p, windowTitle());
    else
        backdrop::paint(this, p, windowTitle(), m_background, BackgroundStrip);
}
