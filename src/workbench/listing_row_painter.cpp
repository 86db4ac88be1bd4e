// How a row of the listing looks and how it is drawn (DrawListingRow).
// Each row is formatted when it is painted, from the line record, the
// breakpoints, the number format and the focus as they are at that moment.
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <vector>

#include "assembler/listing_text.h"
#include "persistence/encoding.h"
#include "session/program_session.h"
#include "workbench/listing_view.h"
#include "workbench/view_host.h"
#include "workbench/view_support.h"

namespace {

const QColor kNonCodeFocusBackground(244, 244, 244);
const QColor kCommentGreen(0, 128, 0);
const QColor kErrorRed(255, 0, 0);

// Where a comment that has neither fields nor a label beside it starts: a
// text whose second character is ";" (a ";;" comment) is indented to the
// instruction section, anything else starts at the label section. ";" is no
// second byte of a double-byte character, but a lead byte in front of it
// would make it one, so that case is not taken for a ";".
TListingRowLook::Column LoneCommentColumn(const std::string& text) {
  if (text.size() >= 2 && !IsLeadByte(text[0]) && text[1] == ';')
    return TListingRowLook::Instruction;
  return TListingRowLook::Label;
}

}  // namespace

struct TListingView::TPaintKit {
  TRowFonts Fonts;
  QFontMetrics RegularMetrics;
  std::vector<TSectionSpan> Spans;
};

TListingView::TPaintKit TListingView::MakePaintKit() const {
  TRowFonts fonts(host_.MainFont());
  QFontMetrics metrics(fonts.Regular);
  return TPaintKit{fonts, metrics, Spans()};
}

TListingRowLook TListingView::RowLook(int row, bool selected) const {
  TListingRowLook look;
  const bool focused = hasFocus();
  const QPalette& colours = palette();
  look.AddressBackground = colours.color(QPalette::Active, QPalette::Button);
  look.AddressText = colours.color(QPalette::Active, QPalette::WindowText);
  look.RowBackground = ListBackground(focused);
  look.RowText = colours.color(QPalette::Active, QPalette::WindowText);
  look.CommentText = kCommentGreen;
  if (row < 0 || row >= RowCount() || rows_->Ref(row) == nullptr) return look;

  const TAsmLine& line = *rows_->Ref(row);
  const TProgramSession& session = host_.Session();
  look.IsCodeRow = IsCodeRow(line);

  // Address cell: never highlighted; yellow on a breakpoint that can hold.
  if (line.FieldCount > 0 && session.Breakpoints().Contains(line.LineIndex)) {
    look.AddressBackground = Qt::yellow;
    look.AddressText = Qt::black;
  }
  if (look.IsCodeRow)
    look.Texts[TListingRowLook::Address] =
        QString::fromStdString(FormatNumber(line.Address, false, host_.NumberFormat()));

  // The rest of the row.
  if (selected) {
    look.RowBackground = colours.color(QPalette::Active, QPalette::Highlight);
    look.RowText = colours.color(QPalette::Active, QPalette::HighlightedText);
  } else if (!look.IsCodeRow && focused) {
    look.RowBackground = kNonCodeFocusBackground;
  }

  look.Texts[TListingRowLook::Label] =
      DisplayText(ListingLabelText(line, session.Assembler().Labels()));
  look.Texts[TListingRowLook::Instruction] = DisplayText(line.Mnemonic);
  look.OperandListSpansRow = IsOperandListRow(line);
  if (look.OperandListSpansRow) {
    look.Texts[TListingRowLook::Param1] = DisplayText(OperandListText(line));
  } else {
    look.Texts[TListingRowLook::Param1] = DisplayText(ListingFieldText(line, 1));
    look.Texts[TListingRowLook::Param2] = DisplayText(ListingFieldText(line, 2));
  }

  // Comment: bold when important; on an error row the error text in red.
  std::string comment = ListingCommentText(line);
  look.CommentBold = IsImportantComment(comment);
  if (line.HasError()) {
    look.IsErrorRow = true;
    look.CommentText = kErrorRed;
    comment = ListingErrorText(line, session.Files());
  } else if (selected) {
    look.CommentText = look.RowText;
  }
  if (line.FieldCount == 0 && line.LabelName.empty() && !comment.empty())
    look.CommentColumn = LoneCommentColumn(comment);
  look.Texts[TListingRowLook::Comment] = DisplayText(comment);
  return look;
}

