// The score chart window.
#include "records/Uchart.h"
#include "widgets/ThemeGui.h"

#include "widgets/AccessibleGui.h"
#include "widgets/UflatButton.h"
#include "common/ShellState.h"
#include "platform/QtLanguage.h"
#include "platform/Seams.h"
#include "records/UchartParts.h"
#include "store/dm.h"
#include "widgets/ModalGui.h"
#include "widgets/Ubackdrop.h"
#include "widgets/Uconfig.h"

#include <QBarSeries>
#include <QBarSet>
#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QPainter>
#include <QPen>
#include <QPieSeries>
#include <QPieSlice>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QValueAxis>
#include <QVBoxLayout>
#include <QCursor>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr double ProgressBarWidth = 0.5;
const QColor DoneColour(0, 128, 0);
const QColor WrongColour(255, 0, 0);

// The raised look of the frequency bars shades each bar across its width.
// With hundreds of chapters a bar is narrower than a pixel: the shading
// cannot be seen (while filling thousands of shaded bars costs more than
// the rest of the window) and the chart's white bar border would cover the
// bar altogether.  Such bars are filled plainly and outlined in their own
// colour, one pixel wide, so that each stays visible.
constexpr int MostShadedChapters = 200;

void setFrequencyLook(QBarSet *set, const QColor &colour, bool raised, qsizetype chapters)
{
    const bool many = chapters > MostShadedChapters;
    set->setBrush(chartBrush(colour, raised && !many));
    if (many)
        set->setPen(QPen(colour, 0));
}

QChartView *chartView(QWidget *parent, const char *name, const QString &title)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    QFont f = chart->titleFont();
    f.setPixelSize(18);
    f.setBold(true);
    chart->setTitleFont(f);
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->setAnimationOptions(QChart::NoAnimation);
    auto *view = new QChartView(chart, parent);
    view->setObjectName(QLatin1String(name));
    return view;
}

// The axes of a bar chart: the values with their title, the chapters
// hidden (their names would not fit under hundreds of bars).  The chapter
// axis is a number axis over the bar positions, -0.5 to count - 0.5, where
// a category axis would place bar i just the same: a category axis checks
// each new name against all before it, which at thousands of chapters
// takes longer than the rest of the window.
void addBarAxes(QChart *chart, QBarSeries *series, int count, const QString &valueTitle, const QString &chapterTitle,
                qreal top)
{
    auto *x = new QValueAxis;
    x->setRange(-0.5, count - 0.5);
    x->setTitleText(chapterTitle);
    x->setVisible(false);
    auto *y = new QValueAxis;
    y->setTitleText(valueTitle);
    y->setLabelFormat(QStringLiteral("%d"));
    // Room above the tallest bar for its mark; an empty chart still shows
    // a scale rather than a lone 0.
    y->setRange(0, top);
    y->applyNiceNumbers();
    // Drawn upright beside the axis: turned on its side the Chinese title
    // would not read.
    y->setTitleVisible(false);
    new UprightAxisTitle(chart, valueTitle);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
}

QRadioButton *radio(QGroupBox *box, QButtonGroup *group, int id, const QString &text)
{
    auto *r = new QRadioButton(text, box);
    r->setObjectName(QStringLiteral("%1_%2").arg(box->objectName()).arg(id));
    group->addButton(r, id);
    // The four legend places stand two by two: in the 800 x 600 layout a
    // column of them would not fit under the chart types.
    if (auto *grid = qobject_cast<QGridLayout *>(box->layout()))
        grid->addWidget(r, id / 2, id % 2);
    else
        box->layout()->addWidget(r);
    return r;
}

} // namespace

