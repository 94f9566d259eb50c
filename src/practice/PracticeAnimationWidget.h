// The small animated picture beside the practice window's clock: a dial
// whose hand turns while the practice runs.
#pragma once

#include <QTimer>
#include <QWidget>

class PracticeAnimation : public QWidget {
public:
    explicit PracticeAnimation(QWidget *parent);
    void start() { m_timer.start(); }
    void stop() { m_timer.stop(); }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QTimer m_timer;
    int m_angle = 0;
};
