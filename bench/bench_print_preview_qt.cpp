// Opening the print preview of a 4,000,000-record capture: making the pagination and painting
// page 1 at the preview's size, against painting one 1920 × 1080 screen page of the same
// capture, on the CPU time of the painting thread. The preview may take at most twice the
// screen page, in either display mode, however many pages the capture has; the program fails
// otherwise.

#include "core/view/ViewLayout.h"
#include "ui/platform/Resources.h"
#include "ui/view/CapturePrinter.h"
#include "ui/view/QtCellCanvas.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <memory>

#include "Gates.h"
#include "RealisticCapture.h"

namespace {

using namespace varnolt;

constexpr RecordCount kRecords = 4'000'000;
constexpr DrawingSize kScreen{1920, 1080};
constexpr double kAllowedRatio = 2.0;
// The preview's sheet at 100 %: a 96 dpi screen.
constexpr double kPreviewPixelsPerMm = 96 / 25.4;

const CCaptureData& Capture() {
    static const std::unique_ptr<CCaptureData> capture = [] {
        auto data = std::make_unique<CCaptureData>(kRecords);
        bench::FillRealisticCapture(*data);
        return data;
    }();
    return *capture;
}

ViewLayout Layout(DisplayMode mode) {
    ViewLayout layout;
    layout.ResetLayout(
        Capture(), {mode, Capture().header().idleDisplay, Capture().header().timeDisplay}, kScreen);
    return layout;
}

void PaintScreenPage(benchmark::State& state, DisplayMode mode) {
    ViewLayout layout = Layout(mode);
    QImage image(kScreen.width, kScreen.height, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        ui::QtCellCanvas canvas(painter);
        layout.Paint(canvas, Capture());
    }
}

void FirstPreviewPage(benchmark::State& state, DisplayMode mode) {
    ViewLayout layout = Layout(mode);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    int pages = 0;
    for (auto _ : state) {
        // What opening the preview does: a pagination for the paper, then page 1.
        ui::CapturePrinter capturePrinter(layout, Capture(), "/tmp/bench.tvd");
        const QImage page = capturePrinter.RenderPage(printer, 1, kPreviewPixelsPerMm);
        benchmark::DoNotOptimize(page.constBits());
        state.PauseTiming();
        if (pages == 0) {
            pages = capturePrinter.pageCount(printer);
        }
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
}

void BM_PaintScreenContinuous(benchmark::State& state) {
    PaintScreenPage(state, DisplayMode::Continuous);
}
void BM_PreviewFirstPageContinuous(benchmark::State& state) {
    FirstPreviewPage(state, DisplayMode::Continuous);
}
void BM_PaintScreenFrame(benchmark::State& state) {
    PaintScreenPage(state, DisplayMode::Frame);
}
void BM_PreviewFirstPageFrame(benchmark::State& state) {
    FirstPreviewPage(state, DisplayMode::Frame);
}
BENCHMARK(BM_PaintScreenContinuous)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewFirstPageContinuous)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintScreenFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewFirstPageFrame)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    varnolt::ui::InitResources();
    using varnolt::bench::CpuRatioAtMost;
    return varnolt::bench::RunGated(
        argc, argv, [] { (void)Capture(); },
        {CpuRatioAtMost("BM_PreviewFirstPageContinuous", "BM_PaintScreenContinuous", kAllowedRatio),
         CpuRatioAtMost("BM_PreviewFirstPageFrame", "BM_PaintScreenFrame", kAllowedRatio)});
}