Tfrmchart::Tfrmchart(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmchart"));
    setWindowTitle(QStringLiteral("成绩统计图"));
    new backdrop::StripDragger(this);

    printerPresent = [] { return !QPrinterInfo::availablePrinters().isEmpty(); };
    printChart = [](QChartView *view) {
        QPrinter printer(QPrinterInfo::defaultPrinter());
        QPainter p;
        if (!p.begin(&printer))
            return false;
        view->render(&p);
        return p.end();
    };
    askFileName = [this]() -> QString {
        QFileDialog d(this, QStringLiteral("存为..."), platform::documentsFolder(), QStringLiteral("Bitmaps图片 (*.bmp)"));
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.setDefaultSuffix(QStringLiteral("bmp"));
        // Asking before overwriting is the dialog's own (not switched off).
        if (ui::execModal(&d) != QDialog::Accepted || d.selectedFiles().isEmpty())
            return QString();
        return d.selectedFiles().first();
    };

    auto *root = new QHBoxLayout(this);
    root->setContentsMargins(12, backdrop::StripHeight + 8, 12, 12);
    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    DBChart1 = chartView(Notebook1, "DBChart1", QStringLiteral("频 度 统 计 图"));
    DBChart2 = chartView(Notebook1, "DBChart2", QStringLiteral("习题分布统计图"));
    DBChart3 = chartView(Notebook1, "DBChart3", QStringLiteral("进度统计图"));
    // Bars are upright rectangles and need no smoothing (which would cost a
    // great deal with hundreds of them); the pie's edges do.
    DBChart2->setRenderHint(QPainter::Antialiasing);
    pieLegend = new PieLegend(DBChart2->chart());
    frequencyNote = new ChartNote(DBChart1->chart());
    pieNote = new ChartNote(DBChart2->chart());
    progressNote = new ChartNote(DBChart3->chart());
    Notebook1->addWidget(DBChart1);
    Notebook1->addWidget(DBChart2);
    Notebook1->addWidget(DBChart3);
    root->addWidget(Notebook1, 1);

    totalCaption = new QLabel(QStringLiteral("习题总数:"), DBChart2);
    totalCaption->setObjectName(QStringLiteral("totalCaption"));
    totalValue = new QLabel(QStringLiteral("0"), DBChart2);
    totalValue->setObjectName(QStringLiteral("totalValue"));
    totalCaption->setBuddy(totalValue);
    a11y::speakValue(totalValue, [](const QString &n) { return QStringLiteral("习题总数 ") + n; });
    for (QLabel *l : {totalCaption, totalValue})
        theme::setRole(l, "heading");

    auto *side = new QVBoxLayout;
    root->addLayout(side);
    auto group = [this, side](const char *name, const QString &title) {
        auto *g = new QGroupBox(title, this);
        g->setObjectName(QLatin1String(name));
        new QVBoxLayout(g);
        side->addWidget(g);
        return g;
    };
    RadioGroup1 = group("RadioGroup1", QStringLiteral("统计图类型"));
    typeItems = new QButtonGroup(this);
    radio(RadioGroup1, typeItems, 0, QStringLiteral("习题分布"));
    radio(RadioGroup1, typeItems, 1, QStringLiteral("频度统计"));
    radio(RadioGroup1, typeItems, 2, QStringLiteral("进度统计"));
    RadioGroup2 = group("RadioGroup2", QStringLiteral("图例位置"));
    delete RadioGroup2->layout();
    new QGridLayout(RadioGroup2);
    legendItems = new QButtonGroup(this);
    radio(RadioGroup2, legendItems, 0, QStringLiteral("上方"));
    radio(RadioGroup2, legendItems, 1, QStringLiteral("下方"));
    radio(RadioGroup2, legendItems, 2, QStringLiteral("左侧"));
    radio(RadioGroup2, legendItems, 3, QStringLiteral("右侧"));
    legendItems->button(0)->setChecked(true);
    QGroupBox *style = group("GroupBox1", QStringLiteral("显示风格"));
    auto check = [style](const char *name, const QString &text) {
        auto *c = new QCheckBox(text, style);
        c->setObjectName(QLatin1String(name));
        c->setChecked(true);
        style->layout()->addWidget(c);
        return c;
    };
    CheckBox1 = check("CheckBox1", QStringLiteral("立体显示"));
    CheckBox2 = check("CheckBox2", QStringLiteral("显示图例"));
    CheckBox3 = check("CheckBox3", QStringLiteral("显示标签"));
    side->addStretch(1);
    epFocusButton1 = flatButton(this, "epFocusButton1", QStringLiteral("打印"));
    epFocusButton3 = flatButton(this, "epFocusButton3", QStringLiteral("存为..."));
    epEfTrBtn1 = flatButton(this, "epEfTrBtn1", QStringLiteral("设置"));
    epFocusButton2 = flatButton(this, "epFocusButton2", QStringLiteral("关闭"));
    for (QPushButton *b : {epFocusButton1, epFocusButton3, epEfTrBtn1, epFocusButton2})
        side->addWidget(b);

    // Type choices act on a click; legend and style choices whenever their
    // state changes, also when a type choice resets them.
    connect(typeItems, &QButtonGroup::idClicked, this, &Tfrmchart::RadioGroup1Click);
    connect(legendItems, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            RadioGroup2Click(id);
    });
    connect(CheckBox1, &QCheckBox::toggled, this, &Tfrmchart::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::toggled, this, &Tfrmchart::CheckBox2Click);
    connect(CheckBox3, &QCheckBox::toggled, this, &Tfrmchart::CheckBox3Click);
    connect(epFocusButton1, &QPushButton::clicked, this, &Tfrmchart::epFocusButton1Click);
    connect(epFocusButton3, &QPushButton::clicked, this, &Tfrmchart::epFocusButton3Click);
    connect(epFocusButton2, &QPushButton::clicked, this, &Tfrmchart::epFocusButton2Click);
    connect(epEfTrBtn1, &QPushButton::clicked, this, &Tfrmchart::epEfTrBtn1Click);

    resize(760, 480);
}

