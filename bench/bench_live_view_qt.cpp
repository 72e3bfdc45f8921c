// The window during a measurement at a saturated line: the main frame with its data view,
// offscreen, receiving a simulated minute of 460,800 bit/s traffic on both lines with control-line
// capture from the virtual analyzer, one answer per 10 ms poll: a block, drawn into the live page
// and shown (lamps and page) before the next poll, or every 100 ms the status for the lamps and
// the panes. Against it: painting as many full pages of the same view size with nothing else.
//
// The figure is the process's CPU time, every thread included (the port's reader too); the
// analyzer's blocks are recorded before timing starts, so its own work is not counted. The
// window may take at most a quarter of the simulated minute, and at most kAllowedRatio times the
// painting baseline; both are printed.

#include "core/capture/CCaptureData.h"
#include "core/link/port/ReceiveRing.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/platform/ManualClock.h"
#include "core/platform/MemoryConfigStore.h"
#include "core/settings/CSaParameter.h"
#include "core/shell/AnalyzerSession.h"
#include "core/shell/CVarnoltDoc.h"
#include "core/shell/Commands.h"
#include "core/view/ViewLayout.h"
#include "sim/MeasurementEngine.h"
#include "sim/SimulatedBridge.h"
#include "sim/SimulatedLinkTime.h"
#include "sim/VirtualAnalyzer.h"
#include "ui/frame/CMainFrame.h"
#include "ui/platform/Resources.h"
#include "ui/view/CVarnoltView.h"
#include "ui/view/QtCellCanvas.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>

#include "BenchSupport.h"
#include "Gates.h"

