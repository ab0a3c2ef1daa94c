#include "app/FocusSourceLine.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace veldran {

FocusSourceLine::FocusSourceLine(Source source, QWidget* parent)
    : QWidget(parent), source_(std::move(source)) {
    label_ = new QLabel(this);
    label_->setWordWrap(true);
    label_->setText(describe());
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_, 1);
    if (source_.enableExtension) {
        enable_ = new QPushButton(tr("Enable the extension"), this);
        layout->addWidget(enable_);
        connect(enable_, &QPushButton::clicked, this, [this] {
            if (source_.enableExtension()) {
                source_.enableExtension = nullptr;
                enable_->hide();
                label_->setText(describe());
            } else {
                label_->setText(tr("GNOME Shell did not enable the extension %1: is the "
                                   "driver's package installed for this user's Shell?")
                                    .arg(source_.extension));
            }
        });
    }
}

QString FocusSourceLine::text() const {
    return label_->text();
}

QString FocusSourceLine::describe() const {
    const QString& name = source_.name;
    if (name == QLatin1String("x11")) {
        return tr("The window in front is followed through X11 (_NET_ACTIVE_WINDOW).");
    }
    if (name == QLatin1String("wlroots")) {
        return tr("The window in front is followed through the compositor's window list "
                  "(wlroots).");
    }
    if (name == QLatin1String("kwin")) {
        return tr("The window in front is followed through the driver's KWin script.");
    }
    if (name == QLatin1String("gnome-shell")) {
        return source_.enableExtension
                   ? tr("GNOME Shell tells the window in front only through the driver's "
                        "extension, which is not enabled: enable it to switch profiles.")
                   : tr("The window in front is followed through the driver's GNOME Shell "
                        "extension.");
    }
    return tr("Nothing tells the driver which window is in front, so programs do not switch "
              "profiles: start the driver in the desktop session (X11, KDE Plasma, GNOME or a "
              "wlroots compositor such as sway).");
}

} // namespace veldran