void Tfrmchart::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

int Tfrmchart::totalTop() const { return shell().compactScreen() ? 320 : 400; }

void Tfrmchart::FormShow()
{
    if (m_filled)
        return;
    m_filled = true;
    ui::busyCursor();
    if (!shell().compactScreen())
        setFixedSize(934, 600);
    else
        setFixedSize(760, 480);
    totalCaption->move(24, totalTop());
    totalCaption->adjustSize();
    totalValue->move(24 + totalCaption->width() + 6, totalTop());
    try {
        fillCharts(records::readChapterFigures(*DM1));
    } catch (const std::exception &e) {
        ui::normalCursor();
        ui::showError(QString::fromUtf8(e.what()));
        return;
    }
    typeItems->button(1)->setChecked(true);
    Notebook1->setCurrentIndex(0);
    ui::normalCursor();
}

void Tfrmchart::fillCharts(const QVector<records::ChapterFigures> &rows)
{
    QList<qreal> done, wrong;
    QList<qreal> progress;
    QVector<qint64> progressValues;
    QVector<QColor> progressColours;
    pieSeries = new QPieSeries;
    pieSeries->setName(QStringLiteral("习题分布"));
    qreal sum = 0;
    for (const records::ChapterFigures &r : rows)
        sum += qreal(r.questions);
    // Every look is set before a series meets its chart: a chart lays
    // itself out again on each change of a slice or bar set.
    QList<QPieSlice *> slices;
    for (int i = 0; i < rows.size(); ++i) {
        const records::ChapterFigures &r = rows.at(i);
        const qreal pct = sum > 0 ? qreal(r.questions) / sum * 100.0 : 0.0;
        auto *slice = new QPieSlice(QStringLiteral("%1 %2%").arg(r.name).arg(pct, 0, 'f', 1), qreal(r.questions));
        slice->setBrush(chartBrush(records::sliceColour(i), true));
        slice->setBorderColor(records::sliceColour(i).darker(160));
        slice->setLabelVisible(true);
        slices << slice;
        done << qreal(r.answers);
        wrong << qreal(r.wrong);
        if (const std::optional<qint64> p = records::progressPercent(r.questions, r.done)) {
            progress << qreal(*p);
            progressValues << *p;
            progressColours << records::sliceColour(i);
            m_progressRows << i;
        }
    }
    pieSeries->append(slices);
    pieSeries->setPieSize(0.62);
    m_rows = rows;
    m_allQuestions = qint64(sum);
    connect(pieSeries, &QPieSeries::hovered, this, [this](QPieSlice *slice, bool on) {
        showTip(records::ChartKind::Distribution, int(pieSeries->slices().indexOf(slice)), on);
    });
    pieNote->setNote(sum > 0 ? QString() : records::emptyChartNote(records::ChartKind::Distribution));

    // Page 0: answers given and wrong per chapter.
    doneSet = new QBarSet(QStringLiteral("已做题次"));
    wrongSet = new QBarSet(QStringLiteral("做错题次"));
    doneSet->append(done);
    wrongSet->append(wrong);
    setFrequencyLook(doneSet, DoneColour, true, done.size());
    setFrequencyLook(wrongSet, WrongColour, true, done.size());
    frequencySeries = new QBarSeries;
    frequencySeries->append(doneSet);
    frequencySeries->append(wrongSet);
    DBChart1->chart()->addSeries(frequencySeries);
    qreal most = 0;
    for (qreal v : done + wrong)
        most = qMax(most, v);
    addBarAxes(DBChart1->chart(), frequencySeries, int(done.size()), QStringLiteral("题  次"), QStringLiteral("章    节"),
               most > 0 ? most * 1.1 : 10);
    frequencyNote->setNote(most > 0 ? QString() : records::emptyChartNote(records::ChartKind::Frequency));
    connect(frequencySeries, &QBarSeries::hovered, this,
            [this](bool on, int index) { showTip(records::ChartKind::Frequency, index, on); });
    // Only the wrong answers carry their value; the second of two bars in a
    // category stands a quarter of the series' width right of its middle.
    frequencyMarks = new BarMarks(DBChart1->chart(), frequencySeries->barWidth() / 4);
    QVector<qint64> wrongValues;
    for (qreal v : wrong)
        wrongValues << qint64(v);
    frequencyMarks->setValues(wrongValues);

    // Page 2: progress; the series carries the marks, the bars under it
    // wear each chapter's colour.
    progressSet = new QBarSet(QStringLiteral("进度"));
    progressSet->append(progress);
    progressSet->setColor(Qt::transparent);
    progressSet->setBorderColor(Qt::transparent);
    progressSeries = new QBarSeries;
    progressSeries->setBarWidth(ProgressBarWidth);
    progressSeries->append(progressSet);
    progressBars = new ProgressBars(DBChart3->chart(), ProgressBarWidth);
    progressBars->setZValue(-1);
    progressBars->setBars(progressValues, progressColours);
    progressMarks = new BarMarks(DBChart3->chart(), 0);
    progressMarks->setValues(progressValues);
    const bool anyProgress = std::any_of(progressValues.begin(), progressValues.end(), [](qint64 v) { return v > 0; });
    progressNote->setNote(anyProgress ? QString() : records::emptyChartNote(records::ChartKind::Progress));
    connect(progressSeries, &QBarSeries::hovered, this, [this](bool on, int index) {
        showTip(records::ChartKind::Progress, m_progressRows.value(index, -1), on);
    });

    for (QChartView *v : {DBChart1, DBChart2, DBChart3}) {
        m_raised[v] = true;
        v->chart()->setDropShadowEnabled(true);
    }
    // The distribution and progress charts take their series when first
    // shown: with hundreds of chapters, laying out charts nobody looks at
    // would hold up the window.
}

