// Pieces the owner-drawn list views share: their header bar, the text
// conversion for display, the font metrics a row is laid out with, and
// drawing a text clipped to a column.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <string_view>
#include <vector>

class QHeaderView;
class QPainter;

// One section of a header bar.
struct THeaderSection {
  const char* Caption;  // UTF-8
  int Width;
  // False for a section that may be made as narrow as the user likes; the
  // others keep kHeaderMinimumSection.
  bool HasMinimum = true;
  Qt::Alignment Alignment = Qt::AlignCenter;
};

inline constexpr int kHeaderMinimumSection = 32;

// The font of the header bars: "MS UI Gothic", 12 pixels.
QFont HeaderBarFont();

// A standalone horizontal header bar with the given sections: flat, the
// sections neither movable nor clickable, fixed to its natural height. The
// caller owns it (it has no parent).
QHeaderView* CreateHeaderBar(const std::vector<THeaderSection>& sections);

// A CP932 text for display.
QString DisplayText(std::string_view cp932);

// The list background: white while the list has the focus.
QColor ListBackground(bool focused);

// The font metrics a row is drawn with. A row's text line (the top edge of
// its text) lies FontHeight + 1 pixels above the row's bottom edge.
struct TRowFonts {
  QFont Regular, Bold;
  int FontHeight = 0;  // the font's absolute height in pixels
  int RegularAscent = 0, BoldAscent = 0;
  int RegularDescent = 0, BoldDescent = 0;

  explicit TRowFonts(const QFont& font);
  // The baseline of a text in the row whose rectangle is rowRect.
  int Baseline(const QRect& rowRect, bool bold) const;
};

// Draws text with its left end at x, clipped to clip (the painter's clip is
// replaced; callers save and restore the painter around a row).
void DrawClipped(QPainter& painter, const QRect& clip, int x, int baseline, const QString& text);

// The left edge and width of every section of a header bar, in the
// viewport's coordinates (the horizontal scroll offset taken off).
struct TSectionSpan {
  int Left = 0;
  int Width = 0;
  int Right() const { return Left + Width; }
};
std::vector<TSectionSpan> SectionSpans(const QHeaderView* header, const std::vector<int>& fallback,
                                       int offset);
