#include "workbench/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <limits>

namespace {

// The corner moved onto one area: each direction only when the title bar
// is out of reach in it.
QPoint TitleBarOnArea(const QPoint& topLeft, int width, const QRect& area) {
  QPoint placed = topLeft;
  const int lowestTop = area.bottom() + 1 - kTitleBarHeight;
  if (topLeft.y() < area.top() || topLeft.y() > lowestTop)
    placed.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), lowestTop)));
  const int across =
      std::min(topLeft.x() + width, area.right() + 1) - std::max(topLeft.x(), area.left());
  if (across < std::min(kTitleBarGrip, width))
    placed.setX(
        std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - width)));
  return placed;
}

}  // namespace

QPoint TitleBarOnScreen(const QPoint& topLeft, int width, const QList<QRect>& areas) {
  QPoint best = topLeft;
  int bestMove = std::numeric_limits<int>::max();
  for (const QRect& area : areas) {
    const QPoint placed = TitleBarOnArea(topLeft, width, area);
    const int move = (placed - topLeft).manhattanLength();
    if (move < bestMove) {
      best = placed;
      bestMove = move;
    }
  }
  return best;
}

QPoint TitleBarOnScreen(const QPoint& topLeft, int width) {
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens())
    areas << screen->availableGeometry();
  return TitleBarOnScreen(topLeft, width, areas);
}
