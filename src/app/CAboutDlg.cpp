#include "app/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace veldran {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About QEL_GMouse"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(tr("QEL_GMouse Version 1.0"), this);
    text->setObjectName(QStringLiteral("versionText"));
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    // 235 by 55 dialog units of an 8-point dialog font.
    resize(353, 89);
}

} // namespace veldran
