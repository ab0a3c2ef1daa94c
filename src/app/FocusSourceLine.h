// The top line of the "Profiles for programs" dialog: which source tells the driver the window in
// front, and what to do when none does. On GNOME, while the driver's Shell extension is not
// enabled, a button beside it enables the extension.
#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

namespace veldran {

class FocusSourceLine : public QWidget {
    Q_OBJECT
public:
    struct Source {
        QString name; // x11, wlroots, kwin, gnome-shell or none
        // Set while the GNOME Shell extension is to be enabled: enables it, true when it did.
        std::function<bool()> enableExtension;
        QString extension; // the uuid of the extension that the button enables
    };

    explicit FocusSourceLine(Source source, QWidget* parent = nullptr);

    QString text() const;

private:
    QString describe() const;

    Source source_;
    QLabel* label_ = nullptr;
    QPushButton* enable_ = nullptr;
};

} // namespace veldran
