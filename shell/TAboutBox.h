// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QLabel>

namespace keel {

class DialogService;

// The about box's link: blue and underlined, red while the mouse button is held on it; a click
// opens the address with the desktop's default handler.
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    LinkLabel(const QUrl& address, DialogService& dialogs, QWidget* parent = nullptr);

public slots:
    void MakeLinkRed();
    void MakeLinkBlue();
    void GotoWebSite();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setLinkColour(const QColor& colour);

    QUrl address_;
    DialogService& dialogs_;
};

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    static const QUrl homePage;

    explicit TAboutBox(DialogService& dialogs, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace keel
