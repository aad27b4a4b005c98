// A pressed key as the window's command tables see it, the tables that map
// keys to commands, and the text a key shows in menus and tooltips.
//
// Key codes are Qt key values. Modifier bits keep the program's own layout;
// Ctrl is the command modifier, Alt the option modifier and Meta the control
// modifier, as Qt maps them between desktops.
#pragma once

#include <cstdint>

#include <QString>

class QKeyEvent;

class LKey {
 public:
  static constexpr uint32_t kCommand = 0x0100;
  static constexpr uint32_t kShift = 0x0200;
  static constexpr uint32_t kCapsLock = 0x0400;
  static constexpr uint32_t kOption = 0x0800;
  static constexpr uint32_t kControl = 0x1000;

  LKey() = default;
  LKey(uint32_t keyCode, uint32_t modifiers, unsigned char character)
      : m_keyCode(keyCode), m_modifiers(modifiers & 0xFFFF), m_character(character) {}

  // From a key press or release. A modifier key on its own gives key code 0,
  // that modifier's bit and character 0; letters give their lower-case
  // character whatever Shift or Caps Lock say, so the table compares keys,
  // not the text they would type.
  static LKey FromEvent(const QKeyEvent& event);

  uint32_t KeyCode() const { return m_keyCode; }
  uint32_t Modifiers() const { return m_modifiers; }
  unsigned char Character() const { return m_character; }
  bool IsEmpty() const { return m_keyCode == 0 && m_modifiers == 0 && m_character == 0; }

  // Caps Lock never matters; printable characters compare upper-cased with
  // the modifiers, other keys by key code and modifiers.
  bool operator==(const LKey& other) const;
  bool operator!=(const LKey& other) const { return !(*this == other); }

  // The desktop's own text for the key ("Ctrl+S", "Space", "F1"); empty for
  // the empty key, "Unknown" for a key with no name.
  QString GetDescription() const;
  // Keys the desktop's menu conventions keep for themselves: Quit (Ctrl+Q),
  // Preferences (Ctrl+comma) and the manual (F1, Ctrl+/). A menu item bound
  // to one of them shows no shortcut of its own.
  bool IsReserved() const;

  static bool IsPrintable(unsigned char c);
  static unsigned char ToUpper(unsigned char c);

 private:
  uint32_t m_keyCode = 0;
  uint32_t m_modifiers = 0;
  unsigned char m_character = 0;
};

// One binding of a window's key table.
struct LKeyToCommandMap {
  uint32_t keyCode;
  uint32_t modifiers;
  unsigned char character;
  int command;

  LKey Key() const { return LKey(keyCode, modifiers, character); }
};

// The command of the first entry equal to key, 0 when none is.
int LMapKeyToCommand(const LKeyToCommandMap* table, int count, const LKey& key);
// The first entry bound to command, nullptr when none is.
const LKeyToCommandMap* LFindCommandKey(const LKeyToCommandMap* table, int count, int command);

// Receives the keys of a window before its focused control does. Each
// operation returns whether it handled the key; a handled key never types.
class LKeyHandler {
 public:
  virtual ~LKeyHandler() = default;
  virtual bool EvChar(char) { return false; }
  virtual bool EvKeyDown(const LKey&) { return false; }
  virtual bool EvKeyRepeat(const LKey&) { return false; }
  virtual bool EvKeyUp(const LKey&) { return false; }

  // The platform's key events land here; true when the event is consumed.
  bool DispatchKeyEvent(const QKeyEvent& event);
  const LKey& LastKey() const { return m_lastKey; }

 private:
  LKey m_lastKey;
};
