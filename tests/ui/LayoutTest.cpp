// The main window in every look: styles, font sizes and (run a second time
// with QT_SCALE_FACTOR=2) scales; its keyboard and screen-reader access; and
// where windows open.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <set>

#include "store/Profile.h"
#include "store/Settings.h"
#include "tests/ui/FitCheck.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CustomMeasureDialog.h"
#include "ui/DBEdit.h"
#include "ui/ExportDialog.h"
#include "ui/GeneralPage.h"
#include "ui/MVDisplay.h"
#include "ui/Placement.h"
#include "ui/PresetDialog.h"
#include "ui/PresetListWindow.h"
#include "ui/PropertySheet.h"
#include "ui/SetListDialog.h"
#include "ui/SetListWindow.h"
#include "ui/SoundPage.h"
#include "ui/SoundSchemeSaveDialog.h"
#include "ui/TempoField.h"

namespace {

using test::Pump;

// The looks every window must show whole in.
struct Look {
  const char* style;
  int points;
};
const Look kLooks[] = {{"Fusion", 8}, {"Fusion", 16}, {"Adwaita-Dark", 8}, {"Adwaita-Dark", 16}};

// Applies a look for the life of the object.
class LookScope {
 public:
  explicit LookScope(const Look& look) : m_font(QApplication::font()) {
    QStyle* style = QStyleFactory::create(QString::fromUtf8(look.style));
    EXPECT_NE(style, nullptr) << look.style << " missing: scripts/setup installs it";
    if (style) QApplication::setStyle(style);
    QFont font = m_font;
    font.setPointSize(look.points);
    QApplication::setFont(font);
  }
  ~LookScope() {
    QApplication::setFont(m_font);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  }

 private:
  QFont m_font;
};

std::string LookName(const Look& look) {
  return std::string(look.style) + " " + std::to_string(look.points) + "pt scale " +
         std::to_string(qApp->primaryScreen()->devicePixelRatio());
}

std::string Join(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

class LayoutTest : public test::WindowTest {
 protected:
  // The accessible name of the focused control (or of the control it is part of).
  std::string FocusName() {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
      if (!w->accessibleName().isEmpty()) return w->accessibleName().toStdString();
      QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
      if (!name.isEmpty()) return name.remove('&').toStdString();
    }
    return "(none)";
  }
  void Activate() {
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    Pump();
  }
};

TEST(FitCheckTest, FindsCutTextAndControlsOutsideTheirParent) {
  test::GuiApp();
  QWidget top;
  top.resize(200, 100);
  auto* list = new QComboBox(&top);
  list->addItem(QStringLiteral("7(3+4)"));
  list->setGeometry(0, 0, 30, list->sizeHint().height());
  auto* label = new QLabel(QStringLiteral("Measure:"), &top);
  label->setGeometry(190, 50, label->sizeHint().width(), label->sizeHint().height());
  top.show();
  EXPECT_EQ(test::FitFaults(&top).size(), 2u) << Join(test::FitFaults(&top));
  list->resize(list->sizeHint());
  label->move(0, 50);
  EXPECT_EQ(test::FitFaults(&top), std::vector<std::string>{});
}

TEST_F(LayoutTest, MainWindowShowsEveryControlWholeInEveryLook) {
  for (const Look& look : kLooks) {
    LookScope scope(look);
    Open();
    for (QSize size : {window->minimumSizeHint(), QSize(1200, 900)}) {
      window->resize(size);
      Pump();
      EXPECT_EQ(test::FitFaults(window.get()), std::vector<std::string>{}) << LookName(look) << " at " << size.width();
      // Every guide row in view.
      QTreeWidget* guide = window->Guide();
      EXPECT_GE(guide->viewport()->height(), guide->visualItemRect(guide->topLevelItem(7)).bottom()) << LookName(look);
    }
    Close();
  }
}

// Every dialog, sheet page and list window, at its smallest, in every look;
// its mnemonics unique; Ctrl+W closes it.
TEST_F(LayoutTest, DialogsShowEveryControlWholeAndCloseWithCtrlW) {
  LProfile profile(GetSharedDataFolderApp());
  for (const Look& look : kLooks) {
    LookScope scope(look);
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.emplace_back(new LPresetDialog(profile, nullptr, 120, 3, 1));
    dialogs.emplace_back(new LSoundSchemeSaveDialog(profile, nullptr));
    dialogs.emplace_back(new LCustomMeasureDialog(LMeasure::FromLegacyIndex(9)));
    auto* sheet = new LPropertySheet;
    sheet->AddPage(new LGeneralPage, QStringLiteral("General"));
    sheet->AddPage(new LSoundPage, QStringLiteral("Sound"));
    sheet->InitPages();
    dialogs.emplace_back(sheet);
    auto* list = new LPresetListWindow(profile);
    list->Init();
    dialogs.emplace_back(list);
    auto* setLists = new LSetListWindow(profile);
    setLists->Init();
    dialogs.emplace_back(setLists);
    dialogs.emplace_back(new LSetListDialog(profile, std::string()));
    LPracticePlan plan;
    plan.ramp = {100, 120, 10, 2, true};
    dialogs.emplace_back(new LExportDialog(LClickTrackSettings(), plan));
    for (auto& dialog : dialogs) {
      for (int page = 0; page < (dialog.get() == sheet ? 2 : 1); ++page) {
        if (dialog.get() == sheet) dialog->findChild<QTabWidget*>()->setCurrentIndex(page);
        dialog->show();
        dialog->resize(dialog->minimumSizeHint());
        Pump();
        EXPECT_EQ(test::FitFaults(dialog.get()), std::vector<std::string>{})
            << LookName(look) << " " << dialog->windowTitle().toStdString() << " page " << page;
      }
      std::multiset<QChar> letters;
      for (QWidget* w : dialog->findChildren<QWidget*>()) {
        QString text;
        if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy()) text = l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
        const qsizetype at = text.indexOf('&');
        if (at >= 0 && at + 1 < text.size() && w->isVisibleTo(dialog.get())) letters.insert(text[at + 1].toLower());
      }
      for (QChar c : letters)
        EXPECT_EQ(letters.count(c), 1u) << dialog->windowTitle().toStdString() << " " << QString(c).toStdString();
      dialog->activateWindow();
      QApplication::setActiveWindow(dialog.get());
      Pump();
      QTest::keyClick(dialog.get(), Qt::Key_W, Qt::ControlModifier);
      Pump();
      EXPECT_FALSE(dialog->isVisible()) << dialog->windowTitle().toStdString();
    }
  }
}

