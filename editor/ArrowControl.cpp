#include "editor/ArrowControl.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

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

void ArrowControl::setBuddy(QLineEdit* buddy) { buddy_ = buddy; }

void ArrowControl::step(Arrow arrow) {
    if (maximum_ < minimum_) {
        return;
    }
    if (buddy_) {
        bool isNumber = false;
        const int typed = buddy_->text().trimmed().toInt(&isNumber);
        if (isNumber) {
            position_ = clamped(typed);
        }
    }
    const bool raise = (arrow == Arrow::Up) != upArrowLowers_;
    int next = raise ? position_ + 1 : position_ - 1;
    if (next > maximum_ || next < minimum_) {
        if (!wrap_) {
            return;
        }
        next = raise ? minimum_ : maximum_;
    }
    position_ = next;
    if (buddy_) {
        buddy_->setText(QString::number(position_));
    }
    emit stepped(arrow, position_);
}

} // namespace keel
