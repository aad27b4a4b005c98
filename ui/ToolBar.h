// The main window's toolbar and what is kept of it between runs: which
// items it offered, where the user put it and whether it is shown.
#pragma once

#include <string>
#include <vector>

#include <QString>

class QAction;
class QIcon;
class QMainWindow;
class QToolBar;

class LToolBar {
 public:
  static constexpr const char* kOfferSection = "ToolBar";
  static constexpr const char* kShownSection = "ToolBarState";
  static constexpr const char* kAreaSection = "ToolBarArea";

  LToolBar(QMainWindow* window, const char* name);

  QToolBar* Bar() const { return m_bar; }
  const std::string& Name() const { return m_name; }
  // The application's identifier, ".", the toolbar's name.
  QString Identifier() const;

  QAction* AddItem(int command, const QIcon& icon, const QString& label, const QString& tooltip);
  QAction* Action(int command) const;
  // The items' identifiers as stored: commands joined by commas.
  std::string Offer() const;

  // After the last item: a changed offer discards the user's arrangement
  // once; then the arrangement and the visibility are restored.
  void RestoreState();
  // When the window closes.
  void StoreState() const;

 private:
  QMainWindow* m_window;
  QToolBar* m_bar;
  std::string m_name;
  std::vector<std::pair<int, QAction*>> m_items;
};