TEST(LevelBarTest, KeysMoveTheLevelWithinItsRange) {
  test::GuiApp();
  LDBEdit bar(nullptr, 1);
  bar.SetRange(LdBLevel(-36), LdBLevel(12));
  const struct {
    Qt::Key key;
    int from, to;
  } cases[] = {{Qt::Key_Right, 0, 1},    {Qt::Key_Up, 11, 12},   {Qt::Key_Up, 12, 12},         {Qt::Key_Left, 0, -1},
               {Qt::Key_Down, -36, -36}, {Qt::Key_PageUp, 0, 6}, {Qt::Key_PageDown, -33, -36}, {Qt::Key_Home, 5, -36},
               {Qt::Key_End, -5, 12},    {Qt::Key_A, 3, 3}};
  for (const auto& c : cases) {
    bar.SetLevel(LdBLevel(c.from));
    QTest::keyClick(&bar, c.key);
    EXPECT_EQ(bar.GetLevel().Get(), c.to) << c.key << " from " << c.from;
  }
}

TEST_F(LayoutTest, TabOrderRunsThroughAddedRowsButtonsAndPanels) {
  Open();
  auto* extra = new QSpinBox;
  extra->setAccessibleName(QStringLiteral("Extra"));
  window->AddControlRow(QStringLiteral("E&xtra:"), extra);
  auto* tap = new QPushButton(QStringLiteral("Tap"));
  window->AddButton(tap);
  auto* panel = new QWidget;
  auto* first = new QPushButton(QStringLiteral("One"), panel);
  new QPushButton(QStringLiteral("Two"), panel);
  window->AddPanel(panel);
  window->AddMenuItem("File", QStringLiteral("Export"));
  Activate();
  window->TempoField()->setFocus();
  std::vector<std::string> order;
  for (int i = 0; i < 12; ++i) {
    order.push_back(FocusName());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"Tempo", "Measure", "Beat pattern", "Subdivisions", "Swing", "Extra",
                                             "Play", "Tap", "Volume", "Tempo guide", "One", "Two"}));
  EXPECT_TRUE(first->isVisible());
}

