#include "macro/WindowKeyMessages.h"

#include "formats/KeysymVirtualKeys.h"

#include <QKeyEvent>

namespace veldran {
namespace {

struct QtKey {
    int key;
    std::uint8_t code;
};

constexpr QtKey kQtKeys[] = {
    {Qt::Key_Backspace, 0x08},  {Qt::Key_Tab, 0x09},          {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C},      {Qt::Key_Return, 0x0D},       {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10},      {Qt::Key_Control, 0x11},      {Qt::Key_Alt, 0x12},
    {Qt::Key_Pause, 0x13},      {Qt::Key_CapsLock, 0x14},     {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20},      {Qt::Key_PageUp, 0x21},       {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},        {Qt::Key_Home, 0x24},         {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},         {Qt::Key_Right, 0x27},        {Qt::Key_Down, 0x28},
    {Qt::Key_Print, 0x2C},      {Qt::Key_Insert, 0x2D},       {Qt::Key_Delete, 0x2E},
    {Qt::Key_Help, 0x2F},       {Qt::Key_Super_L, 0x5B},      {Qt::Key_Super_R, 0x5C},
    {Qt::Key_Meta, 0x5B},       {Qt::Key_Menu, 0x5D},         {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91}, {Qt::Key_Semicolon, 0xBA},    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Comma, 0xBC},      {Qt::Key_Minus, 0xBD},        {Qt::Key_Period, 0xBE},
    {Qt::Key_Slash, 0xBF},      {Qt::Key_QuoteLeft, 0xC0},    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},  {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
};

} // namespace

std::uint8_t virtualKeyOfQtKey(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return static_cast<std::uint8_t>(key); // the same codes as the virtual keys
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return static_cast<std::uint8_t>(0x70 + (key - Qt::Key_F1));
    }
    for (const QtKey& entry : kQtKeys) {
        if (entry.key == key) {
            return entry.code;
        }
    }
    return 0;
}

std::optional<KeyMessage> windowKeyMessage(const QKeyEvent& event, std::uint8_t physicalKey) {
    const bool down = event.type() == QEvent::KeyPress;
    if (!down && event.type() != QEvent::KeyRelease) {
        return std::nullopt;
    }
    if (!down && event.isAutoRepeat()) {
        return std::nullopt;
    }
    // The keyboard map names the key itself; the X keysym names it exactly too (the keypad's
    // digits apart from its arrows, say), but at its shift level; events without one
    // (synthesised ones, other platforms) are read by their Qt key.
    std::uint8_t code = physicalKey;
    if (code == 0) {
        code = virtualKeyOfKeysym(event.nativeVirtualKey());
    }
    if (code == 0) {
        code = virtualKeyOfQtKey(event.key());
    }
    if (code == 0) {
        return std::nullopt;
    }
    code = genericModifier(code);
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return keyMessageOf(code, down, modifiers.testFlag(Qt::AltModifier),
                        modifiers.testFlag(Qt::ControlModifier));
}

} // namespace veldran
