// Number boxes that never turn what the user typed into another number.
//
// Qt's spin boxes drop a keystroke they cannot take and carry on with the
// next one, read "2,5" as 25 (a group separator) and fall back silently
// on leaving the box, so 12.5 became 125, 31 in a box of at most 30 became
// 3.0.  These boxes keep on view whatever is typed; when the box is left
// with something that is not a number of its range, the previous value is
// shown again with the range beside it, and the window that stores the
// value asks settle() first and says so in words.
#pragma once

#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QSpinBox>
#include <QToolTip>
#include <type_traits>

namespace numberbox {
// "请输入0到999之间的整数！", "请输入0.1到30之间的数字！"
QString wholeRangeText(int minimum, int maximum);
QString decimalRangeText(double minimum, double maximum);
} // namespace numberbox

template <class Base>
class KeptNumberBox : public Base {
public:
    explicit KeptNumberBox(QWidget *parent = nullptr) : Base(parent)
    {
        QLocale l = this->locale();
        l.setNumberOptions(l.numberOptions() | QLocale::RejectGroupSeparator);
        this->setLocale(l);
        // The value changes when the box is left or Enter is pressed, not
        // with each keystroke: "3" on the way to "31" is never stored.
        this->setKeyboardTracking(false);
        this->setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    }

    // Takes what the box shows: a number of its range becomes its value;
    // anything else is refused and the previous value shown again.  False
    // when something typed since the last call was refused.
    bool settle()
    {
        if (this->hasAcceptableInput())
            this->interpretText();
        else
            refuse();
        const bool ok = !m_refused;
        m_refused = false;
        return ok;
    }

    QString rangeText() const
    {
        if constexpr (std::is_base_of_v<QDoubleSpinBox, Base>)
            return numberbox::decimalRangeText(this->minimum(), this->maximum());
        else
            return numberbox::wholeRangeText(this->minimum(), this->maximum());
    }

protected:
    QValidator::State validate(QString &input, int &pos) const override
    {
        const QValidator::State s = Base::validate(input, pos);
        return s == QValidator::Invalid && input.size() <= 12 ? QValidator::Intermediate : s;
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        if (!this->hasAcceptableInput())
            refuse();
        Base::focusOutEvent(event);
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !this->hasAcceptableInput())
            refuse();
        Base::keyPressEvent(event);
    }

private:
    void refuse()
    {
        m_refused = true;
        this->lineEdit()->setText(this->textFromValue(this->value()));
        if (this->isVisible())
            QToolTip::showText(this->mapToGlobal(QPoint(0, this->height())), rangeText(), this);
    }
    bool m_refused = false;
};

using NumberBox = KeptNumberBox<QSpinBox>;
using DecimalBox = KeptNumberBox<QDoubleSpinBox>;