namespace {

using namespace varnolt;

constexpr uint32_t kSpeed = 460'800;
constexpr uint32_t kPollMs = 10;
constexpr int kPolls = 6000; // a simulated minute
constexpr double kSimulatedSeconds = kPolls * kPollMs / 1000.0;
constexpr double kAllowedShare = 0.25;
constexpr double kAllowedRatio = 1.5;

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

CSaParameter SaturatedSettings() {
    CSaParameter settings;
    settings.speed = kSpeed;
    settings.controlLineCapture = 1;
    return settings;
}

// The analyzer's answers to "BS" and the "BN"s of a simulated minute, one per poll: what it
// recorded of saturated traffic since the previous one, and every 100 ms its status instead.
const std::vector<sim::AnswerFrame>& MinuteOfBlocks() {
    static const std::vector<sim::AnswerFrame> blocks = [] {
        sim::MeasurementOptions options;
        options.traffic = sim::TrafficKind::Saturated;
        sim::MeasurementEngine engine(options);
        sim::AnalyzerFirmware firmware;
        engine.Start(SaturatedSettings(), 0);
        std::vector<sim::AnswerFrame> answers{engine.FirstBlock(kPollMs, firmware)};
        for (uint32_t poll = 2; poll <= kPolls; ++poll) {
            answers.push_back(engine.NextBlock(poll * kPollMs, firmware));
        }
        return answers;
    }();
    return blocks;
}

constexpr size_t kBlockHead = 14; // "BD", count, device index
constexpr size_t kBlockTail = 6;  // checksum, terminator
constexpr size_t kItemBytes = 4;  // record width 1

bool IsBlock(const sim::AnswerFrame& answer) {
    return answer.size() > kBlockHead + kBlockTail && answer[0] == 'B' && answer[1] == 'D';
}

// The items of a data block; none in a status answer.
size_t ItemsIn(const sim::AnswerFrame& answer) {
    return IsBlock(answer) ? (answer.size() - kBlockHead - kBlockTail) / kItemBytes : 0;
}

// The data blocks among the answers, each drawn as a full page.
int64_t BlocksIn(const std::vector<sim::AnswerFrame>& answers) {
    return std::count_if(answers.begin(), answers.end(), IsBlock);
}

RecordWord ItemOf(const sim::AnswerFrame& block, size_t item) {
    const uint8_t* bytes = block.data() + kBlockHead + item * kItemBytes;
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

// The program's main frame on a document whose link reaches a virtual analyzer on a manual
// clock, that answers with the prepared blocks.
class MeasuringWindow {
public:
    MeasuringWindow() : document_(prompt_, folder_.path), frame_(document_, config_, prompt_) {
        const auto& blocks = MinuteOfBlocks();
        analyzer_.WithFirmware([this, &blocks](sim::AnalyzerFirmware& state) {
            // After the last block the analyzer has nothing more: its status.
            const auto serve = [this, &blocks](sim::AnalyzerFirmware& firmware,
                                               const sim::Request&) {
                ++asked_;
                return std::vector<sim::AnswerFrame>{
                    asked_ <= blocks.size() ? blocks[asked_ - 1]
                                            : firmware.measurement->Status(firmware.now, firmware)};
            };
            state.AddCommand("BS", sim::RequestChecksum::Without, serve);
            state.AddCommand("BN", sim::RequestChecksum::Without, serve);
        });
        document_.AttachLink(LinkServices{bridge_, prompt_, clock_, time_, cursor_, &ring_});
        frame_.resize(1100, 720); // the program's first window
        frame_.show();
        frame_.NewDocument();
        frame_.action(kCmdConnect)->trigger();
        // As the settings dialog leaves them: the document's settings written to the analyzer.
        document_.settings() = SaturatedSettings();
        if (!document_.link()->WriteExtSettings(&prompt_, document_.settings(), nullptr)) {
            std::abort();
        }
        frame_.action(kCmdStart)->trigger();
        if (!document_.measuring()) {
            std::abort();
        }
    }
    ~MeasuringWindow() {
        frame_.action(kCmdStop)->trigger();
        frame_.action(kCmdDisconnect)->trigger();
    }

    // One poll as the timer runs it, after the analyzer's answer has reached the receive ring,
    // then everything the poll asked to be shown.
    void Poll() {
        clock_.advance(kPollMs);
        while (analyzer_.bytesInFlight()) {
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
        frame_.session().Tick();
        // Posted events only: the view's own timer must not run passes of its own.
        QCoreApplication::sendPostedEvents();
    }

    // Why the minute does not count, or empty: every block must have been asked for once, taken
    // (the newest record is the last block's last item) and drawn as a full page.
    [[nodiscard]] std::string Fault() {
        const auto& blocks = MinuteOfBlocks();
        if (asked_ != blocks.size() + 1) {
            return "only " + std::to_string(asked_ - 1) + " of the blocks were taken";
        }
        const CCaptureData& capture = document_.capture();
        const auto last = std::find_if(blocks.rbegin(), blocks.rend(), IsBlock);
        if (capture.empty() ||
            capture.word(capture.lastIndex()) != ItemOf(*last, ItemsIn(*last) - 1)) {
            return "the last block did not arrive";
        }
        const RecordCount pageCells = frame_.view().layout().screen().cellsPerPage;
        for (const sim::AnswerFrame& answer : blocks) {
            if (IsBlock(answer) && static_cast<RecordCount>(ItemsIn(answer)) < pageCells) {
                return "a block holds less than a page";
            }
        }
        return document_.measuring() ? "" : "the measurement stopped";
    }

    // Whether the poll has taken every block (it asked for the one after the last).
    [[nodiscard]] bool done() const { return asked_ > MinuteOfBlocks().size(); }
    [[nodiscard]] const CCaptureData& capture() const { return document_.capture(); }
    [[nodiscard]] QSize pageSize() { return frame_.view().viewport()->size(); }

private:
    // The document's settings folder, removed after the document wrote its settings file.
    struct Folder {
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() { std::filesystem::remove_all(path); }
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / "varnolt-bench-live-view";
    };

    Folder folder_;
    ManualClock clock_{100};
    sim::VirtualAnalyzer analyzer_{clock_};
    sim::SimulatedBridge bridge_{analyzer_};
    ReceiveRing ring_;
    sim::SimulatedLinkTime time_{clock_, analyzer_, ring_};
    NoWaitCursor cursor_;
    bench::AbortingPrompt prompt_;
    MemoryConfigStore config_;
    CVarnoltDoc document_;
    ui::CMainFrame frame_;
    size_t asked_ = 0; // "BS" and "BN" requests
};

QSize g_pageSize;
int64_t g_pages = 0;

void BM_LiveViewSaturatedMinute(benchmark::State& state) {
    for (auto _ : state) {
        MeasuringWindow window;
        const double before = ProcessCpuSeconds();
        int polls = 0;
        while (!window.done() && polls < 2 * kPolls) {
            window.Poll();
            ++polls;
        }
        const double cpu = ProcessCpuSeconds() - before;
        if (const std::string fault = window.Fault(); !fault.empty()) {
            state.SkipWithError(fault.c_str());
            return;
        }
        state.SetIterationTime(cpu);
        g_pageSize = window.pageSize();
        g_pages = BlocksIn(MinuteOfBlocks());
        state.counters["polls"] = polls;
        state.counters["cpu_share"] = cpu / kSimulatedSeconds;
    }
    state.counters["pages"] = static_cast<double>(g_pages);
}
BENCHMARK(BM_LiveViewSaturatedMinute)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// As many full pages of the same size, painted from a capture of the same traffic.
void BM_PaintPagesBaseline(benchmark::State& state) {
    CCaptureData capture(100'000);
    const auto& blocks = MinuteOfBlocks();
    for (size_t k = 0; k < blocks.size() && capture.Count() < 50'000; ++k) {
        const sim::AnswerFrame& block = blocks[k];
        for (size_t item = 0; item < ItemsIn(block); ++item) {
            capture.Append(ItemOf(block, item), 0);
        }
    }
    const QSize size = g_pageSize.isValid() ? g_pageSize : QSize(1083, 600);
    ViewLayout layout;
    layout.ResetLayout(capture, {DisplayMode::Continuous, 0, 0}, {size.width(), size.height()});
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    const int64_t pages = g_pages > 0 ? g_pages : kPolls;
    for (auto _ : state) {
        const double before = ProcessCpuSeconds();
        for (int64_t page = 0; page < pages; ++page) {
            layout.setTopRecord(static_cast<RingIndex>(page * 97 % 40'000));
            QPainter painter(&image);
            ui::QtCellCanvas canvas(painter);
            layout.Paint(canvas, capture);
        }
        state.SetIterationTime(ProcessCpuSeconds() - before);
    }
    state.counters["pages"] = static_cast<double>(pages);
}
BENCHMARK(BM_PaintPagesBaseline)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    varnolt::ui::InitResources();
    using namespace varnolt::bench;
    // Manual times: the process's CPU time, every thread included.
    return RunGated(argc, argv, [] { (void)MinuteOfBlocks(); },
                    {CounterAtMost("BM_LiveViewSaturatedMinute", "cpu_share", kAllowedShare),
                     {{"BM_LiveViewSaturatedMinute", Basis::Manual},
                      Figure{"BM_PaintPagesBaseline", Basis::Manual},
                      Gate::Bound::AtMost,
                      kAllowedRatio}});
}
