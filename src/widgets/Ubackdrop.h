// The painted look of the practice windows: a soft gradient background
// with a title strip (the windows are borderless), and dragging such a
// window by its title strip.
#pragma once

#include <QFont>
#include <QObject>
#include <QPoint>
#include <QString>

class QPainter;
class QPixmap;
class QWidget;

namespace backdrop {

constexpr int StripHeight = 34;

// Paints the background of a borderless window with its title strip.
void paint(QWidget *window, QPainter &p, const QString &title);
// The same over a background picture beside the program whose title strip
// is `stripHeight` pixels high.
void paint(QWidget *window, QPainter &p, const QString &title, const QPixmap &picture, int stripHeight);

// Lets the user move a borderless window by pressing on its title strip.
class StripDragger : public QObject {
public:
    explicit StripDragger(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    QPoint m_grab;
    bool m_dragging = false;
};

// The window font of a screen mode: the program's font at 9 points in
// the 800 x 600 layouts, 10 in the 1024 x 768 ones.
QFont windowFont(bool compact);
// The font of a question's text, the same in practice and in the exam:
// 11 points in the 800 x 600 layouts, 12 in the 1024 x 768 ones.
QFont questionFont(bool compact);

} // namespace backdrop
