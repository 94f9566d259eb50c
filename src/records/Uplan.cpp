// The study plan window.
#include "records/Uplan.h"
#include "widgets/AccessibleGui.h"

#include "platform/Seams.h"
#include "store/SqlText.h"
#include "store/dm.h"
#include "widgets/ModalGui.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGroupBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QToolTip>

namespace {

const QString Item0Text = QStringLiteral("按作题数量制定学习计划      每天                   道题");
const QString Item1Text = QStringLiteral("按作题时间制定学习计划      每天                   分钟");

// The user's short date format with the full year; a format that spells
// the month as a word would not fit the box, so it gives way to digits.
QString shortDateFormat(const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (format.contains(QLatin1String("MMM")))
        return QStringLiteral("yyyy-MM-dd");
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

// The date box: the user's short date format with the full year, and a
// hint of its own over the drop-down button.
class PlanDateEdit : public QDateEdit {
public:
    explicit PlanDateEdit(QWidget *parent) : QDateEdit(parent)
    {
        setDisplayFormat(shortDateFormat(QLocale()));
        setCalendarPopup(true);
        setToolTip(QStringLiteral("点击右侧按钮-->"));
    }

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::ToolTip) {
            auto *help = static_cast<QHelpEvent *>(e);
            QStyleOptionComboBox opt;
            opt.initFrom(this);
            opt.editable = true;
            const QRect button = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, this);
            const bool overButton = button.isValid() ? button.contains(help->pos()) : help->pos().x() >= width() - 20;
            QToolTip::showText(help->globalPos(), overButton ? QStringLiteral("点击设置日期") : toolTip(), this);
            return true;
        }
        return QDateEdit::event(e);
    }
};

NumberBox *numberBox(QWidget *parent, const char *name)
{
    auto *b = new NumberBox(parent);
    b->setObjectName(QLatin1String(name));
    b->setRange(0, 999);
    b->setButtonSymbols(QAbstractSpinBox::NoButtons);
    b->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    b->setFixedSize(45, 21);
    return b;
}

QPushButton *speedButton(QWidget *parent, const char *name, const QString &caption, int x, int y)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::TabFocus);
    b->setCursor(Qt::PointingHandCursor);
    b->setGeometry(x, y, 72, 31);
    return b;
}

} // namespace

