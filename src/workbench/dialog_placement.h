// Where a dialog goes when it is centred on the main window.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The top-left corner that centres a dialog of size inner on outer: left =
// outer's left + outer's width / 2 - inner's width / 2, likewise for the
// top, each half taken with integer division.
inline QPoint CentredOn(const QRect& outer, const QSize& inner) {
  return QPoint(outer.left() + outer.width() / 2 - inner.width() / 2,
                outer.top() + outer.height() / 2 - inner.height() / 2);
}
