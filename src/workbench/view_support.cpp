#include "workbench/view_support.h"

#include <algorithm>

#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QStandardItemModel>
#include <string>

#include "persistence/encoding.h"
#include "workbench/view_host.h"

QFont HeaderBarFont() {
  QFont font(QStringLiteral("MS UI Gothic"));
  font.setPixelSize(12);
  return font;
}

QHeaderView* CreateHeaderBar(const std::vector<THeaderSection>& sections) {
  auto* header = new QHeaderView(Qt::Horizontal);
  auto* model = new QStandardItemModel(0, static_cast<int>(sections.size()), header);
  std::vector<bool> hasMinimum;
  for (size_t i = 0; i < sections.size(); ++i) {
    const int n = static_cast<int>(i);
    model->setHeaderData(n, Qt::Horizontal, QString::fromUtf8(sections[i].Caption),
                         Qt::DisplayRole);
    model->setHeaderData(n, Qt::Horizontal, QVariant::fromValue(sections[i].Alignment),
                         Qt::TextAlignmentRole);
    hasMinimum.push_back(sections[i].HasMinimum);
  }
  header->setModel(model);
  header->setFont(HeaderBarFont());
  header->setSectionsMovable(false);
  header->setSectionsClickable(false);
  header->setHighlightSections(false);
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setFrameShape(QFrame::NoFrame);
  // The header's own minimum is per bar; the per-section minimum is kept
  // below, so a section without one can shrink to nothing.
  header->setMinimumSectionSize(0);
  for (size_t i = 0; i < sections.size(); ++i)
    header->resizeSection(static_cast<int>(i), sections[i].Width);
  QObject::connect(header, &QHeaderView::sectionResized, header,
                   [header, hasMinimum](int logical, int, int newSize) {
                     if (logical >= 0 && static_cast<size_t>(logical) < hasMinimum.size() &&
                         hasMinimum[static_cast<size_t>(logical)] &&
                         newSize < kHeaderMinimumSection)
                       header->resizeSection(logical, kHeaderMinimumSection);
                   });
  // A standalone header bar is stretched by a layout unless its height is
  // fixed.
  header->setFixedHeight(header->sizeHint().height());
  return header;
}

QString DisplayText(std::string_view cp932) {
  if (cp932.empty()) return {};
  const std::string utf8 = Cp932ToUtf8(cp932);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QColor ListBackground(bool focused) {
  return focused ? kViewFocusBackground : kViewBackground;
}

TRowFonts::TRowFonts(const QFont& font) : Regular(font), Bold(font) {
  Regular.setBold(false);
  Bold.setBold(true);
  FontHeight = QFontInfo(Regular).pixelSize();
  RegularAscent = QFontMetrics(Regular).ascent();
  BoldAscent = QFontMetrics(Bold).ascent();
  RegularDescent = QFontMetrics(Regular).descent();
  BoldDescent = QFontMetrics(Bold).descent();
}

int TRowFonts::Baseline(const QRect& rowRect, bool bold) const {
  // rowRect.top() + height() is the row's bottom edge (one past its last
  // pixel line). The text's top edge lies the font height and one pixel
  // above it. A font whose ascent and descent add up to more than its
  // height (IPAGothic's do) is raised until its descent ends at the bottom
  // edge, so that underscores and descenders are not cut off.
  const int bottom = rowRect.top() + rowRect.height();
  const int textTop = bottom - FontHeight - 1;
  const int baseline = textTop + (bold ? BoldAscent : RegularAscent);
  return std::min(baseline, bottom - (bold ? BoldDescent : RegularDescent));
}

void DrawClipped(QPainter& painter, const QRect& clip, int x, int baseline, const QString& text) {
  if (text.isEmpty() || clip.width() <= 0) return;
  painter.setClipRect(clip);
  painter.drawText(QPoint(x, baseline), text);
}

std::vector<TSectionSpan> SectionSpans(const QHeaderView* header, const std::vector<int>& fallback,
                                       int offset) {
  std::vector<TSectionSpan> spans(fallback.size());
  int left = 0;
  for (size_t i = 0; i < fallback.size(); ++i) {
    const int n = static_cast<int>(i);
    const bool known = header != nullptr && n < header->count();
    const int width = known ? header->sectionSize(n) : fallback[i];
    const int position = known ? header->sectionPosition(n) : left;
    spans[i] = {position - offset, width};
    left = position + width;
  }
  return spans;
}
