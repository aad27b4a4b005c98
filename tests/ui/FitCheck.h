// Whether a window shows every control and text whole: each control at
// least as large as it asks to be, inside its parent, and its text never
// elided. Faults come back as readable lines naming the control.
#pragma once

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSlider>
#include <QTabBar>
#include <QToolBar>
#include <QTreeView>
#include <string>
#include <vector>

namespace test {

inline std::string Describe(const QWidget* w) {
  QString text;
  if (auto* l = qobject_cast<const QLabel*>(w)) text = l->text();
  if (auto* b = qobject_cast<const QAbstractButton*>(w)) text = b->text();
  return (QString::fromUtf8(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName() + QLatin1Char(' ') +
          w->accessibleName() + QStringLiteral(" \"") + text.left(30) + QStringLiteral("\" at ") +
          QString::number(w->x()) + QLatin1Char(',') + QString::number(w->y()) + QLatin1Char(' ') +
          QString::number(w->width()) + QLatin1Char('x') + QString::number(w->height()))
      .toStdString();
}

inline bool Fits(QSize need, QSize have) { return need.width() <= have.width() && need.height() <= have.height(); }

// The size a control needs to show itself whole; invalid for widgets not
// checked (containers, and the parts inside compound controls).
inline QSize Needed(const QWidget* w) {
  const QWidget* parent = w->parentWidget();
  if (qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QComboBox*>(parent) ||
      qobject_cast<const QToolBar*>(parent))
    return {};
  if (auto* l = qobject_cast<const QLabel*>(w)) {
    if (l->text().isEmpty()) return {};
    if (l->wordWrap()) return {1, l->heightForWidth(l->width())};
    return l->minimumSizeHint();
  }
  if (qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
      qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QTabBar*>(w))
    return w->sizeHint();
  if (auto* bar = qobject_cast<const QMenuBar*>(w)) return QSize(bar->sizeHint().width(), 1);
  if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QSlider*>(w)) return {1, w->minimumSizeHint().height()};
  if (QString::fromUtf8(w->metaObject()->className()) == QLatin1String("QWidget") || w->inherits("QFrame") ||
      w->inherits("QScrollBar") || w->inherits("QStatusBar") || w->inherits("QToolBar") || w->inherits("QRubberBand") ||
      w->inherits("QSizeGrip") || w->inherits("QMainWindowLayoutSeparatorHelper") || w->inherits("QToolBarExtension"))
    return {};
  return w->minimumSizeHint();  // the program's own controls
}

// Every fault of the window as it stands (laid out and shown).
inline std::vector<std::string> FitFaults(QWidget* top) {
  std::vector<std::string> faults;
  for (QWidget* w : top->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(top) || w->isWindow()) continue;
    const QSize need = Needed(w);
    if (need.isValid() && !Fits(need, w->size()))
      faults.push_back(Describe(w) + " needs " + std::to_string(need.width()) + "x" + std::to_string(need.height()));
    if (need.isValid() && !w->parentWidget()->rect().contains(w->geometry()))
      faults.push_back(Describe(w) + " outside its parent");
    if (auto* view = qobject_cast<QTreeView*>(w)) {
      for (int i = 0; i < view->header()->count(); ++i)
        if (!view->isColumnHidden(i) && view->header()->sectionSize(i) < view->header()->sectionSizeHint(i))
          faults.push_back(Describe(w) + " column " + std::to_string(i) + " elided");
    }
  }
  return faults;
}

}  // namespace test
