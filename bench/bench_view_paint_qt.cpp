// Painting a full 1920 × 1080 page of the data view into a QImage in continuous and frame
// display, against QPainter filling the same number of cell rectangles and drawing one glyph of
// the cell font in each, with no layout at all. The ratios (CPU time of the painting thread) are
// reported; none is limited.

#include "core/view/ViewLayout.h"
#include "ui/platform/Resources.h"
#include "ui/view/QtCellCanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "Gates.h"

namespace {

using namespace varnolt;

constexpr DrawingSize kPage{1920, 1080};

const CCaptureData& Capture() {
    static const std::unique_ptr<CCaptureData> capture = [] {
        auto data = std::make_unique<CCaptureData>(200'000);
        std::mt19937 random(9);
        while (data->Count() < 200'000) {
            const unsigned pick = random() % 100;
            const uint32_t code = random() % 256 | (random() % 40 == 0 ? 0x100 : 0);
            data->Append(MakeRecordWord(pick < 50   ? RecordKind::SdCharacter
                                        : pick < 97 ? RecordKind::RdCharacter
                                                    : RecordKind::RdError,
                                        pick < 97 ? code : code % 5),
                         0);
        }
        return data;
    }();
    return *capture;
}

ViewLayout PageLayout(DisplayMode mode) {
    ViewLayout layout;
    layout.ResetLayout(Capture(), {mode, 0, 0}, kPage);
    layout.setTopRecord(50'000);
    if (mode == DisplayMode::Frame) {
        layout.setTopRecord(layout.RecordToLine(Capture(), 50'000)->record);
    }
    return layout;
}

void PaintPage(benchmark::State& state, DisplayMode mode) {
    ViewLayout layout = PageLayout(mode);
    QImage image(kPage.width, kPage.height, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        ui::QtCellCanvas canvas(painter);
        layout.Paint(canvas, Capture());
    }
    state.counters["cells"] = layout.screen().cellsPerPage;
}

// What QPainter alone takes for the page's cells: a filled rectangle and one glyph of the cell
// font in each.
void FillCells(benchmark::State& state, DisplayMode mode) {
    const PageGeometry g = PageLayout(mode).screen();
    QImage image(kPage.width, kPage.height, QImage::Format_RGB32);
    QFont font(QStringLiteral("SFgg1"));
    font.setPixelSize(20);
    const int ascent = QFontMetrics(font).ascent();
    const QString glyph = ui::QtCellCanvas::GlyphText(CellGlyphCode(GlyphSet::CharacterName, 'A'));
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        for (PageLine line = 0; line < g.linesPerPage; ++line) {
            const int y = g.topMargin + line * g.linePitch;
            for (CellColumn column = 0; column < g.columns; ++column) {
                const int x = g.dataX + column * g.cellWidth;
                painter.fillRect(x, y, 20, 20, QColor(70, 255, 70));
                painter.drawText(x, y + ascent, glyph);
            }
        }
    }
    state.counters["cells"] = g.cellsPerPage;
}

void BM_PaintContinuousPage(benchmark::State& state) {
    PaintPage(state, DisplayMode::Continuous);
}
void BM_FillContinuousPageCells(benchmark::State& state) {
    FillCells(state, DisplayMode::Continuous);
}
void BM_PaintFramePage(benchmark::State& state) {
    PaintPage(state, DisplayMode::Frame);
}
void BM_FillFramePageCells(benchmark::State& state) {
    FillCells(state, DisplayMode::Frame);
}
BENCHMARK(BM_FillContinuousPageCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintContinuousPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillFramePageCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintFramePage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    varnolt::ui::InitResources();
    using varnolt::bench::CpuRatio;
    return varnolt::bench::RunGated(
        argc, argv, [] { (void)Capture(); },
        {CpuRatio("BM_PaintContinuousPage", "BM_FillContinuousPageCells"),
         CpuRatio("BM_PaintFramePage", "BM_FillFramePageCells")});
}
