// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

class QToolButton;

namespace keel {

// A pair of arrows that moves a whole-number position within a range, standing alone or
// attached to an edit box. Attached, it takes its position from the box's text before a step
// and writes the new position into the box as a plain whole number after it, so that the box's
// own change handler stores the value.
class ArrowControl : public QWidget {
    Q_OBJECT

public:
    enum class Arrow { Up, Down };

    explicit ArrowControl(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    void setMinimum(int minimum) { setRange(minimum, maximum_); }
    void setMaximum(int maximum) { setRange(minimum_, maximum); }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    // Positions outside the range are brought into it.
    void setPosition(int position);
    int position() const { return position_; }

    // With wrap, a step past one end moves to the other; without, it does nothing.
    void setWrap(bool wrap) { wrap_ = wrap; }
    bool wraps() const { return wrap_; }

    // Normally the upper arrow raises the position; a record stepper counts the other way.
    void setUpArrowLowers(bool lowers) { upArrowLowers_ = lowers; }

    // Attached to a box, the control leaves the focus to the box.
    void setBuddy(QLineEdit* buddy);
    QLineEdit* buddy() const { return buddy_; }

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

    // What a press of the arrow does. A step of several counts stops at the end of the range;
    // only from the end itself does a wrapping control go round.
    void step(Arrow arrow, int count = 1);

    // How far Page Up and Page Down move an attached control; Up and Down move it by one.
    static constexpr int pageStep = 10;

signals:
    // After an arrow moved the position; an arrow that could not move emits nothing.
    void stepped(ArrowControl::Arrow arrow, int position);

protected:
    // The keys of the attached edit box step it as the arrows do.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Standing alone, the control takes the focus: Up and Down step it as its arrows do.
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int clamped(int position) const;

    QToolButton* up_;
    QToolButton* down_;
    QPointer<QLineEdit> buddy_;
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    bool wrap_ = false;
    bool upArrowLowers_ = false;
};

} // namespace keel