void TListingView::DrawListingRow(QPainter& painter, int row, const QRect& rect, bool selected) {
  DrawRow(painter, row, rect, selected, MakePaintKit());
}

void TListingView::DrawRow(QPainter& painter, int row, const QRect& rect, bool selected,
                           const TPaintKit& kit) {
  ++rowsDrawn_;
  const TListingRowLook look = RowLook(row, selected);
  const std::vector<TSectionSpan>& spans = kit.Spans;
  const int rowRight = rect.left() + rect.width();
  const auto cell = [&rect](int left, int right) {
    return QRect(left, rect.top(), right - left, rect.height());
  };
  const auto section = [&](TListingRowLook::Column column) {
    const TSectionSpan& span = spans[column];
    return cell(span.Left, column == TListingRowLook::Comment ? rowRight : span.Right());
  };
  const auto textOf = [&look](TListingRowLook::Column column) -> const QString& {
    return look.Texts[column];
  };

  painter.save();
  // Address cell, then the rest of the row from the label section on.
  const QRect addressCell = section(TListingRowLook::Address);
  painter.fillRect(addressCell, look.AddressBackground);
  painter.fillRect(cell(spans[TListingRowLook::Label].Left, rowRight), look.RowBackground);

  const int regularBaseline = kit.Fonts.Baseline(rect, false);
  const int boldBaseline = kit.Fonts.Baseline(rect, true);
  painter.setFont(kit.Fonts.Regular);
  const QString& address = textOf(TListingRowLook::Address);
  if (!address.isEmpty()) {
    painter.setPen(look.AddressText);
    DrawClipped(painter, addressCell,
                addressCell.right() + 1 - 4 - kit.RegularMetrics.horizontalAdvance(address),
                regularBaseline, address);
  }

  painter.setPen(look.RowText);
  const auto drawColumn = [&](TListingRowLook::Column column, const QRect& clip, int baseline) {
    DrawClipped(painter, clip, spans[column].Left + 2, baseline, textOf(column));
  };
  drawColumn(TListingRowLook::Label, section(TListingRowLook::Label), regularBaseline);
  painter.setFont(kit.Fonts.Bold);
  drawColumn(TListingRowLook::Instruction, section(TListingRowLook::Instruction), boldBaseline);
  painter.setFont(kit.Fonts.Regular);
  if (look.OperandListSpansRow) {
    drawColumn(TListingRowLook::Param1, cell(spans[TListingRowLook::Param1].Left, rowRight),
               regularBaseline);
  } else {
    drawColumn(TListingRowLook::Param1, section(TListingRowLook::Param1), regularBaseline);
    drawColumn(TListingRowLook::Param2, section(TListingRowLook::Param2), regularBaseline);
  }

  const QString& comment = textOf(TListingRowLook::Comment);
  if (!comment.isEmpty()) {
    const TSectionSpan& start = spans[look.CommentColumn];
    painter.setFont(look.CommentBold ? kit.Fonts.Bold : kit.Fonts.Regular);
    painter.setPen(look.CommentText);
    DrawClipped(painter, cell(start.Left, rowRight), start.Left + 2,
                look.CommentBold ? boldBaseline : regularBaseline, comment);
  }
  painter.restore();
}

void TListingView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const TPaintKit kit = MakePaintKit();
  const int selected = SelectedRow();
  PaintRows(painter, event->region(), [&](int row, const QRect& rect, bool) {
    DrawRow(painter, row, rect, row == selected, kit);
  });
}
