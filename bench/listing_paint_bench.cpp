// Painting a screenful of the listing view over a listing of 100,000 rows.
// Every row is formatted when it is painted, so the cost of a paint depends
// on the rows in sight only; the target is under 5 ms per screenful.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "assembler/asm_line.h"
#include "gui_bench_app.h"
#include "monitor/monitor_model.h"
#include "persistence/encoding.h"
#include "session/program_session.h"
#include "workbench/listing_view.h"
#include "workbench/view_host.h"

namespace {

class TBenchHost : public TViewHost {
 public:
  TBenchHost() { font_.setPixelSize(12); }
  TProgramSession& Session() override { return session_; }
  TNumberFormat NumberFormat() const override { return TNumberFormat::Hexadecimal; }
  QFont MainFont() const override { return font_; }

 private:
  TMonitorModel monitor_;
  TProgramSession session_{monitor_};
  QFont font_;
};

void SetFields(TAsmLine& line, const std::vector<std::string>& fields) {
  while (line.Fields.size() < fields.size())
    line.GrowFields();
  for (size_t i = 0; i < fields.size(); ++i)
    line.Fields[i] = fields[i];
  line.FieldCount = static_cast<uint16_t>(fields.size());
  line.Mnemonic = fields.empty() ? "" : fields[0];
}

// A listing as programs give it: instructions with labels and comments,
// data rows with string runs, comment lines (some Japanese), error rows.
void MakeListing(std::vector<TAsmLine>& lines, TListingRows& rows, int count) {
  static const std::string kJapanese = Sjis("画面の初期化");
  lines.assign(static_cast<size_t>(count), TAsmLine());
  for (int i = 0; i < count; ++i) {
    TAsmLine& line = lines[static_cast<size_t>(i)];
    line.LineIndex = i;
    line.Address = static_cast<uint16_t>(i * 2);
    line.Scope = ".*";
    switch (i % 8) {
      case 0:
        line.Comment = "*" + kJapanese +
                       ";/\x1b"
                       "1\x1b" +
                       std::to_string(i + 1);
        break;
      case 1:
        line.LabelName = "LOOP" + std::to_string(i);
        SetFields(line, {"LD", "A", "#1"});
        line.Comment =
            "load the counter;/\x1b"
            "1\x1b" +
            std::to_string(i + 1);
        break;
      case 2:
        SetFields(line, {"DW", "1", "A\\", "B\\", "C\\", "0"});
        break;
      case 3:
        SetFields(line, {"ADD", "A", "[PTR+1]"});
        break;
      case 4:
        SetFields(line, {"FOO", "A"});
        line.ErrorCode = -1;
        break;
      case 5:
        SetFields(line, {"JPF", "ZF", "LOOP1"});
        line.Comment = kJapanese +
                       ";/\x1b"
                       "1\x1b" +
                       std::to_string(i + 1);
        break;
      case 6:
        line.Comment =
            "; section;/\x1b"
            "1\x1b" +
            std::to_string(i + 1);
        break;
      default:
        SetFields(line, {"CALL", "PRINT"});
        break;
    }
    rows.AddWithRef("", &line);
  }
}

void BM_ListingPaintScreenful(benchmark::State& state) {
  BenchApplication();
  auto host = std::make_unique<TBenchHost>();
  std::vector<TAsmLine> lines;
  TListingRows rows;
  MakeListing(lines, rows, 100000);
  TListingView view(*host);
  view.SetRows(&rows);
  view.SetRowHeight(16);
  view.resize(800, 600);
  view.show();
  QApplication::processEvents();
  QImage image(view.viewport()->size(), QImage::Format_RGB32);
  const int visible = view.VisibleRowCount();
  const int lastTop = rows.Count() - visible;
  int top = 0;
  qint64 drawn = view.RowsDrawn();
  for (auto _ : state) {
    view.SetTopRow(top);
    view.viewport()->render(&image);
    benchmark::DoNotOptimize(image.constBits());
    top = (top + 9973) % lastTop;
  }
  drawn = view.RowsDrawn() - drawn;
  state.SetItemsProcessed(drawn);
  state.counters["rows_per_paint"] =
      benchmark::Counter(static_cast<double>(drawn) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_ListingPaintScreenful)->Unit(benchmark::kMillisecond);

}  // namespace