// Alt+letter reaches each menu and labelled control, no letter twice; F10
// opens the first menu.
TEST_F(LayoutTest, MnemonicsAreUniqueAndReachTheirControls) {
  Open();
  Activate();
  std::multiset<QChar> letters;
  auto letter = [](const QString& text) {
    const qsizetype at = text.indexOf('&');
    return at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
  };
  for (QAction* a : window->menuBar()->actions()) letters.insert(letter(a->text()));
  for (QLabel* l : window->findChildren<QLabel*>())
    if (l->buddy()) letters.insert(letter(l->text()));
  EXPECT_EQ(letters.size(), 8u);
  for (QChar c : letters) EXPECT_EQ(letters.count(c), 1u) << QString(c).toStdString();
  EXPECT_EQ(letters.count(QChar()), 0u);

  const std::pair<Qt::Key, const char*> keys[] = {
      {Qt::Key_M, "Measure"}, {Qt::Key_U, "Subdivisions"}, {Qt::Key_E, "Tempo"}, {Qt::Key_W, "Swing"}};
  for (const auto& [key, name] : keys) {
    QTest::keyClick(window.get(), key, Qt::AltModifier);
    Pump();
    EXPECT_EQ(FocusName(), name);
  }
  QTest::sendKeyEvent(QTest::Click, window->windowHandle(), Qt::Key_F10, QString(), Qt::NoModifier);
  Pump();
  EXPECT_EQ(window->menuBar()->activeAction(), window->menuBar()->actions().first());
}

TEST_F(LayoutTest, EveryControlHasAnAccessibleNameAndStateIsSaid) {
  Open();
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window.get()) || !(w->focusPolicy() & Qt::TabFocus)) continue;
    if (qobject_cast<QLineEdit*>(w) && qobject_cast<QAbstractSpinBox*>(w->parentWidget())) continue;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << test::Describe(w);
  }
  QAccessibleInterface* play = QAccessible::queryAccessibleInterface(window->PlayStopButton());
  EXPECT_EQ(play->text(QAccessible::Name).toStdString(), "Play");
  window->DispatchCommand(MainDialog::kCmdToggle);
  EXPECT_EQ(play->text(QAccessible::Name).toStdString(), "Stop");
  window->DispatchCommand(MainDialog::kCmdToggle);
  window->TempoField()->setValue(184);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(window->Display())->text(QAccessible::Description).toStdString(),
            "184 bpm, Presto");
}

TEST(PlacementTest, WindowsAreFittedWholeOnAScreen) {
  const QList<QRect> screens{QRect(0, 0, 1600, 1000), QRect(1600, 0, 1024, 768)};
  const struct {
    QRect wanted;
    LFitMode mode;
    QRect placed;
  } cases[] = {
      {QRect(100, 100, 600, 400), kFitKeepPlace, QRect(100, 100, 600, 400)},
      // Kept at scale 1, restored at scale 2: too large and mostly off-screen.
      {QRect(501, 260, 1520, 1000), kFitKeepPlace, QRect(80, 0, 1520, 970)},
      {QRect(-300, -50, 600, 400), kFitKeepPlace, QRect(0, 0, 600, 400)},
      {QRect(1500, 700, 600, 400), kFitKeepPlace, QRect(1600, 338, 600, 400)},  // mostly on the second
      {QRect(5000, 5000, 600, 400), kFitKeepPlace, QRect(500, 0, 600, 400)},    // on no screen: centred
      {QRect(0, 0, 600, 400), kFitCentreTop, QRect(500, 0, 600, 400)},
  };
  const QMargins titleBar(0, 30, 0, 0);
  for (const auto& c : cases) EXPECT_EQ(LFitOnScreens(c.wanted, screens, c.mode, titleBar), c.placed) << c.wanted.x();
  EXPECT_EQ(LFitOnScreens(QRect(1, 2, 3, 4), {}, kFitKeepPlace, titleBar), QRect(1, 2, 3, 4));
  // A frame all round: the frame's corner at the screen's.
  EXPECT_EQ(LFitOnScreens(QRect(-9, -9, 2000, 2000), screens, kFitKeepPlace, QMargins(2, 20, 2, 2)),
            QRect(0, 0, 1596, 978));
}

}  // namespace
