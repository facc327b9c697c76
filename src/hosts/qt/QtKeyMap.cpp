#include "hosts/qt/QtKeyMap.h"

#include <QKeyEvent>

#include "base/KeyCode.h"

namespace zozuz {

namespace {

// Codes of keys that base/KeyCode.h does not name, in the desktop's numbering.
constexpr std::uint8_t kPause = 0x13;
constexpr std::uint8_t kCapital = 0x14;
constexpr std::uint8_t kSnapshot = 0x2C;
constexpr std::uint8_t kApps = 0x5D;
constexpr std::uint8_t kMultiply = 0x6A;
constexpr std::uint8_t kAdd = 0x6B;
constexpr std::uint8_t kSubtract = 0x6D;
constexpr std::uint8_t kDecimal = 0x6E;
constexpr std::uint8_t kDivide = 0x6F;
constexpr std::uint8_t kNumLock = 0x90;
constexpr std::uint8_t kScroll = 0x91;
constexpr std::uint8_t kOemSemicolon = 0xBA;
constexpr std::uint8_t kOemPlus = 0xBB;
constexpr std::uint8_t kOemComma = 0xBC;
constexpr std::uint8_t kOemMinus = 0xBD;
constexpr std::uint8_t kOemPeriod = 0xBE;
constexpr std::uint8_t kOemSlash = 0xBF;
constexpr std::uint8_t kOemTilde = 0xC0;
constexpr std::uint8_t kOemOpenBracket = 0xDB;
constexpr std::uint8_t kOemBackslash = 0xDC;
constexpr std::uint8_t kOemCloseBracket = 0xDD;
constexpr std::uint8_t kOemQuote = 0xDE;

std::uint8_t keypadKey(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<std::uint8_t>(vk::Numpad0 + (key - Qt::Key_0));
    switch (key) {
        case Qt::Key_Asterisk: return kMultiply;
        case Qt::Key_Plus: return kAdd;
        case Qt::Key_Minus: return kSubtract;
        case Qt::Key_Period:
        case Qt::Key_Comma: return kDecimal;
        case Qt::Key_Slash: return kDivide;
        case Qt::Key_Enter: return vk::Return;
        default: return 0;  // navigation keys of the keypad, handled as the main keyboard's below
    }
}

}  // namespace

std::uint8_t virtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (const std::uint8_t code = keypadKey(key)) return code;
    }
    // Letters and digits carry their upper-case character codes in both numberings.
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<std::uint8_t>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<std::uint8_t>(vk::F1 + (key - Qt::Key_F1));
    switch (key) {
        case Qt::Key_Backspace: return vk::Back;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return vk::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return vk::Return;
        case Qt::Key_Shift: return vk::Shift;
        case Qt::Key_Control: return vk::Control;
        case Qt::Key_Alt:
        case Qt::Key_AltGr: return vk::Menu;
        case Qt::Key_Pause: return kPause;
        case Qt::Key_CapsLock: return kCapital;
        case Qt::Key_Escape: return vk::Escape;
        case Qt::Key_Space: return vk::Space;
        case Qt::Key_PageUp: return vk::Prior;
        case Qt::Key_PageDown: return vk::Next;
        case Qt::Key_End: return vk::End;
        case Qt::Key_Home: return vk::Home;
        case Qt::Key_Left: return vk::Left;
        case Qt::Key_Up: return vk::Up;
        case Qt::Key_Right: return vk::Right;
        case Qt::Key_Down: return vk::Down;
        case Qt::Key_Print: return kSnapshot;
        case Qt::Key_Insert: return vk::Insert;
        case Qt::Key_Delete: return vk::Delete;
        case Qt::Key_Menu: return kApps;
        case Qt::Key_NumLock: return kNumLock;
        case Qt::Key_ScrollLock: return kScroll;
        // Punctuation keys of a US layout, shifted or not, share one code.
        case Qt::Key_Semicolon:
        case Qt::Key_Colon: return kOemSemicolon;
        case Qt::Key_Equal:
        case Qt::Key_Plus: return kOemPlus;
        case Qt::Key_Comma:
        case Qt::Key_Less: return kOemComma;
        case Qt::Key_Minus:
        case Qt::Key_Underscore: return kOemMinus;
        case Qt::Key_Period:
        case Qt::Key_Greater: return kOemPeriod;
        case Qt::Key_Slash:
        case Qt::Key_Question: return kOemSlash;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde: return kOemTilde;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft: return kOemOpenBracket;
        case Qt::Key_Backslash:
        case Qt::Key_Bar: return kOemBackslash;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight: return kOemCloseBracket;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl: return kOemQuote;
        default: return 0;
    }
}

KeyEvent keyEventFromQt(const QKeyEvent& event) {
    KeyEvent key;
    key.kind = event.type() == QEvent::KeyRelease ? KeyEvent::Kind::Up : KeyEvent::Kind::Down;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    key.virtualKey = virtualKeyFromQt(event.key(), modifiers);
    key.shift = modifiers.testFlag(Qt::ShiftModifier);
    key.ctrl = modifiers.testFlag(Qt::ControlModifier);
    key.alt = modifiers.testFlag(Qt::AltModifier);
    // Control characters (Ctrl+letters, Escape, Backspace) type nothing the program could insert.
    const QString text = event.text();
    if (!text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F)
        key.text = text.toStdString();
    return key;
}

}  // namespace zozuz
