// The About box: the program's name and version and an OK button.
#pragma once

#include <QDialog>

namespace veldran {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace veldran
