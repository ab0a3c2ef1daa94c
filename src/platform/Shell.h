// Desktop actions that software buttons start: the file manager at the computer's root, the
// calculator, a terminal, and locking the session. Each returns false when it could not be done.
#pragma once

namespace veldran {

class Shell {
public:
    virtual ~Shell() = default;
    virtual bool openComputerRoot() = 0;
    virtual bool startCalculator() = 0;
    virtual bool startTerminal() = 0;
    virtual bool lockSession() = 0;
};

} // namespace veldran