void Tfrmchart::attachPage(QChartView *view)
{
    if (view == DBChart2 && pieSeries && !pieSeries->chart()) {
        DBChart2->chart()->addSeries(pieSeries);
        QVector<QColor> colours;
        for (int i = 0; i < m_rows.size(); ++i)
            colours << records::sliceColour(i);
        QStringList names;
        for (const records::ChapterFigures &r : m_rows)
            names << r.name;
        pieLegend->setEntries(names, colours);
    } else if (view == DBChart3 && progressSeries && !progressSeries->chart()) {
        DBChart3->chart()->addSeries(progressSeries);
        addBarAxes(DBChart3->chart(), progressSeries, int(progressSet->count()), QStringLiteral("进度(%)"), QStringLiteral("章   节"),
                   100);
        if (!progressBars->colours().isEmpty()) {
            const auto markers = DBChart3->chart()->legend()->markers(progressSeries);
            for (QLegendMarker *m : markers)
                m->setBrush(progressBars->colours().first());
        }
    }
}

void Tfrmchart::applyLook(QChartView *view, bool raised)
{
    m_raised[view] = raised;
    view->chart()->setDropShadowEnabled(raised);
    if (view == DBChart1 && doneSet) {
        setFrequencyLook(doneSet, DoneColour, raised, doneSet->count());
        setFrequencyLook(wrongSet, WrongColour, raised, doneSet->count());
    } else if (view == DBChart2 && pieSeries) {
        const auto slices = pieSeries->slices();
        for (int i = 0; i < slices.size(); ++i) {
            slices[i]->setBrush(chartBrush(records::sliceColour(i), raised));
            slices[i]->setBorderColor(raised ? records::sliceColour(i).darker(160) : QColor(Qt::white));
        }
    } else if (view == DBChart3 && progressBars) {
        progressBars->setRaised(raised);
    }
}

