// SPDX-License-Identifier: MIT
#include "editor/ArrowControl.h"

#include "editor/NumberText.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace keel {
namespace {

QToolButton* makeArrowButton(Qt::ArrowType type, const QString& name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setArrowType(type);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(16, 11);
    return button;
}

} // namespace

ArrowControl::ArrowControl(QWidget* parent)
    : QWidget(parent), up_(makeArrowButton(Qt::UpArrow, "up", this)),
      down_(makeArrowButton(Qt::DownArrow, "down", this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, [this] { step(Arrow::Up); });
    connect(down_, &QToolButton::clicked, this, [this] { step(Arrow::Down); });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::StrongFocus);
}

void ArrowControl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up) {
        step(Arrow::Up);
    } else if (event->key() == Qt::Key_Down) {
        step(Arrow::Down);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void ArrowControl::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (hasFocus()) {
        QStylePainter painter(this);
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void ArrowControl::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    position_ = clamped(position_);
}

int ArrowControl::clamped(int position) const {
    if (maximum_ < minimum_) {
        return minimum_;
    }
    return std::clamp(position, minimum_, maximum_);
}

void ArrowControl::setPosition(int position) { position_ = clamped(position); }

void ArrowControl::setBuddy(QLineEdit* buddy) {
    if (buddy_) {
        buddy_->removeEventFilter(this);
    }
    buddy_ = buddy;
    if (buddy_) {
        buddy_->installEventFilter(this);
    }
    setFocusPolicy(buddy_ ? Qt::NoFocus : Qt::StrongFocus);
}

bool ArrowControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched != buddy_ || event->type() != QEvent::KeyPress || !isEnabled()) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) {
        return QWidget::eventFilter(watched, event);
    }
    switch (key->key()) {
    case Qt::Key_Up:
        step(Arrow::Up);
        return true;
    case Qt::Key_Down:
        step(Arrow::Down);
        return true;
    case Qt::Key_PageUp:
        step(Arrow::Up, pageStep);
        return true;
    case Qt::Key_PageDown:
        step(Arrow::Down, pageStep);
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void ArrowControl::step(Arrow arrow, int count) {
    if (maximum_ < minimum_ || count < 1) {
        return;
    }
    if (buddy_) {
        // A box of a float steps from the whole part of its number.
        if (const std::optional<double> typed = parseDecimalNumber(buddy_->text()); typed && std::isfinite(*typed)) {
            position_ = clamped(static_cast<int>(std::clamp<double>(std::trunc(*typed), minimum_, maximum_)));
        }
    }
    const bool raise = (arrow == Arrow::Up) != upArrowLowers_;
    int next = 0;
    if (position_ == (raise ? maximum_ : minimum_)) {
        if (!wrap_) {
            return;
        }
        next = raise ? minimum_ : maximum_;
    } else {
        const long long moved = static_cast<long long>(position_) + (raise ? count : -count);
        next = static_cast<int>(std::clamp<long long>(moved, minimum_, maximum_));
    }
    position_ = next;
    if (buddy_) {
        buddy_->setText(QString::number(position_));
    }
    emit stepped(arrow, position_);
}

} // namespace keel
