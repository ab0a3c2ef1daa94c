// The message texts that the configuration and device layers hand to the window as plain UTF-8
// (they know no Qt), in the user's language. Each text they may send is marked here for the
// translation files; one with a path in it is recognised by the parts around its "%1".
#pragma once

#include <QString>
#include <string>

namespace veldran {

// The translation of text when it is one of the marked messages, else text unchanged.
QString translatedCoreMessage(const std::string& text);

} // namespace veldran
