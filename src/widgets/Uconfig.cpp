// The settings window: background music and answer times.
#include "widgets/Uconfig.h"

#include "common/AnswerTimes.h"
#include "common/BackgroundMusic.h"
#include "common/ShellState.h"
#include "platform/Seams.h"
#include "store/dm.h"
#include "widgets/AccessibleGui.h"
#include "widgets/ModalGui.h"
#include "widgets/NumberBoxWidget.h"
#include "widgets/OnOffSwitchWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <memory>
#include <optional>

namespace {

constexpr int kWidth = 364;
constexpr int kMusicHeight = 100;
constexpr int kAnswerTimeHeight = 170;

QLabel *label(QWidget *parent, const char *name, const QString &text, int x, int y)
{
    auto *l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QLatin1String(name));
    l->adjustSize();
    l->move(x, y);
    return l;
}

} // namespace

TFrmConfig::TFrmConfig(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmConfig"));
    setWindowTitle(QStringLiteral("系统设置"));
    setFixedSize(kWidth, kMusicHeight);

    Label1 = label(this, "Label1", QStringLiteral("背景音乐"), 16, 24);
    RxSwitch1 = new OnOffSwitch(this);
    RxSwitch1->setObjectName(QStringLiteral("RxSwitch1"));
    RxSwitch1->move(96, 18);
    RxSwitch1->setOn(true);

    Label5 = label(this, "Label5", QStringLiteral("声音列表"), 16, 60);
    FlatComboBox1 = new QComboBox(this);
    FlatComboBox1->setObjectName(QStringLiteral("FlatComboBox1"));
    for (int i = 1; i <= 6; ++i)
        FlatComboBox1->addItem(QStringLiteral("乐曲%1").arg(i, 2, 10, QLatin1Char('0')));
    FlatComboBox1->setCurrentIndex(-1);
    FlatComboBox1->setGeometry(93, 58, 248, 22);
    a11y::nameAfter(Label1, RxSwitch1);
    a11y::nameAfter(Label5, FlatComboBox1);

    Label4 = label(this, "Label4", QStringLiteral("答题时间设置"), 8, 112);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(9, 136, 345, 168);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette white = ScrollBox1->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    ScrollBox1->setPalette(white);
    ScrollBox1->viewport()->setAutoFillBackground(true);
    m_rows = new QWidget;
    m_rows->setObjectName(QStringLiteral("ScrollBox1Rows"));
    m_rows->setAutoFillBackground(true);
    m_rows->setPalette(white);
    m_rows->resize(325, 10);
    ScrollBox1->setWidget(m_rows);

    epFocusButton3 = new QPushButton(QStringLiteral("关闭"), this);
    epFocusButton3->setObjectName(QStringLiteral("epFocusButton3"));
    epFocusButton3->setGeometry(270, 23, 71, 26);
    epFocusButton3->setAutoDefault(false);

    connect(RxSwitch1, &OnOffSwitch::switchedOn, this, &TFrmConfig::RxSwitch1On);
    connect(RxSwitch1, &OnOffSwitch::switchedOff, this, &TFrmConfig::RxSwitch1Off);
    connect(FlatComboBox1, &QComboBox::currentIndexChanged, this, &TFrmConfig::FlatComboBox1Change);
    connect(epFocusButton3, &QPushButton::clicked, this, [this] { close(); });
}

void TFrmConfig::applyAnswerTimeLayout()
{
    for (QWidget *w : {static_cast<QWidget *>(Label1), static_cast<QWidget *>(Label5),
                       static_cast<QWidget *>(RxSwitch1), static_cast<QWidget *>(FlatComboBox1)})
        w->hide();
    Label4->move(Label4->x(), 4);
    ScrollBox1->setGeometry(ScrollBox1->x(), 22, ScrollBox1->width(), 110);
    epFocusButton3->move(280, 137);
}

void TFrmConfig::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
    if (QScreen *s = QApplication::primaryScreen())
        move(s->geometry().center() - QPoint(width() / 2, height() / 2));
}

