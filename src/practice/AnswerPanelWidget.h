// The "答案" comparison panel laid over the question body: a headline
// ("恭喜你，做对了！" or "很遗憾，做错了，请继续努力！"), the answer on
// screen and the key.  It slides open from width 0 to the body's width in
// steps that grow by 20 pixels each time, and closes the same way.
//
// Public interface
// ----------------
//   AnswerPanelWidget(QWidget *parent)      parent = the widget it covers
//   void fill(headline, answer, key)        clears and fills the two boxes
//   void slideOpen(int fullWidth)           grows from its current width
//   void slideClose()                       shrinks to width 0
//   void closeNow()                         width 0 at once, no animation
//   bool isOpen() const                     open or opening
//   bool isSliding() const
//   void finishSlide()                      jumps to the end of a running slide
//   int  stepInterval / setStepInterval(ms) time between two steps (15 ms)
//   QVector<int> lastSlideWidths() const    the widths of the last slide
//   Lb_answtip, Memo1 ("你的答案："), Memo2 ("正确答案：", green)
//
//   ToggleAnswerPanel(button, panel, fullWidth): "答案" -> "返回" and slide
//   open; "返回" -> "答案" and slide closed.
#pragma once

#include <QFrame>
#include <QTimer>
#include <QVector>

class QAbstractButton;
class QLabel;
class QPlainTextEdit;

class AnswerPanelWidget : public QFrame {
    Q_OBJECT
public:
    explicit AnswerPanelWidget(QWidget *parent = nullptr);

    void fill(const QString &headline, const QString &answer, const QString &key);
    void slideOpen(int fullWidth);
    void slideClose();
    void closeNow();
    bool isOpen() const { return m_open; }
    bool isSliding() const { return m_timer.isActive(); }
    void finishSlide();
    int stepInterval() const { return m_timer.interval(); }
    void setStepInterval(int ms) { m_timer.setInterval(ms); }
    QVector<int> lastSlideWidths() const { return m_seen; }

    QLabel *Lb_answtip = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QPlainTextEdit *Memo2 = nullptr;

Q_SIGNALS:
    void slideFinished();

private:
    void step();
    void setPanelWidth(int w);

    QTimer m_timer;
    QVector<int> m_steps;
    QVector<int> m_seen;
    bool m_open = false;
};

// The "答案"/"返回" toggle of the comparison button.
void ToggleAnswerPanel(QAbstractButton *button, AnswerPanelWidget *panel, int fullWidth);
