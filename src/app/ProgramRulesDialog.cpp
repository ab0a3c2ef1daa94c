#include "app/ProgramRulesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace veldran {

namespace {

// The main window's colours: white text on dark grey, the teal of the menus for what is chosen.
constexpr const char* kDarkStyle = R"(
    QDialog, QTableWidget, QComboBox, QLineEdit, QHeaderView::section {
        background: rgb(30, 30, 30); color: white; }
    QTableWidget { gridline-color: rgb(60, 60, 60); border: 1px solid rgb(0, 120, 153); }
    QTableWidget::item:selected { background: rgb(0, 120, 153); }
    QHeaderView::section { border: none; border-bottom: 1px solid rgb(0, 120, 153); padding: 4px; }
    QComboBox, QLineEdit { border: 1px solid rgb(0, 120, 153); padding: 2px 4px; }
    QComboBox QAbstractItemView { background: rgb(30, 30, 30); color: white;
        selection-background-color: rgb(0, 120, 153); }
    QPushButton { background: rgb(0, 120, 153); color: white; border: none; padding: 5px 14px; }
    QPushButton:hover { background: rgb(0, 150, 190); }
    QPushButton:disabled { background: rgb(60, 60, 60); color: rgb(140, 140, 140); }
    QCheckBox { color: white; }
)";

constexpr int kProgramColumn = 0;
constexpr int kProfileColumn = 1;

} // namespace

ProgramRulesDialog::ProgramRulesDialog(std::filesystem::path file, Hooks hooks, QWidget* parent)
    : QDialog(parent), file_(std::move(file)), hooks_(std::move(hooks)) {
    setWindowTitle(tr("Profiles for programs"));
    setStyleSheet(QString::fromLatin1(kDarkStyle));
    resize(520, 380);

    enabled_ = new QCheckBox(tr("Switch the profile with the program in front"), this);
    notify_ =
        new QCheckBox(tr("Tell me when the profile changes while the window is hidden"), this);

    table_ = new QTableWidget(0, 2, this);
    table_->setHorizontalHeaderLabels({tr("Program"), tr("Profile")});
    table_->horizontalHeader()->setSectionResizeMode(kProgramColumn, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(kProfileColumn, QHeaderView::ResizeToContents);
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);

    candidates_ = new QComboBox(this);
    candidates_->setEditable(true);
    candidates_->setInsertPolicy(QComboBox::NoInsert);
    candidates_->lineEdit()->setPlaceholderText(tr("Program or window class"));
    if (hooks_.programsWithWindows) {
        candidates_->addItems(hooks_.programsWithWindows());
    }
    candidates_->setCurrentText(QString());
    auto* add = new QPushButton(tr("Add"), this);
    auto* pick = new QPushButton(tr("Click a window"), this);
    pick->setEnabled(static_cast<bool>(hooks_.pickWindow));
    connect(pick, &QPushButton::clicked, this, &ProgramRulesDialog::startPick);
    auto* remove = new QPushButton(tr("Remove"), this);
    connect(add, &QPushButton::clicked, this, [this] { addProgram(candidates_->currentText()); });
    connect(remove, &QPushButton::clicked, this, &ProgramRulesDialog::removeSelected);

    auto* addRowLayout = new QHBoxLayout;
    addRowLayout->addWidget(candidates_, 1);
    addRowLayout->addWidget(add);
    addRowLayout->addWidget(pick);
    addRowLayout->addWidget(remove);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Close, this);
    for (const auto& [which, text] : {std::pair{QDialogButtonBox::Save, tr("Save")},
                                      std::pair{QDialogButtonBox::Close, tr("Close")}}) {
        buttons->button(which)->setText(text);
        buttons->button(which)->setIcon(QIcon());
    }
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (save()) {
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new FocusSourceLine(hooks_.focusSource, this));
    layout->addWidget(enabled_);
    layout->addWidget(notify_);
    layout->addWidget(table_, 1);
    layout->addLayout(addRowLayout);
    problem_ = new QLabel(this);
    problem_->setStyleSheet(QStringLiteral("color: rgb(255, 255, 0);"));
    problem_->setWordWrap(true);
    problem_->hide();
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    reload();
}