TFrmplan::TFrmplan(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Frmplan"));
    setWindowTitle(QStringLiteral("学习计划"));
    setFixedSize(460, 250);
    if (!m_background.load(seams::appDir() + QStringLiteral("pic/bg_plan.png")))
        m_background = QPixmap();

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(169, 16, 85, 61);
    Label1->setAlignment(Qt::AlignCenter);
    QFont big = font();
    big.setPixelSize(47);
    big.setBold(true);
    big.setItalic(true);
    Label1->setFont(big);

    QFont captionFont = font();
    captionFont.setPixelSize(18);
    captionFont.setBold(true);
    epLabel1 = new QLabel(QStringLiteral("距离考试还有"), this);
    epLabel1->setObjectName(QStringLiteral("epLabel1"));
    epLabel1->setFont(captionFont);
    epLabel1->setGeometry(40, 34, 128, 28);
    epLabel2 = new QLabel(QStringLiteral("天"), this);
    epLabel2->setObjectName(QStringLiteral("epLabel2"));
    epLabel2->setFont(captionFont);
    epLabel2->setGeometry(266, 34, 30, 28);

    Label2 = new QLabel(QStringLiteral("考试日："), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(293, 68, 56, 22);
    DateEdit1 = new PlanDateEdit(this);
    DateEdit1->setObjectName(QStringLiteral("DateEdit1"));
    DateEdit1->setGeometry(348, 68, 91, 22);
    QFont dateFont = font();
    dateFont.setPixelSize(11);
    DateEdit1->setFont(dateFont);
    DateEdit1->setDate(seams::clock().today());
    DateEdit1->setEnabled(false);
    a11y::nameAfter(Label2, DateEdit1);
    // The day count between its caption and "天" (the caption changes once
    // the exam day has passed).
    a11y::speakValue(Label1, [this](const QString &n) { return a11y::labelWords(epLabel1->text()) + QLatin1Char(' ') + n + epLabel2->text(); });

    SeSkinRadioGroup1 = new QGroupBox(QStringLiteral("学习计划"), this);
    SeSkinRadioGroup1->setObjectName(QStringLiteral("SeSkinRadioGroup1"));
    SeSkinRadioGroup1->setGeometry(30, 94, 410, 90);
    QFont itemFont = font();
    itemFont.setPixelSize(14);
    item0 = new QRadioButton(Item0Text, SeSkinRadioGroup1);
    item0->setObjectName(QStringLiteral("SeSkinRadioGroup1_0"));
    item1 = new QRadioButton(Item1Text, SeSkinRadioGroup1);
    item1->setObjectName(QStringLiteral("SeSkinRadioGroup1_1"));
    item0->setFont(itemFont);
    item1->setFont(itemFont);
    item0->setGeometry(12, 27, 392, 21);
    item1->setGeometry(12, 59, 392, 21);
    m_items = new QButtonGroup(this);
    m_items->addButton(item0, 0);
    m_items->addButton(item1, 1);
    SeSkinRadioGroup1->setEnabled(false);
    connect(m_items, &QButtonGroup::idClicked, this, &TFrmplan::SeSkinRadioGroup1Click);

    // The boxes sit over the group, not in it, so that locking the group
    // leaves the box of the chosen target as it is.
    suiNumberEdit1 = numberBox(this, "suiNumberEdit1");
    suiNumberEdit2 = numberBox(this, "suiNumberEdit2");
    placeNumberBoxes();
    // Each box stands inside the words of its item ("每天 … 道题").
    suiNumberEdit1->setAccessibleName(item0->text().simplified());
    suiNumberEdit2->setAccessibleName(item1->text().simplified());

    SpeedButton1 = speedButton(this, "SpeedButton1", QStringLiteral("设定"), 290, 205);
    SpeedButton2 = speedButton(this, "SpeedButton2", QStringLiteral("关闭"), 367, 205);
    connect(SpeedButton1, &QPushButton::clicked, this, &TFrmplan::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TFrmplan::SpeedButton2Click);
}

void TFrmplan::placeNumberBoxes()
{
    // Each box goes into the run of blanks between "每天" and the unit of its
    // item's text, wherever the font puts that run.
    auto place = [this](QRadioButton *item, QSpinBox *box) {
        const QString text = item->text();
        const int gapStart = text.indexOf(QStringLiteral("每天")) + 2;
        int gapEnd = gapStart;
        while (gapEnd < text.size() && text.at(gapEnd) == QLatin1Char(' '))
            ++gapEnd;
        QStyleOptionButton opt;
        opt.initFrom(item);
        const QRect contents = item->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, item);
        const QFontMetrics fm(item->font());
        const int from = fm.horizontalAdvance(text.left(gapStart));
        const int to = fm.horizontalAdvance(text.left(gapEnd));
        const QPoint origin = item->mapTo(this, QPoint(contents.x(), 0));
        box->move(origin.x() + (from + to - box->width()) / 2, origin.y() + (item->height() - box->height()) / 2);
        box->raise();
    };
    place(item0, suiNumberEdit1);
    place(item1, suiNumberEdit2);
}

void TFrmplan::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFrmplan::FormShow()
{
    try {
        const records::StudyPlan plan = records::readPlan(*DM1);
        suiNumberEdit1->setValue(plan.planAmount);
        suiNumberEdit2->setValue(plan.planTime);
        setItem(plan.planMark);
        const std::optional<QDate> exam = records::parseExamDate(plan.examDate);
        if (!exam) {
            ui::showError(QStringLiteral("“%1”不是有效的日期").arg(plan.examDate));
            return;
        }
        DateEdit1->setDate(*exam);
        showCountdown(records::countdownView(records::daysUntil(seams::clock().today(), *exam)));
    } catch (const std::exception &e) {
        ui::showError(QString::fromUtf8(e.what()));
    }
}