bool Tfrmchart::raised(QChartView *view) const { return m_raised.value(view, false); }

QChartView *Tfrmchart::shownChart() const { return qobject_cast<QChartView *>(Notebook1->currentWidget()); }

void Tfrmchart::RadioGroup1Click(int item)
{
    // Resetting the choices acts on the chart shown until now.
    legendItems->button(0)->setChecked(true);
    CheckBox1->setChecked(true);
    CheckBox2->setChecked(true);
    CheckBox3->setChecked(true);
    switch (item) {
    case 0:
        attachPage(DBChart2);
        Notebook1->setCurrentIndex(1);
        try {
            totalValue->setText(QString::number(records::totalQuestions(*DM1)));
            totalValue->adjustSize();
        } catch (const std::exception &e) {
            ui::showError(QString::fromUtf8(e.what()));
        }
        break;
    case 1:
        Notebook1->setCurrentIndex(0);
        break;
    case 2:
        attachPage(DBChart3);
        Notebook1->setCurrentIndex(2);
        break;
    default:
        break;
    }
}

void Tfrmchart::RadioGroup2Click(int item)
{
    static const Qt::Alignment Positions[] = {Qt::AlignTop, Qt::AlignBottom, Qt::AlignLeft, Qt::AlignRight};
    if (item < 0 || item > 3)
        return;
    QChartView *view = shownChart();
    view->chart()->legend()->setAlignment(Positions[item]);
    if (view == DBChart2) {
        // A legend below would cover the total: it moves up out of the way.
        const int y = item == 1 ? totalTop() - 30 : totalTop();
        totalCaption->move(totalCaption->x(), y);
        totalValue->move(totalValue->x(), y);
        pieLegend->relayout();
    }
}

void Tfrmchart::CheckBox1Click(bool on) { applyLook(shownChart(), on); }

void Tfrmchart::CheckBox2Click(bool on)
{
    shownChart()->chart()->legend()->setVisible(on);
    RadioGroup2->setEnabled(on);
    if (shownChart() == DBChart2)
        pieLegend->relayout();
}

void Tfrmchart::CheckBox3Click(bool on)
{
    QChartView *view = shownChart();
    if (view == DBChart1 && frequencyMarks)
        frequencyMarks->setVisible(on);
    else if (view == DBChart2 && pieSeries)
        pieSeries->setLabelsVisible(on);
    else if (view == DBChart3 && progressMarks)
        progressMarks->setVisible(on);
}

void Tfrmchart::showTip(records::ChartKind kind, int chapter, bool on)
{
    if (!on || chapter < 0 || chapter >= m_rows.size()) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(QCursor::pos(), records::chartTip(kind, m_rows.at(chapter), m_allQuestions), shownChart());
}

void Tfrmchart::epFocusButton1Click()
{
    if (!printerPresent()) {
        seams::showDlg(QStringLiteral("提示"), QStringLiteral("没有发现打印机！"), 1, seams::DlgWarning);
        return;
    }
    if (!printChart(shownChart()))
        seams::showDlg(QStringLiteral("错误"), QStringLiteral("打印时发生错误！"), 1, seams::DlgError);
}

void Tfrmchart::epFocusButton3Click()
{
    const QString file = askFileName();
    if (file.isEmpty())
        return;
    if (!shownChart()->grab().save(file, "BMP"))
        seams::showDlg(QStringLiteral("错误"), QStringLiteral("无法保存文件！"), 1, seams::DlgError);
}

void Tfrmchart::epFocusButton2Click() { close(); }

void Tfrmchart::epEfTrBtn1Click() { openSettings(this, 0); }

void Tfrmchart::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void Tfrmchart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    backdrop::paint(this, p, windowTitle());
}