ProgramRulesDialog::~ProgramRulesDialog() {
    endPick();
}

void ProgramRulesDialog::startPick() {
    if (!hooks_.pickWindow) {
        return;
    }
    // The next click on any window names its program (a pick that runs already goes on).
    picking_ = true;
    hooks_.pickWindow([self = QPointer<ProgramRulesDialog>(this)](const QString& program) {
        if (self != nullptr) {
            self->picking_ = false;
            self->addProgram(program);
        }
    });
}

void ProgramRulesDialog::endPick() {
    if (picking_ && hooks_.cancelPick) {
        hooks_.cancelPick();
    }
    picking_ = false;
}

void ProgramRulesDialog::reject() {
    if (picking_) {
        endPick();
        return;
    }
    QDialog::reject();
}

QString ProgramRulesDialog::problemShown() const {
    return problem_->isHidden() ? QString() : problem_->text();
}

void ProgramRulesDialog::reload() {
    const LoadedProgramRules loaded = loadProgramRules(file_);
    std::error_code error;
    // A dialog opened for the first time, before any programs.ini: following is on.
    enabled_->setChecked(loaded.rules.enabled || !std::filesystem::exists(file_, error));
    notify_->setChecked(loaded.rules.notify);
    table_->setRowCount(0);
    for (const ProgramRule& rule : loaded.rules.rules) {
        addRow(rule);
    }
}

void ProgramRulesDialog::addRow(const ProgramRule& rule) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    auto* name = new QTableWidgetItem(QString::fromStdString(rule.program));
    name->setFlags(name->flags() & ~Qt::ItemIsEditable);
    table_->setItem(row, kProgramColumn, name);
    auto* profile = new QComboBox(table_);
    for (int n = 1; n <= 5; ++n) {
        profile->addItem(QString::number(n), n);
    }
    profile->setCurrentIndex(rule.profile - 1);
    table_->setCellWidget(row, kProfileColumn, profile);
}

void ProgramRulesDialog::addProgram(const QString& program) {
    const QString name = program.trimmed();
    problem_->hide();
    if (name.isEmpty()) {
        return;
    }
    if (!isValidProgramKey(name.toStdString())) {
        problem_->setText(tr("\"%1\" cannot name a program: a name is one line without '=' and "
                             "does not begin with '[' or ';'.")
                              .arg(name));
        problem_->show();
        return;
    }
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (table_->item(row, kProgramColumn)->text().compare(name, Qt::CaseInsensitive) == 0) {
            table_->selectRow(row);
            return;
        }
    }
    addRow({name.toStdString(), 1});
    table_->selectRow(table_->rowCount() - 1);
    candidates_->setCurrentText(QString());
}

void ProgramRulesDialog::removeSelected() {
    const int row = table_->currentRow();
    if (row >= 0) {
        table_->removeRow(row);
    }
}

ProgramRules ProgramRulesDialog::shownRules() const {
    ProgramRules rules;
    rules.enabled = enabled_->isChecked();
    rules.notify = notify_->isChecked();
    for (int row = 0; row < table_->rowCount(); ++row) {
        const auto* profile = static_cast<QComboBox*>(table_->cellWidget(row, kProfileColumn));
        rules.rules.push_back({table_->item(row, kProgramColumn)->text().toStdString(),
                               profile->currentData().toInt()});
    }
    return rules;
}

bool ProgramRulesDialog::save() {
    const ProgramRules rules = shownRules();
    if (!saveProgramRules(file_, rules)) {
        QMessageBox::warning(this, windowTitle(),
                             tr("The rules could not be written to %1.")
                                 .arg(QString::fromStdString(file_.string())));
        return false;
    }
    if (hooks_.saved) {
        hooks_.saved(rules);
    }
    return true;
}

} // namespace veldran
