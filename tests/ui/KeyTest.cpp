#include <gtest/gtest.h>

#include <QKeyEvent>
#include <string>
#include <vector>

#include "tests/ui/UiTestSupport.h"
#include "ui/Key.h"

namespace {

constexpr uint32_t kCmd = LKey::kCommand;

TEST(KeyTest, EqualityIgnoresCapsLockAndLetterCase) {
  const struct {
    LKey a, b;
    bool equal;
    const char* why;
  } cases[] = {
      {LKey(0, kCmd, 'S'), LKey(Qt::Key_S, kCmd, 's'), true, "letter case and key code do not matter"},
      {LKey(0, kCmd, 'S'), LKey(Qt::Key_S, kCmd | LKey::kCapsLock, 's'), true, "caps lock ignored"},
      {LKey(0, kCmd, 'S'), LKey(Qt::Key_S, kCmd | LKey::kShift, 's'), false, "shift matters"},
      {LKey(0, kCmd, 'S'), LKey(Qt::Key_S, 0, 's'), false, "command matters"},
      {LKey(Qt::Key_F1, 0, 0), LKey(Qt::Key_F2, 0, 0), false, "named keys differ by code"},
      {LKey(Qt::Key_Escape, 0, 0), LKey(Qt::Key_Escape, 0, 'x'), false, "printable against not"},
      {LKey(0, kCmd, 0xE9), LKey(0, kCmd, 0xC9), true, "Latin-1 letters upper-cased too"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.a == c.b, c.equal) << c.why;
    EXPECT_EQ(c.b == c.a, c.equal) << c.why;
  }
  EXPECT_TRUE(LKey(Qt::Key_Q, kCmd | LKey::kCapsLock, 'Q').IsReserved());
  EXPECT_FALSE(LKey(0, kCmd | LKey::kShift, 'q').IsReserved());
}

TEST(KeyTest, KeysFromEventsCarryTheUnshiftedCharacter) {
  test::GuiApp();
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    const char* text;
    uint32_t modifiers;
    int character;
  } cases[] = {
      {Qt::Key_S, Qt::ControlModifier, "\x13", kCmd, 's'},    {Qt::Key_S, Qt::NoModifier, "S", LKey::kCapsLock, 's'},
      {Qt::Key_S, Qt::ShiftModifier, "S", LKey::kShift, 's'}, {Qt::Key_Escape, Qt::NoModifier, "\x1b", 0, 0},
      {Qt::Key_Alt, Qt::AltModifier, "", LKey::kOption, 0},
  };
  for (const auto& c : cases) {
    const LKey key = LKey::FromEvent(QKeyEvent(QEvent::KeyPress, c.key, c.mods, QString::fromLatin1(c.text)));
    EXPECT_EQ(key.Modifiers(), c.modifiers) << c.text;
    EXPECT_EQ(key.Character(), c.character) << c.text;
  }
}

TEST(KeyTest, TheFirstMatchingEntryWins) {
  const LKeyToCommandMap table[] = {{Qt::Key_Space, 0, ' ', 104}, {Qt::Key_Space, 0, ' ', 1001}, {0, kCmd, 'S', 1003}};
  EXPECT_EQ(LMapKeyToCommand(table, 3, LKey(Qt::Key_Space, 0, ' ')), 104);
  EXPECT_EQ(LMapKeyToCommand(table, 3, LKey(Qt::Key_S, 0, 's')), 0);
  EXPECT_EQ(LFindCommandKey(table, 3, 1001), &table[1]);
  EXPECT_EQ(LFindCommandKey(table, 3, 1002), nullptr);
}

// Records what reaches a handler, and handles nothing.
class KeyLog : public LKeyHandler {
 public:
  bool EvKeyDown(const LKey& k) override { return Log("down", k); }
  bool EvKeyUp(const LKey& k) override { return Log("up", k); }
  bool EvChar(char c) override {
    log.push_back("char " + std::to_string(static_cast<unsigned char>(c)));
    return false;
  }
  bool Log(const char* what, const LKey& k) {
    log.push_back(std::string(what) + " " + std::to_string(k.KeyCode()) + " " + std::to_string(k.Modifiers()));
    return false;
  }
  std::vector<std::string> log;
};

TEST(KeyTest, AModifierAloneIsAKeyOfItsOwn) {
  test::GuiApp();
  KeyLog handler;
  handler.DispatchKeyEvent(QKeyEvent(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier));
  EXPECT_EQ(handler.LastKey(), LKey(0, kCmd, 0));
  handler.DispatchKeyEvent(QKeyEvent(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier));
  EXPECT_TRUE(handler.LastKey().IsEmpty());
  EXPECT_EQ(handler.log, (std::vector<std::string>{"down 0 256", "char 0", "up 0 256"}));
}

}  // namespace