void TFrmplan::setItem(int item)
{
    if (QAbstractButton *b = m_items->button(item)) {
        b->setChecked(true);
        SeSkinRadioGroup1Click(item);
    } else {
        m_items->setExclusive(false);
        item0->setChecked(false);
        item1->setChecked(false);
        m_items->setExclusive(true);
        suiNumberEdit1->setEnabled(false);
        suiNumberEdit2->setEnabled(false);
    }
}

int TFrmplan::selectedItem() const { return m_items->checkedId(); }

bool TFrmplan::editing() const { return SpeedButton1->text() == QStringLiteral("保存"); }

void TFrmplan::SeSkinRadioGroup1Click(int item)
{
    NumberBox *on = item == 0 ? suiNumberEdit1 : suiNumberEdit2;
    NumberBox *off = item == 0 ? suiNumberEdit2 : suiNumberEdit1;
    on->setEnabled(true);
    off->setEnabled(false);
    on->setFocus();
}

void TFrmplan::showCountdown(const records::CountdownView &v)
{
    Label1->setText(v.number);
    epLabel1->setText(v.caption);
    Label1->setVisible(v.numberShown);
    epLabel2->setVisible(v.numberShown);
    // The countdown's colour tells how near the exam is: the one colour a
    // window sets for itself.
    if (v.colour != records::CountdownView::Unchanged)
        Label1->setStyleSheet(QStringLiteral("color: %1;").arg(records::countdownColour(v.colour).name()));
}

void TFrmplan::SpeedButton1Click()
{
    // Saving takes what the boxes show, or says what they can hold.
    if (editing())
        for (NumberBox *box : {suiNumberEdit1, suiNumberEdit2})
            if (!box->settle()) {
                seams::messageBox(QStringLiteral("提示"), box->rangeText(), seams::Prompt::Information);
                box->setFocus();
                return;
            }
    const bool edit = !editing();
    SpeedButton1->setText(edit ? QStringLiteral("保存") : QStringLiteral("设定"));
    DateEdit1->setEnabled(edit);
    SeSkinRadioGroup1->setEnabled(edit);
    const int item = selectedItem();
    if (item >= 0)
        (item == 0 ? suiNumberEdit1 : suiNumberEdit2)->setEnabled(true);
    if (edit)
        return;

    const QDate exam = DateEdit1->date();
    const records::CountdownView view = records::countdownView(records::daysUntil(seams::clock().today(), exam));
    Label1->setText(view.number);
    records::StudyPlan plan;
    plan.planAmount = suiNumberEdit1->value();
    plan.planTime = suiNumberEdit2->value();
    plan.examDate = sqltext::dateText(exam);
    plan.planMark = item;
    try {
        records::savePlan(*DM1, plan);
    } catch (const std::exception &e) {
        ui::showError(QString::fromUtf8(e.what()));
        return;
    }
    showCountdown(view);
}

void TFrmplan::SpeedButton2Click() { close(); }

bool TFrmplan::FormCloseQuery() { return true; }

void TFrmplan::closeEvent(QCloseEvent *event)
{
    // Leaving while editing drops the edits: only "保存" writes the plan.
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
    QDialog::closeEvent(event);
}

void TFrmplan::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        return;   // the plan closes only by "关闭"
    QDialog::keyPressEvent(event);
}

void TFrmplan::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_background.isNull()) {
        p.drawPixmap(rect(), m_background);
        return;
    }
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(0xf4, 0xf8, 0xfd));
    g.setColorAt(1, QColor(0xd3, 0xe2, 0xf3));
    p.fillRect(rect(), g);
    p.setPen(QColor(0x5b, 0x7f, 0xb0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
