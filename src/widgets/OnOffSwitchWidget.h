// An on/off switch drawn with two pictures beside the program
// (pic/switch_on.png, pic/switch_off.png).  A click or the space bar flips
// it and reports the new position through switchedOn / switchedOff; setting
// the position from code reports nothing.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

class OnOffSwitch : public QAbstractButton {
    Q_OBJECT
public:
    explicit OnOffSwitch(QWidget *parent = nullptr);

    bool isOn() const { return isChecked(); }
    void setOn(bool on) { setChecked(on); }
    // Whether the pictures were found (otherwise a plain switch is painted).
    bool hasPictures() const { return !m_on.isNull() && !m_off.isNull(); }

    QSize sizeHint() const override { return {60, 24}; }

Q_SIGNALS:
    void switchedOn();
    void switchedOff();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_on, m_off;
};
