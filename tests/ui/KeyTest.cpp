#include <gtest/gtest.h>

#include <QKeyEvent>
#include <string>
#include <vector>

#include "tests/ui/UiTestSupport.h"
#include "ui/Key.h"

namespace {

constexpr uint32_t kCmd = LKey::kCommand;

struct EqualityCase {
  LKey a, b;
  bool equal;
  const char* why;
};

TEST(KeyTest, EqualityIgnoresCapsLockAndLetterCase) {
  const EqualityCase cases[] = {
      {LKey(0, kCmd, 'S'), LKey(Qt::Key_S, kCmd, 's'), true, "letter case and key code do not matter"},
      {LKey(0, kCmd, 'S'), LKey(Qt::Key_S, kCmd | LKey::kCapsLock, 's'), true, "caps lock ignored"},
      {LKey(0, kCmd, 'S'), LKey(Qt::Key_S, kCmd | LKey::kShift, 's'), false, "shift matters"},
      {LKey(0, kCmd, 'S'), LKey(Qt::Key_S, 0, 's'), false, "command matters"},
      {LKey(0, kCmd, 'S'), LKey(Qt::Key_L, kCmd, 'l'), false, "other letter"},
      {LKey(Qt::Key_Space, 0, ' '), LKey(Qt::Key_Space, LKey::kCapsLock, ' '), true, "space with caps lock"},
      {LKey(Qt::Key_F1, 0, 0), LKey(Qt::Key_F1, 0, 0), true, "named keys by code"},
      {LKey(Qt::Key_F1, 0, 0), LKey(Qt::Key_F2, 0, 0), false, "named keys differ by code"},
      {LKey(Qt::Key_Escape, 0, 0), LKey(Qt::Key_Escape, 0, 'x'), false, "printable against not"},
      {LKey(0, kCmd, 0xE9), LKey(0, kCmd, 0xC9), true, "Latin-1 letters upper-cased too"},
  };
  for (const EqualityCase& c : cases) {
    EXPECT_EQ(c.a == c.b, c.equal) << c.why;
    EXPECT_EQ(c.b == c.a, c.equal) << c.why;
  }
}

TEST(KeyTest, KeysFromEventsCarryTheUnshiftedCharacter) {
  test::GuiApp();
  const QKeyEvent ctrlS(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
  EXPECT_EQ(LKey::FromEvent(ctrlS).Character(), 's');
  EXPECT_EQ(LKey::FromEvent(ctrlS).Modifiers(), kCmd);
  const QKeyEvent capsS(QEvent::KeyPress, Qt::Key_S, Qt::NoModifier, QStringLiteral("S"));
  EXPECT_EQ(LKey::FromEvent(capsS).Modifiers(), LKey::kCapsLock);
  const QKeyEvent shiftS(QEvent::KeyPress, Qt::Key_S, Qt::ShiftModifier, QStringLiteral("S"));
  EXPECT_EQ(LKey::FromEvent(shiftS).Modifiers(), LKey::kShift);
  const QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
  EXPECT_EQ(LKey::FromEvent(escape).Character(), 0);
  const QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  const LKey altKey = LKey::FromEvent(alt);
  EXPECT_EQ(altKey.KeyCode(), 0u);
  EXPECT_EQ(altKey.Modifiers(), LKey::kOption);
}

TEST(KeyTest, DescriptionsUseTheDesktopsText) {
  test::GuiApp();
  EXPECT_EQ(LKey().GetDescription().toStdString(), "");
  EXPECT_EQ(LKey(0, kCmd, 'S').GetDescription().toStdString(), "Ctrl+S");
  EXPECT_EQ(LKey(0, kCmd, ',').GetDescription().toStdString(), "Ctrl+,");
  EXPECT_EQ(LKey(Qt::Key_Space, 0, ' ').GetDescription().toStdString(), "Space");
  EXPECT_EQ(LKey(0, kCmd | LKey::kShift, 'l').GetDescription().toStdString(), "Ctrl+Shift+L");
  EXPECT_EQ(LKey(Qt::Key_F1, 0, 0).GetDescription().toStdString(), "F1");
  EXPECT_EQ(LKey(0, 0, 28).GetDescription().toStdString(), "Left");
  EXPECT_EQ(LKey(0, 0, 2).GetDescription().toStdString(), "Unknown");
  EXPECT_EQ(LKey(0, kCmd, 0).GetDescription().toStdString(), "Ctrl");
}

TEST(KeyTest, ReservedKeysAreTheDesktopMenusOwn) {
  EXPECT_TRUE(LKey(0, kCmd, 'q').IsReserved());
  EXPECT_TRUE(LKey(Qt::Key_Q, kCmd | LKey::kCapsLock, 'Q').IsReserved());
  EXPECT_TRUE(LKey(0, kCmd, ',').IsReserved());
  EXPECT_TRUE(LKey(Qt::Key_F1, 0, 0).IsReserved());
  EXPECT_FALSE(LKey(0, kCmd | LKey::kShift, 'q').IsReserved());
  EXPECT_FALSE(LKey(0, kCmd, 's').IsReserved());
}

TEST(KeyTest, TheFirstMatchingEntryWins) {
  const LKeyToCommandMap table[] = {
      {Qt::Key_Space, 0, ' ', 104}, {Qt::Key_Space, 0, ' ', 1001}, {0, kCmd, 'S', 1003}};
  EXPECT_EQ(LMapKeyToCommand(table, 3, LKey(Qt::Key_Space, 0, ' ')), 104);
  EXPECT_EQ(LMapKeyToCommand(table, 3, LKey(Qt::Key_S, kCmd, 's')), 1003);
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
    log.push_back(std::string(what) + " " + std::to_string(k.KeyCode()) + " " + std::to_string(k.Modifiers()) + " " +
                  std::to_string(k.Character()));
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
  EXPECT_EQ(handler.log, (std::vector<std::string>{"down 0 256 0", "char 0", "up 0 256 0"}));
}

}  // namespace
