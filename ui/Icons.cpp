#include "ui/Icons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace {

constexpr int kDrawnSize = 64;

// A loudspeaker with `waves` sound arcs, in the window's text colour.
QIcon Speaker(int waves) {
  QPixmap pixmap(kDrawnSize, kDrawnSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink = QApplication::palette().color(QPalette::WindowText);
  QPainterPath body;
  body.moveTo(6, 24);
  body.lineTo(18, 24);
  body.lineTo(32, 10);
  body.lineTo(32, 54);
  body.lineTo(18, 40);
  body.lineTo(6, 40);
  body.closeSubpath();
  p.fillPath(body, ink);
  p.setPen(QPen(ink, 5, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < waves; ++i) {
    const int r = 10 + 10 * i;
    p.drawArc(QRectF(32 - r, 32 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
  }
  return QIcon(pixmap);
}

QIcon PlayOrStop(bool play) {
  QPixmap pixmap(kDrawnSize, kDrawnSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  if (play) {
    p.setBrush(QColor(40, 140, 40));
    p.drawPolygon(QPolygonF({QPointF(14, 8), QPointF(56, 32), QPointF(14, 56)}));
  } else {
    p.setBrush(QColor(170, 30, 30));
    p.drawRoundedRect(QRectF(12, 12, 40, 40), 4, 4);
  }
  return QIcon(pixmap);
}

// A metronome: the case, its scale and the pendulum leaning to one side.
QIcon Metronome() {
  QPixmap pixmap(kDrawnSize, kDrawnSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 40, 20), 2));
  p.setBrush(QColor(176, 112, 58));
  p.drawPolygon(QPolygonF({QPointF(24, 4), QPointF(40, 4), QPointF(56, 60), QPointF(8, 60)}));
  p.setBrush(QColor(240, 226, 190));
  p.drawPolygon(QPolygonF({QPointF(27, 12), QPointF(37, 12), QPointF(46, 48), QPointF(18, 48)}));
  p.setPen(QPen(QColor(40, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(32, 50), QPointF(44, 14));
  p.setBrush(QColor(40, 40, 40));
  p.drawRect(QRectF(37, 24, 6, 5));
  return QIcon(pixmap);
}

QIcon Themed(const char* name, QStyle::StandardPixmap fallback) {
  return QIcon::fromTheme(QLatin1String(name), QApplication::style()->standardIcon(fallback));
}

}  // namespace

QIcon LGetIcon(int id) {
  switch (id) {
    case kIconPreferences: return Themed("preferences-system", QStyle::SP_FileDialogDetailedView);
    case kIconHelp: return Themed("help-contents", QStyle::SP_DialogHelpButton);
    case kIconSave: return Themed("document-save", QStyle::SP_DialogSaveButton);
    case kIconLoad: return Themed("document-open", QStyle::SP_DialogOpenButton);
    case kIconSounds: return Themed("audio-x-generic", QStyle::SP_MediaVolume);
    case kIconVolumeQuiet: return Speaker(0);
    case kIconVolumeLoud: return Speaker(2);
    // Drawn rather than themed: the button's two faces must be told apart
    // at a glance whatever the theme.
    case kIconPlay: return PlayOrStop(true);
    case kIconStop: return PlayOrStop(false);
    case kIconApplication: return Metronome();
    default: return QIcon();
  }
}
