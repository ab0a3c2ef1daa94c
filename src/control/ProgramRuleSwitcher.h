// Makes the profile follow the program in front: once the focus has rested for 150 ms on a
// window whose program has a rule, switches to that rule's profile; on a window without a rule,
// back to the profile the user chose last. The rest timer runs only after a focus change, and a
// profile that is already applied is not asked for again.
#pragma once

#include "control/ProfileSwitcher.h"
#include "control/ProgramRules.h"

#include <QObject>
#include <QTimer>
#include <chrono>

namespace veldran {

inline constexpr std::chrono::milliseconds kFocusRest{150};

class ProgramRuleSwitcher : public QObject {
    Q_OBJECT
public:
    explicit ProgramRuleSwitcher(ProfileSwitcher& switcher, QObject* parent = nullptr);

    // The rules in force from now on; the window in front is judged again by them.
    void setRules(const ProgramRules& rules);
    const ProgramRules& rules() const { return rules_; }

    // The focus moved to a window of program: its profile follows after the rest.
    void focusChanged(const WindowProgram& program);

private:
    void focusRested();

    ProfileSwitcher& switcher_;
    ProgramRules rules_;
    WindowProgram front_;
    bool frontKnown_ = false;
    QTimer rest_;
};

} // namespace veldran
