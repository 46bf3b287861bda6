// SPDX-License-Identifier: MIT
#include "shell/TAboutBox.h"

#include "editor/DialogService.h"
#include "shell/ProgramIcon.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace keel {

const QUrl TAboutBox::homePage("https://keelbook.brinewatch.example/");

LinkLabel::LinkLabel(const QUrl& address, DialogService& dialogs, QWidget* parent)
    : QLabel(address.toString(), parent), address_(address), dialogs_(dialogs) {
    setObjectName("URL");
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    MakeLinkBlue();
}

void LinkLabel::setLinkColour(const QColor& colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colour);
    setPalette(colours);
}

void LinkLabel::MakeLinkRed() { setLinkColour(Qt::red); }

void LinkLabel::MakeLinkBlue() { setLinkColour(Qt::blue); }

void LinkLabel::GotoWebSite() { dialogs_.openUrl(address_); }

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        MakeLinkRed();
    }
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        MakeLinkBlue();
        if (rect().contains(event->position().toPoint())) {
            GotoWebSite();
        }
    }
    QLabel::mouseReleaseEvent(event);
}

TAboutBox::TAboutBox(DialogService& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName("TAboutBox");
    setWindowTitle(tr("About"));
    setModal(true);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* icon = new QLabel(panel);
    icon->setObjectName("ProgramIcon");
    icon->setPixmap(programIcon().pixmap(48, 48));
    auto* product = new QLabel(tr("Brinewatch Database Record Editor"), panel);
    product->setObjectName("ProductName");
    auto* version = new QLabel(tr("Version: 4.0.0"), panel);
    version->setObjectName("Version");
    auto* copyright = new QLabel(tr("Copyright \u00A9 2026 the keelbook developers"), panel);
    copyright->setObjectName("Copyright");
    auto* link = new LinkLabel(homePage, dialogs, panel);
    auto* notice = new QLabel(tr("Keep a copy of your database directory before you edit it: "
                                 "the simulation reads these files exactly as they are saved."),
                              panel);
    notice->setObjectName("Comments");
    notice->setWordWrap(true);
    notice->setAlignment(Qt::AlignCenter);

    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(icon, 0, Qt::AlignLeft);
    panelLayout->addWidget(product);
    panelLayout->addWidget(version);
    panelLayout->addWidget(copyright);
    panelLayout->addWidget(link);
    panelLayout->addWidget(notice);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(buttons, 0, Qt::AlignCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    panel->setFixedWidth(320);
}

void TAboutBox::showEvent(QShowEvent* event) {
    // Centred on the screen, not over the window that opened it.
    layout()->activate();
    const QScreen* shownOn = parentWidget() != nullptr ? parentWidget()->screen() : screen();
    const QRect available = shownOn->availableGeometry();
    move(available.center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}

} // namespace keel
