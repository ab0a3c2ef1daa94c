#include "control/ProgramRuleSwitcher.h"

namespace veldran {

ProgramRuleSwitcher::ProgramRuleSwitcher(ProfileSwitcher& switcher, QObject* parent)
    : QObject(parent), switcher_(switcher) {
    rest_.setSingleShot(true);
    // A coarse timer may end the rest several milliseconds late: the switch should follow it.
    rest_.setTimerType(Qt::PreciseTimer);
    rest_.setInterval(kFocusRest);
    connect(&rest_, &QTimer::timeout, this, &ProgramRuleSwitcher::focusRested);
}

void ProgramRuleSwitcher::setRules(const ProgramRules& rules) {
    rules_ = rules;
    if (frontKnown_) {
        focusRested();
    }
}

void ProgramRuleSwitcher::focusChanged(const WindowProgram& program) {
    front_ = program;
    frontKnown_ = true;
    rest_.start();
}

void ProgramRuleSwitcher::focusRested() {
    rest_.stop();
    // A window without a rule (or the rules turned off) gets the profile the user chose last.
    const int target = rules_.enabled
                           ? matchProgramRule(rules_, front_).value_or(switcher_.userProfile())
                           : switcher_.userProfile();
    if (target != switcher_.currentProfile()) {
        switcher_.selectProfile(target, SwitchCause::ProgramRule);
    }
}

} // namespace veldran
