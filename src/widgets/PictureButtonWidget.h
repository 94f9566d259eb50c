// A board button drawn with a pair of pictures beside the program: one for
// "up" and one for "down" (pressed), with its caption over them.  The
// question board marks each question neutral, right or wrong this way.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(const QString &text, QWidget *parent = nullptr);

    void setUpPicture(const QPixmap &p, int kind);
    void setDownPicture(const QPixmap &p, int kind);
    // Which picture each state wears (the mark kinds of the caller), for
    // tests and for the window's own bookkeeping.
    int upKind() const { return m_upKind; }
    int downKind() const { return m_downKind; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_up, m_down;
    int m_upKind = 0;
    int m_downKind = 0;
};
