// The two parts of the exam window that draw themselves: a cell of the
// answer sheet and the text that scrolls over the question while the exam
// is paused.
#pragma once

#include "exam/ExamAnswers.h"

#include <QPixmap>
#include <QStringList>
#include <QToolButton>

class QTimer;

// One cell of the answer sheet: a picture for released and one for pressed,
// with the question number on it.
class ExamSheetCell : public QToolButton {
    Q_OBJECT
public:
    explicit ExamSheetCell(int number, QWidget *parent = nullptr);
    int number() const { return m_number; }
    int tag = 0;   // the question number the cell stands for, 0 for none
    void setPictures(const QPixmap &released, const QPixmap &pressed);
    void setReleasedPicture(const QPixmap &released);
    // How the cell looks now (for the window's own bookkeeping and tests).
    exam::CellLook look = exam::CellLook::Normal;
    QSize sizeHint() const override;
    void setCellSize(const QSize &s) { m_size = s; updateGeometry(); }
    // Where the cell's pictures put their right or wrong mark (the lower
    // right corner), where the number stands (left of the mark, below the
    // picture's top band) and the font that fits the number there.
    QRect markRect() const;
    QRect numberRect() const;
    QFont numberFont() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_number;
    QPixmap m_released;
    QPixmap m_pressed;
    QSize m_size{36, 28};
};

// The text that scrolls over the question while the exam is paused.
class PauseScrollText : public QWidget {
    Q_OBJECT
public:
    explicit PauseScrollText(QWidget *parent = nullptr);
    void startScrolling();
    void stopScrolling();
    bool isScrolling() const;
    QStringList lines() const { return m_lines; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QStringList m_lines;
    QTimer *m_timer;
    int m_offset = 0;
};