void TFrmConfig::FormShow()
{
    RxSwitch1->setOn(true);
    ShellState &st = shell();
    if (st.CurSubject == 0)
        st.CurSubject = 1;
    if (st.ConfigMode != 1) {
        setFixedSize(kWidth, kMusicHeight);
        // The answer times lie below the music window's edge: no Tab stop there.
        ScrollBox1->setFocusPolicy(Qt::NoFocus);
        return;
    }
    setFixedSize(kWidth, kAnswerTimeHeight);
    if (!DM1)
        return;
    try {
        DM1->setTypeTable(answertimes::subjectOf(st.CurSubject));
        const QVector<answertimes::TypeRow> rows = answertimes::loadRows(*DM1);
        m_rowCount = int(rows.size());
        for (int b = 0; b < rows.size(); ++b) {
            const answertimes::TypeRow &r = rows.at(b);
            auto *box = new DecimalBox(m_rows);
            box->setObjectName(QStringLiteral("Currencyedit") + QString::number(b + 1));
            box->setDecimals(1);
            box->setRange(answertimes::kMinMinutes, answertimes::kMaxMinutes);
            box->setSingleStep(0.1);
            box->setButtonSymbols(QAbstractSpinBox::NoButtons);
            box->setAlignment(Qt::AlignRight);
            box->setValue(r.minutes);
            box->setProperty("tag", r.code);
            box->setProperty("minutes", r.minutes);
            box->setGeometry(100, b * 20 + 5, 40, 20);
            // Made while the window shows, so each is shown by hand.
            box->show();
            QLabel *name = label(m_rows, nullptr, r.name, 16, b * 20 + 8);
            name->show();
            label(m_rows, nullptr, QStringLiteral("分钟"), 150, b * 20 + 8)->show();
            // Read as "单项选择题 答题时间（分钟）" rather than a bare number.
            name->setBuddy(box);
            box->setAccessibleName(r.name + QStringLiteral(" 答题时间（分钟）"));
        }
        m_rows->resize(m_rows->width(), m_rowCount * 20 + 10);
    } catch (const store::DbError &e) {
        ui::showError(e.text());
    }
}

bool TFrmConfig::FormCloseQuery()
{
    if (shell().ConfigMode != 1 || !DM1)
        return true;
    ShellState &st = shell();
    DM1->setTypeTable(answertimes::subjectOf(st.CurSubject));
    const QList<QDoubleSpinBox *> boxes = m_rows->findChildren<QDoubleSpinBox *>();
    // A time that is not a number of the boxes' range is not stored as
    // another one: the window stays and says what the box can hold.
    for (QDoubleSpinBox *box : boxes)
        if (auto *kept = dynamic_cast<DecimalBox *>(box); kept && !kept->settle()) {
            seams::messageBox(QStringLiteral("提示"), kept->rangeText(), seams::Prompt::Information);
            kept->setFocus();
            return false;
        }
    QVector<std::optional<answertimes::Entry>> entries(m_rowCount);
    for (int i = 0; i < m_rowCount; ++i) {
        const QString name = QStringLiteral("currencyedit") + QString::number(i + 1);
        for (QDoubleSpinBox *box : boxes)
            if (box->objectName().compare(name, Qt::CaseInsensitive) == 0) {
                entries[i] = answertimes::Entry{
                    box->property("tag").toInt(),
                    answertimes::minutesToStore(box->property("minutes").toDouble(), box->value())};
                break;
            }
    }
    const QString error = answertimes::saveRows(*DM1, m_rowCount, entries, st.TypeTimes, st.TypeCodes);
    if (!error.isEmpty()) {
        qWarning("answer times not saved: %s", qPrintable(error));
        seams::showDlg(QStringLiteral("错误"), QStringLiteral("保存设置失败！"), 1, seams::DlgError, QStringLiteral("No"));
    }
    // The window closes in every case.
    return true;
}

void TFrmConfig::closeEvent(QCloseEvent *event)
{
    if (!m_closing) {
        m_closing = true;
        if (!FormCloseQuery()) {
            m_closing = false;
            event->ignore();
            return;
        }
    }
    QDialog::closeEvent(event);
}

void TFrmConfig::keyPressEvent(QKeyEvent *event)
{
    // Escape has no meaning here; the window closes by its button only.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrmConfig::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(0xf4, 0xf8, 0xfd));
    g.setColorAt(1, QColor(0xdc, 0xe7, 0xf5));
    p.fillRect(rect(), g);
    p.setPen(QColor(0x1d, 0x5f, 0x8a));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TFrmConfig::RxSwitch1On()
{
    ShellState &st = shell();
    st.MusicOn = true;
    if (FlatComboBox1->currentIndex() < 0)
        st.MusicFile = music::tuneFile(QStringLiteral("乐曲01"));
    PlayMusic(st.MusicFile, true);
}

void TFrmConfig::RxSwitch1Off()
{
    ShellState &st = shell();
    st.MusicOn = false;
    PlayMusic(st.MusicFile, false);
}

void TFrmConfig::FlatComboBox1Change(int index)
{
    if (index < 0)
        return;
    ShellState &st = shell();
    st.MusicFile = music::tuneFile(FlatComboBox1->itemText(index));
    // A tune chosen with the switch off stops the music rather than starting it.
    PlayMusic(st.MusicFile, RxSwitch1->isOn());
}

TFrmConfig *createSettingsWindow(QWidget *owner, int mode)
{
    shell().ConfigMode = mode;
    auto *w = new TFrmConfig(owner);
    if (mode == 1)
        w->applyAnswerTimeLayout();
    return w;
}

void openSettings(QWidget *owner, int mode)
{
    std::unique_ptr<TFrmConfig> w(createSettingsWindow(owner, mode));
    ui::execModal(w.get());
}
