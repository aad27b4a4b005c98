#include "ui/Key.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace {

uint32_t ModifierBits(Qt::KeyboardModifiers m) {
  uint32_t bits = 0;
  if (m & Qt::ControlModifier) bits |= LKey::kCommand;
  if (m & Qt::ShiftModifier) bits |= LKey::kShift;
  if (m & Qt::AltModifier) bits |= LKey::kOption;
  if (m & Qt::MetaModifier) bits |= LKey::kControl;
  return bits;
}

Qt::KeyboardModifiers QtModifiers(uint32_t bits) {
  Qt::KeyboardModifiers m;
  if (bits & LKey::kCommand) m |= Qt::ControlModifier;
  if (bits & LKey::kShift) m |= Qt::ShiftModifier;
  if (bits & LKey::kOption) m |= Qt::AltModifier;
  if (bits & LKey::kControl) m |= Qt::MetaModifier;
  return m;
}

// The bit of a modifier key pressed on its own, 0 for other keys.
uint32_t ModifierKeyBit(int key) {
  switch (key) {
    case Qt::Key_Control: return LKey::kCommand;
    case Qt::Key_Shift: return LKey::kShift;
    case Qt::Key_Alt: return LKey::kOption;
    case Qt::Key_Meta: return LKey::kControl;
    default: return 0;
  }
}

// Characters the named keys carry; the table's characters follow the
// classic control codes so that a key table can name them without a code.
struct NamedKey {
  int qtKey;
  unsigned char character;
};
constexpr NamedKey kNamedKeys[] = {
    {Qt::Key_Home, 1},    {Qt::Key_Enter, 3},     {Qt::Key_End, 4},    {Qt::Key_Insert, 5},
    {Qt::Key_Help, 5},    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},    {Qt::Key_Return, 13},
    {Qt::Key_PageUp, 11}, {Qt::Key_PageDown, 12}, {Qt::Key_Clear, 27}, {Qt::Key_Left, 28},
    {Qt::Key_Right, 29},  {Qt::Key_Up, 30},       {Qt::Key_Down, 31},  {Qt::Key_Delete, 127},
};

unsigned char NamedCharacter(int qtKey) {
  for (const NamedKey& k : kNamedKeys)
    if (k.qtKey == qtKey) return k.character;
  return 0;
}

int NamedQtKey(unsigned char c) {
  if (c == 10) return Qt::Key_Return;
  for (const NamedKey& k : kNamedKeys)
    if (k.character == c && k.qtKey != Qt::Key_Help && k.qtKey != Qt::Key_Clear) return k.qtKey;
  return 0;
}

unsigned char ToLowerLatin1(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  return c;
}

}  // namespace

bool LKey::IsPrintable(unsigned char c) { return (c >= 0x20 && c < 0x7F) || c >= 0xA0; }

unsigned char LKey::ToUpper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  return c;
}

LKey LKey::FromEvent(const QKeyEvent& event) {
  const int key = event.key();
  if (const uint32_t bit = ModifierKeyBit(key)) return LKey(0, bit, 0);
  uint32_t bits = ModifierBits(event.modifiers());
  if (key == Qt::Key_Escape) return LKey(static_cast<uint32_t>(key), bits, 0);
  unsigned char character = 0;
  if (key >= 0x20 && key <= 0xFF) {
    character = ToLowerLatin1(static_cast<unsigned char>(key));
    // Qt reports no Caps Lock state; a letter typed in the case Shift does
    // not explain tells it.
    const QString text = event.text();
    if (text.size() == 1 && text[0].isLetter()) {
      const bool upper = text[0].isUpper();
      if (upper != ((bits & kShift) != 0)) bits |= kCapsLock;
    }
  } else {
    character = NamedCharacter(key);
  }
  return LKey(static_cast<uint32_t>(key), bits, character);
}

bool LKey::operator==(const LKey& other) const {
  const uint32_t mine = (m_modifiers & 0xFFFF) | kCapsLock;
  const uint32_t theirs = (other.m_modifiers & 0xFFFF) | kCapsLock;
  const bool printable = IsPrintable(m_character);
  if (printable != IsPrintable(other.m_character)) return false;
  if (printable) return ToUpper(m_character) == ToUpper(other.m_character) && mine == theirs;
  return mine == theirs && m_keyCode == other.m_keyCode;
}

QString LKey::GetDescription() const {
  if (IsEmpty()) return QString();
  int qtKey = 0;
  if (m_character == ' ') {
    qtKey = Qt::Key_Space;
  } else if (IsPrintable(m_character)) {
    qtKey = ToUpper(m_character);
  } else if (m_keyCode != 0) {
    qtKey = static_cast<int>(m_keyCode);
  } else if (m_character != 0) {
    qtKey = NamedQtKey(m_character);
    if (qtKey == 0) return QStringLiteral("Unknown");
  }
  const Qt::KeyboardModifiers mods = QtModifiers(m_modifiers);
  if (qtKey == 0) {
    // A modifier on its own: the sequence text ends in "+", which we drop.
    QString text = QKeySequence(mods.toInt()).toString(QKeySequence::NativeText);
    while (text.endsWith(QLatin1Char('+'))) text.chop(1);
    return text;
  }
  const QString text =
      QKeySequence(QKeyCombination(mods, static_cast<Qt::Key>(qtKey))).toString(QKeySequence::NativeText);
  return text.isEmpty() ? QStringLiteral("Unknown") : text;
}

bool LKey::IsReserved() const {
  static const LKey reserved[] = {
      LKey(0, kCommand, 'q'),
      LKey(0, kCommand, ','),
      LKey(0, kCommand, '/'),
      LKey(Qt::Key_F1, 0, 0),
  };
  for (const LKey& r : reserved)
    if (*this == r) return true;
  return false;
}

int LMapKeyToCommand(const LKeyToCommandMap* table, int count, const LKey& key) {
  for (int i = 0; i < count; ++i)
    if (table[i].Key() == key) return table[i].command;
  return 0;
}

const LKeyToCommandMap* LFindCommandKey(const LKeyToCommandMap* table, int count, int command) {
  for (int i = 0; i < count; ++i)
    if (table[i].command == command) return &table[i];
  return nullptr;
}

bool LKeyHandler::DispatchKeyEvent(const QKeyEvent& event) {
  const LKey key = LKey::FromEvent(event);
  if (event.type() == QEvent::KeyRelease) {
    if (event.isAutoRepeat()) return false;
    m_lastKey = LKey();
    return EvKeyUp(key);
  }
  m_lastKey = key;
  if (event.isAutoRepeat() ? EvKeyRepeat(key) : EvKeyDown(key)) return true;
  return EvChar(static_cast<char>(key.Character()));
}
