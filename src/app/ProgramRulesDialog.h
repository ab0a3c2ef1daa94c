// The dialog "Profiles for programs": the rules of programs.ini as a list of programs and their
// profiles, with Add (from the programs that have windows now, a name typed in, or a window
// clicked), Remove and
// the switches for following the program in front and for the notifications. Saving writes
// programs.ini and hands the rules to whoever follows them.
#pragma once

#include "app/FocusSourceLine.h"
#include "control/ProgramRules.h"

#include <QDialog>
#include <filesystem>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;

namespace veldran {

class ProgramRulesDialog : public QDialog {
    Q_OBJECT
public:
    struct Hooks {
        std::function<QStringList()> programsWithWindows; // offered by Add
        // Lets the user click a window and hands its program's name on ("" for none).
        std::function<void(std::function<void(const QString&)>)> pickWindow;
        std::function<void()> cancelPick;               // ends a pick that runs, nobody told
        std::function<void(const ProgramRules&)> saved; // the rules now in programs.ini
        FocusSourceLine::Source focusSource;            // the line at the top
    };

    ProgramRulesDialog(std::filesystem::path file, Hooks hooks, QWidget* parent = nullptr);
    // A pick that runs ends with the dialog.
    ~ProgramRulesDialog() override;

    // What the dialog shows now, as it would be saved.
    ProgramRules shownRules() const;
    // Fills the dialog from programs.ini again (a missing file: no rules, following on).
    void reload();
    // Adds a rule for program with profile 1, or selects its row when it has one. A name that
    // cannot be stored is refused with a line under the list saying why.
    void addProgram(const QString& program);
    // Whether a click on a window is awaited.
    bool picking() const { return picking_; }
    // The line that says why the last name was refused ("" when none was).
    QString problemShown() const;

    // Escape (or Close) while a pick runs ends the pick; otherwise it closes the dialog.
    void reject() override;
    // Writes programs.ini; on failure tells the user and keeps the dialog open.
    bool save();

private:
    void addRow(const ProgramRule& rule);
    void removeSelected();
    void startPick();
    void endPick();

    std::filesystem::path file_;
    Hooks hooks_;
    QCheckBox* enabled_ = nullptr;
    QCheckBox* notify_ = nullptr;
    QTableWidget* table_ = nullptr;
    QComboBox* candidates_ = nullptr;
    QLabel* problem_ = nullptr;
    bool picking_ = false;
};

} // namespace veldran
